// The four list reports and the stand-alone power list: which entities each lists, the cells it
// shows character for character, its extra control, and View.
#include "tests/ui/Menus/ReportTestWorld.h"

#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Carny.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuPowerStats.h"
#include "ui/Menus/MenuReportEmployees.h"
#include "ui/Menus/MenuReportHourly.h"
#include "ui/Menus/MenuReportMaint.h"
#include "ui/Menus/MenuReportPower.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"
#include "world/CameraVantor1.h"

namespace {
// Types of the shipped list the tests reshape.
constexpr int kHammer = 14, kLoop = 15, kTornado = 16; // rides
constexpr int kUtility = 12;                           // made "attrType" 6 with power
constexpr int kGenerator = 13;                         // made a generator
constexpr int kUnpowered = 10;                         // made to use no power

class ReportListsTest : public ReportTest {
  protected:
    AttrInfo* Info(int type) { return Game()->attrList->Get(type); }
    void Reshape() {
        AttrInfo* utility = Info(kUtility);
        utility->attrType = 6;
        utility->conAtIdlePower = 2.0f;
        utility->conAtPeakPower = 4.0f;
        utility->maxPowerGen = 0.0f;
        AttrInfo* gen = Info(kGenerator);
        gen->conAtIdlePower = 0.0f;
        gen->conAtPeakPower = 0.0f;
        gen->maxPowerGen = 50.0f;
        AttrInfo* none = Info(kUnpowered);
        none->conAtIdlePower = none->conAtPeakPower = none->maxPowerGen = 0.0f;
    }
    std::u16string Name(int type) { return Info(type)->name; }
    static std::u16string TitleOf(MenuReportBase* r) {
        return r && r->title ? std::u16string(r->title->label) : u"<no title>";
    }
    static std::u16string TextBoxOf(Menu3Base* menu) {
        for (EntNode* c = menu->node->firstChild; c; c = c->next)
            if (auto* box = dynamic_cast<StaticTextBox*>(c->object)) return box->Shown().text;
        return u"<no text box>";
    }
};

bool Green(uint32_t p) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return g > 120 && g > r + 60 && g > b + 60;
}
bool Yellow(uint32_t p) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r > 150 && g > 150 && b < 100;
}
bool Red(uint32_t p) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r > 150 && r > g + 60 && r > b + 60;
}
} // namespace

TEST_F(ReportListsTest, AClickUnderAStillPointerTakesTheRowUnderIt) {
    StartReports();
    Reshape();
    for (int type : {kHammer, kLoop, kTornado})
        MakeAttr(type, 0.5f);
    auto* report = dynamic_cast<MenuReportMaint*>(MenuReportMaintOpen(Menus(), &hud->pending, hud));
    ASSERT_NE(report, nullptr);
    const float h = report->rowHeight;
    ClickId(report, REPORT_OK);
    // The pointer moves before the report opens; the report itself hears no move.
    MouseMove(300.0f, 280.0f + 2.5f * h);
    Step();
    report = dynamic_cast<MenuReportMaint*>(MenuReportMaintOpen(Menus(), &hud->pending, hud));
    ASSERT_NE(report, nullptr);
    Step();
    ASSERT_EQ(report->selected, 0);
    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
    EXPECT_EQ(report->selected, 2);
}

