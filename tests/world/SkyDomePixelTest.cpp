// The sky dome on OpenGL (llvmpipe through EGL, offscreen), read back: looking straight up from
// its centre shows the zenith colour, and a quad drawn afterwards behind it with LESSEQUAL
// still covers it, since the dome writes no depth.
#include "I3d/Math/Mat4Math.h"
#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/EntViewport.h"
#include "world/SkyDome.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kW = 64, kH = 48;

class SkyDomePixels : public KernelTest {
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
        dome = Make<SkyDome>("SkyDome", world, "SkyDome");
        dome->sunElevation = -1.0f; // the highlight turned away
        dome->Start();
        viewport = Make<EntViewport>("Viewport", viewports, "Main");
        viewport->SetVoid("entDrawRoot", (intptr_t)world);
        viewport->clear = 1;
        // The dome's centre lies yOffset below its position.
        TestCamera* cam =
            MakeCamera(world, "Cam", VECTOR3{0, -80, 0}, VECTOR3{0, 1000, 0.01f}, 1.0f);
        viewport->SetVoid("entCamera", (intptr_t)cam);
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        KernelTest::TearDown();
    }
    static void ExpectNear(uint32_t px, uint32_t want) {
        for (int shift : {16, 8, 0})
            EXPECT_LE(std::abs(int((px >> shift) & 0xFF) - int((want >> shift) & 0xFF)), 2)
                << std::hex << px << " against " << want;
    }

    ENTBASE *root = nullptr, *viewports = nullptr, *world = nullptr;
    SkyDome* dome = nullptr;
    EntViewport* viewport = nullptr;
};

TEST_F(SkyDomePixels, StraightUpIsTheZenithAndTheDomeWritesNoDepth) {
    ASSERT_EQ(D3dBeginScene(), 0);
    EntTreeDrawPre(viewports);
    D3dEndScene();
    ExpectNear(D3dReadPixel(kW / 2, kH / 2), 0xFF223B7Bu);

    ASSERT_EQ(D3dBeginScene(), 0);
    EntTreeDrawPre(viewports);
    Mat4 identity;
    I3dSetWorld(Mat4Identity(&identity));
    D3dSetLighting(0);
    D3dSetFogEnable(0);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetZWrite(1);
    D3dSetFactorStages();
    D3dSetTextureFactor(0xFFFF0000u);
    // A red ceiling beyond the dome (radius 1000) and inside the far plane (2000).
    Mat4 ceiling;
    Mat4Identity(&ceiling);
    Mat4RotateX(&ceiling, -1.5707964f);
    ceiling.m[13] = 1500.0f;
    I3dSetWorld(&ceiling);
    I3dDrawQuad(-100000.0f, -100000.0f, 100000.0f, 100000.0f, 0.0f);
    D3dEndScene();
    ExpectNear(D3dReadPixel(kW / 2, kH / 2), 0xFFFF0000u);
}

// Level from the dome's centre, the pixel row just above the horizon looks a little up: its
// colour lies between the horizon ring's and the next ring's, channel by channel.
TEST_F(SkyDomePixels, JustAboveTheHorizonLiesBetweenTheFirstTwoRings) {
    TestCamera* level = MakeCamera(world, "Level", VECTOR3{0, -80, 0}, VECTOR3{0, -80, 10}, 1.0f);
    viewport->SetVoid("entCamera", (intptr_t)level);
    ASSERT_EQ(D3dBeginScene(), 0);
    EntTreeDrawPre(viewports);
    D3dEndScene();
    const uint32_t px = D3dReadPixel(kW / 2, kH / 2 - 1);
    const uint32_t low = dome->RingColor(0), high = dome->RingColor(1);
    EXPECT_EQ(low, dome->horizonColor);
    for (int shift : {16, 8, 0}) {
        const int a = int((low >> shift) & 0xFF), b = int((high >> shift) & 0xFF);
        const int got = int((px >> shift) & 0xFF);
        EXPECT_GE(got, std::min(a, b) - 1) << std::hex << px << " channel " << shift;
        EXPECT_LE(got, std::max(a, b) + 1) << std::hex << px << " channel " << shift;
    }
}

} // namespace
