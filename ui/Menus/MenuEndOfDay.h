// The end-of-day summary: the day's money in five lines, then another day, a save, or back to
// the menus without saving.
#pragma once

#include "engine/EntRef.h"
#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

class MenuEndOfDay : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
    void SetOpenArgs(const MenuOpenArgs& args) override; // the opener is args.returnMenu

    EntRef opener; // made active again when the day goes on

  private:
    int RunAnotherDay();
    int SaveAndExit();
    int ExitWithoutSaving();
};

// The screen under the parent (the menus node) with its opener (may be null), started; null
// when it cannot be made.
MenuEndOfDay* MenuEndOfDayOpen(ENTBASE* parent, ENTBASE* opener);

// The class the save dialogs are handed as their return class when they were opened from this
// screen: they come back to a new end-of-day screen.
inline constexpr const char* kMenuEndOfDayClass = "MenuEndOfDay";

intptr_t EcMenuEndOfDayProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
