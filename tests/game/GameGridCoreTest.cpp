// The placement grid's cell arithmetic: conversions, marks and footprints, routes and their cut,
// the pick, resizing past the pathfinder and refused sizes, and the placement table's inverse.
#include "game/GameGridCore.h"

#include "PathFind/PathFinder.h"
#include "game/AttrInfo.h"
#include "game/Placement.h"
#include "game/WaypointPath.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>

namespace {
struct PathDeleter {
    void operator()(WaypointPath* p) const { WaypointPathDestroy(p); }
};
using PathPtr = std::unique_ptr<WaypointPath, PathDeleter>;

class GridCoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GameGridCoreInit(&grid));
        Resize(128, 128);
        grid.originX = 100.0f;
        grid.originZ = 200.0f;
    }
    void TearDown() override { GameGridCoreFree(&grid); }
    void Resize(int cols, int rows, float tile = 2.0f) {
        ASSERT_TRUE(GameGridResize(&grid, cols, rows, tile, tile, "test"));
    }
    float Cell(int x, int z) const { return grid.cells[z * grid.cols + x]; }
    VECTOR3 Centre(int x, int z) const {
        return VECTOR3{grid.originX + (float)x * grid.tileWidth + 1.0f, 0.0f,
                       grid.originZ + (float)z * grid.tileHeight + 1.0f};
    }
    GameGridCore grid;
};

bool Neighbours(const GameGridCore& g, const VECTOR3& a, const VECTOR3& b) {
    int ax, az, bx, bz;
    GameGridWorldToCell(&g, a.x, a.z, &ax, &az);
    GameGridWorldToCell(&g, b.x, b.z, &bx, &bz);
    return std::abs(ax - bx) <= 1 && std::abs(az - bz) <= 1 && (ax != bx || az != bz);
}
} // namespace

TEST_F(GridCoreTest, ConversionsTruncateTowardZeroAndAlwaysWrite) {
    int cx = 77, cz = 77;
    EXPECT_TRUE(GameGridWorldToCell(&grid, 100.0f - 1.9f, 200.0f - 0.5f, &cx, &cz))
        << "up to one tile before the low edge is still cell 0";
    EXPECT_EQ(cx, 0);
    EXPECT_EQ(cz, 0);
    EXPECT_FALSE(GameGridWorldToCell(&grid, 100.0f - 2.5f, 200.0f + 3.0f, &cx, &cz));
    EXPECT_EQ(cx, -1) << "outputs are written even outside";
    EXPECT_EQ(cz, 1);
    EXPECT_FALSE(GameGridWorldToCell(&grid, 100.0f + 256.0f, 201.0f, &cx, &cz));
    EXPECT_EQ(cx, 128);
    EXPECT_TRUE(GameGridWorldToCell(&grid, 100.0f + 255.9f, 200.0f + 255.9f, &cx, &cz));
    EXPECT_EQ(cx, 127);

    // Coordinates with no cell: outside, never an undefined conversion to int.
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), 1e30f, -1e30f,
                         std::numeric_limits<float>::infinity()};
    for (float v : bad) {
        EXPECT_FALSE(GameGridWorldToCell(&grid, v, 201.0f, &cx, &cz)) << v;
        EXPECT_EQ(cx, -1) << v;
        EXPECT_FALSE(GameGridWorldToCell(&grid, 101.0f, v, &cx, &cz)) << v;
        EXPECT_EQ(cz, -1) << v;
    }

    float x = 0.0f, z = 0.0f;
    GameGridCellToWorld(&grid, 3, -2, &x, &z);
    EXPECT_FLOAT_EQ(x, 106.0f);
    EXPECT_FLOAT_EQ(z, 196.0f) << "no range check: the low corner of any cell";
}

TEST_F(GridCoreTest, MarkingClampsToTheGrid) {
    GameGridMarkRect(&grid, -3, 2, 5, 200, -1.0f);
    EXPECT_EQ(GameGridBlockedCount(&grid), 3 * 123) << "columns 0..2 of rows 5..127";
    EXPECT_EQ(Cell(0, 5), -1.0f);
    EXPECT_EQ(Cell(2, 127), -1.0f);
    EXPECT_EQ(Cell(3, 5), 1.0f);
    EXPECT_EQ(Cell(0, 4), 1.0f);

    GameGridMarkRect(&grid, 10, 9, 0, 5, -1.0f);
    GameGridMarkRect(&grid, 200, 300, 0, 5, -1.0f);
    EXPECT_EQ(GameGridBlockedCount(&grid), 3 * 123)
        << "inverted and outside rectangles mark nothing";

    GameGridMarkRect(&grid, INT_MIN, INT_MAX, INT_MIN, INT_MAX, 0.5f);
    EXPECT_EQ(GameGridBlockedCount(&grid), 0) << "the extreme ends clamp to the whole grid";
    EXPECT_EQ(Cell(127, 127), 0.5f);
    EXPECT_FALSE(GameGridCellBlocked(&grid, 127, 127));
    GameGridMarkRect(&grid, 4, 4, 4, 4, 0.0f);
    EXPECT_TRUE(GameGridCellBlocked(&grid, 4, 4)) << "a cost of 0 is impassable";
    EXPECT_FALSE(GameGridCellBlocked(&grid, -1, 4));
    EXPECT_FALSE(GameGridCellBlocked(&grid, 128, 4)) << "outside the grid nothing is blocked";
    EXPECT_FALSE(GameGridCellBlocked(nullptr, 4, 4));
}

