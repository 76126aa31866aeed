// Costs of the option pages in the running game on the headless device, with the menu music
// streaming on OpenAL Soft's null backend: one slider change through the page into the
// preferences and MtGameApplyPrefs (it runs every frame while a key is held on a slider), and
// one build of the audio page.
#include "bench/BenchGameFolders.h"
#include "engine/EntTree.h"
#include "engine/GameApp/GameApp.h"
#include "engine/Input/SlInput.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuOptionsAudio.h"
#include "ui/Slider.h"
#include "world/EntMusic.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {
struct OptionsSession {
    OptionsSession() {
        game.SetProgramFolder(folders.program.c_str());
        game.AppSetHost(&host);
        started = folders.ok && game.AppCreateMainWindow() == 0 && game.GetMenus() &&
                  EntTreeFindType(game.GetRoot(), "MtGame");
        if (!started) return;
        MusicPlayByName(game.GetRoot(), (game.dataFolder.path + "Music\\MenuLoop.ogg").c_str());
        for (int i = 0; i < 10; ++i) {
            game.Update();
            game.Render();
        }
    }
    ~OptionsSession() {
        if (game.hwnd) game.AppShutdown();
    }
    BenchGameFolders folders;
    AppHost host{true};
    GameApp game;
    bool started = false;
};
} // namespace

static void BM_OptionsApply(benchmark::State& state) {
    OptionsSession session;
    if (!session.started) {
        state.SkipWithError("the game did not start");
        return;
    }
    MenuOptionsPage* page = MenuOptionsAudioOpen(session.game.GetMenus(), "MenuMain", 1, nullptr);
    Slider* music = page ? page->SliderAt(1) : nullptr;
    if (!music) {
        state.SkipWithError("no audio page");
        return;
    }
    SlEvent change = {CTL3_EVENT, OPTIONS_AUDIO_MUSIC, CTL3_CLICK, 0};
    float value = 0.0f;
    for (auto _ : state) {
        value = value >= 1.0f ? 0.0f : value + 1.0f / 64.0f;
        music->SetValue(value);
        page->OnMessage(&change);
    }
    benchmark::DoNotOptimize(page->Game()->prefs.volMusic);
}
BENCHMARK(BM_OptionsApply)->Unit(benchmark::kMicrosecond);

static void BM_MenuBuildOptionsAudio(benchmark::State& state) {
    OptionsSession session;
    if (!session.started) {
        state.SkipWithError("the game did not start");
        return;
    }
    for (auto _ : state) {
        MenuOptionsPage* page =
            MenuOptionsAudioOpen(session.game.GetMenus(), "MenuMain", 1, nullptr);
        state.PauseTiming();
        if (page) EntDestroyTree(page);
        // The nodes go at the end of a frame.
        session.game.Update();
        state.ResumeTiming();
    }
}
// Named as the other screens' builds are, one benchmark per menu under "BM_MenuBuild/".
static benchmark::internal::Benchmark* const s_menuBuild =
    benchmark::RegisterBenchmark("BM_MenuBuild/OptionsMenuAudio", BM_MenuBuildOptionsAudio)
        ->Unit(benchmark::kMicrosecond);
