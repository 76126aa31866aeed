// Costs of the simulation on the headless day harness. The game object's per-frame work is
// constant; its start of day walks the whole tree twice (attraction resets, patron removal), so
// BM_StartDay/N starts a day over N stand-in attractions and N stand-in patrons and reports the
// time per entity ("time_per_entity"). BM_PowerGridUse/N is one run-state change on a full
// grid of N slots, totals recomputed; BM_RideAnimTick/N ticks N ride animators cycling through
// their run states one frame and reports the time per animator ("time_per_animator").
//
// BM_AttrUpdate/N updates N attractions of the shipped types for one frame and reports the time
// per attraction; BM_AttrPatronRemoved/N destroys one patron while N attractions each hold a line
// of 8, so that its removal notice reaches them all, and reports the time per patron.
//
// BM_SaveSandbox/N writes a sandbox of N placed attractions; BM_LoadSandbox/N loads it into a
// world without them (the venue script a no-op). Both should grow linearly with N.
//
// BM_AnimatorTick/62 ticks one animator of every shipped type one frame in its running state
// ("time_per_animator"); BM_AnimatorDraw/62 draws the same animators' generated models on the
// recording device, overrides set and cleared around each draw ("time_per_override").
//
// BM_GameGridRoute/K routes on the grid with one attraction of every shipped type placed: K 0
// short routes (about 20 cells), K 1 long ones (cut at 128 points), K 2 to a walled-in free cell
// that floods the whole grid; "median_us" and "p99_us" per route. BM_GameGridRebuild/A/E
// rebuilds a grid under A attractions and E other solid entities.
//
// BM_PatronChoose/A/E: one patron's choice of an attraction for a need (up to three routes)
// among A placed attractions and E entities in all, from the attraction registry;
// BM_PatronChooseTreeWalk/A/E: the same choice over a walk of the whole tree.
#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "I3d/I3d.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Textures.h"
#include "bench/BenchKernel.h"
#include "engine/EntIniLoader.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/WorldClass.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/AttrPatron.h"
#include "game/Ents/AttrRegistry.h"
#include "game/Ents/Litter.h"
#include "game/Ents/RideAnimNodes.h"
#include "game/Ents/RideAnimSpin.h"
#include "game/Ents/RideAnimStand.h"
#include "game/Ents/RubeVisit.h"
#include "game/GameGridCore.h"
#include "game/MtGameSave.h"
#include "game/MtPowerGrid.h"
#include "game/RideAnimCore.h"
#include "game/RubeRules.h"
#include "game/WaypointPath.h"
#include "gi/giModelDefManager.h"
#include "platform/d3d8/D3d8.h"
#include "platform/d3d8/Recording.h"
#include "tests/game/Ents/GridPlacing.h"
#include "tests/game/Ents/PatronWorld.h"
#include "tests/game/Ents/WholeDay.h"
#include "tests/game/FakeRide.h"
#include "tests/sim/DayHarness.h"

#include <algorithm>
#include <chrono>
#include <ctime>
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

