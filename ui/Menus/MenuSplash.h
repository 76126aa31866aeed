// The title and start screen: it fades in like a splash, shows a Start button, and opens the
// main menu; left waiting long enough it opens the attract screen instead.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

#include <cstdint>

enum : int32_t {
    TITLE_FADE_IN = 0,
    TITLE_HOLD = 1,
    TITLE_FADE_OUT = 2,
    TITLE_WAITING = 3,
    TITLE_DONE = 4,
};

class MenuSplash : public Menu3Base {
  public:
    const char* GetTypeName() override { return "MenuSplash"; }
    int Create(EntNode* node) override;
    int Start() override;
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;

    // Opens the main menu in this one's place; true when it did (this one is gone).
    bool Advance();

    // The property defaults.
    float fadeInDuration = 1.0f;
    float holdDuration = 2.0f;
    float fadeOutDuration = 1.0f;
    float attractTimeout = 45.0f;
    int32_t phase = TITLE_FADE_IN;
    float phaseTimer = 0.0f;
    float attractCountdown = 45.0f;

  private:
    bool m_reported = false;
    bool m_stuck = false;
};

intptr_t EcMenuSplashProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
