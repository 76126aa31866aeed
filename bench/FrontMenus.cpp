// Costs of the front-end and pause screens: one Create of a screen with its script and its
// controls (textures warm, held by a copy of the screen), one frame of the main menu while its
// slides cross-fade, and the main menu's first build with its textures read from disk.
#include "bench/BenchKernel.h"
#include "engine/DebugLog.h"
#include "engine/EntBase.h"
#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/Script/ScriptMgr.h"
#include "ui/AnimGraphic.h"
#include "ui/Ctl3SlideShow.h"
#include "ui/GraphicButton.h"
#include "ui/Menu3Base.h"
#include "ui/MenuRoot.h"
#include "ui/Menus/MenuConfirmExit.h"
#include "ui/Menus/MenuCredits.h"
#include "ui/Menus/MenuInGame.h"
#include "ui/Menus/MenuMain.h"
#include "ui/Menus/MenuPublisher.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"
#include "ui/TextButton.h"
#include "world/EntNull.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

namespace {
const std::string kBuildData = FAIRLARK_BUILD_DATA_DIR;
const char* const kFonts[] = {"Georgia_26", "Georgia_20", "Georgia_14", "Arial_12b",
                              "CourierNew9o"};

struct FrontWorld {
    FrontWorld() {
        EntSystemShutdown();
        EntSystemInit();
        DbgSetLevelMask(0); // the screens log their names and the missing game object
        for (EntClassProc proc :
             {EcNullProc, EcMenuRootProc, EcGraphicButtonProc, EcTextButtonProc, EcStaticTextProc,
              EcStaticTextBoxProc, EcStaticGraphicProc, EcAnimGraphicProc, EcCtl3SlideshowProc,
              EcMenuMainProc, EcMenuCreditsProc, EcMenuInGameProc, EcMenuPublisherProc,
              EcMenuConfirmExitProc})
            EntCreateClass(proc, 0, 0);
        Ctl3SetDataFolder(kBuildData.c_str());
        for (const char* f : kFonts)
            if (Font* font = FontAcquire((kBuildData + "Fonts/" + f).c_str()))
                fonts.push_back(font);
        menus = EntCreateChild("MenuRoot", nullptr);
    }
    ~FrontWorld() {
        EntDestroyTree(menus);
        EntSystemShutdown();
        ScriptMgrDestroy();
        for (Font* f : fonts)
            SharedObjRelease(f);
    }
    std::vector<Font*> fonts;
    ENTBASE* menus = nullptr;
};

int CountControls(ENTBASE* menu) {
    int n = 0;
    for (EntNode* c = menu && menu->node ? menu->node->firstChild : nullptr; c; c = c->next)
        ++n;
    return n;
}

bool Ready(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) {
        state.SkipWithError("no device");
        return false;
    }
    if (I3dTexCount() == 0 && I3dTexTableAlloc(256) != 0) {
        state.SkipWithError("no textures");
        return false;
    }
    return true;
}

// One Create of the class (script, kit and own controls), then its destruction outside the
// timing; a second copy holds the textures.
void MenuBuild(benchmark::State& state, const char* className) {
    if (!Ready(state)) return;
    FrontWorld world;
    Menu3Base* holder = MenuOpen(className, world.menus, nullptr);
    if (!holder) return state.SkipWithError("the screen cannot be made");
    const int controls = CountControls(holder);
    for (auto _ : state) {
        Menu3Base* m = MenuOpen(className, world.menus, nullptr);
        benchmark::DoNotOptimize(m);
        state.PauseTiming();
        EntDestroyTree(m);
        ScriptMgrUpdate(0.0f);
        SlEventQueueClear();
        state.ResumeTiming();
    }
    state.counters["controls"] = controls;
    state.counters["us_per_control"] =
        benchmark::Counter(double(state.iterations()) * controls,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel("us_per_control is seconds per control");
}
BENCHMARK_CAPTURE(MenuBuild, MainMenu, "MenuMain")
    ->Name("BM_MenuBuild/MainMenu")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MenuBuild, Credits, "MenuCredits")
    ->Name("BM_MenuBuild/Credits")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MenuBuild, InGameMenu, "MenuInGame")
    ->Name("BM_MenuBuild/InGameMenu")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MenuBuild, PublisherSplash, "MenuPublisher")
    ->Name("BM_MenuBuild/PublisherSplash")
    ->Unit(benchmark::kMicrosecond);

// One frame of the main menu: its update with the slides half way through a cross-fade, then
// its controls drawn in the menus' 1024 x 768 projection.
void BM_MenuFrame(benchmark::State& state) {
    if (!Ready(state)) return;
    FrontWorld world;
    Menu3Base* m = MenuOpen("MenuMain", world.menus, nullptr);
    auto* show = m ? dynamic_cast<Ctl3SlideShow*>(EntTreeFindName(m, "SlideShow")) : nullptr;
    if (!show) return state.SkipWithError("no main menu");
    g_frameSeconds = 0.0f; // the show stays where it is put
    show->fading = 1;
    show->blend = 0.5f;
    show->showTimer = 1000.0f;
    for (auto _ : state) {
        EntTreeUpdate(world.menus, 0.0f);
        D3dBeginScene();
        if (auto* root = dynamic_cast<MenuRoot*>(world.menus)) root->SetScreenProjection();
        EntTreeDrawPre(world.menus);
        D3dEndScene();
        D3dPresent();
    }
    state.SetLabel("update and draw, slides cross-fading, llvmpipe");
}
BENCHMARK(BM_MenuFrame)->Name("BM_MenuFrame/MainMenu")->Unit(benchmark::kMicrosecond);

// The main menu's first build: every texture it names read from disk (nothing holds them).
void BM_MenuBuildCold(benchmark::State& state) {
    if (!Ready(state)) return;
    FrontWorld world;
    for (auto _ : state) {
        Menu3Base* m = MenuOpen("MenuMain", world.menus, nullptr);
        benchmark::DoNotOptimize(m);
        state.PauseTiming();
        EntDestroyTree(m);
        ScriptMgrUpdate(0.0f);
        SlEventQueueClear();
        state.ResumeTiming();
    }
    state.SetLabel("textures from disk");
}
BENCHMARK(BM_MenuBuildCold)->Name("BM_MenuBuildCold/MainMenu")->Unit(benchmark::kMillisecond);
} // namespace
