// Firing an employee, as the firing confirmation asks.
#include "ui/Menus/Hud.h"

#include "game/Money.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuGameRunning.h"

int HudFireEmployee(MenuGameRunning* hud, ENTBASE* employee) {
    if (!EntIsLive(employee)) return 0;
    if (hud && hud->selected.Get() == employee) HudSetHighlight(employee, false);
    EntDestroyTree(employee);
    if (hud) {
        if (MtGame* game = hud->Game()) game->cash = MoneyCharge(game->cash, HUD_FIRING_FEE);
        hud->selected = EntRef();
        HudSelect(hud, nullptr);
    }
    return 1;
}
