// Costs of the control kit and the menu root: building the kit's 31-call test screen with every
// texture loaded afresh (cold) or already shared (warm), and one pointer event walked through
// the menu root, the screen and the mouse cursor.
#include "bench/BenchKernel.h"
#include "engine/EntBase.h"
#include "engine/EntTree.h"
#include "engine/Input/SlInput.h"
#include "tests/ui/KitScreen.h"
#include "ui/GraphicCheckBox.h"
#include "ui/MenuRoot.h"
#include "ui/MouseCursor1.h"
#include "ui/MouseCursorSetup.h"
#include "ui/Slider.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"
#include "ui/TextButton.h"
#include "ui/TextCheckBox.h"
#include "world/EntNull.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {
const char* const kFonts[6] = {"Georgia_26", "Georgia_20", "Georgia_16",
                               "Georgia_14", "Arial_12b",  "CourierNew9o"};

// The classes, the data folder and the six fonts, for as long as the benchmark runs.
struct KitWorld {
    KitWorld() {
        EntSystemShutdown();
        EntSystemInit();
        for (EntClassProc proc :
             {EcNullProc, EcGraphicButtonProc, EcGraphicCheckBoxProc, EcTextCheckBoxProc,
              EcTextButtonProc, EcStaticTextProc, EcStaticTextBoxProc, EcStaticGraphicProc,
              EcAnimGraphicProc, EcSliderProc, EcMenuRootProc, EcMouseCursor1Proc})
            EntCreateClass(proc, 0, 0);
        Ctl3SetDataFolder(FAIRLARK_BUILD_DATA_DIR);
        for (const char* f : kFonts)
            if (Font* font =
                    FontAcquire((std::string(FAIRLARK_BUILD_DATA_DIR "Fonts/") + f).c_str()))
                fonts.push_back(font);
    }
    ~KitWorld() {
        EntSystemShutdown();
        for (Font* f : fonts)
            SharedObjRelease(f);
    }
    std::vector<Font*> fonts;
};

int CountNodes(EntNode* n) {
    int count = 1;
    for (EntNode* c = n->firstChild; c; c = c->next)
        count += CountNodes(c);
    return count;
}

// range(0): 0 cold (nothing else holds the textures), 1 warm (another screen holds them).
void BM_KitBuildScreen(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(256) != 0) return state.SkipWithError("no textures");
    KitWorld world;
    ENTBASE* holder = EntCreateChild("ENTNULL", nullptr);
    if (state.range(0) == 1) BuildKitScreen(holder);
    for (auto _ : state) {
        ENTBASE* menu = EntCreateChild("ENTNULL", nullptr);
        KitScreen s = BuildKitScreen(menu);
        benchmark::DoNotOptimize(s.calls);
        state.PauseTiming();
        EntDestroyTree(menu);
        state.ResumeTiming();
    }
    EntDestroyTree(holder);
    state.SetLabel(state.range(0) ? "warm: shared textures" : "cold: every texture loaded");
}
BENCHMARK(BM_KitBuildScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One pointer move through the menu root's walk: the root, its viewport-less children, the
// screen's controls and the cursor.
void BM_MenuRootEvent(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(256) != 0) return state.SkipWithError("no textures");
    KitWorld world;
    ENTBASE* root = EntCreateChild("MenuRoot", nullptr);
    ENTBASE* menus = EntCreateChild("ENTNULL", root);
    ENTBASE* menu = EntCreateChild("ENTNULL", menus);
    ENTBASE* cursors = EntCreateChild("ENTNULL", root);
    ENTBASE* mouse = EntCreateChild("MouseCursor1", cursors);
    if (!root || !menu || !mouse) return state.SkipWithError("no tree");
    const MouseCursorSetup setup = {"Menu\\MouseCursors.dds", 0, 0, 31, 31, 0, 1020, 0, 764, 4};
    MouseCursorApplySetup(mouse, setup);
    mouse->Start();
    BuildKitScreen(menu);
    const int visited = CountNodes(root->node);
    float x = 0.0f;
    for (auto _ : state) {
        x = x > 1000.0f ? 0.0f : x + 7.0f;
        SlEvent e{SL_MOUSEPOS, SlPackFloat(x), SlPackFloat(400.0f), 0};
        EntTreeSendMessage(root, &e);
    }
    SlEventQueueClear();
    state.SetItemsProcessed(int64_t(state.iterations()) * visited);
    state.counters["entities"] = visited;
    EntDestroyTree(root);
    state.SetLabel("items: entities visited");
}
BENCHMARK(BM_MenuRootEvent)->Unit(benchmark::kNanosecond);
} // namespace
