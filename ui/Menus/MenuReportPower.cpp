// The power report.
#include "ui/Menus/MenuReportPower.h"

#include "engine/DebugLog.h"
#include "ui/UiClass.h"

int MenuReportPower::Create(EntNode* n) {
    MenuReportBase::Create(n); // registers the names and runs the screen script, once
    rowsPerPage = 10;
    rowHeight = FontRowHeight();
    SetTitle(u"POWER USAGE");
    FocusCtl(REPORT_OK);
    SetName("MenuReportPower");
    DbgPrintf(DBG_GENERAL, "Menu: %s (MenuReportPower)\n", GetName());
    rowCount = ReportCollect(EntGetRoot(this), ReportIsPowered, rows, REPORT_ROWS_MAX);
    // Summed once: the totals stay those of the rows as they were collected.
    totals = ReportSumPower(rows, rowCount);
    ResetSelection();
    scroll.SetTime(0.1f);
    SnapScroll(true);
    return 1;
}

void MenuReportPower::ForgetEntity(ENTBASE* gone) {
    ReportForgetRow(rows, rowCount, gone);
}

void MenuReportPower::ListCells(ReportSink& sink) {
    if (firstVisible < 0) firstVisible = 0;
    if (firstVisible >= rowCount) return;
    const ReportPowerLayout layout = {headerY, viewingY, listTop, rowHeight, columnX};
    ReportPowerCells(sink, layout, rows, rowCount, firstVisible, LastShownRow(), totals);
}

namespace {
const WorldClassDef kClass = {"MenuReportPower", nullptr, WorldMake<MenuReportPower>, nullptr};
} // namespace

intptr_t EcMenuReportPowerProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

Menu3Base* MenuReportPowerOpen(ENTBASE* parent, ENTBASE** viewed, ENTBASE* opener) {
    return MenuReportOpen("MenuReportPower", parent, viewed, opener);
}
