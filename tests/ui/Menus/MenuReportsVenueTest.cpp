// The reports on the default venue, by the player's paths: attractions placed, carnies hired
// through the employees report, an hour of play at 8X bringing the hourly report up by itself,
// then the hub and each report in turn over the live carnival.
#include "tests/ui/Menus/ReportTestWorld.h"
#include "tests/venue/VenueDriver.h"

#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuReportEmployees.h"
#include "ui/Menus/MenuReportHourly.h"
#include "ui/Menus/MenuReportMaint.h"
#include "ui/Menus/MenuReports.h"

#include <functional>

namespace {
// The tree walk the counts are checked against, written apart from the reports' own.
int CountTree(EntNode* n, const std::function<bool(ENTBASE*)>& rule) {
    int count = 0;
    for (; n; n = n->next) {
        if (n->deleteCount || !n->object) continue;
        count += rule(n->object) ? 1 : 0;
        count += CountTree(n->firstChild, rule);
    }
    return count;
}

const AttrInfo* InfoOf(ENTBASE* e) {
    auto* a = dynamic_cast<AttrBase*>(e);
    return a && a->info ? a->info : nullptr;
}

bool IsCarny(ENTBASE* e) {
    return std::string(e->GetTypeName()) == "Carny";
}

bool IsRide(ENTBASE* e) {
    const AttrInfo* i = InfoOf(e);
    return i && i->attrType < 6;
}

bool IsPowered(ENTBASE* e) {
    const AttrInfo* i = InfoOf(e);
    return i && (i->conAtIdlePower != 0 || i->conAtPeakPower != 0 || i->maxPowerGen != 0);
}

class ReportsVenueTest : public ReportTest {};
} // namespace

TEST_F(ReportsVenueTest, TheReportsFollowALiveCarnival) {
    frameMs = 33;
    StartReports();
    VenueDriver venue;
    venue.root = app.GetRoot();
    venue.observer = VenueObserverMake(venue.root);
    venue.frame = [this] { Step(); };
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    MtGame* game = venue.Game();
    ASSERT_NE(game, nullptr);
    auto* grid = static_cast<GameGrid*>(EntTreeFindType(World(), "GameGrid"));
    ASSERT_NE(grid, nullptr);
    int cx = 0, cz = 0;
    VenueDriver::CellAt(grid, 470.0f, 410.0f, &cx, &cz);
    int placed = 0;
    for (int type : {0, 2, 12, 18}) {
        placed += venue.Place(type, cx, cz) != nullptr;
        cx += 10;
    }
    ASSERT_EQ(placed, 4);
    MtGameStartDay(game);
    venue.OpenDay();
    MtGameSetTimerScale(game, 8.0f);

    // Two carnies hired through the employees report.
    Menu3Base* hub = hud->PressReports();
    ASSERT_NE(hub, nullptr);
    Step();
    ClickId(hub, REPORTS_EMPLOYEES);
    auto* staff = Find<MenuReportEmployees>("MenuReportEmployees");
    ASSERT_NE(staff, nullptr);
    const int before = staff->rowCount;
    ClickId(staff, REPORT_EXTRA);
    ClickId(staff, REPORT_EXTRA);
    EXPECT_EQ(staff->rowCount, before + 2);
    ClickId(staff, REPORT_OK);
    EXPECT_EQ(ClockSpeed(), 8.0f);
    EXPECT_TRUE(hud->active);

    // An hour of play: the hourly report comes up by itself, and Enter (OK has the focus) closes
    // it.
    int frames = 0;
    while (frames < 1000 && !Find<MenuReportHourly>("MenuReportHourly")) {
        Step();
        ++frames;
    }
    auto* hourly = Find<MenuReportHourly>("MenuReportHourly");
    ASSERT_NE(hourly, nullptr) << "no hourly report after " << frames << " frames";
    EXPECT_EQ(ClockSpeed(), 0.0f);
    EXPECT_EQ(hourly->rowCount,
              CountTree(venue.root->node, [](ENTBASE* e) { return IsCarny(e) || IsRide(e); }));
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Find<MenuReportHourly>("MenuReportHourly"), nullptr) << "Enter did not close it";
    EXPECT_EQ(ClockSpeed(), 8.0f);
    EXPECT_TRUE(hud->active);

    // The hub and each report in turn, their rows against the tree.
    const struct {
        int32_t id;
        const char* cls;
        std::function<bool(ENTBASE*)> rule;
    } reports[] = {
        {REPORTS_POWER, "MenuReportPower", IsPowered},
        {REPORTS_MAINT, "MenuReportMaint", IsRide},
        {REPORTS_EMPLOYEES, "MenuReportEmployees", IsCarny},
        {REPORTS_HOURLY, "MenuReportHourly", [](ENTBASE* e) { return IsCarny(e) || IsRide(e); }},
    };
    for (const auto& r : reports) {
        hub = hud->PressReports();
        ASSERT_NE(hub, nullptr);
        Step();
        ClickId(hub, r.id);
        auto* report = Find<MenuReportBase>(r.cls);
        ASSERT_NE(report, nullptr) << r.cls;
        EXPECT_GT(report->rowCount, 0) << r.cls;
        EXPECT_EQ(report->rowCount, CountTree(venue.root->node, r.rule)) << r.cls;
        if (r.id == REPORTS_MAINT) {
            report->SelectRow(report->rowCount - 1);
            Step(20);
            const std::vector<uint32_t> px = ReadPixels();
            int yellow = 0;
            for (int y = 280; y < int(280.0f + report->rowHeight); ++y)
                for (int x = 160; x < 400; ++x) {
                    const uint32_t p = PixelAt(px, x, y);
                    yellow +=
                        ((p >> 16) & 0xFF) > 150 && ((p >> 8) & 0xFF) > 150 && (p & 0xFF) < 100;
                }
            EXPECT_GT(yellow, 20) << "no yellow row text inside the list";
        }
        ClickId(report, REPORT_OK);
        EXPECT_EQ(Find<MenuReportBase>(r.cls), nullptr) << r.cls;
        EXPECT_EQ(ClockSpeed(), 8.0f) << r.cls;
    }
    hub = hud->PressReports();
    ASSERT_NE(hub, nullptr);
    Step();
    ClickId(hub, REPORTS_SUMMARY);
    Menu3Base* summary = Find<Menu3Base>("MenuReportSummary");
    ASSERT_NE(summary, nullptr);
    ClickId(summary, 4);
    EXPECT_EQ(ClockSpeed(), 8.0f);
    EXPECT_TRUE(hud->active);
}
