// The load screens' tests: the report world's fixture (the real game object and a HUD double
// under "MenuGameRunning") without the HUD open, over a save folder the test fills.
#pragma once

#include "tests/ui/Menus/ReportTestWorld.h"

#include <string>
#include <vector>

class MenuLoadList;

class LoadListTest : public ReportTest {
  protected:
    // The harness started; the save folder made (empty).
    void StartLists();
    MenuLoadList* OpenList(const char* className);
    // The save folder, ending in "/".
    static std::string Saves();
    static std::vector<std::string> Names(const MenuLoadList* list);
    // A control event as a pressed button sends it, heard on the next frame.
    void Press(int32_t id);
};
