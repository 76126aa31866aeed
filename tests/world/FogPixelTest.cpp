// The environment's fog on OpenGL (llvmpipe through EGL, offscreen), read back: a grey quad
// halfway between the fog's start and end shows the even mix of grey and the fog colour, and
// the underwater colour once the eye is below the water height.
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/EntViewport.h"
#include "world/Environment.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kW = 64, kH = 48;

class FogPixels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        CreateOffscreen(kW, kH);
        CreateCurrentPair();
        RegisterWorldTestClasses();
        root = Make("EntNull", nullptr, "Root");
        viewports = Make("EntNull", root, "Viewport");
        world = Make("EntNull", root, "World");
        env = Make<Environment>("Environment", world, "Environment");
        env->fogStart = 100.0f;
        env->fogEnd = 300.0f;
        env->fogClr[0] = 1.0f;
        env->fogClr[1] = env->fogClr[2] = 0.0f;
        env->uwFogStart = 100.0f;
        env->uwFogEnd = 300.0f;
        env->uwFogClr[2] = 1.0f;
        env->uwFogClr[0] = env->uwFogClr[1] = 0.0f;
        env->uwFogElv = 10.0f;
        viewport = Make<EntViewport>("Viewport", viewports, "Main");
        viewport->SetVoid("entDrawRoot", (intptr_t)world);
        viewport->clear = 1;
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        KernelTest::TearDown();
    }
    // The centre pixel of a frame seen from height y, a grey quad 200 ahead.
    uint32_t Frame(float y) {
        TestCamera* cam = MakeCamera(world, "Cam", VECTOR3{0, y, 0}, VECTOR3{0, y, 1}, 1.0f);
        viewport->SetVoid("entCamera", (intptr_t)cam);
        EXPECT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(viewports); // the environment sets ambient and fog in its walk
        Mat4 identity;
        I3dSetWorld(Mat4Identity(&identity));
        D3dSetLighting(0);
        D3dSetCullMode(D3DCULL_NONE);
        D3dSetFactorStages();
        D3dSetTextureFactor(0xFF808080u);
        I3dDrawQuad(-1000.0f, -1000.0f, 1000.0f, 1000.0f, 200.0f);
        D3dEndScene();
        const uint32_t px = D3dReadPixel(kW / 2, kH / 2);
        EntDestroyTree(cam);
        return px;
    }
    static void ExpectNear(uint32_t px, int r, int g, int b) {
        EXPECT_LE(std::abs(int((px >> 16) & 0xFF) - r), 2) << std::hex << px;
        EXPECT_LE(std::abs(int((px >> 8) & 0xFF) - g), 2) << std::hex << px;
        EXPECT_LE(std::abs(int(px & 0xFF) - b), 2) << std::hex << px;
    }

    ENTBASE *root = nullptr, *viewports = nullptr, *world = nullptr;
    Environment* env = nullptr;
    EntViewport* viewport = nullptr;
};

TEST_F(FogPixels, HalfwayIsTheEvenMixAndBelowWaterTakesTheUnderwaterColour) {
    // Grey 128 and fog 255 or 0, half each.
    ExpectNear(Frame(50.0f), 191, 64, 64);
    ExpectNear(Frame(5.0f), 64, 64, 191);
}

// Fog the wrong way round, a negative end and a colour that is not a number reach GL as given
// (the colour clamped), with no GL error.
TEST_F(FogPixels, BadFogValuesDrawWithoutAGlError) {
    env->fogStart = 500.0f;
    env->fogEnd = -20.0f;
    env->fogClr[1] = std::nanf("");
    Frame(50.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(D3dGetRenderState(D3DRS_FOGCOLOR) & 0xFF00u, 0u) << "NaN green counts as 0";
}

} // namespace