TEST_F(ReportListsTest, MaintenanceListsRidesWithTheirStateAndWear) {
    StartReports();
    Reshape();
    MakeAttr(kHammer, 0.2f, true, false);
    MakeAttr(kLoop, 0.6f, false, true);
    MakeAttr(kTornado, 0.95f);
    MakeAttr(kUtility, 0.5f);
    MakeAttr(999, 0.5f); // a type with no record
    auto* report = dynamic_cast<MenuReportMaint*>(MenuReportMaintOpen(Menus(), &hud->pending, hud));
    ASSERT_NE(report, nullptr);
    Step();
    EXPECT_EQ(report->rowCount, 3) << "utilities and types without a record are no rides";
    EXPECT_EQ(report->rowsPerPage, 9);
    EXPECT_STREQ(report->name, "MenuReportMaint");
    EXPECT_EQ(TitleOf(report), u"MAINTANENCE AND REPAIR");
    EXPECT_EQ(TextBoxOf(report),
              u"Carnies will repair items that are closed AND in the repair queue.  View an item "
              u"to change its settings.  Items not kept in good working order may break down.  "
              u"This will upset patrons and may cause you to loose your depost.");

    const ReportCellReader cells = ReportCells(report);
    EXPECT_EQ(cells.At(160, 240), u"Ride / Attraction");
    EXPECT_EQ(cells.At(410, 240), u"Maintance");
    EXPECT_EQ(cells.At(550, 240), u"Open");
    EXPECT_EQ(cells.At(650, 240), u"In Repair Queue");
    EXPECT_EQ(cells.At(160, 620), u"Viewing 1-3 of 3");
    const float h = report->rowHeight;
    const char16_t* open[3] = {u"Closed", u"Open", u"Open"};
    const char16_t* queue[3] = {u"-", u"on repair list", u"-"};
    const int types[3] = {kHammer, kLoop, kTornado};
    for (int i = 0; i < 3; ++i) {
        const float y = 280.0f + float(i) * h;
        EXPECT_EQ(cells.At(160, y), Name(types[i])) << "row " << i;
        EXPECT_EQ(cells.At(550, y), open[i]) << "row " << i;
        EXPECT_EQ(cells.At(650, y), queue[i]) << "row " << i;
    }
    for (const auto& c : cells.cells)
        EXPECT_EQ(c.colour, c.y >= 280.0f && c.y < 600.0f ? 0xFFFFFF00u : 0xFFFFFFFFu)
            << Narrow(c.text);
    ASSERT_EQ(cells.bars.size(), 3u);
    const float wear[3] = {0.2f, 0.6f, 0.95f};
    for (int i = 0; i < 3; ++i) {
        const StatBar3Style& bar = cells.bars[size_t(i)];
        EXPECT_FLOAT_EQ(bar.value, wear[i]);
        EXPECT_EQ(std::make_tuple(bar.left, bar.top, bar.right, bar.bottom),
                  std::make_tuple(410.0f, 280.0f + float(i) * h + 3.0f, 540.0f,
                                  280.0f + float(i) * h + 21.0f));
        EXPECT_EQ(std::make_pair(bar.lowThreshold, bar.highThreshold), std::make_pair(0.5f, 0.9f));
    }

    // On screen: green, yellow and red bars, and yellow row text. The highlight bar covers the
    // selected row, so each row is read while another one is selected.
    auto barPixel = [&](int row) {
        const std::vector<uint32_t> px = ReadPixels();
        return PixelAt(px, 415, int(280.0f + (float(row) + 0.5f) * h + 1.0f));
    };
    report->SelectRow(2);
    Step(30);
    EXPECT_TRUE(Green(barPixel(0))) << std::hex << barPixel(0);
    EXPECT_TRUE(Yellow(barPixel(1))) << std::hex << barPixel(1);
    report->SelectRow(0);
    Step(30);
    EXPECT_TRUE(Red(barPixel(2))) << std::hex << barPixel(2);
    const std::vector<uint32_t> px = ReadPixels();
    int yellowText = 0;
    for (int y = int(280.0f + h); y < int(280.0f + 3.0f * h); ++y)
        for (int x = 160; x < 400; ++x)
            yellowText += Yellow(PixelAt(px, x, y));
    EXPECT_GT(yellowText, 20) << "the row names are not drawn in yellow";
}

