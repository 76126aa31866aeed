// The grid pathfinder: routes on small hand-drawn maps (whose exact cells follow from the move
// order, the heap's tie rules and the squared h), refusals, long routes and the open list.
#include "PathFind/PathFinder.h"

#include "engine/Memory.h"
#include "engine/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <queue>
#include <string>
#include <vector>

namespace {

struct PathFinderDeleter {
    void operator()(PathFinder* pf) const { PathFindDestroy(pf); }
};
using PathFinderPtr = std::unique_ptr<PathFinder, PathFinderDeleter>;

// As the placement grid makes it.
PathFinderPtr MakeGridPathFinder() {
    return PathFinderPtr(PathFindCreate(22500, 128, 768));
}

// '.' cost 1, '3' cost 3, '#' blocked; rows top to bottom are y = 0, 1, ...
struct Map {
    int width = 0, height = 0;
    std::vector<float> cells;
    explicit Map(const std::vector<std::string>& rows) {
        height = int(rows.size());
        width = int(rows[0].size());
        for (const std::string& r : rows)
            for (char c : r)
                cells.push_back(c == '.' ? 1.0f : c == '3' ? 3.0f : -1.0f);
    }
    Map(int w, int h, float cost) : width(w), height(h), cells(size_t(w) * h, cost) {}
    float& At(int x, int y) { return cells[size_t(y) * width + x]; }
};

std::vector<int> Find(PathFinder* pf, Map& m, int sx, int sy, int gx, int gy, bool diagonal,
                      int* result, int maxPoints = 128) {
    std::vector<int> out(128, -7);
    *result = PathFindFind(pf, m.cells.data(), m.width, m.height, sx, sy, gx, gy, out.data(),
                           maxPoints, diagonal);
    out.resize(*result > 0 ? std::min(*result, maxPoints) : 0);
    return out;
}

void ExpectRoute(const char* label, std::vector<std::string> rows, int sx, int sy, int gx, int gy,
                 bool diagonal, std::vector<int> expected) {
    auto pf = MakeGridPathFinder();
    Map m(rows);
    int result = 0;
    std::vector<int> got = Find(pf.get(), m, sx, sy, gx, gy, diagonal, &result);
    EXPECT_EQ(result, int(expected.size())) << label;
    EXPECT_EQ(got, expected) << label
                             << ": another route came back, so the move order, the heap's "
                                "tie rules or the cost sums differ";
}

} // namespace

TEST(PathFinder, ShortestCases) {
    auto pf = MakeGridPathFinder();
    Map m(4, 3, 1.0f);
    int result = 0;
    std::vector<int> got = Find(pf.get(), m, 2, 1, 2, 1, true, &result);
    EXPECT_EQ(result, 1) << "start equal to goal is a path of one cell";
    EXPECT_EQ(got, std::vector<int>{6});

    got = Find(pf.get(), m, 1, 1, 2, 1, false, &result);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(got, (std::vector<int>{5, 6})) << "the start comes first";

    Map corridor({"#########", "........."});
    got = Find(pf.get(), corridor, 0, 1, 8, 1, true, &result);
    EXPECT_EQ(result, 9) << "a straight corridor of L cells is a path of L cells";
    EXPECT_EQ(got.front(), 9);
    EXPECT_EQ(got.back(), 17);

    Map start({"#.."});
    got = Find(pf.get(), start, 0, 0, 2, 0, false, &result);
    EXPECT_EQ(result, 3) << "a blocked start cell is still left (only neighbours are tested)";
}

TEST(PathFinder, ExactRoutesFollowMoveOrderTiesAndSquaredH) {
    ExpectRoute("open 3x3, four moves", {"...", "...", "..."}, 0, 0, 2, 2, false, {0, 1, 4, 5, 8});
    ExpectRoute("open 3x3, eight moves", {"...", "...", "..."}, 0, 0, 2, 2, true, {0, 4, 8});
    ExpectRoute("open 5x5, four moves", {".....", ".....", ".....", ".....", "....."}, 0, 4, 4, 0,
                false, {20, 15, 16, 11, 12, 7, 8, 3, 4});
    // Through the cost-3 cell: 1 + 3 + 1 + 1 = 6; around it on diagonals: 1 + 2 x 1.41421 + 1.
    ExpectRoute("cost-3 cell, detour on diagonals", {".....", "..3..", "....."}, 0, 1, 4, 1, true,
                {5, 6, 2, 8, 9});
    ExpectRoute("cost-3 cell, diagonal neighbours", {"...", ".3.", "..."}, 1, 0, 1, 2, true,
                {1, 5, 7});
    // The way round along row 0 costs 7 against 9 straight through, but the squared h pulls the
    // search straight on: it is greedy, not shortest.
    ExpectRoute("cost-3 band, greedy", {"......", "..33..", "......"}, 0, 1, 5, 1, false,
                {6, 7, 8, 9, 10, 11});
    ExpectRoute("diagonal between touching blocked cells", {".#", "#."}, 0, 0, 1, 1, true, {0, 3});
}

