// The test board's costs: the block's DrawPre of a full 8 x 8 x 8 cube (512 sub-cube draws) on
// llvmpipe, and one step of the observer's shadow-map bake with the read-back of the frame last
// presented (the per-frame stall a bake adds).
#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "I3d/Image.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/StateCache.h"
#include "bench/BenchKernel.h"
#include "engine/EntTree.h"
#include "world/Cube1.h"
#include "world/EntNull.h"
#include "world/Observer2.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

namespace {

// A registry with the block's and the observer's classes made on the device in use.
struct Board {
    ENTBASE* root = nullptr;
    Cube1* cube = nullptr;
    Observer2* observer = nullptr;
    Board() {
        EntSystemShutdown();
        EntSystemInit();
        EntCreateClass(EcNullProc, 0, 0);
        EntCreateClass(EcCube1Proc, 0, 0);
        EntCreateClass(EcObserver2Proc, 0, 0);
        root = EntCreateChild("EntNull", nullptr);
        cube = static_cast<Cube1*>(EntCreateChild("Cube1", root));
        cube->dims[0] = cube->dims[1] = cube->dims[2] = 8;
        cube->size = 2.0f;
        cube->VarsChanged(); // full: no holes
        observer = static_cast<Observer2*>(EntCreateChild("Observer2", root));
        observer->Start();
        Mat4 view, proj;
        const VECTOR3 eye = {-20, 30, -20}, at = {8, 8, 8}, up = {0, 1, 0};
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, 1.0f, 0.75f, 1.0f, 1000.0f));
        D3dSetAmbient(1, 1, 1);
    }
    ~Board() {
        EntDestroyTree(root);
        EntSystemShutdown();
    }
};

void BM_Cube1FullDrawLlvmpipe(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) {
        state.SkipWithError("no device");
        return;
    }
    {
        Board board;
        for (auto _ : state) {
            D3dBeginScene();
            D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
            board.cube->DrawPre();
            D3dEndScene();
            D3dPresent();
            glFinish(); // the frame's work, not only its submission
        }
        state.SetLabel("8 x 8 x 8 block, 512 sub-cube draws, llvmpipe 1024 x 768");
    }
    UseLayer(Layer::Recording);
}
BENCHMARK(BM_Cube1FullDrawLlvmpipe)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Observer2BakeStepLlvmpipe(benchmark::State& state) {
    // Pixels are read back only from a lockable back buffer, as the game's device makes it.
    if (!UseLayer(Layer::Gl, I3D_DEVICE_LOCKABLE)) {
        state.SkipWithError("no device");
        return;
    }
    {
        Board board;
        D3dBeginScene();
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        D3dEndScene();
        D3dPresent();
        Observer2CaptureStart(board.observer);
        // The full grid outlasts the run, so the bake never ends and writes nothing; its image
        // is dropped unwritten.
        for (auto _ : state)
            Observer2CaptureStep(board.observer); // the centre pixel of the frame shown
        board.observer->capturing = 0;
        ImgFree(board.observer->image);
        board.observer->image = nullptr;
        state.SetLabel("one bake point: the read-back of the last presented frame's centre");
    }
    UseLayer(Layer::Recording);
}
BENCHMARK(BM_Observer2BakeStepLlvmpipe)->Unit(benchmark::kMicrosecond)->Iterations(2000);

} // namespace
