// The graphic and text controls at the level of device calls, on the recording layer: the stage
// set-up the modulate flag selects, the flip-book's uv rows, and that broken geometry (no size,
// NaN positions) never reaches the device.
#include "tests/I3d/KernelFixture.h"
#include "tests/ui/UiPictures.h"

#include "I3d/Font.h"
#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "ui/AnimGraphic.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"

#include <cstdio>
#include <limits>
#include <string>

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class GraphicCallTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        CreateCurrentPair();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        EntSystemInit();
        EntCreateClass(EcStaticGraphicProc, 0, 0);
        EntCreateClass(EcAnimGraphicProc, 0, 0);
        EntCreateClass(EcStaticTextProc, 0, 0);
        EntCreateClass(EcStaticTextBoxProc, 0, 0);
        m_oldData = Ctl3DataFolder();
        Ctl3SetDataFolder((std::string(m_pictures / "") + "/").c_str());
        ASSERT_TRUE(WriteTestPictures());
        font = FontAcquire(FAIRLARK_BUILD_DATA_DIR "Fonts/Arial_12b");
    }
    void TearDown() override {
        if (font) SharedObjRelease(font);
        Ctl3SetDataFolder(m_oldData.c_str());
        EntSystemShutdown();
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    template <class T>
    T* Make(const char* name) {
        return dynamic_cast<T*>(EntCreateByName(name, nullptr));
    }
    int Draws() {
        return Log().Count("DrawPrimitive") + Log().Count("DrawPrimitiveUP") +
               Log().Count("DrawIndexedPrimitive");
    }
    TempDir m_pictures;
    std::string m_oldData;
    Font* font = nullptr;
};
} // namespace

// Set: texture times factor. Clear: the texture's colour alone, its alpha times the factor's.
TEST_F(GraphicCallTest, TheModulateFlagPicksTheStageColourOperation) {
    auto* g = Make<StaticGraphic>("StaticGraphic");
    ASSERT_TRUE(g);
    std::snprintf(g->textureName, sizeof g->textureName, "%s", kBlocksPicture);
    g->width = g->height = 64;
    g->Start();
    ASSERT_GE(g->slot, 0);
    for (uint8_t modulate : {0, 1, 0}) {
        g->modulate = modulate;
        Log().Clear();
        EXPECT_EQ(g->DrawPre(), 1);
        const uint64_t op = modulate ? D3DTOP_MODULATE : D3DTOP_SELECTARG1;
        EXPECT_EQ(Log().Count("SetTextureStageState", {0, D3DTSS_COLOROP, op}), 1) << int(modulate);
        EXPECT_EQ(Draws(), 1);
    }
    EntDestroyTree(g);
}

// Frame k of cells H = bottom - top + 1 high: v from (top + kH + 0.5) / height to
// (bottom + kH + 0.5) / height; u from (left + 0.5) / width to (right + 0.5) / width.
TEST_F(GraphicCallTest, TheFlipBooksUvRowsStackDownwards) {
    auto* a = Make<AnimGraphic>("AnimGraphic");
    ASSERT_TRUE(a);
    std::snprintf(a->image.textureName, sizeof a->image.textureName, "%s", kStripPicture);
    a->image.left = 2, a->image.top = 1, a->image.right = 13, a->image.bottom = 14;
    a->frames = 3;
    a->Start();
    ASSERT_GE(a->image.slot, 0);
    for (int k = 0; k < 3; ++k) {
        float uv[4];
        ASSERT_TRUE(Ctl3StripUv(a->image, k, uv));
        EXPECT_FLOAT_EQ(uv[0], 2.5f / 16);
        EXPECT_FLOAT_EQ(uv[2], 13.5f / 16);
        EXPECT_FLOAT_EQ(uv[1], (1 + k * 14 + 0.5f) / 64);
        EXPECT_FLOAT_EQ(uv[3], (14 + k * 14 + 0.5f) / 64);
    }
    // 1 / rate per frame, and the overshoot kept.
    a->rate = 15;
    const float oldSeconds = g_frameSeconds;
    g_frameSeconds = 1.0f / 15;
    for (int k = 1; k <= 4; ++k) {
        a->Update(g_frameSeconds);
        EXPECT_EQ(a->frame, k % 3);
    }
    g_frameSeconds = oldSeconds;
    EntDestroyTree(a);
}

TEST_F(GraphicCallTest, NoSizeOrNaNGeometryNeverReachesTheDevice) {
    ASSERT_TRUE(font);
    auto* flat = Make<StaticGraphic>("StaticGraphic");
    auto* lost = Make<StaticGraphic>("StaticGraphic");
    auto* text = Make<StaticText>("StaticText");
    auto* narrow = Make<StaticTextBox>("StaticTextBox");
    auto* adrift = Make<StaticTextBox>("StaticTextBox");
    ASSERT_TRUE(flat && lost && text && narrow && adrift);
    flat->width = 0, flat->height = 20;
    lost->width = lost->height = 20;
    lost->pos.y = kNaN;
    text->SetFont(font);
    text->SetTextW(u"lost");
    text->pos.x = kNaN;
    narrow->SetFont(font);
    narrow->width = -5;
    narrow->SetText(u"narrow");
    narrow->Flip();
    adrift->SetFont(font);
    adrift->SetText(u"adrift");
    adrift->Flip();
    adrift->pos.x = kNaN;
    Log().Clear();
    for (ENTBASE* e :
         {(ENTBASE*)flat, (ENTBASE*)lost, (ENTBASE*)text, (ENTBASE*)narrow, (ENTBASE*)adrift})
        e->DrawPre();
    EXPECT_EQ(Draws(), 0);
    for (ENTBASE* e :
         {(ENTBASE*)flat, (ENTBASE*)lost, (ENTBASE*)text, (ENTBASE*)narrow, (ENTBASE*)adrift})
        EntDestroyTree(e);
}
