// The attract screen's countdown and its way back.
#include "ui/Menus/MenuAttractor.h"

#include "engine/Input/SlInput.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuChainSplash.h"
#include "ui/Menus/MenuFrontEnd.h"
#include "ui/StaticText.h"
#include "world/CursorFrame.h"

#include <cstdio>

namespace {
constexpr float kAttractSeconds = 45.0f;
constexpr int32_t kOkId = 0;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
// An attractor opened without a screen to return to would open class "": the main menu is the
// one screen every front-end path reaches.
constexpr const char* kDefaultReturn = "MenuMain";

const WorldClassDef kClass = {"MenuAttractor", nullptr, WorldMake<MenuAttractor>, nullptr};
} // namespace

int MenuAttractor::Create(EntNode* node) {
    static const char* const kNames[] = {"C_OK"};
    MenuCreateConcrete(this, node, MenuNames{kNames, 1, true},
                       "Menu\\Attractor\\MenuAttractor.lua");
    alpha = 1.0f;
    std::snprintf(returnClass, sizeof returnClass, "%s", kDefaultReturn);
    MenuKitBackground(kMenuPurpleBackground, this);
    MenuKitAnimLogo(this);
    MenuKitButtonOk(kOkId, 465.0f, 663.0f, this);
    MenuFrontEndText(u"Movie, Slideshow, Ads, etc.", 512.0f, 400.0f, "Georgia_20", kWhite, 1, this);
    if (StaticText* t = MenuFrontEndText(u"", 512.0f, 480.0f, "Georgia_20", kWhite, 1, this))
        t->liveText = countdownText;
    ShowCountdown();
    MenuFrontEndFinish(this, kOkId, "Attractor", "MenuAttractor");
    g_cursorFrameIndex = -1;
    return 1;
}

void MenuAttractor::SetOpenArgs(const MenuOpenArgs& args) {
    const char* back = args.returnClass && args.returnClass[0] ? args.returnClass : kDefaultReturn;
    std::snprintf(returnClass, sizeof returnClass, "%s", back);
}

int MenuAttractor::Start() {
    countdown = kAttractSeconds;
    ShowCountdown();
    return 1;
}

void MenuAttractor::ShowCountdown() {
    WideFormat(countdownText, ATTRACTOR_TEXT_MAX, u"Attractor Timeout %2.0f", double(countdown));
}

int MenuAttractor::Update(float) {
    // Input comes before the update in a frame: the frame of a press shows 0, the next one ends.
    if (m_pressed) {
        m_pressed = false;
        ShowCountdown();
        return 1;
    }
    countdown -= SplashFrameSeconds();
    if (countdown >= 0.0f) {
        ShowCountdown();
        return 1;
    }
    if (Advance()) return 0;
    // The way back cannot be made now (logged): wait a whole countdown before trying again.
    countdown = kAttractSeconds;
    return 1;
}

int MenuAttractor::OnMessage(const SlEvent* event) {
    if (!active) return 0;
    const bool click = event && event->type == CTL3_EVENT && event->b == CTL3_CLICK;
    if (click || SplashIsPress(event)) {
        countdown = 0.0f;
        m_pressed = true;
    }
    return 1;
}

bool MenuAttractor::Advance() {
    return MenuFrontEndSwitch(this, "MenuAttractor", returnClass, &m_reported) != nullptr;
}

Menu3Base* MenuAttractorOpen(ENTBASE* parent, const char* returnClass) {
    MenuOpenArgs args;
    args.returnClass = returnClass && returnClass[0] ? returnClass : kDefaultReturn;
    return MenuOpen("MenuAttractor", parent, &args);
}

intptr_t EcMenuAttractorProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
