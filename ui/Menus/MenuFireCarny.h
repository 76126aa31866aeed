// The question before an employee is fired: OK fires it through the HUD (the fee paid), Cancel
// gives the HUD and the employee panel back.
#pragma once

#include "ui/Menus/MenuPlayQuestion.h"

class MenuFireCarny : public MenuPlayQuestion {
  public:
    const char* GetTypeName() override { return "MenuFireCarny"; }
    int Create(EntNode* node) override;

  protected:
    void Answer(MenuGameRunning* hud, ENTBASE* employee) override;
};

// The question under the parent about the employee, for the HUD and the panel that asked; null
// (nothing opened) without a parent or a live employee (anything else given is no employee).
Menu3Base* MenuFireCarnyOpen(ENTBASE* parent, ENTBASE* employee, ENTBASE* hud, ENTBASE* inspector);

intptr_t EcMenuFireCarnyProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
