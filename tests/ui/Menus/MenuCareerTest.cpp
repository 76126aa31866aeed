// The career menu, the career summary, the profile chooser and the whole career road from the
// career menu to the venue selector, on the real game object and real scripts.
#include "tests/ui/Menus/CareerMenuDoubles.h"

#include "I3d/Font.h"
#include "engine/EntTree.h"
#include "game/MtGame.h"
#include "ui/EditLine.h"
#include "ui/Menus/MenuCareerSummary.h"

#include <string>

namespace {
using MenuCareerTest = CareerMenuTest;

bool Has(const std::vector<std::u16string>& texts, const std::u16string& s) {
    for (const auto& t : texts)
        if (t == s) return true;
    return false;
}

Ctl3Base* Labelled(Menu3Base* menu, const std::u16string& label) {
    for (EntNode* c = menu && menu->node ? menu->node->firstChild : nullptr; c; c = c->next)
        if (auto* control = dynamic_cast<Ctl3Base*>(c->object); control && control->label == label)
            return control;
    return nullptr;
}
} // namespace

TEST_F(MenuCareerTest, TheChoiceScreensUseTheKitsTextAndTextButtons) {
    StartCareerUi();
    Menu3Base* career = Open("MenuCareer");
    ASSERT_TRUE(career);
    Ctl3Base* heading = Labelled(career, u"CAREER");
    ASSERT_TRUE(heading);
    EXPECT_EQ(heading->font, FontFind("Georgia_14"));
    EXPECT_EQ(heading->horizAlign, 0);
    for (int32_t id : {0, 1})
        EXPECT_EQ(career->FindCtl(id)->font, FontFind("CourierNew9o")) << id;
    EntDestroyTree(career);
    Menu3Base* chooser = Open("MenuChooseProfile");
    ASSERT_TRUE(chooser);
    for (int32_t id : {2, 3}) {
        EXPECT_EQ(chooser->FindCtl(id)->font, FontFind("CourierNew9o")) << id;
        EXPECT_EQ(chooser->FindCtl(id)->horizAlign, 0) << id;
    }
}

