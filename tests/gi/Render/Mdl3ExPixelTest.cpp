// Extended models end to end on OpenGL (llvmpipe through EGL, offscreen): a viewport with a test
// camera walks a world in which an entity draws a tool-made light post (textured post, lamp
// head with an Emit map, two blinking lights) and the "Particles" entity then draws the glows.
#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "tests/gi/Render/Mdl3ExFixture.h"
#include "tests/support/PixelChannels.h"
#include "tests/world/WorldTestClasses.h"
#include "world/EntViewport.h"
#include "world/Particles/ParticleSys.h"

#include <GL/gl.h>

namespace {

constexpr int kW = 128, kH = 96;

// Red and blue stripes on the post; a dark lamp head whose Emit map is green; the lights left
// and right of the head, blinking on alternate bits.
const char* const kPost = R"(
model LightPost
texture Post stripes 16 255 0 0 0 0 255
texture Lamp solid 8 40 40 40
texture LampEmit solid 8 0 200 0
material Metal map Post
material Glass map Lamp
node Root
node Post parent Root box 1 4 1 material Metal
node Head parent Root translate 0 2.5 0 box 1.5 1 1.5 material Glass
node Attach00 parent Root translate 0 3 0
)";
const char* const kPostInfo = "[ModelInfo]\nnumPointLights=2\n"
                              "[PointLights0000]\npos.x=-2.5\npos.y=2.5\nradius=1.5\n"
                              "flashMask=0xaaaaaaaa\n"
                              "[PointLights0001]\npos.x=2.5\npos.y=2.5\nradius=1.5\n"
                              "flashMask=0x55555555\n";

// Draws its model at its world matrix in the first walk, before the particles are drawn.
class ExModelDrawer : public Probe {
  public:
    int CopyClassName(char* buffer) override { return WorldCopyClassName("ExModelDrawer", buffer); }
    const char* GetTypeName() override { return "ExModelDrawer"; }
    int DrawPre() override {
        I3dSetWorld(&world);
        Mdl3ExDraw(model);
        return 1;
    }
    Mdl3ExModel* model = nullptr;
    Mat4 world = kIdentity;
};

PropDb* DrawerDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "ExModelDrawer");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(ExModelDrawer, name), 32);
    }
    return &s_db;
}
ENTBASE* MakeDrawer() {
    return new ExModelDrawer;
}
const WorldClassDef kDrawer = {"ExModelDrawer", DrawerDb, MakeDrawer, nullptr};
intptr_t DrawerProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kDrawer, node, message, a, b, c);
}

class Mdl3ExPixels : public Mdl3ExTest {
  protected:
    void SetUp() override {
        Mdl3ExTest::SetUp();
        StartGl();
        CreateOffscreen(kW, kH);
        ASSERT_EQ(I3dTexTableAlloc(32), 0);
        D3dSetAmbient(0, 0, 0);
        const int light = I3dLightAlloc();
        I3dLightSetType(light, 3);
        I3dLightSetDirection(light, 0, 0, 1); // from the camera's side
        RegisterWorldTestClasses();
        EntCreateClass(DrawerProc, 0, 0);
        root = Make("EntNull", nullptr, "Root");
        ENTBASE* viewports = Make("EntNull", root, "Viewports");
        world = Make("EntNull", root, "World");
        view = Make<EntViewport>("Viewport", viewports, "Main");
        view->SetVoid("entDrawRoot", (intptr_t)world);
        view->clear = 1;
        view->SetColor3("color", 0, 0, 0);
        post = Make<ExModelDrawer>("ExModelDrawer", world, "Post");
        Make("Particles", world, "");
        post->model = Load(Scene(kPost, kPostInfo));
        ASSERT_NE(post->model, nullptr);
        // The generated atlas: glows use its cell 0, a white disc fading out.
        ASSERT_GE(Mdl3ExParticles()->LoadTexture(FAIRLARK_BUILD_DATA_DIR "Particles"), 0)
            << "Particles.tga is generated into the build's Data/";
        Camera({0, 2.5f, -10}, 1.0f);
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the drawing left a GL error";
        EntDestroyTree(root);
        EntSystemShutdown();
        Mdl3ExTest::TearDown();
        I3dTexTableFree();
    }
    void Camera(VECTOR3 eye, float fov) {
        TestCamera* cam = MakeCamera(world, "Cam", eye, VECTOR3{0, eye.y, 0}, fov);
        view->SetVoid("entCamera", (intptr_t)cam);
        m_eye = eye;
        m_fov = fov;
    }
    void Frame() {
        ASSERT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(view);
        D3dEndScene();
    }
    // The pixel a model-space point shows at (the model at the origin).
    uint32_t At(VECTOR3 p) {
        Mat4 view, proj;
        const VECTOR3 at = {0, m_eye.y, 0}, up = {0, 1, 0};
        I3dSetView(Mat4LookAt(&view, &m_eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, m_fov, I3dGetInvAspect(), 0.1f, 2000.0f));
        I3dSetWorld(&kIdentity);
        float s[3];
        I3dProjectPoint(&p, s);
        const int x = int((s[0] + 1) * 0.5f * kW), y = int((1 - s[1]) * 0.5f * kH);
        return D3dReadPixel(x, y) & 0xFFFFFF;
    }

