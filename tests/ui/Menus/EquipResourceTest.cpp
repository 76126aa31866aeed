// The build catalogue over the HUD: the categories, the rows and scrolling, the career's locks,
// what OK and Cancel hand back, the pause, and the return to the HUD that opened it.
#include "tests/ui/Menus/HudFixture.h"

#include "I3d/Font.h"
#include "I3d/Math/Pick.h"
#include "datagen/Interface/InterfaceArt.h"
#include "engine/EntIniLoader.h"
#include "engine/Input/SlInput.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/WideFormat.h"
#include "game/AttrInfo.h"
#include "game/Career.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GroundHeight.h"
#include "game/GameGridCore.h"
#include "game/MtGameSave.h"
#include "tests/support/PixelChannels.h"
#include "tests/support/TestSupport.h"
#include "tests/venue/VenuePixels.h"
#include "ui/Menus/MenuEquipResource.h"
#include "ui/MouseCursor1.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"

#include <SDL.h>
#include <lua.hpp>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

// The chosen category's tab shows its pressed frame on screen, the others theirs, and a second
// click on the chosen tab keeps it chosen.
TEST_F(EquipResourceTest, TheChosenTabLooksPressed) {
    StartCatalogue();
    ASSERT_FALSE(HasFatalFailure());
    auto* pointer = dynamic_cast<MouseCursor1*>(EntTreeFindType(app.GetRoot(), "MouseCursor1"));
    ASSERT_NE(pointer, nullptr);
    pointer->enabled = 0;
    MenuEquipResource* menu = Open();
    ASSERT_NE(menu, nullptr);
    // Texel (4, 4) of a tab's frame is its plain fill: the pressed one is the darkest.
    const auto pressed = [&](int32_t id) {
        Ctl3Base* tab = menu->FindCtl(id);
        if (!tab) return false;
        const uint32_t c = PixelAt(ReadPixels(), int(tab->rect.left) + 4, int(tab->rect.top) + 4);
        const uint32_t want = kArtStateFill[2];
        return std::abs(int(Red(c)) - int(Red(want))) <= 4 &&
               std::abs(int(Green(c)) - int(Green(want))) <= 4 &&
               std::abs(int(Blue(c)) - int(Blue(want))) <= 4;
    };
    const auto click = [&](int32_t id) {
        Ctl3Base* tab = menu->FindCtl(id);
        ASSERT_NE(tab, nullptr);
        ClickAt((tab->rect.left + tab->rect.right) / 2.0f,
                (tab->rect.top + tab->rect.bottom) / 2.0f);
        // Off every tab, so that no hover frame shows.
        MouseMove(512.0f, 740.0f);
        Step(20);
    };
    Step(20);
    EXPECT_TRUE(pressed(EQUIP_UTILITY)) << "the catalogue opens on the utilities";
    EXPECT_FALSE(pressed(EQUIP_RIDES));
    click(EQUIP_RIDES);
    EXPECT_EQ(g_catalogueCategory, 2);
    EXPECT_TRUE(pressed(EQUIP_RIDES));
    EXPECT_FALSE(pressed(EQUIP_UTILITY)) << "two tabs look chosen";
    click(EQUIP_RIDES);
    EXPECT_EQ(g_catalogueCategory, 2);
    EXPECT_TRUE(pressed(EQUIP_RIDES)) << "a second click let the chosen tab go";
    click(EQUIP_FOOD);
    EXPECT_TRUE(pressed(EQUIP_FOOD));
    EXPECT_FALSE(pressed(EQUIP_RIDES));
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
    // A new row is reached within 0.3 s of frames.
    ASSERT_EQ(frameMs, 20);
    PostClick(EQUIP_SELECT + 1);
    Step(14);
    EXPECT_NEAR(menu->highlight->pos.y, MenuEquipResource::RowY(1), 4.0f);
    PostClick(EQUIP_SELECT + 2);

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
    EXPECT_NE(title.find("  -  $12.50/hr  deposit:$500"), std::string::npos)
        << "the cents of the hourly cost were dropped: " << title;
    lua_State* L = ScriptMgrGet()->L;
    EXPECT_EQ(lua_getglobal(L, "C_UNUSED"), LUA_TNIL) << "the highlight bar's id has no name";
    lua_pop(L, 1);
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
    // The lock and the rank stand in a column at the description's right end, clear of the
    // thumbnail (and the name painted on it) and of the description, wrapped short of them;
    // even a long rank stops at the row's right end.
    auto* text = static_cast<StaticTextBox*>(menu->FindCtl(EQUIP_TEXT + 1));
    Ctl3Base* lock = menu->FindCtl(EQUIP_LOCKED + 1);
    Ctl3Base* thumb = menu->FindCtl(EQUIP_THUMB + 1);
    EXPECT_GT(lock->rect.left, thumb->rect.right) << "the lock covers the thumbnail";
    EXPECT_GT(lock->rect.left, text->pos.x + text->width) << "the lock covers the description";
    EXPECT_GT(rank->pos.x, lock->rect.right);
    EXPECT_EQ(rank->pos.y, text->pos.y);
    const Ctl3TextPage& page = text->Shown();
    for (int i = 0; i < page.lineCount; ++i) {
        char16_t line[CTL3_PAGE_UNITS];
        Ctl3PageLine(page, i, line);
        EXPECT_LE(text->pos.x + FontTextWidth(text->font, line), lock->rect.left) << i;
    }
    rank->SetTextW(u"Grand Master of the Whole Midway and Beyond");
    std::vector<uint32_t> shots[2];
    for (int i = 0; i < 2; ++i) {
        Ctl3SetVisible(rank, i == 0);
        Step();
        shots[i] = ReadPixels();
    }
    int over = 0, own = 0;
    for (int y = int(rank->pos.y); y < int(rank->pos.y) + 20; ++y)
        for (int x = 0; x < 1024; ++x)
            if (PixelAt(shots[0], x, y) != PixelAt(shots[1], x, y))
                ++(x >= int(rank->pos.x) && x <= 840 ? own : over);
    EXPECT_GT(own, 20) << "the rank does not show";
    EXPECT_EQ(over, 0) << "the rank runs past the row's end or over the title";
    Ctl3SetVisible(rank, true);
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

TEST_F(EquipResourceTest, TypesThatCannotBeChosenKeepOkDisabled) {
    StartCatalogue();
    ASSERT_FALSE(HasFatalFailure());
    OnlyRides(3);
    AttrInfoList* list = Game()->attrList;
    list->Get(1)->footX = 0;
    list->Get(2)->footZ = -3;
    g_catalogueCategory = 2;
    MenuEquipResource* menu = Open();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(Live(menu, EQUIP_OK));
    for (int r : {1, 2}) {
        PostClick(EQUIP_SELECT + r);
        EXPECT_FALSE(Live(menu, EQUIP_OK)) << "a type of no cells can be chosen, row " << r;
    }
    hud->chosenType = nullptr;
    PostClick(EQUIP_OK);
    EXPECT_TRUE(EntIsLive(menu)) << "a disabled OK closed the catalogue";
    EXPECT_EQ(hud->chosenType, nullptr);
    PostClick(EQUIP_CANCEL);

    // No type at all: no rows, nothing to choose, and Cancel still leads back.
    savedCount = list->count;
    shrunk = true;
    list->count = 0;
    menu = Open();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->shownCount, 0);
    EXPECT_EQ(menu->FindCtl(EQUIP_THUMB), nullptr);
    EXPECT_FALSE(Live(menu, EQUIP_OK));
    EXPECT_FALSE(Live(menu, EQUIP_DOWN));
    PostClick(EQUIP_OK);
    PostClick(EQUIP_DOWN);
    EXPECT_TRUE(EntIsLive(menu));
    PostClick(EQUIP_CANCEL);
    EXPECT_FALSE(EntIsLive(menu));
    EXPECT_TRUE(hud->active);
}

