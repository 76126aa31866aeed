// The main menu: over a slowly changing slide show it offers Sandbox, Career, Options, Help,
// Quit and Credits. Choosing Sandbox or Career sets the game mode for the screens that follow.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

#include <cstdint>

enum : int32_t {
    MAIN_SANDBOX = 0,
    MAIN_CAREER = 1,
    MAIN_OPTIONS = 2,
    MAIN_HELP = 3,
    MAIN_QUIT = 4,
    MAIN_CREDITS = 5,
};

class MenuMain : public Menu3Base {
  public:
    const char* GetTypeName() override { return "MenuMain"; }
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;

  private:
    // Opens the mode's menu and, when it was made, writes the mode and goes.
    int OpenMode(const char* className, int32_t mode);
    bool m_reported = false;
};

// Creates the main menu under the parent and starts it; null when it cannot be made.
Menu3Base* MenuMainOpen(ENTBASE* parent);

intptr_t EcMenuMainProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
