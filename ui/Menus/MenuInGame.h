// The pause menu the HUD opens: Resume, Save Layout, Options and Exit over the stopped game.
#pragma once

#include "engine/EntRef.h"
#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

#include <cstdint>

enum : int32_t {
    INGAME_RESUME = 0,
    INGAME_SAVE = 1,
    INGAME_LOAD = 2, // named for the script; the screen has no Load button
    INGAME_OPTIONS = 3,
    INGAME_EXIT = 4,
};

class MenuInGame : public Menu3Base {
  public:
    const char* GetTypeName() override { return "MenuInGame"; }
    int Create(EntNode* node) override; // stops the game clock
    int Destroy() override;             // starts it again
    int OnMessage(const SlEvent* event) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;

    // The HUD to make active again, when it is still there.
    ENTBASE* ReturnMenu() const { return m_return.Get(); }

  private:
    // Opens a dialog over this menu, which then waits inactive for it.
    bool OpenDialog(const char* className, const MenuOpenArgs& args);
    EntRef m_return;
    bool m_paused = false;
};

// Creates the pause menu under the parent with the menu to return to, starts it and returns it;
// null when it cannot be made.
Menu3Base* MenuInGameOpen(ENTBASE* parent, ENTBASE* returnMenu);

// The end-of-day flag the save dialogs get from the pause menu: never the end of a day.
extern uint8_t g_menuSaveNotEndOfDay;

intptr_t EcMenuInGameProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
