// The venue selector in the running game: rows, scrolling, the gliding and pulsing highlight,
// career locks, Next and Back, and short venue lists.
#include "tests/ui/Menus/VenueMenuFixture.h"

#include "engine/Input/SlInput.h"
#include "engine/WideFormat.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuMidwaySelector.h"
#include "ui/StaticGraphic.h"

#include <algorithm>
#include <cstring>

namespace {
class MidwaySelectorTest : public VenueMenuTest {
  protected:
    MenuMidwaySelector* Open(const char* returnTo = "MenuSandbox") {
        Menu3Base* made = MenuMidwaySelectorOpen(app.GetMenus(), returnTo);
        Frames();
        return dynamic_cast<MenuMidwaySelector*>(made);
    }
    MenuMidwaySelector* Sel() { return dynamic_cast<MenuMidwaySelector*>(Find("MidwaySelector")); }
    std::u16string Title(int row) { return VenueLabel(Ctl("MidwaySelector", MIDWAY_TITLE + row)); }
};

std::u16string TitleOf(int venue) {
    char16_t line[128];
    WideFormat(line, 128, u"Venue %i  -  daily rent: $%i", venue, (venue + 1) * 100);
    return line;
}
} // namespace

TEST_F(MidwaySelectorTest, SandboxModeShowsEveryVenueAndScrollsThroughFive) {
    WriteVenues(5);
    StartVenues(MTGAME_SANDBOX);
    MenuMidwaySelector* sel = Open();
    ASSERT_TRUE(sel);
    EXPECT_EQ(sel->venueCount, 5);
    EXPECT_TRUE(VenueHasLabel(sel, u"Cash: unlimited"));
    EXPECT_TRUE(Ctl3IsFocused(sel->FindCtl(MIDWAY_BACK))) << "the focus starts on Back";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Title(i), TitleOf(i)) << "rent 10099 cents shows as whole dollars, truncated";
        EXPECT_FALSE(sel->FindCtl(MIDWAY_LOCKED + i)->visible) << "no lock in sandbox mode";
        auto* thumb = dynamic_cast<StaticGraphic*>(sel->FindCtl(MIDWAY_THUMB + i));
        ASSERT_TRUE(thumb);
        EXPECT_GE(thumb->slot, 0) << "the generated thumbnail did not load";
    }

    const int rows[][2] = {{0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 2}};
    for (const auto& expect : rows) {
        TapKey(SDL_SCANCODE_DOWN);
        EXPECT_EQ(sel->top, expect[0]);
        EXPECT_EQ(sel->row, expect[1]);
    }
    EXPECT_FALSE(VenueLive(sel->FindCtl(MIDWAY_DOWN))) << "Down at the last venue is hidden";
    EXPECT_EQ(Title(2), TitleOf(4));
    EXPECT_TRUE(VenueLive(sel->FindCtl(MIDWAY_NEXT)));
    for (int i = 0; i < 4; ++i)
        TapKey(SDL_SCANCODE_UP);
    EXPECT_EQ(sel->top, 0);
    EXPECT_EQ(sel->row, 0);
    EXPECT_FALSE(VenueLive(sel->FindCtl(MIDWAY_UP))) << "Up at the first venue is hidden";
    EXPECT_TRUE(VenueLive(sel->FindCtl(MIDWAY_DOWN)));
    EXPECT_EQ(Title(0), TitleOf(0));

    ClickOn(sel->FindCtl(MIDWAY_SELECT + 2));
    EXPECT_EQ(sel->row, 2) << "select box 3 chooses the third row";
    EXPECT_EQ(sel->top, 0);
}

TEST_F(MidwaySelectorTest, TheHighlightGlidesToTheRowAndPulsesOncePerSecond) {
    WriteVenues(5);
    StartVenues(MTGAME_SANDBOX);
    MenuMidwaySelector* sel = Open();
    ASSERT_TRUE(sel && sel->highlight);
    TapKey(SDL_SCANCODE_DOWN); // two frames of the glide already
    EXPECT_FLOAT_EQ(sel->highlightPos.target, 434.0f);
    Frames(13); // 0.3 s since the key
    // Critically damped over 0.1 s: after 0.3 s less than 2 % of the step is left.
    EXPECT_NEAR(sel->highlightPos.GetValue(), 434.0f, 2.5f) << "the glide takes about 0.1 s";
    EXPECT_NEAR(sel->highlight->pos.y, sel->highlightPos.GetValue(), 0.001f);

    int low = 255, high = 0;
    std::vector<uint32_t> alphas;
    for (int i = 0; i < 100; ++i) {
        Frames();
        const int a = int(sel->highlight->colour >> 24);
        EXPECT_EQ(sel->highlight->colour & 0xFFFFFFu, 0xFFFFFFu);
        low = std::min(low, a);
        high = std::max(high, a);
        alphas.push_back(uint32_t(a));
    }
    EXPECT_GE(low, 89);
    EXPECT_LE(high, 114);
    EXPECT_LE(low, 92) << "the pulse did not reach its low";
    EXPECT_GE(high, 111) << "the pulse did not reach its high";
    for (int i = 0; i < 50; ++i)
        EXPECT_NEAR(double(alphas[size_t(i)]), double(alphas[size_t(i + 50)]), 1.0)
            << "one pulse a second at 50 frames a second";
}

