// The build catalogue over the HUD: the categories, the rows and scrolling, the career's locks,
// what OK and Cancel hand back, the pause, and the return to the HUD that opened it.
#include "tests/ui/Menus/HudFixture.h"

#include "game/AttrInfo.h"
#include "game/Career.h"
#include "game/GameGridCore.h"
#include "tests/support/TestSupport.h"
#include "ui/Menus/MenuEquipResource.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {} // namespace

class EquipResourceTest : public HudTest {
  protected:
    void SetUp() override {
        HudTest::SetUp();
        g_catalogueCategory = 4;
    }
    void TearDown() override {
        if (shrunk) Game()->attrList->count = savedCount;
        HudTest::TearDown();
        g_catalogueCategory = 4;
    }

    // The HUD up, and the real catalogue in place of the HUD tests' stand-in.
    void StartCatalogue(bool withOtherMenuFirst = false) {
        StartHud(false);
        if (HasFatalFailure()) return;
        if (EntClass* stand = EntClassFind("MenuEquipResource"))
            std::snprintf(stand->name, sizeof stand->name, "~EquipResourceStandIn");
        ASSERT_EQ(EntCreateClass(EcMenuEquipResourceProc, 0, 0), 0);
        // A screen that comes before the HUD under "Menus".
        if (withOtherMenuFirst) {
            ASSERT_NE(MenuOpen("MenuHelp", app.GetMenus(), nullptr), nullptr);
        }
        hud = OpenHud();
        ASSERT_NE(hud, nullptr);
    }

    // The attraction types: `count` of them in category 2, the rest in none.
    void OnlyRides(int count) {
        AttrInfoList* list = Game()->attrList;
        for (int i = 0; i < list->Count(); ++i)
            list->Get(i)->attrType = i < count ? 2 : 9;
    }

    MenuEquipResource* Open() {
        auto* made = dynamic_cast<MenuEquipResource*>(
            MenuEquipResourceOpen(app.GetMenus(), hud, &hud->chosenType, &hud->chosenIndex));
        if (made) hud->ClearActive();
        Step();
        return made;
    }
    bool Live(MenuEquipResource* menu, int32_t id) {
        Ctl3Base* c = menu->FindCtl(id);
        return c && c->enabled && c->visible;
    }

    bool shrunk = false;
    int savedCount = 0;
};

TEST_F(EquipResourceTest, TheEquipmentButtonOpensItPausedOnTheLastCategory) {
    keepLog = true;
    StartCatalogue();
    ASSERT_FALSE(HasFatalFailure());
    venue.OpenDay();
    Step(3);
    MtGame* game = Game();
    PostClick(HUD_EQUIPMENT);
    const float before = game->gameTime;
    auto* menu = dynamic_cast<MenuEquipResource*>(EntTreeFindName(app.GetMenus(), "EquipResource"));
    ASSERT_NE(menu, nullptr) << "the Equipment button opened no catalogue";
    EXPECT_NE(LogText().find("Menu: EquipResource (MenuEquipResource)"), std::string::npos);
    EXPECT_FALSE(hud->active);
    int utilities = 0;
    for (int i = 0; i < game->attrList->Count(); ++i)
        utilities += game->attrList->Get(i)->attrType == 4;
    EXPECT_EQ(menu->shownCount, utilities) << "it did not open on the utilities";
    Step(5);
    EXPECT_EQ(game->gameTime, before) << "the game ran under the catalogue";

    // Rides, then Cancel: no type, the index kept, the HUD back and the game running again.
    hud->chosenIndex = 7;
    PostClick(EQUIP_RIDES);
    EXPECT_EQ(g_catalogueCategory, 2);
    PostClick(EQUIP_CANCEL);
    EXPECT_FALSE(EntIsLive(menu));
    EXPECT_EQ(hud->chosenType, nullptr);
    EXPECT_EQ(hud->chosenIndex, 7);
    EXPECT_TRUE(hud->active);
    Step(5);
    EXPECT_GT(game->gameTime, before) << "the game stayed paused";

    // The next opening starts on the rides.
    menu = Open();
    ASSERT_NE(menu, nullptr);
    int rides = 0;
    for (int i = 0; i < game->attrList->Count(); ++i)
        rides += game->attrList->Get(i)->attrType == 2;
    EXPECT_EQ(menu->shownCount, rides);
}

