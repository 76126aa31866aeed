// Costs of grid routes on a 128 x 128 map as the placement grid asks for them: open ground, a
// U-shaped trap round the goal, an unreachable goal, random pairs among scattered footprints,
// and the per-query node reset on its own. Median and 99th percentile per query are counters.
#include "PathFind/PathFinder.h"
#include "engine/Random.h"
#include "tests/PathFind/RouteMaps.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr int kSize = 128;

struct Pair {
    int sx, sy, gx, gy;
};

std::vector<float> OpenMap() {
    return std::vector<float>(kSize * kSize, 1.0f);
}

void Block(std::vector<float>& m, int x0, int y0, int x1, int y1) {
    for (int y = std::max(y0, 0); y <= std::min(y1, kSize - 1); ++y)
        for (int x = std::max(x0, 0); x <= std::min(x1, kSize - 1); ++x)
            m[y * kSize + x] = -1.0f;
}

// Times each query on its own and reports the median and 99th percentile in microseconds.
void RunQueries(benchmark::State& state, const std::vector<float>& map,
                const std::vector<Pair>& pairs, int size = kSize) {
    PathFinder* pf = PathFindCreate(22500, 128, 768);
    // As the placement grid does: the finder is told of the map.
    PathFindMapChanged(pf);
    std::vector<int> out(128);
    std::vector<double> us;
    us.reserve(1 << 16);
    size_t i = 0;
    for (auto _ : state) {
        const Pair& p = pairs[i++ % pairs.size()];
        auto t0 = std::chrono::steady_clock::now();
        int r =
            PathFindFind(pf, map.data(), size, size, p.sx, p.sy, p.gx, p.gy, out.data(), 128, true);
        auto t1 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(r);
        if (us.size() < us.capacity())
            us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    std::sort(us.begin(), us.end());
    if (!us.empty()) {
        state.counters["p50_us"] = us[us.size() / 2];
        state.counters["p99_us"] = us[std::min(us.size() - 1, us.size() * 99 / 100)];
    }
    PathFindDestroy(pf);
}

} // namespace

static void BM_RouteOpenCornerToCorner(benchmark::State& state) {
    RunQueries(state, OpenMap(), {{0, 0, kSize - 1, kSize - 1}});
}
BENCHMARK(BM_RouteOpenCornerToCorner);

// The goal sits inside a U whose mouth faces away from the start: the greedy search runs into
// the bottom of the U and floods round it.
static void BM_RouteUTrap(benchmark::State& state) {
    std::vector<float> m = OpenMap();
    Block(m, 80, 80, 120, 81);   // bottom of the U, facing the start
    Block(m, 80, 80, 81, 120);   // left arm
    Block(m, 119, 80, 120, 120); // right arm
    RunQueries(state, m, {{0, 0, 100, 100}});
}
BENCHMARK(BM_RouteUTrap);

// A closed box round the goal: every reachable cell is closed before the search gives up.
static void BM_RouteUnreachable(benchmark::State& state) {
    std::vector<float> m = OpenMap();
    Block(m, 90, 90, 110, 90);
    Block(m, 90, 110, 110, 110);
    Block(m, 90, 90, 90, 110);
    Block(m, 110, 90, 110, 110);
    RunQueries(state, m, {{0, 0, 100, 100}});
}
BENCHMARK(BM_RouteUnreachable);

// About 150 footprints of 4 x 3 to 6 x 5 cells, and 10,000 pairs of open cells.
static void BM_RouteRandomPairs(benchmark::State& state) {
    CrtSrand(20240501);
    std::vector<float> m = OpenMap();
    for (int i = 0; i < 150; ++i) {
        int x = RandInt(kSize), y = RandInt(kSize);
        Block(m, x, y, x + RandIntRange(3, 5), y + RandIntRange(2, 4));
    }
    std::vector<Pair> pairs;
    while (pairs.size() < 10000) {
        Pair p{RandInt(kSize), RandInt(kSize), RandInt(kSize), RandInt(kSize)};
        if (m[p.sy * kSize + p.sx] > 0 && m[p.gy * kSize + p.gx] > 0) pairs.push_back(p);
    }
    RunQueries(state, m, pairs);
}
BENCHMARK(BM_RouteRandomPairs)->Iterations(10000);

// 150 x 150 with 30% of the cells blocked at random, 2,000 pairs of open cells (the maps the
// test of identical routes holds).
static void BM_Route150Blocked30(benchmark::State& state) {
    const RouteMap m = RandomBlockedMap(150, 30, 79);
    std::vector<Pair> pairs;
    for (const RoutePair& p : OpenPairs(m, 2000, 7901))
        pairs.push_back(Pair{p.sx, p.sy, p.gx, p.gy});
    RunQueries(state, m.cells, pairs, 150);
}
BENCHMARK(BM_Route150Blocked30)->Iterations(20000);

// Forgetting all 22500 nodes, as the first step of every query does.
static void BM_ResetAllNodes(benchmark::State& state) {
    PathFinder* pf = PathFindCreate(22500, 128, 768);
    for (auto _ : state) {
        PathFindResetNodes(pf);
        benchmark::ClobberMemory();
    }
    PathFindDestroy(pf);
}
BENCHMARK(BM_ResetAllNodes);