TEST_F(EquipResourceTest, TypesPastTheCareersUnlockStringStayLocked) {
    StartCatalogue();
    ASSERT_FALSE(HasFatalFailure());
    MtGame* game = Game();
    AttrInfoList* shipped = game->attrList;
    // 130 rides, more than the career's string has characters for.
    AttrInfoList many;
    many.records = new AttrInfo[130];
    many.count = 130;
    for (int i = 0; i < many.count; ++i)
        many.records[i].attrType = 2;
    game->attrList = &many;
    game->mode = MTGAME_CAREER;
    std::memset(game->career.attrUnlock, '+', sizeof game->career.attrUnlock - 1);
    game->career.attrUnlock[sizeof game->career.attrUnlock - 1] = 0;
    const int unlocked = int(sizeof game->career.attrUnlock) - 1; // 128
    g_catalogueCategory = 2;
    MenuEquipResource* menu = Open();
    if (menu) {
        EXPECT_EQ(menu->shownCount, 130);
        // To the last three: rows show indices 127, 128 and 129.
        menu->top = unlocked - 2;
        menu->row = 2;
        PostClick(EQUIP_DOWN);
        EXPECT_EQ(menu->top, unlocked - 1);
        EXPECT_FALSE(menu->FindCtl(EQUIP_LOCKED)->visible) << "type " << unlocked - 1;
        EXPECT_TRUE(menu->FindCtl(EQUIP_LOCKED + 1)->visible) << "type " << unlocked;
        EXPECT_TRUE(menu->FindCtl(EQUIP_LOCKED + 2)->visible) << "type " << unlocked + 1;
        EXPECT_FALSE(Live(menu, EQUIP_OK));
        PostClick(EQUIP_SELECT);
        EXPECT_TRUE(Live(menu, EQUIP_OK));
        PostClick(EQUIP_CANCEL);
    }
    game->attrList = shipped;
    ASSERT_NE(menu, nullptr);
}

