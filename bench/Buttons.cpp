// Costs of a menu full of graphic buttons: one pointer move through all of them, and drawing
// them (recording layer with its log off for the CPU cost, and llvmpipe).
#include "bench/BenchKernel.h"
#include "engine/EntTree.h"
#include "engine/Input/SlInput.h"
#include "ui/GraphicButton.h"
#include "world/EntNull.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

struct ButtonMenu {
    explicit ButtonMenu(int n) {
        EntSystemShutdown();
        EntSystemInit();
        EntCreateClass(EcNullProc, 0, 0);
        EntCreateClass(EcGraphicButtonProc, 0, 0);
        Ctl3SetDataFolder(FAIRLARK_BUILD_DATA_DIR);
        menu = EntCreateChild("EntNull", nullptr);
        for (int i = 0; i < n && menu; ++i) {
            auto* b = dynamic_cast<GraphicButton*>(EntCreateChild("GraphicButton", menu));
            if (!b) continue;
            b->id = i;
            std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s",
                          "Menu\\Common\\ZobButtonOk.dds");
            b->image.left = 0, b->image.top = 0, b->image.right = 96, b->image.bottom = 56;
            b->width = 97, b->height = 57;
            b->SetPos2D(float(i % 8) * 120.0f + 20.0f, float(i / 8) * 70.0f + 20.0f);
            b->Start();
        }
    }
    ~ButtonMenu() {
        if (menu) EntDestroyTree(menu);
        Ctl3SetFocus(nullptr);
        EntSystemShutdown();
        SlEventQueueClear();
    }
    ENTBASE* menu = nullptr;
};

void BM_ButtonInput(benchmark::State& state) {
    const int n = (int)state.range(0);
    ButtonMenu menu(n);
    // The pointer moves between two buttons, so hover, focus and state change every time.
    const SlEvent moves[2] = {{SL_MOUSEPOS, SlPackFloat(30.0f), SlPackFloat(30.0f), 0},
                              {SL_MOUSEPOS, SlPackFloat(150.0f), SlPackFloat(100.0f), 0}};
    int k = 0;
    for (auto _ : state) {
        SlEvent e = moves[k ^= 1];
        benchmark::DoNotOptimize(EntTreeMessage(menu.menu, &e));
        SlEventQueueClear();
    }
    state.counters["per_control"] = benchmark::Counter(
        (double)n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetLabel("one pointer move; per_control in seconds");
}
BENCHMARK(BM_ButtonInput)->Arg(40);

void DrawButtons(benchmark::State& state, Layer layer, const char* label) {
    if (!UseLayer(layer)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(64) != 0) return state.SkipWithError("no textures");
    ButtonMenu menu((int)state.range(0));
    for (auto _ : state) {
        D3dBeginScene();
        EntTreeDrawPre(menu.menu);
        D3dEndScene();
        D3dPresent();
    }
    state.SetLabel(label);
}

void BM_ButtonDraw(benchmark::State& state) {
    DrawButtons(state, Layer::Recording, "recording layer, log off");
}
BENCHMARK(BM_ButtonDraw)->Arg(40);

void BM_ButtonDrawGl(benchmark::State& state) {
    DrawButtons(state, Layer::Gl, "llvmpipe");
}
BENCHMARK(BM_ButtonDrawGl)->Arg(40)->Unit(benchmark::kMillisecond);

} // namespace
