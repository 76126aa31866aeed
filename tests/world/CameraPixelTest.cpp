// The placed camera and a path point as a viewport's camera on OpenGL (llvmpipe through EGL,
// offscreen): a red wall straight ahead covers the screen's centre, and after a half turn it
// does not.
#include "I3d/Camera.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "tests/support/PixelChannels.h"
#include "tests/world/CamerasFixture.h"
#include "world/EntViewport.h"

#include <GL/gl.h>

namespace {

constexpr int kW = 96, kH = 72;

// Class "RedWall": a red 10 x 10 quad centred on (10, 5, 30), facing -z, drawn flat.
class RedWall : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override { return WorldCopyClassName("RedWall", buffer); }
    int DrawPre() override {
        Mat4 identity;
        I3dSetWorld(Mat4Identity(&identity));
        D3dSetZEnable(1);
        D3dSetZFunc(D3DCMP_LESSEQUAL);
        D3dSetZWrite(1);
        D3dSetLighting(0);
        D3dSetFogEnable(0);
        D3dSetAlphaBlend(0);
        D3dSetAlphaTest(0);
        D3dSetCullMode(D3DCULL_NONE);
        D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
        D3dSetFactorStages();
        D3dSetTextureFactor(0xFFFF0000);
        I3dDrawQuad(5.0f, 0.0f, 15.0f, 10.0f, 30.0f);
        return 1;
    }
};
intptr_t RedWallProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    static const WorldClassDef kDef = {"RedWall", nullptr, WorldMake<RedWall>, nullptr};
    return WorldClassProc(kDef, n, m, a, b, c);
}

class CameraPixels : public CamerasTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        CreateOffscreen(kW, kH);
        ASSERT_EQ(I3dTexTableAlloc(32), 0);
        CreateCurrentPair();
        RegisterClasses();
        ASSERT_EQ(EntCreateClass(RedWallProc, 0, 0), 0);
        ENTBASE* viewports = Make("EntNull", root, "Viewports");
        view = Make<EntViewport>("Viewport", viewports, "Main");
        view->SetVoid("entDrawRoot", (intptr_t)world);
        view->clear = 1;
        view->SetColor3("color", 0, 0, 0);
        Make("RedWall", world, "Wall");
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the drawing left a GL error";
        CamerasTest::TearDown();
        I3dTexTableFree();
    }
    // Whether the screen's centre shows the wall through `camera`.
    bool CentreIsRed(ENTBASE* camera) {
        view->SetVoid("entCamera", (intptr_t)camera);
        EXPECT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(view);
        D3dEndScene();
        const uint32_t c = D3dReadPixel(kW / 2, kH / 2);
        return Red(c) > 200 && Green(c) < 40 && Blue(c) < 40;
    }

    EntViewport* view = nullptr;
};

TEST_F(CameraPixels, AFixedCameraSeesTheWallAheadAndNotAfterAHalfTurn) {
    auto* cam = Make<CameraFixed>("CameraFixed", world, "Fixed");
    cam->SetFloat("pos.x", 10.0f);
    cam->SetFloat("pos.y", 5.0f);
    cam->Start();
    EXPECT_TRUE(CentreIsRed(cam));
    cam->SetYaw(3.14159265f);
    cam->VarsChanged();
    EXPECT_FALSE(CentreIsRed(cam));
}

TEST_F(CameraPixels, APathPointIsACameraToo) {
    auto* wp = Make<CameraWaypoint>("CameraWaypoint", world, "Point");
    wp->SetFloat("x", 10.0f);
    wp->SetFloat("y", 5.0f);
    wp->Start();
    EXPECT_TRUE(CentreIsRed(wp)) << "the point gave no view: the viewport drew nothing";
    wp->SetYaw(3.14159265f);
    EXPECT_FALSE(CentreIsRed(wp));
}

} // namespace
