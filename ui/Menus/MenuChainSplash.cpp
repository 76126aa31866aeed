// The chain splash screens' creation, fades and skipping.
#include "ui/Menus/MenuChainSplash.h"

#include "engine/DebugLog.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "ui/Menus/MenuFrontEnd.h"
#include "ui/StaticGraphic.h"
#include "world/CursorFrame.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr uint32_t kOpaqueBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
// A frame longer than this (a stall, a debugger) counts as none: a splash must not vanish.
constexpr float kLongestFrame = 1.0f;
} // namespace

float SplashFrameSeconds() {
    const float dt = g_frameSeconds;
    return std::isfinite(dt) && dt >= 0.0f && dt <= kLongestFrame ? dt : 0.0f;
}

bool SplashIsPress(const SlEvent* e) {
    if (!e) return false;
    switch (e->type) {
        case SL_KEYDOWN:
        case SL_MOUSE0DOWN:
        case SL_MOUSE1DOWN:
        case SL_MOUSE2DOWN:
        case SL_PADSTART:
        case SL_MENUSELECT: return true;
        default: return false;
    }
}

void SplashAddPictures(Menu3Base* menu, const char* image) {
    MenuFrontEndPicture("Black", 512.0f, 384.0f, 1024.0f, 768.0f, 1.0f, 1.0f, nullptr, kOpaqueBlack,
                        menu);
    if (StaticGraphic* picture = MenuFrontEndPicture("Background", 512.0f, 384.0f, 1024.0f, 768.0f,
                                                     1.0f, 0.75f, image, kWhite, menu))
        Ctl3SetFocus(picture);
}

void SplashAddProperties(PropDb* db, const char* className, float fadeIn, float hold,
                         float fadeOut) {
    PropDbSetName(db, className);
    PropDbAddStringBlank(db, "name", PROP_OFFSET(MenuChainSplash, name), 32);
    PropDbAddFloat(db, "fadeInDuration", PROP_OFFSET(MenuChainSplash, fadeInDuration), fadeIn);
    PropDbAddFloat(db, "holdDuration", PROP_OFFSET(MenuChainSplash, holdDuration), hold);
    PropDbAddFloat(db, "fadeOutDuration", PROP_OFFSET(MenuChainSplash, fadeOutDuration), fadeOut);
}

int MenuChainSplash::Create(EntNode* node) {
    // Written before the script runs, so that the script may change them.
    fadeInDuration = m_timing.fadeIn;
    holdDuration = m_timing.hold;
    fadeOutDuration = m_timing.fadeOut;
    MenuCreateConcrete(this, node, MenuNames{nullptr, 0, true}, m_timing.script);
    SetNextClass(m_timing.next);
    SplashAddPictures(this, m_timing.image);
    // The picture keeps the focus the pictures gave it: no control has id 0 here.
    SetName("PublisherSplash");
    g_cursorFrameIndex = -1;
    DbgPrintf(DBG_GENERAL, "Menu: %s (%s)\n", GetName(), m_timing.className);
    return 1;
}

int MenuChainSplash::Start() {
    if (!(fadeInDuration > 0.0f)) {
        phase = SPLASH_HOLD;
        alpha = 1.0f;
        phaseTimer = holdDuration;
    } else {
        phase = SPLASH_FADE_IN;
        alpha = 0.0f;
        phaseTimer = fadeInDuration;
    }
    return 1;
}

int MenuChainSplash::Update(float) {
    const float dt = SplashFrameSeconds();
    if (phase == SPLASH_DONE) {
        if (m_stuck) return 1;
        if (Advance()) return 0;
        m_stuck = true;
        return 1;
    }
    phaseTimer -= dt;
    switch (phase) {
        case SPLASH_FADE_IN:
            alpha += dt / fadeInDuration;
            if (phaseTimer < 0.0f) {
                phase = SPLASH_HOLD;
                phaseTimer = holdDuration;
                alpha = 1.0f;
            }
            break;
        case SPLASH_HOLD:
            if (phaseTimer < 0.0f) {
                if (!(fadeOutDuration > 0.0f)) {
                    phase = SPLASH_DONE;
                } else {
                    phaseTimer = fadeOutDuration;
                    phase = SPLASH_FADE_OUT;
                }
            }
            break;
        case SPLASH_FADE_OUT:
            alpha -= dt / fadeOutDuration;
            if (phaseTimer < 0.0f) {
                phase = SPLASH_DONE;
                alpha = 0.0f;
            }
            break;
        default: break;
    }
    // A fade step never overshoots what the controls can show.
    alpha = alpha < 0.0f ? 0.0f : alpha > 1.0f ? 1.0f : alpha;
    return 1;
}

int MenuChainSplash::OnMessage(const SlEvent* event) {
    if (!active) return 0;
    if (!SplashIsPress(event)) return 1;
    return Advance() ? 0 : 1;
}

bool MenuChainSplash::Advance() {
    return MenuFrontEndSwitch(this, m_timing.className, nextClass, &m_reported) != nullptr;
}
