// The exit confirmation.
#include "ui/Menus/MenuConfirmExit.h"

#include "engine/Input/SlInput.h"
#include "engine/WorldClass.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuFrontEnd.h"

namespace {
constexpr int32_t kOkId = 0, kCancelId = 1;
const WorldClassDef kClass = {"MenuConfirmExit", nullptr, WorldMake<MenuConfirmExit>, nullptr};
} // namespace

int MenuConfirmExit::Create(EntNode* node) {
    MenuCreateConcrete(this, node, MenuNames{nullptr, 0, true},
                       "Menu\\ConfirmExit\\MenuConfirmExit.lua");
    alpha = 1.0f;
    MenuKitBackground(kMenuPurpleBackground, this);
    MenuKitAnimLogo(this);
    MenuKitPanel(512.0f, 380.0f, this);
    MenuKitButtonOk(kOkId, 583.0f, 533.0f, this);
    MenuKitButtonCancel(kCancelId, 332.0f, 533.0f, this);
    MenuFrontEndText(u"Are you sure you want to exit?", 512.0f, 400.0f, "Georgia_20", 0xFFFFFFFFu,
                     1, this);
    LinkCtlNav(kOkId, kOkId, kOkId, kCancelId, kCancelId);
    LinkCtlNav(kCancelId, kCancelId, kCancelId, kOkId, kOkId);
    MenuFrontEndFinish(this, kCancelId, "ConfirmExit", "MenuConfirmExit");
    return 1;
}

int MenuConfirmExit::OnMessage(const SlEvent* event) {
    if (!active || !event) return 0;
    // Escape is Cancel: the question is left as every other screen is.
    if (event->type == SL_MENUBACK || event->type == SL_MENUBACK + 1)
        return ForwardToCtl(event, kCancelId) ? 0 : 1;
    if (event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    if (event->a == kOkId) {
        // The screen stays until the loop ends.
        MenuSetQuitFlag();
        return 1;
    }
    if (event->a == kCancelId)
        return MenuFrontEndSwitch(this, "MenuConfirmExit", "MenuMain", &m_reported) ? 0 : 1;
    return 1;
}

intptr_t EcMenuConfirmExitProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
