// The employee panel.
#include "ui/Menus/MenuInspectCarny.h"

#include "engine/DebugLog.h"
#include "engine/WorldClass.h"
#include "game/Ents/Carny.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuFireCarny.h"
#include "ui/Menus/MenuGameRunning.h"
#include "ui/StaticText.h"

namespace {
const WorldClassDef kClass = {"MenuInspectCarny", nullptr, WorldMake<MenuInspectCarny>, nullptr};
constexpr float kHeight = 140.0f;
constexpr float kStatusDown = 36.0f; // below the title
constexpr float kFireX = 872.0f;     // a third button on the framework's row
} // namespace

int MenuInspectCarny::Create(EntNode* node) {
    CreatePanel(node, kHeight, INSPECT_CARNY_CLOSE, INSPECT_CARNY_VIEW);
    status = AddLine(kStatusDown, INSPECT_STATUS);
    MenuKitButtonFire(INSPECT_CARNY_FIRE, kFireX, inner.bottom - 56.0f, this);
    FinishPanel("MenuInspectCarny");
    return 1;
}

bool MenuInspectCarny::Accepts(ENTBASE* entity) {
    return dynamic_cast<Carny*>(entity) != nullptr;
}

void MenuInspectCarny::Refresh(ENTBASE* person) {
    if (!status) return;
    char16_t line[128];
    CarnyStatusText(static_cast<Carny*>(person), line, int(sizeof line / sizeof line[0]));
    SetFitted(status, line);
}

int MenuInspectCarny::OnControl(int32_t id, ENTBASE* employee) {
    if (id != INSPECT_CARNY_FIRE) return 1;
    MenuGameRunning* hud = Hud();
    // The focus goes first: the question gives it to its own Cancel.
    Ctl3SetFocus(nullptr);
    if (hud) hud->ClearActive();
    ClearActive();
    Hide();
    if (!MenuFireCarnyOpen(EntGetParent(this), employee, hud, this)) {
        DbgPrintf(DBG_GENERAL, "MenuInspectCarny: cannot open MenuFireCarny\n");
        // Back as before: the HUD, given the employee to select, shows it here again.
        if (hud) {
            hud->pending = employee;
            hud->SetActive();
        } else {
            InspectCarnyShow(this, employee);
        }
    }
    return 1;
}

void InspectCarnyShow(MenuInspectCarny* panel, ENTBASE* employee) {
    if (panel) panel->Show(employee);
}

intptr_t EcMenuInspectCarnyProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
