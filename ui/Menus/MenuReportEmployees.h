// The employees report: every carny with what it is doing now, and the Hire button.
#pragma once

#include "ui/Menus/MenuReportBase.h"

class MenuReportEmployees : public MenuReportBase {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
    void ListCells(ReportSink& sink) override;
    void ForgetEntity(ENTBASE* gone) override;
    ENTBASE* RowEntity(int32_t row) override { return rows[row].Get(); }
    void Collect();

    EntRef rows[REPORT_ROWS_MAX];
};

intptr_t EcMenuReportEmployeesProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
Menu3Base* MenuReportEmployeesOpen(ENTBASE* parent, ENTBASE** viewed, ENTBASE* opener);
