// The credits screen.
#include "ui/Menus/MenuCredits.h"

#include "engine/Input/SlInput.h"
#include "engine/WorldClass.h"
#include "ui/Ctl3SlideShow.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"
#include "ui/Menus/MenuFrontEnd.h"

#include <cstdio>

namespace {
constexpr int32_t kOkId = 0, kDownId = 1, kShowId = 2;
const WorldClassDef kClass = {"MenuCredits", nullptr, WorldMake<MenuCredits>, nullptr};
} // namespace

Ctl3SlideShow* MenuPageSlideShow(int32_t id, const char* base, float hold, ENTBASE* menu) {
    // The 2:1 slide sits inside the large panel, between its title and the Down and OK buttons,
    // which are made after it and so drawn over it: at its full 1024 x 512 it would cover OK and
    // run off the right edge.
    auto* show =
        MenuKitMake<Ctl3SlideShow>("Ctl3Slideshow", menu, id, 112.0f, 222.0f, nullptr, "SlideShow");
    if (!show) return nullptr;
    show->width = 800.0f;
    show->height = 400.0f;
    show->uv = {0.0f, 0.0f, 1.0f, 1.0f};
    std::snprintf(show->textureName, sizeof show->textureName, "%s", base);
    show->fadeTime = 0.0f;
    show->holdTime = hold;
    show->Start();
    return show;
}

int MenuCredits::Create(EntNode* node) {
    MenuCreateConcrete(this, node, MenuNames{nullptr, 0, true}, "Menu\\Credits\\MenuCredits.lua");
    alpha = 1.0f;
    MenuKitBackground(kMenuPurpleBackground, this);
    MenuKitAnimLogo(this);
    MenuKitLargePanelHeader(512.0f, 428.0f, u"CREDITS", this);
    slideShow = MenuPageSlideShow(kShowId, "Menu\\Credits\\ZobCredits", 7.0f, this);
    MenuKitButtonOk(kOkId, 465.0f, 663.0f, this);
    MenuKitButtonDown(kDownId, 60.0f, 620.0f, this);
    // OK holds the focus, so that Enter leaves the screen.
    MenuFrontEndFinish(this, kOkId, "Credits", "MenuCredits");
    return 1;
}

bool MenuPageKeyFilter(Menu3Base* menu, const SlEvent* event, int32_t okId, int* result) {
    // The back key presses and releases OK; Enter goes on to the control in focus (OK unless
    // the player moved it). Other raw keys and the pad's start do nothing here.
    if (event->type == SL_MENUBACK || event->type == SL_MENUBACK + 1) {
        *result = menu->ForwardToCtl(event, okId) ? 0 : 1;
        return true;
    }
    if (event->type == SL_KEYDOWN || event->type == SL_PADSTART) {
        *result = 0;
        return true;
    }
    return false;
}

int MenuCredits::OnMessage(const SlEvent* event) {
    if (!active || !event) return 0;
    if (int result; MenuPageKeyFilter(this, event, kOkId, &result)) return result;
    if (event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    if (event->a == kDownId) {
        if (slideShow) slideShow->Restart();
        return 1;
    }
    if (event->a == kOkId)
        return MenuFrontEndSwitch(this, "MenuCredits", "MenuMain", &m_reported) ? 0 : 1;
    return 1;
}

intptr_t EcMenuCreditsProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
