// The reports hub and the carnival summary: the pause and its end at each step, the choices, the
// way back to the HUD, and a hub whose report cannot be made.
#include "tests/ui/Menus/ReportTestWorld.h"

#include "game/MtGame.h"
#include "ui/Menus/MenuReportMaint.h"
#include "ui/Menus/MenuReportSummary.h"
#include "ui/Menus/MenuReports.h"
#include "ui/StaticText.h"
#include "ui/TextButton.h"

#include <set>

namespace {
// A class that refuses to be made, standing in for a report left out of the start-up.
intptr_t RefusedPowerProc(EntNode*, int message, intptr_t, intptr_t b, intptr_t) {
    if (message == ENT_CLASS_MSG_CLASS_NAME)
        std::snprintf(reinterpret_cast<char*>(b), 64, "MenuReportPower");
    return 0;
}

class ReportsHubTest : public ReportTest {
  protected:
    MenuReports* OpenHub() {
        MtGameSetTimerScale(Game(), 2.0f);
        auto* hub = dynamic_cast<MenuReports*>(MenuReportsOpen(Menus(), &hud->pending, hud));
        Step();
        return hub;
    }
    std::set<std::u16string> Texts(Menu3Base* menu) {
        std::set<std::u16string> out;
        for (EntNode* c = menu->node->firstChild; c; c = c->next)
            if (auto* t = dynamic_cast<StaticText*>(c->object)) out.insert(t->label);
        return out;
    }
};
} // namespace

TEST_F(ReportsHubTest, TheHubOffersSixChoicesAndPausesTheGame) {
    StartReports();
    MenuReports* hub = OpenHub();
    ASSERT_NE(hub, nullptr);
    EXPECT_EQ(ClockSpeed(), 0.0f) << "the hub did not pause the game";
    EXPECT_STREQ(hub->name, "MenuReports");
    const char16_t* labels[6] = {u"Summary",   u"Power",       u"Maintenance",
                                 u"Employees", u"Hourly Cost", u"Done"};
    const int ys[6] = {276, 314, 352, 390, 428, 485};
    for (int id = 0; id < 6; ++id) {
        auto* button = dynamic_cast<TextButton*>(hub->FindCtl(id));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(std::u16string(button->label), labels[id]);
        EXPECT_EQ(std::make_pair(button->pos.x, button->pos.y),
                  std::make_pair(512.0f, float(ys[id])));
        EXPECT_EQ(button->horizAlign, 1);
    }
    EXPECT_EQ(Ctl3GetFocus(), hub->FindCtl(REPORTS_SUMMARY));

    // Enter on the focused "Summary", through the input layer.
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Find<MenuReports>("MenuReports"), nullptr) << "the hub stayed";
    auto* summary = Find<MenuReportSummary>("MenuReportSummary");
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(EntGetParent(summary), Menus());
    EXPECT_EQ(ClockSpeed(), 0.0f) << "the summary did not pause the game again";
    ClickId(summary, 4);
    EXPECT_EQ(Find<MenuReportSummary>("MenuReportSummary"), nullptr);
    EXPECT_EQ(ClockSpeed(), 2.0f) << "OK did not resume the game at its speed";
    EXPECT_EQ(hud->activations, 1) << "OK did not return to the HUD";
    EXPECT_TRUE(hud->active);
}

TEST_F(ReportsHubTest, EachListChoiceOpensItsReportWhoseOkReturnsToTheHud) {
    keepLog = true;
    StartReports();
    const std::pair<int32_t, const char*> choices[] = {{REPORTS_POWER, "MenuReportPower"},
                                                       {REPORTS_MAINT, "MenuReportMaint"},
                                                       {REPORTS_EMPLOYEES, "MenuReportEmployees"},
                                                       {REPORTS_HOURLY, "MenuReportHourly"}};
    for (const auto& [id, cls] : choices) {
        hud->activations = 0;
        hud->ClearActive();
        MenuReports* hub = OpenHub();
        ASSERT_NE(hub, nullptr);
        ClickId(hub, id);
        auto* report = Find<MenuReportBase>(cls);
        ASSERT_NE(report, nullptr) << cls;
        // The line a driver of the real program waits on before it answers the report.
        const std::string line = std::string("Menu: ") + cls + " (" + cls + ")\n";
        EXPECT_NE(LogText().find(line), std::string::npos) << cls;
        EXPECT_EQ(Find<MenuReports>("MenuReports"), nullptr) << cls;
        EXPECT_EQ(report->opener.Get(), hud) << cls;
        EXPECT_EQ(report->viewedOut, &hud->pending) << cls;
        EXPECT_EQ(ClockSpeed(), 0.0f) << cls;
        EXPECT_EQ(hud->activations, 0) << cls;
        ClickId(report, REPORT_OK);
        EXPECT_EQ(Find<MenuReportBase>(cls), nullptr) << cls;
        EXPECT_EQ(ClockSpeed(), 2.0f) << cls;
        EXPECT_EQ(hud->activations, 1) << cls;
        EXPECT_EQ(Find<MenuReports>("MenuReports"), nullptr) << cls << ": OK went back to the hub";
    }
}

