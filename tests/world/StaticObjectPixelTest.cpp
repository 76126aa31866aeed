// Static objects and articulated models on OpenGL (llvmpipe through EGL, offscreen): a red box
// where the camera projects it and where the terrain lifts it, an arm turned by its rate, and
// the lights of a two-light model at night and not at noon, through a viewport and a test
// camera.
#include "I3d/Camera.h"
#include "I3d/Lights.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "tests/support/PixelChannels.h"
#include "tests/world/StaticObjectFixture.h"
#include "world/EntViewport.h"
#include "world/Particles/ParticleSys.h"

#include <GL/gl.h>

#include <cmath>

namespace {

constexpr int kW = 160, kH = 120;

class StaticObjectPixels : public StaticObjectTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        CreateOffscreen(kW, kH);
        ASSERT_EQ(I3dTexTableAlloc(32), 0);
        D3dSetAmbient(0, 0, 0);
        const int light = I3dLightAlloc();
        I3dLightSetType(light, 3);
        I3dLightSetDirection(light, 0, 0, 1); // from the camera's side
        RegisterWorldTestClasses();
        const std::string from = m_files / "Startup.lua";
        EntCreateClass(EcStaticObjectProc, reinterpret_cast<intptr_t>(from.c_str()), 0);
        EntCreateClass(EcArticuModelProc, reinterpret_cast<intptr_t>(from.c_str()), 0);
        EntCreateClass(DayClockProc, 0, 0);
        EntCreateClass(TestGroundProc, 0, 0);
        CrtSrand(7);
        root = Make("EntNull", nullptr, "Root");
        ENTBASE* viewports = Make("EntNull", root, "Viewports");
        world = Make("EntNull", root, "World");
        view = Make<EntViewport>("Viewport", viewports, "Main");
        view->SetVoid("entDrawRoot", (intptr_t)world);
        view->clear = 1;
        view->SetColor3("color", 0, 0, 0);
        const VECTOR3 eye = {0, 5, -20}, at = {0, 5, 0};
        TestCamera* cam = MakeCamera(world, "Cam", eye, at, 1.0f);
        view->SetVoid("entCamera", (intptr_t)cam);
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the drawing left a GL error";
        EntDestroyTree(root);
        root = nullptr;
        EntSystemShutdown();
        if (Mdl3ExParticles()) Mdl3ExParticles()->count = 0;
        KernelTest::TearDown();
        I3dTexTableFree();
    }
    void Frame() {
        ASSERT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(view);
        D3dEndScene();
    }
    // The screen pixel of a world point under the frame's view and projection.
    static void Project(VECTOR3 p, int* x, int* y) {
        Mat4 identity;
        I3dSetWorld(Mat4Identity(&identity));
        float s[3];
        I3dProjectPoint(&p, s);
        *x = int(std::lround((s[0] + 1) * 0.5f * kW));
        *y = int(std::lround((1 - s[1]) * 0.5f * kH));
    }
    // Whether the point's pixel or one beside it is mostly red.
    static bool RedNear(VECTOR3 p) {
        int x, y;
        Project(p, &x, &y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const uint32_t c = D3dReadPixel(x + dx, y + dy);
                if (Red(c) > 150 && Green(c) < 60 && Blue(c) < 60) return true;
            }
        return false;
    }

    EntViewport* view = nullptr;
};

TEST_F(StaticObjectPixels, TheRedBoxShowsWhereItIsProjectedAndTheTerrainLiftsIt) {
    auto* box = Object(Model(kRedBox), {0, 5, 0}, true);
    ASSERT_NE(box->instance, nullptr);
    Frame();
    EXPECT_TRUE(RedNear({0, 5, -1})) << "the box's near face at its place";
    EXPECT_FALSE(RedNear({0, 15, -1})) << "nothing above it yet";

    auto* ground = Make<TestGround>("TestGround", world, "Terrain");
    ground->level = 10.0f;
    box->VarsChanged();
    Frame();
    EXPECT_TRUE(RedNear({0, 15, -1})) << "on a 10-unit terrain the box stands 10 higher";
    EXPECT_FALSE(RedNear({0, 5, -1}));
}

TEST_F(StaticObjectPixels, TheArmShowsItsTipWhereItsRateTurnedIt) {
    const std::string file = Model(kArm);
    auto* arm = Make<ArticuModel>("ArticuModel", world, "Arm");
    arm->SetString("modelFile", file.c_str());
    arm->SetString("node0Name", "Arm");
    arm->SetInt("node0Axis", 2);
    arm->SetFloat("node0Rate", 1.0f);
    arm->SetString("material0Name", "nothing");
    arm->SetFloat("y", 4.0f);
    arm->Start();
    ASSERT_NE(arm->nodes[0].node, nullptr);
    arm->Update(0.5f);
    Frame();
    // The arm reaches 2 units either side of its centre (0, 1, 0) in the model, turned 0.5 rad
    // about z; the model stands 4 up.
    const float c = std::cos(0.5f), s = std::sin(0.5f);
    int lit = 0;
    for (float r : {1.8f, -1.8f}) {
        int x, y;
        Project({r * c, 5.0f + r * s, -0.1f}, &x, &y);
        lit += (D3dReadPixel(x, y) & 0xFFFFFF) != 0;
    }
    EXPECT_EQ(lit, 2) << "both ends of the turned arm";
    int x, y;
    Project({1.8f, 5.0f, -0.1f}, &x, &y);
    EXPECT_EQ(D3dReadPixel(x, y) & 0xFFFFFF, 0u) << "the unturned tip's place is empty";
}

TEST_F(StaticObjectPixels, TheLampsLightsGlowAtNightOnly) {
    auto* lamp = Object(Model(kLamp, kLampInfo), {0, 2, 0});
    ASSERT_NE(lamp->instance, nullptr);
    Make("Particles", world, ""); // after the lamp: it draws the glows the lamp left
    ASSERT_GE(Mdl3ExParticles()->LoadTexture(FAIRLARK_BUILD_DATA_DIR "Particles"), 0)
        << "Particles.tga is generated into the build's Data/";
    DayClock* clock = Clock(0.9f);
    lamp->Start();
    Frame();
    // The second light sits one unit above the pole's top (4 up), where nothing else draws.
    int x, y;
    Project({0, 5, 0}, &x, &y);
    const uint32_t night = D3dReadPixel(x, y) & 0xFFFFFF;
    EXPECT_GT(Red(night) + Green(night) + Blue(night), 150) << "the light's glow at night";
    clock->time = 0.5f;
    Frame();
    EXPECT_EQ(D3dReadPixel(x, y) & 0xFFFFFF, 0u) << "no glow at noon";
}

} // namespace
