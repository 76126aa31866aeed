// The welcome screen the HUD opens when a venue starts: the venue's name and mode, what the
// mode means, and the first things to do.
#pragma once

#include "engine/EntRef.h"
#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

#include <cstdint>

enum { VENUE_INTRO_LINE_MAX = 128 };

class MenuVenueIntro : public Menu3Base {
  public:
    const char* GetTypeName() override { return "MenuVenueIntro"; }
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;

    ENTBASE* ReturnMenu() const { return m_return.Get(); }

    char16_t venueLine[VENUE_INTRO_LINE_MAX] = {};

  private:
    EntRef m_return;
};

// Creates the intro under the parent with the menu to return to, starts it and returns it; null
// when it cannot be made.
Menu3Base* MenuVenueIntroOpen(ENTBASE* parent, ENTBASE* returnMenu);

intptr_t EcMenuVenueIntroProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
