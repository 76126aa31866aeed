// The management camera against the real entity tree: fitting to the grid, keys, mouse, pad,
// fly-to and the view, real-time stepping, held input that loses its release, and bad values.
#include "I3d/Math/Pick.h"
#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/PropFields.h"
#include "engine/WorldClass.h"
#include "tests/support/TestSupport.h"
#include "tests/world/CameraVantorFixture.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr float kQuarterPi = 0.785398f;

// Answers every height query with `height`.
class FlatTerrain : public ENTBASE {
  public:
    intptr_t Dispatch(int message, intptr_t a, intptr_t b, intptr_t c) override {
        if (message != ENT_MSG_GROUND_HEIGHT) return ENTBASE::Dispatch(message, a, b, c);
        *reinterpret_cast<float*>(c) = 5.0f;
        return 1;
    }
};
const WorldClassDef kFlat = {"FlatTerrain", nullptr, WorldMake<FlatTerrain>, nullptr};
intptr_t FlatProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kFlat, n, m, a, b, c);
}

// The camera's entity under a class of its own, which hands over no fly-to hook.
const WorldClassDef kStandIn = {"StandInVantor", nullptr, WorldMake<CameraVantor1>, nullptr};
intptr_t StandInProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kStandIn, n, m, a, b, c);
}

// ---- start ----

TEST_F(CameraVantorTest, TableRowsInOrderAndTheCreatedState) {
    CameraVantor1* cam = AddCamera();
    std::string rows;
    for (PropField* f = cam->classDb->first; f; f = f->next)
        rows += std::string(rows.empty() ? "" : " ") + f->name;
    EXPECT_EQ(rows, "name pos minPitch maxPitch minZoom maxZoom fov mouseEnabled trackRate yawRate "
                    "tiltRate zoomRate minX maxX minZ maxZ scrollSpeedX scrollSpeedZ "
                    "scrollZonePct edgeScrollEnable");
    EXPECT_EQ(static_cast<PropFieldString*>(cam->classDb->first)->def, "!")
        << "a camera without a name in its file is named \"!\", as every camera is";
    EXPECT_FLOAT_EQ(cam->pitch, kQuarterPi);
    EXPECT_EQ(cam->distance, 40.0f);
    EXPECT_EQ(cam->mouseX, 512.0f) << "the pointer must start away from the edge zones";
    EXPECT_EQ(cam->mouseY, 384.0f);
}

TEST_F(CameraVantorTest, StartFitsTheGridAndTheEyeSettlesAboveItsCentre) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    EXPECT_EQ(cam->minX, 384.0f);
    EXPECT_EQ(cam->maxX, 640.0f);
    EXPECT_EQ(cam->minZ, 384.0f);
    EXPECT_EQ(cam->maxZ, 640.0f);
    EXPECT_EQ(cam->targetPoint.x, 512.0f);
    EXPECT_EQ(cam->targetPoint.z, 512.0f);
    Run(cam, 0.016f, 60);
    EXPECT_NEAR(cam->pos.x, 512.0f, 0.01f);
    EXPECT_NEAR(cam->pos.y, 28.28f, 0.01f) << "a positive pitch looks down: the eye stands above";
    EXPECT_NEAR(cam->pos.z, 483.72f, 0.01f) << "yaw 0 looks along +z: the eye stands behind";
}

TEST_F(CameraVantorTest, WithoutAGridTheBoundsStayAndOnTerrainTheTargetTakesTheGridHeight) {
    CameraVantor1* alone = AddCamera();
    EXPECT_EQ(alone->minX, 384.0f);
    EXPECT_EQ(alone->maxZ, 640.0f);
    EXPECT_EQ(alone->targetPoint.x, 0.0f);
    EXPECT_EQ(alone->targetPoint.z, 0.0f);
    EntDestroyTree(alone);

    ASSERT_EQ(EntCreateClass(FlatProc, 0, 0), 0);
    Make("FlatTerrain", world, "Terrain");
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    EXPECT_EQ(cam->targetPoint.y, 5.0f) << "the grid stands on the terrain and the camera on it";
}

