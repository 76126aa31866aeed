// "LOAD SANDBOX": the sandbox saves of the save folder with their venues; Start loads one and
// goes into play, Delete removes its file.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menus/MenuLoadList.h"

class MenuLoadSandbox : public MenuLoadList {
  protected:
    const char* ClassName() const override { return "MenuLoadSandbox"; }
    const char16_t* Title() const override { return u"LOAD SANDBOX"; }
    void FillEntries() override;
    void RowCells(ReportSink& sink) override;
    Menu3Base* StartSelected() override;
    void DeleteSelected() override;
    const char* BackClass() const override { return "MenuSandbox"; }
};

// Created under the parent and started; null when it cannot be made.
Menu3Base* MenuLoadSandboxOpen(ENTBASE* parent);

intptr_t EcMenuLoadSandboxProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
