// Help: pages of a slide show, opened from the main menu (over the purple background) or from
// the HUD (over the dimmed, paused game).
#pragma once

#include "engine/EntRef.h"
#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

#include <cstdint>

class Ctl3SlideShow;

// Set by every opening: true when help was opened with no menu to return to (the front end).
extern bool g_helpFromFrontEnd;

class MenuHelp : public Menu3Base {
  public:
    const char* GetTypeName() override { return "MenuHelp"; }
    // The screen with both backgrounds; Start keeps the one the opening asks for.
    int Create(EntNode* node) override;
    // Front end or game is known only now, after the opener's arguments: the background, and
    // from the HUD the pause.
    int Start() override;
    int Destroy() override; // resumes the game when this help paused it
    int OnMessage(const SlEvent* event) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;

    ENTBASE* ReturnMenu() const { return m_return.Get(); }

    Ctl3SlideShow* slideShow = nullptr;

  private:
    EntRef m_return;
    bool m_paused = false;
    bool m_reported = false;
    Ctl3Base* m_purple = nullptr;
    Ctl3Base* m_logo = nullptr;
    Ctl3Base* m_dim = nullptr;
};

// Creates help under the parent with the menu to return to (null: the front end, whose OK opens
// a fresh main menu), starts it and returns it; null when it cannot be made.
Menu3Base* MenuHelpOpen(ENTBASE* parent, ENTBASE* returnMenu);

intptr_t EcMenuHelpProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