TEST_F(MidwaySelectorTest, BackReturnsToTheOpenersScreen) {
    WriteVenues(3);
    StartVenues(MTGAME_SANDBOX);
    for (const char* opener : {"MenuCareerSummary", "MenuMain"}) {
        ASSERT_TRUE(Open(opener));
        TapKey(SDL_SCANCODE_ESCAPE);
        EXPECT_FALSE(Sel()) << opener;
        ASSERT_FALSE(g_venueOpened.empty());
        EXPECT_EQ(g_venueOpened.back().cls, opener);
        EntDestroyTree(EntTreeFindType(app.GetMenus(), opener));
    }
    ASSERT_TRUE(Open("MenuSandbox"));
    ClickOn(Ctl("MidwaySelector", MIDWAY_BACK));
    EXPECT_FALSE(Sel());
    EXPECT_TRUE(Find("MenuSandbox")) << "Back opened the sandbox menu again";
}

// A locked venue shows its lock and rank, hides Next, and neither Enter's press nor its release
// does anything: the focused Back must not hear the same key.
TEST_F(MidwaySelectorTest, CareerLocksAndTheEnterKeyActsOnce) {
    WriteVenues(5);
    StartVenues(MTGAME_CAREER);
    MtGame* game = Game();
    // An old career that names three venues: 3 and 4 are locked by being past its end.
    std::strcpy(game->career.venueUnlock, "++-");
    game->career.cash = 123456;
    game->venueId = -1;
    MenuMidwaySelector* sel = Open("MenuCareerSummary");
    ASSERT_TRUE(sel);
    EXPECT_TRUE(VenueHasLabel(sel, u"Cash: $1234"));
    EXPECT_FALSE(sel->FindCtl(MIDWAY_LOCKED + 1)->visible);
    EXPECT_TRUE(sel->FindCtl(MIDWAY_LOCKED + 2)->visible);
    EXPECT_EQ(VenueLabel(sel->FindCtl(MIDWAY_RANK + 2)),
              std::u16string(MtGameRankName(game, 300000)));
    EXPECT_TRUE(sel->IsLocked(3) && sel->IsLocked(4) && sel->IsLocked(200));
    // The lock and the rank stand right of the locked row's description, clear of the
    // thumbnail: at the thumbnail's place the rank ran over the description.
    Ctl3Base* lock = sel->FindCtl(MIDWAY_LOCKED + 2);
    Ctl3Base* rank = sel->FindCtl(MIDWAY_RANK + 2);
    Ctl3Base* text = sel->FindCtl(MIDWAY_TEXT + 2);
    ASSERT_TRUE(lock && rank && text);
    EXPECT_GE(lock->pos.x - lock->width / 2, text->rect.right);
    EXPECT_GE(rank->pos.x, text->rect.right);
    EXPECT_GT(lock->pos.x - lock->width / 2, 230.0f + 64.0f) << "the lock is over the thumbnail";

    ClickOn(sel->FindCtl(MIDWAY_SELECT + 2));
    EXPECT_EQ(sel->row, 2);
    EXPECT_FALSE(VenueLive(sel->FindCtl(MIDWAY_NEXT))) << "a locked venue cannot be chosen";
    ASSERT_TRUE(Ctl3SetFocus(sel->FindCtl(MIDWAY_BACK)));
    TapKey(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Sel(), sel) << "Enter on a locked venue left the screen";
    EXPECT_EQ(game->venueId, -1);
    EXPECT_TRUE(g_venueOpened.empty()) << "the focused Back acted on the same Enter";
    TapKey(SDL_SCANCODE_DOWN);
    EXPECT_EQ(sel->top, 1) << "Down scrolled once, not twice";
    EXPECT_TRUE(sel->FindCtl(MIDWAY_LOCKED + 2)->visible) << "venue 3 is past the career's string";

    TapKey(SDL_SCANCODE_UP);
    TapKey(SDL_SCANCODE_UP);
    EXPECT_EQ(sel->top + sel->row, 1);
    TapKey(SDL_SCANCODE_RETURN);
    EXPECT_FALSE(Sel());
    EXPECT_EQ(game->venueId, 1);
    EXPECT_STREQ(game->scriptPath, "Venues\\Default\\World.lua");
    EXPECT_TRUE(Find("MenuVenueSetup"));
}

