// Costs of the device kernel and the render-state cache on OpenGL (Mesa's llvmpipe, offscreen):
// a redundant setter, a state change that reaches GL, an empty 1024 x 768 frame, and 1,000 quads
// through DrawPrimitiveUP (the baseline for the vertex-buffer work).
#include "I3d/Device.h"
#include "I3d/I3d.h"
#include "I3d/Math/Mat4Math.h"
#include "platform/d3d8/D3d8.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

// One kernel and one 1024 x 768 offscreen device for the whole program.
bool KernelReady() {
    static int s_state = 0; // 0 not tried, 1 ready, -1 failed
    if (s_state == 0) {
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        s_state =
            I3dStart() == 0 && D3dCreateDevice(0, nullptr, 1, 1024, 768, D3DFMT_X8R8G8B8, 0) == 0
                ? 1
                : -1;
        if (s_state < 0) std::fprintf(stderr, "no OpenGL device: the benchmarks are skipped\n");
    }
    return s_state > 0;
}

void BM_RedundantSetter(benchmark::State& state) {
    if (!KernelReady()) return state.SkipWithError("no device");
    D3dSetCullMode(D3DCULL_CCW);
    for (auto _ : state)
        D3dSetCullMode(D3DCULL_CCW);
}
BENCHMARK(BM_RedundantSetter)->Iterations(10000000);

void BM_StateChangeReachingGl(benchmark::State& state) {
    if (!KernelReady()) return state.SkipWithError("no device");
    DWORD mode = D3DCULL_NONE;
    for (auto _ : state) {
        mode = mode == D3DCULL_NONE ? D3DCULL_CCW : D3DCULL_NONE;
        D3dSetCullMode(mode);
    }
}
BENCHMARK(BM_StateChangeReachingGl);

void BM_EmptyFrame1024x768(benchmark::State& state) {
    if (!KernelReady()) return state.SkipWithError("no device");
    D3dSetClearColor(0.2f, 0.4f, 0.6f);
    for (auto _ : state) {
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
        D3dBeginScene();
        D3dEndScene();
        D3dPresent();
        glFinish(); // the frame's work, not only its submission
    }
    state.SetLabel("per frame");
}
BENCHMARK(BM_EmptyFrame1024x768)->Unit(benchmark::kMillisecond);

void BM_ThousandQuadsUp(benchmark::State& state) {
    if (!KernelReady()) return state.SkipWithError("no device");
    struct V {
        float x, y, z;
        D3DCOLOR c;
    };
    static V quads[1000][4];
    for (int i = 0; i < 1000; ++i) {
        float x = (float)(i % 40) * 25.0f, y = (float)(i / 40) * 30.0f;
        D3DCOLOR c = 0xFF000000u | (DWORD)(i * 2654435761u >> 8);
        quads[i][0] = {x, y, 0.5f, c};
        quads[i][1] = {x + 20, y, 0.5f, c};
        quads[i][2] = {x + 20, y + 20, 0.5f, c};
        quads[i][3] = {x, y + 20, 0.5f, c};
    }
    IDirect3DDevice8* dev = D3dDevice();
    Mat4 ortho;
    Mat4OrthoScreen(&ortho, 1024, 768);
    dev->SetTransform(D3DTS_PROJECTION, &ortho);
    D3dSetLighting(0);
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetColorArg1(0, D3DTA_DIFFUSE);
    dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    for (auto _ : state) {
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
        D3dBeginScene();
        for (auto& q : quads)
            dev->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, q, sizeof(V));
        D3dEndScene();
        D3dPresent();
        glFinish();
    }
    state.SetLabel("per frame of 1,000 quads");
}
BENCHMARK(BM_ThousandQuadsUp)->Unit(benchmark::kMillisecond);

} // namespace
