// Costs of the terrain drawing and its ray tests: one frame of a 512 x 512 terrain whose levels
// do not change (culling, level choice, draw calls) and one where the eye moves so that patches
// are rebuilt, on the recording layer; rays and segments across rough ground.
#include "world/TerrainDraw.h"
#include "BenchKernel.h"
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/Random.h"
#include "world/TerrainObj.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

TerrainObj* Rough(int cells) {
    TerrainObj* t = TerrainCreate(cells, cells);
    CrtSrand(11);
    for (int i = 0; i < (cells + 1) * (cells + 1); ++i)
        t->heights[i] = RandFloat(40.0f);
    TerrainDerive(t);
    TerrainSetScale(t, 2.0f);
    return t;
}

void ViewFrom(VECTOR3 eye) {
    const VECTOR3 at = {512.0f, 0.0f, 512.0f}, up = {0, 1, 0};
    Mat4 view, proj;
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetProj(Mat4Perspective(&proj, 1.2f, 0.75f, 1.0f, 4000.0f));
}

void BM_TerrainDrawSteady(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    TerrainObj* t = Rough(512);
    TerrainDrawInit(t);
    t->lodUnit = 32.0f;
    const VECTOR3 eye = {512.0f, 200.0f, -200.0f};
    ViewFrom(eye);
    t->eye = eye;
    TerrainDraw(t);
    for (auto _ : state)
        TerrainDraw(t);
    state.SetLabel("512 x 512 cells, levels unchanged");
    TerrainFree(t);
}
BENCHMARK(BM_TerrainDrawSteady)->Unit(benchmark::kMicrosecond);

void BM_TerrainDrawMoving(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    TerrainObj* t = Rough(512);
    TerrainDrawInit(t);
    t->lodUnit = 32.0f;
    int frame = 0;
    for (auto _ : state) {
        const VECTOR3 eye = {512.0f + float(frame % 64) * 8.0f, 200.0f, -200.0f};
        ++frame;
        ViewFrom(eye);
        t->eye = eye;
        TerrainDraw(t);
    }
    state.SetLabel("512 x 512 cells, the eye moving 8 units a frame");
    TerrainFree(t);
}
BENCHMARK(BM_TerrainDrawMoving)->Unit(benchmark::kMicrosecond);

void BM_TerrainRay(benchmark::State& state) {
    TerrainObj* t = Rough(512);
    std::vector<VECTOR3> dirs(1024);
    for (VECTOR3& d : dirs)
        d = {RandFloat(2.0f) - 1.0f, -RandFloat(0.5f) - 0.05f, RandFloat(2.0f) - 1.0f};
    const VECTOR3 o = {512.0f, 120.0f, 512.0f};
    size_t i = 0;
    VECTOR3 hit;
    for (auto _ : state)
        benchmark::DoNotOptimize(TerrainRayTest(t, &o, &dirs[i++ & 1023], &hit));
    state.SetLabel("from above the middle of 512 x 512 rough cells");
    TerrainFree(t);
}
BENCHMARK(BM_TerrainRay);

} // namespace