TEST_F(GridCoreTest, RectFreeTestsBoundsThenCells) {
    GameGridSetCursor(&grid, 124, 10);
    GameGridSetFootprint(&grid, 4, 3);
    EXPECT_TRUE(GameGridRectFree(&grid)) << "ends exactly at the last column";
    GameGridSetFootprint(&grid, 5, 3);
    EXPECT_FALSE(GameGridRectFree(&grid)) << "one column past the edge";
    GameGridSetFootprint(&grid, 4, 3);
    GameGridMarkRect(&grid, 127, 127, 12, 12, -1.0f);
    EXPECT_FALSE(GameGridRectFree(&grid)) << "its far corner is blocked";
    GameGridSetCursor(&grid, -1, 0);
    GameGridSetFootprint(&grid, 1, 1);
    EXPECT_FALSE(GameGridRectFree(&grid)) << "a negative cell";

    GameGridSetCursor(&grid, 127, 12);
    GameGridSetFootprint(&grid, 0, -4);
    EXPECT_TRUE(GameGridRectFree(&grid)) << "no width: only the bounds count, not the cell";
    GameGridSetCursor(&grid, 129, 12);
    EXPECT_FALSE(GameGridRectFree(&grid));
    GameGridSetCursor(&grid, INT_MAX, INT_MAX);
    GameGridSetFootprint(&grid, INT_MAX, INT_MAX);
    EXPECT_FALSE(GameGridRectFree(&grid)) << "no overflow at the extremes";
}

TEST_F(GridCoreTest, RoutesFromCellCentresAndTheirFailures) {
    PathPtr route(WaypointPathCreate(200));
    route->current = 5;

    const VECTOR3 a = Centre(4, 4);
    EXPECT_EQ(GameGridRoute(&grid, route.get(), &a, &a), 1);
    ASSERT_EQ(route->count, 1);
    EXPECT_FLOAT_EQ(route->points[0].x, a.x);
    EXPECT_FLOAT_EQ(route->points[0].y, 0.0f);
    EXPECT_FLOAT_EQ(route->points[0].z, a.z);
    EXPECT_EQ(route->current, 5) << "the route's current index is the walker's";
    EXPECT_FALSE(route->cut);

    // A full wall at column 10.
    GameGridMarkRect(&grid, 10, 10, 0, 127, -1.0f);
    const VECTOR3 b = Centre(20, 4);
    EXPECT_EQ(GameGridRoute(&grid, route.get(), &a, &b), -1);
    EXPECT_EQ(route->count, 0) << "an unreachable goal leaves the route empty";

    const VECTOR3 outside = {grid.originX - 5.0f, 0.0f, a.z};
    const VECTOR3 nan = {std::numeric_limits<float>::quiet_NaN(), 0.0f, 1e30f};
    WaypointPathAppend(route.get(), 1.0f, 1.0f);
    EXPECT_EQ(GameGridRoute(&grid, route.get(), &outside, &a), 0);
    EXPECT_EQ(route->count, 0);
    EXPECT_EQ(GameGridRoute(&grid, route.get(), &a, &nan), 0) << "a NaN end lies outside";
    EXPECT_EQ(GameGridRoute(&grid, route.get(), &nan, &a), 0);
    EXPECT_EQ(route->count, 0);
}

