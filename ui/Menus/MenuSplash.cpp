// The title screen's fades, its Start button and its attract time-out.
#include "ui/Menus/MenuSplash.h"

#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKitMake.h"
#include "ui/Menus/MenuAttractor.h"
#include "ui/Menus/MenuChainSplash.h"
#include "ui/Menus/MenuFrontEnd.h"
#include "world/CursorFrame.h"

#include <cstdio>

namespace {
constexpr int32_t kStartId = 0;
constexpr uint32_t kNoteColour = 0x7FFFFFFFu;

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuSplash");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuSplash, name), 32);
        PropDbAddFloat(&s_db, "fadeInDuration", PROP_OFFSET(MenuSplash, fadeInDuration), 1.0f);
        PropDbAddFloat(&s_db, "holdDuration", PROP_OFFSET(MenuSplash, holdDuration), 2.0f);
        PropDbAddFloat(&s_db, "fadeOutDuration", PROP_OFFSET(MenuSplash, fadeOutDuration), 1.0f);
        PropDbAddFloat(&s_db, "attractTimeout", PROP_OFFSET(MenuSplash, attractTimeout), 45.0f);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuSplash", Db, WorldMake<MenuSplash>, nullptr};
} // namespace

int MenuSplash::Create(EntNode* node) {
    MenuCreateConcrete(this, node, MenuNames{nullptr, 0, true}, "Menu\\MenuSplash.lua");
    SetNextClass("MenuMain");
    SplashAddPictures(this, "Menu\\BrightfairSplash.dds");
    Ctl3Base* focus = Ctl3GetFocus();
    if (auto* start = MenuKitMake<GraphicButton>("GraphicButton", this, kStartId, 460.0f, 600.0f,
                                                 nullptr, "Start")) {
        std::snprintf(start->image.textureName, sizeof start->image.textureName, "%s",
                      "Menu\\NewCareer\\button_start.dds");
        start->image.left = 0;
        start->image.top = 0;
        start->image.right = 118;
        start->image.bottom = 62;
        start->Start();
    }
    MenuFrontEndText(u"Splash/Start screen required on console - can be removed for PC.  Will "
                     u"transition to attractor after 45 sec.",
                     10.0f, 10.0f, "CourierNew9o", kNoteColour, 0, this);
    // The picture keeps the focus, not the Start button.
    Ctl3SetFocus(focus);
    SetName("SplashScreen");
    DbgPrintf(DBG_GENERAL, "Menu: %s (%s)\n", GetName(), "MenuSplash");
    g_cursorFrameIndex = 1;
    MenuFrontEndMusic(this, "MenuSplash", false);
    return 1;
}

int MenuSplash::Start() {
    if (!(fadeInDuration > 0.0f)) {
        phase = TITLE_HOLD;
        alpha = 1.0f;
        phaseTimer = holdDuration;
    } else {
        phase = TITLE_FADE_IN;
        alpha = 0.0f;
        phaseTimer = fadeInDuration;
    }
    attractCountdown = attractTimeout;
    return 1;
}

int MenuSplash::Update(float) {
    const float dt = SplashFrameSeconds();
    if (phase == TITLE_DONE) {
        if (!m_stuck) {
            if (Advance()) return 0;
            m_stuck = true;
        }
    } else {
        phaseTimer -= dt;
        switch (phase) {
            case TITLE_FADE_IN:
                alpha += dt / fadeInDuration;
                if (phaseTimer < 0.0f) {
                    alpha = 1.0f;
                    if (holdDuration > 0.0f) {
                        phaseTimer = holdDuration;
                        phase = TITLE_HOLD;
                    } else {
                        phase = TITLE_WAITING;
                    }
                }
                break;
            case TITLE_HOLD:
                if (phaseTimer < 0.0f) {
                    if (fadeOutDuration > 0.0f) {
                        phaseTimer = fadeOutDuration;
                        phase = TITLE_FADE_OUT;
                    } else {
                        phase = TITLE_DONE;
                    }
                }
                break;
            case TITLE_FADE_OUT:
                alpha -= dt / fadeOutDuration;
                if (phaseTimer < 0.0f) {
                    phase = TITLE_DONE;
                    alpha = 0.0f;
                }
                break;
            default: break;
        }
        alpha = alpha < 0.0f ? 0.0f : alpha > 1.0f ? 1.0f : alpha;
    }
    attractCountdown -= dt;
    if (attractCountdown >= 0.0f) return 1;
    if (MenuAttractorOpen(EntGetParent(this), "MenuSplash")) {
        EntDestroyTree(this);
        return 0;
    }
    // No attract screen (logged by the attempt): stay, and try again after another time-out.
    DbgPrintf(DBG_GENERAL, "MenuSplash: cannot open MenuAttractor\n");
    attractCountdown = attractTimeout;
    return 1;
}

int MenuSplash::OnMessage(const SlEvent* event) {
    if (!active) return 0;
    const bool click = event && event->type == CTL3_EVENT && event->b == CTL3_CLICK;
    const bool press = event && (event->type == SL_KEYDOWN || event->type == SL_PADSTART ||
                                 event->type == SL_MENUSELECT);
    if (!click && !press) return 1;
    return Advance() ? 0 : 1;
}

bool MenuSplash::Advance() {
    return MenuFrontEndSwitch(this, "MenuSplash", nextClass, &m_reported) != nullptr;
}

intptr_t EcMenuSplashProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
