// The press, release and click protocol of buttons driven by the mouse and the keyboard as the
// player drives them: SDL events into the game's frames, control events read by the test menu.
#include "tests/harness/UiHarness.h"

#include "engine/Input/SlInput.h"
#include "ui/Ctl3State.h"
#include "ui/GraphicButton.h"
#include "ui/IncDecArt.h"
#include "ui/IncDecButton.h"
#include "ui/TextButton2.h"

#include <climits>
#include <cmath>

namespace {
using Events = std::vector<std::pair<intptr_t, intptr_t>>;

class ButtonInputTest : public UiTest {
  protected:
    GraphicButton* MakeOk(int id, float x = 300, float y = 200) {
        auto* b = Make<GraphicButton>("GraphicButton");
        if (!b) return nullptr;
        b->id = id;
        std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s",
                      "Menu\\Common\\ZobButtonOk.dds");
        b->image.left = 0, b->image.top = 0, b->image.right = 96, b->image.bottom = 56;
        b->SetPos2D(x, y);
        b->Start();
        return b;
    }
    void Click(float x, float y) { ClickAt(x, y); }
};
} // namespace

TEST_F(ButtonInputTest, AMouseClickFocusesPressesReleasesAndClicksInOrder) {
    StartUi();
    GraphicButton* b = MakeOk(5);
    ASSERT_TRUE(b);
    EXPECT_FLOAT_EQ(b->rect.left, 300);
    EXPECT_FLOAT_EQ(b->rect.top, 200);
    EXPECT_FLOAT_EQ(b->rect.right, 397) << "the cell is 97 pixels wide, both ends included";
    EXPECT_FLOAT_EQ(b->rect.bottom, 257);
    Click(320, 220);
    EXPECT_EQ(ControlEvents(), (Events{{5, 3}, {5, 1}, {5, 2}, {5, 0}}));
    EXPECT_EQ(b->state, CTL3_FOCUSED);
}

TEST_F(ButtonInputTest, PressingOutsideOrLeavingWhilePressedNeverClicks) {
    StartUi();
    GraphicButton* b = MakeOk(5);
    MouseMove(10, 10);
    Step();
    MouseButton(true);
    Step();
    MouseMove(320, 220);
    Step();
    MouseButton(false);
    Step();
    EXPECT_EQ(ControlEvents(), (Events{{5, 3}, {5, 2}})) << "no press and no click";

    Forget();
    MouseButton(true);
    Step();
    ASSERT_EQ(b->state, CTL3_PRESSED);
    MouseMove(600, 600);
    Step();
    EXPECT_EQ(b->state, CTL3_NORMAL) << "leaving a pressed button lets it go";
    MouseButton(false);
    Step();
    EXPECT_EQ(ControlEvents(), (Events{{5, 1}})) << "releasing outside posts nothing";
}

TEST_F(ButtonInputTest, EnterPressesOnItsDownAndClicksOnItsUp) {
    StartUi();
    GraphicButton* b = MakeOk(7);
    Ctl3SetFocus(b);
    Step();
    Forget();
    Key(SDL_SCANCODE_RETURN, true);
    Step();
    EXPECT_EQ(ControlEvents(), (Events{{7, 1}}));
    Key(SDL_SCANCODE_RETURN, false);
    Step();
    EXPECT_EQ(ControlEvents(), (Events{{7, 1}, {7, 2}, {7, 0}}));
}

TEST_F(ButtonInputTest, ArrowsFollowLinksOnlyWhileNavigationIsOn) {
    StartUi();
    GraphicButton* a = MakeOk(0, 100, 100);
    GraphicButton* b = MakeOk(1, 300, 100);
    GraphicButton* lonely = MakeOk(2, 500, 100);
    a->SetNavLinks(nullptr, nullptr, nullptr, b);
    Ctl3SetEnabled(b, false);
    Ctl3SetVisible(b, false);
    Ctl3SetFocus(a);
    Step();
    Forget();

    // The move's event: type 1 and consumed, so nothing behind the menus sees the arrow.
    SlEvent right{SL_MENURIGHT, 0, 0, 0};
    EXPECT_EQ(a->OnMessage(&right), 0);
    EXPECT_EQ(right.type, 1);
    EXPECT_EQ(Ctl3GetFocus(), b) << "a disabled, hidden neighbour still takes the focus";
    SlEvent left{SL_MENULEFT, 0, 0, 0};
    EXPECT_EQ(b->OnMessage(&left), 1) << "no link: the event goes on";
    EXPECT_EQ(lonely->OnMessage(&right), 1) << "only the focus control moves the focus";

    Ctl3SetEnabled(b, true);
    Ctl3SetFocus(a);
    Step();
    Forget();
    Ctl3SetNavEnabled(false);
    Tap(SDL_SCANCODE_RIGHT);
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Ctl3GetFocus(), a);
    EXPECT_TRUE(ControlEvents().empty()) << "arrows and Enter reach no control";
    Click(320, 120);
    EXPECT_EQ(ControlEvents(), (Events{{1, 3}, {1, 1}, {1, 2}, {1, 0}})) << "the mouse still works";
}

