// The selection the inspectors show.
#include "ui/Menus/Hud.h"

#include "ui/Menus/HudInspector.h"
#include "ui/Menus/MenuGameRunning.h"

namespace {
void Give(MenuGameRunning* hud, int kind, ENTBASE* entity) {
    if (auto* inspector = dynamic_cast<HudInspector*>(hud->Inspector(kind)))
        inspector->Show(entity);
}
} // namespace

bool HudSelect(MenuGameRunning* hud, ENTBASE* entity) {
    if (!hud) return false;
    if (!entity) {
        for (int kind = 0; kind < 3; ++kind)
            Give(hud, kind, nullptr);
        if (ENTBASE* old = hud->selected.Get()) HudSetHighlight(old, false);
        hud->selected = EntRef();
        return false;
    }
    const int kind = HudEntityKind(entity); // 3 also for an entity that is gone
    if (kind > 2) return false;
    if (ENTBASE* old = hud->selected.Get()) HudSetHighlight(old, false);
    hud->selected = EntRef(entity);
    HudSetHighlight(entity, true);
    for (int k = 0; k < 3; ++k)
        Give(hud, k, k == kind ? entity : nullptr);
    return true;
}