TEST(PathFinder, UnreachableGoals) {
    auto pf = MakeGridPathFinder();
    int result = 0;
    Map wall({"..#..", "..#..", "..#.."});
    Find(pf.get(), wall, 0, 1, 4, 1, true, &result);
    EXPECT_EQ(result, -1) << "a full wall must stop the search";
    EXPECT_EQ(PathFindFullLength(pf.get()), -1);

    Map goal({"....#"});
    Find(pf.get(), goal, 0, 0, 4, 0, true, &result);
    EXPECT_EQ(result, -1) << "an impassable goal is never entered";

    Map odd({".x.."});
    odd.At(1, 0) = std::nanf("");
    Find(pf.get(), odd, 0, 0, 3, 0, false, &result);
    EXPECT_EQ(result, -1) << "a NaN cost must count as impassable";
    odd.At(1, 0) = -0.0f;
    Find(pf.get(), odd, 0, 0, 3, 0, false, &result);
    EXPECT_EQ(result, -1) << "a cost of -0 must count as impassable";

    Map diag({".#", "#."});
    Find(pf.get(), diag, 0, 0, 1, 1, false, &result);
    EXPECT_EQ(result, -1) << "without diagonals the corner cannot be cut";
}

TEST(PathFinder, MalformedRequestsAreRefused) {
    auto pf = MakeGridPathFinder();
    Map small(4, 4, 1.0f);
    int out[128];
    // Exactly sized maps: ASan reports any read past them.
    Map big(151, 151, 1.0f);
    EXPECT_EQ(PathFindFind(pf.get(), big.cells.data(), 151, 151, 0, 0, 150, 150, out, 128, true),
              -1)
        << "151 x 151 cells overrun 22500 nodes";
    Map over(22501, 1, 1.0f);
    EXPECT_EQ(PathFindFind(pf.get(), over.cells.data(), 22501, 1, 0, 0, 1, 0, out, 128, true), -1);
    Map fits(22500, 1, 1.0f);
    EXPECT_EQ(PathFindFind(pf.get(), fits.cells.data(), 22500, 1, 0, 0, 1, 0, out, 128, true), 2)
        << "a map of exactly the node capacity is allowed";
    EXPECT_EQ(PathFindFind(pf.get(), small.cells.data(), 0, 4, 0, 0, 0, 0, out, 128, true), -1);
    EXPECT_EQ(PathFindFind(pf.get(), small.cells.data(), 4, -1, 0, 0, 0, 0, out, 128, true), -1);
    EXPECT_EQ(PathFindFind(pf.get(), small.cells.data(), 65536, 65536, 0, 0, 0, 0, out, 128, true),
              -1)
        << "width x height must not overflow on its way to the capacity test";
    EXPECT_EQ(PathFindFind(pf.get(), nullptr, 4, 4, 0, 0, 1, 1, out, 128, true), -1);
    const int ends[][4] = {{-1, 0, 1, 1}, {0, 4, 1, 1}, {0, 0, 4, 0}, {0, 0, 0, -1}};
    for (const auto& e : ends)
        EXPECT_EQ(PathFindFind(pf.get(), small.cells.data(), 4, 4, e[0], e[1], e[2], e[3], out, 128,
                               true),
                  -1)
            << "an end outside the map: " << e[0] << "," << e[1] << " -> " << e[2] << "," << e[3];
    EXPECT_EQ(PathFindFind(nullptr, small.cells.data(), 4, 4, 0, 0, 1, 1, out, 128, true), -1);
    EXPECT_EQ(PathFindCreate(0, 128, 768), nullptr);
}

