// "LOAD LAYOUT": "NEW LAYOUT", then the current career's saved layouts of the current venue;
// Start builds the venue empty or loads a layout, Delete removes a layout's file.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menus/MenuLoadList.h"

class MenuLoadLayout : public MenuLoadList {
  protected:
    const char* ClassName() const override { return "MenuLoadLayout"; }
    const char16_t* Title() const override { return u"LOAD LAYOUT"; }
    void FillEntries() override;
    void RowCells(ReportSink& sink) override;
    Menu3Base* StartSelected() override;
    // Never "NEW LAYOUT".
    bool CanDelete() const override { return entries.size() >= 2 && list.selected != 0; }
    void DeleteSelected() override;
    const char* BackClass() const override { return "MenuVenueSetup"; }
};

// Created under the parent and started; null when it cannot be made.
Menu3Base* MenuLoadLayoutOpen(ENTBASE* parent);

intptr_t EcMenuLoadLayoutProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
