// The attract screen: a place-holder for an attract sequence that counts down 45 seconds, shows
// the time left, and then, or at any press, opens the screen it was opened from.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

enum { ATTRACTOR_TEXT_MAX = 64 };

class MenuAttractor : public Menu3Base {
  public:
    const char* GetTypeName() override { return "MenuAttractor"; }
    int Create(EntNode* node) override;
    int Start() override; // the countdown starts at 45 s
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;

    // Opens the return-to screen in this one's place; true when it did (this one is gone).
    bool Advance();

    char returnClass[MENU_CLASS_NAME_MAX + 1] = {};
    float countdown = 45.0f;
    char16_t countdownText[ATTRACTOR_TEXT_MAX] = {};

  private:
    void ShowCountdown();
    bool m_reported = false;
    bool m_pressed = false;
};

// Creates the attract screen under the parent with the screen to return to ("MenuMain" when
// none is given), starts it and returns it; null when it cannot be made.
Menu3Base* MenuAttractorOpen(ENTBASE* parent, const char* returnClass);

intptr_t EcMenuAttractorProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
