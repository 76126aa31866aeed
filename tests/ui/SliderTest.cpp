// The slider as the player drives it, in the running game with the control kit's settings: its
// layout, mouse clicks and drags, held keys, and the broken inputs it must shrug off (no track,
// NaN or far-away pointers, no font).
#include "tests/harness/UiHarness.h"

#include "I3d/Font.h"
#include "engine/Input/SlInput.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/Slider.h"
#include "ui/TextButton.h"

#include <cmath>
#include <limits>

namespace {
using Events = std::vector<std::pair<intptr_t, intptr_t>>;

class SliderTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        StartUi();
        font = UiAcquireFont("Georgia_14");
        ASSERT_TRUE(font);
    }
    void TearDown() override {
        if (font) SharedObjRelease(font);
        UiTest::TearDown();
    }
    // As the control kit makes one: right-aligned, a 200-unit track as high as a line, one space
    // between label and track.
    Slider* MakeSlider(int id, float x, float y, const char16_t* label = u"Music Volume") {
        auto* s = Make<Slider>("Slider");
        if (!s) return nullptr;
        s->id = id;
        s->SetTextW(label);
        s->SetFont(font);
        s->horizAlign = 2;
        s->SetTrackLength(200);
        s->SetKnobHeight(Ctl3LineHeight(s));
        s->SetLabelGap(FontTextWidth(font, u" "));
        s->SetPos2D(x, y);
        s->Start();
        return s;
    }
    void Click(float x, float y) { ClickAt(x, y); }
    int Changes(int id) const {
        int n = 0;
        for (auto [who, code] : ControlEvents())
            n += who == id && code == CTL3_CLICK;
        return n;
    }
    Font* font = nullptr;
};
} // namespace

TEST_F(SliderTest, TheLayoutEndsAtThePositionWithTheTrackAtTheRight) {
    Slider* s = MakeSlider(1, 800, 300);
    ASSERT_TRUE(s);
    FontSetScale(font, 1, 1);
    const float label = std::trunc(FontTextWidth(font, u"Music Volume"));
    const float gap = std::trunc(FontTextWidth(font, u" "));
    const float total = label + gap + 200;
    EXPECT_FLOAT_EQ(s->totalWidth, total);
    EXPECT_FLOAT_EQ(s->rect.left, 800 - total);
    EXPECT_FLOAT_EQ(s->rect.top, 300);
    EXPECT_FLOAT_EQ(s->rect.right, 800);
    EXPECT_FLOAT_EQ(s->rect.bottom, 300 + std::trunc(font->cellHeight));
    EXPECT_FLOAT_EQ(s->trackLeft, 600);
    EXPECT_FLOAT_EQ(s->trackRight, 800);

    s->SetTrackAlign(2);
    s->VarsChanged();
    EXPECT_FLOAT_EQ(s->trackLeft, s->rect.left) << "track alignment 2 puts it at the left end";
    EXPECT_FLOAT_EQ(s->trackRight, s->rect.left + 200);

    s->horizAlign = 1;
    s->VarsChanged();
    EXPECT_EQ(s->horizAlign, 0) << "centring is not offered";
    EXPECT_FLOAT_EQ(s->rect.left, 800);
    EXPECT_FLOAT_EQ(s->rect.right, 800 + total);
}

// The label is the wide label of 255 units, not the 31-character name.
TEST_F(SliderTest, LongLabelsAreMeasuredWhole) {
    const char16_t* text = u"Patron Visibility at the far end of the midway";
    Slider* s = MakeSlider(1, 900, 300, text);
    ASSERT_TRUE(s);
    FontSetScale(font, 1, 1);
    EXPECT_FLOAT_EQ(s->labelWidth, FontTextWidth(font, text));
    EXPECT_GT(s->labelWidth, FontTextWidth(font, s->name)) << "the label was cut to the name";
}

