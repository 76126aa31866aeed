// The management camera's per-frame cost: one update with keys, pad and mouse all active, and
// one step of the vector spring.
#include "I3d/Math/SmoothVector3.h"
#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/Input/SlScanCodes.h"
#include "world/CameraVantor1.h"
#include "world/EntNull.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

void BM_CameraUpdate(benchmark::State& state) {
    EntSystemShutdown();
    EntSystemInit();
    EntCreateClass(EcNullProc, 0, 0);
    EntCreateClass(EcCameraVantor1Proc, 0, 0);
    ENTBASE* root = EntCreateChild("EntNull", nullptr);
    auto* cam = static_cast<CameraVantor1*>(EntCreateChild("CameraVantor1", root));
    cam->Start();
    SlPad* pad = SlPadGetState(0);
    pad->lx = 0.5f;
    pad->rx = 0.2f;
    pad->ry = 0.3f;
    g_frameSeconds = 0.016f;
    const SlEvent events[] = {{SL_KEYDOWN, DIK_W, 0, 0},
                              {SL_KEYDOWN, DIK_D, 0, 0},
                              {SL_KEYDOWN, DIK_E, 0, 0},
                              {SL_MOUSE1DOWN, 0, 0, 0}};
    for (const SlEvent& e : events)
        cam->OnMessage(&e);
    const SlEvent motion = {SL_MOUSEMOVE, 3, -2, 0};
    const SlEvent wheel = {SL_MOUSEWHEEL, 120, 0, 0};
    for (auto _ : state) {
        cam->OnMessage(&motion);
        cam->OnMessage(&wheel);
        cam->Update(0.016f);
        benchmark::DoNotOptimize(cam->pos);
    }
    std::memset(pad, 0, sizeof *pad);
    EntDestroyTree(root);
    EntSystemShutdown();
}
BENCHMARK(BM_CameraUpdate);

void BM_SmoothVector3(benchmark::State& state) {
    SmoothVector3 s;
    s.time = 0.1f;
    float t = 0.0f;
    for (auto _ : state) {
        t += 1.0f;
        s.target = VECTOR3{t, -t, 0.5f * t};
        s.Update(0.016f);
        benchmark::DoNotOptimize(s.value);
    }
}
BENCHMARK(BM_SmoothVector3);

} // namespace
