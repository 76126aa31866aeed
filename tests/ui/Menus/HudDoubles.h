// Stand-ins for the screens the HUD opens, registered under their class names: each records
// what the HUD asked of it. The inspectors are the real panels. Test-only.
#pragma once

#include "engine/EntRef.h"
#include "ui/Menu3Base.h"

#include <set>
#include <string>
#include <vector>

// One opening of a screen the HUD opens.
struct HudOpened {
    std::string className;
    ENTBASE* returnMenu = nullptr;
    void* out[2] = {};
};

extern std::vector<HudOpened> g_hudOpened;
// While set, the opened screens' classes refuse to be made, as a screen not built does.
extern bool g_hudRefuseOpen;
// Classes whose stand-in hands back to the HUD at its first update, as a screen the player
// closes at once would.
extern std::set<std::string> g_hudAutoClose;

// The screens the HUD opens, by class name.
inline constexpr const char* kHudOpenedClasses[7] = {
    "MenuEquipResource", "MenuReports",      "MenuInGame",    "MenuHelp",
    "MenuEndOfDay",      "MenuReportHourly", "MenuVenueIntro"};

class HudScreenDouble : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int Update(float seconds) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;
    // Goes as the real screen will: destroyed, its caller made active again.
    void Close();
    EntRef caller;
};

// Registers the seven stand-ins (before the game's own classes, so that they win).
void HudRegisterDoubles();
// Empties the records and clears the switches.
void HudResetDoubles();
// The live stand-in of that class under `menus`, or null.
HudScreenDouble* HudFindOpened(ENTBASE* menus, const char* className);
// How often the class was opened.
int HudOpenCount(const char* className);
