// The HUD's buttons, keys and game events, driven as the player and the game drive them.
#include "tests/ui/Menus/HudFixture.h"

#include "engine/FrameClock.h"
#include "engine/WorldClass.h"
#include "game/Ents/GameGrid.h"
#include "game/Ents/IconFlyup.h"
#include "game/Ents/Rube1.h"
#include "ui/GraphicButton.h"
#include "world/CameraCurrent.h"
#include "world/EntViewport.h"

namespace {
// The centre of a control's rectangle.
void Centre(Ctl3Base* c, float* x, float* y) {
    *x = (c->rect.left + c->rect.right) / 2.0f;
    *y = (c->rect.top + c->rect.bottom) / 2.0f;
}
} // namespace

TEST_F(HudTest, TheSpeedBoxesSetTheClockAsOneRadioGroup) {
    StartHud();
    const int32_t expected[] = {512, 1024, 2048, 8192};
    for (int32_t id : {7, 4, 6, 5}) {
        float x, y;
        Centre(hud->FindCtl(id), &x, &y);
        ClickAt(x, y);
        EXPECT_EQ(app.clock->scale, expected[id - 4]) << "speed box " << id;
        for (int32_t other = 4; other <= 7; ++other)
            EXPECT_EQ(hud->GetCtlChecked(other), other == id ? 1 : 0)
                << "box " << other << " after clicking " << id;
    }
}

TEST_F(HudTest, StartOpensTheDayOnceAndTheGameChargesItsCosts) {
    StartHud();
    MtGame* game = Game();
    ASSERT_EQ(game->dayOver, 1);
    const int32_t before = game->cash;
    // Two clicks in one frame: the second finds the button disabled.
    SlPostEvent(CTL3_EVENT, HUD_START, CTL3_CLICK);
    SlPostEvent(CTL3_EVENT, HUD_START, CTL3_CLICK);
    Step();
    EXPECT_FALSE(hud->startButton->visible);
    EXPECT_FALSE(hud->startButton->enabled);
    EXPECT_EQ(game->dayOver, 0) << "the day did not open";
    EXPECT_EQ(game->chargeCostsPending, 0) << "the game did not charge the day's costs";
    EXPECT_LT(game->cash, before) << "the venue's rent was not taken";
    Step(5);
    EXPECT_FALSE(hud->startButton->visible) << "a disabled Start no longer blinks";

    // The real click: at (60, 310), even while the button is blinked out.
    hud->startButton->enabled = 1;
    hud->startButton->visible = 0;
    game->dayOver = 1;
    ClickAt(60, 310);
    EXPECT_EQ(game->dayOver, 0);
    EXPECT_FALSE(hud->startButton->enabled);
}

