// Costs of the vertex and index buffers: a quad as the interface draws it (lock, write, unlock,
// select, draw) on the recording layer with its log off (the kernel's CPU cost) and whole frames
// of quads on OpenGL (Mesa's llvmpipe, offscreen); a redundant select; a mesh draw; the model
// library's bind and draw.
#include "bench/BenchKernel.h"
#include "gi/Render/DynBuf.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

namespace {

void BM_QuadKernelCost(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    float x = 0;
    for (auto _ : state) {
        I3dDrawQuad(x, 10, x + 20, 30, 0.5f);
        x = x < 1000 ? x + 1 : 0;
    }
    state.SetLabel("per quad, recording layer, log off");
}
BENCHMARK(BM_QuadKernelCost);

// A frame of quads in one colour, or each in its own (the texture factor set per quad, as the
// interface's colours are).
void BM_FrameOfQuadsGl(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) return state.SkipWithError("no device");
    Shader* solid = ShaderSolidColorAcquire();
    const int quads = (int)state.range(0);
    const bool colourEach = state.range(1) != 0;
    for (auto _ : state) {
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
        D3dBeginScene();
        ShaderParams.words[0] = 0xFF808080u;
        solid->CallPass(0);
        for (int i = 0; i < quads; ++i) {
            float x = (float)(i % 40) * 25.0f, y = (float)(i / 40) * 30.0f;
            if (colourEach) {
                ShaderParams.words[0] = 0xFF000000u | (uint32_t)(i * 2654435761u >> 8);
                solid->CallPass(0);
            }
            I3dDrawQuad(x, y, x + 20, y + 20, 0.5f);
        }
        D3dEndScene();
        D3dPresent();
        glFinish(); // the frame's work, not only its submission
    }
    state.SetLabel(colourEach ? "per frame, a colour per quad" : "per frame, one colour");
}
BENCHMARK(BM_FrameOfQuadsGl)
    ->Args({300, 0})
    ->Args({300, 1})
    ->Args({1000, 0})
    ->Unit(benchmark::kMillisecond);

void BM_RedundantSelect(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    I3dVbSelectCurrent();
    for (auto _ : state)
        I3dVbSelectCurrent();
}
BENCHMARK(BM_RedundantSelect);

void BM_MeshDraw(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    MeshBuf mesh;
    if (!mesh.Create(35, 24, 12)) return state.SkipWithError("no mesh");
    for (auto _ : state)
        mesh.Draw();
    mesh.Destroy();
    state.SetLabel("12 triangles, recording layer, log off");
}
BENCHMARK(BM_MeshDraw);

void BM_LibraryBindAndDraw(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    DynVertexBuf vb(true, 37, 1600);
    DynIndexBuf ib(true, 2400);
    if (!vb.Lock(400) || !ib.Lock(600)) return state.SkipWithError("no buffers");
    vb.Unlock();
    ib.Unlock();
    for (auto _ : state) {
        DynBufBind(&vb, &ib);
        DynDrawIndexed(D3DPT_TRIANGLELIST, 200, 400);
    }
    state.SetLabel("the bound pair again: a compare and the draw");
}
BENCHMARK(BM_LibraryBindAndDraw);

} // namespace
