// The shared walking step and unsticking: long steps that jump a point, the end of a cut route
// routed again, and the step off a blocked cell that never reads outside the grid.
#include "game/RouteWalk.h"

#include "game/GameGridCore.h"
#include "game/WaypointPath.h"

#include <gtest/gtest.h>

namespace {
class RouteWalkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GameGridCoreInit(&grid));
        ASSERT_TRUE(GameGridResize(&grid, 200, 8, 2.0f, 2.0f, "test"));
        route = WaypointPathCreate(128);
        route->tolerance = VECTOR3{0.3f, 0.0f, 0.3f};
    }
    void TearDown() override {
        WaypointPathDestroy(route);
        GameGridCoreFree(&grid);
    }
    VECTOR3 Centre(int x, int z) const {
        return VECTOR3{(float)x * 2.0f + 1.0f, 0.0f, (float)z * 2.0f + 1.0f};
    }
    GameGridCore grid;
    WaypointPath* route = nullptr;
};
} // namespace

TEST_F(RouteWalkTest, AStepPastThePointStillReachesItAndTheCutRouteGoesOn) {
    VECTOR3 pos = Centre(0, 4);
    const VECTOR3 goal = Centre(190, 4);
    ASSERT_EQ(RouteWalkTo(&grid, route, pos, goal.x, goal.z), kGridPathPoints);
    ASSERT_TRUE(route->cut) << "190 cells are more than one route holds";
    VECTOR3 dir = {0.0f, 0.0f, 1.0f};
    RouteWalkAim(route, pos, &dir);
    int steps = 0;
    // 2.6 units a frame is more than a cell and far more than the 0.3 window.
    while (!RouteWalkStep(&grid, route, &pos, &dir, 2.6f, 1.0f)) {
        ASSERT_LT(++steps, 1000) << "the walker never arrived: a point was jumped and waited for";
    }
    EXPECT_NEAR(pos.x, goal.x, 2.6f) << "arrived only at the end of the whole way";
    EXPECT_NEAR(pos.z, goal.z, 2.6f);
    EXPECT_TRUE(RouteWalkStep(&grid, nullptr, &pos, &dir, 1.0f, 1.0f)) << "no route: arrived";
}

TEST_F(RouteWalkTest, UnstickStepsToTheNearestFreeCellAndNothingOffTheGrid) {
    GameGridMarkRect(&grid, 10, 14, 0, 7, -1.0f);
    VECTOR3 pos = Centre(11, 4);
    EXPECT_TRUE(RouteWalkUnstick(&grid, &pos));
    EXPECT_FLOAT_EQ(pos.x, Centre(9, 4).x) << "2 cells along -x beat 4 along +x; z is walled";
    VECTOR3 off = {-30.0f, 0.0f, -30.0f};
    EXPECT_FALSE(RouteWalkUnstick(&grid, &off));
    EXPECT_FLOAT_EQ(off.x, -30.0f);
    GameGridMarkRect(&grid, 0, 199, 0, 7, -1.0f);
    VECTOR3 walled = Centre(5, 5);
    EXPECT_FALSE(RouteWalkUnstick(&grid, &walled)) << "no free cell anywhere: it stays";
    VECTOR3 free = Centre(5, 5);
    GameGridMarkRect(&grid, 5, 5, 5, 5, 1.0f);
    EXPECT_FALSE(RouteWalkUnstick(&grid, &free));
    GameGridMarkRect(&grid, 5, 5, 5, 5, 0.0f);
    EXPECT_FALSE(RouteWalkUnstick(&grid, &free)) << "a cell of 0 holds nobody";
    EXPECT_FLOAT_EQ(free.x, Centre(5, 5).x);
}