TEST_F(CameraVantorTest, AGridListedAfterTheCameraStillGivesItsBounds) {
    auto* grid = Make<GameGrid>("GameGrid", world, "GameGrid");
    grid->pos = VECTOR3{100.0f, 2.0f, 50.0f};
    grid->gridCols = 10;
    grid->gridRows = 20;
    CameraVantor1* cam = AddCamera(); // started before the grid has built its cells
    EXPECT_EQ(cam->minX, 100.0f);
    EXPECT_EQ(cam->maxX, 120.0f);
    EXPECT_EQ(cam->maxZ, 90.0f) << "an unbuilt grid collapsed the bounds to its empty size";
    EXPECT_EQ(cam->targetPoint.z, 70.0f);

    EntDestroyTree(cam);
    grid->pos.x = std::numeric_limits<float>::infinity();
    cam = AddCamera();
    EXPECT_EQ(cam->minX, 384.0f) << "a grid at no finite place must not be taken";
    Run(cam, 0.016f, 2);
    EXPECT_TRUE(std::isfinite(cam->pos.x));
}

// ---- keys ----

TEST_F(CameraVantorTest, KeysMoveTurnAndZoomAtTheirRates) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    Send(cam, SL_KEYDOWN, 17); // W
    Run(cam, 0.01f, 100);
    EXPECT_NEAR(cam->targetPoint.z, 512.0f + 56.57f, 0.6f)
        << "forward is the camera's z axis, whose ground part is cos(pitch)";
    EXPECT_EQ(cam->targetPoint.y, 0.0f);
    Send(cam, SL_KEYUP, 17);
    Send(cam, SL_KEYDOWN, 31); // S
    Run(cam, 0.01f, 100);
    EXPECT_NEAR(cam->targetPoint.z, 512.0f, 0.6f);
    Send(cam, SL_KEYUP, 31);

    Send(cam, SL_KEYDOWN, 32); // D
    Run(cam, 0.25f, 1);
    EXPECT_NEAR(cam->targetPoint.x, 532.0f, 1e-3f);
    Send(cam, SL_KEYUP, 32);
    Send(cam, SL_KEYDOWN, 30); // A
    Run(cam, 0.25f, 1);
    EXPECT_NEAR(cam->targetPoint.x, 512.0f, 1e-3f);
    Send(cam, SL_KEYUP, 30);

    Send(cam, SL_KEYDOWN, 16); // Q
    Run(cam, 0.5f, 1);
    EXPECT_NEAR(cam->yaw, -0.75f, 1e-5f);
    Send(cam, SL_KEYUP, 16);
    Send(cam, SL_KEYDOWN, 18); // E
    Run(cam, 0.5f, 1);
    EXPECT_NEAR(cam->yaw, 0.0f, 1e-5f);
    Send(cam, SL_KEYUP, 18);

    Send(cam, SL_KEYDOWN, 19); // R
    Run(cam, 0.25f, 1);
    EXPECT_NEAR(cam->distance, 25.0f, 1e-4f);
    Send(cam, SL_KEYUP, 19);
    Send(cam, SL_KEYDOWN, 33); // F
    Run(cam, 0.25f, 1);
    EXPECT_NEAR(cam->distance, 40.0f, 1e-4f);
    Send(cam, SL_KEYUP, 33);

    Send(cam, SL_KEYDOWN, 45); // X: not a camera key
    Send(cam, SL_KEYDOWN, 0x7FFFFFFF);
    const VECTOR3 before = cam->targetPoint;
    Run(cam, 0.25f, 1);
    EXPECT_EQ(cam->targetPoint.x, before.x);
    EXPECT_EQ(cam->targetPoint.z, before.z);
}

TEST_F(CameraVantorTest, OppositeKeysCancelAndReleasingOneResumesTheOther) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    Send(cam, SL_KEYDOWN, 30);
    Send(cam, SL_KEYDOWN, 32);
    Send(cam, SL_KEYDOWN, 16);
    Send(cam, SL_KEYDOWN, 18);
    Run(cam, 0.25f, 1);
    EXPECT_EQ(cam->targetPoint.x, 512.0f);
    EXPECT_EQ(cam->yaw, 0.0f);
    Send(cam, SL_KEYUP, 30);
    Run(cam, 0.25f, 1);
    EXPECT_NEAR(cam->targetPoint.x, 532.0f, 1e-3f) << "D still held: the view moves right";
}

