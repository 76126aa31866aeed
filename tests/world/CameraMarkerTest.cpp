// The editor's markers of placed cameras and path points on the recording device: the two
// crossed arrows, the target sphere and the path ribbon, only while the class's debug bit is
// set.
#include "I3d/Primitives.h"
#include "tests/world/CamerasFixture.h"

namespace {

class CameraMarkerTest : public CamerasTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        CreateCurrentPair();
        ASSERT_EQ(I3dPrimMeshesCreate(), 0);
        RegisterClasses();
    }
    void TearDown() override {
        I3dPrimMeshesRelease();
        CamerasTest::TearDown();
    }
    // Indexed triangle-list draws of `triangles` triangles.
    int MeshDraws(uint64_t triangles) {
        int n = 0;
        for (const D3dCall& c : Log().Named("DrawIndexedPrimitive"))
            n += c.args[0] == D3DPT_TRIANGLELIST && c.args[4] == triangles;
        return n;
    }
    int Ribbons() {
        int n = 0;
        for (const D3dCall& c : Log().Named("DrawPrimitive"))
            n += c.args[0] == D3DPT_TRIANGLELIST && c.args[2] == 20;
        return n;
    }
};

TEST_F(CameraMarkerTest, APlacedCameraShowsTwoTranslucentGreenArrowsWhileTheBitIsSet) {
    auto* cam = Make<CameraFixed>("CameraFixed", world, "Fixed");
    cam->Start();
    cam->SetClassFlags(0x1F & ~0x4u);
    Log().Clear();
    EXPECT_EQ(cam->Draw(), 1);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0) << "no marker without the debug bit";

    cam->SetClassFlags(0x1F);
    Log().Clear();
    EXPECT_EQ(cam->Draw(), 1);
    EXPECT_EQ(MeshDraws(3), 2) << "the arrow and the same arrow rolled";
    EXPECT_EQ(Log().Count("SetRenderState", {D3DRS_TEXTUREFACTOR, 0x3F00FF00}), 1);
    EXPECT_EQ(Log().Count("SetRenderState", {D3DRS_ZWRITEENABLE, 0}), 1);
}

TEST_F(CameraMarkerTest, APathPointAddsItsTargetSphereAndTheRibbonToTheNextPoint) {
    CameraWaypoint* pts[4];
    const char* names[4] = {"A", "B", "C", "D"};
    for (int i = 0; i < 4; ++i) {
        pts[i] = Make<CameraWaypoint>("CameraWaypoint", world, names[i]);
        pts[i]->pos = VECTOR3{10.0f * i, 0.0f, 0.0f};
        if (i < 3) pts[i]->SetString("next", names[i + 1]);
        if (i > 0) pts[i]->SetString("prev", names[i - 1]);
    }
    for (CameraWaypoint* p : pts)
        p->Start();
    pts[1]->SetClassFlags(0x1F);
    Log().Clear();
    EXPECT_EQ(pts[1]->Draw(), 1);
    EXPECT_EQ(MeshDraws(3), 2);
    EXPECT_EQ(MeshDraws(224), 1) << "the shared sphere at the target";
    EXPECT_EQ(Ribbons(), 1);
    EXPECT_EQ(Log().Count("SetRenderState", {D3DRS_CULLMODE, D3DCULL_NONE}), 1);

    Log().Clear();
    pts[2]->Draw(); // no next-but-one: no ribbon
    EXPECT_EQ(Ribbons(), 0);
    EXPECT_EQ(MeshDraws(224), 1);
}

} // namespace
