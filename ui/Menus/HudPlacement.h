// The placement of a chosen attraction type as the HUD drives it: the cursor cell under the
// mouse, the cursor model, placing on release, ending a placement, and removing an attraction.
#pragma once

class ENTBASE;
class MenuGameRunning;

// The grid cell under the mouse into the HUD's cursor cell.
void HudUpdateCursorCell(MenuGameRunning* hud);
// The cursor model's type, turn and footprint shown, after the choice or the turn changed.
void HudRefreshCursor(MenuGameRunning* hud);
// The cursor model over the cursor cell.
void HudPositionCursor(MenuGameRunning* hud);
// The chosen type placed at the cursor cell when it and its ring fit, paying its deposit; the
// placement then ends. A failed creation takes nothing and ends the placement.
void HudPlaceAttraction(MenuGameRunning* hud);
// No type chosen any more (null, index -1), the cursor refreshed.
void HudEndPlacement(MenuGameRunning* hud);
// The removal confirmation's answer: the attraction refunded by its value, its footprint and far
// ring freed, the attraction destroyed, the selection dropped and the inspectors closed. 1, or 0
// for null or a gone attraction. A type outside the list refunds nothing and frees no cells.
int HudRemoveAttraction(MenuGameRunning* hud, ENTBASE* attraction);
