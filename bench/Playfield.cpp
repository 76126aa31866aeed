// The test board's worst case: DrawPre of a 256 x 256 board with every tile marked (the floor,
// 65,536 overlay draws and the cursor) on llvmpipe, and on the recording layer with its log off
// for the CPU side alone.
#include "I3d/Camera.h"
#include "I3d/Lights.h"
#include "bench/BenchKernel.h"
#include "engine/EntTree.h"
#include "world/EntNull.h"
#include "world/Playfield1.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

namespace {

constexpr int kDim = 256;

// A registry with the board's class made on the device in use, and a fully marked board.
struct Board {
    ENTBASE* root = nullptr;
    Playfield1* field = nullptr;
    Board() {
        EntSystemShutdown();
        EntSystemInit();
        EntCreateClass(EcNullProc, 0, 0);
        EntCreateClass(EcPlayfield1Proc, 0, 0);
        root = EntCreateChild("EntNull", nullptr);
        field = static_cast<Playfield1*>(EntCreateChild("Playfield1", root));
        field->dimX = field->dimY = kDim;
        field->tileSize = 1.0f;
        field->Start();
        for (int i = 0; i < kDim * kDim; ++i)
            field->cells[i] = 1;
        // Straight down from above the middle, the whole board in view.
        Mat4 view, proj;
        const VECTOR3 eye = {0, 300, 0}, at = {0, 0, 0}, up = {0, 0, 1};
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, 1.0f, 0.75f, 1.0f, 1000.0f));
        D3dSetAmbient(1, 1, 1);
    }
    ~Board() {
        EntDestroyTree(root);
        EntSystemShutdown();
    }
};

void Report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kDim * kDim);
    // Seconds per marked tile (shown with its SI prefix).
    state.counters["per_marked_tile"] =
        benchmark::Counter(double(kDim * kDim), benchmark::Counter::kIsIterationInvariantRate |
                                                    benchmark::Counter::kInvert);
}

void BM_PlayfieldAllMarkedLlvmpipe(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) {
        state.SkipWithError("no device");
        return;
    }
    {
        Board board;
        for (auto _ : state) {
            D3dBeginScene();
            D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
            board.field->DrawPre();
            D3dEndScene();
            D3dPresent();
            glFinish(); // the frame's work, not only its submission
        }
        Report(state);
        state.SetLabel("256 x 256 board, every tile marked, llvmpipe 1024 x 768");
    }
    UseLayer(Layer::Recording);
}
BENCHMARK(BM_PlayfieldAllMarkedLlvmpipe)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PlayfieldAllMarkedCpu(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) {
        state.SkipWithError("no device");
        return;
    }
    Board board;
    for (auto _ : state)
        board.field->DrawPre();
    Report(state);
    state.SetLabel("256 x 256 board, every tile marked, recording layer with its log off");
}
BENCHMARK(BM_PlayfieldAllMarkedCpu)->Unit(benchmark::kMillisecond);

} // namespace