TEST_F(ButtonInputTest, ToggleRadioAndGroups) {
    StartUi();
    GraphicButton* a = MakeOk(0, 100, 100);
    GraphicButton* b = MakeOk(1, 300, 100);
    GraphicButton* c = MakeOk(2, 500, 100);
    Click(120, 120);
    Click(120, 120);
    EXPECT_EQ(a->checked, 0) << "a toggle clicked twice ends unchecked";

    a->radioGroup = b->radioGroup = 4;
    a->SetRadioMode(true);
    b->SetRadioMode(true);
    Click(120, 120);
    Click(120, 120);
    EXPECT_EQ(a->checked, 1) << "a radio button clicked twice stays checked";
    Click(320, 120);
    EXPECT_EQ(b->checked, 1);
    EXPECT_EQ(a->checked, 0) << "another member of the group unchecks it";

    c->checked = 1;
    Ctl3ClearRadioGroup(c);
    EXPECT_EQ(c->checked, 1) << "group -1 clears nothing";
    Ctl3SetChecked(a, true);
    EXPECT_EQ(a->checked, 1);
    EXPECT_EQ(b->checked, 0) << "setting a check clears the group first";

    // A release without a press (state 1) is no click and changes no check.
    Ctl3SetFocus(c);
    Step();
    Forget();
    c->Release();
    EXPECT_EQ(c->checked, 1);
    Step();
    EXPECT_EQ(ControlEvents(), (Events{{2, 2}}));
}

TEST_F(ButtonInputTest, ControlIdMinusOneStillPosts) {
    StartUi();
    MakeOk(-1);
    Click(320, 220);
    EXPECT_EQ(ControlEvents(), (Events{{-1, 3}, {-1, 1}, {-1, 2}, {-1, 0}}));
}

TEST_F(ButtonInputTest, PointerPositionsOffTheScreenOrNaNHoverNothing) {
    StartUi();
    GraphicButton* b = MakeOk(3);
    for (float v : {-5000.0f, 1e30f, NAN, -NAN}) {
        SlEvent move{SL_MOUSEPOS, SlPackFloat(v), SlPackFloat(v), 0};
        b->OnMessage(&move);
        EXPECT_EQ(b->hovered, 0) << v;
        EXPECT_EQ(b->state, CTL3_NORMAL) << v;
    }
}

