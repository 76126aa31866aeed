// Costs of the application's loop on the headless device (SDL's dummy video driver, an offscreen
// device on llvmpipe): one idle pass with empty operations, and the handling of queued motion.
#include "I3d/Device.h"
#include "engine/App/AppBase.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
// Empty operations; the frame is only presented.
class BenchApp : public AppBase {
  public:
    void Render() override { D3dPresent(); }
};

// A started application for the length of one benchmark.
struct AppSession {
    AppSession() : host(true) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        // A lock folder of our own, so that a game running on this display is not "another copy".
        char folder[] = "/tmp/fairlark-bench-XXXXXX";
        if (mkdtemp(folder)) {
            lockFolder = folder;
            setenv("XDG_RUNTIME_DIR", folder, 1);
        }
        app.AppSetHost(&host);
        started = app.AppCreateMainWindow() == 0;
    }
    ~AppSession() {
        if (started) app.AppShutdown();
        if (!lockFolder.empty()) {
            unlink(AppSingleCopy::LockPath().c_str());
            rmdir(lockFolder.c_str());
        }
    }
    AppHost host;
    BenchApp app;
    std::string lockFolder;
    bool started = false;
};
} // namespace

static void BM_AppIdlePass_Empty(benchmark::State& state) {
    AppSession session;
    if (!session.started) {
        state.SkipWithError("the application did not start");
        return;
    }
    for (auto _ : state)
        session.app.AppLoopStep();
}
BENCHMARK(BM_AppIdlePass_Empty)->Unit(benchmark::kMicrosecond);

static void BM_AppEventDrain(benchmark::State& state) {
    AppSession session;
    if (!session.started) {
        state.SkipWithError("the application did not start");
        return;
    }
    const int n = (int)state.range(0);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < n; ++i) {
            motion.motion.x = i;
            SDL_PushEvent(&motion);
        }
        state.ResumeTiming();
        for (int i = 0; i < n; ++i)
            session.app.AppLoopStep();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AppEventDrain)->Arg(1000)->Unit(benchmark::kMicrosecond);