    ENTBASE *root = nullptr, *world = nullptr;
    EntViewport* view = nullptr;
    ExModelDrawer* post = nullptr;
    VECTOR3 m_eye{};
    float m_fov = 1.0f;
};

TEST_F(Mdl3ExPixels, ThePostShowsItsTextureUnderTheLight) {
    post->model->flashBits = 0;
    Frame();
    int red = 0, blue = 0;
    for (float x = -0.45f; x <= 0.45f; x += 0.05f) {
        const uint32_t c = At({x, 1.0f, -0.5f});
        red += Red(c) > 100 && Blue(c) < 50;
        blue += Blue(c) > 100 && Red(c) < 50;
    }
    EXPECT_GT(red, 0) << "the red stripes of the post's texture";
    EXPECT_GT(blue, 0) << "the blue stripes of the post's texture";
    EXPECT_EQ(At({-2.5f, 2.5f, 0}), 0u) << "no glow with no flash bits";
}

TEST_F(Mdl3ExPixels, TheFlashBitsLightOneGlowOrTheOther) {
    post->model->flashBits = 2;
    Frame();
    const uint32_t left = At({-2.5f, 2.5f, 0}), right = At({2.5f, 2.5f, 0});
    EXPECT_GT(Green(left), 100) << "0xaaaaaaaa shares bit 2: light 0 glows";
    EXPECT_EQ(right, 0u) << "0x55555555 does not";
    post->model->flashBits = 1;
    Frame();
    EXPECT_EQ(At({-2.5f, 2.5f, 0}), 0u);
    EXPECT_GT(Green(At({2.5f, 2.5f, 0})), 100) << "bit 1 lights light 1";
}

TEST_F(Mdl3ExPixels, TheEmitMapBrightensTheLampHead) {
    post->model->flashBits = 0;
    post->model->emissiveOn = 0;
    Frame();
    const uint32_t plain = At({0, 2.5f, -0.75f});
    post->model->emissiveOn = 1;
    Frame();
    const uint32_t lit = At({0, 2.5f, -0.75f});
    EXPECT_GE(Green(lit), Green(plain) + 150) << "the Emit map adds its green to the lit lamp";
    EXPECT_NEAR(Red(lit), Red(plain), 2) << "and nothing else";
}

TEST_F(Mdl3ExPixels, AtTheFadeBandsMiddleThePostBlendsHalfwayAndBeyondItIsGone) {
    view->SetColor3("color", 0, 0.5f, 0);
    post->model->flashBits = 0;
    post->model->mdl->nodes[0].maxDist = 100.0f;
    post->model->mdl->nodes[0].fadeRange = 10.0f;
    const VECTOR3 p = {0.25f, 1.0f, -0.5f};
    Camera({0, 2.5f, -89.0f}, 0.1f);
    Frame();
    const uint32_t full = At(p), clear = 0x007F00u;
    ASSERT_NE(full, clear) << "the post is drawn in full inside the limit less the band";
    Camera({0, 2.5f, -95.0f}, 0.1f);
    Frame();
    const uint32_t half = At(p);
    EXPECT_NEAR(Red(half), (Red(full) + Red(clear)) / 2, 10) << std::hex << half;
    EXPECT_NEAR(Green(half), (Green(full) + Green(clear)) / 2, 10) << std::hex << half;
    EXPECT_NEAR(Blue(half), (Blue(full) + Blue(clear)) / 2, 10) << std::hex << half;
    Camera({0, 2.5f, -101.0f}, 0.1f);
    Frame();
    EXPECT_EQ(At(p), clear) << "beyond the limit only the clear colour shows";
}

} // namespace
