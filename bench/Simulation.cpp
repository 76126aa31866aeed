// Costs of the simulation on the headless day harness. The game object's per-frame work is
// constant; its start of day walks the whole tree twice (attraction resets, patron removal), so
// BM_StartDay/N starts a day over N stand-in attractions and N stand-in patrons and reports the
// time per entity ("time_per_entity").
#include "tests/sim/DayHarness.h"

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

} // namespace
