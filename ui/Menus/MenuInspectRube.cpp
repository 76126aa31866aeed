// The patron panel.
#include "ui/Menus/MenuInspectRube.h"

#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Rube1.h"
#include "ui/StaticText.h"

namespace {
const WorldClassDef kClass = {"MenuInspectRube", nullptr, WorldMake<MenuInspectRube>, nullptr};
constexpr float kHeight = 240.0f;
// The rows below the title: the state, tickets, cash and the thought.
constexpr int kStateDown = 36, kTicketsDown = 64, kCashDown = 92, kThoughtDown = 126;

const char16_t* const kThoughts[8] = {u"\"I'm hungry\"",
                                      u"\"I'm thirsty.\"",
                                      u"\"I want to go on a ride.\"",
                                      u"\"I want to play a game!\"",
                                      u"\"I need a rest.\"",
                                      u"\"I have to throw this trash away.\"",
                                      u"\"I need to visit the restroom.\"",
                                      u"\"I need to buy some tickets.\""};

// The target attraction's catalogue name; empty without a live target or its record.
const char16_t* TargetName(const Rube1* patron) {
    const auto* attr = dynamic_cast<const AttrBase*>(patron->target.Get());
    return attr && attr->info ? attr->info->name : u"";
}

} // namespace

void InspectRubeStateText(const Rube1* patron, char16_t* out, int size) {
    if (!out || size < 1) return;
    out[0] = 0;
    if (!patron) return;
    const size_t n = size_t(size);
    switch (patron->state) {
        case RUBE_IDLE: WideFormat(out, n, u"Idle"); break;
        case RUBE_PICK_ANY: WideFormat(out, n, u"Finding a path"); break;
        case RUBE_WALK_TO: WideFormat(out, n, u"Walking to %s.", TargetName(patron)); break;
        case RUBE_IN_LINE: WideFormat(out, n, u"In line at %s.", TargetName(patron)); break;
        case RUBE_INSIDE: WideFormat(out, n, u"At %s.", TargetName(patron)); break;
        case RUBE_NO_BEHAVIOUR: WideFormat(out, n, u"Exiting %s.", TargetName(patron)); break;
        case RUBE_THINK: WideFormat(out, n, u"Finding wander spot."); break;
        case RUBE_WANDER: WideFormat(out, n, u"Wandering around."); break;
        case RUBE_CHOOSE: WideFormat(out, n, u"Deciding what to do next."); break;
        case RUBE_LEAVE: WideFormat(out, n, u"Leaving the carnival."); break;
        default: WideFormat(out, n, u"Unknown!"); break;
    }
}

const char16_t* InspectRubeThought(int need) {
    return need >= 0 && need < 8 ? kThoughts[need] : u"";
}

int MenuInspectRube::Create(EntNode* node) {
    CreatePanel(node, kHeight, INSPECT_RUBE_CLOSE, INSPECT_RUBE_VIEW);
    const int x = int(inner.left), top = int(inner.top);
    state = AddLine(kStateDown, INSPECT_STATUS);
    tickets = dynamic_cast<StaticText*>(MenuAddTextAt(u"Tickets:", x, top + kTicketsDown, this));
    cash = dynamic_cast<StaticText*>(MenuAddTextAt(u"Cash:", x, top + kCashDown, this));
    thought = AddLine(kThoughtDown, INSPECT_RUBE_THOUGHT);
    FinishPanel("MenuInspectRube");
    return 1;
}

bool MenuInspectRube::Accepts(ENTBASE* entity) {
    return dynamic_cast<Rube1*>(entity) != nullptr;
}

void MenuInspectRube::Refresh(ENTBASE* person) {
    const auto* patron = static_cast<const Rube1*>(person);
    char16_t text[160];
    const size_t n = sizeof text / sizeof text[0];
    if (state) {
        InspectRubeStateText(patron, text, int(n));
        SetFitted(state, text);
    }
    if (tickets) {
        WideFormat(text, n, u"%4i", int(patron->tickets));
        tickets->SetTextW(text);
    }
    if (cash) {
        // In double: any cents figure, negative or past INT32_MAX / 100, prints whole.
        WideFormat(text, n, u"$%5.2f", double(patron->money) * 0.01);
        cash->SetTextW(text);
    }
    SetFitted(thought, InspectRubeThought(RubeChooseNeed(patron)));
}

void InspectRubeShow(MenuInspectRube* panel, ENTBASE* patron) {
    if (panel) panel->Show(patron);
}

intptr_t EcMenuInspectRubeProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
