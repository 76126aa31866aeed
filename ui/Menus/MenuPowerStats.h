// The stand-alone power list: the power report's rows and totals on a panel of its own, without
// the report base. Nothing in the game opens it; scripts can create it by name.
#pragma once

#include "engine/Input/SlInput.h"
#include "ui/Menu3Base.h"
#include "ui/Menus/MenuReportBase.h"
#include "ui/Menus/MenuReportRows.h"
#include "ui/ScrollList.h"

class Font;
class StaticGraphic;

class MenuPowerStats : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int Destroy() override;
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;
    int OnEntityRemoved(ENTBASE* gone) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;
    void DrawList();
    // The opener made active again, this menu destroyed.
    void Close();

    EntRef opener;
    ScrollList list;
    StaticGraphic* highlight = nullptr;
    float pulsePhase = 0.0f;
    Font* smallFont = nullptr;
    Font* largeFont = nullptr;
    float headerY = 240.0f;
    float viewingY = 620.0f;
    float columnX[4] = {160.0f, 410.0f, 510.0f, 610.0f};
    EntRef rows[REPORT_ROWS_MAX];
    ReportPowerTotals totals;
};

intptr_t EcMenuPowerStatsProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
Menu3Base* MenuPowerStatsOpen(ENTBASE* parent, ENTBASE* opener);
