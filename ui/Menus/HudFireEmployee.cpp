// Firing an employee, as the firing confirmation asks.
#include "ui/Menus/Hud.h"

#include "game/Money.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuGameRunning.h"

int HudFireEmployee(MenuGameRunning* hud, ENTBASE* employee) {
    if (!EntIsLive(employee)) return 0;
    // The selection goes first, as when an attraction is removed: the inspectors are closed once,
    // not again by the HUD hearing its selected entity leave.
    if (hud) HudSelect(hud, nullptr);
    EntDestroyTree(employee);
    // The fee is booked as one of the day's costs rather than taken from the cash directly, so
    // the day's summary counts it (and, like every booking, it is refused once the day closed).
    if (hud)
        if (MtGame* game = hud->Game()) MtGameBook(game, MONEY_COST, HUD_FIRING_FEE);
    return 1;
}
