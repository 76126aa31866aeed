// The patron panel: the patron's name, what it is doing, its tickets and cash, and what it is
// thinking.
#pragma once

#include "ui/Menus/MenuInspectPerson.h"

class Rube1;

enum : int32_t { INSPECT_RUBE_CLOSE = 1006, INSPECT_RUBE_VIEW = 1007, INSPECT_RUBE_THOUGHT = 1004 };

class MenuInspectRube : public MenuInspectPerson {
  public:
    const char* GetTypeName() override { return "MenuInspectRube"; }
    int Create(EntNode* node) override;

    StaticText* state = nullptr;
    StaticText* tickets = nullptr;
    StaticText* cash = nullptr;
    StaticText* thought = nullptr;

  protected:
    bool Accepts(ENTBASE* entity) override;
    void Refresh(ENTBASE* person) override;
};

// What the patron is doing, by its state (the target attraction's name where it has one, empty
// without), into `out` (cut to `size` units with the terminator).
void InspectRubeStateText(const Rube1* patron, char16_t* out, int size);
// What a patron thinks of the need `RubeChooseNeed` reported; empty for any other report.
const char16_t* InspectRubeThought(int need);

// Shows the patron on the panel, or closes it for null (or anything but a patron).
void InspectRubeShow(MenuInspectRube* panel, ENTBASE* patron);

intptr_t EcMenuInspectRubeProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