TEST_F(ReportListsTest, PowerListsEveryPoweredAttractionWithTotals) {
    StartReports();
    Reshape();
    MakeAttr(kHammer);
    MakeAttr(kUnpowered);
    MakeAttr(kUtility);
    MakeAttr(kGenerator);
    MakeAttr(kLoop);
    auto* report = dynamic_cast<MenuReportPower*>(MenuReportPowerOpen(Menus(), &hud->pending, hud));
    ASSERT_NE(report, nullptr);
    Step();
    EXPECT_EQ(report->rowCount, 4) << "every powered attraction, the utility included";
    EXPECT_EQ(report->rowsPerPage, 10);
    EXPECT_EQ(TitleOf(report), u"POWER USAGE");
    const ReportCellReader cells = ReportCells(report);
    const float h = report->rowHeight;
    EXPECT_EQ(cells.At(160, 240), u"Ride / Attraction");
    EXPECT_EQ(cells.At(410, 240), u"At Idle");
    EXPECT_EQ(cells.At(510, 240), u"At Max");
    EXPECT_EQ(cells.At(610, 240), u"Generation");
    EXPECT_EQ(cells.At(160, 620), u"Viewing 1-4 of 4");
    EXPECT_EQ(cells.At(410, 620), u"13"); // 6 + 2 + 0 + 5
    EXPECT_EQ(cells.At(510, 620), u"59"); // 30 + 4 + 0 + 25
    EXPECT_EQ(cells.At(610, 620), u"50");
    EXPECT_EQ(cells.At(160, 280), Name(kHammer));
    EXPECT_EQ(cells.At(410, 280), u"6");
    EXPECT_EQ(cells.At(510, 280), u"30");
    EXPECT_EQ(cells.At(610, 280), u"-");
    EXPECT_EQ(cells.At(160, 280 + h), Name(kUtility));
    const float gy = 280.0f + 2.0f * h;
    EXPECT_EQ(cells.At(160, gy), Name(kGenerator));
    EXPECT_EQ(cells.At(410, gy), u"-");
    EXPECT_EQ(cells.At(510, gy), u"-");
    EXPECT_EQ(cells.At(610, gy), u"50");
}

TEST_F(ReportListsTest, HourlyCostsCarniesAndRidesAndKeepsThePlayersChoice) {
    StartReports();
    Reshape();
    Info(kHammer)->idleCost = 1250;
    MakeCarny("Carny A");
    MakeAttr(kHammer);
    MakeAttr(kUtility);
    MakeCarny("Carny B");
    auto* report =
        dynamic_cast<MenuReportHourly*>(MenuReportHourlyOpen(Menus(), &hud->pending, hud));
    ASSERT_NE(report, nullptr);
    Step();
    EXPECT_EQ(report->rowCount, 3) << "the utility is no cost item";
    EXPECT_EQ(report->rowsPerPage, 10);
    EXPECT_EQ(TitleOf(report), u"HOURLY COST REPORT");
    const ReportCellReader cells = ReportCells(report);
    const float h = report->rowHeight;
    EXPECT_EQ(cells.At(160, 240), u"Cost Item");
    EXPECT_EQ(cells.At(410, 240), u"Hourly Cost");
    EXPECT_EQ(cells.At(160, 280), u"Carny A");
    EXPECT_EQ(cells.At(410, 280), u"$ 8.00");
    EXPECT_EQ(cells.At(160, 280 + h), Name(kHammer));
    EXPECT_EQ(cells.At(410, 280 + h), u"$12.50");
    EXPECT_EQ(cells.At(160, 280 + 2 * h), u"Carny B");

    MtGame* game = Game();
    ASSERT_EQ(game->showHourlyReport, 1);
    Ctl3Base* box = report->FindCtl(REPORT_EXTRA);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(std::u16string(box->label), u"Show this report every hour.");
    EXPECT_EQ(box->checked, 1);
    Click(box);
    EXPECT_EQ(game->showHourlyReport, 0) << "unchecking did not reach the game";
    ClickId(report, REPORT_OK);

    // The next game hour leaves the HUD alone; checked again, the hour after brings it back.
    app.GetRoot()->GameEventPre(GE_HOURLY, 0);
    Step();
    EXPECT_EQ(hud->hourlyOpened, 0);
    EXPECT_EQ(Find<MenuReportHourly>("MenuReportHourly"), nullptr);
    report = dynamic_cast<MenuReportHourly*>(MenuReportHourlyOpen(Menus(), &hud->pending, hud));
    ASSERT_NE(report, nullptr);
    Step();
    box = report->FindCtl(REPORT_EXTRA);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->checked, 0) << "the box does not show the game's flag";
    Click(box);
    EXPECT_EQ(game->showHourlyReport, 1);
    ClickId(report, REPORT_OK);
    app.GetRoot()->GameEventPre(GE_HOURLY, 0);
    Step();
    EXPECT_EQ(hud->hourlyOpened, 1);
    EXPECT_NE(Find<MenuReportHourly>("MenuReportHourly"), nullptr);
}