void BM_RideAnimTick(benchmark::State& state) {
    const int n = (int)state.range(0);
    CrtSrand(1);
    RideTree tree;
    MtPowerGrid* grid = tree.MakeGrid();
    grid->numSlots = n + 1;
    grid->Start();
    MtPowerGridUse(grid, tree.root, 1000.0f, 0.0f);
    AttrInfo info;
    info.conAtIdlePower = 1.0f;
    info.conAtPeakPower = 4.0f;
    info.duration = 0.5f;
    std::vector<std::unique_ptr<RideAnimCore>> anims;
    for (int i = 0; i < n; ++i) {
        anims.push_back(std::make_unique<RideAnimCore>());
        anims.back()->Init(&info, "", tree.MakeRide(grid));
    }
    for (auto _ : state) {
        for (auto& a : anims) {
            if (a->runState == RIDE_IDLE) RideAnimSetState(a.get(), RIDE_START);
            a->Tick(0.033f);
        }
        benchmark::DoNotOptimize(grid->load);
    }
    state.counters["time_per_animator"] = benchmark::Counter(
        (double)state.iterations() * n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RideAnimTick)->Arg(300)->Unit(benchmark::kMicrosecond);

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
    EntCreateClass(EcAttrBaseProc, 0, 0);
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
    EntCreateClass(EcAttrBaseProc, 0, 0);
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

// ---- ride animators by model ----

namespace {

// One animator of every shipped type on stand-in attractions, their models read from the
// build's data.
struct ShippedAnimators {
    explicit ShippedAnimators(int n) {
        CrtSrand(1);
        grid = tree.MakeGrid();
        grid->numSlots = n + 1;
        grid->Start();
        MtPowerGridUse(grid, tree.root, 100000.0f, 0.0f);
        types.reset(AttrInfoList::Load(FAIRLARK_BUILD_DATA_DIR "Data.ini"));
        const int count = types ? std::min(n, types->Count()) : 0;
        for (int t = 0; t < count; ++t) {
            AttrInfo* info = types->Get(t);
            info->duration = 1e9f; // running for the whole run
            anims.emplace_back(static_cast<RideAnim*>(
                AttrBaseBuildAnimator(t, info, FAIRLARK_BUILD_DATA_DIR, tree.MakeRide(grid))));
        }
    }
    void Run() {
        for (auto& a : anims)
            if (a->runState != RIDE_RUNNING) RideAnimSetState(a.get(), RIDE_RUNNING);
    }
    RideTree tree;
    MtPowerGrid* grid = nullptr;
    std::unique_ptr<AttrInfoList> types;
    std::vector<std::unique_ptr<RideAnim>> anims;
};

int OverrideCount(RideAnim* anim) {
    if (!anim->model) return 0;
    if (auto* ride = dynamic_cast<RideAnimSpin*>(anim)) return ride->nodes.FoundCount();
    if (auto* stand = dynamic_cast<RideAnimStand*>(anim)) return stand->nodes.FoundCount();
    return 1; // the drop tower's trolley; the carousel is counted as a ride
}

} // namespace

void BM_AnimatorTick(benchmark::State& state) {
    ShippedAnimators set((int)state.range(0));
    set.Run();
    for (auto _ : state) {
        for (auto& a : set.anims) {
            a->Tick(0.033f);
            if (a->runState != RIDE_RUNNING) RideAnimSetState(a.get(), RIDE_RUNNING);
        }
        benchmark::DoNotOptimize(set.grid->load);
    }
    state.counters["time_per_animator"] =
        benchmark::Counter((double)state.iterations() * (double)set.anims.size(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AnimatorTick)->Arg(62);

void BM_AnimatorDraw(benchmark::State& state) {
    D3dRecordingSetup(D3dRecordingConfig{});
    D3dSetCreateEntry(Direct3DCreate8Recording);
    if (I3dStart() != 0 ||
        D3dCreateDevice(0, nullptr, 1, 1024, 768, D3DFMT_X8R8G8B8, I3D_DEVICE_LOCKABLE) != 0) {
        state.SkipWithError("no recording device");
        return;
    }
    I3dTexTableAlloc(256);
    Mat4 proj, view, world;
    I3dSetProj(Mat4Perspective(&proj, 1.5707963f, 0.75f, 0.1f, 300000.0f));
    VECTOR3 eye = {0, 20, -30}, at = {0, 0, 0}, up = {0, 1, 0};
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetEyePos(&eye);
    Mat4Identity(&world);
    {
        ShippedAnimators set((int)state.range(0));
        set.Run();
        int overrides = 0;
        for (auto& a : set.anims) {
            a->Tick(1.0f);
            overrides += OverrideCount(a.get());
        }
        for (auto _ : state) {
            for (auto& a : set.anims)
                a->Draw(&world);
            state.PauseTiming();
            D3dRecordingLog().Clear();
            state.ResumeTiming();
        }
        state.counters["time_per_override"] =
            benchmark::Counter((double)state.iterations() * overrides,
                               benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
        state.counters["overrides"] = overrides;
    }
    I3dTexTableFree();
    I3dStop();
}
BENCHMARK(BM_AnimatorDraw)->Arg(62)->Unit(benchmark::kMicrosecond);

// BM_PatronsWander/N: one frame of N patrons thinking and wandering on an open 128 x 128 grid
// ("time_per_patron", and "routes" asked of the grid per second). BM_RubeGenHappiness/N: the
// generator's average happiness over N patrons among 5,000 entities from its registry of live
// patrons; BM_RubeGenHappinessTreeWalk/N: the same sum by walking the whole tree.
void BM_PatronsWander(benchmark::State& state) {
    const int n = (int)state.range(0);
    PatronWorld w(1);
    w.OpenDay();
    w.gen->max = 0;
    w.game->gameVals.randAttempts = 1000000;
    std::vector<Rube1*> patrons;
    for (int i = 0; i < n; ++i)
        patrons.push_back(w.AddPatron(390.0f + (float)RandInt(240), 390.0f + (float)RandInt(240)));
    std::vector<int> before((size_t)n);
    int64_t routes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < n; ++i)
            before[(size_t)i] = patrons[(size_t)i]->state;
        state.ResumeTiming();
        EntTreeUpdate(w.gen, 0.264f);
        state.PauseTiming();
        for (int i = 0; i < n; ++i) {
            Rube1* p = patrons[(size_t)i];
            routes += before[(size_t)i] == RUBE_THINK && p->state == RUBE_WANDER;
            if (p->state == RUBE_CHOOSE) p->EnterThink(); // keep them out of the leave test
        }
        state.ResumeTiming();
    }
    state.counters["time_per_patron"] = benchmark::Counter(
        (double)state.iterations() * n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["routes"] = benchmark::Counter((double)routes, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PatronsWander)->Arg(300)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);

namespace {
void HappinessWorld(PatronWorld* w, int n) {
    w->gen->max = 0;
    for (int i = 0; i < n; ++i)
        w->AddPatron(500.0f, 500.0f)->happiness = (float)(i % 7) * 0.1f;
    for (int i = n; i < 5000; ++i)
        EntCreateChild("EntNull", w->h->first);
}
} // namespace

void BM_RubeGenHappiness(benchmark::State& state) {
    PatronWorld w(1);
    HappinessWorld(&w, (int)state.range(0));
    for (auto _ : state) {
        w.gen->Update(0.0f);
        benchmark::DoNotOptimize(w.gen->averageHappiness);
    }
}
BENCHMARK(BM_RubeGenHappiness)->Arg(2000)->Unit(benchmark::kMicrosecond);

void BM_RubeGenHappinessTreeWalk(benchmark::State& state) {
    PatronWorld w(1);
    HappinessWorld(&w, (int)state.range(0));
    std::vector<ENTBASE*> all(6000);
    for (auto _ : state) {
        const int count = EntFindAllOfType(w.h->root, "Rube1", all.data(), (int)all.size());
        double sum = 0.0;
        for (int i = 0; i < count; ++i)
            sum += static_cast<Rube1*>(all[(size_t)i])->happiness;
        benchmark::DoNotOptimize(count > 0 ? sum / count : 0.0);
    }
}
BENCHMARK(BM_RubeGenHappinessTreeWalk)->Arg(2000)->Unit(benchmark::kMicrosecond);

namespace {
// A stands of two kinds (food and drink) placed in rows, then plain entities up to E in all.
Rube1* ChoiceWorld(PatronWorld* w, int attractions, int entities) {
    w->OpenDay();
    w->gen->max = 0;
    int cx = 0, cz = 0;
    for (int i = 0; i < attractions; ++i) {
        const int type = i % 2 == 0 ? 2 : 0;
        if (cx + 4 > w->grid->cols) {
            cx = 0;
            cz += 3;
        }
        AttrPlace(w->game, w->grid, w->h->first, w->game->attrList->Get(type), type, cx, cz, 0);
        cx += 3;
    }
    for (int i = EntTreeCount(w->h->root); i < entities; ++i)
        EntCreateChild("EntNull", w->h->first);
    return w->AddPatron(500.0f, 600.0f);
}

template <bool kRegistry>
void PatronChoose(benchmark::State& state) {
    PatronWorld w(1);
    Rube1* p = ChoiceWorld(&w, (int)state.range(0), (int)state.range(1));
    int chosen = 0;
    for (auto _ : state) {
        p->needs.level[RUBE_EAT] = 0.9f;
        AttrBase* pick = nullptr;
        if (kRegistry) {
            pick = RubeVisitChoose(p);
        } else {
            AttrBase* list[ATTR_SEARCH_MAX];
            pick = RubeVisitChooseFrom(p, list, AttrRegistryWalk(p, list));
        }
        chosen += pick != nullptr;
    }
    state.counters["chosen"] = benchmark::Counter((double)chosen / (double)state.iterations());
}
} // namespace

void BM_PatronChoose(benchmark::State& state) {
    PatronChoose<true>(state);
}
BENCHMARK(BM_PatronChoose)->Args({100, 1000})->Unit(benchmark::kMicrosecond);

void BM_PatronChooseTreeWalk(benchmark::State& state) {
    PatronChoose<false>(state);
}
BENCHMARK(BM_PatronChooseTreeWalk)->Args({100, 1000})->Unit(benchmark::kMicrosecond);
// ---- whole days ----

// BM_WholeDay/P: a whole day on the shipped data with P patrons present at once: venue 0 in
// memory with "baseRubes" P, "extraRubes" 0, "delayTimer" 0.25 and a supply far above the demand;
// about 60 attractions of the shipped set (six ticket booths, food, rides, restrooms, bins,
// benches) and 10 carnies; the P patrons let in through the generator before the first frame and
// those who leave replaced before each frame (its maximum held at P), with their characters (a
// recording kernel runs), the log off; seed 1, dt 0.264, one iteration. BM_WholeDaySim/P is the
// same day without the characters: the simulation's own cost.
// Counters: "day_wall_s" (10:00 to 22:30) and "drain_wall_s" (1,500 s after), "ratio" (1,500 s of
// game-clock time over the day's wall seconds), "us_per_frame" (with the replacements),
// "us_per_patron_frame" (the game's frame alone, over the frames with at least 0.9 P present, less
// the same world's frame with nobody, per patron present), "top_up_us_per_frame" (the
// replacements: the generator's whole update once per newcomer, where the game runs it once a
// frame; all in processor time), "peak" and "created", "routes_per_s" (routes asked of the grid per
// wall second of the day); "day_cpu_s" and "ratio_cpu" are the same day in the thread's processor
// time. BM_TreeWalks/2000: the whole-tree walks that grow with the patrons, over 2,000 entities:
// "find_us" (EntFindAllOfType), "notify_us" (EntTreeNotifyRemoved) and "happiness_us" (the
// generator's sum), in processor time.
namespace {

struct BenchDay {
    // The crowd is let in through the generator before the first frame, one arrival after
    // another, so that the day holds it from the opening; the log is off, so nothing is
    // written to its file.
    explicit BenchDay(int patrons) : owned(std::make_unique<WholeDay>(1)), d(*owned) {
        SetUpCrowdDay(&d, patrons);
        DbgSetLevelMask(0);
        TopUp(patrons);
    }
    // Those who left are replaced through the generator, its maximum held at P, until the gate
    // shuts half an hour before closing.
    void TopUp(int patrons) {
        RubeGen* gen = d.cw.w.gen;
        gen->max = patrons;
        for (int i = 0; i < patrons && gen->present < gen->max; ++i) {
            const int before = gen->created;
            gen->spawnTimer = 0.0f;
            gen->Update(0.0f);
            if (gen->created == before) break;
        }
    }
    // The characters' models go with the world; the next world loads them again.
    ~BenchDay() {
        owned.reset();
        giModelDefManager::Get()->Clear();
    }
    std::unique_ptr<WholeDay> owned;
    WholeDay& d;
};

double NowUs() {
    return std::chrono::duration<double, std::micro>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The thread's processor time: on a shared machine the wall clock also counts the waits for a
// core, which this leaves out.
double CpuUs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec * 1e6 + (double)t.tv_nsec * 1e-3;
}

// The mean frame of the day's world with nobody in it, over its first 2,000 frames.
double EmptyFrameUs(bool characters) {
    static double s_us[2] = {-1.0, -1.0};
    double& us = s_us[characters ? 1 : 0];
    if (us >= 0.0) return us;
    BenchDay empty(0);
    const double t0 = CpuUs();
    for (int i = 0; i < 2000; ++i)
        empty.d.Frame();
    us = (CpuUs() - t0) / 2000.0;
    return us;
}

// The day with or without the patrons' characters (the simulation alone); the kernel, once
// started for the characters, runs until the program ends, so the days without come first.
void RunWholeDay(benchmark::State& state, bool characters) {
    const int p = (int)state.range(0);
    // The patrons load their characters when a kernel runs as their class registers.
    if (characters &&
        (!UseLayer(Layer::Recording) || (I3dTexCount() == 0 && I3dTexTableAlloc(128) != 0)))
        return state.SkipWithError("no device");
    const double emptyUs = EmptyFrameUs(characters);
    for (auto _ : state) {
        state.PauseTiming();
        BenchDay b(p);
        state.ResumeTiming();
        MtGame* game = b.d.game;
        const int64_t routes0 = GameGridRouteCount();
        double dayUs = 0.0, dayCpuUs = 0.0, fullUs = 0.0;
        int frames = 0, fullFrames = 0, peak = 0;
        int64_t fullPresent = 0;
        double topUpUs = 0.0;
        while (!game->dayOver && frames < 200000) {
            const double t0 = NowUs(), c0 = CpuUs();
            b.TopUp(p);
            const double c1 = CpuUs();
            b.d.Frame();
            const double us = CpuUs() - c1;
            topUpUs += c1 - c0;
            dayUs += NowUs() - t0;
            dayCpuUs += us + (c1 - c0);
            ++frames;
            const int present = RubeLiveCount();
            peak = std::max(peak, present);
            if (p > 0 && present >= (p * 9 + 9) / 10) {
                fullUs += us;
                ++fullFrames;
                fullPresent += present;
            }
        }
        const int64_t routes = GameGridRouteCount() - routes0;
        const double d0 = NowUs();
        for (int i = 0; i < (int)(1500.0f / b.d.cw.w.h->options.dt); ++i)
            b.d.Frame();
        const double drainUs = NowUs() - d0;
        state.counters["day_wall_s"] = dayUs * 1e-6;
        state.counters["drain_wall_s"] = drainUs * 1e-6;
        state.counters["ratio"] = 1500.0 / (dayUs * 1e-6);
        state.counters["day_cpu_s"] = dayCpuUs * 1e-6;
        state.counters["ratio_cpu"] = 1500.0 / (dayCpuUs * 1e-6);
        state.counters["us_per_frame"] = dayCpuUs / frames;
        state.counters["top_up_us_per_frame"] = topUpUs / frames;
        state.counters["empty_us_per_frame"] = emptyUs;
        state.counters["us_per_patron_frame"] =
            fullFrames > 0 ? (fullUs / fullFrames - emptyUs) / ((double)fullPresent / fullFrames)
                           : 0.0;
        state.counters["full_frames"] = fullFrames;
        state.counters["peak"] = peak;
        state.counters["created"] = b.d.cw.w.gen->created;
        state.counters["routes_per_s"] = (double)routes / (dayUs * 1e-6);
        state.counters["routes"] = (double)routes;
        state.counters["placed"] = (double)b.d.attrs.size();
    }
}
void BM_WholeDaySim(benchmark::State& state) {
    RunWholeDay(state, false);
}
BENCHMARK(BM_WholeDaySim)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_WholeDay(benchmark::State& state) {
    RunWholeDay(state, true);
}
BENCHMARK(BM_WholeDay)
    ->Arg(100)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_TreeWalks(benchmark::State& state) {
    const int n = (int)state.range(0);
    PatronWorld w(1);
    w.gen->max = 0;
    for (int i = 0; i < n; ++i)
        w.AddPatron(500.0f, 500.0f)->happiness = (float)(i % 7) * 0.1f;
    std::vector<ENTBASE*> all((size_t)n + 100);
    auto* gone = static_cast<Litter*>(EntCreateChild("Litter", w.h->first));
    double findUs = 0.0, notifyUs = 0.0, happyUs = 0.0;
    int rounds = 0;
    for (auto _ : state) {
        double t0 = CpuUs();
        benchmark::DoNotOptimize(EntFindAllOfType(w.h->root, "Rube1", all.data(), (int)all.size()));
        findUs += CpuUs() - t0;
        t0 = CpuUs();
        EntTreeNotifyRemoved(w.h->root, gone);
        notifyUs += CpuUs() - t0;
        t0 = CpuUs();
        w.gen->Update(0.0f);
        benchmark::DoNotOptimize(w.gen->averageHappiness);
        happyUs += CpuUs() - t0;
        ++rounds;
    }
    state.counters["find_us"] = findUs / rounds;
    state.counters["notify_us"] = notifyUs / rounds;
    state.counters["happiness_us"] = happyUs / rounds;
}
BENCHMARK(BM_TreeWalks)->Arg(2000)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace
