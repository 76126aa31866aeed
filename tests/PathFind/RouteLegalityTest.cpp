// What every route must be, whatever the search's order: a walk of legal moves from the start over
// open cells, ending on the goal, found exactly when the goal can be reached at all, and on open
// ground of one cost as short as a walk can be. The search is greedy toward the goal (its estimate
// is the squared distance), so on blocked ground a route may be longer than the shortest one; the
// change detector beside this holds which route it gives.
#include "PathFind/PathFinder.h"
#include "tests/PathFind/RouteMaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <set>
#include <vector>

namespace {

bool Open(const RouteMap& m, int x, int y) {
    return x >= 0 && y >= 0 && x < m.width && y < m.height &&
           m.cells[size_t(y) * m.width + x] > 0.0f;
}

bool Step(int from, int to, int width, bool diagonal) {
    const int dx = std::abs(to % width - from % width), dy = std::abs(to / width - from / width);
    return dx <= 1 && dy <= 1 && dx + dy >= 1 && (diagonal || dx + dy == 1);
}

// The fewest cells of any walk from the start to the goal (start and goal counted), 0 when none
// reaches it. The start is left even when it is blocked; the goal must be open.
int FewestCells(const RouteMap& m, const RoutePair& p, bool diagonal) {
    std::vector<int> cells(m.cells.size(), 0);
    std::deque<int> work{p.sy * m.width + p.sx};
    cells[size_t(work.front())] = 1;
    while (!work.empty()) {
        const int c = work.front();
        work.pop_front();
        if (c == p.gy * m.width + p.gx) return cells[size_t(c)];
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = c % m.width + dx, y = c / m.width + dy;
                if ((dx == 0 && dy == 0) || (!diagonal && dx != 0 && dy != 0) || !Open(m, x, y))
                    continue;
                const int n = y * m.width + x;
                if (cells[size_t(n)] != 0) continue;
                cells[size_t(n)] = cells[size_t(c)] + 1;
                work.push_back(n);
            }
    }
    return 0;
}

// One route checked against the walk rules; *reached says whether it was found.
void ExpectLegalRoute(PathFinder* pf, const RouteMap& m, const RoutePair& p, bool diagonal,
                      bool* reached) {
    const int fewest = FewestCells(m, p, diagonal);
    std::vector<int> out(128);
    const int r = PathFindFind(pf, m.cells.data(), m.width, m.height, p.sx, p.sy, p.gx, p.gy,
                               out.data(), 128, diagonal);
    *reached = r > 0;
    if (fewest == 0) {
        EXPECT_EQ(r, -1) << "a route to a goal nothing reaches";
        return;
    }
    ASSERT_GT(r, 0) << "no route to a goal a walk reaches in " << fewest << " cells";
    const int full = PathFindFullLength(pf);
    EXPECT_GE(full, fewest) << "a route shorter than any walk";
    EXPECT_EQ(r, std::min(full, 128));
    EXPECT_EQ(out[0], p.sy * m.width + p.sx) << "the route does not start at the start";
    if (full <= 128) {
        EXPECT_EQ(out[size_t(r - 1)], p.gy * m.width + p.gx) << "the route misses the goal";
    }
    std::set<int> seen{out[0]};
    for (int i = 1; i < r; ++i) {
        const int c = out[size_t(i)];
        ASSERT_TRUE(Step(out[size_t(i - 1)], c, m.width, diagonal)) << "cell " << i;
        ASSERT_TRUE(Open(m, c % m.width, c / m.width)) << "a blocked cell " << i;
        ASSERT_TRUE(seen.insert(c).second) << "cell " << i << " walked twice";
    }
}

