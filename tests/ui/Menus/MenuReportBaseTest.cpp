// The report list base, seen through the maintenance report: paging, lines, row picks, the empty
// list, and the pulsing, gliding highlight bar.
#include "tests/ui/Menus/ReportTestWorld.h"

#include "engine/Input/SlInput.h"
#include "game/Ents/AttrBase.h"
#include "ui/Menus/MenuReportMaint.h"
#include "ui/StaticGraphic.h"

#include <algorithm>

namespace {
constexpr int kRideType = 14; // a ride of the shipped list

class ReportBaseTest : public ReportTest {
  protected:
    MenuReportMaint* OpenMaint(int rides) {
        for (int i = 0; i < rides; ++i)
            MakeAttr(kRideType, 0.1f);
        auto* report =
            dynamic_cast<MenuReportMaint*>(MenuReportMaintOpen(Menus(), &hud->pending, hud));
        Step();
        return report;
    }
    static void Send(MenuReportBase* report, int32_t type, intptr_t a, intptr_t b) {
        const SlEvent e = {type, a, b, 0};
        report->OnMessage(&e);
    }
};
} // namespace

TEST_F(ReportBaseTest, PagesAndLinesMoveTheFirstRowAndTheSelection) {
    StartReports();
    MenuReportMaint* report = OpenMaint(20);
    ASSERT_NE(report, nullptr);
    ASSERT_EQ(report->rowCount, 20);
    report->rowsPerPage = 12; // the base's page

    auto at = [&] { return std::make_pair(report->firstVisible, report->selected); };
    ClickId(report, REPORT_PAGE_DOWN);
    EXPECT_EQ(at(), std::make_pair(8, 8)) << "a page down is clamped to the last full page";
    ClickId(report, REPORT_PAGE_DOWN);
    EXPECT_EQ(at(), std::make_pair(19, 19)) << "past the last page it stops on the last row";
    ClickId(report, REPORT_PAGE_UP);
    EXPECT_EQ(at(), std::make_pair(7, 7));
    ClickId(report, REPORT_PAGE_UP);
    EXPECT_EQ(at(), std::make_pair(0, 0));

    for (int i = 0; i < 11; ++i)
        Send(report, CTL3_EVENT, REPORT_DOWN, CTL3_CLICK);
    EXPECT_EQ(at(), std::make_pair(0, 11)) << "the page's last row is still on the page";
    ClickId(report, REPORT_DOWN);
    EXPECT_EQ(at(), std::make_pair(1, 12)) << "a line past the page moves the first row";
    for (int i = 0; i < 30; ++i)
        Send(report, CTL3_EVENT, REPORT_DOWN, CTL3_CLICK);
    EXPECT_EQ(at(), std::make_pair(8, 19)) << "the selection stops at the last row";
    ClickId(report, REPORT_UP);
    EXPECT_EQ(at(), std::make_pair(8, 18));
    for (int i = 0; i < 30; ++i)
        Send(report, CTL3_EVENT, REPORT_UP, CTL3_CLICK);
    EXPECT_EQ(at(), std::make_pair(0, 0));

    report->SelectRow(15);
    EXPECT_EQ(at(), std::make_pair(4, 15)) << "a row beyond the page brings the page to it";
    report->SelectRow(-1);
    report->SelectRow(20);
    EXPECT_EQ(at(), std::make_pair(4, 15)) << "-1 and the count are no rows";
    report->SelectRow(2);
    EXPECT_EQ(at(), std::make_pair(2, 2));
}

TEST_F(ReportBaseTest, RowsAreFoundOnlyInsideTheListAndAboveItsEnd) {
    StartReports();
    MenuReportMaint* report = OpenMaint(3);
    ASSERT_NE(report, nullptr);
    const float h = report->rowHeight;
    EXPECT_EQ(report->RowAt(160.0f, 280.0f), 0);
    EXPECT_EQ(report->RowAt(866.0f, 280.0f + 2.5f * h), 2);
    EXPECT_EQ(report->RowAt(159.0f, 300.0f), -1);
    EXPECT_EQ(report->RowAt(867.0f, 300.0f), -1);
    EXPECT_EQ(report->RowAt(500.0f, 279.0f), -1);
    EXPECT_EQ(report->RowAt(500.0f, report->listBottom + 1.0f), -1);
    EXPECT_EQ(report->RowAt(500.0f, 280.0f + 3.5f * h), -1) << "below the last row of a short list";

    // The player's pointer and button, through the input layer.
    MouseMove(500.0f, 280.0f + 1.5f * h);
    Step();
    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
    EXPECT_EQ(report->selected, 1);
    MouseMove(500.0f, 280.0f + 5.5f * h);
    Step();
    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
    EXPECT_EQ(report->selected, 1) << "a press below the last row selected something";
}

TEST_F(ReportBaseTest, AnEmptyReportDrawsNothingAndIgnoresScrolling) {
    StartReports();
    MenuReportMaint* report = OpenMaint(0);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->rowCount, 0);
    EXPECT_TRUE(ReportCells(report).cells.empty()) << "an empty list shows no headers";
    ClickId(report, REPORT_PAGE_DOWN);
    ClickId(report, REPORT_DOWN);
    for (int i = 0; i < 3000; ++i) {
        Send(report, CTL3_EVENT, REPORT_UP + i % 4, CTL3_CLICK);
        Send(report, 7, 0, 0);
    }
    for (int i = 0; i < 1000; ++i) {
        SDL_Event wheel{};
        wheel.type = SDL_MOUSEWHEEL;
        wheel.wheel.y = i % 2 ? 1 : -1;
        SDL_PushEvent(&wheel);
    }
    Step();
    EXPECT_EQ(std::make_tuple(report->firstVisible, report->selected, report->rowCount),
              std::make_tuple(0, 0, 0));
    EXPECT_TRUE(ReportCells(report).cells.empty());
    EXPECT_EQ(Find<MenuReportMaint>("MenuReportMaint"), report) << "scrolling closed the report";
}

TEST_F(ReportBaseTest, TheBarPulsesOnceASecondAndGlidesToANewRow) {
    StartReports();
    MenuReportMaint* report = OpenMaint(6);
    ASSERT_NE(report, nullptr);
    ASSERT_NE(report->highlight, nullptr);
    std::vector<int> alphas;
    for (int i = 0; i < 100; ++i) { // two seconds
        Step();
        alphas.push_back(int(report->highlight->colour >> 24));
        EXPECT_EQ(report->highlight->colour & 0xFFFFFFu, 0xFFFFFFu) << "the bar is white";
    }
    const auto [lo, hi] = std::minmax_element(alphas.begin(), alphas.end());
    EXPECT_GE(*lo, 89);
    EXPECT_LE(*hi, 114);
    EXPECT_LE(*lo, 90) << "the pulse never reached its low end";
    EXPECT_GE(*hi, 113) << "the pulse never reached its high end";
    for (size_t i = 0; i + 50 < alphas.size(); ++i)
        EXPECT_NEAR(alphas[i], alphas[i + 50], 1) << "the pulse is not one second long at " << i;

    const float h = report->rowHeight;
    EXPECT_NEAR(report->highlight->pos.y, 280.0f + 0.5f * h, 0.01f);
    report->SelectRow(4);
    Step(15); // 0.3 s
    EXPECT_NEAR(report->highlight->pos.y, 280.0f + 4.5f * h, 0.5f * h)
        << "the bar has not reached the row";
    Step(25);
    EXPECT_NEAR(report->highlight->pos.y, 280.0f + 4.5f * h, 0.05f) << "the bar did not settle";
    EXPECT_EQ(report->highlight->pos.x, 508.0f);
}
