// Viewports on OpenGL (llvmpipe through EGL, offscreen), read back pixel by pixel: two world
// viewports clearing the two halves of the back buffer, and a particle drawn additively into a
// viewport's scene.
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/EntViewport.h"
#include "world/Particles/ParticleSys.h"

#include <cstring>

namespace {

constexpr int kW = 128, kH = 96;

class ViewportPixels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        CreateOffscreen(kW, kH);
        RegisterWorldTestClasses();
        root = Make("EntNull", nullptr, "Root");
        viewports = Make("EntNull", root, "Viewport");
        world = Make("EntNull", root, "World");
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        KernelTest::TearDown();
    }
    EntViewport* AddViewport(const char* name, float x, float w, float r, float g, float b) {
        auto* v = Make<EntViewport>("Viewport", viewports, name);
        v->SetVoid("entDrawRoot", (intptr_t)world);
        v->x = x;
        v->width = w;
        v->clear = 1;
        v->SetColor3("color", r, g, b);
        return v;
    }

    ENTBASE *root = nullptr, *viewports = nullptr, *world = nullptr;
};

TEST_F(ViewportPixels, TwoViewportsClearTheirOwnHalves) {
    AddViewport("Left", 0, kW / 2, 1, 0, 0);
    AddViewport("Right", kW / 2, kW / 2, 0, 0, 1);
    ASSERT_EQ(D3dBeginScene(), 0);
    EntTreeDrawPre(viewports);
    D3dEndScene();
    for (int y : {0, kH / 2, kH - 1}) {
        for (int x : {0, kW / 2 - 1})
            EXPECT_EQ(D3dReadPixel(x, y) & 0xFFFFFF, 0xFF0000u)
                << "left half at " << x << ", " << y;
        for (int x : {kW / 2, kW - 1})
            EXPECT_EQ(D3dReadPixel(x, y) & 0xFFFFFF, 0x0000FFu)
                << "right half at " << x << ", " << y;
    }
}

TEST_F(ViewportPixels, ParticleAddsLightToTheSceneAndIsEmptied) {
    ASSERT_EQ(I3dTexTableAlloc(8), 0);
    EntViewport* v = AddViewport("Main", 0, 0, 0.5f, 0.5f, 0.5f);
    TestCamera* cam = MakeCamera(world, "Cam", VECTOR3{0, 0, -5}, VECTOR3{0, 0, 0}, 1.0f);
    v->SetVoid("entCamera", (intptr_t)cam);
    Make("Particles", world, "");
    ParticleSys* sys = ParticleSysAcquire("Glow.tga", 16);
    ASSERT_NE(sys, nullptr);
    // A white texture, so that the particle's own colour is what is added.
    const int slot = D3dTexCreate(4, 4, I3DTEX_A8R8G8B8, 1, "glow", 0);
    void* pixels = nullptr;
    int w = 0, h = 0, pitch = 0, format = 0;
    ASSERT_EQ(D3dTextureLock(slot, 0, &pixels, &w, &h, &pitch, &format), 0);
    for (int y = 0; y < h; ++y)
        std::memset(static_cast<uint8_t*>(pixels) + (size_t)y * (size_t)pitch, 0xFF, (size_t)w * 4);
    D3dTextureUnlock(slot, 0);
    sys->SetTexture(slot);
    Particle* p = sys->Add();
    ASSERT_NE(p, nullptr);
    *p = Particle{{0, 0, 0}, 1.0f, 0xFF404040u, 0, 0, 1, 0};

    ASSERT_EQ(D3dBeginScene(), 0);
    EntTreeDrawPre(viewports);
    D3dEndScene();
    const uint32_t centre = D3dReadPixel(kW / 2, kH / 2), corner = D3dReadPixel(2, 2);
    EXPECT_EQ(corner & 0xFF, 0x7Fu) << "the grey clear away from the particle";
    EXPECT_GE(centre & 0xFF, 0x7Fu + 0x30u) << "the particle adds its colour to the grey";
    EXPECT_EQ(sys->count, 0) << "the frame empties the system";
    SharedObjRelease(sys);
    I3dTexTableFree();
}

} // namespace
