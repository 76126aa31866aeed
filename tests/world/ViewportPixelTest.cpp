// Viewports on OpenGL (llvmpipe through EGL, offscreen): two world viewports clearing the two
// halves of the back buffer, read back pixel by pixel.
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/EcViewport.h"

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
    EcViewport* AddViewport(const char* name, float x, float w, float r, float g, float b) {
        auto* v = Make<EcViewport>("Viewport", viewports, name);
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

} // namespace
