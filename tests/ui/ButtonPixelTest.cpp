// What buttons draw, read back from the game's render target on llvmpipe: the generated frames,
// the flash, the untextured fallback and the text buttons' label.
#include "tests/harness/UiHarness.h"

#include "I3d/Font.h"
#include "ui/Ctl3ButtonBase.h"
#include "ui/GraphicButton.h"
#include "ui/IncDecArt.h"
#include "ui/IncDecButton.h"
#include "ui/TextButton.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr uint32_t kFill[3] = {0xFF505A78u, 0xFFC8B400u, 0xFF283040u};

class ButtonPixelTest : public UiTest {
  protected:
    GraphicButton* MakeOk(float x, float y) {
        auto* b = Make<GraphicButton>("GraphicButton");
        if (!b) return nullptr;
        std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s",
                      "Menu\\Common\\ZobButtonOk.dds");
        b->image.left = 0, b->image.top = 0, b->image.right = 96, b->image.bottom = 56;
        b->SetPos2D(x, y);
        b->Start();
        return b;
    }
    // A value button with the generated art at (x, y), not yet started.
    IncDecButton* MakeValue(float x, float y) {
        auto* v = Make<IncDecButton>("IncDecButton");
        if (!v) return nullptr;
        std::snprintf(v->body.textureName, sizeof v->body.textureName, "%s", kIncDecBodyImage);
        std::snprintf(v->up.textureName, sizeof v->up.textureName, "%s", kIncDecUpImage);
        std::snprintf(v->down.textureName, sizeof v->down.textureName, "%s", kIncDecDownImage);
        v->SetPos2D(x, y);
        return v;
    }
    // The opaque colour of a pixel (the back buffer has no alpha of its own).
    static uint32_t Rgb(uint32_t argb) { return argb | 0xFF000000u; }
};
} // namespace

TEST_F(ButtonPixelTest, EachStateShowsItsGeneratedFrame) {
    StartUi();
    GraphicButton* b = MakeOk(300, 200);
    ASSERT_TRUE(b);
    ASSERT_GE(b->image.slot, 0) << "the generated button image did not load";
    for (int state = 0; state < 3; ++state) {
        b->state = state;
        Step();
        EXPECT_EQ(Rgb(PixelAt(ReadPixels(), 304, 204)), kFill[state]) << "state " << state;
    }
    b->state = 0;
    b->checked = 1;
    b->SetRadioMode(true);
    Step();
    EXPECT_EQ(Rgb(PixelAt(ReadPixels(), 304, 204)), kFill[2])
        << "a checked radio button shows the pressed frame";
}

TEST_F(ButtonPixelTest, TheFlashSwellsFourUnitsAndSettles) {
    StartUi();
    GraphicButton* b = MakeOk(300, 200);
    ASSERT_TRUE(b);
    Step();
    const std::vector<uint32_t> before = ReadPixels();
    const uint32_t background = PixelAt(before, 296, 196);
    ASSERT_NE(PixelAt(before, 300, 200), background);
    Ctl3SetFocus(b);
    frameMs = 125;
    Step();
    std::vector<uint32_t> swollen = ReadPixels();
    EXPECT_NE(PixelAt(swollen, 296, 196), background) << "4 units larger on every side";
    EXPECT_NE(PixelAt(swollen, 400, 260), background);
    EXPECT_EQ(PixelAt(swollen, 294, 194), background) << "and no more";
    Step();
    std::vector<uint32_t> settled = ReadPixels();
    EXPECT_EQ(PixelAt(settled, 296, 196), background) << "back to size after 0.25 s";
    EXPECT_NE(PixelAt(settled, 300, 200), background);
    EXPECT_EQ(Rgb(PixelAt(settled, 304, 204)), kFill[1]) << "the focused frame, unmoved";
}

TEST_F(ButtonPixelTest, AMissingTextureDrawsAnUntexturedQuadInTheColour) {
    StartUi();
    auto* b = Make<GraphicButton>("GraphicButton");
    ASSERT_TRUE(b);
    std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s", "Menu\\Nothing.dds");
    b->width = 50, b->height = 30;
    b->colour = 0xFF00C040u;
    b->SetPos2D(100, 100);
    b->Start();
    EXPECT_EQ(b->image.slot, -1);
    EXPECT_FLOAT_EQ(b->rect.right, 150);
    EXPECT_FLOAT_EQ(b->rect.bottom, 130);
    Step();
    const std::vector<uint32_t> pixels = ReadPixels();
    EXPECT_EQ(Rgb(PixelAt(pixels, 110, 110)), 0xFF00C040u);
    EXPECT_EQ(Rgb(PixelAt(pixels, 148, 128)), 0xFF00C040u);
    EXPECT_NE(Rgb(PixelAt(pixels, 152, 132)), 0xFF00C040u);
}

