// "VENUE SETUP": the chosen venue's name and description and the day's business terms, written to
// the game object as they are clicked: the ticket price, the advertising, the free tickets. It
// shows the fixed daily costs and the career's cash. Start goes on to the layout choice (career)
// or the world loader (sandbox); Back returns to the venue selector.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

class IncDecButton;
class MtGame;
class StaticText;
class VenueInfo;

enum : int32_t {
    SETUP_PRICE_25 = 0,
    SETUP_PRICE_50 = 1,
    SETUP_PRICE_100 = 2,
    SETUP_BILLS = 3,
    SETUP_PAPER = 4,
    SETUP_RADIO = 5,
    SETUP_TV = 6,
    SETUP_START = 8,
    SETUP_BACK = 9,
    SETUP_FREE_TICKETS = 11,
    SETUP_FREE_TICKETS_MAX = 20,
};

class MenuVenueSetup : public Menu3Base {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "MenuVenueSetup"; }
    int Create(EntNode* node) override;
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;

    // The promotions and total texts from the advertising bits.
    void UpdateCosts();

    MtGame* mtGame = nullptr;
    const VenueInfo* venue = nullptr; // the game's current venue; null when its id is outside
    IncDecButton* freeTickets = nullptr;
    StaticText* promotionsText = nullptr;
    StaticText* totalText = nullptr;

  private:
    int Back();
};

// Creates the set-up under the parent and starts it; null when it cannot be made.
Menu3Base* MenuVenueSetupOpen(ENTBASE* parent);

// Class "MenuVenueSetup".
intptr_t EcMenuVenueSetupProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
