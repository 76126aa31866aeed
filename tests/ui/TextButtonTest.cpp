// Text buttons and check boxes: colours and press offset by state, layout by alignment, the
// check prefixes, and the graphic check box's placement of box and label.
#include "tests/harness/UiHarness.h"

#include "I3d/Font.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/GraphicCheckBox.h"
#include "ui/TextButton.h"
#include "ui/TextButton2.h"
#include "ui/TextCheckBox.h"

#include <cmath>
#include <string>

namespace {
class TextButtonTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        StartUi();
        font = UiAcquireFont("Georgia_14");
        ASSERT_TRUE(font) << "the generated fonts are missing";
    }
    void TearDown() override {
        if (font) SharedObjRelease(font);
        UiTest::TearDown();
    }
    template <class T>
    T* MakeText(const char* cls, const char16_t* text, float x, float y) {
        T* t = Make<T>(cls);
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

TEST_F(TextButtonTest, ColoursAndPressOffsetFollowTheState) {
    auto* t = MakeText<TextButton>("TextButton", u"Play", 100, 100);
    ASSERT_TRUE(t);
    const float h = font->cellHeight;
    const struct {
        int32_t state;
        uint8_t enabled;
        uint32_t colour;
        float offset;
    } rows[] = {{0, 1, 0xFFEFEFEF, 0},
                {1, 1, 0xB4F0F000, 0},
                {2, 1, 0xFFF0F000, 0.08f * h},
                {2, 0, 0xFF404040, 0.08f * h}};
    for (const auto& r : rows) {
        t->state = r.state;
        t->enabled = r.enabled;
        EXPECT_EQ(Ctl3TextColour(t), r.colour) << r.state;
        EXPECT_FLOAT_EQ(Ctl3PressOffset(t), r.offset) << r.state;
    }
    menu->alpha = 0.5f;
    t->enabled = 1, t->state = 0;
    EXPECT_EQ(Ctl3TextColour(t), 0x7FEFEFEFu) << "the alpha fades with the menu";
    t->fadeWithParent = 0;
    EXPECT_EQ(Ctl3TextColour(t), 0xFFEFEFEFu) << "unless the control does not fade with it";
}

TEST_F(TextButtonTest, TheRectangleFollowsTheAlignment) {
    auto* t = MakeText<TextButton>("TextButton", u"Options", 400, 300);
    ASSERT_TRUE(t);
    FontSetScale(font, 1, 1);
    const float w = FontTextWidth(font, u"Options");
    const float h = font->cellHeight;
    ASSERT_GT(w, 0);
    const float lefts[3] = {400, 400 - w / 2, 400 - w};
    for (int align = 0; align < 3; ++align) {
        t->horizAlign = align;
        t->VarsChanged();
        EXPECT_FLOAT_EQ(t->rect.left, lefts[align]) << align;
        EXPECT_FLOAT_EQ(t->rect.right, lefts[align] + w) << align;
        EXPECT_FLOAT_EQ(t->rect.top, 300);
        EXPECT_FLOAT_EQ(t->rect.bottom, 300 + h);
    }
    auto* t2 = MakeText<TextButton2>("TextButton2", u"Options", 400, 300);
    for (int align = 0; align < 3; ++align) {
        t2->horizAlign = align;
        t2->VarsChanged();
        EXPECT_FLOAT_EQ(t2->rect.left, 400) << align;
        EXPECT_FLOAT_EQ(t2->rect.right, 400 + w) << align;
    }
}

TEST_F(TextButtonTest, CheckBoxesPrefixTheirLabelWithoutOverrun) {
    auto* box = MakeText<TextCheckBox>("TextCheckBox", u"Music", 100, 100);
    ASSERT_TRUE(box);
    EXPECT_EQ(std::u16string(box->DrawnText()), u"O Music");
    box->checked = 1;
    EXPECT_EQ(std::u16string(box->DrawnText()), u"X Music");
    const std::u16string longest(255, u'm');
    box->SetTextW(longest.c_str());
    EXPECT_EQ(std::u16string(box->DrawnText()), u"X " + longest);
    const std::u16string longer(400, u'n');
    box->liveText = longer.c_str();
    EXPECT_EQ(std::u16string(box->DrawnText()).size(), 257u) << "a long live text is cut";
    box->liveText = nullptr;
    Step(); // draws the longest text (AddressSanitizer watches)
}

TEST_F(TextButtonTest, WithoutAFontNothingIsDrawn) {
    auto* t = Make<TextButton>("TextButton");
    auto* c = Make<GraphicCheckBox>("GraphicCheckBox");
    ASSERT_TRUE(t && c);
    EXPECT_EQ(t->DrawPre(), 0);
    EXPECT_EQ(c->DrawPre(), 0);
}

TEST_F(TextButtonTest, GraphicCheckBoxPlacesBoxAndLabel) {
    auto* c = MakeText<GraphicCheckBox>("GraphicCheckBox", u"Sound", 200, 300);
    ASSERT_TRUE(c);
    FontSetScale(font, 1, 1);
    const float label = FontTextWidth(font, u"Sound"), space = FontTextWidth(font, u" ");
    const float total = std::floor(22 + label + space);
    EXPECT_FLOAT_EQ(c->rect.right - c->rect.left, total);
    EXPECT_FLOAT_EQ(c->rect.bottom - c->rect.top, 20);
    EXPECT_EQ(c->Frame(), 0);
    c->checked = 1, c->state = 1;
    EXPECT_EQ(c->Frame(), 5) << "checked frames are 4 further";

    float bx, by, lx, ly;
    c->Place(&bx, &by, &lx, &ly);
    EXPECT_FLOAT_EQ(bx, 200) << "textAlign 2: the box first";
    EXPECT_FLOAT_EQ(lx, 200 + 22 + space);
    EXPECT_FLOAT_EQ(by + 20, 300 + font->cellHeight) << "the box's bottom sits one line down";

    c->textAlign = 0;
    c->Place(&bx, &by, &lx, &ly);
    EXPECT_FLOAT_EQ(lx, 200) << "textAlign 0: the label first";
    EXPECT_FLOAT_EQ(bx, 200 + total - 22);

    c->textAlign = 1;
    c->horizAlign = 2;
    c->VarsChanged();
    EXPECT_FLOAT_EQ(c->rect.right, 200) << "hAlign 2 ends the rectangle at the position";
    c->Place(&bx, &by, &lx, &ly);
    EXPECT_FLOAT_EQ(lx, 200 - total) << "textAlign 1 with hAlign 2 puts the label first";
    c->horizAlign = 1;
    c->VarsChanged();
    EXPECT_EQ(c->horizAlign, 0) << "hAlign 1 is turned into 0";
}

// The menus find their fonts by title; the game object holds them. A control must keep its font
// when that holder lets go (the game object destroyed while the menus stay).
TEST_F(TextButtonTest, AControlKeepsAFontFoundByTitleAfterItsHolderLetsGo) {
    Font* held = UiAcquireFont("Georgia_26");
    ASSERT_TRUE(held);
    const int before = held->refCount;
    auto* t = Make<TextButton>("TextButton");
    ASSERT_TRUE(t);
    t->SetFont(FontFind("Georgia_26"));
    t->SetTextW(u"Play");
    t->SetPos2D(100, 100);
    t->Start();
    for (int i = 0; i < before; ++i)
        SharedObjRelease(held);
    Step();
    EXPECT_GT(t->font->cellHeight, 0.0f);
    t->SetFont(nullptr);
}
