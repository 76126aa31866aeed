// The waypoint follower: arrival tolerances, stepping through a route and a full route.
#include "game/WaypointPath.h"

#include "engine/Memory.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
struct PathDeleter {
    void operator()(WaypointPath* p) const { WaypointPathDestroy(p); }
};
using PathPtr = std::unique_ptr<WaypointPath, PathDeleter>;
} // namespace

TEST(WaypointPath, ToleranceIsInclusiveAndIgnoresHeight) {
    PathPtr path(WaypointPathCreate(4));
    ASSERT_TRUE(path);
    EXPECT_FLOAT_EQ(path->tolerance.x, 0.1f);
    path->tolerance = VECTOR3{0.5f, 0.5f, 0.5f}; // as patrons set it; exact in binary
    ASSERT_TRUE(WaypointPathAppend(path.get(), 2.0f, 3.0f));
    ASSERT_TRUE(WaypointPathAppend(path.get(), 9.0f, 9.0f));
    EXPECT_FLOAT_EQ(path->points[0].y, 0.0f);

    EXPECT_EQ(WaypointPathReached(path.get(), VECTOR3{2.51f, 0.0f, 3.0f}), 0);
    EXPECT_EQ(WaypointPathReached(path.get(), VECTOR3{2.0f, 0.0f, 2.49f}), 0);
    EXPECT_EQ(path->current, 0);
    EXPECT_EQ(WaypointPathReached(path.get(), VECTOR3{2.5f, 40.0f, 3.5f}), 1)
        << "exactly one tolerance away counts as reached, whatever the height";
    EXPECT_EQ(path->current, 1);
    EXPECT_EQ(WaypointPathReached(path.get(), VECTOR3{1.5f, 0.0f, 2.5f}), 0)
        << "current moved on, so the first point no longer counts";
}

TEST(WaypointPath, StepsThroughARouteAndStartsOver) {
    PathPtr path(WaypointPathCreate(8));
    WaypointPathAppend(path.get(), 0.0f, 0.0f);
    EXPECT_EQ(WaypointPathReached(path.get(), VECTOR3{0.0f, 0.0f, 0.0f}), 2)
        << "a route of one point is done at once";
    EXPECT_EQ(path->current, 0);

    WaypointPathAppend(path.get(), 1.0f, 0.0f);
    WaypointPathAppend(path.get(), 2.0f, 0.0f);
    const int expected[] = {1, 1, 2};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(WaypointPathReached(path.get(), VECTOR3{float(i), 0.0f, 0.0f}), expected[i])
            << "point " << i;
    EXPECT_EQ(path->current, 0) << "the last point resets current";
}

TEST(WaypointPath, FullAndEmptyRoutes) {
    PathPtr path(WaypointPathCreate(2));
    EXPECT_EQ(WaypointPathReached(path.get(), VECTOR3{5.0f, 0.0f, 5.0f}), 2)
        << "an empty route is arrival, or the walker waits for ever";

    EXPECT_TRUE(WaypointPathAppend(path.get(), 1.0f, 1.0f));
    EXPECT_TRUE(WaypointPathAppend(path.get(), 2.0f, 2.0f));
    EXPECT_FALSE(WaypointPathAppend(path.get(), 3.0f, 3.0f)) << "the route is full";
    EXPECT_EQ(path->count, 2);
    EXPECT_FLOAT_EQ(path->points[1].x, 2.0f) << "a refused append must change nothing";

    // The grid refills a route without resetting current: a current beyond the new count must not
    // steer toward a stale point.
    path->current = 1;
    path->count = 1;
    EXPECT_EQ(WaypointPathReached(path.get(), VECTOR3{9.0f, 0.0f, 9.0f}), 2);
    EXPECT_EQ(path->current, 0);

    int64_t live = MemLiveBlocks();
    PathPtr none(WaypointPathCreate(0));
    ASSERT_TRUE(none);
    EXPECT_FALSE(WaypointPathAppend(none.get(), 0.0f, 0.0f));
    none.reset();
    EXPECT_EQ(MemLiveBlocks(), live);
}
