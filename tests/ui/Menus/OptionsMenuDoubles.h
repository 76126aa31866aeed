// Stand-ins for the two screens that open the option pages, registered under their class names
// by the options tests: "MenuMain" (the main menu's buttons, links, music and its Options click)
// and "MenuInGame" (the pause menu: pauses the game while it lives, opens the options with
// itself as the caller and waits inactive).
#pragma once

#include "ui/Menu3Base.h"

#include <cstdint>

// Control ids of the stand-ins, as the real screens number them.
enum : int32_t {
    OPTIONS_MAIN_SANDBOX = 0,
    OPTIONS_MAIN_CAREER = 1,
    OPTIONS_MAIN_OPTIONS = 2,
    OPTIONS_MAIN_HELP = 3,
    OPTIONS_MAIN_QUIT = 4,
    OPTIONS_PAUSE_OPTIONS = 3,
};

// How many of each were created since the counts were last cleared.
extern int g_optionsMainMade;
extern int g_optionsPauseMade;

class OptionsMainDouble : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
};

class OptionsPauseDouble : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int Destroy() override;
    int OnMessage(const SlEvent* event) override;
};

intptr_t OptionsMainDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
intptr_t OptionsPauseDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// The button centre of a stand-in's control, in menu units.
inline constexpr float kOptionsMainButtonX[5] = {334, 522, 300, 470, 630};
inline constexpr float kOptionsMainButtonY[5] = {368, 368, 423, 423, 423};
