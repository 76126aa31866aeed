// Costs of the venue road's screens in the game application on the headless device with the
// generated data: one refresh of the venue selector's three rows (thumbnails held elsewhere, so
// the refill finds them loaded, or not), and the world loader from its creation to the in-game
// screen's creation on the default venue, with the venue script's own time beside it.
#include "I3d/Textures.h"
#include "bench/BenchGameFolders.h"
#include "bench/BenchVenueGame.h"
#include "engine/EntTree.h"
#include "engine/GameApp/GameApp.h"
#include "engine/Input/SlInput.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/Ctl3Base.h"
#include "ui/Menus/MenuMidwaySelector.h"
#include "ui/Menus/MenuWorldLoader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The in-game screen, when this build has none of its own: notes when it was made.
Clock::time_point s_hudMade;
bool s_hudSeen = false;
class HudMark : public Menu3Base {
  public:
    int Create(EntNode* node) override {
        Menu3Base::Create(node);
        s_hudMade = Clock::now();
        s_hudSeen = true;
        return 1;
    }
};
const WorldClassDef kHud = {"MenuGameRunning", nullptr, WorldMake<HudMark>, nullptr};
intptr_t HudProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kHud, node, message, a, b, c);
}

struct Session {
    explicit Session(const BenchGameFolders& folders) : host(true) {
        game.SetProgramFolder(folders.program.c_str());
        game.AppSetHost(&host);
        started = folders.ok && game.AppCreateMainWindow() == 0 && game.GetMenus();
        if (started && !EntClassFind("MenuGameRunning")) EntCreateClass(HudProc, 0, 0);
    }
    ~Session() {
        if (game.hwnd) game.AppShutdown();
    }
    MtGame* Game() { return static_cast<MtGame*>(EntTreeFindType(game.GetRoot(), "MtGame")); }
    void Frame() {
        game.Update();
        game.Render();
    }
    AppHost host;
    GameApp game;
    bool started = false;
};

void SelectorFill(benchmark::State& state, bool warm) {
    BenchGameFolders folders;
    Session session(folders);
    MtGame* mt = session.started ? session.Game() : nullptr;
    if (!mt || !mt->venueList || mt->venueList->Count() < 4) {
        state.SkipWithError("the game or its venues are missing");
        return;
    }
    mt->mode = MTGAME_SANDBOX;
    auto* sel = dynamic_cast<MenuMidwaySelector*>(
        MenuMidwaySelectorOpen(session.game.GetMenus(), "MenuMain"));
    if (!sel) {
        state.SkipWithError("no selector");
        return;
    }
    std::vector<int> held;
    if (warm)
        for (int i = 0; i < mt->venueList->Count(); ++i)
            held.push_back(Ctl3LoadTexture(mt->venueList->Get(i)->texFileName));
    // Alternating between the first and the second three venues: every refill changes every row.
    int32_t top = 0;
    for (auto _ : state) {
        top = 1 - top;
        sel->top = top;
        const SlEvent click = {CTL3_EVENT, MIDWAY_SELECT, CTL3_CLICK, 0};
        sel->OnMessage(&click);
    }
    for (int slot : held)
        if (slot >= 0) I3dTexRelease(slot);
    EntDestroyTree(sel);
}

} // namespace

static void BM_SelectorFill(benchmark::State& state) {
    SelectorFill(state, state.range(0) != 0);
}
BENCHMARK(BM_SelectorFill)->Arg(1)->Arg(0)->ArgName("warm")->Unit(benchmark::kMicrosecond);

static void BM_WorldLoad(benchmark::State& state) {
    BenchGameFolders folders;
    Session session(folders);
    MtGame* mt = session.started ? session.Game() : nullptr;
    if (!mt) {
        state.SkipWithError("the game did not start");
        return;
    }
    double scriptSeconds = 0.0;
    for (auto _ : state) {
        BenchPickDefaultVenue(mt);
        s_hudSeen = false;
        const Clock::time_point start = Clock::now();
        if (!MenuWorldLoaderOpen(session.game.GetMenus(), mt->scriptPath)) {
            state.SkipWithError("no world loader");
            return;
        }
        for (int i = 0; i < 10 && !s_hudSeen; ++i)
            session.Frame();
        if (!s_hudSeen) {
            state.SkipWithError("the loader never opened the in-game screen");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(s_hudMade - start).count());
        EntDestroyChildren(session.game.GetMenus());
        MtGameEndOfDay(mt);
        session.game.ClearScene();
        // The venue script alone, as the loader's third update runs it.
        const Clock::time_point scriptStart = Clock::now();
        MtGameNewGame(mt);
        scriptSeconds += std::chrono::duration<double>(Clock::now() - scriptStart).count();
        MtGameEndOfDay(mt);
        session.game.ClearScene();
    }
    state.counters["script_ms"] =
        benchmark::Counter(scriptSeconds * 1000.0 / double(state.iterations()));
}
BENCHMARK(BM_WorldLoad)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