TEST_F(ReportsHubTest, DoneLeavesTheGameAtItsSpeed) {
    StartReports();
    MenuReports* hub = OpenHub();
    ASSERT_NE(hub, nullptr);
    ClickId(hub, REPORTS_DONE);
    EXPECT_EQ(Find<MenuReports>("MenuReports"), nullptr);
    EXPECT_EQ(ClockSpeed(), 2.0f);
    EXPECT_EQ(hud->activations, 1);
}

TEST_F(ReportsHubTest, AReportThatCannotBeMadeLeavesTheHubUpAndPaused) {
    registerFirst = [] {
        EntCreateClass(RefusedPowerProc, 0, 0);
        EntCreateClass(EcMtGameProc, 0, 0);
        EntCreateClass(ReportHudDoubleProc, 0, 0);
    };
    keepLog = true;
    StartReports();
    MenuReports* hub = OpenHub();
    ASSERT_NE(hub, nullptr);
    ClickId(hub, REPORTS_POWER);
    EXPECT_EQ(Find<MenuReports>("MenuReports"), hub) << "the hub went with no report in its place";
    EXPECT_EQ(ClockSpeed(), 0.0f) << "the hub left the game running under it";
    EXPECT_NE(LogText().find("MenuReports: cannot open MenuReportPower\n"), std::string::npos);
    EXPECT_EQ(hud->activations, 0);
    ClickId(hub, REPORTS_DONE);
    EXPECT_EQ(Find<MenuReports>("MenuReports"), nullptr);
    EXPECT_EQ(hud->activations, 1);
    EXPECT_EQ(ClockSpeed(), 2.0f);
}

TEST_F(ReportsHubTest, TheSummaryShowsMoneyAndTheRankOfTheDaysStart) {
    StartReports();
    MtGame* game = Game();
    std::snprintf(game->career.name, sizeof game->career.name, "Ada's Midway");
    const int32_t* tiers = game->gameVals.tierAchievement;
    game->career.cash = tiers[1] + 12345; // the start of the day: tier 1
    game->cash = tiers[3] + 100;          // today's takings reach the top tier
    game->onDeposit = 98765;
    MtGameSetTimerScale(game, 2.0f);
    Menu3Base* summary = MenuReportSummaryOpen(Menus(), hud);
    ASSERT_NE(summary, nullptr);
    Step();
    EXPECT_EQ(ClockSpeed(), 0.0f);
    const std::set<std::u16string> texts = Texts(summary);
    auto has = [&](const std::u16string& t) { return texts.count(t) == 1; };
    auto dollars = [](int32_t cents) {
        std::string s = std::to_string(cents / 100);
        return std::u16string(s.begin(), s.end());
    };
    EXPECT_TRUE(has(u"Carnival Summary"));
    EXPECT_TRUE(has(u"Ada's Midway"));
    EXPECT_TRUE(has(u"Cash Before Today: $" + dollars(tiers[1] + 12345)));
    EXPECT_TRUE(has(u"Current Cash: $" + dollars(tiers[3] + 100)));
    EXPECT_TRUE(has(u"On Deposit: $987"));
    EXPECT_TRUE(has(u"Current Rank: " + std::u16string(game->gameVals.tierName[1])))
        << "the rank follows the cash at the start of the day";
    EXPECT_TRUE(has(u"Next rank at: $" + dollars(tiers[2])));
    ClickId(summary, 4);

    game->career.cash = tiers[3] + 1;
    summary = MenuReportSummaryOpen(Menus(), hud);
    ASSERT_NE(summary, nullptr);
    Step();
    const std::set<std::u16string> top = Texts(summary);
    EXPECT_EQ(top.count(u"You are a Master of the Midway!"), 1u);
    EXPECT_EQ(top.count(u"Current Rank: " + std::u16string(game->gameVals.tierName[3])), 1u);
    for (const std::u16string& t : top)
        EXPECT_EQ(t.find(u"Next rank"), std::u16string::npos) << Narrow(t);
    ClickId(summary, 4);
    EXPECT_EQ(ClockSpeed(), 2.0f);
    EXPECT_EQ(hud->activations, 2);
}

TEST_F(ReportsHubTest, AReportOpenedStraightFromTheHudPausesAndResumes) {
    StartReports();
    MtGameSetTimerScale(Game(), 2.0f);
    Menu3Base* report = MenuReportMaintOpen(Menus(), &hud->pending, hud);
    ASSERT_NE(report, nullptr);
    Step();
    EXPECT_EQ(ClockSpeed(), 0.0f);
    ClickId(report, REPORT_OK);
    EXPECT_EQ(ClockSpeed(), 2.0f);
    EXPECT_TRUE(hud->active);
    EXPECT_EQ(hud->activations, 1);

    // No opener and nowhere to store a viewed entity: OK still closes and resumes.
    report = MenuReportMaintOpen(Menus(), nullptr, nullptr);
    ASSERT_NE(report, nullptr);
    Step();
    EXPECT_EQ(ClockSpeed(), 0.0f);
    ClickId(report, REPORT_OK);
    EXPECT_EQ(Find<Menu3Base>("MenuReportMaint"), nullptr);
    EXPECT_EQ(ClockSpeed(), 2.0f);
    EXPECT_EQ(hud->activations, 1);
}
