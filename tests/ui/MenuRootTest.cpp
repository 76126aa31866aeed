// The menu root's screen projection: menu units cover the whole back buffer at any size (on
// llvmpipe), the first pass sets it only while the render option asks, the second always, and
// sizes written past the table stay usable.
#include "tests/I3d/KernelFixture.h"
#include "tests/support/TexturedQuad.h"

#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "engine/EntTree.h"
#include "ui/Ctl3Draw.h"
#include "ui/MenuRoot.h"

#include <cmath>
#include <cstring>

namespace {
class MenuRootTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        m_options = g_i3dRenderOptions;
    }
    void TearDown() override {
        g_i3dRenderOptions = m_options;
        if (root) EntDestroyTree(root);
        EntSystemShutdown();
        KernelTest::TearDown();
    }
    void MakeRoot() {
        EntSystemInit();
        ASSERT_EQ(EntCreateClass(EcMenuRootProc, 0, 0), 0);
        root = dynamic_cast<MenuRoot*>(EntCreateChild("MenuRoot", nullptr));
        ASSERT_TRUE(root);
    }
    static bool Same(const Mat4& a, const Mat4& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
    static Mat4 Marked(float v) {
        Mat4 m;
        Mat4Identity(&m);
        m.m[12] = v;
        return m;
    }

    MenuRoot* root = nullptr;
    uint32_t m_options = 0;
};
} // namespace

TEST_F(MenuRootTest, TheRootIsTheInterfaceSizeAndTakesPartInTheEditorsPass) {
    StartRecordingDevice();
    MakeRoot();
    EXPECT_EQ(std::make_tuple(root->width, root->height), std::make_tuple(1024, 768));
    EXPECT_TRUE(root->TestFlag(0x8));
    EXPECT_STREQ(root->GetTypeName(), "MenuRoot");
    EXPECT_TRUE(root->SetInt("width", 800));
    EXPECT_EQ(root->width, 800);
    EXPECT_EQ(g_i3dRenderOptions & I3D_OPT_MENU_PROJECTION, I3D_OPT_MENU_PROJECTION)
        << "the option is set by default";
}

TEST_F(MenuRootTest, TheFirstPassSetsTheProjectionOnlyWhileTheOptionAsks) {
    StartRecordingDevice();
    MakeRoot();
    const Mat4 w = Marked(3), v = Marked(5), p = Marked(7);
    I3dSetWorld(&w);
    I3dSetView(&v);
    I3dSetProj(&p);
    g_i3dRenderOptions &= ~uint32_t(I3D_OPT_MENU_PROJECTION);
    EXPECT_EQ(root->DrawPre(), 1);
    Mat4 gw, gv, gp;
    I3dGetWorldMatrix(&gw);
    I3dGetViewMatrix(&gv);
    I3dGetProjMatrix(&gp);
    EXPECT_TRUE(Same(gw, w) && Same(gv, v) && Same(gp, p)) << "the cleared option was ignored";

    // The second pass sets it whatever the option.
    EXPECT_EQ(root->Draw(), 1);
    Mat4 identity, ortho;
    Mat4Identity(&identity);
    Mat4OrthoScreen(&ortho, 1024, 768);
    I3dGetWorldMatrix(&gw);
    I3dGetViewMatrix(&gv);
    I3dGetProjMatrix(&gp);
    EXPECT_TRUE(Same(gw, identity) && Same(gv, identity) && Same(gp, ortho));

    I3dSetProj(&p);
    g_i3dRenderOptions |= I3D_OPT_MENU_PROJECTION;
    EXPECT_EQ(root->DrawPre(), 1);
    I3dGetProjMatrix(&gp);
    EXPECT_TRUE(Same(gp, ortho));
}

// Sizes written straight into the fields (scripts, ini files) never give a projection that is
// not a number.
TEST_F(MenuRootTest, BrokenSizesStillProjectFiniteNumbers) {
    StartRecordingDevice();
    MakeRoot();
    for (int32_t side : {0, -5, 20000}) {
        root->width = side;
        root->height = side;
        root->Draw();
        Mat4 gp;
        I3dGetProjMatrix(&gp);
        for (float f : gp.m)
            EXPECT_TRUE(std::isfinite(f)) << "side " << side;
    }
    root->width = -5;
    root->VarsChanged();
    EXPECT_EQ(root->width, 0);
    root->width = 20000;
    root->VarsChanged();
    EXPECT_EQ(root->width, 10000);
}

// A quad from (0, 0) to (1024, 768) in menu units fills the back buffer at any window size.
class MenuRootCoverTest : public MenuRootTest,
                          public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(MenuRootCoverTest, MenuUnitsCoverTheWholeBackBuffer) {
    const auto [w, h] = GetParam();
    StartGl();
    CreateOffscreen(w, h);
    CreateCurrentPair();
    MakeRoot();
    ASSERT_EQ(D3dBeginScene(), 0);
    D3dSetClearColor(0, 0, 0);
    D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    root->DrawPre();
    Ctl3Set2DStates(-1, 0xFFFFFFFFu);
    I3dDrawQuad(0, 0, 1024, 768, 0);
    D3dEndScene();
    const std::vector<uint32_t> pixels = TexQuadReadBack(D3dDevice());
    ASSERT_EQ(pixels.size(), size_t(w) * size_t(h));
    int uncovered = 0;
    for (uint32_t p : pixels)
        uncovered += (p & 0xFFFFFFu) != 0xFFFFFFu;
    EXPECT_EQ(uncovered, 0) << "menu units do not map onto the whole " << w << " x " << h;
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, MenuRootCoverTest,
                         ::testing::Values(std::pair{1024, 768}, std::pair{1280, 1024}));
