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
    auto* show =
        MenuKitMake<Ctl3SlideShow>("Ctl3Slideshow", menu, id, 160.0f, 240.0f, nullptr, "SlideShow");
    if (!show) return nullptr;
    show->width = 1024.0f;
    show->height = 512.0f;
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
    MenuKitButtonOk(kOkId, 465.0f, 663.0f, this);
    MenuKitButtonDown(kDownId, 60.0f, 620.0f, this);
    slideShow = MenuPageSlideShow(kShowId, "Menu\\Credits\\ZobCredits", 7.0f, this);
    MenuFrontEndFinish(this, kShowId, "Credits", "MenuCredits");
    return 1;
}

int MenuCredits::OnMessage(const SlEvent* event) {
    if (!active || !event) return 0;
    if (event->type == SL_KEYDOWN || event->type == SL_PADSTART || event->type == SL_MENUSELECT)
        return 0;
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
