// The exit question of play: over the HUD on the default venue (Cancel back to the menu that
// asked; OK ends the day, clears the world and the menus, and opens the main menu), and asked by
// the real pause menu.
#include "tests/ui/Menus/PlayPanelFixture.h"

#include "engine/Input/SlInput.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/Menus/VenueMenuFixture.h"
#include "ui/Menus/MenuInGame.h"
#include "ui/Menus/MenuInGameConfirm.h"
#include "ui/Menus/MenuPlayQuestion.h"
#include "ui/StaticText.h"

#include <algorithm>

TEST_F(PlayPanelTest, LeavingThePlayEndsTheDayClearsEverythingAndOpensTheMainMenu) {
    keepLog = true;
    StartHud();
    ASSERT_NE(PlaceUnder(2, 560, 470), nullptr);
    MtGame* game = Game();
    PostClick(HUD_START);
    ASSERT_EQ(game->dayOver, 0);
    // The pause menu (a stand-in here) asks, and waits inactive.
    PostClick(HUD_MENU);
    HudScreenDouble* pause = HudFindOpened(app.GetMenus(), "MenuInGame");
    ASSERT_NE(pause, nullptr);
    pause->ClearActive();
    auto* question = dynamic_cast<MenuInGameConfirm*>(
        MenuInGameConfirmOpen(app.GetMenus(), "MenuInGame", pause));
    ASSERT_NE(question, nullptr);
    Step();
    EXPECT_EQ(Named("InGameConfirmExit"), question);
    EXPECT_NE(LogText().find("Menu: InGameConfirmExit (MenuInGameConfirm)"), std::string::npos);
    EXPECT_STREQ(question->altClass, "MenuInGame");
    const std::vector<std::u16string> lines = VenueLabels(question);
    const std::u16string wanted[] = {u"EXIT", u"Are you sure you want to exit?",
                                     u"Your layout and progress", u"will not be saved."};
    for (const std::u16string& line : wanted)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << Narrow(line);
    ASSERT_NE(Ctl3GetFocus(), nullptr);
    EXPECT_EQ(Ctl3GetFocus()->id, MENU_QUESTION_CANCEL);
    // Inactive, it lets the walk go on to the menus after it.
    question->ClearActive();
    const SlEvent click = {CTL3_EVENT, MENU_QUESTION_OK, CTL3_CLICK, 0};
    EXPECT_EQ(question->OnMessage(&click), 2);
    EXPECT_EQ(game->dayOver, 0);
    question->SetActive();

    // Cancel: the pause menu takes input again.
    PostClick(MENU_QUESTION_CANCEL);
    EXPECT_EQ(Named("InGameConfirmExit"), nullptr);
    EXPECT_TRUE(pause->active);
    EXPECT_EQ(game->dayOver, 0);

    // OK: the day ends (the inactive HUD opens nothing), the world and every menu go.
    pause->ClearActive();
    ASSERT_NE(MenuInGameConfirmOpen(app.GetMenus(), "MenuInGame", pause), nullptr);
    Step();
    const int heard = venue.observer->Count(29);
    PostClick(MENU_QUESTION_OK);
    hud = nullptr;
    menu = nullptr;
    EXPECT_EQ(game->dayOver, 1);
    EXPECT_EQ(HudOpenCount("MenuEndOfDay"), 0) << "the HUD answered the end of the day";
    EXPECT_EQ(MainMenusMade(), 1);
    ASSERT_NE(Named("MenuMain"), nullptr);
    EXPECT_EQ(LiveChildren(app.GetMenus()), 1) << "a menu beside the main menu was left";
    EXPECT_EQ(LiveChildren(app.GetWorld()), 0) << "the world was not cleared";
    EXPECT_EQ(venue.observer->Count(29), heard + 1) << "the end of the day was not sent";
    Step(3);
}

class InGameConfirmTest : public UiTest {};

TEST_F(InGameConfirmTest, ThePauseMenuAsksTheRealQuestionAndGetsItsTurnBack) {
    registerFirst = [] { EntCreateClass(EcMtGameProc, 0, 0); };
    StartUi();
    menu->ClearActive();
    Menu3Base* pause = MenuInGameOpen(app.GetMenus(), menu);
    ASSERT_NE(dynamic_cast<MenuInGame*>(pause), nullptr);
    Step();
    SlPostEvent(CTL3_EVENT, INGAME_EXIT, CTL3_CLICK);
    Step();
    auto* question =
        dynamic_cast<MenuInGameConfirm*>(EntTreeFindName(app.GetMenus(), "InGameConfirmExit"));
    ASSERT_NE(question, nullptr) << "Exit did not ask";
    EXPECT_EQ(question->Opener(), pause);
    EXPECT_STREQ(question->altClass, "MenuInGame");
    EXPECT_FALSE(pause->active);
    // Enter right away answers Cancel: the pause menu takes input again.
    Tap(SDL_SCANCODE_RETURN);
    Step();
    EXPECT_EQ(EntTreeFindName(app.GetMenus(), "InGameConfirmExit"), nullptr)
        << "Enter did not cancel";
    EXPECT_TRUE(pause->active);
}