TEST_F(GridCoreTest, ALongRouteIsCutWithItsGoalKept) {
    // A detour: walls that force a path of about 200 cells.
    GameGridMarkRect(&grid, 5, 5, 0, 100, -1.0f);
    GameGridMarkRect(&grid, 10, 10, 2, 127, -1.0f);
    const VECTOR3 from = Centre(0, 0), to = Centre(12, 0);
    PathPtr route(WaypointPathCreate(128));
    ASSERT_EQ(GameGridRoute(&grid, route.get(), &from, &to), 128);
    ASSERT_EQ(route->count, 128);
    EXPECT_FLOAT_EQ(route->points[0].x, from.x) << "a cut route still starts at the start cell";
    EXPECT_FLOAT_EQ(route->points[0].z, from.z);
    EXPECT_TRUE(route->cut) << "the walker must know to route again from the last point";
    EXPECT_FLOAT_EQ(route->goal.x, to.x);
    EXPECT_FLOAT_EQ(route->goal.z, to.z);
    for (int i = 1; i < route->count; ++i)
        ASSERT_TRUE(Neighbours(grid, route->points[i - 1], route->points[i])) << "step " << i;

    // Walking on from the end of the cut route reaches the goal.
    VECTOR3 at = route->points[route->count - 1];
    int legs = 1;
    while (route->cut && legs < 10) {
        ASSERT_GT(GameGridRoute(&grid, route.get(), &at, &to), 0);
        at = route->points[route->count - 1];
        ++legs;
    }
    EXPECT_FALSE(route->cut);
    EXPECT_FLOAT_EQ(at.x, to.x);
    EXPECT_FLOAT_EQ(at.z, to.z);

    PathPtr small(WaypointPathCreate(3));
    const VECTOR3 near = Centre(4, 0);
    EXPECT_EQ(GameGridRoute(&grid, small.get(), &from, &near), 5);
    EXPECT_EQ(small->count, 3) << "points beyond the route's capacity are dropped";
    EXPECT_TRUE(small->cut) << "so the route is short of its goal";
}

TEST_F(GridCoreTest, GridsBeyondThePathfinderGrowIt) {
    Resize(200, 200);
    EXPECT_GE(grid.finder->nodeCapacity, 40000);
    PathPtr route(WaypointPathCreate(128));
    const VECTOR3 from = Centre(0, 0), to = Centre(199, 199);
    EXPECT_EQ(GameGridRoute(&grid, route.get(), &from, &to), 128) << "corner to corner, cut";
    Resize(150, 150);
    EXPECT_EQ(GameGridRoute(&grid, route.get(), &from, &to), 0) << "the corner is outside now";
    const VECTOR3 near = Centre(3, 0);
    EXPECT_EQ(GameGridRoute(&grid, route.get(), &from, &near), 4);
}

TEST_F(GridCoreTest, RefusedSizesKeepTheOldGrid) {
    GameGridMarkRect(&grid, 3, 3, 3, 3, -1.0f);
    float* before = grid.cells;
    struct Bad {
        int cols, rows;
        float tile;
    };
    const Bad bad[] = {{0, 10, 2.0f},      {-5, 10, 2.0f},          {10, 10, 0.0f},
                       {10, 10, -2.0f},    {10, 10, NAN},           {10, 10, INFINITY},
                       {1025, 1024, 2.0f}, {INT_MAX, INT_MAX, 2.0f}};
    for (const Bad& b : bad) {
        LogCapture log;
        EXPECT_FALSE(GameGridResize(&grid, b.cols, b.rows, b.tile, b.tile, "G"));
        const std::string text = log.Text();
        EXPECT_EQ(text.find("GameGrid G:"), 0u) << b.cols << " " << b.tile;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << "one line per refusal";
        EXPECT_EQ(grid.cells, before);
        EXPECT_EQ(grid.cols, 128);
        EXPECT_FLOAT_EQ(grid.tileWidth, 2.0f);
        EXPECT_TRUE(GameGridCellBlocked(&grid, 3, 3)) << "the old cells stay";
    }
    EXPECT_TRUE(GameGridResize(&grid, 1024, 1024, 1.0f, 1.0f, "G")) << "the largest accepted";
    EXPECT_TRUE(GameGridResize(&grid, 22501, 1, 1.0f, 1.0f, "G"));
    EXPECT_GE(grid.finder->nodeCapacity, 22501);
}

TEST_F(GridCoreTest, PickStoresThePointAndAnswersWhetherThePlaneWasHit) {
    grid.originY = 5.0f;
    int cx = -7, cz = -7;
    const VECTOR3 eye = {110.0f, 25.0f, 210.0f};
    const VECTOR3 down = {0.5f, -1.0f, 0.25f};
    EXPECT_TRUE(GameGridPick(&grid, &eye, &down, &cx, &cz));
    EXPECT_FLOAT_EQ(grid.picked.x, 120.0f);
    EXPECT_FLOAT_EQ(grid.picked.y, 5.0f);
    EXPECT_FLOAT_EQ(grid.picked.z, 215.0f);
    EXPECT_EQ(cx, 10);
    EXPECT_EQ(cz, 7);

    const VECTOR3 away = {-10.0f, -1.0f, 0.0f};
    EXPECT_TRUE(GameGridPick(&grid, &eye, &away, &cx, &cz)) << "hits the plane outside the grid";
    EXPECT_FLOAT_EQ(grid.picked.x, -90.0f) << "the point is kept";
    EXPECT_FALSE(GameGridWorldToCell(&grid, grid.picked.x, grid.picked.z, &cx, &cz));

    const VECTOR3 flat = {1.0f, 0.0f, 0.0f}, up = {0.0f, 1.0f, 0.0f};
    const VECTOR3 nanRay = {NAN, -1.0f, 0.0f};
    for (const VECTOR3* dir : {&flat, &up}) {
        grid.picked = VECTOR3{1.0f, 1.0f, 1.0f};
        EXPECT_FALSE(GameGridPick(&grid, &eye, dir, &cx, &cz));
        EXPECT_EQ(grid.picked.x, 0.0f) << "a miss clears the point";
    }
    EXPECT_FALSE(GameGridPick(&grid, &eye, &nanRay, &cx, &cz));
}