TEST(PathFinder, OutputIsCutToMaxPoints) {
    auto pf = MakeGridPathFinder();
    Map row(10, 1, 1.0f);
    int result = 0;
    std::vector<int> got = Find(pf.get(), row, 0, 0, 9, 0, false, &result, 4);
    EXPECT_EQ(result, 10) << "the result states the full count whatever max points is";
    EXPECT_EQ(got, (std::vector<int>{0, 1, 2, 3})) << "out holds the first cells from the start";
    EXPECT_EQ(PathFindFind(pf.get(), row.cells.data(), 10, 1, 0, 0, 9, 0, nullptr, 0, false), 10)
        << "a null out with max points 0 gives the count only";
    EXPECT_EQ(PathFindFind(pf.get(), row.cells.data(), 10, 1, 0, 0, 9, 0, nullptr, 128, false), 10);
}

TEST(PathFinder, LongPathsKeepTheirStart) {
    auto pf = MakeGridPathFinder();
    Map row(200, 1, 1.0f);
    int result = 0;
    std::vector<int> got = Find(pf.get(), row, 0, 0, 199, 0, false, &result);
    EXPECT_EQ(result, 128) << "the count is cut to the path capacity";
    ASSERT_EQ(got.size(), 128u);
    EXPECT_EQ(got.front(), 0) << "a cut route must begin where the walker stands, not 128 cells "
                                 "before the goal";
    EXPECT_EQ(got.back(), 127);
    EXPECT_EQ(PathFindFullLength(pf.get()), 200) << "the caller needs the full length to re-route";

    // A serpentine as long as the grid allows.
    Map snake(150, 150, 1.0f);
    for (int y = 1; y < 149; y += 2)
        for (int x = 0; x < 150; ++x)
            if ((y / 2) % 2 == 0 ? x != 149 : x != 0) snake.At(x, y) = -1.0f;
    got = Find(pf.get(), snake, 0, 0, 149, 148, false, &result);
    EXPECT_EQ(result, 128);
    EXPECT_EQ(got.front(), 0);
    EXPECT_EQ(PathFindFullLength(pf.get()), 75 * 150 + 74);
}

// A wall across the field with its only gap at the far end floods nearly the whole field before
// the search finds the gap, which pushes more than 769 entries.
TEST(PathFinder, OpenListGrowsAndSurvivesNoMemory) {
    auto pf = MakeGridPathFinder();
    Map field(150, 150, 1.0f);
    for (int x = 1; x < 150; ++x)
        field.At(x, 140) = -1.0f;
    int result = 0;
    std::vector<int> got = Find(pf.get(), field, 0, 0, 149, 149, true, &result);
    EXPECT_GT(pf->openCapacity, 769) << "this search should have grown the open list";
    EXPECT_GT(result, 0) << "growing the open list lost the route";

    auto fresh = MakeGridPathFinder();
    PathFindSetOpenListAlloc([](size_t) -> void* { return nullptr; });
    int64_t live = MemLiveBlocks();
    int failed =
        PathFindFind(fresh.get(), field.cells.data(), 150, 150, 0, 0, 149, 149, nullptr, 0, true);
    PathFindSetOpenListAlloc(nullptr);
    EXPECT_EQ(failed, -1) << "a list that cannot grow fails the search";
    EXPECT_EQ(fresh->openCapacity, 769) << "the old list is kept";
    EXPECT_EQ(MemLiveBlocks(), live);
    EXPECT_EQ(
        PathFindFind(fresh.get(), field.cells.data(), 150, 150, 0, 0, 149, 149, nullptr, 0, true),
        result)
        << "the same finder works again once memory is back";
}

// Nodes left from an earlier query (another map size, another generation, a wrapped count) must
// never leak into the next one.
TEST(PathFinder, ReusedFinderGivesTheRoutesOfAFreshOne) {
    CrtSrand(99);
    std::vector<Map> maps;
    for (int i = 0; i < 12; ++i) {
        Map m(RandIntRange(2, 60), RandIntRange(2, 60), 1.0f);
        for (float& c : m.cells)
            c = RandInt(4) == 0 ? -1.0f : 1.0f + float(RandInt(3));
        maps.push_back(m);
    }
    auto reused = MakeGridPathFinder();
    reused->generation = UINT32_MAX - 5; // wraps part-way through
    for (int round = 0; round < 2; ++round)
        for (Map& m : maps) {
            int corner[4] = {0, 0, m.width - 1, m.height - 1};
            auto fresh = MakeGridPathFinder();
            int r1 = 0, r2 = 0;
            std::vector<int> a =
                Find(fresh.get(), m, corner[0], corner[1], corner[2], corner[3], true, &r1);
            std::vector<int> b =
                Find(reused.get(), m, corner[0], corner[1], corner[2], corner[3], true, &r2);
            EXPECT_EQ(r1, r2);
            EXPECT_EQ(a, b) << "a reused finder routed differently: stale nodes leaked in";
        }
}

