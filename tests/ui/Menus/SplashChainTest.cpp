// The opening splash chain on the running game: its timings at 1/60 s frames, its fades, its
// pictures, what skips a splash and what does not, and a chain whose next screen cannot be made.
#include "tests/ui/Menus/FrontEndStandIns.h"

#include "engine/Input/SlInput.h"
#include "ui/Menus/MenuChainSplash.h"
#include "ui/StaticGraphic.h"
#include "world/CursorFrame.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {
class SplashChainTest : public FrontEndTest {
  protected:
    std::string ScreenClass() {
        Menu3Base* s = Screen();
        return s ? s->GetTypeName() : "";
    }
    static void PushButton(uint8_t button) {
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = button;
        e.button.state = SDL_PRESSED;
        SDL_PushEvent(&e);
    }
};

TEST_F(SplashChainTest, EachSplashLastsItsTimeAndFadesLinearlyThenTheMainMenuOpens) {
    StartWith("MenuPublisher");
    std::map<std::string, int> frames;
    std::vector<float> publisherAlpha;
    std::vector<int32_t> publisherPhase;
    for (int i = 0; i < 20 * 60 && ScreenClass() != "MenuMain"; ++i) {
        const std::string before = ScreenClass();
        if (before == "MenuPublisher") {
            auto* s = static_cast<MenuChainSplash*>(Screen());
            publisherAlpha.push_back(s->alpha);
            publisherPhase.push_back(s->phase);
        }
        ++frames[before];
        StepSixtieth();
    }
    ASSERT_EQ(ScreenClass(), "MenuMain") << "the chain did not reach the main menu in 20 s";
    // 1/60 s frames; the phases end when their timers fall below 0, and the advance takes a
    // frame of its own, so a splash may run a frame or two over.
    EXPECT_NEAR(frames["MenuPublisher"], 360, 2) << "1 + 4 + 1 s";
    EXPECT_NEAR(frames["MenuTolvane"], 240, 2) << "1 + 2 + 1 s: its Create writes the 2 s hold";
    EXPECT_NEAR(frames["MenuEsrb"], 360, 2) << "1 + 4 + 1 s";
    const std::string log = LogText();
    const size_t p = log.find("Menu: PublisherSplash (MenuPublisher)");
    const size_t t = log.find("Menu: PublisherSplash (MenuTolvane)");
    const size_t e = log.find("Menu: PublisherSplash (MenuEsrb)");
    const size_t m = log.find("Menu: MainMenu (MenuMain)");
    ASSERT_NE(m, std::string::npos) << log;
    EXPECT_TRUE(p < t && t < e && e < m) << "the splashes came out of order";

    // The fade: rising by the frame's share of a second, exactly 1.0 while held, exactly 0.0 at
    // the end.
    ASSERT_GT(publisherAlpha.size(), 300u);
    for (size_t i = 2; i + 1 < publisherAlpha.size(); ++i) {
        if (publisherPhase[i] == SPLASH_FADE_IN && publisherPhase[i - 1] == SPLASH_FADE_IN) {
            EXPECT_NEAR(publisherAlpha[i] - publisherAlpha[i - 1], 1.0f / 60.0f, 1.5e-3f) << i;
        }
        if (publisherPhase[i] == SPLASH_HOLD) {
            EXPECT_EQ(publisherAlpha[i], 1.0f) << i;
        }
        if (publisherPhase[i] == SPLASH_FADE_OUT && publisherPhase[i - 1] == SPLASH_FADE_OUT) {
            EXPECT_NEAR(publisherAlpha[i - 1] - publisherAlpha[i], 1.0f / 60.0f, 1.5e-3f) << i;
        }
    }
    EXPECT_EQ(publisherPhase.back(), SPLASH_DONE);
    EXPECT_EQ(publisherAlpha.back(), 0.0f);
}

TEST_F(SplashChainTest, ASplashShowsBlackAndItsPictureWithoutACursor) {
    StartWith("MenuPublisher");
    g_cursorFrameIndex = 1; // the harness hides it for its own menu
    Press(SDL_SCANCODE_SPACE);
    ASSERT_EQ(ScreenClass(), "MenuTolvane");
    EXPECT_EQ(g_cursorFrameIndex, -1) << "a splash hides the cursor";
    ENTBASE* s = Screen();
    auto* black = dynamic_cast<StaticGraphic*>(EntTreeFindName(s, "Black"));
    auto* picture = dynamic_cast<StaticGraphic*>(EntTreeFindName(s, "Background"));
    ASSERT_TRUE(black && picture);
    EXPECT_EQ(black->colour, 0xFF000000u);
    EXPECT_STREQ(black->textureName, "");
    EXPECT_STREQ(picture->textureName, "Menu\\TolvaneSplash.dds");
    EXPECT_EQ(picture->uv.bottom, 0.75f);
    EXPECT_GE(picture->slot, 0) << "the generated splash did not load";
    EXPECT_EQ(Ctl3GetFocus(), picture);
    EXPECT_STREQ(s->GetName(), "PublisherSplash");
}

// The script runs after the timings are written: a script that asks for no fade-in gets it.
TEST_F(SplashChainTest, TheScriptMayChangeTheTimings) {
    ShadowDataFile("Menu/MenuPublisher.lua",
                   "function Create (menu) Entity.SetFloat (menu, \"fadeInDuration\", 0) end\n");
    StartWith("MenuPublisher");
    auto* s = dynamic_cast<MenuChainSplash*>(Screen());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->fadeInDuration, 0.0f);
    EXPECT_EQ(s->phase, SPLASH_HOLD);
    EXPECT_EQ(s->alpha, 1.0f) << "no fade-in: full brightness from the start";
}