TEST_F(MidwaySelectorTest, WithThreeVenuesEachArrowIsLiveExactlyWhenItCanMove) {
    WriteVenues(3);
    StartVenues(MTGAME_SANDBOX);
    MenuMidwaySelector* sel = Open();
    ASSERT_TRUE(sel);
    ClickOn(sel->FindCtl(MIDWAY_SELECT + 2));
    EXPECT_FALSE(VenueLive(sel->FindCtl(MIDWAY_DOWN)));
    EXPECT_TRUE(VenueLive(sel->FindCtl(MIDWAY_UP)));
    ClickOn(sel->FindCtl(MIDWAY_SELECT + 0));
    EXPECT_TRUE(VenueLive(sel->FindCtl(MIDWAY_DOWN))) << "Down hidden while it can still move";
    EXPECT_FALSE(VenueLive(sel->FindCtl(MIDWAY_UP)));
    TapKey(SDL_SCANCODE_DOWN);
    EXPECT_EQ(sel->row, 1);
}

class MidwayShortListTest : public MidwaySelectorTest, public testing::WithParamInterface<int> {};

TEST_P(MidwayShortListTest, OnlyTheVenuesRowsAreFilledAndDownStopsAtTheLast) {
    const int count = GetParam();
    WriteVenues(count);
    StartVenues(MTGAME_SANDBOX);
    MenuMidwaySelector* sel = Open();
    ASSERT_TRUE(sel);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sel->FindCtl(MIDWAY_TITLE + i) != nullptr, i < count) << i;
        EXPECT_EQ(VenueLive(sel->FindCtl(MIDWAY_SELECT + i)), i < count) << i;
    }
    for (int i = 0; i < 4; ++i)
        TapKey(SDL_SCANCODE_DOWN);
    EXPECT_EQ(sel->top, 0);
    EXPECT_EQ(sel->row, count - 1) << "Down stops at the last venue";
    EXPECT_FALSE(VenueLive(sel->FindCtl(MIDWAY_DOWN)));
    // A click on an empty row's box changes nothing.
    SlPostEvent(CTL3_EVENT, MIDWAY_SELECT + 2, CTL3_CLICK);
    Frames();
    EXPECT_EQ(sel->row, count - 1);
    TapKey(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Game()->venueId, count - 1);
    EXPECT_TRUE(Find("MenuVenueSetup"));
}

INSTANTIATE_TEST_SUITE_P(OneAndTwo, MidwayShortListTest, testing::Values(1, 2));

TEST_F(MidwaySelectorTest, AnEmptyListHasNothingToChooseButBackWorks) {
    WriteVenues(0);
    StartVenues(MTGAME_SANDBOX);
    Game()->venueId = -1;
    MenuMidwaySelector* sel = Open("MenuMain");
    ASSERT_TRUE(sel);
    EXPECT_EQ(sel->venueCount, 0);
    EXPECT_FALSE(sel->FindCtl(MIDWAY_THUMB));
    EXPECT_FALSE(VenueLive(sel->FindCtl(MIDWAY_NEXT)));
    TapKey(SDL_SCANCODE_RETURN);
    TapKey(SDL_SCANCODE_DOWN);
    EXPECT_EQ(Sel(), sel);
    EXPECT_EQ(Game()->venueId, -1);
    EXPECT_EQ(sel->row, 0);
    TapKey(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(Sel());
    EXPECT_TRUE(Opened("MenuMain"));
}

TEST_F(MidwaySelectorTest, AVenueWithoutItsPictureShowsAnUntexturedThumbnail) {
    WriteVenues(3);
    StartVenues(MTGAME_SANDBOX);
    VenueInfoList* list = Game()->venueList;
    ASSERT_TRUE(list && list->Count() == 3);
    list->Get(0)->texFileName[0] = 0;
    std::strcpy(list->Get(1)->texFileName, "Menu\\Venues\\NoSuchVenue.dds");
    MenuMidwaySelector* sel = Open();
    ASSERT_TRUE(sel);
    for (int i = 0; i < 3; ++i) {
        auto* thumb = dynamic_cast<StaticGraphic*>(sel->FindCtl(MIDWAY_THUMB + i));
        ASSERT_TRUE(thumb);
        EXPECT_EQ(thumb->slot >= 0, i == 2) << i;
        EXPECT_EQ(Title(i), TitleOf(i)) << "the row is filled all the same";
    }
    TapKey(SDL_SCANCODE_DOWN);
    EXPECT_EQ(sel->row, 1);
}