TEST_F(HudTest, TheGridAndDebugRowSwitchTheirFlags) {
    StartHud();
    auto* grid = static_cast<GameGrid*>(hud->grid.Get());
    ASSERT_NE(grid, nullptr);
    float x, y;
    Centre(hud->FindCtl(HUD_SHOW_GRID), &x, &y);
    ClickAt(x, y);
    EXPECT_EQ(grid->showAll, 1) << "Show Grid did not reach the grid";
    ClickAt(x, y);
    EXPECT_EQ(grid->showAll, 0);

    // Ctrl+C shows the debug row, visible and enabled together, and hides it again.
    Key(SDL_SCANCODE_LCTRL, true);
    Step();
    Tap(SDL_SCANCODE_C);
    Key(SDL_SCANCODE_LCTRL, false);
    Step();
    ASSERT_TRUE(hud->debugRowShown);
    for (int32_t id = HUD_DRAW_PATHS; id <= HUD_END_DAY; ++id) {
        EXPECT_TRUE(hud->FindCtl(id)->visible) << id;
        EXPECT_TRUE(hud->FindCtl(id)->enabled) << id;
    }
    Tap(SDL_SCANCODE_C);
    EXPECT_TRUE(hud->debugRowShown) << "C without Control changed the row";
    // A slow frame takes the whole chord at once, Control's release with it.
    Key(SDL_SCANCODE_LCTRL, true);
    Key(SDL_SCANCODE_C, true);
    Key(SDL_SCANCODE_LCTRL, false);
    Key(SDL_SCANCODE_C, false);
    Step();
    EXPECT_FALSE(hud->debugRowShown) << "Ctrl+C within one frame was not seen";
    Key(SDL_SCANCODE_LCTRL, true);
    Key(SDL_SCANCODE_C, true);
    Key(SDL_SCANCODE_LCTRL, false);
    Step();
    Key(SDL_SCANCODE_C, false);
    Step();
    ASSERT_TRUE(hud->debugRowShown);

    Centre(hud->FindCtl(HUD_DRAW_PATHS), &x, &y);
    ClickAt(x, y);
    EXPECT_EQ(g_rubeDrawPaths, 1);
    ClickAt(x, y);
    EXPECT_EQ(g_rubeDrawPaths, 0);

    ASSERT_TRUE(WorldClassFlags<Rube1>::word & ENT_CLASS_DRAW);
    PostClick(HUD_DRAW_RUBES);
    EXPECT_FALSE(WorldClassFlags<Rube1>::word & ENT_CLASS_DRAW) << "the patrons still draw";
    PostClick(HUD_DRAW_RUBES);
    EXPECT_TRUE(WorldClassFlags<Rube1>::word & ENT_CLASS_DRAW);
    ASSERT_TRUE(WorldClassFlags<IconFlyup>::word & 0x2u);
    PostClick(HUD_DRAW_FLYUPS);
    EXPECT_FALSE(WorldClassFlags<IconFlyup>::word & 0x2u);

    // viewNormal gives the world's viewport back to the management camera.
    ENTBASE* camera2 = EntTreeFindName(app.GetRoot(), "Camera2");
    ASSERT_NE(camera2, nullptr);
    EntViewport* worldView = nullptr;
    ENTBASE* views[16] = {};
    const int n = EntFindAllOfType(app.GetRoot(), "Viewport", views, 16);
    for (int i = 0; i < n; ++i)
        if (auto* v = dynamic_cast<EntViewport*>(views[i]); v && v->drawRoot == app.world.Get())
            worldView = v;
    ASSERT_NE(worldView, nullptr);
    ENTBASE* other = EntTreeFindName(app.GetRoot(), "Observer");
    worldView->SetVoid("entCamera", reinterpret_cast<intptr_t>(other));
    CameraSetCurrent(other);
    PostClick(HUD_VIEW_NORMAL);
    EXPECT_EQ(worldView->camera, camera2);
    EXPECT_EQ(CameraGetCurrent(), camera2) << "the current camera stayed where it was";

    Ctl3Base* hidden = hud->FindCtl(HUD_DRAW_PATHS);
    Key(SDL_SCANCODE_LCTRL, true);
    Step();
    Tap(SDL_SCANCODE_C);
    Key(SDL_SCANCODE_LCTRL, false);
    Step();
    EXPECT_FALSE(hidden->visible);
    EXPECT_FALSE(hidden->enabled);
}

TEST_F(HudTest, EndDayAndTheEndOfDayEventHandOverToTheSummary) {
    StartHud();
    MtGame* game = Game();
    PostClick(HUD_START);
    PostClick(HUD_SPEED_8X);
    ASSERT_EQ(game->dayOver, 0);
    PostClick(HUD_END_DAY);
    Step();
    EXPECT_EQ(game->dayOver, 1) << "the day did not end at the closing hour";
    ASSERT_EQ(HudOpenCount("MenuEndOfDay"), 1);
    EXPECT_EQ(g_hudOpened.back().returnMenu, hud);
    EXPECT_FALSE(hud->active);
    EXPECT_TRUE(hud->startButton->enabled);
    EXPECT_EQ(hud->GetCtlChecked(HUD_SPEED_1X), 1);
    EXPECT_EQ(hud->GetCtlChecked(HUD_SPEED_8X), 0);

    // An inactive HUD hears no game events.
    app.GetRoot()->GameEventPre(GE_END_OF_DAY, 0);
    EXPECT_EQ(HudOpenCount("MenuEndOfDay"), 1);
    HudFindOpened(app.GetMenus(), "MenuEndOfDay")->Close();
    EXPECT_TRUE(hud->active) << "the summary hands back to the HUD";
}

TEST_F(HudTest, TheHourlyReportOpensOnlyWhileTheGameAsksForIt) {
    StartHud();
    MtGame* game = Game();
    game->showHourlyReport = 0;
    app.GetRoot()->GameEventPre(GE_HOURLY, 0);
    EXPECT_EQ(HudOpenCount("MenuReportHourly"), 0);
    EXPECT_TRUE(hud->active);
    game->showHourlyReport = 1;
    app.GetRoot()->GameEventPre(GE_HOURLY, 0);
    ASSERT_EQ(HudOpenCount("MenuReportHourly"), 1);
    EXPECT_EQ(g_hudOpened.back().returnMenu, hud);
    EXPECT_EQ(g_hudOpened.back().out[0], &hud->pending) << "the report may name an entity";
    EXPECT_FALSE(hud->active);
}