// ---- mouse ----

TEST_F(CameraVantorTest, RightDragPansAndMiddleOrBothButtonsRotate) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    Send(cam, SL_MOUSE1DOWN);
    Send(cam, SL_MOUSEMOVE, 10, 0);
    Run(cam, 0.016f, 1);
    EXPECT_NEAR(cam->targetPoint.x, 513.0f, 1e-4f) << "10 counts at trackRate 0.1 is one unit";
    EXPECT_EQ(g_cursorFrameIndex, 2);
    EXPECT_EQ(host.locked, 1) << "a drag holds the cursor";
    Run(cam, 0.016f, 1);
    EXPECT_NEAR(cam->targetPoint.x, 513.0f, 1e-4f) << "motion is consumed by the update";

    Send(cam, SL_MOUSE0DOWN); // right + left: rotate
    Send(cam, SL_MOUSEMOVE, 0, 10);
    Send(cam, SL_MOUSEMOVE, 0, 10); // replaces, does not add
    Run(cam, 0.016f, 1);
    EXPECT_NEAR(cam->pitch, kQuarterPi + 0.1f, 1e-5f);
    EXPECT_EQ(g_cursorFrameIndex, 3);
    EXPECT_NEAR(cam->targetPoint.x, 513.0f, 1e-4f) << "rotating must not pan";
    Send(cam, SL_MOUSEMOVE, 0, 1000);
    Run(cam, 0.016f, 1);
    EXPECT_FLOAT_EQ(cam->pitch, 1.4f);
    Send(cam, SL_MOUSE0UP);
    Send(cam, SL_MOUSE1UP);

    Send(cam, SL_MOUSE2DOWN);
    Send(cam, SL_MOUSEMOVE, 50, -2000);
    Run(cam, 0.016f, 1);
    EXPECT_NEAR(cam->yaw, 0.5f, 1e-5f);
    EXPECT_FLOAT_EQ(cam->pitch, 0.4f);
    Send(cam, SL_MOUSE2UP);
    Run(cam, 0.016f, 1);
    EXPECT_EQ(g_cursorFrameIndex, 1);
    EXPECT_EQ(host.locked, 0) << "released buttons let the cursor go";
}

TEST_F(CameraVantorTest, EdgeZoneIsStrictAndTheWheelReplaces) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    Cursor(cam, 1024.0f * (1.0f - 0.015f), 384.0f);
    Run(cam, 0.1f, 1);
    EXPECT_EQ(cam->targetPoint.x, 512.0f) << "on the boundary nothing scrolls";
    Cursor(cam, 1024.0f * (1.0f - 0.015f) + 1.0f, 384.0f);
    Run(cam, 0.1f, 1);
    EXPECT_NEAR(cam->targetPoint.x, 532.0f, 1e-3f);
    Cursor(cam, 512.0f, 0.0f); // top edge: forward
    Run(cam, 0.1f, 1);
    EXPECT_GT(cam->targetPoint.z, 512.0f);
    Cursor(cam, 512.0f, 384.0f);

    Send(cam, SL_MOUSEWHEEL, 120);
    Send(cam, SL_MOUSEWHEEL, 120);
    Run(cam, 0.016f, 1);
    EXPECT_NEAR(cam->distance, 36.4f, 1e-4f) << "one notch of 120 at zoomRate 0.03; a second "
                                                "event replaces the first";
    Run(cam, 0.016f, 1);
    EXPECT_NEAR(cam->distance, 36.4f, 1e-4f);
}

