// The carnival's people in the application's frame: one Update and Render of the default venue
// under the HUD with 0, 500 and 2,000 patrons present round the camera's target and drawn, on
// the recording layer with its log off (the program's own CPU, nothing rasterised) and on the
// headless GL device (llvmpipe); and one patron's character animated, the per-patron share of a
// frame. Compare the sizes within one run: the cost per patron is the difference of two sizes
// over their difference in patrons.
#include "I3d/Device.h"
#include "bench/BenchGameFolders.h"
#include "bench/BenchVenueGame.h"
#include "engine/EntDrawWalk.h"
#include "engine/EntTree.h"
#include "engine/GameApp/GameApp.h"
#include "engine/MathConst.h"
#include "engine/Random.h"
#include "game/Ents/Rube1.h"
#include "game/MtGame.h"
#include "gi/Render/CharModelInst.h"
#include "platform/d3d8/Recording.h"
#include "ui/Menus/MenuGameRunningOpen.h"
#include "world/CameraVantor1.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>

namespace {

constexpr VECTOR3 kTarget = {512.0f, 0.0f, 470.0f};
constexpr float kSpread = 22.0f; // the crowd's radius round the target, all in view

struct PeopleSession {
    PeopleSession(const BenchGameFolders& folders, bool recording, int patrons) : host(true) {
        if (recording) {
            D3dRecordingConfig config;
            config.logCalls = false;
            D3dRecordingSetup(config);
            D3dSetCreateEntry(Direct3DCreate8Recording);
        }
        game.SetProgramFolder(folders.program.c_str());
        game.AppSetHost(&host);
        if (!folders.ok || game.AppCreateMainWindow() != 0 || !game.GetWorld()) return;
        MtGame* mt = BenchOpenDefaultVenue(game);
        if (!mt || !MenuGameRunningOpen(game.GetMenus())) return;
        ENTBASE* gen = EntTreeFindType(game.GetWorld(), "RubeGen");
        ENTBASE* camera = EntTreeFindType(game.GetRoot(), "CameraVantor1");
        if (!gen || !camera) return;
        CameraVantorFlyTo(camera, &kTarget, 0.0f, 0.7f, 70.0f);
        CrtSrand(1234);
        for (int i = 0; i < patrons; ++i)
            if (auto* p = dynamic_cast<Rube1*>(EntCreateChild("Rube1", gen))) {
                const float a = RandFloat(kTwoPi), r = kSpread * std::sqrt(RandFloat(1.0f));
                p->pos = {kTarget.x + r * std::cos(a), 0.0f, kTarget.z + r * std::sin(a)};
                p->Start();
            }
        mt->dayOver = 0;
        mt->chargeCostsPending = 1;
        // The camera glides on the real clock: three seconds of frames see it there, the
        // crowd moving.
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < std::chrono::seconds(3)) {
            game.Update();
            game.Render();
        }
        ok = RubeLiveCount() >= patrons;
    }
    ~PeopleSession() {
        if (game.hwnd) game.AppShutdown();
    }
    AppHost host;
    GameApp game;
    bool ok = false;
};

struct DrawCounts {
    int people = 0, first = 0;
};
void CountDraws(ENTBASE* entity, int walk, void* context) {
    auto* counts = static_cast<DrawCounts*>(context);
    if (walk == ENT_WALK_DRAWPRE) ++counts->first;
    const char* type = entity->GetTypeName();
    if (walk == ENT_WALK_DRAW && type &&
        (std::strcmp(type, "Rube1") == 0 || std::strcmp(type, "Carny") == 0))
        ++counts->people;
}

void PeopleFrame(benchmark::State& state, bool recording) {
    BenchGameFolders folders;
    const int patrons = (int)state.range(0);
    PeopleSession session(folders, recording, patrons);
    if (!session.ok) {
        state.SkipWithError("the venue did not open with its crowd");
        return;
    }
    for (auto _ : state) {
        session.game.Update();
        session.game.Render();
    }
    state.counters["patrons"] = RubeLiveCount();
    // What the frame reached: the people drawn in its second walk, and the world's entities.
    DrawCounts counts;
    EntSetDrawVisitHook(CountDraws, &counts);
    session.game.Render();
    EntSetDrawVisitHook(nullptr, nullptr);
    state.counters["peopleDrawn"] = counts.people;
    state.counters["firstWalk"] = counts.first;
    state.SetLabel(recording ? "recording layer, log off" : "llvmpipe");
}

void BM_PeopleFrame_Recording(benchmark::State& state) {
    PeopleFrame(state, true);
}
BENCHMARK(BM_PeopleFrame_Recording)->Arg(0)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_PeopleFrame_Gl(benchmark::State& state) {
    PeopleFrame(state, false);
}
BENCHMARK(BM_PeopleFrame_Gl)->Arg(0)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

// One adult patron's walk animated once: what every patron costs a frame in its Update.
void BM_PatronAnimate(benchmark::State& state) {
    BenchGameFolders folders;
    PeopleSession session(folders, true, 1);
    Rube1* patron = session.ok ? RubeLiveAt(0) : nullptr;
    if (!patron || !patron->character) {
        state.SkipWithError("no patron with a character");
        return;
    }
    CharModelInstPlayAnim(patron->character, "AdultWalk");
    // The application clock runs on between calls: every call evaluates a new pose.
    for (auto _ : state)
        CharModelInstAnimate(patron->character);
}
BENCHMARK(BM_PatronAnimate)->Unit(benchmark::kMicrosecond);

} // namespace
