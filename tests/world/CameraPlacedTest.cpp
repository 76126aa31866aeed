// The placed camera and the camera path points against the real entity tree: tables, views,
// values read from a file, links, the path-length command and bad values.
#include "engine/Files.h"
#include "engine/VarTable.h"
#include "tests/world/CamerasFixture.h"

#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr float kPi = 3.14159265f;

std::string Rows(VarTable* t) {
    std::string rows;
    for (int i = 0; i < t->count; ++i)
        if (t->Entries()[i].type != VAR_FREE)
            rows += std::string(rows.empty() ? "" : "|") + t->Entries()[i].name;
    return rows;
}

class CameraPlacedTest : public CamerasTest {
  protected:
    CameraWaypoint* Point(const char* name, VECTOR3 at, const char* next = "!",
                          const char* prev = "!") {
        auto* p = Make<CameraWaypoint>("CameraWaypoint", world, name);
        p->pos = at;
        p->SetString("next", next);
        p->SetString("prev", prev);
        return p;
    }
    // Four points along x, 10 apart: A <-> B <-> C <-> D, started.
    CameraWaypoint* Chain(float spacing = 10.0f) {
        CameraWaypoint* pts[4] = {Point("A", {0, 0, 0}, "B"), Point("B", {spacing, 0, 0}, "C", "A"),
                                  Point("C", {2 * spacing, 0, 0}, "D", "B"),
                                  Point("D", {3 * spacing, 0, 0}, "!", "C")};
        for (CameraWaypoint* p : pts)
            p->Start();
        return pts[1];
    }
};

TEST_F(CameraPlacedTest, TablesHoldTheirRowsRangesAndCommand) {
    EXPECT_EQ(Rows(CameraFixedVars()), "name|pos.x|pos.y|pos.z|pitch|yaw|fov");
    EXPECT_EQ(Rows(CameraWaypointVars()), "name|Position:|x|y|z|Target:|fov|pitch|yaw|targetDist|"
                                          "Rate:|speed|transTime|Calculate transTime|Links:|next|"
                                          "prev");
    EXPECT_EQ(VarTableFind(CameraFixedVars(), "yaw")->max.f, 6.28319f);
    EXPECT_EQ(VarTableFind(CameraWaypointVars(), "fov")->min.f, 0.1f);
    EXPECT_EQ(VarTableFind(CameraWaypointVars(), "Calculate transTime")->type,
              (uint32_t)VAR_COMMAND);

    // Shutting the classes down frees their tables.
    EntDestroyTree(root);
    root = nullptr;
    EntSystemShutdown();
    EXPECT_EQ(CameraFixedVars(), nullptr);
    EXPECT_EQ(CameraWaypointVars(), nullptr);
    EXPECT_EQ(CameraAvatar1Vars(), nullptr);
    EXPECT_EQ(PlayfieldVars(), nullptr);
}

TEST_F(CameraPlacedTest, AFixedCameraLooksAlongItsAnglesFromItsPlace) {
    auto* cam = Make<CameraFixed>("CameraFixed", world, "Fixed");
    EXPECT_EQ(cam->fov, 1.04718f);
    EXPECT_EQ(cam->localBox[0], -1.0f);
    EXPECT_EQ(cam->localBox[5], 1.0f);
    cam->pos = VECTOR3{10.0f, 5.0f, 0.0f};
    cam->Start();
    CameraDesc desc = View(cam);
    EXPECT_EQ(desc.eye.x, 10.0f);
    VECTOR3 ahead = {10.0f, 5.0f, 30.0f}, inView;
    Mat4XformPoint(&ahead, &desc.view, &inView);
    EXPECT_NEAR(inView.x, 0.0f, 1e-4f);
    EXPECT_NEAR(inView.z, 30.0f, 1e-4f) << "yaw 0 looks along +z";
    EXPECT_EQ(cam->worldBox[0], 9.0f);

    cam->SetYaw(kPi);
    EXPECT_EQ(cam->GetYaw(), kPi);
    EXPECT_NEAR(View(cam).view.m[14], desc.view.m[14], 1e-6f) << "SetYaw only stores";
    cam->VarsChanged();
    desc = View(cam);
    Mat4XformPoint(&ahead, &desc.view, &inView);
    EXPECT_LT(inView.z, 0.0f) << "after yaw pi the point lies behind";

    cam->SetPitch(0.5f);
    EXPECT_EQ(cam->GetPitch(), 0.5f);
    cam->VarsChanged();
    VECTOR3 below = {10.0f, 0.0f, 0.0f};
    desc = View(cam);
    Mat4XformPoint(&below, &desc.view, &inView);
    EXPECT_LT(inView.y, 0.0f);
}

TEST_F(CameraPlacedTest, AFieldOfViewOutOfRangeBecomesTheDefaultWithOneLine) {
    for (float bad : {0.0f, -1.0f, 3.5f, std::nanf("")}) {
        auto* cam = Make<CameraFixed>("CameraFixed", world, "BadFov");
        cam->fov = bad;
        cam->Start();
        EXPECT_EQ(View(cam).fov, 1.04718f) << bad;
        cam->VarsChanged();
        EntDestroyTree(cam);
    }
    EXPECT_EQ(LogCount("BadFov: field of view"), 4) << "one line each, not one per change";
}