TEST_F(SplashChainTest, OnePressSkipsExactlyOneSplash) {
    StartWith("MenuPublisher");
    StepSixtieth(10);
    Press(SDL_SCANCODE_SPACE);
    EXPECT_EQ(ScreenClass(), "MenuTolvane") << "Space during the fade-in";
    // Enter posts a raw key down and the select event in the same frame: the new splash's
    // creation empties the queue, so the second does not skip it too.
    Press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(ScreenClass(), "MenuEsrb");
    EXPECT_EQ(LogCount("Menu: PublisherSplash (MenuEsrb)"), 1);
    EXPECT_EQ(LogCount("Menu: MainMenu (MenuMain)"), 0);
}

TEST_F(SplashChainTest, MouseButtonsAndThePadSkipButMovesUpsAndTheWheelDoNot) {
    StartWith("MenuPublisher");
    StepSixtieth();
    Key(SDL_SCANCODE_A, false);
    MouseMove(100, 100);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = 1;
    SDL_PushEvent(&wheel);
    StepSixtieth(2);
    EXPECT_EQ(ScreenClass(), "MenuPublisher") << "a key up, a move or the wheel skipped";

    const char* order[] = {"MenuTolvane", "MenuEsrb", "MenuMain"};
    const uint8_t buttons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE};
    for (int i = 0; i < 3; ++i) {
        PushButton(buttons[i]);
        StepSixtieth();
        EXPECT_EQ(ScreenClass(), order[i]) << "mouse button " << int(buttons[i]);
    }
}

TEST_F(SplashChainTest, APadsStartButtonSkipsAndAFullQueueKeepsTheLatestPress) {
    StartWith("MenuPublisher");
    StepSixtieth();
    SlPostEvent(SL_PADSTART, 0, 0);
    StepSixtieth();
    EXPECT_EQ(ScreenClass(), "MenuTolvane");
    // 40 events in one frame: the oldest are dropped, the press at the end is kept.
    for (int i = 0; i < 39; ++i)
        SlPostEvent(SL_MOUSEWHEEL, 120, 0);
    SlPostEvent(SL_KEYDOWN, 57, 0);
    StepSixtieth();
    EXPECT_EQ(ScreenClass(), "MenuEsrb");
}

// A next screen that cannot be made: the splash says so once, stays, and tries again on a press.
TEST_F(SplashChainTest, ASplashWhoseNextScreenCannotBeMadeHoldsAndSaysSoOnce) {
    extraFirst = [] { RegisterRefusedClass("MenuTolvane"); };
    StartWith("MenuPublisher");
    StepSixtieth(7 * 60);
    ASSERT_EQ(ScreenClass(), "MenuPublisher") << "the splash went with nothing after it";
    auto* s = static_cast<MenuChainSplash*>(Screen());
    EXPECT_EQ(s->phase, SPLASH_DONE);
    Press(SDL_SCANCODE_SPACE);
    Press(SDL_SCANCODE_SPACE);
    EXPECT_EQ(ScreenClass(), "MenuPublisher");
    EXPECT_EQ(LogCount("MenuPublisher: cannot open MenuTolvane\n"), 1);
}
} // namespace

namespace {
// On the headless device: the splash's picture at half brightness half way through its fade-in,
// and at full brightness while it holds.
TEST_F(SplashChainTest, ThePictureFadesInOnScreen) {
    StartWith("MenuPublisher");
    auto* s = dynamic_cast<MenuChainSplash*>(Screen());
    ASSERT_TRUE(s);
    const uint32_t fill = 0xFF2848A0u; // the generated QuenvarSplash's plain fill
    auto channel = [](uint32_t c, int shift) { return int((c >> shift) & 0xFF); };
    while (s->alpha < 0.5f)
        StepSixtieth();
    const float half = s->alpha;
    uint32_t c = PixelAt(ReadPixels(), 512, 384);
    for (int shift : {16, 8, 0})
        EXPECT_NEAR(channel(c, shift), channel(fill, shift) * half, 4.0)
            << std::hex << c << " at alpha " << half;
    StepSixtieth(60);
    ASSERT_EQ(s->phase, SPLASH_HOLD);
    c = PixelAt(ReadPixels(), 512, 384);
    for (int shift : {16, 8, 0})
        EXPECT_NEAR(channel(c, shift), channel(fill, shift), 3.0) << std::hex << c;
}
} // namespace

TEST_F(SplashChainTest, AStallOfSecondsDoesNotCountAgainstTheSplash) {
    StartWith("MenuPublisher");
    StepSixtieth(90);
    auto* s = dynamic_cast<MenuChainSplash*>(Screen());
    ASSERT_TRUE(s);
    const int32_t phase = s->phase;
    const float timer = s->phaseTimer;
    // One frame of 5 s (a load, a dragged window): longer than the hold, counted as none.
    clock.AdvanceUs(5000000);
    Frame();
    EXPECT_EQ(Screen(), s) << "the stall ended the splash";
    EXPECT_EQ(s->phase, phase);
    EXPECT_EQ(s->phaseTimer, timer);
    StepSixtieth();
    EXPECT_LT(s->phaseTimer, timer) << "the next frame counts again";
}
