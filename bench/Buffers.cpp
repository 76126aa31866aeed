// Costs of the vertex and index buffers: a quad as the interface draws it (lock, write, unlock,
// select, draw) on the recording layer with its log off (the kernel's CPU cost) and whole frames
// of quads on OpenGL (Mesa's llvmpipe, offscreen); a redundant select; a mesh draw; the model
// library's bind and draw.
#include "I3d/I3d.h"
#include "I3d/Math/Mat4Math.h"
#include "gi/DynBuf.h"
#include "platform/d3d8/Recording.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

enum class Layer { None, Recording, Gl };

// One kernel at a time with a 1024 x 768 offscreen device and the shared pair made as the
// application makes it; switching layers stops the kernel and starts it again.
bool UseLayer(Layer want) {
    static Layer s_layer = Layer::None;
    static I3dVertexBuffer* s_vb = nullptr;
    static I3dIndexBuffer* s_ib = nullptr;
    if (s_layer == want) return true;
    if (s_layer != Layer::None) {
        I3dVbFree(s_vb);
        I3dIbFree(s_ib);
        I3dStop();
        s_layer = Layer::None;
    }
    if (want == Layer::Recording) {
        D3dRecordingConfig config;
        config.logCalls = false;
        D3dRecordingSetup(config);
        D3dSetCreateEntry(Direct3DCreate8Recording);
    } else {
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    }
    if (I3dStart() != 0 || D3dCreateDevice(0, nullptr, 1, 1024, 768, D3DFMT_X8R8G8B8, 0) != 0) {
        std::fprintf(stderr, "no device: the benchmark is skipped\n");
        I3dStop();
        return false;
    }
    s_vb = I3dVbCreate(0, 71, 4000);
    s_ib = I3dIbCreate(0, 8000);
    I3dVbSetCurrent(s_vb);
    I3dIbSetCurrent(s_ib);
    Mat4 ortho;
    I3dSetProj(Mat4OrthoScreen(&ortho, 1024, 768));
    s_layer = want;
    return true;
}

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
