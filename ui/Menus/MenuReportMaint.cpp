// The maintenance report.
#include "ui/Menus/MenuReportMaint.h"

#include "engine/DebugLog.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuReportRows.h"
#include "ui/UiClass.h"

namespace {
constexpr const char16_t* kText =
    u"Carnies will repair items that are closed AND in the repair queue.  View an item to change "
    u"its settings.  Items not kept in good working order may break down.  This will upset "
    u"patrons and may cause you to loose your depost.";
} // namespace

int MenuReportMaint::Create(EntNode* n) {
    // The base registers the control names and runs the screen script once: a second run here
    // would add whatever the script's Create adds twice.
    MenuReportBase::Create(n);
    rowsPerPage = 9;
    rowHeight = FontRowHeight();
    columnX[0] = 160.0f;
    columnX[1] = 410.0f;
    columnX[2] = 550.0f;
    columnX[3] = 650.0f;
    SetTitle(u"MAINTANENCE AND REPAIR");
    MenuKitTextBox(-1, kText, 200.0f, 540.0f, 840.0f, 660.0f, this);
    FocusCtl(REPORT_OK);
    SetName("MenuReportMaint");
    DbgPrintf(DBG_GENERAL, "Menu: %s (MenuReportMaint)\n", GetName());
    Collect();
    ResetSelection();
    scroll.SetTime(0.1f);
    SnapScroll(true);
    bar.lowThreshold = 0.5f;
    bar.highThreshold = 0.9f;
    bar.value = 0.0f;
    return 1;
}

void MenuReportMaint::Collect() {
    rowCount = ReportCollect(EntGetRoot(this), ReportIsRide, rows, REPORT_ROWS_MAX);
}

void MenuReportMaint::ForgetEntity(ENTBASE* gone) {
    ReportForgetRow(rows, rowCount, gone);
}

void MenuReportMaint::ListCells(ReportSink& sink) {
    if (firstVisible < 0) firstVisible = 0;
    if (firstVisible >= rowCount) return;
    const int32_t last = LastShownRow();
    sink.Text(columnX[0], headerY, kReportHeaderColour, u"Ride / Attraction");
    sink.Text(columnX[1], headerY, kReportHeaderColour, u"Maintance");
    sink.Text(columnX[2], headerY, kReportHeaderColour, u"Open");
    sink.Text(columnX[3], headerY, kReportHeaderColour, u"In Repair Queue");
    sink.TextF(columnX[0], viewingY, kReportHeaderColour, u"Viewing %i-%i of %i", firstVisible + 1,
               last, rowCount);
    for (int32_t i = firstVisible; i < last; ++i) {
        AttrBase* attr = ReportAttr(rows[i].Get());
        if (!attr) continue;
        const float y = listTop + float(i - firstVisible) * rowHeight;
        sink.Text(columnX[0], y, kReportRowColour, attr->info->name);
        bar.left = columnX[1];
        bar.top = y + 3.0f;
        bar.right = columnX[1] + 130.0f;
        bar.bottom = y + 21.0f;
        // The attraction's repair value is its wear (0 new, 1 worn out), as the attraction
        // itself keeps it, not a condition: a worn ride shows a long red bar.
        bar.value = attr->repair;
        sink.Bar(bar);
        sink.Text(columnX[2], y, kReportRowColour, attr->closed ? u"Closed" : u"Open");
        sink.Text(columnX[3], y, kReportRowColour, attr->repairMe ? u"on repair list" : u"-");
    }
}

namespace {
const WorldClassDef kClass = {"MenuReportMaint", nullptr, WorldMake<MenuReportMaint>, nullptr};
} // namespace

intptr_t EcMenuReportMaintProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

Menu3Base* MenuReportMaintOpen(ENTBASE* parent, ENTBASE** viewed, ENTBASE* opener) {
    return MenuReportOpen("MenuReportMaint", parent, viewed, opener);
}