TEST_F(SliderTest, AClickOnTheTrackSetsTheValueAndPostsOneChange) {
    Slider* s = MakeSlider(4, 800, 300);
    ASSERT_TRUE(s);
    Click(650, 305);
    EXPECT_FLOAT_EQ(s->GetValue(), 0.25f);
    EXPECT_EQ(ControlEvents(), (Events{{4, CTL3_FOCUS}, {4, CTL3_CLICK}}));

    Forget();
    Click(560, 305); // on the label, left of the track
    EXPECT_FLOAT_EQ(s->GetValue(), 0.25f) << "a click left of the track changed the value";
    EXPECT_EQ(Changes(4), 0);
}

TEST_F(SliderTest, ADragFollowsThePointerUntilItLeavesTheSlider) {
    Slider* s = MakeSlider(4, 800, 300);
    ASSERT_TRUE(s);
    MouseMove(650, 305);
    Step();
    MouseButton(true);
    Step();
    for (float x : {750.0f, 700.0f}) {
        MouseMove(x, 305);
        Step();
        EXPECT_FLOAT_EQ(s->GetValue(), (x - 600) / 200);
    }
    MouseMove(700, 250); // above it, the button still held
    Step();
    EXPECT_EQ(s->state, CTL3_NORMAL);
    EXPECT_FLOAT_EQ(s->GetValue(), 0.5f) << "leaving kept the value";
    MouseMove(780, 305); // back in, button still down: the drag is over
    Step();
    EXPECT_EQ(s->state, CTL3_FOCUSED);
    EXPECT_FLOAT_EQ(s->GetValue(), 0.5f) << "the drag went on after the pointer left";
    MouseButton(false);
    Step();
    EXPECT_EQ(Changes(4), 3) << "one change per value set: the click and two moves";
}

// Half the range per second of real time, from 0 to 1 in 2 s, clamped; a change posted every
// frame the key is held, also at the clamp.
TEST_F(SliderTest, HoldingRightRunsTheValueUpInTwoSeconds) {
    Slider* s = MakeSlider(4, 800, 300);
    ASSERT_TRUE(s);
    Ctl3SetFocus(s);
    Step();
    Forget();
    Key(SDL_SCANCODE_RIGHT, true);
    int frames = 0;
    while (s->GetValue() < 1.0f && frames < 200) {
        Step();
        ++frames;
    }
    EXPECT_NEAR(frames, 100, 1) << "2 s in 20 ms frames";
    Step(25);
    frames += 25;
    EXPECT_FLOAT_EQ(s->GetValue(), 1.0f);
    EXPECT_NEAR(Changes(4), frames, 1) << "one change per frame the key was held";
    Key(SDL_SCANCODE_RIGHT, false);
    Step();
    Forget();
    Step(5);
    EXPECT_EQ(Changes(4), 0) << "the key is up";
    EXPECT_EQ(s->keyDirection, 0);

    Key(SDL_SCANCODE_LEFT, true);
    Step(10);
    Key(SDL_SCANCODE_LEFT, false);
    Step();
    EXPECT_NEAR(s->GetValue(), 0.9f, 0.011f);
}

TEST_F(SliderTest, LeftAndRightStayOnTheFocusedSliderWhileUpAndDownMove) {
    Slider* a = MakeSlider(1, 800, 300);
    Slider* b = MakeSlider(2, 800, 400);
    ASSERT_TRUE(a && b);
    a->SetNavLinks(nullptr, b, b, b);
    b->SetNavLinks(a, nullptr, a, a);
    Ctl3SetFocus(a);
    Step();
    Tap(SDL_SCANCODE_RIGHT);
    EXPECT_TRUE(Ctl3IsFocused(a)) << "right moved the focus off the slider";
    Tap(SDL_SCANCODE_LEFT);
    EXPECT_TRUE(Ctl3IsFocused(a)) << "left moved the focus off the slider";
    Tap(SDL_SCANCODE_DOWN);
    EXPECT_TRUE(Ctl3IsFocused(b));
    Tap(SDL_SCANCODE_UP);
    EXPECT_TRUE(Ctl3IsFocused(a));
}

