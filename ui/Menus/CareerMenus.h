// What the question, profile and career screens share: the front end's background and music,
// and the switch to the next screen in this one's place.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"
#include "ui/Menus/MenuFrontEnd.h"

// The class under the menu's parent, started, and the menu destroyed: 0 (the event is used up).
// When the class cannot be made nothing changes: 1.
inline int MenuSwitchTo(Menu3Base* menu, const char* className) {
    menu->SetNextClass(className);
    return menu->SpawnChildClass() ? 0 : 1;
}

// The venue selector in the menu's place, told which class its Back returns to: 0 when it
// opened (the menu is gone), else 1.
inline int MenuSwitchToSelector(Menu3Base* menu, const char* returnClass) {
    MenuOpenArgs args;
    args.returnClass = returnClass;
    if (!MenuOpen("MenuMidwaySelector", EntGetParent(menu), &args)) return 1;
    EntDestroyTree(menu);
    return 0;
}
