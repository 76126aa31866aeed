// The firing and removal questions over the HUD on the default venue: their screen, the refund
// they tell, their answers by key and click, and what a gone employee, attraction or HUD does to
// them.
#include "tests/ui/Menus/PlayPanelFixture.h"

#include "engine/FrameClock.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Carny.h"
#include "game/GameGridCore.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/Menus/FrontEndStandIns.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/MenuFireCarny.h"
#include "ui/Menus/MenuInspectAttr.h"
#include "ui/Menus/MenuInspectCarny.h"
#include "ui/Menus/MenuRemoveAttr.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"

namespace {

std::string Message(const char16_t* text) {
    return Narrow(text);
}

std::string BoxText(Menu3Base* question) {
    auto* box = dynamic_cast<StaticTextBox*>(question->FindCtl(MENU_REMOVE_MESSAGE));
    return box ? Narrow(box->Shown().text) : "(no message)";
}

} // namespace

class PlayQuestionTest : public PlayPanelTest {
  protected:
    // The attraction selected and its removal asked as the attraction panel asks: the HUD and
    // the panel inactive, the panel hidden.
    Menu3Base* AskRemoval(AttrBase* attr) {
        EXPECT_TRUE(HudSelect(hud, attr));
        Menu3Base* panel = hud->Inspector(HUD_KIND_ATTRACTION);
        hud->ClearActive();
        panel->ClearActive();
        panel->Hide();
        Ctl3SetFocus(nullptr);
        Menu3Base* made = MenuRemoveAttrOpen(app.GetMenus(), attr, hud, panel);
        Step();
        return made;
    }
    float Speed() const { return app.clock ? float(app.clock->scale) / 1024.0f : -1.0f; }
    int Blocked() { return GameGridBlockedCount(GameGridFrom(hud->grid.Get())); }
};

TEST_F(PlayQuestionTest, TheRefundIsToldInWholeDollarsAsTheFiguresStand) {
    char16_t text[192];
    MenuRemoveAttrMessage(37500, 50000, text, 192);
    EXPECT_EQ(Message(text), "Are you sure you want to remove this attraction?\n\nYou will get "
                             "back $375 of your $500 deposit.");
    // Bad data: a value above the deposit is shown as it is; cents are cut, not rounded.
    MenuRemoveAttrMessage(60099, 50000, text, 192);
    EXPECT_EQ(Message(text), "Are you sure you want to remove this attraction?\n\nYou will get "
                             "back $600 of your $500 deposit.");
}