// An unfocused slider lets left and right pass on to the focused control behind it.
TEST_F(SliderTest, AnUnfocusedSliderLetsLeftAndRightPass) {
    Slider* s = MakeSlider(1, 800, 300);
    auto* one = Make<TextButton>("TextButton");
    auto* two = Make<TextButton>("TextButton");
    ASSERT_TRUE(s && one && two);
    for (TextButton* t : {one, two}) {
        t->SetFont(font);
        t->SetText("Button");
    }
    one->SetPos2D(100, 500);
    two->SetPos2D(300, 500);
    one->Start();
    two->Start();
    one->SetNavLinks(nullptr, nullptr, nullptr, two);
    Ctl3SetFocus(one);
    Step();
    Key(SDL_SCANCODE_RIGHT, true);
    Step();
    EXPECT_TRUE(Ctl3IsFocused(two)) << "the slider swallowed an arrow it had no focus for";
    EXPECT_EQ(s->keyDirection, 0);
    Key(SDL_SCANCODE_RIGHT, false);
    Step(3);
    EXPECT_FLOAT_EQ(s->GetValue(), 0.0f);
}

// With no track length (any screen or script can set it) a click or drag has no position to
// take: nothing changes and no NaN is posted. Values written are clamped, NaN refused.
TEST_F(SliderTest, NoTrackLengthLeavesTheValueAlone) {
    Slider* s = MakeSlider(4, 800, 300);
    ASSERT_TRUE(s);
    s->SetValue(0.4f);
    s->SetTrackLength(0);
    s->VarsChanged();
    EXPECT_FLOAT_EQ(s->trackLeft, s->trackRight);
    Click(800, 305); // on the track's single point
    MouseButton(true);
    Step();
    MouseMove(799, 306);
    Step();
    MouseButton(false);
    Step();
    EXPECT_FLOAT_EQ(s->GetValue(), 0.4f);
    s->SetTrackLength(-50);
    s->VarsChanged();
    Click(790, 305);
    EXPECT_FLOAT_EQ(s->GetValue(), 0.4f);
    EXPECT_EQ(Changes(4), 0);

    EXPECT_FALSE(s->SetValue(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FLOAT_EQ(s->GetValue(), 0.4f);
    EXPECT_TRUE(s->SetValue(3.0f));
    EXPECT_FLOAT_EQ(s->GetValue(), 1.0f);
    EXPECT_TRUE(s->SetValue(-std::numeric_limits<float>::infinity()));
    EXPECT_FLOAT_EQ(s->GetValue(), 0.0f);
}

TEST_F(SliderTest, NaNOrFarAwayPointersNeitherHoverNorChange) {
    Slider* s = MakeSlider(4, 800, 300);
    ASSERT_TRUE(s);
    s->SetValue(0.5f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float far[][2] = {{nan, 305}, {700, nan}, {1e30f, 305}, {-1e30f, -1e30f}};
    for (const auto& p : far) {
        SlPostEvent(SL_MOUSEPOS, SlPackFloat(p[0]), SlPackFloat(p[1]));
        Step();
        EXPECT_FALSE(s->hovered);
        EXPECT_EQ(s->state, CTL3_NORMAL);
        SlPostEvent(SL_MOUSE0DOWN, 0, 0);
        Step();
        SlPostEvent(SL_MOUSE0UP, 0, 0);
        Step();
    }
    EXPECT_FLOAT_EQ(s->GetValue(), 0.5f);
    EXPECT_EQ(Changes(4), 0);
}

TEST_F(SliderTest, WithoutAFontNothingIsDrawnOrHit) {
    auto* s = Make<Slider>("Slider");
    ASSERT_TRUE(s);
    s->id = 4;
    s->SetTextW(u"Sound Volume");
    s->SetTrackLength(200);
    s->SetKnobHeight(20);
    s->SetPos2D(600, 300);
    s->Start();
    EXPECT_FLOAT_EQ(s->rect.right - s->rect.left, 0.0f);
    Click(600, 300);
    Click(700, 310);
    EXPECT_FALSE(s->hovered);
    EXPECT_FLOAT_EQ(s->GetValue(), 0.0f);
    EXPECT_TRUE(ControlEvents().empty());
    const std::vector<uint32_t> pixels = ReadPixels();
    int drawn = 0;
    for (int y = 290; y < 330; ++y)
        for (int x = 590; x < 820; ++x)
            drawn += PixelAt(pixels, x, y) != PixelAt(pixels, 5, 5);
    EXPECT_EQ(drawn, 0);
}
