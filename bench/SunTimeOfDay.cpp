// Per-frame costs of the day's lighting: the time of day's apply (blend, the sun's placement and
// the sky dome's rewrite) and the lens flare's line query through a tree of 2,000 entities with a
// 512 x 512 terrain (recording layer, log off).
#include "I3d/Camera.h"
#include "I3d/Math/Vec3.h"
#include "bench/BenchKernel.h"
#include "engine/EntQueries.h"
#include "engine/Random.h"
#include "world/EntNull.h"
#include "world/EntTimeOfDay.h"
#include "world/Environment.h"
#include "world/LensFlare.h"
#include "world/SkyDome.h"
#include "world/Sun.h"
#include "world/Terrain2.h"
#include "world/TerrainObj.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

struct Registry {
    Registry() {
        EntSystemShutdown();
        EntSystemInit();
        for (EntClassProc proc : {EcNullProc, EcEnvironmentProc, EcSkyDomeProc, EcSunProc,
                                  EcLensFlareProc, EcTimeOfDayProc, EcTerrain2Proc})
            EntCreateClass(proc, 0, 0);
    }
    ~Registry() { EntSystemShutdown(); }
};

ENTBASE* Named(const char* cls, ENTBASE* parent, const char* name) {
    ENTBASE* e = EntCreateChild(cls, parent);
    e->SetName(name);
    return e;
}

void BM_TimeOfDayApply(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    Registry registry;
    ENTBASE* root = Named("EntNull", nullptr, "Root");
    ENTBASE* world = Named("EntNull", root, "World");
    Named("Environment", world, "Environment");
    Named("SkyDome", world, "SkyDome");
    Named("Sun", world, "Sun");
    auto* tod = static_cast<EntTimeOfDay*>(Named("TimeOfDay", world, "TimeOfDay"));
    EntTreeStart(root);
    float t = 0.0f;
    for (auto _ : state) {
        t = t > 0.99f ? 0.0f : t + 0.0037f;
        tod->time = t;
        tod->VarsChanged();
    }
    state.SetLabel("blend, sun placed, 130 dome vertices rewritten, recording layer");
    EntDestroyTree(root);
}
BENCHMARK(BM_TimeOfDayApply)->Unit(benchmark::kMicrosecond);

// The eye over one corner of the terrain, the sun low over the far corner: the ray crosses the
// whole grid without meeting the ground, the worst case for the terrain's answer.
void BM_LensFlareQuery(benchmark::State& state) {
    Registry registry;
    ENTBASE* root = Named("EntNull", nullptr, "Root");
    ENTBASE* world = Named("EntNull", root, "World");
    // 1,901 other entities in groups of 20 under nulls: 2,000 in all with the root, the world,
    // the groups and the terrain.
    ENTBASE* group = nullptr;
    for (int i = 0; i < 1901; ++i) {
        if (i % 20 == 0) group = Named("EntNull", world, "Group");
        Named("EntNull", group, "Thing");
    }
    auto* terrain = static_cast<Terrain2*>(Named("Terrain2", world, "Terrain"));
    TerrainObj* t = TerrainCreate(512, 512);
    CrtSrand(11);
    for (int i = 0; i < 513 * 513; ++i)
        t->heights[i] = RandFloat(40.0f);
    TerrainDerive(t);
    TerrainSetScale(t, 2.0f);
    terrain->terrain = t;
    const int entities = EntTreeCount(root);
    const VECTOR3 eye = {2.0f, 60.0f, 2.0f}, sun = {1500.0f, 400.0f, 1500.0f};
    EntRayQuery q{};
    q.origin = eye;
    q.direction = {sun.x - eye.x, sun.y - eye.y, sun.z - eye.z};
    Vec3NormalizeFast(&q.direction);
    q.kind = ENT_RAY_QUERY_RAY;
    for (auto _ : state) {
        q.result = nullptr;
        EntTreeSendGated(root->node, ENT_MSG_RAY_QUERY, 0, intptr_t(&q), 0);
        benchmark::DoNotOptimize(q.result);
    }
    state.SetLabel(std::to_string(entities) + " entities, 512 x 512 terrain, ray not hitting");
    EntDestroyTree(root);
}
BENCHMARK(BM_LensFlareQuery)->Unit(benchmark::kMicrosecond);

} // namespace