TEST_F(CameraVantorTest, PadMovesTurnsAndZoomsAndItsNumbersAreChecked) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    SlPad* pad = SlPadGetState(0);
    pad->lx = 1.0f;
    pad->ry = 0.1f; // inside the dead zone
    pad->button[SL_PAD_LTRIGGER] = 1.0f;
    Run(cam, 0.1f, 1);
    EXPECT_NEAR(cam->targetPoint.x, 519.0f, 1e-3f);
    EXPECT_NEAR(cam->distance, 48.0f, 1e-4f);
    EXPECT_FLOAT_EQ(cam->pitch, kQuarterPi);
    pad->lx = std::numeric_limits<float>::quiet_NaN();
    pad->rx = std::numeric_limits<float>::infinity();
    pad->button[SL_PAD_LTRIGGER] = 0.0f;
    Run(cam, 0.1f, 1);
    EXPECT_NEAR(cam->targetPoint.x, 519.0f, 1e-3f) << "a broken axis counts as centred";
    EXPECT_EQ(cam->yaw, 0.0f);
    for (float v : {cam->pos.x, cam->pos.y, cam->pos.z})
        EXPECT_TRUE(std::isfinite(v));
}

// ---- fly-to and view ----

TEST_F(CameraVantorTest, FlyToMovesTheTargetAndResetsTheViewOnlyFromYawAboveMinusOne) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    cam->yaw = 2.0f;
    cam->distance = 70.0f;
    const VECTOR3 spot = {450.0f, 3.0f, 600.0f};
    for (float yaw : {-1.0f, -2.0f}) {
        CameraVantorFlyTo(cam, &spot, yaw, 0.5f, 10.0f);
        EXPECT_EQ(cam->targetPoint.z, 600.0f);
        EXPECT_EQ(cam->yaw, 2.0f) << "yaw " << yaw << " asks for the target only";
        EXPECT_EQ(cam->distance, 70.0f);
    }
    CameraVantorFlyTo(nullptr, &spot, 0.0f, 0.5f, 10.0f); // no camera: nothing to do

    const VECTOR3 far = {9000.0f, 7.0f, -50.0f};
    auto* thing = Make<Ent3dBase>("Probe", world, "Thing");
    thing->pos = far;
    CameraVantorFocusEnt(root, thing);
    EXPECT_EQ(cam->yaw, 0.0f);
    EXPECT_FLOAT_EQ(cam->pitch, kQuarterPi);
    EXPECT_EQ(cam->distance, 40.0f);
    Run(cam, 0.016f, 1);
    EXPECT_EQ(cam->targetPoint.x, 640.0f) << "a target outside the grid is pulled back";
    EXPECT_EQ(cam->targetPoint.z, 384.0f);
    EXPECT_EQ(cam->targetPoint.y, 7.0f) << "height is never clamped";

    const VECTOR3 nan = {std::nanf(""), 0.0f, 0.0f};
    CameraVantorFlyTo(cam, &nan, 0.0f, 0.5f, 10.0f);
    EXPECT_EQ(cam->targetPoint.x, 640.0f) << "a target that is not a number is refused";
}

TEST_F(CameraVantorTest, FocusDoesNothingWithoutACameraOrOnceTheClassIsShutDown) {
    CameraVantor1* cam = AddCamera();
    auto* thing = Make<Ent3dBase>("Probe", world, "Thing");
    thing->pos = VECTOR3{500.0f, 0.0f, 500.0f};
    EntDestroyTree(cam);
    CameraVantorFocusEnt(root, thing); // no camera in the tree: must not crash

    EntDestroyTree(root);
    EntSystemShutdown(); // the camera's class shuts down and takes its hook back
    RegisterWorldTestClasses();
    // The same entity type made through another class procedure: a hook left behind would still
    // write into it.
    ASSERT_EQ(EntCreateClass(StandInProc, 0, 0), 0);
    root = Make("EntNull", nullptr, "Root");
    world = Make("EntNull", root, "World");
    auto* standIn = Make<CameraVantor1>("StandInVantor", world, "Camera2");
    ASSERT_NE(standIn, nullptr);
    thing = Make<Ent3dBase>("Probe", world, "Thing");
    thing->pos = VECTOR3{500.0f, 0.0f, 500.0f};
    CameraVantorFocusEnt(root, thing);
    EXPECT_EQ(standIn->targetPoint.x, 0.0f) << "focusing used the hook of a class shut down";
}

