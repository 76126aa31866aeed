// One frame of a screen on the road a player takes, in the game application on the headless
// device with the generated data: the application's Update and Render with that screen open
// (and, for the HUD and the end of day, the default venue's world behind it).
#include "bench/BenchGameFolders.h"
#include "bench/BenchVenueGame.h"
#include "engine/EntTree.h"
#include "engine/GameApp/GameApp.h"
#include "engine/Input/SlInput.h"
#include "game/GameVals.h"
#include "game/MtGame.h"
#include "game/VenueInfo.h"
#include "ui/Ctl3Base.h"
#include "ui/Menu3Base.h"
#include "ui/Menus/MenuGameRunning.h"
#include "ui/Menus/MenuGameRunningOpen.h"
#include "ui/Menus/MenuMain.h"
#include "ui/Menus/MenuMidwaySelector.h"
#include "ui/Menus/MenuVenueSetup.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

enum class Screen { MainMenu, MidwaySelector, VenueSetup, GameRunning, EndOfDay };

struct Session {
    explicit Session(const BenchGameFolders& folders) : host(true) {
        game.SetProgramFolder(folders.program.c_str());
        game.AppSetHost(&host);
        started = folders.ok && game.AppCreateMainWindow() == 0 && game.GetMenus() && Game();
    }
    ~Session() {
        if (game.hwnd) game.AppShutdown();
    }
    MtGame* Game() { return static_cast<MtGame*>(EntTreeFindType(game.GetRoot(), "MtGame")); }
    ENTBASE* Open(const char* className) {
        EntNode* node = EntTreeFindByClass(game.GetMenus()->node, className);
        return node ? node->object : nullptr;
    }
    void Frame() {
        game.Update();
        game.Render();
    }
    // Frames until a menu of the class is open; false after `limit` frames without one.
    bool FramesUntil(const char* className, int limit) {
        for (int i = 0; i < limit && !Open(className); ++i)
            Frame();
        return Open(className) != nullptr;
    }

    // The given screen open alone, as the road reaches it; false when it cannot be reached.
    bool Reach(Screen screen) {
        MtGame* mt = Game();
        // The splash chain that start-up opened goes: one screen at a time.
        EntDestroyChildren(game.GetMenus());
        if (!BenchPickDefaultVenue(mt)) return false;
        switch (screen) {
            case Screen::MainMenu: return MenuMainOpen(game.GetMenus()) != nullptr;
            case Screen::MidwaySelector:
                return MenuMidwaySelectorOpen(game.GetMenus(), "MenuMain") != nullptr;
            case Screen::VenueSetup: return MenuVenueSetupOpen(game.GetMenus()) != nullptr;
            default: break;
        }
        MtGameNewGame(mt);
        Frame();
        if (!MenuGameRunningOpen(game.GetMenus()) || !FramesUntil("MenuVenueIntro", 5))
            return false;
        // OK on the intro hands the screen back to the HUD.
        auto* intro = static_cast<Menu3Base*>(Open("MenuVenueIntro"));
        auto* hud = static_cast<Menu3Base*>(Open("MenuGameRunning"));
        Click(intro, 0);
        Frame();
        if (Open("MenuVenueIntro") || !hud->active) return false;
        if (screen == Screen::GameRunning) return true;
        // Start, then the debug row's end of the day: the clock at closing time.
        Click(hud, HUD_START);
        Frame();
        mt->gameTime = mt->gameVals.closingTime;
        return FramesUntil("MenuEndOfDay", 20);
    }
    static void Click(Menu3Base* menu, int32_t id) {
        const SlEvent click = {CTL3_EVENT, id, CTL3_CLICK, 0};
        menu->OnMessage(&click);
    }

    AppHost host;
    GameApp game;
    bool started = false;
};

void ScreenFrame(benchmark::State& state, Screen screen) {
    BenchGameFolders folders;
    Session session(folders);
    if (!session.started) return state.SkipWithError("the game did not start");
    if (!session.Reach(screen)) return state.SkipWithError("the screen was not reached");
    for (int i = 0; i < 3; ++i) // textures and glyphs in place
        session.Frame();
    for (auto _ : state)
        session.Frame();
    state.counters["menuEntities"] = double(EntTreeCount(session.game.GetMenus()));
    state.counters["worldEntities"] = double(EntTreeCount(session.game.GetWorld()));
    state.SetLabel("Update and Render, llvmpipe");
}

} // namespace

BENCHMARK_CAPTURE(ScreenFrame, MainMenu, Screen::MainMenu)
    ->Name("BM_ScreenFrame/MainMenu")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScreenFrame, MidwaySelector, Screen::MidwaySelector)
    ->Name("BM_ScreenFrame/MidwaySelector")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScreenFrame, MenuVenueSetup, Screen::VenueSetup)
    ->Name("BM_ScreenFrame/MenuVenueSetup")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScreenFrame, MenuGameRunning, Screen::GameRunning)
    ->Name("BM_ScreenFrame/MenuGameRunning")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScreenFrame, MenuEndOfDay, Screen::EndOfDay)
    ->Name("BM_ScreenFrame/MenuEndOfDay")
    ->Unit(benchmark::kMicrosecond);
