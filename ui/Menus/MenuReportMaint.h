// The maintenance report: every ride, game and stand with its wear as a three-colour bar,
// whether it is open and whether it waits for repair.
#pragma once

#include "I3d/StatBar.h"
#include "ui/Menus/MenuReportBase.h"

class MenuReportMaint : public MenuReportBase {
  public:
    int Create(EntNode* node) override;
    void ListCells(ReportSink& sink) override;
    void ForgetEntity(ENTBASE* gone) override;
    ENTBASE* RowEntity(int32_t row) override { return rows[row].Get(); }
    void Collect();

    EntRef rows[REPORT_ROWS_MAX];
    StatBar3Style bar;
};

intptr_t EcMenuReportMaintProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
// Creates the report under the parent with its opener and where View stores the entity (may be
// null), and starts it; null when the class cannot be made.
Menu3Base* MenuReportMaintOpen(ENTBASE* parent, ENTBASE** viewed, ENTBASE* opener);
