// Costs of the ride animators. BM_RideAnimTick/N ticks N ride animators cycling through their
// run states one frame and reports the time per animator ("time_per_animator").
//
// BM_AnimatorTick/62 ticks one animator of every shipped type one frame in its running state
// ("time_per_animator"); BM_AnimatorDraw/62 draws the same animators' generated models on the
// recording device, overrides set and cleared around each draw ("time_per_override").
#include "I3d/Device.h"
#include "I3d/I3d.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Textures.h"
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/RideAnimNodes.h"
#include "game/Ents/RideAnimSpin.h"
#include "game/Ents/RideAnimStand.h"
#include "game/MtPowerGrid.h"
#include "game/RideAnimCore.h"
#include "platform/d3d8/D3d8.h"
#include "platform/d3d8/Recording.h"
#include "tests/game/FakeRide.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

void BM_RideAnimTick(benchmark::State& state) {
    const int n = (int)state.range(0);
    CrtSrand(1);
    RideTree tree;
    MtPowerGrid* grid = tree.MakeGrid();
    grid->numSlots = n + 1;
    grid->Start();
    MtPowerGridUse(grid, tree.root, 1000.0f, 0.0f);
    AttrInfo info;
    info.conAtIdlePower = 1.0f;
    info.conAtPeakPower = 4.0f;
    info.duration = 0.5f;
    std::vector<std::unique_ptr<RideAnimCore>> anims;
    for (int i = 0; i < n; ++i) {
        anims.push_back(std::make_unique<RideAnimCore>());
        anims.back()->Init(&info, "", tree.MakeRide(grid));
    }
    for (auto _ : state) {
        for (auto& a : anims) {
            if (a->runState == RIDE_IDLE) RideAnimSetState(a.get(), RIDE_START);
            a->Tick(0.033f);
        }
        benchmark::DoNotOptimize(grid->load);
    }
    state.counters["time_per_animator"] = benchmark::Counter(
        (double)state.iterations() * n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RideAnimTick)->Arg(300)->Unit(benchmark::kMicrosecond);

} // namespace

// ---- ride animators by model ----

namespace {

// One animator of every shipped type on stand-in attractions, their models read from the
// build's data.
struct ShippedAnimators {
    explicit ShippedAnimators(int n) {
        CrtSrand(1);
        grid = tree.MakeGrid();
        grid->numSlots = n + 1;
        grid->Start();
        MtPowerGridUse(grid, tree.root, 100000.0f, 0.0f);
        types.reset(AttrInfoList::Load(FAIRLARK_BUILD_DATA_DIR "Data.ini"));
        const int count = types ? std::min(n, types->Count()) : 0;
        for (int t = 0; t < count; ++t) {
            AttrInfo* info = types->Get(t);
            info->duration = 1e9f; // running for the whole run
            anims.emplace_back(static_cast<RideAnim*>(
                AttrBaseBuildAnimator(t, info, FAIRLARK_BUILD_DATA_DIR, tree.MakeRide(grid))));
        }
    }
    void Run() {
        for (auto& a : anims)
            if (a->runState != RIDE_RUNNING) RideAnimSetState(a.get(), RIDE_RUNNING);
    }
    RideTree tree;
    MtPowerGrid* grid = nullptr;
    std::unique_ptr<AttrInfoList> types;
    std::vector<std::unique_ptr<RideAnim>> anims;
};

int OverrideCount(RideAnim* anim) {
    if (!anim->model) return 0;
    if (auto* ride = dynamic_cast<RideAnimSpin*>(anim)) return ride->nodes.FoundCount();
    if (auto* stand = dynamic_cast<RideAnimStand*>(anim)) return stand->nodes.FoundCount();
    return 1; // the drop tower's trolley; the carousel is counted as a ride
}

} // namespace

void BM_AnimatorTick(benchmark::State& state) {
    ShippedAnimators set((int)state.range(0));
    set.Run();
    for (auto _ : state) {
        for (auto& a : set.anims) {
            a->Tick(0.033f);
            if (a->runState != RIDE_RUNNING) RideAnimSetState(a.get(), RIDE_RUNNING);
        }
        benchmark::DoNotOptimize(set.grid->load);
    }
    state.counters["time_per_animator"] =
        benchmark::Counter((double)state.iterations() * (double)set.anims.size(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AnimatorTick)->Arg(62);

void BM_AnimatorDraw(benchmark::State& state) {
    D3dRecordingSetup(D3dRecordingConfig{});
    D3dSetCreateEntry(Direct3DCreate8Recording);
    if (I3dStart() != 0 ||
        D3dCreateDevice(0, nullptr, 1, 1024, 768, D3DFMT_X8R8G8B8, I3D_DEVICE_LOCKABLE) != 0) {
        state.SkipWithError("no recording device");
        return;
    }
    I3dTexTableAlloc(256);
    Mat4 proj, view, world;
    I3dSetProj(Mat4Perspective(&proj, 1.5707963f, 0.75f, 0.1f, 300000.0f));
    VECTOR3 eye = {0, 20, -30}, at = {0, 0, 0}, up = {0, 1, 0};
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetEyePos(&eye);
    Mat4Identity(&world);
    {
        ShippedAnimators set((int)state.range(0));
        set.Run();
        int overrides = 0;
        for (auto& a : set.anims) {
            a->Tick(1.0f);
            overrides += OverrideCount(a.get());
        }
        for (auto _ : state) {
            for (auto& a : set.anims)
                a->Draw(&world);
            state.PauseTiming();
            D3dRecordingLog().Clear();
            state.ResumeTiming();
        }
        state.counters["time_per_override"] =
            benchmark::Counter((double)state.iterations() * overrides,
                               benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
        state.counters["overrides"] = overrides;
    }
    I3dTexTableFree();
    I3dStop();
}
BENCHMARK(BM_AnimatorDraw)->Arg(62)->Unit(benchmark::kMicrosecond);
