// "LOAD CAREER": the career folders of the save folder with their cash, rank and days; Start
// loads one and shows its summary, Delete removes its folder.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menus/MenuLoadList.h"

class MenuLoadCareer : public MenuLoadList {
  protected:
    const char* ClassName() const override { return "MenuLoadCareer"; }
    const char16_t* Title() const override { return u"LOAD CAREER"; }
    void FillEntries() override;
    void RowCells(ReportSink& sink) override;
    Menu3Base* StartSelected() override;
    void DeleteSelected() override;
    const char* BackClass() const override { return "MenuCareer"; }
};

// Created under the parent and started; null when it cannot be made.
Menu3Base* MenuLoadCareerOpen(ENTBASE* parent);

intptr_t EcMenuLoadCareerProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