TEST_F(CameraVantorTest, GetCameraGivesTheFixedFovTheInverseAndAPickRayThroughTheTarget) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    cam->fov = 0.3f;
    Send(cam, SL_MOUSE2DOWN);
    Send(cam, SL_MOUSEMOVE, 70, 20);
    Run(cam, 0.016f, 100);
    CameraDesc desc{};
    ASSERT_EQ(cam->GetCamera(&desc), 1);
    EXPECT_EQ(desc.valid, 1);
    EXPECT_FLOAT_EQ(desc.fov, 1.04718f) << "the view's fov is fixed whatever the table holds";
    EXPECT_EQ(desc.eye.x, cam->pos.x);
    Mat4 product;
    Mat4Mul(&cam->cameraMatrix, &desc.view, &product);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(product.m[i], (i % 5 == 0) ? 1.0f : 0.0f, 1e-4f) << "element " << i;

    VECTOR3 origin{}, dir{};
    ASSERT_EQ(PickRay(0.0f, 0.0f, &origin, &dir), 1);
    // The smoothed target lies on the ray through the centre of the screen.
    const VECTOR3& t = cam->targetSmooth.value;
    const VECTOR3 to = {t.x - origin.x, t.y - origin.y, t.z - origin.z};
    const float along = to.x * dir.x + to.y * dir.y + to.z * dir.z;
    const VECTOR3 off = {to.x - dir.x * along, to.y - dir.y * along, to.z - dir.z * along};
    EXPECT_LT(std::sqrt(off.x * off.x + off.y * off.y + off.z * off.z), 1e-3f);
}

// ---- time ----

TEST_F(CameraVantorTest, RealTimeDrivesItAndAStoppedTimerHoldsIt) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    Send(cam, SL_KEYDOWN, 32);
    AppTimer(APPTIMER_STOP);
    Run(cam, 0.1f, 10);
    EXPECT_EQ(cam->targetPoint.x, 512.0f) << "a paused game must hold the view";
    AppTimer(APPTIMER_START);
    Run(cam, 0.1f, 1);
    EXPECT_NEAR(cam->targetPoint.x, 520.0f, 1e-3f) << "the game's step (0.5) was read instead";

    Send(cam, SL_KEYUP, 32);
    Send(cam, SL_KEYDOWN, 17);
    Run(cam, 60.0f, 1); // a long stall
    EXPECT_EQ(cam->targetPoint.z, 640.0f);
    for (float v : {cam->pos.x, cam->pos.y, cam->pos.z, cam->targetSmooth.velocity.z})
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_NEAR(cam->targetSmooth.value.z, 640.0f, 1e-2f);
}

// ---- held input that never hears its release ----

TEST_F(CameraVantorTest, NoInputLeavesTheViewAndAPointerOutsideDoesNotScroll) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    Run(cam, 0.016f, 300);
    EXPECT_EQ(cam->targetPoint.x, 512.0f) << "the view drifted with no input at all";
    EXPECT_EQ(cam->targetPoint.z, 512.0f);

    host.inside = false;
    Cursor(cam, 0.0f, 0.0f); // the last position as the pointer left at the corner
    Run(cam, 0.1f, 5);
    EXPECT_EQ(cam->targetPoint.x, 512.0f) << "the view scrolled while the user works elsewhere";
    host.inside = true;
    Run(cam, 0.1f, 1);
    EXPECT_LT(cam->targetPoint.x, 512.0f);
}

TEST_F(CameraVantorTest, HeldKeysAndButtonsAreLetGoWhenTheCameraStopsHearingInput) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    Send(cam, SL_KEYDOWN, 17);
    Send(cam, SL_MOUSE1DOWN);
    Run(cam, 0.1f, 1);
    EXPECT_EQ(host.locked, 1);
    host.hears = false; // another keyboard entity, or the window lost the focus
    Run(cam, 0.1f, 1);
    const float z = cam->targetPoint.z;
    Run(cam, 0.1f, 3);
    EXPECT_EQ(cam->targetPoint.z, z) << "W's release went elsewhere and the view kept moving";
    EXPECT_EQ(host.locked, 0) << "the cursor stayed locked in a drag nobody can end";
}

