// Costs of the simulation on the headless day harness. The game object's per-frame work is
// constant; its start of day walks the whole tree twice (attraction resets, patron removal), so
// BM_StartDay/N starts a day over N stand-in attractions and N stand-in patrons and reports the
// time per entity ("time_per_entity"). BM_PowerGridUse/N is one run-state change on a full
// grid of N slots, totals recomputed.
//
// BM_AttrUpdate/N updates N attractions of the shipped types for one frame and reports the time
// per attraction; BM_AttrPatronRemoved/N destroys one patron while N attractions each hold a line
// of 8, so that its removal notice reaches them all, and reports the time per patron.
//
// BM_SaveSandbox/N writes a sandbox of N placed attractions; BM_LoadSandbox/N loads it into a
// world without them (the venue script a no-op). Both should grow linearly with N.
//
// BM_GameGridRoute/K routes on the grid with one attraction of every shipped type placed: K 0
// short routes (about 20 cells), K 1 long ones (cut at 128 points), K 2 to a walled-in free cell
// that floods the whole grid; "median_us" and "p99_us" per route. BM_GameGridRebuild/A/E
// rebuilds a grid under A attractions and E other solid entities.
//
// The ride animators are in RideAnimators.cpp, the patrons in Patrons.cpp and the whole days
// (BM_WholeDay, BM_WholeDaySim) in WholeDay.cpp.
#include "engine/EntIniLoader.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/WorldClass.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/AttrPatron.h"
#include "game/Ents/Litter.h"
#include "game/GameGridCore.h"
#include "game/MtGameLinks.h"
#include "game/MtGameSave.h"
#include "game/MtPowerGrid.h"
#include "game/WaypointPath.h"
#include "tests/game/Ents/GridPlacing.h"
#include "tests/game/FakeRide.h"
#include "tests/sim/DayHarness.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

void BM_StartDay(benchmark::State& state) {
    const int n = (int)state.range(0);
    DayHarness h;
    SimRegisterStandIns();
    for (int i = 0; i < n; ++i)
        MakeStandIn(h.first, "AttrBase");
    MakeStandIn(h.first, "RubeGen");
    MakeStandIn(h.world, "TimeOfDay");
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < n; ++i)
            MakeStandIn(h.first, "Rube1");
        state.ResumeTiming();
        MtGameStartDay(h.game);
    }
    state.counters["time_per_entity"] =
        benchmark::Counter((double)state.iterations() * 2.0 * n,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_StartDay)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

void BM_PowerGridUse(benchmark::State& state) {
    const int n = (int)state.range(0);
    RideTree tree;
    MtPowerGrid* grid = tree.MakeGrid();
    grid->numSlots = n;
    grid->Start();
    std::vector<std::unique_ptr<ENTBASE>> owners;
    for (int i = 0; i < n; ++i) {
        owners.push_back(std::make_unique<ENTBASE>());
        MtPowerGridUse(grid, owners.back().get(), i == 0 ? 500.0f : 0.0f, 1.0f);
    }
    int i = 0;
    for (auto _ : state) {
        // Idle to peak and back, as rides start and stop.
        MtPowerGridUse(grid, owners[(size_t)(i % n)].get(), 0.0f, (i & 1) ? 1.0f : 5.0f);
        ++i;
        benchmark::DoNotOptimize(grid->load);
    }
}
BENCHMARK(BM_PowerGridUse)->Arg(200);

// ---- attractions ----

// A patron that only announces its removal, as the real one will.
class BenchPatron : public ENTBASE, public AttrPatron {
  public:
    int Destroy() override {
        EntTreeNotifyRemoved(EntGetRoot(this), this);
        return ENTBASE::Destroy();
    }
    ENTBASE* PatronEntity() override { return this; }
    void PatronPlace(AttrBase*, int, const VECTOR3*) override {}
    void PatronSentAway(AttrBase*) override {}
    void PatronRideOver(AttrBase*) override {}
    void PatronSit(AttrBase*, int, const Mat4*) override {}
};
PropDb* BenchPatronDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "BenchPatron");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(BenchPatron, name), 32);
    }
    return &s_db;
}
const WorldClassDef kBenchPatron = {"BenchPatron", BenchPatronDb, WorldMake<BenchPatron>, nullptr};
intptr_t BenchPatronProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kBenchPatron, n, m, a, b, c);
}

