// Costs of the patrons on the headless day harness.
//
// BM_PatronChoose/A/E: one patron's choice of an attraction for a need (up to three routes)
// among A placed attractions and E entities in all, from the attraction registry;
// BM_PatronChooseTreeWalk/A/E: the same choice over a walk of the whole tree.
#include "engine/Random.h"
#include "engine/WorldClass.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/AttrRegistry.h"
#include "game/Ents/RubeVisit.h"
#include "game/RubeRules.h"
#include "tests/game/Ents/GridPlacing.h"
#include "tests/game/Ents/PatronWorld.h"

#include <vector>

#include <benchmark/benchmark.h>

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
