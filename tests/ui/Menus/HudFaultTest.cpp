// The HUD when the world changes under it and when a screen it opens cannot be made.
#include "tests/ui/Menus/HudFixture.h"

#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Rube1.h"
#include "game/Ents/RubeGen.h"
#include "ui/Ctl3StatBar3Color.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/MenuGameRunningOpen.h"
#include "ui/StaticText.h"

#include <limits>
#include <string>

// A script or the editor may destroy any world entity while the HUD lives; the HUD's links
// must not reach freed memory (the address sanitizer watches).
TEST_F(HudTest, WorldEntitiesDestroyedDuringPlayAreForgotten) {
    StartHud();
    PostClick(HUD_START);
    Step(3);

    ENTBASE* power = hud->powerGrid.Get();
    ASSERT_NE(power, nullptr);
    EntDestroyTree(power);
    EXPECT_EQ(hud->powerGrid.Get(), nullptr);
    hud->powerBar->style.value = 0.25f;
    Step(3);
    EXPECT_EQ(hud->powerBar->style.value, 0.25f) << "the bar still follows a grid that is gone";

    // A patron selected, then gone.
    auto* gen = dynamic_cast<RubeGen*>(hud->rubeGen.Get());
    ASSERT_NE(gen, nullptr);
    auto* patron = dynamic_cast<Rube1*>(EntCreateChild("Rube1", gen));
    ASSERT_NE(patron, nullptr);
    patron->Start();
    ASSERT_TRUE(HudSelect(hud, patron));
    EntDestroyTree(patron);
    EXPECT_EQ(hud->selected.Get(), nullptr);
    for (int kind = 0; kind < 3; ++kind)
        EXPECT_FALSE(hud->Inspector(kind)->shown)
            << "inspector " << kind << " was not closed when the patron left";
    Step(2);

    // A patron a report named, gone before the HUD comes back.
    PostClick(HUD_REPORTS);
    ASSERT_EQ(HudOpenCount("MenuReports"), 1);
    auto** out = static_cast<ENTBASE**>(g_hudOpened.back().out[0]);
    ASSERT_EQ(out, &hud->pending);
    auto* leaving = EntCreateChild("Rube1", gen);
    ASSERT_NE(leaving, nullptr);
    *out = leaving;
    EntDestroyTree(leaving);
    EXPECT_EQ(hud->pending, nullptr) << "the named patron's removal was not heard";
    HudFindOpened(app.GetMenus(), "MenuReports")->Close();
    EXPECT_TRUE(hud->active);
    EXPECT_EQ(hud->selected.Get(), nullptr);

    // One still there is selected when the HUD comes back.
    PostClick(HUD_REPORTS);
    auto* staying = dynamic_cast<Rube1*>(EntCreateChild("Rube1", gen));
    ASSERT_NE(staying, nullptr);
    *static_cast<ENTBASE**>(g_hudOpened.back().out[0]) = staying;
    HudFindOpened(app.GetMenus(), "MenuReports")->Close();
    EXPECT_EQ(hud->selected.Get(), staying);
    EXPECT_EQ(hud->pending, nullptr);

    // The generator goes with its people: the count stops, nothing is read from it.
    const std::string count = Narrow(hud->patronText->label);
    EntDestroyTree(gen);
    EXPECT_EQ(hud->rubeGen.Get(), nullptr);
    EXPECT_EQ(hud->selected.Get(), nullptr);
    Step(3);
    EXPECT_EQ(Narrow(hud->patronText->label), count);

    // The hovered entity destroyed between frames.
    AttrBase* stand = PlaceUnder(0, 512, 500);
    ASSERT_NE(stand, nullptr);
    hud->hovered = EntRef(stand);
    EntDestroyTree(stand);
    EXPECT_EQ(hud->hovered.Get(), nullptr);
    Step(2);
}

