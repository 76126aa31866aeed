// The firing question.
#include "ui/Menus/MenuFireCarny.h"

#include "engine/WorldClass.h"
#include "game/Ents/Carny.h"
#include "ui/MenuKit.h"
#include "ui/Menus/Hud.h"

namespace {
const WorldClassDef kClass = {"MenuFireCarny", nullptr, WorldMake<MenuFireCarny>, nullptr};
} // namespace

int MenuFireCarny::Create(EntNode* node) {
    CreateQuestion(node, u"FIRE");
    MenuKitTextBox20(-1,
                     u"Are you sure you want to\nfire this carny?\n\nFiring a carny will cost\none "
                     u"day's severance pay.",
                     512.0f, 330.0f, 912.0f, 400.0f, this);
    FinishQuestion("MenuFireCarny");
    return 1;
}

void MenuFireCarny::Answer(MenuGameRunning* hud, ENTBASE* employee) {
    HudFireEmployee(hud, employee);
}

Menu3Base* MenuFireCarnyOpen(ENTBASE* parent, ENTBASE* employee, ENTBASE* hud, ENTBASE* inspector) {
    // Anything but an employee is nothing to ask about: OK would destroy it as if fired. Its kind
    // is read only while it lives.
    ENTBASE* subject = EntIsLive(employee) ? dynamic_cast<Carny*>(employee) : nullptr;
    return MenuPlayQuestionOpen("MenuFireCarny", parent, subject, hud, inspector);
}

intptr_t EcMenuFireCarnyProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
