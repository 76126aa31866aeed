// The load screens: one fill of the career table from a save folder of 100 or 500 careers (a
// folder search and one ini read each), and one full page of the list drawn on llvmpipe.
#include "I3d/I3d.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/EntTree.h"
#include "engine/Script/ScriptMgr.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "ui/Ctl3Base.h"
#include "ui/Menus/MenuLoadCareer.h"
#include "world/EntNull.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {
const std::string kBuildData = FAIRLARK_BUILD_DATA_DIR;

struct CareerFolder {
    explicit CareerFolder(int count) {
        char folder[] = "/tmp/fairlark-loadlist-bench-XXXXXX";
        if (mkdtemp(folder)) root = folder;
        // The save folder is fixed when the game's class registers.
        setenv("HOME", root.c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", root.c_str(), 1);
        EntSystemShutdown();
        EntSystemInit();
        for (EntClassProc proc : {EcNullProc, EcMtGameProc, EcMenuLoadCareerProc})
            EntCreateClass(proc, 0, 0);
        Ctl3SetDataFolder(kBuildData.c_str());
        top = EntCreateChild("EntNull", nullptr);
        EntCreateChild("MtGame", top);
        const std::string saves = MtGameSaveFolder();
        mkdir(saves.c_str(), 0755);
        char name[32];
        for (int i = 0; i < count; ++i) {
            std::snprintf(name, sizeof name, "Career%04i", i);
            mkdir((saves + name).c_str(), 0755);
            std::ofstream(saves + name + "/" + name + ".car")
                << "[Career]\ncash=" << 100000 + i << "\ndaysRun=" << i << "\n";
        }
        menu = dynamic_cast<MenuLoadCareer*>(EntCreateChild("MenuLoadCareer", top));
    }
    ~CareerFolder() {
        EntSystemShutdown();
        ScriptMgrDestroy();
        if (!root.empty()) {
            const std::string command = "rm -rf '" + root + "'";
            if (std::system(command.c_str()) != 0)
                std::fprintf(stderr, "%s failed\n", command.c_str());
        }
    }
    std::string root;
    ENTBASE* top = nullptr;
    MenuLoadCareer* menu = nullptr;
};

void BM_LoadCareerList(benchmark::State& state) {
    const int count = int(state.range(0));
    CareerFolder folder(count);
    if (!folder.menu) return state.SkipWithError("no menu");
    for (auto _ : state) {
        folder.menu->Fill();
        benchmark::DoNotOptimize(folder.menu->entries.data());
    }
    if (int(folder.menu->entries.size()) != count) state.SkipWithError("the fill missed rows");
    state.counters["rows"] = double(folder.menu->entries.size());
}
BENCHMARK(BM_LoadCareerList)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

// A page of twelve career rows and the headers, as the list's drawing control draws it.
void BM_LoadListDraw(benchmark::State& state) {
    setenv("EGL_PLATFORM", "surfaceless", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    CareerFolder folder(20);
    if (!folder.menu) return state.SkipWithError("no menu");
    if (I3dStart() != 0 || I3dTexTableAlloc(64) != 0 ||
        D3dCreateDevice(0, nullptr, 1, 1024, 768, D3DFMT_X8R8G8B8, I3D_DEVICE_LOCKABLE) != 0) {
        I3dStop();
        return state.SkipWithError("no GL device");
    }
    I3dVertexBuffer* vb = I3dVbCreate(0, 71, 4000);
    I3dIndexBuffer* ib = I3dIbCreate(0, 8000);
    I3dVbSetCurrent(vb);
    I3dIbSetCurrent(ib);
    Mat4 identity, ortho;
    I3dSetWorld(Mat4Identity(&identity));
    I3dSetView(&identity);
    I3dSetProj(Mat4OrthoScreen(&ortho, 1024, 768));
    Font* font = FontAcquire((kBuildData + "Fonts/Georgia_14").c_str());
    if (font) {
        folder.menu->font = font;
        folder.menu->list.rowHeight = font->cellHeight + 2.0f;
        for (auto _ : state) {
            D3dClear(D3DCLEAR_TARGET);
            D3dBeginScene();
            folder.menu->DrawList();
            D3dEndScene();
            benchmark::DoNotOptimize(D3dReadPixel(170, 290)); // waits for the frame
        }
        folder.menu->font = nullptr;
        SharedObjRelease(font);
    } else {
        state.SkipWithError("no font");
    }
    I3dVbFree(vb);
    I3dIbFree(ib);
    I3dStop();
}
BENCHMARK(BM_LoadListDraw)->Unit(benchmark::kMicrosecond);

} // namespace
