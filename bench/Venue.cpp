// Costs of the default venue in the game application on the headless device (SDL's dummy video
// driver, an offscreen device on llvmpipe) with the generated data: loading its world (a new
// game's script run to the world-loaded event and the first frame), and one frame while the
// management camera sweeps the grounds.
#include "bench/BenchGameFolders.h"
#include "bench/BenchVenueGame.h"
#include "engine/EntTree.h"
#include "engine/GameApp/GameApp.h"
#include "game/MtGame.h"
#include "world/CameraVantor1.h"

#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct VenueSession {
    explicit VenueSession(const BenchGameFolders& folders) : host(true) {
        game.SetProgramFolder(folders.program.c_str());
        game.AppSetHost(&host);
        started = folders.ok && game.AppCreateMainWindow() == 0 && game.GetWorld();
    }
    ~VenueSession() {
        if (game.hwnd) game.AppShutdown();
    }
    MtGame* Game() { return static_cast<MtGame*>(EntTreeFindType(game.GetRoot(), "MtGame")); }
    // The world loader's steps for venue 0 in sandbox mode.
    bool NewGame() {
        MtGame* mt = Game();
        if (!mt) return false;
        if (!BenchNewDefaultVenue(mt)) return false;
        return EntTreeFindName(game.GetWorld(), "Terrain") != nullptr;
    }
    void Leave() {
        MtGameEndOfDay(Game());
        game.ClearScene();
    }
    AppHost host;
    GameApp game;
    bool started = false;
};

} // namespace

static void BM_VenueLoad(benchmark::State& state) {
    BenchGameFolders folders;
    VenueSession session(folders);
    if (!session.started) {
        state.SkipWithError("the game did not start");
        return;
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!session.NewGame()) {
            state.SkipWithError("the venue did not load");
            return;
        }
        session.game.Update();
        session.game.Render();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        session.Leave();
    }
}
BENCHMARK(BM_VenueLoad)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

static void BM_VenueFrame(benchmark::State& state) {
    BenchGameFolders folders;
    VenueSession session(folders);
    if (!session.started || !session.NewGame()) {
        state.SkipWithError("the venue did not load");
        return;
    }
    ENTBASE* camera = EntTreeFindType(session.game.GetWorld(), "CameraVantor1");
    float angle = 0.0f;
    for (auto _ : state) {
        // Round the grounds' middle, looking across them.
        const VECTOR3 target = {512.0f + 80.0f * std::cos(angle), 0.0f,
                                512.0f + 80.0f * std::sin(angle)};
        CameraVantorFlyTo(camera, &target, angle, 0.5f, 60.0f);
        angle += 0.05f;
        session.game.Update();
        session.game.Render();
    }
}
BENCHMARK(BM_VenueFrame)->Unit(benchmark::kMillisecond);