TEST_F(CameraVantorTest, ACameraDestroyedInADragLetsTheCursorGo) {
    CameraVantor1* cam = AddCamera();
    Send(cam, SL_MOUSE2DOWN);
    Run(cam, 0.016f, 1);
    ASSERT_EQ(host.locked, 1);
    EntDestroyTree(cam); // leaving the game clears the scene mid-drag
    EXPECT_EQ(host.locked, 0) << "no camera is left to release the held cursor";
}

// ---- bad values ----

TEST_F(CameraVantorTest, CrossedLimitsEndAtTheUpperBoundAndAnOverlappingZoneIsClamped) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    cam->minPitch = 1.2f;
    cam->maxPitch = 0.6f;
    cam->minZoom = 50.0f;
    cam->maxZoom = 10.0f;
    for (int i = 0; i < 3; ++i) {
        Run(cam, 0.016f, 1);
        EXPECT_EQ(cam->pitch, 0.6f);
        EXPECT_EQ(cam->distance, 10.0f);
    }

    cam->scrollZonePct = 0.0f;
    Cursor(cam, 0.0f, 384.0f);
    Run(cam, 0.1f, 1);
    EXPECT_EQ(cam->targetPoint.x, 512.0f) << "zone 0 has no edge";

    LogCapture log;
    cam->scrollZonePct = 0.7f;
    Cursor(cam, 512.0f, 384.0f); // the centre: inside both overlapping zones
    Run(cam, 0.1f, 3);
    EXPECT_NE(log.Text().find("scrollZonePct"), std::string::npos);
    EXPECT_EQ(cam->targetPoint.x, 512.0f) << "the zones were not cut back to 0.49";

    // Just under half, the zones still leave a gap between them: the value is kept as it is.
    LogCapture kept;
    cam->scrollZonePct = 0.495f;
    Cursor(cam, 520.0f, 384.0f); // beyond 1024 x 0.505, short of 1024 x 0.51
    Run(cam, 0.1f, 1);
    EXPECT_NEAR(cam->targetPoint.x, 532.0f, 1e-3f) << "a zone that overlaps nothing was cut back";
    EXPECT_EQ(kept.Text().find("scrollZonePct"), std::string::npos);
}

TEST_F(CameraVantorTest, RatesThatAreNotNumbersNeverReachTheView) {
    AddGrid(VECTOR3{384.0f, 0.0f, 384.0f});
    CameraVantor1* cam = AddCamera();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    cam->trackRate = cam->yawRate = cam->tiltRate = cam->zoomRate = nan;
    cam->scrollZonePct = nan;
    LogCapture log;
    Send(cam, SL_MOUSE1DOWN);
    Send(cam, SL_MOUSEMOVE, 5, 5);
    Send(cam, SL_MOUSEWHEEL, 120);
    Run(cam, 0.016f, 1);
    Send(cam, SL_MOUSE1UP);
    Send(cam, SL_MOUSE2DOWN);
    Send(cam, SL_MOUSEMOVE, 5, 5);
    Run(cam, 0.016f, 1);
    Send(cam, SL_MOUSE2UP);
    Cursor(cam, 0.0f, 0.0f);
    Run(cam, 0.016f, 3);
    EXPECT_EQ(cam->targetPoint.x, 512.0f);
    for (float v : {cam->pos.x, cam->pos.y, cam->pos.z, cam->yaw, cam->pitch, cam->distance})
        EXPECT_TRUE(std::isfinite(v)) << "a NaN reached the view";
    EXPECT_EQ(log.Text().find("scrollZonePct"), std::string::npos) << "no line every frame";
}

TEST_F(CameraVantorTest, AGridWithoutColumnsHoldsTheTargetOnItsEdge) {
    GameGrid* grid = Make<GameGrid>("GameGrid", world, "GameGrid");
    grid->pos = VECTOR3{100.0f, 0.0f, 200.0f};
    grid->gridCols = 0;
    grid->Start();
    CameraVantor1* cam = AddCamera();
    EXPECT_EQ(cam->minX, cam->maxX);
    Send(cam, SL_KEYDOWN, 32);
    Run(cam, 0.1f, 5);
    EXPECT_EQ(cam->targetPoint.x, cam->minX);
}

} // namespace
