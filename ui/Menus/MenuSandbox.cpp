// The sandbox menu.
#include "ui/Menus/MenuSandbox.h"
#include "ui/Menus/MenuFrontEnd.h"

#include "engine/Input/SlInput.h"
#include "engine/WorldClass.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuMidwaySelector.h"
#include "world/CursorFrame.h"
#include "world/EntMusic.h"

namespace {
const WorldClassDef kClass = {"MenuSandbox", nullptr, WorldMake<MenuSandbox>, nullptr};
} // namespace

int MenuSandbox::CopyClassName(char* buffer) {
    return WorldCopyClassName("MenuSandbox", buffer);
}

int MenuSandbox::Create(EntNode* n) {
    static const char* const kNames[] = {"C_NEW", "C_LOAD", "C_BACK"};
    MenuCreateConcrete(this, n, MenuNames{kNames, 3, true}, "Menu\\Sandbox\\MenuSandbox.lua");
    alpha = 1.0f;
    MenuKitBackground("Menu\\Common\\ZobPurpleBackground.dds", this);
    MenuKitAnimLogo(this);
    MenuKitPanel(512.0f, 380.0f, this);
    MenuKitText(u"SANDBOX", 512.0f, 228.0f, this);
    MenuKitTextButton(SANDBOX_NEW, u"New", 512.0f, 350.0f, this);
    MenuKitTextButton(SANDBOX_LOAD, u"Load", 512.0f, 410.0f, this);
    MenuKitButtonBack(SANDBOX_BACK, 330.0f, 510.0f, this);
    // Linked in a ring, so that Up and Down reach every choice without the mouse.
    LinkCtlNav(SANDBOX_NEW, SANDBOX_BACK, SANDBOX_LOAD, -1, -1);
    LinkCtlNav(SANDBOX_LOAD, SANDBOX_NEW, SANDBOX_BACK, -1, -1);
    LinkCtlNav(SANDBOX_BACK, SANDBOX_LOAD, SANDBOX_NEW, -1, -1);
    MenuFinishConcrete(this, "MenuSandbox");
    g_cursorFrameIndex = 1;
    MusicPlayByName(EntGetRoot(this), kMenuMusic);
    return 1;
}

int MenuSandbox::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (!e) return 1;
    if (e->type == SL_MENUBACK || e->type == SL_MENUBACK + 1)
        return ForwardToCtl(e, SANDBOX_BACK) ? 0 : 1;
    if (e->type != CTL3_EVENT || e->b != CTL3_CLICK) return 1;
    ENTBASE* parent = EntGetParent(this);
    Menu3Base* next = nullptr;
    switch (e->a) {
        case SANDBOX_NEW: next = MenuMidwaySelectorOpen(parent, "MenuSandbox"); break;
        case SANDBOX_LOAD: next = MenuOpen("MenuLoadSandbox", parent, nullptr); break;
        case SANDBOX_BACK: next = MenuOpen("MenuMain", parent, nullptr); break;
        default: return 1;
    }
    if (!next) return 1;
    EntDestroyTree(this);
    return 0;
}

Menu3Base* MenuSandboxOpen(ENTBASE* parent) {
    return MenuOpen("MenuSandbox", parent, nullptr);
}

intptr_t EcMenuSandboxProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