TEST_F(ReportListsTest, EmployeesHireAndViewFliesTheCamera) {
    StartReports();
    ENTBASE* camera = EntCreateChild("CameraVantor1", World());
    ASSERT_NE(camera, nullptr);
    camera->Start();
    ASSERT_NE(MakeGenerator(), nullptr);
    auto* report =
        dynamic_cast<MenuReportEmployees*>(MenuReportEmployeesOpen(Menus(), &hud->pending, hud));
    ASSERT_NE(report, nullptr);
    Step();
    EXPECT_EQ(TitleOf(report), u"EMPLOYEES");
    EXPECT_EQ(report->rowCount, 0);
    ClickId(report, REPORT_VIEW);
    EXPECT_EQ(Find<MenuReportEmployees>("MenuReportEmployees"), report)
        << "View on an empty list closed the report";
    EXPECT_EQ(hud->pending, nullptr);

    ClickId(report, REPORT_EXTRA);
    ASSERT_EQ(report->rowCount, 1) << "Hire added no row";
    ClickId(report, REPORT_EXTRA);
    ASSERT_EQ(report->rowCount, 2);
    report->SelectRow(1);
    ClickId(report, REPORT_EXTRA);
    EXPECT_EQ(report->rowCount, 3);
    EXPECT_EQ(report->selected, 1) << "hiring moved the selection";

    const ReportCellReader cells = ReportCells(report);
    EXPECT_EQ(cells.At(160, 240), u"Employee");
    EXPECT_EQ(cells.At(410, 240), u"Currently...");
    auto* second = dynamic_cast<Carny*>(report->rows[1].Get());
    ASSERT_NE(second, nullptr);
    char16_t status[128];
    EXPECT_EQ(cells.At(410, 280 + report->rowHeight), CarnyStatusText(second, status, 128));
    std::u16string name;
    for (const char* p = second->name; *p; ++p)
        name += char16_t(*p);
    EXPECT_EQ(cells.At(160, 280 + report->rowHeight), name);

    second->pos = {384.0f, 0.0f, 420.0f}; // inside the camera's ground
    ClickId(report, REPORT_VIEW);
    EXPECT_EQ(Find<MenuReportEmployees>("MenuReportEmployees"), nullptr) << "View kept the report";
    EXPECT_EQ(hud->pending, second);
    EXPECT_EQ(hud->activations, 1);
    auto* vantor = dynamic_cast<CameraVantor1*>(camera);
    ASSERT_NE(vantor, nullptr);
    EXPECT_EQ(std::make_tuple(vantor->targetPoint.x, vantor->targetPoint.z),
              std::make_tuple(384.0f, 420.0f))
        << "the camera's target did not move to the carny";
}