TEST(Placement, QuarterTurnsAndTheTableRoundTrip) {
    EXPECT_EQ(YawToQuarterTurn(0.0f), 0);
    EXPECT_EQ(YawToQuarterTurn(1.54f), 1) << "0.035 below pi/2 already counts";
    EXPECT_EQ(YawToQuarterTurn(1.53f), 0);
    EXPECT_EQ(YawToQuarterTurn(3.1415927f), 2);
    EXPECT_EQ(YawToQuarterTurn(4.712389f), 3);
    EXPECT_EQ(YawToQuarterTurn(6.26f), 0);
    EXPECT_EQ(YawToQuarterTurn(-1.0f), 0);
    EXPECT_EQ(YawToQuarterTurn(NAN), 0);
    for (int q = 0; q < 4; ++q)
        EXPECT_EQ(YawToQuarterTurn(QuarterTurnYaw(q)), q);

    AttrInfo info;
    info.footX = 2;
    info.footZ = 3;
    info.footOffsetX = 1.3f;
    info.footOffsetZ = 2.7f;
    int w, d;
    PlacementFootprint(&info, 1, &w, &d);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(d, 2);
    float x, z;
    PlacementPosition(&info, 1, 2.0f, 3.0f, 10.0f, 20.0f, &x, &z);
    EXPECT_FLOAT_EQ(x, 12.7f);
    EXPECT_FLOAT_EQ(z, 20.0f + 2.0f * 3.0f - 1.3f) << "2W is W tiles along z";
    PlacementPosition(&info, 2, 2.0f, 3.0f, 10.0f, 20.0f, &x, &z);
    EXPECT_FLOAT_EQ(x, 10.0f + 2.0f * 2.0f - 1.3f) << "2W is W tiles along x";
    EXPECT_FLOAT_EQ(z, 22.7f);
    PlacementPosition(&info, 3, 2.0f, 3.0f, 10.0f, 20.0f, &x, &z);
    EXPECT_FLOAT_EQ(x, 12.7f);
    EXPECT_FLOAT_EQ(z, 21.3f);

    // Every anchor cell of a grid comes back through the inverse at every turn.
    GameGridCore grid;
    ASSERT_TRUE(GameGridResize(&grid, 128, 128, 2.0f, 2.0f, "P"));
    grid.originX = 384.0f;
    grid.originZ = 384.0f;
    for (int q = 0; q < 4; ++q)
        for (int c = 0; c < 128; c += 7) {
            float ax, az;
            GameGridCellToWorld(&grid, c, 127 - c, &ax, &az);
            PlacementPosition(&info, q, 2.0f, 2.0f, ax, az, &x, &z);
            const VECTOR3 p = {x, 0.0f, z};
            int fx, fz;
            GameGridWorldToCell(&grid, ax, az, &fx, &fz);
            ASSERT_TRUE(PlacementFirstCell(&grid, &info, &p, QuarterTurnYaw(q), &fx, &fz));
            ASSERT_EQ(fx, c) << "turn " << q;
            ASSERT_EQ(fz, 127 - c) << "turn " << q;
        }

    // Offsets whose sum and difference round: 512 + 0.1 - 0.1 lands just below 512, so reading
    // the anchor at its corner would give the cell before it, and removal would free, and the
    // rebuild block, the wrong column.
    info.footOffsetX = 0.1f;
    info.footOffsetZ = 0.35f;
    float ax, az;
    GameGridCellToWorld(&grid, 64, 64, &ax, &az);
    PlacementPosition(&info, 0, 2.0f, 2.0f, ax, az, &x, &z);
    float backX, backZ;
    PlacementAnchor(&info, 0, 2.0f, 2.0f, x, z, &backX, &backZ);
    int cornerX, cornerZ, fx, fz;
    GameGridWorldToCell(&grid, backX, backZ, &cornerX, &cornerZ);
    ASSERT_EQ(cornerX, 63) << "the rounding this guards against no longer happens";
    const VECTOR3 p = {x, 0.0f, z};
    PlacementFirstCell(&grid, &info, &p, 0.0f, &fx, &fz);
    EXPECT_EQ(fx, 64);
    EXPECT_EQ(fz, 64);
    GameGridCoreFree(&grid);
}
