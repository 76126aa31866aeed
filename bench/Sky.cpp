// Costs of the sky and the environment each frame: the sky dome's vertex rewrite that TimeOfDay
// asks for every update, and the environment's ambient-and-fog apply in the first walk (both on
// the recording layer with its log off); the sky dome and the cloud dome drawn on llvmpipe.
#include "I3d/Camera.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "bench/BenchKernel.h"
#include "datagen/Images/ImageWriters.h"
#include "engine/MathConst.h"
#include "engine/System.h"
#include "world/CloudDome2.h"
#include "world/EntNull.h"
#include "world/Environment.h"
#include "world/SkyDome.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Registry {
    Registry() {
        EntSystemShutdown();
        EntSystemInit();
        for (EntClassProc proc : {EcNullProc, EcEnvironmentProc, EcSkyDomeProc, EcCloudDome2Proc})
            EntCreateClass(proc, 0, 0);
    }
    ~Registry() { EntSystemShutdown(); }
};

// One rebuild with new colours, as TimeOfDay writes them each frame.
void BM_SkyDomeRebuild(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    Registry registry;
    auto* dome = static_cast<SkyDome*>(EntCreateChild("SkyDome", nullptr));
    dome->Start();
    uint32_t colour = 0xFF223B7Bu;
    for (auto _ : state) {
        dome->zenithColor = colour++;
        dome->VarsChanged();
    }
    state.SetLabel("130 vertices rewritten in place, recording layer");
    EntDestroyTree(dome);
}
BENCHMARK(BM_SkyDomeRebuild)->Unit(benchmark::kMicrosecond);

// The first-walk apply with colours that change each frame, so the cache sends them.
void BM_EnvironmentApply(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    Registry registry;
    auto* env = static_cast<Environment*>(EntCreateChild("Environment", nullptr));
    const VECTOR3 eye = {0.0f, 50.0f, 0.0f};
    I3dSetEyePos(&eye);
    float t = 0.0f;
    for (auto _ : state) {
        t = t > 0.99f ? 0.0f : t + 0.01f;
        env->ambient[0] = t;
        env->fogClr[1] = t;
        env->DrawPre();
    }
    state.SetLabel("ambient and fog, recording layer");
    EntDestroyTree(env);
}
BENCHMARK(BM_EnvironmentApply);

// A frame's sky at 1024 x 768: the dome behind everything, then the clouds blended over it, seen
// from the dome's centre half-way up, so both cover the whole view.
void BM_SkyDraw(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(64) != 0) return state.SkipWithError("no textures");
    char folder[] = "/tmp/fairlark-sky-XXXXXX";
    if (!mkdtemp(folder)) return state.SkipWithError("no scratch folder");
    const std::string dir = std::string(folder) + "/";
    GenImage img(64, 64);
    for (uint32_t y = 0; y < 64; ++y)
        for (uint32_t x = 0; x < 64; ++x)
            img.Set(x, y, ((x ^ y) & 8) ? 0xC0FFFFFFu : 0x40FFFFFFu);
    GenWriteFile(dir + "Clouds.dds", GenDdsBytes(GenDds::Argb32, GenMipChain(img)));
    const std::string oldFolder = SysSetProgramFolder(dir.c_str());
    Registry registry;
    auto* dome = static_cast<SkyDome*>(EntCreateChild("SkyDome", nullptr));
    dome->Start();
    auto* clouds = static_cast<CloudDome2*>(EntCreateChild("CloudDome2", nullptr));
    std::snprintf(clouds->texture, sizeof clouds->texture, "Clouds.dds");
    clouds->size = 1500.0f;
    clouds->height = 1000.0f;
    clouds->xRate = 0.01f;
    clouds->Start();
    Mat4 view, proj;
    const VECTOR3 eye = {0.0f, -80.0f, 0.0f}, at = {0.0f, 920.0f, 1000.0f}, up = {0, 1, 0};
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetProj(Mat4Perspective(&proj, kHalfPi, 0.75f, 0.1f, 2000.0f));
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    for (auto _ : state) {
        D3dBeginScene();
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        dome->DrawPre();
        clouds->Update(0.016f);
        clouds->DrawPre();
        D3dEndScene();
        D3dPresent();
    }
    state.SetLabel("sky dome and cloud dome, llvmpipe, 1024 x 768");
    EntDestroyTree(clouds);
    EntDestroyTree(dome);
    SysSetProgramFolder(oldFolder.empty() ? nullptr : oldFolder.c_str());
    std::remove((dir + "Clouds.dds").c_str());
    std::remove(folder);
}
BENCHMARK(BM_SkyDraw)->Unit(benchmark::kMillisecond);

} // namespace
