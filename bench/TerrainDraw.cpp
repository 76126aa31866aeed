// Costs of the terrain drawing and its ray tests: a frame of a 512 x 512 terrain with the camera
// flying across it (box tests, levels, rebuilds, draw calls) on the recording layer and on
// llvmpipe, one frame whose levels do not change, one patch rebuild at full detail, and rays:
// random ones from above and the worst one, shallow and diagonal across the whole grid.
#include "world/TerrainDraw.h"
#include "BenchKernel.h"
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/Random.h"
#include "world/TerrainObj.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <vector>

namespace {

TerrainObj* Rough(int cells, float amplitude = 40.0f) {
    TerrainObj* t = TerrainCreate(cells, cells);
    CrtSrand(11);
    for (int i = 0; i < (cells + 1) * (cells + 1); ++i)
        t->heights[i] = RandFloat(amplitude);
    TerrainDerive(t);
    TerrainSetScale(t, 2.0f);
    return t;
}

void ViewFrom(VECTOR3 eye, VECTOR3 at) {
    const VECTOR3 up = {0, 1, 0};
    Mat4 view, proj;
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetProj(Mat4Perspective(&proj, 1.2f, 0.75f, 1.0f, 4000.0f));
}

// The camera flies across the 1024-unit terrain at 120 units above it, 8 units a frame, looking
// ahead and down; the flight wraps round.
void FlyFrame(TerrainObj* t, int frame) {
    const float along = float(frame * 8 % 1400) - 200.0f;
    const VECTOR3 eye = {along, 120.0f, along * 0.6f + 100.0f};
    ViewFrom(eye, {eye.x + 300.0f, 0.0f, eye.z + 180.0f});
    t->eye = eye;
    TerrainDraw(t);
}

void BM_TerrainDrawCpu(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    TerrainObj* t = Rough(512);
    TerrainDrawInit(t);
    t->lodUnit = 32.0f;
    int frame = 0;
    for (auto _ : state)
        FlyFrame(t, frame++);
    state.SetLabel("512 x 512 cells, the camera flying across");
    TerrainFree(t);
}
BENCHMARK(BM_TerrainDrawCpu)->Unit(benchmark::kMicrosecond);

void BM_TerrainDrawLlvmpipe(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) return state.SkipWithError("no device");
    TerrainObj* t = Rough(512);
    TerrainDrawInit(t);
    t->lodUnit = 32.0f;
    int frame = 0;
    for (auto _ : state) {
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
        D3dBeginScene();
        FlyFrame(t, frame++);
        D3dEndScene();
        D3dPresent();
        glFinish(); // the frame's work, not only its submission
    }
    state.SetLabel("512 x 512 cells, the camera flying across, 1024 x 768");
    TerrainFree(t);
}
BENCHMARK(BM_TerrainDrawLlvmpipe)->Unit(benchmark::kMillisecond);

void BM_TerrainDrawSteady(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    TerrainObj* t = Rough(512);
    TerrainDrawInit(t);
    t->lodUnit = 32.0f;
    const VECTOR3 eye = {512.0f, 200.0f, -200.0f};
    ViewFrom(eye, {512.0f, 0.0f, 512.0f});
    t->eye = eye;
    TerrainDraw(t);
    for (auto _ : state)
        TerrainDraw(t);
    state.SetLabel("512 x 512 cells, levels unchanged");
    TerrainFree(t);
}
BENCHMARK(BM_TerrainDrawSteady)->Unit(benchmark::kMicrosecond);

// One patch of 33 x 33 vertices rewritten each time: its level is forgotten, so the draw gives
// its buffer back and takes it again, and the frame around it is one box test and one draw.
void BM_TerrainPatchRebuild(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    TerrainObj* t = Rough(32);
    TerrainDrawInit(t);
    t->lodUnit = 32.0f;
    const VECTOR3 eye = {32.0f, 40.0f, 32.0f};
    ViewFrom(eye, {32.0f, 0.0f, 33.0f});
    t->eye = eye;
    TerrainDraw(t);
    for (auto _ : state) {
        t->patches[0].levelBuilt = -1;
        TerrainDraw(t);
    }
    state.SetLabel("1089 vertices");
    TerrainFree(t);
}
BENCHMARK(BM_TerrainPatchRebuild)->Unit(benchmark::kMicrosecond);

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

// Just above ground sloping down along the diagonal, corner to corner, meeting it only near the
// far corner: the walk crosses about a thousand cells (the lens flare and the hover pick send
// such rays every frame when the camera looks along the ground).
void BM_TerrainRayWorst(benchmark::State& state) {
    TerrainObj* t = TerrainCreate(512, 512);
    for (int z = 0; z <= 512; ++z)
        for (int x = 0; x <= 512; ++x)
            t->heights[z * 513 + x] = float(1024 - x - z) * 0.05f;
    TerrainDerive(t);
    TerrainSetScale(t, 2.0f); // world height 102.4 - 0.05 (x + z)
    const VECTOR3 o = {1.0f, 102.4f - 0.12f + 0.8f, 1.4f};
    const VECTOR3 d = {1.0f, -0.1f - 0.9f / 1024.0f, 1.0f};
    VECTOR3 hit{};
    int answer = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(answer = TerrainRayTest(t, &o, &d, &hit));
    state.SetLabel(answer == 1 && hit.x > 800.0f ? "about 1000 cells walked"
                                                 : "the ray ended early: the figure means little");
    TerrainFree(t);
}
BENCHMARK(BM_TerrainRayWorst)->Unit(benchmark::kMicrosecond);

} // namespace