// Every opener of the HUD, with its screen's class refusing to be made: each logs, and the HUD
// takes input again so that the day can go on.
TEST_F(HudTest, AScreenThatCannotOpenLeavesTheHudActive) {
    keepLog = true;
    StartHud();
    MtGame* game = Game();
    g_hudRefuseOpen = true;
    struct Opener {
        const char* cls;
        std::function<void()> open;
    };
    const Opener openers[] = {
        {"MenuEquipResource", [&] { PostClick(HUD_EQUIPMENT); }},
        {"MenuInGame", [&] { PostClick(HUD_MENU); }},
        {"MenuReports", [&] { PostClick(HUD_REPORTS); }},
        {"MenuHelp", [&] { PostClick(HUD_HELP); }},
        {"MenuEndOfDay", [&] { app.GetRoot()->GameEventPre(GE_END_OF_DAY, 0); }},
        {"MenuReportHourly",
         [&] {
             game->showHourlyReport = 1;
             app.GetRoot()->GameEventPre(GE_HOURLY, 0);
         }},
        {"MenuVenueIntro",
         [&] {
             EntDestroyTree(hud);
             hud = dynamic_cast<MenuGameRunning*>(MenuGameRunningOpen(app.GetMenus()));
         }},
    };
    for (const Opener& o : openers) {
        const int opened = HudOpenCount(o.cls);
        o.open();
        ASSERT_NE(hud, nullptr);
        EXPECT_TRUE(hud->active) << "the HUD stayed inactive after " << o.cls << " failed";
        EXPECT_EQ(HudOpenCount(o.cls), opened);
        EXPECT_NE(LogText().find(std::string("MenuGameRunning: cannot open ") + o.cls + "\n"),
                  std::string::npos)
            << o.cls;
        // Still clickable.
        PostClick(HUD_SPEED_2X);
        EXPECT_EQ(app.clock->scale, 2048) << "after " << o.cls;
        PostClick(HUD_SPEED_1X);
    }
}

// No world at all (the game object a stand-in of another type, no venue): every step that needs
// the world is skipped.
TEST_F(HudTest, WithoutAWorldTheHudStillRunsAndTakesInput) {
    registerFirst = [] { HudRegisterDoubles(); };
    StartUi();
    g_hudAutoClose.insert("MenuVenueIntro");
    hud = dynamic_cast<MenuGameRunning*>(MenuGameRunningOpen(app.GetMenus()));
    ASSERT_NE(hud, nullptr);
    Step(3);
    EXPECT_TRUE(hud->active);
    EXPECT_EQ(hud->Game(), nullptr);
    EXPECT_EQ(hud->shownCash, 0);
    for (int32_t id :
         {HUD_START, HUD_SPEED_8X, HUD_SHOW_GRID, HUD_DRAW_PATHS, HUD_VIEW_NORMAL, HUD_END_DAY})
        PostClick(id);
    ClickAt(512, 500);
    EXPECT_EQ(hud->selected.Get(), nullptr);
    app.GetRoot()->GameEventPre(GE_HOURLY, 0);
    EXPECT_TRUE(hud->active) << "no game, no hourly flag: nothing to open";
    g_rubeDrawPaths = 0;
}

// A pointer that is no number, or off the screen, picks nothing.
TEST_F(HudTest, APointerOffTheScreenHoversOverNothing) {
    StartHud();
    AttrBase* stand = PlaceUnder(0, 512, 470);
    ASSERT_NE(stand, nullptr);
    Step();
    hud->hovered = EntRef(stand);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    SlPostEvent(SL_MOUSEPOS, SlPackFloat(nan), SlPackFloat(nan));
    Step();
    EXPECT_EQ(hud->hovered.Get(), nullptr);
    EXPECT_EQ(hud->PickAtMouse(), nullptr);
    SlPostEvent(SL_MOUSEPOS, SlPackFloat(5000.0f), SlPackFloat(-20.0f));
    Step();
    EXPECT_EQ(hud->PickAtMouse(), nullptr);
    EXPECT_EQ(hud->hovered.Get(), nullptr);
}
