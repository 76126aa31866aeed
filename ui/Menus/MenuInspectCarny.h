// The employee panel: the employee's name and what it is doing, looking at it, and firing it
// (after a question).
#pragma once

#include "ui/Menus/MenuInspectPerson.h"

enum : int32_t { INSPECT_CARNY_CLOSE = 1005, INSPECT_CARNY_VIEW = 1006, INSPECT_CARNY_FIRE = 1007 };

class MenuInspectCarny : public MenuInspectPerson {
  public:
    const char* GetTypeName() override { return "MenuInspectCarny"; }
    int Create(EntNode* node) override;

    StaticText* status = nullptr;

  protected:
    bool Accepts(ENTBASE* entity) override;
    void Refresh(ENTBASE* person) override;
    int OnControl(int32_t id, ENTBASE* person) override;
};

// Shows the employee on the panel, or closes it for null (or anything but an employee).
void InspectCarnyShow(MenuInspectCarny* panel, ENTBASE* employee);

intptr_t EcMenuInspectCarnyProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
