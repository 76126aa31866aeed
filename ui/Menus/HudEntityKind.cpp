// What kind of thing the HUD has under the mouse, and its highlight.
#include "ui/Menus/Hud.h"

#include "engine/EntTree.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Carny.h"
#include "game/Ents/Rube1.h"

int HudEntityKind(ENTBASE* entity) {
    if (!EntIsLive(entity)) return 3;
    if (EntIsType(entity, "Rube1")) return 0;
    if (EntIsType(entity, "Carny")) return 1;
    if (EntIsType(entity, "AttrBase")) {
        auto* attraction = dynamic_cast<AttrBase*>(entity);
        if (attraction && attraction->info && attraction->info->attrType < ATTR_TYPE_UNPICKABLE)
            return 2;
    }
    return 3;
}

void HudSetHighlight(ENTBASE* entity, bool on) {
    const uint8_t flag = on ? 1 : 0;
    switch (HudEntityKind(entity)) {
        case 0:
            if (auto* patron = dynamic_cast<Rube1*>(entity)) patron->highlighted = flag;
            break;
        case 1:
            if (auto* employee = dynamic_cast<Carny*>(entity)) employee->highlighted = flag;
            break;
        case 2:
            if (auto* attraction = dynamic_cast<AttrBase*>(entity)) attraction->highlighted = flag;
            break;
        default: break;
    }
}
