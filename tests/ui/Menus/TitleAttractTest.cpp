// The title screen and the attract screen opened by class name from a script: the title's way
// to the main menu, its wait and attract time-out, the attract countdown and its way back.
#include "tests/ui/Menus/FrontEndStandIns.h"

#include "ui/GraphicButton.h"
#include "ui/Menus/MenuAttractor.h"
#include "ui/Menus/MenuSplash.h"
#include "ui/StaticText.h"
#include "world/CursorFrame.h"

#include <string>

namespace {
constexpr const char* kWaitingTitle =
    "local m = Entity.Create (\"MenuSplash\", Game.GetMenuEntity ())\n"
    "Entity.SetFloat (m, \"holdDuration\", 0)\nEntity.Start (m)\n";

class TitleAttractTest : public FrontEndTest {
  protected:
    std::string Name() {
        Menu3Base* s = Screen();
        return s ? s->GetName() : "";
    }
    // The attract screen's second text, as narrow characters.
    std::string CountdownText() {
        auto* a = dynamic_cast<MenuAttractor*>(FindClass("MenuAttractor"));
        if (!a) return "";
        std::string out;
        for (const char16_t* p = a->countdownText; *p; ++p)
            out += char(*p);
        return out;
    }
};

TEST_F(TitleAttractTest, WithItsDefaultsTheTitleOpensTheMainMenuAfterFourSeconds) {
    StartWith("MenuSplash");
    g_cursorFrameIndex = -1;
    Menu3Base* title = Screen();
    ASSERT_TRUE(title);
    EXPECT_EQ(Name(), "SplashScreen");
    auto* start = dynamic_cast<GraphicButton*>(title->FindCtl(0));
    ASSERT_TRUE(start) << "no Start button";
    EXPECT_EQ(start->pos.x, 460.0f);
    EXPECT_EQ(start->pos.y, 600.0f);
    EXPECT_EQ(start->image.CellWidth(), 119);
    EXPECT_EQ(start->image.CellHeight(), 63);
    StepSixtieth(int(3.8f * 60));
    EXPECT_EQ(Name(), "SplashScreen") << "gone before 1 + 2 + 1 s";
    StepSixtieth(20);
    EXPECT_EQ(Name(), "MainMenu");
}

TEST_F(TitleAttractTest, AWaitingTitleGoesToTheAttractScreenWhichCountsDownAndReturns) {
    StartFrontEnd(kWaitingTitle);
    StepSixtieth(30 * 60);
    ASSERT_EQ(Name(), "SplashScreen");
    auto* title = static_cast<MenuSplash*>(Screen());
    EXPECT_EQ(title->phase, TITLE_WAITING);
    EXPECT_EQ(title->alpha, 1.0f) << "the wait is at full brightness";
    StepSixtieth(15 * 60 + 5);
    ASSERT_EQ(Name(), "Attractor") << "45 s after the title's activation";
    EXPECT_EQ(CountdownText(), "Attractor Timeout 45");
    EXPECT_EQ(g_cursorFrameIndex, -1);
    StepSixtieth(44 * 60 + 40);
    EXPECT_EQ(CountdownText(), "Attractor Timeout  0");
    StepSixtieth(30);
    ASSERT_EQ(Name(), "SplashScreen") << "the attract screen did not return to a fresh title";
    EXPECT_EQ(static_cast<MenuSplash*>(Screen())->phase, TITLE_FADE_IN);
}

TEST_F(TitleAttractTest, AnyPressOrOkEndsTheAttractScreenOneFrameLater) {
    StartFrontEnd(kWaitingTitle);
    Screen()->Hide();
    ASSERT_TRUE(MenuAttractorOpen(app.GetMenus(), "MenuSplash"));
    EntDestroyTree(FindClass("MenuSplash"));
    StepSixtieth();
    Key(SDL_SCANCODE_X, true);
    StepSixtieth();
    EXPECT_EQ(Name(), "Attractor") << "the press itself ends nothing";
    StepSixtieth();
    EXPECT_EQ(Name(), "SplashScreen");

    // OK, and no screen to return to: the main menu.
    EntDestroyTree(Screen());
    ASSERT_TRUE(MenuAttractorOpen(app.GetMenus(), nullptr));
    PostClick(0);
    StepSixtieth(2);
    EXPECT_EQ(Name(), "MainMenu") << "an attract screen without a way back opened class \"\"";
}

TEST_F(TitleAttractTest, WithoutTheAttractScreenTheTitleStays) {
    extraFirst = [] { RegisterRefusedClass("MenuAttractor"); };
    StartFrontEnd(kWaitingTitle);
    StepSixtieth(46 * 60);
    EXPECT_EQ(Name(), "SplashScreen") << "the title destroyed itself with nothing after it";
    Press(SDL_SCANCODE_SPACE);
    EXPECT_EQ(Name(), "MainMenu") << "a key still leads on";
}
} // namespace
