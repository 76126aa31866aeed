// The debug overlay on OpenGL (llvmpipe through EGL, offscreen), read back: the name tag at the
// projected position and the boxes' edges, only with class flag 0x4.
#include "I3d/I3d.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/EntDrawWalk.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/engine/Ent3d/Ent3dTestClass.h"
#include "tests/support/TexturedQuad.h"

namespace {

constexpr int kW = 640, kH = 480;

class Overlay : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        RegisterProp3d();
        StartGl();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        CreateOffscreen(kW, kH);
        CreateCurrentPair();
        m_font = FontAcquire((std::string(FAIRLARK_BUILD_DATA_DIR) + "Fonts/CourierNew9o").c_str());
        ASSERT_NE(m_font, nullptr);
        Ent3dSetDebugFont(m_font);

        // From z = -10 towards the origin, where the entity stands; its boxes lie left of and
        // below it on screen, away from the name, which runs right and down from it.
        const VECTOR3 eye{0, 0, -10}, at{0, 0, 0}, up{0, 1, 0};
        Mat4 view, proj;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, 0.8f, I3dGetInvAspect(), 0.1f, 100.0f));
        Mat4Mul(&view, &proj, &m_viewProj);
        m_ent = MakeProp(nullptr, "Tag");
        const float box[6] = {-3, -3, -1, -1, -1, 1};
        m_ent->SetBounds(box);
        std::memcpy(m_ent->localBox, box, sizeof box);
        D3dSetClearColor(0, 0, 0);
        ASSERT_EQ(D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
        ASSERT_EQ(D3dBeginScene(), 0);
    }
    void TearDown() override {
        D3dEndScene();
        EntDestroyTree(m_ent);
        Ent3dSetDebugFont(nullptr);
        if (m_font) SharedObjRelease(m_font);
        EntSystemShutdown();
        KernelTest::TearDown();
    }
    void ReadBack() { m_pixels = TexQuadReadBack(D3dDevice()); }
    bool Green(int x, int y) const {
        const uint32_t c = m_pixels.at(size_t(y) * kW + size_t(x));
        return (c & 0xFF00FF) == 0 && (c & 0xFF00) != 0;
    }
    int GreenIn(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += Green(x, y);
        return n;
    }
    // Green within a pixel of the screen point of a world point.
    bool GreenNear(VECTOR3 p) const {
        float c[4];
        for (int j = 0; j < 4; ++j)
            c[j] = p.x * m_viewProj.m[j] + p.y * m_viewProj.m[4 + j] + p.z * m_viewProj.m[8 + j] +
                   m_viewProj.m[12 + j];
        const int x = int((c[0] / c[3] + 1) * kW / 2), y = int((1 - c[1] / c[3]) * kH / 2);
        return GreenIn(x - 1, y - 1, x + 2, y + 2) > 0;
    }

    Font* m_font = nullptr;
    Prop3d* m_ent = nullptr;
    Mat4 m_viewProj;
    std::vector<uint32_t> m_pixels;
};

} // namespace

TEST_F(Overlay, WithFlag4TheNameAndBothBoxesAreDrawnInGreen) {
    Prop3d::s_classFlags = 0x1F;
    Mat4 view, proj, viewAfter, projAfter;
    I3dGetViewMatrix(&view);
    I3dGetProjMatrix(&proj);
    EXPECT_EQ(m_ent->Draw(), 1);
    ReadBack();
    // The entity at the origin projects to the centre: x = (0 x W + W) / 2, y = (H - 0 x H) / 2.
    const int w = int(FontTextWidth(m_font, u"Tag")), h = int(m_font->cellHeight);
    EXPECT_GT(GreenIn(kW / 2, kH / 2, kW / 2 + w, kH / 2 + h), 10) << "no name at the centre";
    EXPECT_EQ(GreenIn(kW / 2 - 20, kH / 2 - 20, kW / 2, kH / 2), 0) << "the name is misplaced";
    EXPECT_TRUE(GreenNear({-2, -1, -1})) << "the near face's top edge is missing";
    EXPECT_TRUE(GreenNear({-3, -2, 1})) << "the far face's left edge is missing";
    I3dGetViewMatrix(&viewAfter);
    I3dGetProjMatrix(&projAfter);
    EXPECT_EQ(std::memcmp(&view, &viewAfter, sizeof view), 0) << "the view was not restored";
    EXPECT_EQ(std::memcmp(&proj, &projAfter, sizeof proj), 0) << "the projection was not restored";
}

TEST_F(Overlay, WithoutTheDebugFontOnlyTheBoxesAndWithoutFlag4Nothing) {
    Prop3d::s_classFlags = 0x1F;
    Ent3dSetDebugFont(nullptr);
    m_ent->Draw();
    ReadBack();
    EXPECT_EQ(GreenIn(kW / 2, kH / 2, kW / 2 + 40, kH / 2 + 20), 0) << "a name without a font";
    EXPECT_TRUE(GreenNear({-2, -1, -1}));

    ASSERT_EQ(D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
    Ent3dSetDebugFont(m_font);
    Prop3d::s_classFlags = 0x1B;
    m_ent->Draw();
    ReadBack();
    EXPECT_EQ(GreenIn(0, 0, kW, kH), 0) << "drawn without class flag 0x4";
}

// The overlay is the editor's: a viewport's walks in the running game (each child's first walk,
// then its second) draw no tag and no box, and the shared debug font keeps its own colour.
TEST_F(Overlay, TheGamesViewportWalksDrawNoOverlayAndTheFontKeepsItsColour) {
    Prop3d::s_classFlags = 0x1F;
    Prop3d* viewport = MakeProp(nullptr, "View");
    ASSERT_EQ(EntLinkUnder(m_ent, viewport), 0);
    EntTreeDrawEach(viewport);
    ReadBack();
    EXPECT_EQ(GreenIn(0, 0, kW, kH), 0) << "the overlay showed in the game's own walks";

    m_font->colour = 0xFFFFFFFFu;
    m_ent->Draw();
    EXPECT_EQ(m_font->colour, 0xFFFFFFFFu) << "the name tag left the debug font green";
    EntDestroyTree(viewport); // and m_ent with it
    m_ent = nullptr;
}
