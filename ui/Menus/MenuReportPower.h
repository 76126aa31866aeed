// The power report: every attraction that uses or makes power, with its idle and peak use and
// its generation, and the three totals.
#pragma once

#include "ui/Menus/MenuReportBase.h"
#include "ui/Menus/MenuReportRows.h"

class MenuReportPower : public MenuReportBase {
  public:
    int Create(EntNode* node) override;
    void ListCells(ReportSink& sink) override;
    void ForgetEntity(ENTBASE* gone) override;
    ENTBASE* RowEntity(int32_t row) override { return rows[row].Get(); }

    EntRef rows[REPORT_ROWS_MAX];
    ReportPowerTotals totals;
};

intptr_t EcMenuReportPowerProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
Menu3Base* MenuReportPowerOpen(ENTBASE* parent, ENTBASE** viewed, ENTBASE* opener);