TEST_F(CameraPlacedTest, AWaypointReadFromAFileStartsWithATimeAndGivesAView) {
    TempDir dir;
    const std::string path = dir / "Path.ini";
    const char* text = "[WP1]\nx=100\ny=5\nz=200\ntransTime=0.0\ntargetDist=40\nnext=Nowhere\n";
    ASSERT_EQ(FileWriteAll(path.c_str(), text, std::strlen(text)), 1);
    auto* wp = Make<CameraWaypoint>("CameraWaypoint", world, "WP1");
    EXPECT_EQ(wp->transTime, 4.0f);
    int flag = -1;
    wp->LoadVars(path.c_str(), &flag);
    EXPECT_EQ(wp->transTime, 0.0f);
    EXPECT_EQ(wp->fov, 0.0f) << "the file has no fov: the table's default";
    wp->Start();
    EXPECT_EQ(wp->transTime, 1.0f) << "0 counts as unset";
    EXPECT_EQ(wp->fov, 1.04718f);
    EXPECT_EQ(LogCount(": field of view"), 1);
    EXPECT_EQ(wp->Next(), nullptr) << "a name that names no entity links nothing";
    EXPECT_NEAR(wp->target.x, 100.0f, 1e-4f);
    EXPECT_NEAR(wp->target.y, 5.0f, 1e-4f);
    EXPECT_NEAR(wp->target.z, 240.0f, 1e-4f);

    // A viewport or the editor can look through it: a view, not an empty description.
    const CameraDesc desc = View(wp);
    EXPECT_EQ(desc.fov, 1.04718f);
    EXPECT_EQ(desc.eye.z, 200.0f);
    EXPECT_TRUE(InverseOf(wp->matrix, desc.view));

    // Turning it moves its target at once.
    wp->SetYaw(kPi * 0.5f);
    EXPECT_NEAR(wp->target.x, 140.0f, 1e-3f);
    wp->SetPitch(kPi * 0.5f);
    EXPECT_NEAR(wp->target.y, -35.0f, 1e-3f) << "a positive pitch looks down";
}

TEST_F(CameraPlacedTest, ACreatedWaypointAimsFortyAhead) {
    CameraWaypoint* wp = Point("Solo", {10, 20, 30});
    wp->Start();
    EXPECT_EQ(wp->transTime, 4.0f);
    EXPECT_NEAR(wp->target.z, 70.0f, 1e-4f);
    EXPECT_EQ(wp->target.x, 10.0f);
    EXPECT_EQ(wp->worldBox[1], 19.0f);
}

TEST_F(CameraPlacedTest, CalculateTransTimeSumsThePathToTheNextPoint) {
    CameraWaypoint* b = Chain();
    ASSERT_EQ(b->Prev()->GetName(), std::string("A"));
    ASSERT_EQ(b->NextNext()->GetName(), std::string("D"));

    b->speed = 0.0f;
    EXPECT_EQ(CameraWaypointCalcTransTime(b), -1);
    EXPECT_EQ(b->transTime, 4.0f);

    b->speed = 5.0f;
    b->ClearFlag(ENT_FLAG_CHANGED);
    VarEntry* command = VarTableFind(CameraWaypointVars(), "Calculate transTime");
    command->function(b); // as the editor runs it
    EXPECT_NEAR(b->transTime, 2.0f, 0.02f);
    EXPECT_EQ(LogCount("Beep 440 Hz 10 ms"), 1);
    EXPECT_TRUE(b->TestFlag(ENT_FLAG_CHANGED)) << "the editor's changed mark";
    EXPECT_FALSE(b->TestFlag(ENT_FLAG_ACTIVE)) << "the mark must not make it active";

    // C's next-but-one is missing: nothing changes.
    CameraWaypoint* c = b->Next();
    c->speed = 5.0f;
    EXPECT_EQ(CameraWaypointCalcTransTime(c), 0);
    EXPECT_EQ(c->transTime, 4.0f);
    EXPECT_EQ(LogCount("Beep"), 1);
}

TEST_F(CameraPlacedTest, CoincidentPointsHaveNoLengthAndChangeNothing) {
    CameraWaypoint* b = Chain(0.0f);
    b->speed = 5.0f;
    EXPECT_EQ(CameraWaypointCalcTransTime(b), -1);
    EXPECT_EQ(b->transTime, 4.0f);
    EXPECT_EQ(LogCount("has no length"), 1);
    EXPECT_EQ(LogCount("Beep"), 0);
}

TEST_F(CameraPlacedTest, LinksAreResolvedOnceAtStart) {
    CameraWaypoint* b = Chain();
    CameraWaypoint* c = b->Next();
    c->SetName("Renamed");
    EXPECT_EQ(b->Next(), c) << "renaming after Start does not re-resolve";
    b->Start();
    EXPECT_EQ(b->Next(), nullptr) << "a new Start finds no \"C\"";
    b->speed = 5.0f;
    EXPECT_EQ(CameraWaypointCalcTransTime(b), 0);
    EXPECT_EQ(b->transTime, 4.0f);

    // A link to a point that is destroyed is none.
    CameraWaypoint* a = b->Prev();
    EntDestroyTree(b);
    EXPECT_EQ(a->Next(), nullptr);

    // An entity of another type under the name links nothing.
    Make("Probe", world, "Stranger");
    CameraWaypoint* lone = Point("Lone", {0, 0, 0}, "Stranger");
    lone->Start();
    EXPECT_EQ(lone->Next(), nullptr);
}

} // namespace
