// The career menu.
#include "ui/Menus/MenuCareer.h"

#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "ui/MenuKit.h"
#include "ui/Menus/CareerMenus.h"
#include "ui/MouseCursorSetup.h"
#include "world/EntMusic.h"

namespace {
enum : int32_t { kNew = 0, kLoad = 1, kBack = 2 };
const char* const kNames[] = {"C_NEW", "C_LOAD", "C_BACK"};
} // namespace

int MenuCareer::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{kNames, 3, true}, "Menu\\Sandbox\\MenuSandbox.lua");
    alpha = 1.0f;
    MenuKitBackground(kMenuPurpleBackground, this);
    MenuKitAnimLogo(this);
    MenuKitPanel(512.0f, 380.0f, this);
    MenuKitText(u"CAREER", 512.0f, 228.0f, this);
    MenuKitTextButton(kNew, u"New Career", 512.0f, 350.0f, this);
    MenuKitTextButton(kLoad, u"Load and Continue", 512.0f, 410.0f, this);
    MenuKitButtonBack(kBack, 330.0f, 510.0f, this);
    // Linked in a ring, so that Up and Down reach every choice without the mouse.
    LinkCtlNav(kNew, kBack, kLoad, -1, -1);
    LinkCtlNav(kLoad, kNew, kBack, -1, -1);
    LinkCtlNav(kBack, kLoad, kNew, -1, -1);
    MenuFinishConcrete(this, "MenuCareer");
    g_cursorFrameIndex = 1;
    MusicPlayByName(EntGetRoot(this), kMenuMusic);
    return 1;
}

int MenuCareer::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (!event) return 1;
    if (ForwardToCtl(event, kBack)) return 1;
    if (event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    switch (event->a) {
        case kNew: return MenuSwitchTo(this, "MenuNewCareer");
        case kLoad: return MenuSwitchTo(this, "MenuLoadCareer");
        case kBack: return MenuSwitchTo(this, "MenuMain");
        default: return 1;
    }
}

MenuCareer* MenuCareerOpen(ENTBASE* parent) {
    return dynamic_cast<MenuCareer*>(MenuOpen("MenuCareer", parent, nullptr));
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuCareer");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuCareer, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuCareer", Db, WorldMake<MenuCareer>, nullptr};
} // namespace

intptr_t EcMenuCareerProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
