// Costs of the simulation on the headless day harness. The game object's per-frame work is
// constant; its start of day walks the whole tree twice (attraction resets, patron removal), so
// BM_StartDay/N starts a day over N stand-in attractions and N stand-in patrons and reports the
// time per entity ("time_per_entity"). BM_PowerGridUse/N is one run-state change on a full
// grid of N slots, totals recomputed; BM_RideAnimTick/N ticks N ride animators cycling through
// their run states one frame and reports the time per animator ("time_per_animator").
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/MtPowerGrid.h"
#include "game/RideAnimCore.h"
#include "tests/game/FakeRide.h"
#include "tests/sim/DayHarness.h"

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

} // namespace