// Every pair routed both ways the game asks (with the map's regions and without); how many were
// reached.
int ExpectLegalRoutes(const RouteMap& m, const std::vector<RoutePair>& pairs, bool diagonal) {
    int reached = 0;
    for (bool regions : {false, true}) {
        PathFinder* pf = PathFindCreate(22500, 128, 768);
        if (regions) PathFindMapChanged(pf);
        reached = 0;
        for (const RoutePair& p : pairs) {
            SCOPED_TRACE(testing::Message() << "from (" << p.sx << ", " << p.sy << ") to (" << p.gx
                                            << ", " << p.gy << ")" << (regions ? ", regions" : ""));
            bool found = false;
            ExpectLegalRoute(pf, m, p, diagonal, &found);
            reached += found ? 1 : 0;
        }
        PathFindDestroy(pf);
    }
    return reached;
}

} // namespace

TEST(RouteLegality, EveryRouteOnTheBenchmarkMapsIsALegalWalkFoundExactlyWhenOneExists) {
    const RouteMap blocked = RandomBlockedMap(150, 30, 79);
    const std::vector<RoutePair> open = OpenPairs(blocked, 150, 7901);
    EXPECT_EQ(ExpectLegalRoutes(blocked, open, true), 150);
    EXPECT_GT(ExpectLegalRoutes(blocked, open, false), 100);
    const RouteMap footprints = FootprintMap(128, 20240501);
    EXPECT_EQ(ExpectLegalRoutes(footprints, OpenPairs(footprints, 150, 7903), true), 150);
    // Ends anywhere, blocked ones included: a blocked goal is never reached, a blocked start
    // still leaves.
    const RouteMap ends = RandomBlockedMap(150, 30, 80);
    const std::vector<RoutePair> any = AnyPairs(ends, 150, 7904);
    EXPECT_GT(ExpectLegalRoutes(ends, any, true), 75);
    EXPECT_GT(ExpectLegalRoutes(ends, any, false), 75);
}

TEST(RouteLegality, OnOpenGroundOfOneCostEveryRouteIsAsShortAsAWalkCanBe) {
    const RouteMap m{60, 60, std::vector<float>(3600, 1.0f)};
    PathFinder* pf = PathFindCreate(22500, 128, 768);
    RouteRng rng(17);
    for (int i = 0; i < 500; ++i) {
        const RoutePair p{rng.Below(60), rng.Below(60), rng.Below(60), rng.Below(60)};
        const int dx = std::abs(p.gx - p.sx), dy = std::abs(p.gy - p.sy);
        EXPECT_EQ(
            PathFindFind(pf, m.cells.data(), 60, 60, p.sx, p.sy, p.gx, p.gy, nullptr, 0, true),
            std::max(dx, dy) + 1);
        EXPECT_EQ(
            PathFindFind(pf, m.cells.data(), 60, 60, p.sx, p.sy, p.gx, p.gy, nullptr, 0, false),
            dx + dy + 1);
    }
    PathFindDestroy(pf);
}

TEST(RouteLegality, AMapToldOfEachChangeIsLabelledAgain) {
    // A wall across column 5 with one gap at row 9; the goal is across it.
    RouteMap m{12, 10, std::vector<float>(120, 1.0f)};
    for (int y = 0; y < 9; ++y)
        m.cells[size_t(y) * 12 + 5] = -1.0f;
    PathFinder* pf = PathFindCreate(22500, 128, 768);
    PathFindMapChanged(pf);
    EXPECT_GT(PathFindFind(pf, m.cells.data(), 12, 10, 1, 1, 10, 1, nullptr, 0, true), 0);
    m.cells[9 * 12 + 5] = -1.0f;
    PathFindMapChanged(pf);
    EXPECT_EQ(PathFindFind(pf, m.cells.data(), 12, 10, 1, 1, 10, 1, nullptr, 0, true), -1);
    EXPECT_GT(PathFindFind(pf, m.cells.data(), 12, 10, 1, 1, 4, 8, nullptr, 0, false), 0)
        << "on the near side";
    m.cells[4 * 12 + 5] = 2.0f;
    PathFindMapChanged(pf);
    EXPECT_GT(PathFindFind(pf, m.cells.data(), 12, 10, 1, 1, 10, 1, nullptr, 0, false), 0)
        << "through the new gap";
    PathFindDestroy(pf);
}
