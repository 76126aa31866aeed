// The list reports: the row walk over a large entity tree (the cost of opening a report) and one
// full page of the power report drawn on llvmpipe (its cost per frame).
#include "I3d/I3d.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/EntBase.h"
#include "engine/EntTree.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/MtGameLinks.h"
#include "ui/Menus/MenuReportBase.h"
#include "ui/Menus/MenuReportRows.h"
#include "world/EntNull.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A tree of `count` entities: the root, 100 groups under it and the rest spread over the
// groups, of which 500 (evenly spaced; fewer in a small tree) are rides.
struct ReportTree {
    ENTBASE* root = nullptr;
    AttrInfo ride;
    int matches = 0;

    explicit ReportTree(int count) {
        EntSystemInit();
        EntCreateClass(EcNullProc, 0, 0);
        if (EntCreateClass(EcAttrBaseProc, 0, 0) == 0) MtGameSetAttrLinks(AttrBaseLinks());
        ride.attrType = ATTR_TYPE_RIDE;
        ride.conAtIdlePower = 6.0f;
        ride.conAtPeakPower = 30.0f;
        const std::u16string name = u"Hammer Spin";
        for (size_t i = 0; i < name.size(); ++i)
            ride.name[i] = name[i];
        root = EntCreateChild("EntNull", nullptr);
        std::vector<ENTBASE*> groups;
        for (int g = 0; g < 100; ++g)
            groups.push_back(EntCreateChild("EntNull", root));
        const int leaves = count - 101 > 0 ? count - 101 : 0;
        const int rides = leaves < 500 ? leaves / 20 : 500;
        for (int j = 0; j < leaves; ++j) {
            ENTBASE* group = groups[size_t(j % 100)];
            const bool isRide = int64_t(j) * rides / leaves != int64_t(j + 1) * rides / leaves;
            if (!isRide) {
                EntCreateChild("EntNull", group);
                continue;
            }
            if (auto* attr = dynamic_cast<AttrBase*>(EntCreateChild("AttrBase", group))) {
                attr->info = &ride;
                attr->inert = true;
                ++matches;
            }
        }
    }
    ~ReportTree() {
        EntDestroyTree(root);
        EntSystemShutdown();
    }
};

void BM_ReportCollect(benchmark::State& state) {
    const int count = int(state.range(0));
    ReportTree tree(count);
    std::vector<EntRef> rows(REPORT_ROWS_MAX);
    int found = 0;
    for (auto _ : state) {
        found = ReportCollect(tree.root, ReportIsRide, rows.data(), REPORT_ROWS_MAX);
        benchmark::DoNotOptimize(found);
    }
    if (found != tree.matches) state.SkipWithError("the walk missed rows");
    state.counters["rows"] = found;
    state.counters["ns/entity"] =
        benchmark::Counter(double(state.iterations()) * double(count),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReportCollect)->Arg(10000)->Unit(benchmark::kMicrosecond);

// One page of ten power rows, its headers and its "Viewing" line with the totals, as the power
// report's list control draws it each frame.
void BM_ReportDrawList(benchmark::State& state) {
    setenv("EGL_PLATFORM", "surfaceless", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    ReportTree tree(500); // 19 rides
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
    Font* font = FontAcquire((std::string(FAIRLARK_BUILD_DATA_DIR) + "Fonts/Georgia_14").c_str());
    if (font) {
        std::vector<EntRef> rows(REPORT_ROWS_MAX);
        const int count = ReportCollect(tree.root, ReportIsPowered, rows.data(), REPORT_ROWS_MAX);
        const ReportPowerTotals totals = ReportSumPower(rows.data(), count);
        const float columns[4] = {160.0f, 410.0f, 510.0f, 610.0f};
        const ReportPowerLayout layout = {240.0f, 620.0f, 280.0f, font->cellHeight + 2.0f, columns};
        ReportDrawSink sink(font);
        for (auto _ : state) {
            D3dClear(D3DCLEAR_TARGET);
            D3dBeginScene();
            ReportPowerCells(sink, layout, rows.data(), count, 0, count < 10 ? count : 10, totals);
            D3dEndScene();
            benchmark::DoNotOptimize(D3dReadPixel(170, 290)); // waits for the frame
        }
        SharedObjRelease(font);
    } else {
        state.SkipWithError("no font");
    }
    I3dVbFree(vb);
    I3dIbFree(ib);
    I3dStop();
}
BENCHMARK(BM_ReportDrawList)->Unit(benchmark::kMicrosecond);

} // namespace
