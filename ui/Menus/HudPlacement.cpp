// The placement steps. Until the build catalogue can choose a type nothing is ever placed, so
// only ending a placement has work to do.
#include "ui/Menus/HudPlacement.h"

#include "ui/Menus/MenuGameRunning.h"

void HudUpdateCursorCell(MenuGameRunning*) {}

void HudRefreshCursor(MenuGameRunning*) {}

void HudPositionCursor(MenuGameRunning*) {}

void HudPlaceAttraction(MenuGameRunning*) {}

void HudEndPlacement(MenuGameRunning* hud) {
    if (!hud) return;
    hud->chosenType = nullptr;
    hud->chosenIndex = -1;
    HudRefreshCursor(hud);
}

void HudRemoveAttraction(MenuGameRunning*, ENTBASE*) {}
