// Costs of the menu framework: one input event walked through "Menus" holding three menus of
// about 100 controls in all, and a screen change (a kit screen with its script made, then
// destroyed).
#include "bench/BenchKernel.h"
#include "engine/EntBase.h"
#include "engine/EntTree.h"
#include "engine/Input/SlInput.h"
#include "engine/Script/ScriptMgr.h"
#include "tests/ui/KitScreen.h"
#include "ui/GraphicCheckBox.h"
#include "ui/Menu3Base.h"
#include "ui/Slider.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"
#include "ui/TextButton.h"
#include "ui/TextCheckBox.h"
#include "world/EntNull.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
const char* const kFonts[3] = {"Georgia_20", "Georgia_16", "Georgia_14"};
const std::string kBuildData = FAIRLARK_BUILD_DATA_DIR;
const std::string kScriptData = FAIRLARK_SOURCE_DIR "/tests/data/ui/";

// A kit screen built the way every concrete menu is: its script first (from the tests' data),
// then the kit's controls (from the build's data).
class BenchMenu : public Menu3Base {
  public:
    int Create(EntNode* n) override {
        static const char* const kNames[] = {"C_A", "C_B", "C_C"};
        Ctl3SetDataFolder(kScriptData.c_str());
        MenuCreateConcrete(this, n, MenuNames{kNames, 3, true}, "Menu\\Test\\Plain.lua");
        Ctl3SetDataFolder(kBuildData.c_str());
        BuildKitScreen(this);
        MenuFinishConcrete(this, "BenchMenu");
        return 1;
    }
};

intptr_t BenchMenuProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "BenchMenu");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new BenchMenu, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}

struct MenuWorld {
    MenuWorld() {
        EntSystemShutdown();
        EntSystemInit();
        for (EntClassProc proc :
             {EcNullProc, EcGraphicButtonProc, EcGraphicCheckBoxProc, EcTextCheckBoxProc,
              EcTextButtonProc, EcStaticTextProc, EcStaticTextBoxProc, EcStaticGraphicProc,
              EcAnimGraphicProc, EcSliderProc, BenchMenuProc})
            EntCreateClass(proc, 0, 0);
        Ctl3SetDataFolder(kBuildData.c_str());
        for (const char* f : kFonts)
            if (Font* font = FontAcquire((kBuildData + "Fonts/" + f).c_str()))
                fonts.push_back(font);
    }
    ~MenuWorld() {
        EntSystemShutdown();
        ScriptMgrDestroy();
        for (Font* f : fonts)
            SharedObjRelease(f);
    }
    std::vector<Font*> fonts;
};

int CountControls(ENTBASE* menus) {
    int n = 0;
    for (EntNode* m = menus->node->firstChild; m; m = m->next)
        for (EntNode* c = m->firstChild; c; c = c->next)
            ++n;
    return n;
}

// One pointer move through "Menus": the first two menus inactive (dialog callers), the last one
// active, as while a question is open.
void BM_MenuWalk(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(256) != 0) return state.SkipWithError("no textures");
    MenuWorld world;
    ENTBASE* menus = EntCreateChild("ENTNULL", nullptr);
    Menu3Base* made[3] = {};
    for (Menu3Base*& m : made)
        m = MenuOpen("BenchMenu", menus, nullptr);
    if (!made[2]) return state.SkipWithError("no menus");
    if (state.range(0) == 1) {
        made[0]->ClearActive();
        made[1]->ClearActive();
    }
    const int controls = CountControls(menus);
    float x = 0.0f;
    for (auto _ : state) {
        x = x > 1000.0f ? 0.0f : x + 7.0f;
        SlEvent e{SL_MOUSEPOS, SlPackFloat(x), SlPackFloat(400.0f), 0};
        benchmark::DoNotOptimize(EntTreeSendMessage(menus, &e));
    }
    SlEventQueueClear();
    state.SetItemsProcessed(int64_t(state.iterations()) * controls);
    state.counters["controls"] = controls;
    EntDestroyTree(menus);
    state.SetLabel(state.range(0) ? "items: controls; two callers inactive"
                                  : "items: controls; all active");
}
BENCHMARK(BM_MenuWalk)->Arg(0)->Arg(1)->Unit(benchmark::kNanosecond);

// A screen change: the kit screen with its script made under "Menus", then destroyed (its
// script released and freed by the next update).
void BM_MenuOpenClose(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(256) != 0) return state.SkipWithError("no textures");
    MenuWorld world;
    ENTBASE* menus = EntCreateChild("ENTNULL", nullptr);
    // Another screen holds the textures, as the screen being left does.
    ENTBASE* holder = EntCreateChild("ENTNULL", nullptr);
    BuildKitScreen(holder);
    for (auto _ : state) {
        Menu3Base* m = MenuOpen("BenchMenu", menus, nullptr);
        benchmark::DoNotOptimize(m);
        EntDestroyTree(m);
        ScriptMgrUpdate(0.0f);
        SlEventQueueClear();
    }
    EntDestroyTree(holder);
    EntDestroyTree(menus);
    state.SetLabel("one screen made and destroyed");
}
BENCHMARK(BM_MenuOpenClose)->Unit(benchmark::kMicrosecond);
} // namespace
