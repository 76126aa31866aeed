// "CAREER SUMMARY": the career's name, cash, rank and the cash of the next rank; Next goes on to
// the venue selector.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

class MenuCareerSummary : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;

    char returnTo[MENU_CLASS_NAME_MAX + 1] = {}; // kept for the opener; the screen does not use it
};

// Created under the parent with the return-to class (null: empty), started; null when it cannot
// be made.
MenuCareerSummary* MenuCareerSummaryOpen(ENTBASE* parent, const char* returnTo);

intptr_t EcMenuCareerSummaryProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
