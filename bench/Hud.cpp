// Costs of the in-game HUD on the default venue in the game application (headless device):
// the per-frame hover pick over "World" with 500 patrons, 100 attractions and 1000 pieces of
// scenery, and the rest of the HUD's update; the placement's cursor per frame, the footprint test
// of a large type and the build catalogue's opening.
#include "bench/BenchGameFolders.h"
#include "bench/BenchVenueGame.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "engine/GameApp/GameApp.h"
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Ents/GameGrid.h"
#include "game/GameGridCore.h"
#include "game/MtGame.h"
#include "ui/Menu3Base.h"
#include "ui/Menus/HudPlacement.h"
#include "ui/Menus/MenuEquipResource.h"
#include "ui/Menus/MenuGameRunning.h"
#include "ui/Menus/MenuGameRunningOpen.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

struct HudSession {
    explicit HudSession(const BenchGameFolders& folders) : host(true) {
        game.SetProgramFolder(folders.program.c_str());
        game.AppSetHost(&host);
        if (!folders.ok || game.AppCreateMainWindow() != 0 || !game.GetWorld()) return;
        if (!BenchOpenDefaultVenue(game)) return;
        Populate();
        // No venue intro in this build of the benchmark: the HUD stays active by itself.
        hud = dynamic_cast<MenuGameRunning*>(MenuGameRunningOpen(game.GetMenus()));
        game.Update();
        game.Render();
        ok = hud != nullptr;
    }
    ~HudSession() {
        if (game.hwnd) game.AppShutdown();
    }

    // Boxes of about a person's, an attraction's and a bush's size over the middle of the grounds.
    void Populate() {
        ENTBASE* world = game.GetWorld();
        ENTBASE* gen = EntTreeFindType(world, "RubeGen");
        ENTBASE* first = EntTreeFindName(world, "First");
        CrtSrand(1234);
        auto scatter = [this](Ent3dBase* e, float half, float height) {
            ++made;
            const float x = 384.0f + float(RandInt(256)), z = 384.0f + float(RandInt(256));
            e->pos = {x, 0.0f, z};
            const float box[6] = {x - half, 0.0f, z - half, x + half, height, z + half};
            std::memcpy(e->worldBox, box, sizeof box);
        };
        for (int i = 0; i < 500 && gen; ++i)
            if (auto* p = dynamic_cast<Ent3dBase*>(EntCreateChild("Rube1", gen)))
                scatter(p, 0.4f, 1.8f);
        for (int i = 0; i < 100 && first; ++i)
            if (auto* a = dynamic_cast<Ent3dBase*>(EntCreateChild("AttrBase", first))) {
                a->SetType(i % 12);
                scatter(a, 3.0f, 6.0f);
            }
        for (int i = 0; i < 1000; ++i)
            if (auto* s = dynamic_cast<Ent3dBase*>(EntCreateChild("StaticObject", world)))
                scatter(s, 1.0f, 2.0f);
    }

    AppHost host;
    GameApp game;
    MenuGameRunning* hud = nullptr;
    bool ok = false;
    int made = 0; // of the 1600 entities asked for
};

} // namespace

static void BM_HudHoverPick(benchmark::State& state) {
    BenchGameFolders folders;
    HudSession session(folders);
    if (!session.ok) {
        state.SkipWithError("the HUD did not open on the venue");
        return;
    }
    int x = 0, hits = 0;
    for (auto _ : state) {
        // Across the middle of the screen, over the grounds.
        session.hud->mouseX = 256 + (x++ % 512);
        session.hud->mouseY = 420;
        hits += session.hud->PickAtMouse() != nullptr;
    }
    state.counters["made"] = session.made;
    state.counters["world"] = EntTreeCount(session.game.GetWorld());
    state.counters["hitShare"] = double(hits) / double(state.iterations());
}
BENCHMARK(BM_HudHoverPick)->Unit(benchmark::kMicrosecond);

static void BM_HudUpdate(benchmark::State& state) {
    BenchGameFolders folders;
    HudSession session(folders);
    if (!session.ok) {
        state.SkipWithError("the HUD did not open on the venue");
        return;
    }
    // The mouse off the screen: the pick gives up at once, the rest of the update runs.
    session.hud->mouseX = -1;
    session.hud->mouseY = -1;
    for (auto _ : state)
        session.hud->Update(0.02f);
    state.counters["linked"] = (session.hud->Game() != nullptr) +
                               (session.hud->rubeGen.Get() != nullptr) +
                               (session.hud->powerGrid.Get() != nullptr);
}
BENCHMARK(BM_HudUpdate)->Unit(benchmark::kMicrosecond);

static void BM_PlacementFrame(benchmark::State& state) {
    BenchGameFolders folders;
    HudSession session(folders);
    MtGame* mt = session.ok ? session.hud->Game() : nullptr;
    if (!mt || !mt->attrList || mt->attrList->Count() < 1) {
        state.SkipWithError("the HUD did not open on the venue");
        return;
    }
    MenuGameRunning* hud = session.hud;
    hud->chosenType = mt->attrList->Get(0);
    hud->chosenIndex = 0;
    HudRefreshCursor(hud);
    int x = 0;
    for (auto _ : state) {
        hud->mouseX = 256 + (x++ % 512);
        hud->mouseY = 420;
        HudUpdateCursorCell(hud);
        HudPositionCursor(hud);
    }
    state.counters["cellX"] = hud->cursorCellX;
}
BENCHMARK(BM_PlacementFrame)->Unit(benchmark::kMicrosecond);

static void BM_GridRectFree(benchmark::State& state, int side) {
    GameGridCore grid;
    if (!GameGridResize(&grid, 256, 256, 2.0f, 2.0f, "BM_GridRectFree")) {
        state.SkipWithError("no grid");
        return;
    }
    GameGridSetFootprint(&grid, side, side);
    int cx = 0, free = 0;
    for (auto _ : state) {
        GameGridSetCursor(&grid, cx, 100);
        cx = (cx + 1) % (256 - side);
        free += GameGridRectFree(&grid);
    }
    benchmark::DoNotOptimize(free);
    GameGridCoreFree(&grid);
}
BENCHMARK_CAPTURE(BM_GridRectFree, 12x12, 12)->Unit(benchmark::kNanosecond);

static void BM_CatalogueOpen(benchmark::State& state) {
    BenchGameFolders folders;
    HudSession session(folders);
    MtGame* mt = session.ok ? session.hud->Game() : nullptr;
    if (!mt || !mt->attrList) {
        state.SkipWithError("the HUD did not open on the venue");
        return;
    }
    MenuGameRunning* hud = session.hud;
    for (auto _ : state) {
        Menu3Base* menu = MenuEquipResourceOpen(session.game.GetMenus(), hud, &hud->chosenType,
                                                &hud->chosenIndex);
        state.PauseTiming();
        if (menu) EntDestroyTree(menu);
        state.ResumeTiming();
    }
    state.counters["types"] = mt->attrList->Count();
}
BENCHMARK(BM_CatalogueOpen)->Unit(benchmark::kMicrosecond);
