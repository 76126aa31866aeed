// Models drawn on OpenGL (llvmpipe through EGL, offscreen) under a perspective camera: the
// generated red box where it projects, faded over the black background inside its fade band and
// gone beyond its far limit, and an override that moves a node's child on screen.
#include "I3d/Math/Mat4Math.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/ModelFiles.h"

#include <GL/gl.h>

#include <cmath>

namespace {

constexpr int kSide = 64;
constexpr uint32_t kRed = 0xFF0000;

class Mdl3Pixels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        CreateOffscreen(kSide, kSide);
        D3dSetAmbient(0, 0, 0);
        D3dSetClearColor(0, 0, 0);
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "model drawing left a GL error";
        KernelTest::TearDown();
    }
    static void Camera(float distance, float fov) {
        VECTOR3 eye = {0, 0, -distance}, at = {0, 0, 0}, up = {0, 1, 0};
        Mat4 view, proj;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, fov, I3dGetInvAspect(), 0.5f, 1000.0f));
        I3dSetEyePos(&eye);
    }
    static void Frame(MDL3* m) {
        ASSERT_EQ(D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
        ASSERT_EQ(D3dBeginScene(), 0);
        Mdl3Draw(m, &kIdentity);
        ASSERT_EQ(D3dEndScene(), 0);
    }
    // The pixel a world point projects to (world matrix identity).
    static void Project(VECTOR3 p, float* x, float* y) {
        I3dSetWorld(&kIdentity);
        float c[3];
        I3dProjectPoint(&p, c);
        *x = (c[0] + 1) * 0.5f * kSide;
        *y = (1 - c[1]) * 0.5f * kSide;
    }
    static uint32_t At(float x, float y) { return D3dReadPixel(int(x), int(y)) & 0xFFFFFFu; }

    TempDir m_files;
};

TEST_F(Mdl3Pixels, TheGeneratedRedBoxDrawsWhereProjectedFadesAndVanishes) {
    const std::string path = std::string(FAIRLARK_BUILD_DATA_DIR) + "Samples/Models/RedBox.md3";
    MDL3* m = Mdl3Load(path.c_str(), 1);
    ASSERT_NE(m, nullptr) << "the model tool's test scene is in the build's Data/";
    ASSERT_EQ(Mdl3LoadTextures(m, path.c_str()), 0);
    ASSERT_GE(m->materials[0].diffuseSlot, 0) << "its checker map is beside it";

    Camera(10, 3.141592f / 2);
    Frame(m);
    float x, y;
    Project({1, 1, -1}, &x, &y); // the front face's top right corner
    EXPECT_EQ(At(kSide / 2, kSide / 2), kRed) << "emissive red x a red and white checker";
    EXPECT_EQ(At(x - 1.5f, y + 1.5f), kRed) << "just inside the projected corner";
    EXPECT_EQ(At(x + 1.5f, y + 1.5f), 0u) << "just right of it";
    EXPECT_EQ(At(x - 1.5f, y - 1.5f), 0u) << "just above it";

    const float maxDist = 20 * std::sqrt(12.0f), fade = 2 * std::sqrt(12.0f);
    Camera(66, 0.1f); // a narrow view keeps the far box large on screen
    Frame(m);
    const uint32_t c = At(kSide / 2, kSide / 2);
    EXPECT_NEAR(double(c >> 16), 255.0 * (maxDist - 66) / fade, 3.0) << "red over black, faded";
    EXPECT_EQ(c & 0xFFFF, 0u);
    Camera(maxDist + 1, 0.1f);
    Frame(m);
    EXPECT_EQ(At(kSide / 2, kSide / 2), 0u) << "beyond maxDist the box is gone";

    Mdl3FreeTextures(m);
    Mdl3Release(m);
}

TEST_F(Mdl3Pixels, AnOverrideTurnsTheNodeWithItsChildOnScreen) {
    MDL3* m = Mdl3Read(WriteScene(m_files, R"(
model Arm
material Red diffuse 0 0 0 1 ambient 0 0 0 1 emissive 1 0 0 1
node Root
node Arm parent Root
node Tip parent Arm translate 3 0 0 box 1 1 1 material Red
)")
                           .c_str(),
                       0);
    ASSERT_NE(m, nullptr);
    Camera(10, 3.141592f / 2);
    float rx, ry, ux, uy;
    Project({3, 0, -0.5f}, &rx, &ry);
    Project({0, 3, -0.5f}, &ux, &uy);
    Frame(m);
    EXPECT_EQ(At(rx, ry), kRed);
    EXPECT_EQ(At(ux, uy), 0u);

    Mat4 turn = kIdentity;
    Mat4RotateZ(&turn, 3.141592653f / 2);
    Mdl3NodeSetOverride(Mdl3FindNode(&m->nodes[0], "Arm"), &turn);
    Frame(m);
    EXPECT_EQ(At(rx, ry), 0u) << "the tip left its unturned place";
    EXPECT_EQ(At(ux, uy), kRed) << "a quarter turn of the arm lifts its child above it";
    Mdl3NodeClearOverride(Mdl3FindNode(&m->nodes[0], "Arm"));
    Mdl3Release(m);
}

} // namespace