TEST_F(HudTest, EscapeEndsAPlacementFirstThenOpensThePauseMenu) {
    StartHud();
    MtGame* game = Game();
    hud->chosenType = game->attrList->Get(0);
    hud->chosenIndex = 0;
    Tap(SDL_SCANCODE_ESCAPE);
    Step();
    EXPECT_EQ(hud->chosenType, nullptr) << "Escape did not end the placement";
    EXPECT_EQ(hud->chosenIndex, -1);
    EXPECT_EQ(HudOpenCount("MenuInGame"), 0);
    EXPECT_TRUE(hud->active);
    Tap(SDL_SCANCODE_ESCAPE);
    Step();
    ASSERT_EQ(HudOpenCount("MenuInGame"), 1);
    EXPECT_EQ(g_hudOpened.back().returnMenu, hud);
    EXPECT_FALSE(hud->active);
    // While the pause menu is up the HUD swallows nothing and does nothing.
    Tap(SDL_SCANCODE_ESCAPE);
    Step();
    EXPECT_EQ(HudOpenCount("MenuInGame"), 1);
}

TEST_F(HudTest, TheButtonsOpenTheirScreensWithWhereToAnswer) {
    StartHud();
    MtGame* game = Game();
    struct Row {
        int32_t id;
        const char* cls;
        void* out0;
        void* out1;
    };
    const Row rows[] = {{HUD_EQUIPMENT, "MenuEquipResource", &hud->chosenType, &hud->chosenIndex},
                        {HUD_REPORTS, "MenuReports", &hud->pending, nullptr},
                        {HUD_HELP, "MenuHelp", nullptr, nullptr},
                        {HUD_MENU, "MenuInGame", nullptr, nullptr}};
    for (const Row& row : rows) {
        game->cash = 5000 + row.id;
        float x, y;
        Centre(hud->FindCtl(row.id), &x, &y);
        ClickAt(x, y);
        ASSERT_EQ(HudOpenCount(row.cls), 1) << row.cls;
        const HudOpened& opened = g_hudOpened.back();
        EXPECT_EQ(opened.returnMenu, hud) << row.cls;
        EXPECT_EQ(opened.out[0], row.out0) << row.cls;
        EXPECT_EQ(opened.out[1], row.out1) << row.cls;
        EXPECT_FALSE(hud->active) << row.cls;
        if (row.id == HUD_EQUIPMENT) {
            EXPECT_EQ(hud->shownCash, game->cash);
        }
        HudFindOpened(app.GetMenus(), row.cls)->Close();
        ASSERT_TRUE(hud->active) << row.cls << " did not hand back";
        Step();
    }

    // The catalogue's answer is written where it was told; the Space key turns the cursor.
    hud->rotation = 3;
    Tap(SDL_SCANCODE_SPACE);
    EXPECT_EQ(hud->rotation, 0) << "Space turns from 3 back to 0";
}

// Without the mouse: the first arrow key shows the focus on "Equipment", the arrows move it
// along the links, and Enter presses the button in focus.
TEST_F(HudTest, TheArrowKeysReachTheButtonsAndEnterPressesThem) {
    StartHud();
    EXPECT_EQ(Ctl3GetFocus(), nullptr) << "the HUD starts with nothing in focus";
    Tap(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(Ctl3GetFocus(), hud->FindCtl(HUD_EQUIPMENT));
    Tap(SDL_SCANCODE_DOWN);
    EXPECT_EQ(Ctl3GetFocus(), hud->FindCtl(HUD_START));
    Tap(SDL_SCANCODE_UP);
    EXPECT_EQ(Ctl3GetFocus(), hud->FindCtl(HUD_SHOW_GRID));
    Tap(SDL_SCANCODE_RIGHT);
    ASSERT_EQ(Ctl3GetFocus(), hud->FindCtl(HUD_EQUIPMENT));
    Tap(SDL_SCANCODE_RETURN);
    Step();
    EXPECT_EQ(HudOpenCount("MenuEquipResource"), 1) << "Enter did not press Equipment";
}