// The catalogue on the bare interface harness, whose game object is no "MtGame".
class EquipResourceAloneTest : public UiTest {};

TEST_F(EquipResourceAloneTest, WithoutAGameObjectNothingCanBeChosen) {
    keepLog = true;
    StartUi();
    ASSERT_FALSE(HasFatalFailure());
    AttrInfo* chosen = nullptr;
    int32_t index = 5;
    auto* made = dynamic_cast<MenuEquipResource*>(
        MenuEquipResourceOpen(app.GetMenus(), menu, &chosen, &index));
    ASSERT_NE(made, nullptr);
    Step();
    EXPECT_NE(LogText().find("MenuEquipResource: no game object"), std::string::npos);
    EXPECT_EQ(made->shownCount, 0);
    EXPECT_EQ(made->FindCtl(EQUIP_THUMB), nullptr);
    Ctl3Base* ok = made->FindCtl(EQUIP_OK);
    ASSERT_NE(ok, nullptr);
    EXPECT_FALSE(ok->enabled);
    for (int32_t id : {EQUIP_OK, EQUIP_DOWN, EQUIP_RIDES, EQUIP_SELECT}) {
        SlPostEvent(CTL3_EVENT, id, CTL3_CLICK);
        Step();
    }
    EXPECT_TRUE(EntIsLive(made));
    EXPECT_EQ(index, 5);
    SlPostEvent(CTL3_EVENT, EQUIP_CANCEL, CTL3_CLICK);
    Step();
    EXPECT_FALSE(EntIsLive(made));
    EXPECT_EQ(chosen, nullptr);
    EXPECT_EQ(index, 5);
}

// ---- the shipped data ----

