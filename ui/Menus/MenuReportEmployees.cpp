// The employees report.
#include "ui/Menus/MenuReportEmployees.h"

#include "engine/DebugLog.h"
#include "engine/WideFormat.h"
#include "game/Ents/Carny.h"
#include "game/MtGame.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuReportRows.h"
#include "ui/UiClass.h"

namespace {
constexpr const char16_t* kText =
    u"Select HIRE below to hire carnies at $8.00/hr.  Fire carnies by selecting them and choosing "
    u"FIRE.  Note that firing an employee will cost 1 day's severance pay!";
} // namespace

int MenuReportEmployees::Create(EntNode* n) {
    MenuReportBase::Create(n); // registers the names and runs the screen script, once
    rowsPerPage = 9;
    rowHeight = FontRowHeight();
    columnX[0] = 160.0f;
    columnX[1] = 410.0f;
    columnX[2] = 550.0f;
    columnX[3] = 650.0f;
    SetTitle(u"EMPLOYEES");
    MenuKitTextBox(-1, kText, 200.0f, 540.0f, 840.0f, 660.0f, this);
    MenuKitButtonHire(REPORT_EXTRA, 460.0f, 600.0f, this);
    FocusCtl(REPORT_OK);
    SetName("MenuReportEmployees");
    DbgPrintf(DBG_GENERAL, "Menu: %s (MenuReportEmployees)\n", GetName());
    Collect();
    ResetSelection();
    scroll.SetTime(0.1f);
    SnapScroll(true);
    return 1;
}

void MenuReportEmployees::Collect() {
    rowCount = ReportCollect(EntGetRoot(this), ReportIsCarny, rows, REPORT_ROWS_MAX);
}

void MenuReportEmployees::ForgetEntity(ENTBASE* gone) {
    ReportForgetRow(rows, rowCount, gone);
}

void MenuReportEmployees::ListCells(ReportSink& sink) {
    if (firstVisible < 0) firstVisible = 0;
    if (firstVisible >= rowCount) return;
    const int32_t last = LastShownRow();
    sink.Text(columnX[0], headerY, kReportHeaderColour, u"Employee");
    sink.Text(columnX[1], headerY, kReportHeaderColour, u"Currently...");
    sink.TextF(columnX[0], viewingY, kReportHeaderColour, u"Viewing %i-%i of %i", firstVisible + 1,
               last, rowCount);
    for (int32_t i = firstVisible; i < last; ++i) {
        Carny* carny = ReportCarny(rows[i].Get());
        if (!carny) continue;
        const float y = listTop + float(i - firstVisible) * rowHeight;
        char16_t text[128];
        WideFromNarrow(carny->name, text, 128);
        sink.Text(columnX[0], y, kReportRowColour, text);
        sink.Text(columnX[1], y, kReportRowColour, CarnyStatusText(carny, text, 128));
    }
}

int MenuReportEmployees::OnMessage(const SlEvent* e) {
    if (!active) return 0;
    if (e && e->type == CTL3_EVENT && e->b == CTL3_CLICK) {
        if (e->a == REPORT_EXTRA) {
            if (!mtGame) {
                DbgPrintf(DBG_GENERAL, "MenuReportEmployees: no game object; nobody hired\n");
                return 1;
            }
            MtGameHireCarny(mtGame);
            // The selection stays where it was; only the rows are new.
            Collect();
            return 1;
        }
    }
    return MenuReportBase::OnMessage(e);
}

namespace {
const WorldClassDef kClass = {"MenuReportEmployees", nullptr, WorldMake<MenuReportEmployees>,
                              nullptr};
} // namespace

intptr_t EcMenuReportEmployeesProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

Menu3Base* MenuReportEmployeesOpen(ENTBASE* parent, ENTBASE** viewed, ENTBASE* opener) {
    return MenuReportOpen("MenuReportEmployees", parent, viewed, opener);
}