// On random maps every route must be a chain of neighbouring open cells from start to goal, and
// -1 only where no such chain exists.
TEST(PathFinder, RandomMapsGiveValidRoutes) {
    auto pf = MakeGridPathFinder();
    CrtSrand(1234);
    for (int trial = 0; trial < 300; ++trial) {
        bool diagonal = trial % 2 == 0;
        int w = RandIntRange(1, 40), h = RandIntRange(1, 40);
        Map m(w, h, 1.0f);
        for (float& c : m.cells) {
            int r = RandInt(10);
            c = r < 3 ? -1.0f : r < 5 ? 2.5f : 1.0f;
        }
        int sx = RandInt(w), sy = RandInt(h), gx = RandInt(w), gy = RandInt(h);
        std::vector<int> out(128);
        int result =
            PathFindFind(pf.get(), m.cells.data(), w, h, sx, sy, gx, gy, out.data(), 128, diagonal);

        // Reachability by breadth-first search.
        std::vector<char> seen(size_t(w) * h, 0);
        std::queue<int> q;
        q.push(sy * w + sx);
        seen[sy * w + sx] = 1;
        int dirs = diagonal ? 8 : 4;
        const int dx[8] = {0, 1, 0, -1, 1, 1, -1, -1}, dy[8] = {-1, 0, 1, 0, -1, 1, 1, -1};
        while (!q.empty()) {
            int c = q.front();
            q.pop();
            for (int d = 0; d < dirs; ++d) {
                int nx = c % w + dx[d], ny = c / w + dy[d];
                if (nx < 0 || ny < 0 || nx >= w || ny >= h || seen[ny * w + nx]) continue;
                if (!(m.At(nx, ny) > 0)) continue;
                seen[ny * w + nx] = 1;
                q.push(ny * w + nx);
            }
        }
        bool reachable = seen[gy * w + gx] != 0;
        ASSERT_EQ(result > 0, reachable) << "trial " << trial;
        if (!reachable) continue;
        int full = PathFindFullLength(pf.get());
        ASSERT_EQ(result, std::min(full, 128));
        ASSERT_EQ(out[0], sy * w + sx)
            << "trial " << trial << ": the route must start at the start";
        if (full <= 128) {
            ASSERT_EQ(out[result - 1], gy * w + gx) << "trial " << trial;
        }
        std::vector<char> used(size_t(w) * h, 0);
        for (int i = 0; i < result; ++i) {
            int c = out[i];
            ASSERT_FALSE(used[c]) << "trial " << trial << ": a cell came twice";
            used[c] = 1;
            if (i > 0) {
                ASSERT_GT(m.cells[c], 0.0f)
                    << "trial " << trial << ": the route crossed a blocked cell";
                int ddx = std::abs(c % w - out[i - 1] % w), ddy = std::abs(c / w - out[i - 1] / w);
                ASSERT_TRUE(std::max(ddx, ddy) == 1 && (diagonal || ddx + ddy == 1))
                    << "trial " << trial << ": step " << i << " is not a move";
            }
        }
    }
}

TEST(PathFinder, StackDropsPushesBeyondCapacity) {
    xqstack<int> s(3);
    ASSERT_TRUE(s.Valid());
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(s.Push(i), i <= 3) << "push " << i;
    EXPECT_EQ(s.Count(), 3);
    int v = 0;
    std::vector<int> popped;
    while (s.Pop(&v))
        popped.push_back(v);
    EXPECT_EQ(popped, (std::vector<int>{3, 2, 1}))
        << "the dropped pushes must not overwrite the top";
    EXPECT_FALSE(s.Pop(&v));
    EXPECT_TRUE(s.Push(9));

    xqstack<int> none(0);
    EXPECT_FALSE(none.Push(1)) << "a stack of no capacity takes nothing";
}
