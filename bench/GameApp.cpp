// Costs of the game application on the headless device (SDL's dummy video driver, an offscreen
// device on llvmpipe) with the first data set: one frame (Update and Render) over a world of N
// null entities (the cost per entity is the difference between two sizes over their difference
// in N), and the start-up from OnInit to the first present.
#include "engine/GameApp/GameApp.h"
#include "I3d/Device.h"
#include "engine/EntTree.h"

#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
// A program folder whose Data/ is the build's generated data, and a documents folder whose
// settings switch the configuration dialog off; both removed at the end.
struct GameFolders {
    GameFolders() {
        char folder[] = "/tmp/fairlark-bench-XXXXXX";
        if (!mkdtemp(folder)) return;
        root = folder;
        program = root + "/program/";
        mkdir(program.c_str(), 0755);
        std::string data = FAIRLARK_BUILD_DATA_DIR;
        data.pop_back();
        ok = symlink(data.c_str(), (program + "Data").c_str()) == 0;
        mkdir((root + "/docs").c_str(), 0755);
        mkdir((root + "/docs/Fairlark").c_str(), 0755);
        if (std::FILE* f = std::fopen((root + "/docs/Fairlark/Config.ini").c_str(), "w")) {
            std::fputs("[Xq Config]\nrunHwConfig=0\n", f);
            std::fclose(f);
        }
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        setenv("XDG_RUNTIME_DIR", root.c_str(), 1); // a lock of our own: not "another copy"
        setenv("HOME", root.c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", (root + "/docs").c_str(), 1);
    }
    ~GameFolders() {
        if (root.empty()) return;
        std::string command = "rm -rf '" + root + "'";
        if (std::system(command.c_str()) != 0) std::fprintf(stderr, "%s failed\n", command.c_str());
    }
    std::string root, program;
    bool ok = false;
};

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
    explicit GameSession(const GameFolders& folders) : host(true) {
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
    GameFolders folders;
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
    GameFolders folders;
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
