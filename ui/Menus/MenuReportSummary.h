// The carnival summary: the career's name, the money and the rank, on one panel. The game is
// paused while it is open.
#pragma once

#include "engine/EntRef.h"
#include "engine/Input/SlInput.h"
#include "ui/Menu3Base.h"

class MtGame;

class MenuReportSummary : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
    int OnEntityRemoved(ENTBASE* gone) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;

    EntRef opener;
    MtGame* mtGame = nullptr;
};

intptr_t EcMenuReportSummaryProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
Menu3Base* MenuReportSummaryOpen(ENTBASE* parent, ENTBASE* opener);