TEST_F(ReportListsTest, ARowWhoseEntityGoesIsDroppedAndCannotBeViewed) {
    StartReports();
    MakeAttr(kHammer);
    AttrBase* doomed = MakeAttr(kLoop);
    auto* report = dynamic_cast<MenuReportMaint*>(MenuReportMaintOpen(Menus(), &hud->pending, hud));
    ASSERT_NE(report, nullptr);
    Step();
    ASSERT_EQ(report->rowCount, 2);
    EntDestroyTree(doomed);
    Step();
    const ReportCellReader cells = ReportCells(report);
    EXPECT_FALSE(cells.Has(Name(kLoop))) << "the gone attraction is still drawn";
    EXPECT_EQ(cells.bars.size(), 1u);
    report->SelectRow(1);
    ClickId(report, REPORT_VIEW);
    EXPECT_EQ(Find<MenuReportMaint>("MenuReportMaint"), report) << "View on a gone row closed";
    EXPECT_EQ(hud->pending, nullptr);
}

TEST_F(ReportListsTest, WithoutACameraViewStillStoresTheEntityAndCloses) {
    StartReports();
    AttrBase* ride = MakeAttr(kHammer);
    auto* report = dynamic_cast<MenuReportMaint*>(MenuReportMaintOpen(Menus(), &hud->pending, hud));
    ASSERT_NE(report, nullptr);
    Step();
    ClickId(report, REPORT_VIEW);
    EXPECT_EQ(Find<MenuReportMaint>("MenuReportMaint"), nullptr);
    EXPECT_EQ(hud->pending, ride);
}

TEST_F(ReportListsTest, SixHundredRidesFillFiveHundredRows) {
    StartReports();
    for (int i = 0; i < 600; ++i)
        MakeAttr(kHammer);
    auto* report = dynamic_cast<MenuReportMaint*>(MenuReportMaintOpen(Menus(), &hud->pending, hud));
    ASSERT_NE(report, nullptr);
    Step();
    EXPECT_EQ(report->rowCount, 500);
    EXPECT_EQ(ReportCells(report).At(160, 620), u"Viewing 1-9 of 500");
    report->SelectRow(499);
    EXPECT_EQ(report->firstVisible, 491);
    EXPECT_EQ(ReportCells(report).At(160, 620), u"Viewing 492-500 of 500");
}

TEST_F(ReportListsTest, TheStandAlonePowerListShowsThePowerRows) {
    StartReports();
    Reshape();
    MakeAttr(kHammer);
    MakeAttr(kGenerator);
    MakeAttr(kUnpowered);
    auto* list = dynamic_cast<MenuPowerStats*>(MenuPowerStatsOpen(Menus(), hud));
    ASSERT_NE(list, nullptr);
    Step(3);
    EXPECT_EQ(list->list.count, 2);
    EXPECT_FLOAT_EQ(list->totals.generated, 50.0f);
    EXPECT_EQ(Game()->timerScale, ClockSpeed()) << "the stand-alone list does not pause";
    ClickId(list, REPORT_DOWN);
    EXPECT_EQ(list->list.selected, 1);
    ClickId(list, REPORT_OK);
    EXPECT_EQ(Find<MenuPowerStats>("MenuPowerStats"), nullptr);
    EXPECT_EQ(hud->activations, 1);
}

TEST_F(ReportListsTest, TheStandAlonePowerListPicksARowAndViewsIt) {
    StartReports();
    Reshape();
    MakeAttr(kHammer);
    AttrBase* gen = MakeAttr(kGenerator);
    auto* list = dynamic_cast<MenuPowerStats*>(MenuPowerStatsOpen(Menus(), hud));
    ASSERT_NE(list, nullptr);
    Step();
    MouseMove(500.0f, 280.0f + 1.5f * list->list.rowHeight);
    Step();
    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
    EXPECT_EQ(list->list.selected, 1) << "the pointer did not pick the second row";
    EXPECT_EQ(list->rows[1].Get(), gen);
    ClickId(list, REPORT_VIEW);
    EXPECT_EQ(Find<MenuPowerStats>("MenuPowerStats"), nullptr) << "View kept the list";
    EXPECT_EQ(hud->activations, 1);
    EXPECT_EQ(hud->pending, nullptr) << "the stand-alone list has nowhere to store an entity";
}
