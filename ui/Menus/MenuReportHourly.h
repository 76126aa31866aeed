// The hourly cost report: what each carny and each ride, game and stand costs per game hour,
// with the player's choice of seeing it every hour.
#pragma once

#include "ui/Menus/MenuReportBase.h"

enum { REPORT_LABEL_MAX = 128 };

struct ReportCostRow {
    EntRef entity;
    float cost = 0.0f; // cents
    char16_t label[REPORT_LABEL_MAX] = {};
};

class MenuReportHourly : public MenuReportBase {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
    void ListCells(ReportSink& sink) override;
    void ForgetEntity(ENTBASE* gone) override;
    ENTBASE* RowEntity(int32_t row) override { return rows[row].entity.Get(); }
    void Collect();

    ReportCostRow rows[REPORT_ROWS_MAX];
};

intptr_t EcMenuReportHourlyProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
Menu3Base* MenuReportHourlyOpen(ENTBASE* parent, ENTBASE** viewed, ENTBASE* opener);
