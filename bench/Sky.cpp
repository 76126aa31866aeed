// Costs of the sky and the environment each frame: the sky dome's vertex rewrite that TimeOfDay
// asks for every update, and the environment's ambient-and-fog apply in the first walk (both on
// the recording layer with its log off).
#include "I3d/Camera.h"
#include "bench/BenchKernel.h"
#include "world/EcEnvironment.h"
#include "world/EcNull.h"
#include "world/EcSkyDome.h"

#include <benchmark/benchmark.h>

namespace {

struct Registry {
    Registry() {
        EntSystemShutdown();
        EntSystemInit();
        for (EntClassProc proc : {EcNullProc, EcEnvironmentProc, EcSkyDomeProc})
            EntCreateClass(proc, 0, 0);
    }
    ~Registry() { EntSystemShutdown(); }
};

// One rebuild with new colours, as TimeOfDay writes them each frame.
void BM_SkyDomeRebuild(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    Registry registry;
    auto* dome = static_cast<EcSkyDome*>(EntCreateChild("SkyDome", nullptr));
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
    auto* env = static_cast<EcEnvironment*>(EntCreateChild("Environment", nullptr));
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

} // namespace
