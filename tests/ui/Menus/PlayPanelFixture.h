// The people panels' and the play questions' tests: the HUD's fixture (default venue, HUD open,
// the attraction inspector a stand-in) with the real people panels and questions, a stand-in
// main menu, and lookups of what is up under "Menus".
#pragma once

#include "tests/ui/Menus/HudFixture.h"

#include <string>

class Carny;
class MenuInspectCarny;
class MenuInspectRube;
class Rube1;

class PlayPanelTest : public HudTest {
  protected:
    void SetUp() override;

    MenuInspectRube* RubePanel();
    MenuInspectCarny* CarnyPanel();
    // The live menu of that entity name under "Menus" (not one marked for deletion), or null.
    Menu3Base* Named(const char* name);
    // How many "MenuMain" stand-ins were made.
    static int MainMenusMade();
    // An employee hired as the game hires one (the newest).
    Carny* Hire();
    // A patron made and started under the generator, as the generator makes one.
    Rube1* MakePatron();
};
