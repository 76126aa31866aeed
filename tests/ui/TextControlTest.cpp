// The text controls on llvmpipe: a label read back against the same text drawn by the font, the
// live text, the text box's cross-fade in fixed frame times and its backing.
#include "tests/harness/UiHarness.h"
#include "tests/ui/UiPictures.h"

#include "I3d/Font.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"

#include <functional>
#include <limits>
#include <vector>

namespace {
class TextControlTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        StartUi();
        font = UiAcquireFont("Georgia_20");
        ASSERT_TRUE(font) << "the generated font is missing";
    }
    void TearDown() override {
        if (font) SharedObjRelease(font);
        UiTest::TearDown();
    }
    // The pixels that differ between what is shown now and what `reference` draws alone (with
    // every control hidden), and how many pixels the reference lit.
    std::pair<int, int> CompareWith(const std::function<void()>& reference) {
        Step();
        const std::vector<uint32_t> drawn = ReadPixels();
        for (EntNode* n = menu->node->firstChild; n; n = n->next)
            if (auto* c = dynamic_cast<Ctl3Base*>(n->object)) c->visible = 0;
        auto* probe = dynamic_cast<DrawProbe*>(EntCreateChild("DrawProbe", menu));
        if (!probe) return {-1, 0};
        probe->draw = reference;
        Step();
        const std::vector<uint32_t> ref = ReadPixels();
        int differ = 0, lit = 0;
        for (size_t i = 0; i < ref.size() && i < drawn.size(); ++i) {
            differ += drawn[i] != ref[i];
            lit += ref[i] != ref[0];
        }
        EntDestroyTree(probe);
        return {differ, lit};
    }
    StaticText* MakeText(const char16_t* text, float x, float y) {
        auto* t = Make<StaticText>("StaticText");
        if (!t) return nullptr;
        t->SetFont(font);
        t->SetTextW(text);
        t->SetPos2D(x, y);
        t->Start();
        return t;
    }
    Font* font = nullptr;
};
} // namespace

// Colour 0xFFF0F0F0 times the menu's alpha, the alignments, scales and slant given to the font.
TEST_F(TextControlTest, ALabelDrawsAsTheFontDrawsIt) {
    menu->alpha = 0.5f;
    StaticText* t = MakeText(u"Cash", 500, 300);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->colour, 0xFFF0F0F0u);
    for (int align = 0; align < 3; ++align) {
        t->visible = 1;
        t->horizAlign = align;
        t->vertAlign = 2 - align;
        t->horizScale = 1.5f;
        t->vertScale = 0.75f;
        t->italic = 3;
        Font* f = font;
        const auto [differ, lit] = CompareWith([f, align] {
            FontSetScale(f, 1.5f, 0.75f);
            FontSetGlyphOffsetX(f, 3);
            f->hAlign = align;
            f->vAlign = 2 - align;
            f->colour = 0x7FF0F0F0u;
            FontDraw(f, 500, 300, u"Cash");
        });
        EXPECT_GT(lit, 50) << "the reference drew nothing";
        EXPECT_EQ(differ, 0) << "alignment " << align;
    }
}

TEST_F(TextControlTest, TheLiveTextReplacesTheLabel) {
    StaticText* t = MakeText(u"Label", 100, 100);
    ASSERT_TRUE(t);
    char16_t live[32] = u"$1234";
    t->liveText = live;
    Font* f = font;
    auto [differ, lit] = CompareWith([f] {
        FontSetScale(f, 1, 1);
        FontSetGlyphOffsetX(f, 0);
        f->hAlign = f->vAlign = 0;
        f->colour = 0xFFF0F0F0u;
        FontDraw(f, 100, 100, u"$1234");
    });
    EXPECT_GT(lit, 50);
    EXPECT_EQ(differ, 0);
}

// Without a font (FontAcquire gave null) or with a NaN position nothing is drawn, nothing fails.
TEST_F(TextControlTest, NoFontOrABrokenPositionDrawsNothing) {
    StaticText* t = MakeText(u"Nothing", 100, 100);
    StaticText* lost = MakeText(u"Nothing", 300, 100);
    auto* box = Make<StaticTextBox>("StaticTextBox");
    ASSERT_TRUE(t && lost && box);
    t->SetFont(nullptr);
    lost->pos.y = std::numeric_limits<float>::quiet_NaN();
    box->SetText(u"no font");
    box->Flip();
    box->SetPos2D(100, 300);
    auto [differ, lit] = CompareWith([] {});
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(lit, 0);
}

// 1000 labels on one menu: every one drawn, through as many glyph batches as they need.
TEST_F(TextControlTest, AThousandLabelsAreAllDrawn) {
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(MakeText(u"#", float(i % 40) * 25 + 4, float(i / 40) * 30 + 4));
    Step();
    const std::vector<uint32_t> pixels = ReadPixels();
    const uint32_t background = PixelAt(pixels, 1020, 764);
    int empty = 0;
    for (int i = 0; i < 1000; ++i) {
        const int x0 = (i % 40) * 25 + 4, y0 = (i / 40) * 30 + 4;
        int lit = 0;
        for (int y = y0; y < y0 + 24; ++y)
            for (int x = x0; x < x0 + 20; ++x)
                lit += PixelAt(pixels, x, y) != background;
        empty += lit == 0;
    }
    EXPECT_EQ(empty, 0);
}

