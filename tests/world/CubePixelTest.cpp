// The block on OpenGL (llvmpipe through EGL, offscreen), seen from straight above through a
// placed camera under white ambient light: the gaps between sub-cubes and a dropped layer show
// the clear colour.
#include "I3d/Camera.h"
#include "I3d/Frustum.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "tests/support/PixelChannels.h"
#include "tests/world/CubeFixture.h"
#include "world/EntClear.h"
#include "world/EntViewport.h"

#include <GL/gl.h>

#include <cmath>

namespace {

constexpr int kSide = 256;

class CubePixels : public CubeTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        CreateOffscreen(kSide, kSide);
        ASSERT_EQ(I3dTexTableAlloc(32), 0);
        CreateCurrentPair();
        D3dSetAmbient(1, 1, 1);
        RegisterClasses(); // after the device: the classes make their meshes
        RegisterCube();
        ASSERT_EQ(EntCreateClass(EcClearProc, 0, 0), 0);
        CrtSrand(1);
        ENTBASE* viewports = Make("EntNull", root, "Viewports");
        view = Make<EntViewport>("Viewport", viewports, "Main");
        view->SetVoid("entDrawRoot", (intptr_t)world);
        view->clear = 1;
        view->SetColor3("color", 0, 0, 0);
        // Two sub-cubes of 20 a side: the cube spans 0..40 on each axis.
        cube = Cube(2, 2, 2, 20.0f, {0, 0, 0});
        auto* cam = Make<CameraFixed>("CameraFixed", world, "Above");
        cam->pos = VECTOR3{20.0f, 120.0f, 20.0f};
        cam->SetPitch(1.5707963f);
        cam->fov = 0.5f;
        cam->Start();
        view->SetVoid("entCamera", (intptr_t)cam);
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the drawing left a GL error";
        CubeTest::TearDown();
        I3dTexTableFree();
    }
    void Frame() {
        ASSERT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(view);
        D3dEndScene();
    }
    static uint32_t At(float x, float y, float z) {
        Mat4 identity;
        I3dSetWorld(Mat4Identity(&identity));
        const VECTOR3 p = {x, y, z};
        float s[3];
        I3dProjectPoint(&p, s);
        const int px = int(std::lround((s[0] + 1) * 0.5f * kSide));
        const int py = int(std::lround((1 - s[1]) * 0.5f * kSide));
        return D3dReadPixel(px, py);
    }
    static bool Clear(uint32_t c) { return Red(c) + Green(c) + Blue(c) == 0; }

    EntViewport* view = nullptr;
    Cube1* cube = nullptr;
};

TEST_F(CubePixels, TheGapsBetweenSubCubesShowTheClearColour) {
    Frame();
    const uint32_t top = At(10.0f, 40.0f, 10.0f);
    EXPECT_FALSE(Clear(top)) << "the sub-cube (0, 1, 0) stands there";
    EXPECT_TRUE(Clear(At(20.0f, 40.0f, 10.0f))) << "the gap at x 20 runs down to nothing";
    EXPECT_TRUE(Clear(At(10.0f, 40.0f, 20.0f))) << "the gap at z 20";
    EXPECT_FALSE(Clear(At(30.0f, 20.0f, 10.0f))) << "under the hole (1, 1, 0) lies (1, 0, 0)";
    EXPECT_TRUE(Clear(At(45.0f, 0.0f, 10.0f))) << "beside the cube";
}

TEST_F(CubePixels, ADroppedLayerShowsTheClearColour) {
    Cube1DropLayer(cube);
    EXPECT_EQ(cube->cells->extY, 1);
    Frame();
    EXPECT_TRUE(Clear(At(30.0f, 20.0f, 10.0f)))
        << "(1, 0, 0) went with the bottom layer and the hole above it came down";
    EXPECT_FALSE(Clear(At(10.0f, 20.0f, 10.0f))) << "(0, 1, 0) came down to the ground";
}

TEST_F(CubePixels, AClearAfterTheCubeWipesItOnlyWhileItsClassDraws) {
    auto* wipe = Make<EntClear>("Clear", world, "Wipe");
    EXPECT_EQ(wipe->color[0], 1.0f);
    wipe->color[1] = 0.0f; // magenta
    wipe->color[3] = 0.0f; // the alpha entry is not drawn: the clear is opaque
    Frame();
    EXPECT_EQ(At(10.0f, 40.0f, 10.0f) | 0xFF000000u, 0xFFFF00FFu);
    EXPECT_EQ(At(45.0f, 0.0f, 10.0f), 0xFFFF00FFu) << "the whole target, alpha 255";
    wipe->SetClassFlags(wipe->GetClassFlags() & ~0x2u);
    Frame();
    EXPECT_FALSE(Clear(At(10.0f, 40.0f, 10.0f))) << "the cube shows again";
    EXPECT_TRUE(Clear(At(45.0f, 0.0f, 10.0f)));
    wipe->SetClassFlags(0x1F);
}

} // namespace
