// The waypoint follower on a real chain of camera waypoints: its start without a waypoint, the
// path point and facing mid-segment, short and zero segment times, and the open chain end.
#include "world/WptFollower.h"
#include "engine/VarTable.h"
#include "tests/I3d/ModelFiles.h"
#include "tests/world/CamerasFixture.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

class WptFollowerTest : public CamerasTest {
  protected:
    void SetUp() override {
        CamerasTest::SetUp();
        // The class's data folder is the folder of the file it is registered from.
        const std::string from = files / "Startup.lua";
        ASSERT_EQ(EntCreateClass(EcWptFollowerProc, reinterpret_cast<intptr_t>(from.c_str()), 0),
                  0);
    }
    // Points "W0".."W<n-1>" along x, linked in order (an open chain), each with `time`.
    void Chain(int n, float time) {
        std::vector<CameraWaypoint*> made;
        for (int i = 0; i < n; ++i) {
            auto* w =
                Make<CameraWaypoint>("CameraWaypoint", world, ("W" + std::to_string(i)).c_str());
            w->pos = VECTOR3{100.0f + 20.0f * (float)i, 10.0f + (float)(i % 2) * 4.0f, 100.0f};
            w->yaw = 0.3f * (float)i;
            if (i > 0) std::snprintf(w->prevName, sizeof w->prevName, "W%d", i - 1);
            if (i + 1 < n) std::snprintf(w->nextName, sizeof w->nextName, "W%d", i + 1);
            w->transTime = time;
            made.push_back(w);
        }
        for (CameraWaypoint* w : made)
            w->Start();
        points = made;
    }
    WptFollower* Follower(const char* first) {
        auto* f = Make<WptFollower>("WptFollower", world, "Flyer");
        std::snprintf(f->initWaypoint, sizeof f->initWaypoint, "%s", first);
        f->Start();
        return f;
    }
    std::vector<CameraWaypoint*> points;
    TempDir files;
};

bool Finite(const VECTOR3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

TEST_F(WptFollowerTest, WithoutItsWaypointItLogsOnceAndNeverMoves) {
    Chain(3, 1.0f);
    Make("EntNull", world, "NotAPoint");
    for (const char* name : {"Nowhere", "NotAPoint"}) {
        WptFollower* f = Follower(name);
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(f->Update(0.1f), 1);
        EXPECT_EQ(f->pos.x, 0.0f) << name << " must not start a flight";
        EXPECT_EQ(f->valid, 0);
    }
    EXPECT_EQ(LogCount("Init Camera Waypoint name not defined in ini file!"), 2);
    EXPECT_EQ(LogCount("Waypoint Camera data could not be obtained!"), 2);
    EXPECT_EQ(LogCount("could not find"), 2) << "no model file is named";
}

TEST_F(WptFollowerTest, MidSegmentItStandsOnThePathAndFacesTheTargetPath) {
    Chain(5, 1.0f);
    WptFollower* f = Follower("W1");
    f->Update(0.5f);
    const VECTOR3 want = CameraWaypointPathPoint(points[1], 0.5f);
    EXPECT_NEAR(f->pos.x, want.x, 1e-4f);
    EXPECT_NEAR(f->pos.y, want.y, 1e-4f);
    EXPECT_NEAR(f->pos.z, want.z, 1e-4f);
    VECTOR3 forward = {f->target.x - f->eye.x, f->target.y - f->eye.y, f->target.z - f->eye.z};
    const float len =
        std::sqrt(forward.x * forward.x + forward.y * forward.y + forward.z * forward.z);
    const float* m = f->matrix.m;
    EXPECT_NEAR(m[8], forward.x / len, 3e-3f) << "row 2 is the direction to the target";
    EXPECT_NEAR(m[10], forward.z / len, 3e-3f);
    EXPECT_NEAR(m[1], 0.0f, 1e-6f) << "right stays level";
    EXPECT_GT(m[5], 0.0f) << "up' points up";
    EXPECT_EQ(m[12], f->eye.x);
    EXPECT_EQ(f->Current(), points[1]);
    f->Update(0.6f);
    EXPECT_EQ(f->Current(), points[2]) << "past the segment time the next point is current";
    EXPECT_NEAR(f->elapsed, 0.1f, 1e-5f);
}

TEST_F(WptFollowerTest, ShortSegmentsAdvanceOnePointPerUpdateAndStopAtTheEnd) {
    Chain(5, 0.01f);
    WptFollower* f = Follower("W0");
    f->Update(0.1f);
    EXPECT_EQ(f->Current(), points[1]);
    f->Update(0.1f);
    EXPECT_EQ(f->Current(), points[2]) << "at most one segment per update";
    for (int i = 0; i < 5; ++i)
        f->Update(0.1f);
    EXPECT_EQ(f->Current(), points[4]);
    EXPECT_EQ(f->pos.x, points[4]->pos.x) << "an open chain ends resting on its last point";
    EXPECT_TRUE(Finite(f->pos));
}

TEST_F(WptFollowerTest, ZeroAndNegativeSegmentTimesKeepThePositionFinite) {
    Chain(5, 1.0f);
    WptFollower* f = Follower("W0");
    for (CameraWaypoint* w : points)
        w->transTime = 0.0f; // as a script may set after the points started
    points[2]->transTime = -1.0f;
    for (int i = 0; i < 8; ++i) {
        f->Update(0.1f);
        ASSERT_TRUE(Finite(f->pos)) << "update " << i;
        for (float v : f->matrix.m)
            ASSERT_TRUE(std::isfinite(v)) << "update " << i;
    }
    EXPECT_EQ(f->Current(), points[4]);
}

TEST_F(WptFollowerTest, TheTableAndCreatedValues) {
    VarTable* t = WptFollowerVars();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->count, 13);
    auto* f = Make<WptFollower>("WptFollower", world, "Fresh");
    EXPECT_EQ(f->scale, 1.0f);
    EXPECT_EQ(f->visDist, 300.0f);
    EXPECT_EQ(f->flags & 0x4u, 0u);
    EXPECT_EQ(f->DrawPre(), 1) << "no model: nothing drawn";
}

TEST_F(WptFollowerTest, StartingAgainLoadsTheModelNamedNow) {
    const std::string small = WriteScene(files, "model Small\nnode Root box 2 2 2\n");
    const std::string tall = WriteScene(files, "model Tall\nnode Root box 2 8 2\n");
    auto* f = Make<WptFollower>("WptFollower", world, "Flyer");
    std::snprintf(f->modelFile, sizeof f->modelFile, "%s",
                  small.substr(small.rfind('/') + 1).c_str());
    f->Start();
    ASSERT_NE(f->model, nullptr);
    EXPECT_FLOAT_EQ(f->localBox[4], 1.0f);
    // A restart with the same name keeps a model; a new name is loaded at once.
    f->Start();
    ASSERT_NE(f->model, nullptr);
    std::snprintf(f->modelFile, sizeof f->modelFile, "%s",
                  tall.substr(tall.rfind('/') + 1).c_str());
    f->Start();
    ASSERT_NE(f->model, nullptr);
    EXPECT_FLOAT_EQ(f->localBox[4], 4.0f) << "the box is the new model's";
    std::snprintf(f->modelFile, sizeof f->modelFile, "!");
    f->Start();
    EXPECT_EQ(f->model, nullptr) << "no model named: none held";
}

} // namespace
