// The screens around play over the HUD's stand-in on an empty world: the pause menu with its
// dialogs as stand-ins, help from the main menu and from the HUD, and the venue intro.
#include "tests/ui/Menus/FrontEndStandIns.h"

#include "engine/FrameClock.h"
#include "game/MtGame.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/Menus/MenuHelp.h"
#include "ui/Menus/MenuInGame.h"
#include "ui/Menus/MenuVenueIntro.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticTextBox.h"

#include <string>

namespace {
constexpr const char* kHud =
    "local h = Entity.Create (\"MenuGameRunning\", Game.GetMenuEntity ())\nEntity.Start (h)\n";

class InGameScreensTest : public FrontEndTest {
  protected:
    void StartOverHud() {
        StartFrontEnd(kHud);
        hud = FindClass("MenuGameRunning");
        game = dynamic_cast<MtGame*>(EntTreeFindType(app.GetRoot(), "MtGame"));
        ASSERT_TRUE(hud && game);
        MtGameSetTimerScale(game, 2.0f);
        ASSERT_EQ(app.clock->scale, 2048);
        g_standIns.clear(); // the HUD's own record
    }
    std::string Name() {
        Menu3Base* s = Screen();
        return s ? s->GetName() : "";
    }
    Menu3Base* Named(const char* name) {
        return dynamic_cast<Menu3Base*>(EntTreeFindName(app.GetMenus(), name));
    }
    int32_t FocusId() { return Ctl3GetFocus() ? Ctl3GetFocus()->id : -100; }
    Menu3Base* hud = nullptr;
    MtGame* game = nullptr;
};

TEST_F(InGameScreensTest, EscapePausesResumeGivesTheHudBackAtItsSpeed) {
    StartOverHud();
    Press(SDL_SCANCODE_ESCAPE);
    Menu3Base* pause = Named("InGameMenu");
    ASSERT_TRUE(pause) << "Escape on the HUD opened no pause menu";
    EXPECT_EQ(app.clock->scale, 0) << "the game runs behind the pause menu";
    EXPECT_FALSE(hud->IsActive());
    EXPECT_EQ(FocusId(), INGAME_RESUME);
    EXPECT_EQ(pause->FindCtl(INGAME_LOAD), nullptr) << "the screen has no Load button";
    // The table's links: (up, down) around the four buttons; left and right stay put.
    const int32_t order[] = {INGAME_RESUME, INGAME_SAVE, INGAME_OPTIONS, INGAME_EXIT};
    for (int i = 0; i < 4; ++i) {
        Ctl3Base* c = pause->FindCtl(order[i]);
        ASSERT_TRUE(c);
        EXPECT_EQ(c->navLinks[0], pause->FindCtl(order[(i + 3) % 4])) << order[i];
        EXPECT_EQ(c->navLinks[1], pause->FindCtl(order[(i + 1) % 4])) << order[i];
        EXPECT_EQ(c->navLinks[2], c);
        EXPECT_EQ(c->navLinks[3], c);
    }
    Press(SDL_SCANCODE_RETURN);
    EXPECT_FALSE(Named("InGameMenu"));
    EXPECT_TRUE(hud->IsActive());
    EXPECT_EQ(app.clock->scale, 2048) << "Resume did not give the game its 2X back";

    // Escape leaves the pause menu as it opened it, wherever the focus is.
    Press(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(Named("InGameMenu"));
    Press(SDL_SCANCODE_DOWN);
    EXPECT_EQ(FocusId(), INGAME_SAVE);
    Press(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(Named("InGameMenu")) << "Escape did not resume";
    EXPECT_TRUE(hud->IsActive());
    EXPECT_EQ(app.clock->scale, 2048);
}

// A dialog's own controls take the focus; when it closes, the pause menu's comes back.
TEST_F(InGameScreensTest, ThePauseMenuGetsItsFocusBackWhenADialogCloses) {
    StartOverHud();
    Press(SDL_SCANCODE_ESCAPE);
    Menu3Base* pause = Named("InGameMenu");
    ASSERT_TRUE(pause);
    Press(SDL_SCANCODE_UP);
    ASSERT_EQ(FocusId(), INGAME_EXIT);
    Press(SDL_SCANCODE_RETURN);
    auto* exit = dynamic_cast<StandInMenu*>(Named("InGameConfirmExit"));
    ASSERT_TRUE(exit);
    Ctl3SetFocus(nullptr); // what the dialog's own controls do to the focus
    exit->Close();
    StepSixtieth();
    ASSERT_TRUE(pause->IsActive());
    EXPECT_EQ(FocusId(), INGAME_EXIT) << "the focus the menu had is not back";
    Press(SDL_SCANCODE_DOWN);
    EXPECT_EQ(FocusId(), INGAME_RESUME) << "the keys do not move on from it";
}

TEST_F(InGameScreensTest, SaveLayoutOpensTheModesSaveDialogWhichAloneHearsTheNextInput) {
    StartOverHud();
    for (int32_t mode : {MTGAME_SANDBOX, MTGAME_CAREER}) {
        game->mode = mode;
        g_standIns.clear();
        Press(SDL_SCANCODE_ESCAPE);
        Menu3Base* pause = Named("InGameMenu");
        ASSERT_TRUE(pause);
        Press(SDL_SCANCODE_DOWN);
        Press(SDL_SCANCODE_RETURN);
        const char* want = mode == MTGAME_CAREER ? "MenuLayoutSave" : "MenuSandboxSave";
        auto* dialog = dynamic_cast<StandInMenu*>(FindClass(want));
        ASSERT_TRUE(dialog) << "mode " << mode;
        ASSERT_EQ(g_standIns.size(), 1u);
        EXPECT_EQ(g_standIns[0].returnMenu, pause);
        EXPECT_EQ(g_standIns[0].flag, 0) << "the end-of-day flag";
        EXPECT_FALSE(pause->IsActive());
        for (const SlEvent& e : dialog->heard)
            EXPECT_FALSE(e.type == CTL3_EVENT && e.a == 1)
                << "the opening click reached the dialog";
        Press(SDL_SCANCODE_X);
        bool heardKey = false;
        for (const SlEvent& e : dialog->heard)
            heardKey |= e.type == SL_KEYDOWN;
        EXPECT_TRUE(heardKey) << "the inactive pause menu kept input from its dialog";
        dialog->Close();
        StepSixtieth();
        EXPECT_TRUE(pause->IsActive());
        PostClick(INGAME_RESUME);
        StepSixtieth();
    }
}

TEST_F(InGameScreensTest, OptionsAndExitOpenOverThePauseMenuAndCancelWakesIt) {
    StartOverHud();
    Press(SDL_SCANCODE_ESCAPE);
    Menu3Base* pause = Named("InGameMenu");
    ASSERT_TRUE(pause);
    PostClick(INGAME_OPTIONS);
    StepSixtieth();
    ASSERT_TRUE(FindClass("MenuOptionsVideo"));
    ASSERT_EQ(g_standIns.size(), 1u);
    EXPECT_EQ(g_standIns[0].returnClass, "MenuInGame");
    EXPECT_EQ(g_standIns[0].returnMenu, pause);
    EXPECT_FALSE(pause->IsActive());
    static_cast<StandInMenu*>(FindClass("MenuOptionsVideo"))->Close();

    PostClick(INGAME_EXIT);
    StepSixtieth();
    auto* exit = dynamic_cast<StandInMenu*>(Named("InGameConfirmExit"));
    ASSERT_TRUE(exit);
    EXPECT_EQ(g_standIns.back().returnClass, "MenuInGame");
    EXPECT_FALSE(pause->IsActive());
    exit->Close();
    StepSixtieth();
    EXPECT_TRUE(pause->IsActive()) << "Cancel did not return to an active pause menu";
    EXPECT_EQ(app.clock->scale, 0);
}

TEST_F(InGameScreensTest, HelpFromTheMainMenuNeitherPausesNorDimsAndReturnsToAFreshMainMenu) {
    StartWith("MenuMain");
    PostClick(3);
    StepSixtieth();
    ASSERT_EQ(Name(), "Help");
    Menu3Base* help = Screen();
    auto* background = dynamic_cast<StaticGraphic*>(EntTreeFindName(help, "Background"));
    ASSERT_TRUE(background);
    EXPECT_STREQ(background->textureName, "Menu\\Common\\ZobPurpleBackground.dds");
    EXPECT_TRUE(EntTreeFindName(help, "AnimLogo")) << "the front end's logo";
    EXPECT_EQ(app.clock->scale, 1024) << "help from the main menu paused";
    Press(SDL_SCANCODE_X);
    EXPECT_EQ(Name(), "Help") << "other keys do nothing in help";
    // OK holds the focus: Enter leaves, as a click on it would.
    Press(SDL_SCANCODE_RETURN);
    StepSixtieth();
    EXPECT_EQ(Name(), "MainMenu");
    EXPECT_EQ(FocusId(), 0);
}

// Help from the HUD pauses and dims, also after help was once opened from the main menu.
TEST_F(InGameScreensTest, HelpFromTheHudPausesUntilOkEvenAfterFrontEndHelp) {
    StartOverHud();
    ASSERT_TRUE(MenuHelpOpen(app.GetMenus(), nullptr));
    EXPECT_EQ(app.clock->scale, 2048);
    EntDestroyTree(Named("Help"));
    StepSixtieth();

    hud->ClearActive();
    MenuOpenArgs args;
    args.returnMenu = hud;
    Menu3Base* help = MenuOpen("MenuHelp", app.GetMenus(), &args);
    ASSERT_TRUE(help);
    EXPECT_FALSE(g_helpFromFrontEnd) << "the shared flag kept the front end's value";
    EXPECT_EQ(app.clock->scale, 0) << "help from the HUD did not pause";
    auto* background = dynamic_cast<StaticGraphic*>(EntTreeFindName(help, "Background"));
    ASSERT_TRUE(background);
    EXPECT_STREQ(background->textureName, "") << "the purple background over the game";
    EXPECT_EQ(background->colour, 0x8F000000u);
    EXPECT_FALSE(EntTreeFindName(help, "AnimLogo"));
    StepSixtieth(30);
    // Escape goes back, as OK does.
    Press(SDL_SCANCODE_ESCAPE);
    StepSixtieth();
    EXPECT_FALSE(Named("Help"));
    EXPECT_TRUE(hud->IsActive());
    EXPECT_EQ(app.clock->scale, 2048) << "the clock did not come back at its old speed";
}

TEST_F(InGameScreensTest, TheVenueIntroNamesTheVenueAndModeAndOkGivesTheHudBack) {
    StartOverHud();
    ASSERT_TRUE(game->venueList && game->venueList->Count() > 0) << "no venues in Venue.ini";
    MtGameSetVenue(game, 0);
    const std::string venue = Narrow(game->venueList->Get(0)->name);
    struct Case {
        int32_t mode;
        const char* suffix;
        const char* opening;
    } const cases[] = {
        {MTGAME_SANDBOX, " - Sandbox Mode", "You have unlimited money and unlimited time"},
        {MTGAME_CAREER, " - Career Mode", "Use your money wisely"}};
    for (const Case& c : cases) {
        game->mode = c.mode;
        game->chargeCostsPending = 0;
        hud->ClearActive();
        auto* intro = dynamic_cast<MenuVenueIntro*>(MenuVenueIntroOpen(app.GetMenus(), hud));
        ASSERT_TRUE(intro);
        EXPECT_EQ(Narrow(intro->venueLine), venue + c.suffix);
        StaticTextBox* box = nullptr;
        for (EntNode* n = intro->node->firstChild; n && !box; n = n->next)
            box = dynamic_cast<StaticTextBox*>(n->object);
        ASSERT_TRUE(box);
        EXPECT_EQ(Narrow(box->Shown().text).rfind(c.opening, 0), 0u) << Narrow(box->Shown().text);
        // The tips start below the paragraph's last line.
        StaticTextBox* tips = nullptr;
        for (EntNode* n = box->node->next; n && !tips; n = n->next)
            tips = dynamic_cast<StaticTextBox*>(n->object);
        ASSERT_TRUE(tips) << c.suffix;
        EXPECT_GE(tips->pos.y, box->pos.y + float(box->Shown().lineCount) * Ctl3LineHeight(box))
            << c.suffix << ": the paragraph runs into the tips";
        EXPECT_EQ(FocusId(), 0);
        Press(SDL_SCANCODE_RETURN);
        EXPECT_FALSE(FindClass("MenuVenueIntro"));
        EXPECT_TRUE(hud->IsActive());
        EXPECT_EQ(game->chargeCostsPending, 0) << "the intro started the day";
    }
    // A venue outside the list.
    game->venueId = 99;
    auto* intro = dynamic_cast<MenuVenueIntro*>(MenuVenueIntroOpen(app.GetMenus(), hud));
    ASSERT_TRUE(intro);
    EXPECT_EQ(Narrow(intro->venueLine), "? - Career Mode");
}
} // namespace