TEST_F(ButtonPixelTest, AFocusedTextButtonDrawsItsLabelAsTheFontDoes) {
    StartUi();
    Font* font = UiAcquireFont("Georgia_20");
    ASSERT_TRUE(font);
    auto* t = Make<TextButton>("TextButton");
    ASSERT_TRUE(t);
    t->SetFont(font);
    t->SetTextW(u"Start Day");
    t->SetPos2D(200, 300);
    t->Start();
    Ctl3SetFocus(t);
    Step();
    const std::vector<uint32_t> drawn = ReadPixels();

    t->visible = 0;
    auto* probe = dynamic_cast<DrawProbe*>(EntCreateChild("DrawProbe", menu));
    ASSERT_TRUE(probe);
    probe->draw = [font] { DrawPlainText(font, 200, 300, u"Start Day", 0xB4F0F000u); };
    Step();
    const std::vector<uint32_t> reference = ReadPixels();
    int differ = 0, lit = 0;
    for (int y = 290; y < 340; ++y)
        for (int x = 190; x < 400; ++x) {
            differ += PixelAt(drawn, x, y) != PixelAt(reference, x, y);
            lit += PixelAt(reference, x, y) != PixelAt(reference, 5, 5);
        }
    EXPECT_GT(lit, 50) << "the reference drew nothing";
    EXPECT_EQ(differ, 0);
    SharedObjRelease(font);
}

TEST_F(ButtonPixelTest, TheValueButtonLightsTheHalfUnderThePointer) {
    StartUi();
    IncDecButton* v = MakeValue(500, 300);
    ASSERT_TRUE(v);
    v->Start();
    ASSERT_TRUE(v->body.slot >= 0 && v->up.slot >= 0 && v->down.slot >= 0);
    MouseMove(520, 305);
    Step();
    std::vector<uint32_t> pixels = ReadPixels();
    EXPECT_EQ(Rgb(PixelAt(pixels, 504, 304)), kFill[1]) << "the body in its focused frame";
    EXPECT_EQ(Rgb(PixelAt(pixels, 576, 304)), kFill[1]) << "the up arrow, top right, lit";
    EXPECT_EQ(Rgb(PixelAt(pixels, 576, 318)), kFill[0]) << "the down arrow below it, not lit";
    MouseMove(520, 325);
    Step();
    pixels = ReadPixels();
    EXPECT_EQ(Rgb(PixelAt(pixels, 576, 304)), kFill[0]);
    EXPECT_EQ(Rgb(PixelAt(pixels, 576, 318)), kFill[1]);
}

// The number and its suffix stop short of the arrows: the arrows look the same with a long text
// as with none, and the text still shows left of them.
TEST_F(ButtonPixelTest, TheValueButtonsTextStaysLeftOfItsArrows) {
    StartUi();
    Font* font = UiAcquireFont("Georgia_14");
    ASSERT_TRUE(font);
    IncDecButton* v = MakeValue(500, 300);
    ASSERT_TRUE(v);
    v->SetFont(font);
    v->Start();
    MouseMove(10, 10);
    std::vector<uint32_t> shots[2];
    const char16_t* texts[2] = {u"", u" Tickets and more tickets"};
    for (int i = 0; i < 2; ++i) {
        v->value = i == 0 ? 0 : 12345;
        v->SetTextW(texts[i]);
        Step();
        shots[i] = ReadPixels();
    }
    const float arrows = std::min(v->rect.right - float(v->up.CellWidth()),
                                  v->rect.right - float(v->down.CellWidth()));
    int onArrows = 0, left = 0;
    for (int y = int(v->rect.top); y < int(v->rect.bottom); ++y)
        for (int x = int(v->rect.left); x < 1024; ++x)
            if (PixelAt(shots[0], x, y) != PixelAt(shots[1], x, y))
                ++(x >= int(arrows) ? onArrows : left);
    EXPECT_GT(left, 20) << "the number does not show";
    EXPECT_EQ(onArrows, 0) << "the text runs over the arrows";
    SharedObjRelease(font);
}
