// The reports hub: the HUD's "Reports" button opens it, and each choice opens one report in its
// place, so that the report's OK goes straight back to the HUD.
#pragma once

#include "engine/EntRef.h"
#include "engine/Input/SlInput.h"
#include "ui/Menu3Base.h"

class MtGame;

enum : int32_t {
    REPORTS_SUMMARY = 0,
    REPORTS_POWER = 1,
    REPORTS_MAINT = 2,
    REPORTS_EMPLOYEES = 3,
    REPORTS_HOURLY = 4,
    REPORTS_DONE = 5,
};

class MenuReports : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
    int OnEntityRemoved(ENTBASE* gone) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;

    EntRef opener;
    MtGame* mtGame = nullptr;
    ENTBASE** viewedOut = nullptr;
};

intptr_t EcMenuReportsProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
// returnMenu = the HUD; out[0] = where a list report's View stores its entity.
Menu3Base* MenuReportsOpen(ENTBASE* parent, ENTBASE** viewed, ENTBASE* opener);
