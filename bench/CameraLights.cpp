// Costs of the kernel's per-node and per-view work on OpenGL (Mesa's llvmpipe, offscreen): a
// world set with its two products and rigid inverse, a box outcode test, a model material
// applied against the skip of the material applied last, and a view change that re-specifies
// 8 enabled lights.
#include "I3d/Device.h"
#include "I3d/I3d.h"
#include "I3d/Math/Mat4Math.h"
#include "platform/d3d8/D3d8.h"
#include "platform/d3d8/GlDevice.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool KernelReady() {
    static int s_state = 0; // 0 not tried, 1 ready, -1 failed
    if (s_state == 0) {
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        s_state = I3dStart() == 0 && I3dTexTableAlloc(16) == 0 &&
                          D3dCreateDevice(0, nullptr, 1, 256, 256, D3DFMT_X8R8G8B8, 0) == 0
                      ? 1
                      : -1;
        if (s_state < 0) std::fprintf(stderr, "no OpenGL device: the benchmarks are skipped\n");
    }
    return s_state > 0;
}

Mat4 Placed(float angle, float x) {
    Mat4 m{};
    m.m[0] = m.m[5] = m.m[10] = m.m[15] = 1.0f;
    Mat4RotateY(&m, angle);
    m.m[12] = x, m.m[13] = 1.0f, m.m[14] = 20.0f;
    return m;
}

void SetCamera() {
    VECTOR3 eye = {0, 5, -10}, at = {0, 0, 20}, up = {0, 1, 0};
    Mat4 view, proj;
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetProj(Mat4Perspective(&proj, 1.0f, 0.75f, 0.1f, 2000.0f));
}

void BM_SetWorld(benchmark::State& state) {
    if (!KernelReady()) return state.SkipWithError("no device");
    SetCamera();
    const Mat4 worlds[2] = {Placed(0.3f, 1.0f), Placed(1.1f, -2.0f)};
    int i = 0;
    for (auto _ : state)
        I3dSetWorld(&worlds[i ^= 1]);
    state.SetLabel("per node: send, 2 products, rigid inverse");
}
BENCHMARK(BM_SetWorld);

void BM_BoxOutcodeTest(benchmark::State& state) {
    if (!KernelReady()) return state.SkipWithError("no device");
    SetCamera();
    Mat4 world = Placed(0.3f, 1.0f);
    I3dSetWorld(&world);
    VECTOR3 lo = {-1, -1, -1}, hi = {1, 2, 1};
    float depth = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(I3dBoxOutcodeTest(&lo, &hi, &depth));
        lo.x += 1e-7f; // a different box each time
    }
}
BENCHMARK(BM_BoxOutcodeTest);

MDL3MTRL BenchMaterial() {
    MDL3MTRL m{};
    for (float* c : {m.ambient, m.diffuse, m.specular, m.emissive})
        c[0] = c[1] = c[2] = c[3] = 1.0f;
    m.shininess = 10.0f;
    m.diffuseSlot = D3dTexCreate(4, 4, I3DTEX_A8R8G8B8, 1, "bench", 0);
    m.bumpSlot = m.detailSlot = -1;
    return m;
}

void BM_ApplyMaterial(benchmark::State& state) {
    if (!KernelReady()) return state.SkipWithError("no device");
    static MDL3MTRL m = BenchMaterial();
    for (auto _ : state)
        I3dApplyMaterial(&m);
    state.SetLabel("states cached: colours and the material reach the device");
}
BENCHMARK(BM_ApplyMaterial);

void BM_SetMaterialSkip(benchmark::State& state) {
    if (!KernelReady()) return state.SkipWithError("no device");
    static MDL3MTRL m = BenchMaterial();
    I3dForgetMaterial();
    I3dSetMaterial(&m);
    for (auto _ : state)
        I3dSetMaterial(&m);
    state.SetLabel("the material applied last");
}
BENCHMARK(BM_SetMaterialSkip);

void BM_ViewChangeWithEightLights(benchmark::State& state) {
    if (!KernelReady()) return state.SkipWithError("no device");
    for (int i = 0; i < 8; ++i) {
        if (I3dLightGet(i)->inUse) continue; // set up by an earlier repetition
        int l = I3dLightAlloc();
        I3dLightSetPosition(l, (float)i, 2.0f, 20.0f);
        I3dLightSetRange(l, 100.0f);
        I3dLightSetAttenuation(l, 1);
    }
    // One lit draw gives the lights their GL lights; a view change then re-specifies all 8.
    SetCamera();
    Mat4 world = Placed(0.0f, 0.0f);
    I3dSetWorld(&world);
    D3dSetLighting(1);
    struct V {
        float x, y, z, nx, ny, nz;
    } tri[3] = {{0, 0, 0, 0, 0, -1}, {1, 0, 0, 0, 0, -1}, {0, 1, 0, 0, 0, -1}};
    IDirect3DDevice8* dev = D3dDevice();
    dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL);
    D3dBeginScene();
    dev->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, tri, sizeof(V));
    D3dEndScene();
    auto* gl = dynamic_cast<D3dGlDevice*>(dev);
    int placed = 0;
    for (int g = 0; gl && g < gl->GlLightCount(); ++g)
        placed += gl->GlLightIndex(g) >= 0 ? 1 : 0;
    if (placed != 8) return state.SkipWithError("the draw did not place 8 lights");
    Mat4 views[2];
    VECTOR3 eyes[2] = {{0, 5, -10}, {3, 4, -9}}, at = {0, 0, 20}, up = {0, 1, 0};
    Mat4LookAt(&views[0], &eyes[0], &at, &up);
    Mat4LookAt(&views[1], &eyes[1], &at, &up);
    int i = 0;
    for (auto _ : state)
        I3dSetView(&views[i ^= 1]);
    glFinish();
    state.SetLabel("per view change");
}
BENCHMARK(BM_ViewChangeWithEightLights)->Unit(benchmark::kMicrosecond);

} // namespace