// N attractions cycling through the shipped types (their lines at least 8 long) with a grid.
std::vector<AttrBase*> PlaceAttractions(DayHarness& h, int n) {
    EntCreateClass(EcMtPowerGridProc, 0, 0);
    if (EntCreateClass(EcAttrBaseProc, 0, 0) == 0) MtGameSetAttrLinks(AttrBaseLinks());
    EntCreateClass(BenchPatronProc, 0, 0);
    MtGameSetVenue(h.game, 0);
    EntCreateChild("MtPowerGrid", h.first)->Start();
    const int types = h.game->attrList->Count();
    for (int t = 0; t < types; ++t) {
        AttrInfo* info = h.game->attrList->Get(t);
        if (info->queueMax < 8) info->queueMax = 8;
    }
    std::vector<AttrBase*> attrs;
    for (int i = 0; i < n; ++i) {
        auto* attr = static_cast<AttrBase*>(EntCreateChild("AttrBase", h.first));
        attr->SetType(i % types);
        attr->agl = 0;
        attr->Start();
        attrs.push_back(attr);
    }
    return attrs;
}

void BM_AttrUpdate(benchmark::State& state) {
    const int n = (int)state.range(0);
    DayHarness h;
    std::vector<AttrBase*> attrs = PlaceAttractions(h, n);
    for (auto _ : state)
        for (AttrBase* attr : attrs)
            attr->Update(0.033f);
    state.counters["time_per_attraction"] = benchmark::Counter(
        (double)state.iterations() * n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AttrUpdate)->Arg(300)->Unit(benchmark::kMicrosecond);

void BM_AttrPatronRemoved(benchmark::State& state) {
    const int n = (int)state.range(0);
    DayHarness h;
    std::vector<AttrBase*> attrs = PlaceAttractions(h, n);
    auto join = [&](AttrBase* attr) {
        auto* p = static_cast<BenchPatron*>(EntCreateChild("BenchPatron", h.first));
        AttrBaseJoinQueue(attr, p);
        return p;
    };
    std::vector<BenchPatron*> firsts; // one patron of each line
    for (AttrBase* attr : attrs) {
        firsts.push_back(join(attr));
        for (int k = 1; k < 8; ++k)
            join(attr);
    }
    size_t next = 0;
    for (auto _ : state) {
        EntDestroyTree(firsts[next]);
        state.PauseTiming();
        // The line is one short: a newcomer at its back keeps it at 8.
        firsts[next] = join(attrs[next]);
        next = (next + 1) % attrs.size();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AttrPatronRemoved)->Arg(300)->Unit(benchmark::kMicrosecond);

// ---- save files ----

// N placed attractions, stamped and named as the placing screen does; no venue script.
void PlaceSaved(DayHarness& h, int n) {
    std::vector<AttrBase*> attrs = PlaceAttractions(h, n);
    for (size_t i = 0; i < attrs.size(); ++i) {
        VECTOR3 pos = {(float)(i % 40) * 10.0f, 0.0f, (float)(i / 40) * 10.0f};
        attrs[i]->SetPos(&pos);
        attrs[i]->ticketPrice = 50;
        EntSetSourceFile(attrs[i], ENT_SAVEGAME);
        char name[33];
        attrs[i]->SetName(EntMakeAutoName(name));
    }
    h.game->venue->scriptFile[0] = 0;
}

void BM_SaveSandbox(benchmark::State& state) {
    DayHarness h;
    PlaceSaved(h, (int)state.range(0));
    for (auto _ : state)
        if (!MtGameSaveSandbox(h.game, "Bench")) state.SkipWithError("the save failed");
}
BENCHMARK(BM_SaveSandbox)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_LoadSandbox(benchmark::State& state) {
    DayHarness h;
    PlaceSaved(h, (int)state.range(0));
    if (!MtGameSaveSandbox(h.game, "Bench")) state.SkipWithError("the save failed");
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<ENTBASE*> loaded((size_t)state.range(0) + 1);
        int n = EntFindAllOfType(h.root, "AttrBase", loaded.data(), (int)loaded.size());
        for (int i = 0; i < n; ++i)
            EntDestroyTree(loaded[(size_t)i]);
        h.Frame();
        state.ResumeTiming();
        MtGameLoadSandbox(h.game, "Bench");
    }
}
BENCHMARK(BM_LoadSandbox)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

// ---- the placement grid ----

GameGrid* MakePlacedGrid(DayHarness& h) {
    EntCreateClass(EcMtPowerGridProc, 0, 0);
    if (EntCreateClass(EcAttrBaseProc, 0, 0) == 0) MtGameSetAttrLinks(AttrBaseLinks());
    EntCreateClass(EcGameGridProc, 0, 0);
    EntCreateClass(EcLitterProc, 0, 0);
    MtGameSetVenue(h.game, 0);
    auto* grid = static_cast<GameGrid*>(EntCreateChild("GameGrid", h.world));
    grid->pos = VECTOR3{384.0f, 0.0f, 384.0f};
    grid->Start();
    AttrPlaceEveryType(grid, h.first, h.game);
    return grid;
}

VECTOR3 CellCentre(const GameGrid* g, int x, int z) {
    float wx, wz;
    GameGridCellToWorld(g, x, z, &wx, &wz);
    return VECTOR3{wx + g->tileWidth * 0.5f, 0.0f, wz + g->tileHeight * 0.5f};
}

void BM_GameGridRoute(benchmark::State& state) {
    DayHarness h;
    GameGrid* grid = MakePlacedGrid(h);
    // A free cell near the far corner walled in all round.
    GameGridMarkRect(grid, 119, 121, 119, 121, -1.0f);
    GameGridMarkRect(grid, 120, 120, 120, 120, 1.0f);
    std::vector<std::pair<VECTOR3, VECTOR3>> pairs;
    CrtSrand(5);
    while (pairs.size() < 64) {
        const int x = RandInt(100), z = 60 + RandInt(40);
        if (GameGridCellBlocked(grid, x, z) || GameGridCellBlocked(grid, x + 20, z)) continue;
        switch (state.range(0)) {
            case 0: pairs.push_back({CellCentre(grid, x, z), CellCentre(grid, x + 20, z)}); break;
            case 1: pairs.push_back({CellCentre(grid, x, z), CellCentre(grid, 127, 127)}); break;
            default: pairs.push_back({CellCentre(grid, x, z), CellCentre(grid, 120, 120)}); break;
        }
    }
    WaypointPath* route = WaypointPathCreate(kGridPathPoints);
    std::vector<double> us;
    size_t i = 0;
    for (auto _ : state) {
        const auto& p = pairs[i++ % pairs.size()];
        const auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(GameGridRoute(grid, route, &p.first, &p.second));
        us.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    WaypointPathDestroy(route);
    std::sort(us.begin(), us.end());
    state.counters["median_us"] = us[us.size() / 2];
    state.counters["p99_us"] = us[std::min(us.size() - 1, us.size() * 99 / 100)];
}
BENCHMARK(BM_GameGridRoute)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_GameGridRebuild(benchmark::State& state) {
    DayHarness h;
    GameGrid* grid = MakePlacedGrid(h);
    const int types = h.game->attrList->Count();
    CrtSrand(9);
    // Attractions anywhere on the grid (overlaps do not matter to the cost) and solid boxes.
    for (int i = 0; i < state.range(0); ++i) {
        auto* attr = static_cast<AttrBase*>(EntCreateChild("AttrBase", h.first));
        attr->SetType(i % types);
        attr->agl = 0;
        attr->pos = VECTOR3{384.0f + RandFloat(256.0f), 0.0f, 384.0f + RandFloat(256.0f)};
        attr->yaw = QuarterTurnYaw(i % 4);
        attr->Start();
    }
    for (int i = 0; i < state.range(1); ++i) {
        auto* e = static_cast<Litter*>(EntCreateChild("Litter", h.first));
        e->flags &= ~(uint32_t)ENT_FLAG_PASSABLE;
        const float x = 384.0f + RandFloat(256.0f), z = 384.0f + RandFloat(256.0f);
        const float box[6] = {x, 0.0f, z, x + 1.5f, 1.0f, z + 1.5f};
        std::copy(box, box + 6, e->worldBox);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(GameGridRebuild(grid));
}
BENCHMARK(BM_GameGridRebuild)->Args({300, 2000})->Unit(benchmark::kMillisecond);

} // namespace
