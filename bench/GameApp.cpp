// Costs of the game application on the headless device (SDL's dummy video driver, an offscreen
// device on llvmpipe) with the first data set: one frame (Update and Render) over a world of N
// null entities (the cost per entity is the difference between two sizes over their difference
// in N), and the start-up from OnInit to the first present.
#include "engine/GameApp/GameApp.h"
#include "I3d/Device.h"
#include "bench/BenchGameFolders.h"
#include "engine/EntTree.h"

#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Notes when its start-up begins.
class TimedGame : public GameApp {
  public:
    void OnInit() override {
        initStart = std::chrono::steady_clock::now();
        GameApp::OnInit();
    }
    std::chrono::steady_clock::time_point initStart;
};

struct GameSession {
    explicit GameSession(const BenchGameFolders& folders) : host(true) {
        game.SetProgramFolder(folders.program.c_str());
        game.AppSetHost(&host);
        started = folders.ok && game.AppCreateMainWindow() == 0 && game.GetWorld();
    }
    ~GameSession() {
        if (game.hwnd) game.AppShutdown();
    }
    AppHost host;
    TimedGame game;
    bool started = false;
};
} // namespace

static void BM_GameFrame(benchmark::State& state) {
    BenchGameFolders folders;
    GameSession session(folders);
    if (!session.started) {
        state.SkipWithError("the game did not start");
        return;
    }
    const int count = (int)state.range(0);
    for (int i = 0; i < count; ++i)
        EntCreateChild("ENTNULL", session.game.GetWorld());
    for (auto _ : state) {
        session.game.Update();
        session.game.Render();
    }
}
BENCHMARK(BM_GameFrame)->Arg(0)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

static void BM_GameStartup(benchmark::State& state) {
    BenchGameFolders folders;
    for (auto _ : state) {
        GameSession session(folders);
        if (!session.started) {
            state.SkipWithError("the game did not start");
            return;
        }
        session.game.Update();
        session.game.Render(); // the first present
        auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - session.game.initStart).count());
    }
}
BENCHMARK(BM_GameStartup)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
