// Costs of whole days on the shipped data, with and without the patrons' characters.
#include "tests/game/Ents/WholeDay.h"
#include "I3d/I3d.h"
#include "I3d/Textures.h"
#include "bench/BenchKernel.h"
#include "engine/DebugLog.h"
#include "game/Ents/Litter.h"
#include "game/GameGridCore.h"
#include "gi/giModelDefManager.h"
#include "tests/game/Ents/PatronWorld.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

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