TEST_F(MenuCareerTest, TheCareerMenuOpensLoadingAndGoesBack) {
    StartCareerUi();
    Menu3Base* career = Open("MenuCareer");
    ASSERT_TRUE(career);
    EXPECT_STREQ(career->GetName(), "MenuCareer");
    EXPECT_EQ(g_cursorFrameIndex, 1) << "the career menu shows the pointer";
    // The choices are a ring: Up from New Career is Back, Down twice from there is Load.
    Tap(SDL_SCANCODE_UP);
    Tap(SDL_SCANCODE_DOWN);
    Tap(SDL_SCANCODE_DOWN);
    Tap(SDL_SCANCODE_RETURN);
    ASSERT_EQ(Opened().size(), 1u) << "Down did not reach Load and Continue";
    EXPECT_EQ(Opened()[0].className, "MenuLoadCareer");
    EXPECT_EQ(Shown("MenuCareer"), nullptr);
    EntDestroyTree(Shown("MenuLoadCareer"));

    ASSERT_TRUE(Open("MenuCareer"));
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_TRUE(Shown("NewCareer"));
    // Escape goes back from New Career as from every other screen.
    Tap(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(Shown("NewCareer"), nullptr) << "Escape did not leave New Career";
    EXPECT_TRUE(Shown("MenuCareer"));
    EntDestroyTree(Shown("MenuCareer"));

    ASSERT_TRUE(Open("MenuCareer"));
    Tap(SDL_SCANCODE_ESCAPE);
    ASSERT_FALSE(Opened().empty());
    EXPECT_EQ(Opened().back().className, "MenuMain") << "Escape presses Back";
}

TEST_F(MenuCareerTest, TheSummaryShowsTheRankAndIgnoresKeys) {
    StartCareerUi();
    MtGame* game = Game();
    ASSERT_TRUE(game);
    std::snprintf(game->career.name, sizeof game->career.name, "%s", "Top");
    game->career.cash = game->gameVals.tierAchievement[3];
    Menu3Base* summary = MenuCareerSummaryOpen(app.GetMenus(), "MenuNewCareer");
    ASSERT_TRUE(summary);
    Step();
    EXPECT_STREQ(dynamic_cast<MenuCareerSummary*>(summary)->returnTo, "MenuNewCareer");
    EXPECT_TRUE(Has(Texts(summary), u"You are a Master of the Midway!"));
    Tap(SDL_SCANCODE_RETURN);
    Tap(SDL_SCANCODE_B);
    SlPostEvent(SL_PADSTART, 0, 0);
    Step();
    EXPECT_EQ(Shown("MenuCareerSummary"), summary) << "Enter, key downs and 38 do nothing";
    EntDestroyTree(summary);

    // Ranks without names, and thresholds all 0.
    for (auto& title : game->gameVals.tierName)
        title[0] = 0;
    game->career.cash = 100;
    summary = MenuCareerSummaryOpen(app.GetMenus(), nullptr);
    ASSERT_TRUE(summary);
    EXPECT_TRUE(Has(Texts(summary), u"Current Rank: "));
    EntDestroyTree(summary);
    for (int32_t& at : game->gameVals.tierAchievement)
        at = 0;
    summary = MenuCareerSummaryOpen(app.GetMenus(), nullptr);
    ASSERT_TRUE(summary);
    EXPECT_TRUE(Has(Texts(summary), u"You are a Master of the Midway!"));
    // A name longer than the summary shows is cut.
    EntDestroyTree(summary);
    std::string longName(200, 'n');
    std::snprintf(game->career.name, sizeof game->career.name, "%s", longName.c_str());
    summary = MenuCareerSummaryOpen(app.GetMenus(), nullptr);
    ASSERT_TRUE(summary);
    EXPECT_TRUE(Has(Texts(summary), std::u16string(128, u'n')));
    Step();
}

TEST_F(MenuCareerTest, TheSummaryGoesOnToTheSelectorAndBack) {
    StartCareerUi();
    ASSERT_TRUE(MenuCareerSummaryOpen(app.GetMenus(), "MenuNewCareer"));
    Step();
    Click(779, 668);
    ASSERT_EQ(Opened().size(), 1u) << "Next opens the venue selector";
    EXPECT_EQ(Opened()[0].className, "MenuMidwaySelector");
    EXPECT_EQ(Opened()[0].returnClass, "MenuCareerSummary");
    Tap(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(Shown("MenuCareerSummary")) << "the selector's Back returns to the summary";
    Click(180 + 20, 636 + 10);
    EXPECT_TRUE(Shown("MenuCareer")) << "the summary's Back opens the career menu";
}

TEST_F(MenuCareerTest, TheProfileChooserGoesByTheGameMode) {
    // No screen opens it: a script does.
    StartCareerUi("local chooser = Entity.Create(\"MenuChooseProfile\", Game.GetMenuEntity())\n"
                  "if chooser then Entity.Start(chooser) end\n");
    MtGame* game = Game();
    ASSERT_TRUE(game);
    Menu3Base* chooser = Shown("MenuChooseProfile");
    ASSERT_TRUE(chooser) << "the script made the chooser";
    Step();
    EXPECT_EQ(Ctl3GetFocus(), chooser->FindCtl(2)) << "SELECT has the focus";
    SlPostEvent(CTL3_EVENT, 1, CTL3_CLICK);
    Step();
    EXPECT_EQ(Shown("MenuChooseProfile"), chooser) << "DELETE does nothing";
    game->mode = MTGAME_SANDBOX;
    Tap(SDL_SCANCODE_RETURN);
    ASSERT_EQ(Opened().size(), 1u);
    EXPECT_EQ(Opened()[0].className, "MenuSandbox");
    EntDestroyTree(Shown("MenuSandbox"));

    game->mode = MTGAME_CAREER;
    ASSERT_TRUE(Open("MenuChooseProfile"));
    SlPostEvent(CTL3_EVENT, 2, CTL3_CLICK);
    Step();
    ASSERT_EQ(Opened().size(), 2u);
    EXPECT_EQ(Opened()[1].className, "MenuMidwaySelector");
    EXPECT_EQ(Opened()[1].returnClass, "MenuChooseProfile");
    EntDestroyTree(Shown("MenuMidwaySelector"));

    ASSERT_TRUE(Open("MenuChooseProfile"));
    SlPostEvent(CTL3_EVENT, 0, CTL3_CLICK);
    Step();
    EXPECT_TRUE(Shown("NewCareer"));
    EntDestroyTree(Shown("NewCareer"));
    ASSERT_TRUE(Open("MenuChooseProfile"));
    Tap(SDL_SCANCODE_ESCAPE);
    ASSERT_EQ(Opened().size(), 3u);
    EXPECT_EQ(Opened()[2].className, "MenuMain");
}

TEST_F(MenuCareerTest, TheCareerRoadByKeyboardMakesTheCareerAndReachesTheSelector) {
    StartCareerUi();
    ASSERT_TRUE(Open("MenuCareer"));
    Tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(Shown("NewCareer"));
    Tap(SDL_SCANCODE_RETURN);
    auto* field = dynamic_cast<EditLine*>(Shown("NewCareer")->FindCtl(2));
    ASSERT_TRUE(field);
    ASSERT_TRUE(field->Editing()) << "the screen opens on the name, Enter edits it";
    for (int i = 0; i < 10; ++i)
        Tap(SDL_SCANCODE_BACKSPACE);
    TypeText("Ann");
    Step();
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_FALSE(field->Editing());
    EXPECT_STREQ(field->Text(), "Ann");
    Tap(SDL_SCANCODE_UP);
    Tap(SDL_SCANCODE_RETURN);
    Step();
    EXPECT_TRUE(PathExistsOnDisk(Saves() + "Ann/Ann.car"));
    Menu3Base* summary = Shown("MenuCareerSummary");
    ASSERT_TRUE(summary);
    EXPECT_TRUE(Has(Texts(summary), u"Ann"));
    EXPECT_TRUE(Has(Texts(summary), u"Cash: $5000"));
    Click(779, 668);
    ASSERT_EQ(Opened().size(), 1u);
    EXPECT_EQ(Opened()[0].className, "MenuMidwaySelector");
}