TEST_F(PlayQuestionTest, RemovalAsksPausedAndEnterGivesTheSameAttractionBack) {
    keepLog = true;
    StartHud();
    const int blockedBefore = Blocked();
    AttrBase* attr = PlaceUnder(2, 560, 470);
    ASSERT_NE(attr, nullptr) << "no free ground under (560, 470)";
    MtGame* game = Game();
    game->timerScale = 2.0f;
    game->RestoreClockSpeed();
    ASSERT_EQ(Speed(), 2.0f);

    Menu3Base* question = AskRemoval(attr);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(Named("MenuRemoveAttr"), question);
    EXPECT_NE(LogText().find("Menu: MenuRemoveAttr (MenuRemoveAttr)"), std::string::npos);
    EXPECT_EQ(Speed(), 0.0f) << "the question did not stop the game";
    char16_t expected[192];
    MenuRemoveAttrMessage(AttrBaseValue(attr), attr->info->deposit, expected, 192);
    EXPECT_EQ(BoxText(question), Narrow(expected));

    // The kit's screen: heading, OK and Cancel where they belong, linked both ways.
    bool heading = false;
    for (EntNode* n = question->node->firstChild; n; n = n->next)
        if (auto* t = dynamic_cast<StaticText*>(n->object))
            heading |= Narrow(t->label) == "DELETE" && t->pos.x == 512.0f && t->pos.y == 220.0f;
    EXPECT_TRUE(heading) << "no \"DELETE\" heading at (512, 220)";
    Ctl3Base* ok = question->FindCtl(MENU_QUESTION_OK);
    Ctl3Base* cancel = question->FindCtl(MENU_QUESTION_CANCEL);
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->pos.x, 583.0f);
    EXPECT_EQ(ok->pos.y, 533.0f);
    EXPECT_EQ(cancel->pos.x, 332.0f);
    EXPECT_EQ(cancel->pos.y, 533.0f);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ok->navLinks[i], cancel) << "link " << i;
        EXPECT_EQ(cancel->navLinks[i], ok) << "link " << i;
    }
    EXPECT_EQ(Ctl3GetFocus(), cancel);

    // Enter right away answers Cancel.
    Tap(SDL_SCANCODE_RETURN);
    Step();
    EXPECT_EQ(Named("MenuRemoveAttr"), nullptr) << "Enter did not answer";
    EXPECT_EQ(Speed(), 2.0f) << "the game did not go on at its speed";
    EXPECT_TRUE(EntIsLive(attr));
    EXPECT_TRUE(hud->active);
    EXPECT_EQ(hud->selected.Get(), attr) << "the HUD came back without the attraction";
    auto* panel = dynamic_cast<MenuInspectAttr*>(hud->Inspector(HUD_KIND_ATTRACTION));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->shown);
    EXPECT_EQ(panel->Attraction(), attr) << "the panel was not given the attraction again";

    // Escape answers Cancel too.
    ASSERT_NE(AskRemoval(attr), nullptr);
    Tap(SDL_SCANCODE_ESCAPE);
    Step();
    EXPECT_EQ(Named("MenuRemoveAttr"), nullptr) << "Escape did not leave the question";
    EXPECT_TRUE(EntIsLive(attr));
    EXPECT_TRUE(hud->active);
    EXPECT_EQ(hud->selected.Get(), attr);

    // OK: refunded, cells freed, the attraction gone, the panels closed, the game going on.
    game->cash = 1000;
    const int32_t value = AttrBaseValue(attr);
    ASSERT_GT(value, 0);
    question = AskRemoval(attr);
    ASSERT_NE(question, nullptr);
    PostClick(MENU_QUESTION_OK);
    EXPECT_EQ(Named("MenuRemoveAttr"), nullptr);
    EXPECT_FALSE(EntIsLive(attr));
    EXPECT_EQ(game->cash, 1000 + value);
    EXPECT_EQ(Blocked(), blockedBefore) << "the footprint is still blocked";
    EXPECT_TRUE(hud->active);
    EXPECT_EQ(hud->selected.Get(), nullptr);
    for (int kind = 0; kind < 3; ++kind)
        EXPECT_FALSE(hud->Inspector(kind)->shown) << "inspector " << kind;
    EXPECT_EQ(Speed(), 2.0f);
}

TEST_F(PlayQuestionTest, FiringTakesTheFeeAndCancelGivesTheEmployeeBack) {
    StartHud();
    MtGame* game = Game();
    Carny* carny = Hire();
    ASSERT_NE(carny, nullptr);
    MenuInspectCarny* panel = CarnyPanel();
    ASSERT_TRUE(HudSelect(hud, carny));
    PostClick(INSPECT_CARNY_FIRE);
    Menu3Base* question = Named("MenuFireCarny");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(Speed(), 0.0f);
    EXPECT_EQ(dynamic_cast<MenuFireCarny*>(question)->Subject(), carny);
    EXPECT_EQ(dynamic_cast<MenuFireCarny*>(question)->Hud(), hud);
    EXPECT_EQ(dynamic_cast<MenuFireCarny*>(question)->Inspector(), panel);

    PostClick(MENU_QUESTION_CANCEL);
    EXPECT_EQ(Named("MenuFireCarny"), nullptr);
    EXPECT_NE(Speed(), 0.0f);
    EXPECT_TRUE(hud->active);
    EXPECT_TRUE(panel->active);
    EXPECT_TRUE(panel->shown);
    EXPECT_EQ(panel->Person(), carny) << "the panel came back without the employee";

    game->cash = 20000;
    PostClick(INSPECT_CARNY_FIRE);
    ASSERT_NE(Named("MenuFireCarny"), nullptr);
    PostClick(MENU_QUESTION_OK);
    EXPECT_FALSE(EntIsLive(carny));
    EXPECT_EQ(game->cash, 12000);
    EXPECT_FALSE(panel->shown);
    EXPECT_TRUE(hud->active);
    EXPECT_NE(Speed(), 0.0f);

    // The fee never takes the cash below 0.
    Carny* poor = Hire();
    game->cash = 5000;
    ASSERT_TRUE(HudSelect(hud, poor));
    PostClick(INSPECT_CARNY_FIRE);
    PostClick(MENU_QUESTION_OK);
    EXPECT_FALSE(EntIsLive(poor));
    EXPECT_EQ(game->cash, 0);
}

