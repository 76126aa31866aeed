// Costs of the career screens: typing into a "Georgia_20" edit line (every character measured
// against the box), and a new career from its Start click to the summary's creation, with the
// career file written whole into a temporary save folder.
#include "bench/BenchKernel.h"
#include "engine/EntTree.h"
#include "engine/Input/SlInput.h"
#include "engine/Script/ScriptMgr.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "ui/AnimGraphic.h"
#include "ui/EditLine.h"
#include "ui/GraphicButton.h"
#include "ui/Menus/MenuCareerSummary.h"
#include "ui/Menus/MenuNewCareer.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "world/EntNull.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
const std::string kBuildData = FAIRLARK_BUILD_DATA_DIR;

struct CareerWorld {
    CareerWorld() {
        char folder[] = "/tmp/fairlark-career-bench-XXXXXX";
        if (mkdtemp(folder)) root = folder;
        // The save folder is fixed when the game's class registers.
        setenv("HOME", root.c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", root.c_str(), 1);
        EntSystemShutdown();
        EntSystemInit();
        for (EntClassProc proc : {EcNullProc, EcGraphicButtonProc, EcStaticTextProc,
                                  EcStaticGraphicProc, EcAnimGraphicProc, EcEditLineProc,
                                  EcMtGameProc, EcMenuNewCareerProc, EcMenuCareerSummaryProc})
            EntCreateClass(proc, 0, 0);
        Ctl3SetDataFolder(kBuildData.c_str());
        font = FontAcquire((kBuildData + "Fonts/Georgia_20").c_str());
    }
    ~CareerWorld() {
        EntSystemShutdown();
        ScriptMgrDestroy();
        if (font) SharedObjRelease(font);
        if (!root.empty()) {
            const std::string command = "rm -rf '" + root + "'";
            if (std::system(command.c_str()) != 0)
                std::fprintf(stderr, "%s failed\n", command.c_str());
        }
    }
    std::string root;
    Font* font = nullptr;
};

void BM_EditLineType(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(64) != 0) return state.SkipWithError("no textures");
    CareerWorld world;
    ENTBASE* menu = EntCreateChild("EntNull", nullptr);
    auto* field = dynamic_cast<EditLine*>(EntCreateChild("EditLine", menu));
    if (!field) return state.SkipWithError("no field");
    if (!world.font) return state.SkipWithError("no font");
    field->SetFont(world.font);
    field->width = 1.0e6f; // every character fits: the measuring is the cost
    field->Press();
    SlEvent e{SL_CHAR, 0, 0, 0};
    for (auto _ : state) {
        field->SetText("");
        for (int i = 0; i < 64; ++i) {
            e.a = 'a' + i % 26;
            field->OnMessage(&e);
        }
        SlEventQueueClear();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 64);
    state.SetLabel("items: characters");
    EntDestroyTree(menu);
}
BENCHMARK(BM_EditLineType)->Unit(benchmark::kMicrosecond);

void BM_NewCareer(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(256) != 0) return state.SkipWithError("no textures");
    CareerWorld world;
    ENTBASE* root = EntCreateChild("ENTNULL", nullptr);
    ENTBASE* game = EntCreateChild("MtGame", root);
    ENTBASE* menus = EntCreateChild("ENTNULL", root);
    if (!game || !menus) return state.SkipWithError("no game");
    game->Start();
    SlEvent start{CTL3_EVENT, 1, CTL3_CLICK, 0};
    for (auto _ : state) {
        state.PauseTiming();
        MenuNewCareer* screen = MenuNewCareerOpen(menus);
        state.ResumeTiming();
        if (!screen) return state.SkipWithError("no screen");
        screen->OnMessage(&start);
        screen->Update(0.0f); // saves, opens the summary and goes
        state.PauseTiming();
        if (ENTBASE* summary = EntTreeFindName(menus, "MenuCareerSummary")) EntDestroyTree(summary);
        ScriptMgrUpdate(0.0f);
        SlEventQueueClear();
        MtGameDeleteCareer("New Player"); // the next Start asks no question
        state.ResumeTiming();
    }
    EntDestroyTree(root);
    state.SetLabel("Start to summary, with the career file written");
}
BENCHMARK(BM_NewCareer)->Unit(benchmark::kMillisecond);
} // namespace
