// The venue set-up: its texts and the terms it writes to the game object, Start and Back, and a
// set-up opened with no venue.
#include "tests/ui/Menus/NumberBoxFit.h"
#include "tests/ui/Menus/VenueMenuFixture.h"

#include "game/MtGame.h"
#include "ui/GraphicCheckBox.h"
#include "ui/IncDecButton.h"
#include "ui/Menus/MenuMidwaySelector.h"
#include "ui/Menus/MenuVenueSetup.h"
#include "ui/Menus/MenuWorldLoader.h"
#include "ui/StaticText.h"

#include <cstdio>

namespace {
class VenueSetupTest : public VenueMenuTest {
  protected:
    MenuVenueSetup* Open() {
        Menu3Base* made = MenuVenueSetupOpen(app.GetMenus());
        Frames();
        return dynamic_cast<MenuVenueSetup*>(made);
    }
    bool Checked(MenuVenueSetup* s, int32_t id) { return s->GetCtlChecked(id) != 0; }
    // Clicks a half of the free-ticket button.
    void ClickHalf(IncDecButton* b, bool up) {
        ClickAt(b->rect.right - 4.0f, up ? b->rect.top + 3.0f : b->rect.bottom - 3.0f);
    }
};
} // namespace

TEST_F(VenueSetupTest, TermsAreWrittenAsTheyAreClickedAndTheCostsFollow) {
    WriteVenues(3);
    StartVenues(MTGAME_SANDBOX);
    MtGame* game = Game();
    GameVals& vals = game->gameVals;
    vals.billsCost = 20000;
    vals.paperCost = 50000;
    vals.radioCost = 150000;
    vals.tvCost = 250000;
    MtGameSetVenue(game, 0);
    game->venue->rent = 100000;
    game->ticketCost = 75;
    game->career.cash = 98765;
    MenuVenueSetup* setup = Open();
    ASSERT_TRUE(setup);
    EXPECT_TRUE(Checked(setup, SETUP_PRICE_50)) << "a price that is no choice becomes $ .50";
    EXPECT_EQ(game->ticketCost, 50);
    EXPECT_FALSE(Checked(setup, SETUP_PRICE_25) || Checked(setup, SETUP_PRICE_100));
    EXPECT_TRUE(Ctl3IsFocused(setup->FindCtl(SETUP_START)));
    for (const char16_t* label :
         {u"Bills ($200)", u"Newspaper ($500)", u"Radio ($1500)", u"TV ($2500)", u"Venue 0",
          u"Venue Rental: $1000", u"Promotions: $0", u"TOTAL DAILY COST: $1000", u"Cash: $987"})
        EXPECT_TRUE(VenueHasLabel(setup, label)) << std::u16string(label).size();
    // The right column stands clear of the left one's headings.
    const auto labelled = [setup](const std::u16string& text) -> Ctl3Base* {
        for (EntNode* c = setup->node->firstChild; c; c = c->next)
            if (auto* t = dynamic_cast<StaticText*>(c->object); t && t->label == text) return t;
        return nullptr;
    };
    Ctl3Base* advertising = labelled(u"ADVERTISING (per day)");
    Ctl3Base* fixed = labelled(u"FIXED DAILY COSTS:");
    Ctl3Base* pricing = labelled(u"TICKET PRICING");
    Ctl3Base* promo = labelled(u"FREE TICKET PROMO");
    ASSERT_TRUE(advertising && fixed && pricing && promo);
    EXPECT_LT(advertising->rect.right, fixed->rect.left) << "the two columns' headings touch";
    EXPECT_LT(pricing->rect.right, promo->rect.left);

    ClickOn(setup->FindCtl(SETUP_BILLS));
    ClickOn(setup->FindCtl(SETUP_TV));
    EXPECT_EQ(VenueLabel(setup->promotionsText), u"Promotions: $2700");
    EXPECT_EQ(VenueLabel(setup->totalText), u"TOTAL DAILY COST: $3700");
    ClickOn(setup->FindCtl(SETUP_BILLS));
    EXPECT_EQ(VenueLabel(setup->promotionsText), u"Promotions: $2500");
    EXPECT_EQ(VenueLabel(setup->totalText), u"TOTAL DAILY COST: $3500");
    EXPECT_EQ(game->marketingFlags, uint32_t(MKT_TV));

    ClickOn(setup->FindCtl(SETUP_PRICE_100));
    EXPECT_EQ(game->ticketCost, 100);
    EXPECT_TRUE(Checked(setup, SETUP_PRICE_100));
    EXPECT_FALSE(Checked(setup, SETUP_PRICE_50)) << "the prices are one radio group";

    IncDecButton* tickets = setup->freeTickets;
    ASSERT_TRUE(tickets);
    Frames();
    ExpectDrawnWhole(tickets, u"0 Tickets");
    for (int i = 0; i < 23; ++i)
        ClickHalf(tickets, true);
    EXPECT_EQ(tickets->value, 20);
    Frames();
    ExpectDrawnWhole(tickets, u"20 Tickets");
    EXPECT_EQ(game->freeTickets, 20);
    ClickHalf(tickets, false);
    EXPECT_EQ(game->freeTickets, 19);
    for (int i = 0; i < 22; ++i)
        ClickHalf(tickets, false);
    EXPECT_EQ(tickets->value, 0);
    EXPECT_EQ(game->freeTickets, 0);
    ClickHalf(tickets, true);
    EXPECT_EQ(game->freeTickets, 1);
    EXPECT_EQ(game->freeTicketPromo, 0) << "the promotion flag is not this screen's";
    EXPECT_EQ(game->surveyBought, 0) << "the survey is not bought on this road";

    // Back keeps every term; a new set-up shows them.
    TapKey(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(Find("MenuVenueSetup"));
    auto* sel = dynamic_cast<MenuMidwaySelector*>(Find("MidwaySelector"));
    ASSERT_TRUE(sel);
    EXPECT_STREQ(sel->returnTo, "MenuMain");
    EXPECT_EQ(game->ticketCost, 100);
    EXPECT_EQ(game->marketingFlags, uint32_t(MKT_TV));
    EXPECT_EQ(game->freeTickets, 1);
    EntDestroyTree(sel);
    setup = Open();
    ASSERT_TRUE(setup);
    EXPECT_TRUE(Checked(setup, SETUP_PRICE_100));
    EXPECT_TRUE(Checked(setup, SETUP_TV));
    EXPECT_FALSE(Checked(setup, SETUP_BILLS));
    EXPECT_EQ(setup->freeTickets->value, 1);
}

TEST_F(VenueSetupTest, StartOpensTheLoaderInSandboxModeAndTheLayoutsInCareerMode) {
    WriteVenues(2);
    StartVenues(MTGAME_SANDBOX);
    MtGame* game = Game();
    MtGameSetVenue(game, 1);
    std::snprintf(game->scriptPath, sizeof game->scriptPath, "%s", "Venues\\Default\\World.lua");
    ASSERT_TRUE(Open());
    ClickAt(779.0f, 667.0f);
    EXPECT_FALSE(Find("MenuVenueSetup"));
    auto* loader = dynamic_cast<MenuWorldLoader*>(Find("WorldLoader"));
    ASSERT_TRUE(loader) << "Start did not open the world loader";
    EXPECT_STREQ(loader->scriptFileName, "Venues\\Default\\World.lua");
    EntDestroyTree(loader);

    game->mode = MTGAME_CAREER;
    ASSERT_TRUE(Open());
    TapKey(SDL_SCANCODE_RETURN); // the focus is on Start
    EXPECT_FALSE(Find("MenuVenueSetup"));
    EXPECT_TRUE(Opened("MenuLoadLayout"));
    EXPECT_FALSE(Find("WorldLoader"));
}

TEST_F(VenueSetupTest, AVenueIdOutsideTheListGoesBackToTheSelector) {
    keepLog = true;
    WriteVenues(3);
    StartVenues(MTGAME_SANDBOX);
    Game()->venueId = 7;
    ASSERT_TRUE(MenuVenueSetupOpen(app.GetMenus()));
    Frames();
    EXPECT_FALSE(Find("MenuVenueSetup"));
    auto* sel = dynamic_cast<MenuMidwaySelector*>(Find("MidwaySelector"));
    ASSERT_TRUE(sel) << "the set-up with no venue did not return to the selector";
    EXPECT_STREQ(sel->returnTo, "MenuMain");
    EXPECT_NE(LogText().find("MenuVenueSetup: no venue 7"), std::string::npos);
}