TEST_F(EquipResourceTest, RowsScrollAndStopAtTheEndOfTheList) {
    StartCatalogue();
    ASSERT_FALSE(HasFatalFailure());
    OnlyRides(5);
    g_catalogueCategory = 2;
    MenuEquipResource* menu = Open();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->shownCount, 5);
    EXPECT_FALSE(Live(menu, EQUIP_UP));
    for (int i = 0; i < 4; ++i)
        PostClick(EQUIP_DOWN);
    EXPECT_EQ(menu->top, 2);
    EXPECT_EQ(menu->row, 2);
    EXPECT_FALSE(Live(menu, EQUIP_DOWN));
    EXPECT_TRUE(Live(menu, EQUIP_UP));
    AttrInfoList* list = Game()->attrList;
    const std::string title = Narrow(menu->FindCtl(EQUIP_TITLE + 2)->label);
    EXPECT_EQ(title.rfind(Narrow(list->Get(4)->name), 0), 0u) << "the last row shows " << title;
    // The bar glides to the last row within 0.3 s, pulsing between 0.35 and 0.45.
    for (int i = 0; i < 20; ++i) {
        Step();
        const uint32_t a = menu->highlight->colour >> 24;
        EXPECT_GE(a, 89u);
        EXPECT_LE(a, 114u);
    }
    EXPECT_NEAR(menu->highlight->pos.y, MenuEquipResource::RowY(2), 1.0f);

    // OK hands back the type and its list index.
    PostClick(EQUIP_OK);
    EXPECT_EQ(hud->chosenType, list->Get(4));
    EXPECT_EQ(hud->chosenIndex, 4);
    EXPECT_FALSE(EntIsLive(menu));
}

TEST_F(EquipResourceTest, ShortListsAndTheTitleLine) {
    StartCatalogue();
    ASSERT_FALSE(HasFatalFailure());
    OnlyRides(2);
    AttrInfoList* list = Game()->attrList;
    list->Get(0)->idleCost = 1250;
    list->Get(0)->deposit = 50000;
    g_catalogueCategory = 2;
    MenuEquipResource* menu = Open();
    ASSERT_NE(menu, nullptr);
    const std::string title = Narrow(menu->FindCtl(EQUIP_TITLE)->label);
    EXPECT_NE(title.find("  -  $12/hr  deposit:$500"), std::string::npos) << title;
    PostClick(EQUIP_DOWN);
    EXPECT_EQ(menu->row, 1);
    EXPECT_FALSE(Live(menu, EQUIP_DOWN)) << "Down goes on past the last type";
    EXPECT_FALSE(menu->FindCtl(EQUIP_SELECT + 2)->enabled);
    PostClick(EQUIP_CANCEL);

    // One type in all: only the first row's controls exist, and nothing fills the others.
    savedCount = list->count;
    shrunk = true;
    list->count = 1;
    menu = Open();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->FindCtl(EQUIP_THUMB + 1), nullptr);
    PostClick(EQUIP_DOWN);
    EXPECT_EQ(menu->row, 0);
    PostClick(EQUIP_SELECT + 1);
    EXPECT_EQ(menu->row, 0);
    PostClick(EQUIP_OK);
    EXPECT_EQ(hud->chosenIndex, 0);
}

TEST_F(EquipResourceTest, ACareerLocksTypesAndTheCash) {
    StartCatalogue();
    ASSERT_FALSE(HasFatalFailure());
    OnlyRides(3);
    MtGame* game = Game();
    game->mode = MTGAME_CAREER;
    std::snprintf(game->career.attrUnlock, sizeof game->career.attrUnlock, "+-+");
    game->cash = 1000;
    AttrInfoList* list = game->attrList;
    list->Get(0)->deposit = 500;
    list->Get(2)->deposit = 5000;
    g_catalogueCategory = 2;
    MenuEquipResource* menu = Open();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(Live(menu, EQUIP_OK));
    EXPECT_FALSE(menu->FindCtl(EQUIP_LOCKED)->visible);
    EXPECT_TRUE(menu->FindCtl(EQUIP_LOCKED + 1)->visible);
    auto* rank = static_cast<StaticText*>(menu->FindCtl(EQUIP_RANK + 1));
    EXPECT_TRUE(rank->visible);
    EXPECT_EQ(Narrow(rank->label), Narrow(MtGameRankName(game, list->Get(1)->unlockPrice)));
    EXPECT_TRUE(menu->FindCtl(EQUIP_MONEY + 2)->visible) << "the dear type shows no money icon";
    PostClick(EQUIP_SELECT + 1);
    EXPECT_FALSE(Live(menu, EQUIP_OK)) << "a locked type can be chosen";
    PostClick(EQUIP_SELECT + 2);
    EXPECT_FALSE(Live(menu, EQUIP_OK)) << "a type the cash cannot cover can be chosen";
    PostClick(EQUIP_CANCEL);

    // In a sandbox everything can be chosen.
    game->mode = MTGAME_SANDBOX;
    menu = Open();
    ASSERT_NE(menu, nullptr);
    PostClick(EQUIP_SELECT + 2);
    EXPECT_TRUE(Live(menu, EQUIP_OK));
    EXPECT_FALSE(menu->FindCtl(EQUIP_MONEY + 2)->visible);
}

TEST_F(EquipResourceTest, CloseReturnsToTheHudThatOpenedIt) {
    StartCatalogue(true);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_NE(EntTreeFindName(app.GetMenus(), "MenuHelp"), nullptr);
    MenuEquipResource* menu = Open();
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(hud->active);
    PostClick(EQUIP_CANCEL);
    EXPECT_TRUE(hud->active) << "another menu was made active in place of the HUD";
}

// ---- the shipped data ----

