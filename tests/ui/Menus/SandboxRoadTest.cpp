// The sandbox road on the shipped data with pushed input only, from the sandbox menu (what the
// main menu's Enter opens in sandbox mode) to a running day, and the cost the set-up screen
// shows against the cash the first day takes.
#include "tests/ui/Menus/VenueMenuFixture.h"

#include "game/MtGame.h"
#include "ui/Menus/MenuSandbox.h"
#include "ui/Menus/MenuVenueSetup.h"
#include "ui/StaticText.h"

#include <string>

TEST_F(VenueMenuTest, TheSandboxRoadReachesADayAndChargesWhatTheSetUpShowed) {
    StartVenues(MTGAME_SANDBOX);
    MtGame* game = Game();
    ASSERT_TRUE(MenuSandboxOpen(app.GetMenus()));
    Frames();
    TapKey(SDL_SCANCODE_RETURN); // New
    TapKey(SDL_SCANCODE_RETURN); // Next on the first venue
    auto* setup = dynamic_cast<MenuVenueSetup*>(Find("MenuVenueSetup"));
    ASSERT_TRUE(setup) << "the road did not reach the venue set-up";
    EXPECT_EQ(game->venueId, 0);
    // The click moves the focus to the box, so Start is clicked too rather than entered.
    ClickAt(311.0f, 514.0f);
    const std::u16string total = VenueLabel(setup->totalText);
    ClickAt(779.0f, 667.0f);
    EXPECT_FALSE(Find("MenuVenueSetup"));
    EXPECT_EQ(game->ticketCost, 50);
    EXPECT_EQ(game->marketingFlags, uint32_t(MKT_BILLS));
    EXPECT_EQ(game->surveyBought, 0);

    for (int i = 0; i < 4 && !Opened("MenuGameRunning"); ++i)
        Frames();
    ASSERT_TRUE(Opened("MenuGameRunning"));
    for (const char* name : {"First", "GameGrid", "ViewportMain"})
        EXPECT_TRUE(EntTreeFindName(app.GetRoot(), name)) << name;

    // What the in-game screen's Start does, then one frame of the day.
    ASSERT_EQ(game->cash, 1000000);
    MtGameOpenGates(game);
    Frames();
    const int32_t charged = 1000000 - game->cash;
    ASSERT_TRUE(game->venue);
    EXPECT_EQ(charged, game->venue->rent + game->gameVals.billsCost);
    EXPECT_EQ(
        total, u"TOTAL DAILY COST: $" +
                   [&] {
                       const std::string d = std::to_string(charged / 100);
                       return std::u16string(d.begin(), d.end());
                   }())
        << "the set-up screen showed another cost than the day took";
}