// ---- the text box's cross-fade, in frames of 40 ms ----

TEST_F(TextControlTest, SetTextFadesTheOldTextOutAndTheNewOneIn) {
    auto* box = Make<StaticTextBox>("StaticTextBox");
    ASSERT_TRUE(box);
    box->SetFont(font);
    box->SetText(u"old");
    box->Flip();
    EXPECT_EQ(box->state, TEXT_BOX_SHOWN);
    EXPECT_FLOAT_EQ(box->fadeAlpha, 1.0f);
    frameMs = 40;
    box->SetText(u"new");
    EXPECT_EQ(box->Shown().text, std::u16string(u"old"));
    Step(4);
    EXPECT_EQ(box->state, TEXT_BOX_FADING_OUT);
    EXPECT_NEAR(box->fadeAlpha, 0.68f, 1e-3f) << "timer / fade time on the way down";

    // A second text during the fade-out keeps fading out, towards the newest text.
    box->SetText(u"newest");
    EXPECT_EQ(box->state, TEXT_BOX_FADING_OUT);
    Step(8);
    EXPECT_EQ(box->state, TEXT_BOX_FADING_OUT);
    EXPECT_EQ(box->Shown().text, std::u16string(u"old"));
    Step();
    EXPECT_EQ(box->state, TEXT_BOX_FADING_IN);
    EXPECT_EQ(box->Shown().text, std::u16string(u"newest"));
    EXPECT_FLOAT_EQ(box->fadeAlpha, 0.0f);
    Step(5);
    EXPECT_NEAR(box->fadeAlpha, 0.4f, 1e-3f);

    // One during the fade-in turns round from the alpha reached.
    box->SetText(u"turn");
    EXPECT_EQ(box->state, TEXT_BOX_FADING_OUT);
    EXPECT_NEAR(box->timer, 0.2f, 1e-3f);
    Step();
    EXPECT_NEAR(box->fadeAlpha, 0.32f, 1e-3f);
    Step(5);
    EXPECT_EQ(box->state, TEXT_BOX_FADING_IN);
    EXPECT_EQ(box->Shown().text, std::u16string(u"turn"));
    Step(14);
    EXPECT_EQ(box->state, TEXT_BOX_SHOWN);
    EXPECT_FLOAT_EQ(box->fadeAlpha, 1.0f);

    // Flip cuts at once; null shows nothing after the fade.
    box->SetText(u"cut");
    box->Flip();
    EXPECT_EQ(box->state, TEXT_BOX_SHOWN);
    EXPECT_EQ(box->Shown().text, std::u16string(u"cut"));
    box->SetText(static_cast<const char16_t*>(nullptr));
    Step(30);
    EXPECT_EQ(box->Shown().text[0], 0);
    EXPECT_EQ(box->Shown().lineCount, 1);

    // A text past the buffer is cut to 1023 units, the terminator fitting behind them.
    const std::u16string huge(3000, u'w');
    box->SetText(huge.c_str());
    box->Flip();
    EXPECT_EQ(std::u16string(box->Shown().text), huge.substr(0, 1023));
    Step();
}

// Mode 1 draws the backing colour times alpha over the block, placed by the alignments; mode 3
// covers the hit box.
TEST_F(TextControlTest, TheBackingCoversTheBlockOrTheHitBox) {
    auto* box = Make<StaticTextBox>("StaticTextBox");
    ASSERT_TRUE(box);
    box->SetFont(font);
    box->width = 200;
    box->SetPos2D(600, 400);
    box->horizAlign = 1;
    box->vertAlign = 1;
    box->backing = 1;
    box->SetText(u"one\ntwo");
    box->Flip();
    const float block = 2 * font->cellHeight;
    Step();
    std::vector<uint32_t> pixels = ReadPixels();
    const uint32_t background = PixelAt(pixels, 5, 5);
    const uint32_t backing = PixelAt(pixels, 502, int(400 - block / 2) + 1);
    EXPECT_NE(backing, background) << "the block's top left corner";
    EXPECT_EQ(PixelAt(pixels, 697, int(400 + block / 2) - 2), backing) << "its bottom right";
    EXPECT_EQ(PixelAt(pixels, 497, 400), background);
    EXPECT_EQ(PixelAt(pixels, 703, 400), background);

    box->backing = 3;
    box->rect = {100, 100, 180, 140};
    Step();
    pixels = ReadPixels();
    EXPECT_EQ(PixelAt(pixels, 102, 102), backing);
    EXPECT_EQ(PixelAt(pixels, 178, 138), backing);
    EXPECT_EQ(PixelAt(pixels, 502, int(400 - block / 2) + 1), background);
}