TEST_F(ButtonInputTest, ACaptureElsewhereBlocksNavigationButNotTheMouse) {
    StartUi();
    GraphicButton* a = MakeOk(0, 100, 100);
    GraphicButton* b = MakeOk(1, 300, 100);
    GraphicButton* holder = MakeOk(2, 500, 500);
    a->SetNavLinks(nullptr, nullptr, nullptr, b);
    Ctl3SetFocus(a);
    Ctl3SetCapture(holder);
    Tap(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(Ctl3GetFocus(), a);
    Forget();
    Click(320, 120);
    EXPECT_EQ(ControlEvents(), (Events{{1, 3}, {1, 1}, {1, 2}, {1, 0}}));
    EXPECT_EQ(Ctl3GetCapture(), nullptr) << "a press releases the capture";
}

// A destroyed control must leave no pointer behind: the capture (the next press would call into
// freed memory) and its neighbours' links (the next arrow would focus it).
TEST_F(ButtonInputTest, ADestroyedControlLeavesNoCaptureFocusOrLinksBehind) {
    StartUi();
    GraphicButton* a = MakeOk(0, 100, 100);
    GraphicButton* b = MakeOk(1, 300, 100);
    GraphicButton* editor = MakeOk(2, 500, 500);
    a->SetNavLinks(nullptr, nullptr, nullptr, b);
    b->SetNavLinks(nullptr, nullptr, a, nullptr);
    Ctl3SetFocus(editor);
    Ctl3SetCapture(editor);
    EntDestroyTree(editor);
    EXPECT_EQ(Ctl3GetCapture(), nullptr);
    EXPECT_EQ(Ctl3GetFocus(), nullptr);
    Tap(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(Ctl3GetFocus(), nullptr) << "with the focus control gone, arrows move nothing";

    Click(120, 120); // a press with no capture to release
    ASSERT_EQ(Ctl3GetFocus(), a);
    Tap(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(Ctl3GetFocus(), b) << "navigation works again";
    Tap(SDL_SCANCODE_LEFT);
    ASSERT_EQ(Ctl3GetFocus(), a);

    EntDestroyTree(b);
    EXPECT_EQ(a->navLinks[3], nullptr);
    Tap(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(Ctl3GetFocus(), a) << "the arrow towards the destroyed neighbour moves nothing";
}

// The focus highlight follows its target over the controls' frames and draws as a 2-unit bar
// along its bottom edge.
TEST_F(ButtonInputTest, TheFocusHighlightGlidesToItsTargetAndDrawsABarAtItsBottom) {
    StartUi();
    ASSERT_TRUE(MakeOk(0, 100, 100)); // a control whose update advances the highlight
    Ctl3HighlightSetTarget(200, 300, 500, 340);
    Step(200);
    EXPECT_NEAR(g_ctl3Highlight.left.value, 200.0f, 0.5f);
    EXPECT_NEAR(g_ctl3Highlight.bottom.value, 340.0f, 0.5f);
    auto* probe = dynamic_cast<DrawProbe*>(EntCreateChild("DrawProbe", menu));
    ASSERT_TRUE(probe);
    probe->draw = [] { Ctl3HighlightDraw(); };
    g_ctl3Highlight.update = 0; // hold it still for the read
    g_ctl3Highlight.left.SetImmediate(200);
    g_ctl3Highlight.right.SetImmediate(500);
    g_ctl3Highlight.bottom.SetImmediate(340);
    Step();
    const std::vector<uint32_t> pixels = ReadPixels();
    const uint32_t background = PixelAt(pixels, 350, 320);
    EXPECT_NE(PixelAt(pixels, 350, 339), background) << "no bar at the bottom edge";
    EXPECT_EQ(PixelAt(pixels, 350, 336), background) << "the bar is 2 units high";
    EXPECT_EQ(PixelAt(pixels, 195, 339), background) << "the bar starts at the left edge";
    g_ctl3Highlight.update = 1;
    EntDestroyTree(probe);
}

TEST_F(ButtonInputTest, IncDecStepsByHalfWithinItsRangeAndIgnoresKeys) {
    StartUi();
    auto* v = Make<IncDecButton>("IncDecButton");
    ASSERT_TRUE(v);
    v->id = 9;
    v->SetPos2D(100, 100);
    v->Start();
    EXPECT_FLOAT_EQ(v->rect.right - v->rect.left, 96);
    EXPECT_FLOAT_EQ(v->rect.bottom - v->rect.top, 28);

    v->value = 7;
    Click(150, 105);
    EXPECT_EQ(v->value, 7) << "the default range lets the value move nowhere";

    v->step = 5, v->minimum = 0, v->maximum = 20, v->value = 18;
    Click(150, 105);
    EXPECT_EQ(v->value, 18) << "18 + 5 is above 20";
    v->value = 10;
    Click(150, 105);
    EXPECT_EQ(v->value, 15) << "the upper half increments";
    Click(150, 125);
    EXPECT_EQ(v->value, 10) << "the lower half decrements";
    EXPECT_EQ(v->checked, 0) << "a click leaves checked as it was";

    Ctl3SetFocus(v);
    Tap(SDL_SCANCODE_RETURN);
    Tap(SDL_SCANCODE_UP);
    EXPECT_EQ(v->value, 10);

    // No signed overflow, whatever the step and value (UBSan watches).
    v->step = INT_MAX, v->minimum = INT_MIN, v->maximum = INT_MAX, v->value = INT_MAX - 1;
    v->Step(1);
    EXPECT_EQ(v->value, INT_MAX - 1);
    v->value = INT_MIN + 1;
    v->Step(-1);
    EXPECT_EQ(v->value, INT_MIN + 1);
    v->step = 1;
    v->Step(-1);
    EXPECT_EQ(v->value, INT_MIN);
}

// The pointer stays where it was while a value box is made under it: the next click steps the
// half it is over, as after a move.
TEST_F(ButtonInputTest, AValueBoxMadeUnderAStillPointerTakesTheNextClick) {
    StartUi();
    MouseMove(150, 125);
    Step();
    auto* v = Make<IncDecButton>("IncDecButton");
    ASSERT_TRUE(v);
    v->SetPos2D(100, 100);
    v->Start();
    v->step = 5, v->minimum = 0, v->maximum = 20, v->value = 10;
    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
    EXPECT_EQ(v->value, 5) << "the press on the lower half under the still pointer was lost";
}

TEST_F(ButtonInputTest, LabelsAreCutAndUnknownClassesMakeNothing) {
    StartUi();
    auto* t = Make<TextButton2>("TextButton2");
    ASSERT_TRUE(t);
    std::string longText(300, 'w');
    t->SetText(longText.c_str());
    EXPECT_EQ(std::u16string(t->label).size(), 255u);
    EXPECT_STREQ(t->name, std::string(31, 'w').c_str()) << "the name keeps 31 characters";
    EXPECT_EQ(EntCreateChild("NoSuchButton", menu), nullptr);
}