TEST_F(PlayQuestionTest, WhatGoesWhileAQuestionIsUpIsForgottenAndOkOnlyResumes) {
    StartHud();
    MtGame* game = Game();
    AttrBase* attr = PlaceUnder(2, 560, 470);
    ASSERT_NE(attr, nullptr);

    // The attraction destroyed by a script while its removal is asked.
    auto* question = dynamic_cast<MenuPlayQuestion*>(AskRemoval(attr));
    ASSERT_NE(question, nullptr);
    game->cash = 777;
    const int32_t deposits = game->onDeposit;
    EntDestroyTree(attr);
    EXPECT_EQ(question->Subject(), nullptr);
    PostClick(MENU_QUESTION_OK);
    EXPECT_EQ(Named("MenuRemoveAttr"), nullptr);
    EXPECT_EQ(game->cash, 777) << "a gone attraction was refunded";
    EXPECT_EQ(game->onDeposit, deposits);
    EXPECT_TRUE(hud->active);
    EXPECT_NE(Speed(), 0.0f);

    // The employee fired from elsewhere while its firing is asked.
    Carny* carny = Hire();
    ASSERT_TRUE(HudSelect(hud, carny));
    PostClick(INSPECT_CARNY_FIRE);
    ASSERT_NE(Named("MenuFireCarny"), nullptr);
    EntDestroyTree(carny);
    PostClick(MENU_QUESTION_OK);
    EXPECT_EQ(game->cash, 777) << "the fee was taken for a gone employee";
    EXPECT_TRUE(hud->active);

    // The panel and the HUD going while the question is up: its answer reaches neither.
    AttrBase* other = PlaceUnder(2, 420, 470);
    ASSERT_NE(other, nullptr);
    question = dynamic_cast<MenuPlayQuestion*>(AskRemoval(other));
    ASSERT_NE(question, nullptr);
    EntDestroyTree(hud->Inspector(HUD_KIND_ATTRACTION));
    EntDestroyTree(hud);
    hud = nullptr;
    EXPECT_EQ(question->Hud(), nullptr);
    EXPECT_EQ(question->Inspector(), nullptr);
    const int32_t cash = game->cash;
    PostClick(MENU_QUESTION_OK);
    EXPECT_EQ(Named("MenuRemoveAttr"), nullptr);
    EXPECT_TRUE(EntIsLive(other)) << "removed without a HUD to remove it";
    EXPECT_EQ(game->cash, cash);
    EXPECT_NE(Speed(), 0.0f);
    Step(2);
}

TEST_F(PlayQuestionTest, AnOpenerGivenNothingOrTheWrongKindOpensNothing) {
    StartHud();
    Carny* carny = Hire();
    AttrBase* attr = PlaceUnder(2, 560, 470);
    ASSERT_NE(attr, nullptr);
    Menu3Base* panel = hud->Inspector(HUD_KIND_ATTRACTION);
    EXPECT_EQ(MenuRemoveAttrOpen(app.GetMenus(), nullptr, hud, panel), nullptr);
    EXPECT_EQ(MenuRemoveAttrOpen(nullptr, attr, hud, panel), nullptr);
    EXPECT_EQ(MenuFireCarnyOpen(app.GetMenus(), nullptr, hud, CarnyPanel()), nullptr);
    EXPECT_EQ(MenuFireCarnyOpen(nullptr, carny, hud, CarnyPanel()), nullptr);
    // The wrong kind: OK would have destroyed it without refund or fee.
    EXPECT_EQ(MenuRemoveAttrOpen(app.GetMenus(), carny, hud, panel), nullptr);
    EXPECT_EQ(MenuFireCarnyOpen(app.GetMenus(), attr, hud, CarnyPanel()), nullptr);
    Step();
    EXPECT_EQ(Named("MenuRemoveAttr"), nullptr);
    EXPECT_EQ(Named("MenuFireCarny"), nullptr);
    EXPECT_TRUE(hud->active);
    EXPECT_NE(Speed(), 0.0f);
}

TEST_F(PlayQuestionTest, AFiringQuestionThatCannotBeMadeLeavesThePanelAndTheHudAsTheyWere) {
    auto first = registerFirst;
    registerFirst = [first] {
        RegisterRefusedClass("MenuFireCarny");
        first();
    };
    StartHud();
    Carny* carny = Hire();
    ASSERT_NE(carny, nullptr);
    MenuInspectCarny* panel = CarnyPanel();
    ASSERT_TRUE(HudSelect(hud, carny));
    PostClick(INSPECT_CARNY_FIRE);
    EXPECT_EQ(Named("MenuFireCarny"), nullptr);
    EXPECT_TRUE(EntIsLive(carny));
    EXPECT_TRUE(hud->active);
    EXPECT_TRUE(panel->active);
    EXPECT_TRUE(panel->shown);
    EXPECT_EQ(panel->Person(), carny);
    EXPECT_EQ(hud->selected.Get(), carny);
    EXPECT_NE(Speed(), 0.0f);
}