TEST(EquipResourceData, EveryTypeTheCarnivalNeedsIsInATabAndHasAFootprintAndAPicture) {
    const std::string data = FAIRLARK_BUILD_DATA_DIR;
    AttrInfoList* list = AttrInfoList::Load((data + "Data.ini").c_str());
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->Count(), 3);
    // Every need patrons have is served by a type that can be built, and so is the power.
    bool servedNeed[NEED_COUNT] = {};
    bool generator = false;
    for (int i = 0; i < list->Count(); ++i) {
        const AttrInfo* t = list->Get(i);
        if (t->attrType != 0 && t->attrType != 2 && t->attrType != 3 && t->attrType != 4) continue;
        for (int n = 0; n < NEED_COUNT; ++n)
            servedNeed[n] = servedNeed[n] || t->needs[n] > 0.0f;
        generator = generator || t->maxPowerGen > 0.0f;
    }
    for (int n = 0; n < NEED_COUNT; ++n)
        EXPECT_TRUE(servedNeed[n]) << "nothing to build serves need " << n;
    EXPECT_TRUE(generator) << "no generator can be built";
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
    // The pixel frames see the world and the menus, not the mouse cursor.
    auto* pointer = dynamic_cast<MouseCursor1*>(EntTreeFindType(app.GetRoot(), "MouseCursor1"));
    ASSERT_NE(pointer, nullptr);
    pointer->enabled = 0;
    Step(2);
    // The carnival before anything is placed, the world standing still for the frame.
    MtGamePause(game);
    Step(2);
    const std::vector<uint32_t> before = ReadPixels();
    game->RestoreClockSpeed();
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
    const float paused = game->gameTime;
    Step(3);
    EXPECT_EQ(game->gameTime, paused) << "the clock runs under the catalogue";
    centre(menu->FindCtl(EQUIP_RIDES), &x, &y);
    ClickAt(x, y);
    ASSERT_EQ(g_catalogueCategory, 2) << "the Rides strip was not clicked";
    AttrInfo* ride = menu->entries[1];
    centre(menu->FindCtl(EQUIP_SELECT + 1), &x, &y);
    ClickAt(x, y);
    EXPECT_EQ(menu->row, 1);

    // The catalogue's frame: the highlighted row's card in the rides' colour, and its title as
    // FontDraw draws that text. The bar pulses, so both frames start from the same phase.
    Step(20);
    menu->pulseTime = 0.0f;
    Step();
    const std::vector<uint32_t> shown = ReadPixels();
    const uint32_t card = PixelAt(shown, 230 - 64 + 8, int(MenuEquipResource::RowY(1)) - 48 + 8);
    const uint32_t rides = ArtCategoryFill(2);
    EXPECT_NEAR(Red(card), Red(rides), 4) << std::hex << card;
    EXPECT_NEAR(Green(card), Green(rides), 4) << std::hex << card;
    EXPECT_NEAR(Blue(card), Blue(rides), 4) << std::hex << card;
    auto* title = dynamic_cast<StaticText*>(menu->FindCtl(EQUIP_TITLE + 1));
    ASSERT_NE(title, nullptr);
    ASSERT_NE(title->font, nullptr);
    char16_t text[CTL3_LABEL_MAX + 1];
    WideFormat(text, CTL3_LABEL_MAX + 1, u"%s  -  $%.2f/hr  deposit:$%i", ride->name,
               double(ride->idleCost) * 0.01, ride->deposit / 100);
    auto* probe = static_cast<DrawProbe*>(EntCreateChild("DrawProbe", menu));
    ASSERT_NE(probe, nullptr);
    const VECTOR3 at = title->pos;
    const uint32_t colour = title->colour;
    probe->draw = [&] { DrawPlainText(title->font, at.x, at.y, text, colour); };
    title->visible = 0;
    menu->pulseTime = 0.0f;
    Step();
    const std::vector<uint32_t> reference = ReadPixels();
    int differ = 0, inked = 0;
    for (int py = int(at.y) - 4; py < int(at.y) + 30; ++py)
        for (int px = 300; px < 860; ++px) {
            differ += PixelAt(shown, px, py) != PixelAt(reference, px, py);
            inked += Red(PixelAt(shown, px, py)) > 200 && Green(PixelAt(shown, px, py)) > 200;
        }
    EXPECT_EQ(differ, 0) << "the title is not \"" << Narrow(text) << "\"";
    EXPECT_GT(inked, 50) << "no title was drawn";
    title->visible = 1;
    EntDestroyTree(probe);

    centre(menu->FindCtl(EQUIP_OK), &x, &y);
    ClickAt(x, y);
    ASSERT_FALSE(EntIsLive(menu)) << "OK did not close the catalogue";
    ASSERT_EQ(hud->chosenType, ride);
    EXPECT_EQ(hud->chosenIndex, game->attrList->IndexOf(ride));
    EXPECT_TRUE(hud->active);
    Step();
    EXPECT_TRUE(hud->hint->visible) << "the placing hint is not shown";
    Key(SDL_SCANCODE_SPACE, true);
    Key(SDL_SCANCODE_SPACE, false);
    Step();
    ASSERT_EQ(hud->rotation, 1);

    // Free ground about 20 units in front of the camera, big enough for the turned ride and its
    // ring, found by reading the grid; then the pointer goes there.
    GameGridCore* grid = GameGridFrom(hud->grid.Get());
    ASSERT_NE(grid, nullptr);
    VECTOR3 o, d;
    ASSERT_TRUE(PickRay(0.0f, 0.0f, &o, &d));
    const float flat = std::sqrt(d.x * d.x + d.z * d.z);
    ASSERT_GT(flat, 0.01f);
    int fx = 0, fz = 0;
    GameGridWorldToCell(grid, o.x + 20.0f * d.x / flat, o.z + 20.0f * d.z / flat, &fx, &fz);
    const int w = ride->footZ + 2, h = ride->footX + 2; // turned once
    auto freeAt = [&](int cx, int cz) {
        if (cx < 0 || cz < 0 || cx + w > grid->cols || cz + h > grid->rows) return false;
        for (int z = cz; z < cz + h; ++z)
            for (int x = cx; x < cx + w; ++x)
                if (GameGridCellBlocked(grid, x, z)) return false;
        return true;
    };
    int cx = -1, cz = -1;
    float sx = 0, sy = 0;
    for (int r = 0; r < 12 && cx < 0; ++r)
        for (int dz = -r; dz <= r && cx < 0; ++dz)
            for (int dx = -r; dx <= r && cx < 0; ++dx) {
                // The pointer goes to the middle of the ride's cells, on the ground: the
                // footprint and its ring are laid round the point the pointer meets.
                float wx, wz;
                GameGridCellToWorld(grid, fx + dx + 1, fz + dz + 1, &wx, &wz);
                VECTOR3 middle = {wx + grid->tileWidth * float(w - 2) / 2, grid->originY,
                                  wz + grid->tileHeight * float(h - 2) / 2};
                middle.y = GameEntGroundHeight(hud->grid.Get(), &middle);
                if (freeAt(fx + dx, fz + dz) && ScreenOf(middle, &sx, &sy) && sx > 40 && sx < 980 &&
                    sy > 200 && sy < 720) {
                    cx = fx + dx;
                    cz = fz + dz;
                }
            }
    ASSERT_GE(cx, 0) << "no free ground near cell " << fx << ", " << fz;
    MouseMove(sx, sy);
    Step();
    ASSERT_EQ(hud->cursorCellX, cx);
    ASSERT_EQ(hud->cursorCellZ, cz);
    ASSERT_TRUE(GameGridRectFree(grid));

    char lastName[33];
    EntMakeAutoName(lastName);
    const int32_t cash = game->cash;
    ClickAt(sx, sy);
    EXPECT_EQ(hud->chosenType, nullptr) << "the click placed nothing";
    const std::string name = "ENT~" + std::to_string(std::atoi(lastName + 4) + 1);
    auto* placed = dynamic_cast<AttrBase*>(EntTreeFindName(hud->first.Get(), name.c_str()));
    ASSERT_NE(placed, nullptr) << name << " is not under \"First\"";
    EXPECT_EQ(EntGetParent(placed), hud->first.Get());
    EXPECT_EQ(placed->info, ride);
    EXPECT_EQ(game->cash, cash - ride->deposit);
    for (int z = cz + 1; z <= cz + ride->footX; ++z)
        for (int x = cx + 1; x <= cx + ride->footZ; ++x)
            EXPECT_TRUE(GameGridCellBlocked(grid, x, z)) << "cell " << x << ", " << z;

    // The ride shows where nothing stood before.
    MtGamePause(game);
    MouseMove(512, 600);
    Step(2);
    const std::vector<uint32_t> after = ReadPixels();
    const VECTOR3 middle = {(placed->worldBox[0] + placed->worldBox[3]) / 2.0f,
                            (placed->worldBox[1] + placed->worldBox[4]) / 2.0f,
                            (placed->worldBox[2] + placed->worldBox[5]) / 2.0f};
    ASSERT_TRUE(ScreenOf(middle, &sx, &sy));
    int changed = 0;
    for (int py = int(sy) - 60; py < int(sy) + 60; ++py)
        for (int px = int(sx) - 60; px < int(sx) + 60; ++px)
            changed += PixelDiff(PixelAt(before, px, py), PixelAt(after, px, py)) >= 30;
    EXPECT_GT(changed, 500) << "the ride does not show at " << sx << ", " << sy;

    // The saved game holds it.
    const std::string folder = MtGameSaveFolder();
    mkdir(folder.c_str(), 0755);
    ASSERT_TRUE(MtGameSaveSandbox(game, "CataloguePlaced"));
    const std::string saved = ReadTextFile(folder + "CataloguePlaced.sbx");
    const size_t section = saved.find("[" + name + "]");
    ASSERT_NE(section, std::string::npos) << "the saved game has no section for " << name;
    const std::string body = saved.substr(section, saved.find("\n[", section + 1) - section);
    EXPECT_NE(body.find("class=AttrBase"), std::string::npos) << body;
    EXPECT_NE(body.find("parent=First"), std::string::npos) << body;
}