TEST(EquipResourceData, EveryTypeTheCarnivalNeedsIsInATabAndHasAFootprintAndAPicture) {
    const std::string data = FAIRLARK_BUILD_DATA_DIR;
    AttrInfoList* list = AttrInfoList::Load((data + "Data.ini").c_str());
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->Count(), 3);
    for (int i = 0; i < list->Count(); ++i) {
        const AttrInfo* t = list->Get(i);
        const std::string name = Narrow(t->name);
        bool served = t->maxPowerGen > 0.0f;
        for (float need : t->needs)
            served = served || need != 0.0f;
        const bool inTab =
            t->attrType == 0 || t->attrType == 2 || t->attrType == 3 || t->attrType == 4;
        // Categories 1 and 5 have no tab: a type there could never be built.
        EXPECT_TRUE(inTab || t->attrType >= 6) << name << " is in no tab: " << t->attrType;
        EXPECT_TRUE(inTab || !served) << name << " serves patrons but cannot be built";
        EXPECT_GE(t->footX, 1) << name;
        EXPECT_GE(t->footZ, 1) << name;
        if (inTab) {
            std::string thumb = t->texFileName;
            for (char& c : thumb)
                if (c == '\\') c = '/';
            EXPECT_TRUE(PathExistsOnDisk(data + thumb)) << name << ": " << thumb;
        }
    }
    delete list;
    for (const char* art :
         {"Menu/EquipResource/ButtonFood.dds", "Menu/EquipResource/ButtonGOC.dds",
          "Menu/EquipResource/ButtonRides.dds", "Menu/EquipResource/ButtonUtility.dds",
          "Menu/EquipResource/LockedIcon.dds", "Menu/Common/LockedIconMoney.dds",
          "Menu/EquipResource/EquipResource.lua"})
        EXPECT_TRUE(PathExistsOnDisk(data + art)) << art;
    EXPECT_EQ(ReadTextFile(data + "Menu/EquipResource/LockedIcon.dds"),
              ReadTextFile(data + "Menu/MidwaySelector/LockedIcon.dds"))
        << "the two locks share a title, so their bytes must be the same";
}

// ---- by input alone ----

TEST_F(EquipResourceTest, ARideIsChosenAndPlacedByInputAlone) {
    keepLog = true;
    StartCatalogue();
    ASSERT_FALSE(HasFatalFailure());
    venue.OpenDay();
    MtGame* game = Game();
    game->cash = 100000000;
    Step(2);

    auto centre = [](Ctl3Base* c, float* x, float* y) {
        ASSERT_NE(c, nullptr);
        *x = (c->rect.left + c->rect.right) / 2.0f;
        *y = (c->rect.top + c->rect.bottom) / 2.0f;
    };
    float x = 0, y = 0;
    centre(hud->FindCtl(HUD_EQUIPMENT), &x, &y);
    ClickAt(x, y);
    auto* menu = dynamic_cast<MenuEquipResource*>(EntTreeFindName(app.GetMenus(), "EquipResource"));
    ASSERT_NE(menu, nullptr) << "the click on Equipment opened no catalogue";
    EXPECT_NE(LogText().find("Menu: EquipResource (MenuEquipResource)"), std::string::npos);
    centre(menu->FindCtl(EQUIP_RIDES), &x, &y);
    ClickAt(x, y);
    ASSERT_EQ(g_catalogueCategory, 2) << "the Rides strip was not clicked";
    AttrInfo* ride = menu->entries[1];
    centre(menu->FindCtl(EQUIP_SELECT + 1), &x, &y);
    ClickAt(x, y);
    EXPECT_EQ(menu->row, 1);
    centre(menu->FindCtl(EQUIP_OK), &x, &y);
    ClickAt(x, y);
    ASSERT_FALSE(EntIsLive(menu)) << "OK did not close the catalogue";
    ASSERT_EQ(hud->chosenType, ride);
    EXPECT_EQ(hud->chosenIndex, game->attrList->IndexOf(ride));
    EXPECT_TRUE(hud->active);
    Step();
    EXPECT_TRUE(hud->hint->visible) << "the placing hint is not shown";

    // Clear ground in the middle of the view, a quarter turn, and a click there.
    GameGridCore* grid = GameGridFrom(hud->grid.Get());
    ASSERT_NE(grid, nullptr);
    MouseMove(512, 470);
    Step();
    const int cx = hud->cursorCellX, cz = hud->cursorCellZ;
    const int reach = std::max(ride->footX, ride->footZ) + 2;
    GameGridMarkRect(grid, cx, cx + reach, cz, cz + reach, 1.0f);
    Key(SDL_SCANCODE_SPACE, true);
    Key(SDL_SCANCODE_SPACE, false);
    Step();
    ASSERT_EQ(hud->rotation, 1);
    const int32_t cash = game->cash;
    ClickAt(512, 470);
    EXPECT_EQ(hud->chosenType, nullptr) << "the click placed nothing";
    EXPECT_EQ(game->cash, cash - ride->deposit);
    EXPECT_TRUE(GameGridCellBlocked(grid, cx + 1, cz + 1));
}
