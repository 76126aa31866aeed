// Costs of the world entities' per-frame work: one particle system filled and drawn, one group
// sound's search over a crowd, and the set-up of a camera viewport (recording layer, log off).
#include "bench/BenchKernel.h"
#include "world/CameraDesc.h"
#include "world/EntNull.h"
#include "world/EntSound.h"
#include "world/EntViewport.h"
#include "world/GroupSound.h"
#include "world/Particles/ParticleSys.h"

#include <benchmark/benchmark.h>

namespace {

void Look() {
    const VECTOR3 eye{0, 2, -6}, at{0, 0, 0}, up{0, 1, 0};
    Mat4 view;
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
}

// A full system of n particles written and drawn each frame, as effects fill it.
void BM_ParticlesFillDraw(benchmark::State& state) {
    const int n = (int)state.range(0);
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    Look();
    ParticleSys* sys = ParticleSysAcquire("BenchParticles.tga", n);
    if (!sys) return state.SkipWithError("no particle system");
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) {
            Particle* p = sys->Add();
            p->pos = VECTOR3{float(i % 20) * 0.1f, float(i / 20) * 0.1f, 0.0f};
            p->size = 0.05f;
            p->colour = 0xFFFFC080u;
            p->cell = (uint8_t)(i % 5);
            p->used = 1;
        }
        ParticleSysDrawAll();
    }
    state.counters["per_particle"] = benchmark::Counter(
        (double)n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetLabel("fill and draw, recording layer; per_particle in seconds");
    SharedObjRelease(sys);
}
BENCHMARK(BM_ParticlesFillDraw)->Arg(400);

struct Registry {
    Registry() {
        EntSystemShutdown();
        EntSystemInit();
        for (EntClassProc proc : {EcNullProc, EcSoundProc, EcGroupSoundProc, EcViewportProc})
            EntCreateClass(proc, 0, 0);
    }
    ~Registry() { EntSystemShutdown(); }
};

// A tree of n entities of which 200 are sounds, the type searched; no sound device, so the
// search itself is what is measured.
void BM_GroupSoundSearch(benchmark::State& state) {
    const int n = (int)state.range(0);
    Registry registry;
    ENTBASE* root = EntCreateChild("EntNull", nullptr);
    ENTBASE* group = nullptr;
    for (int i = 0; i < n; ++i) {
        ENTBASE* parent = (i % 10 == 0 || !group) ? root : group;
        ENTBASE* e = EntCreateChild(i % 5 < 2 ? "Sound" : "EntNull", parent);
        if (i % 10 == 0) group = e;
        VECTOR3 p = {float(i % 23), 0.0f, float(i % 17)};
        e->SetPos(&p);
    }
    auto* g = static_cast<GroupSound*>(EntCreateChild("GroupSound", root));
    g->SetString("searchClass", "Sound");
    g->Start();
    for (auto _ : state)
        g->Update(2.0f); // recalcTime 1: every update searches
    state.counters["per_search"] = benchmark::Counter(
        1.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetLabel(std::to_string(EntTreeCount(root)) + " entities, 200 sounds searched");
    EntDestroyTree(root);
}
BENCHMARK(BM_GroupSoundSearch)->Arg(500);

class BenchCamera : public Ent3dBase {
  public:
    int GetCamera(CameraDesc* out) override {
        *out = desc;
        return 1;
    }
    CameraDesc desc{};
};

// The rectangle, the camera's view, eye and projection: one viewport pass without a draw root.
void BM_ViewportPass(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    Registry registry;
    auto* v = static_cast<EntViewport*>(EntCreateChild("Viewport", nullptr));
    BenchCamera camera;
    const VECTOR3 eye{0, 2, -6}, at{0, 0, 0}, up{0, 1, 0};
    Mat4LookAt(&camera.desc.view, &eye, &at, &up);
    camera.desc.fov = 1.04718f;
    camera.desc.eye = eye;
    camera.desc.valid = 1;
    v->SetVoid("entCamera", (intptr_t)&camera);
    for (auto _ : state)
        v->DrawPre();
    state.SetLabel("recording layer, log off");
    EntDestroyTree(v);
}
BENCHMARK(BM_ViewportPass);

} // namespace
