// The hourly cost report.
#include "ui/Menus/MenuReportHourly.h"

#include "engine/DebugLog.h"
#include "engine/WideFormat.h"
#include "game/AttrInfo.h"
#include "game/Ents/Carny.h"
#include "game/MtGame.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuReportRows.h"
#include "ui/UiClass.h"

#include <cstring>

namespace {
bool IsCostItem(ENTBASE* entity) {
    return ReportIsCarny(entity) || ReportIsRide(entity);
}

void CopyLabel(char16_t* out, const char16_t* text) {
    size_t i = 0;
    for (; text && text[i] && i + 1 < REPORT_LABEL_MAX; ++i)
        out[i] = text[i];
    out[i] = 0;
}
} // namespace

int MenuReportHourly::Create(EntNode* n) {
    MenuReportBase::Create(n); // registers the names and runs the screen script, once
    rowsPerPage = 10;
    rowHeight = FontRowHeight();
    columnX[0] = 160.0f;
    columnX[1] = 410.0f;
    columnX[2] = 550.0f;
    columnX[3] = 650.0f;
    SetTitle(u"HOURLY COST REPORT");
    const int checked = mtGame && mtGame->showHourlyReport ? 1 : 0;
    MenuKitCheckBox(REPORT_EXTRA, u"Show this report every hour.", 512.0f, 620.0f, checked, -1,
                    this);
    FocusCtl(REPORT_OK);
    SetName("MenuReportHourly");
    DbgPrintf(DBG_GENERAL, "Menu: %s (MenuReportHourly)\n", GetName());
    Collect();
    ResetSelection();
    scroll.SetTime(0.1f);
    SnapScroll(true);
    return 1;
}

void MenuReportHourly::Collect() {
    EntRef found[REPORT_ROWS_MAX];
    rowCount = ReportCollect(EntGetRoot(this), IsCostItem, found, REPORT_ROWS_MAX);
    for (int32_t i = 0; i < rowCount; ++i) {
        ReportCostRow& row = rows[i];
        row.entity = found[i];
        if (Carny* carny = ReportCarny(found[i].Get())) {
            row.cost = float(CARNY_WAGE);
            char16_t name[ENTBASE::NAME_LEN_MAX + 1];
            WideFromNarrow(carny->name, name, ENTBASE::NAME_LEN_MAX + 1);
            CopyLabel(row.label, name);
        } else if (const AttrInfo* info = ReportAttrInfo(found[i].Get())) {
            row.cost = float(info->idleCost);
            CopyLabel(row.label, info->name);
        }
    }
}

void MenuReportHourly::ForgetEntity(ENTBASE* gone) {
    if (!gone) return;
    for (int32_t i = 0; i < rowCount; ++i)
        if (rows[i].entity.Address() == gone) rows[i].entity = EntRef();
}

void MenuReportHourly::ListCells(ReportSink& sink) {
    if (firstVisible < 0) firstVisible = 0;
    if (firstVisible >= rowCount) return;
    const int32_t last = LastShownRow();
    sink.Text(columnX[0], headerY, kReportHeaderColour, u"Cost Item");
    sink.Text(columnX[1], headerY, kReportHeaderColour, u"Hourly Cost");
    sink.TextF(columnX[0], viewingY, kReportHeaderColour, u"Viewing %i-%i of %i", firstVisible + 1,
               last, rowCount);
    for (int32_t i = firstVisible; i < last; ++i) {
        const ReportCostRow& row = rows[i];
        if (!row.entity.Get()) continue;
        const float y = listTop + float(i - firstVisible) * rowHeight;
        sink.Text(columnX[0], y, kReportRowColour, row.label);
        sink.TextF(columnX[1], y, kReportRowColour, u"$%5.2f", double(row.cost) * 0.01);
    }
}

int MenuReportHourly::OnMessage(const SlEvent* e) {
    if (!active) return 0;
    if (e && e->type == CTL3_EVENT && e->b == CTL3_CLICK) {
        if (e->a == REPORT_EXTRA) {
            if (mtGame)
                mtGame->showHourlyReport = GetCtlChecked(REPORT_EXTRA) ? 1 : 0;
            else
                SetCtlChecked(REPORT_EXTRA, false);
            return 1;
        }
    }
    return MenuReportBase::OnMessage(e);
}

namespace {
const WorldClassDef kClass = {"MenuReportHourly", nullptr, WorldMake<MenuReportHourly>, nullptr};
} // namespace

intptr_t EcMenuReportHourlyProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

Menu3Base* MenuReportHourlyOpen(ENTBASE* parent, ENTBASE** viewed, ENTBASE* opener) {
    return MenuReportOpen("MenuReportHourly", parent, viewed, opener);
}
