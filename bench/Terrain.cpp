// Costs of the terrain: the height query every patron asks every frame, the load of a full
// 513 x 513 map with its planes, bounds and physics field, and one VarsChanged (a new field).
#include "I3d/Image.h"
#include "engine/EntTree.h"
#include "engine/Random.h"
#include "world/EntNull.h"
#include "world/Terrain2.h"
#include "world/TerrainObj.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

struct Registry {
    Registry() {
        EntSystemShutdown();
        EntSystemInit();
        for (EntClassProc proc : {EcNullProc, EcTerrain2Proc})
            EntCreateClass(proc, 0, 0);
    }
    ~Registry() { EntSystemShutdown(); }
};

// A 513 x 513 grey map in the temporary folder; its stem.
std::string WriteMap() {
    const std::string stem = "/tmp/fairlark_bench_terrain_" + std::to_string(getpid());
    I3dImage* img = ImgAlloc(513, 513, IMG_L8);
    for (int r = 0; r < 513; ++r)
        for (int x = 0; x < 513; ++x)
            img->pixels[size_t(r) * img->pitch + x] = uint8_t((x * 3 + r * 5) & 0xFF);
    ImgSaveTga(img, (stem + " elevation.tga").c_str(), nullptr);
    ImgFree(img);
    return stem;
}

Terrain2* MakeTerrain(ENTBASE* root, const std::string& stem) {
    auto* t = static_cast<Terrain2*>(EntCreateChild("Terrain2", root));
    t->SetName("Terrain");
    t->SetString("mapName", stem.c_str());
    t->Start();
    return t;
}

void BM_TerrainGetHeight(benchmark::State& state) {
    TerrainObj* t = TerrainCreate(512, 512);
    CrtSrand(7);
    for (int i = 0; i < 513 * 513; ++i)
        t->heights[i] = RandFloat(100.0f);
    TerrainDerive(t);
    TerrainSetScale(t, 2.0f);
    std::vector<VECTOR3> points(4096);
    for (VECTOR3& p : points)
        p = VECTOR3{RandFloat(1024.0f), 0.0f, RandFloat(1024.0f)};
    size_t i = 0;
    for (auto _ : state) {
        const VECTOR3& p = points[i++ & 4095];
        benchmark::DoNotOptimize(TerrainHeightAt(t, p.x, p.z));
    }
    state.SetLabel("random points on 512 x 512 cells");
    TerrainFree(t);
}
BENCHMARK(BM_TerrainGetHeight);

void BM_TerrainBuild(benchmark::State& state) {
    Registry registry;
    const std::string stem = WriteMap();
    ENTBASE* root = EntCreateChild("EntNull", nullptr);
    for (auto _ : state) {
        Terrain2* t = MakeTerrain(root, stem);
        state.PauseTiming();
        EntDestroyTree(t);
        state.ResumeTiming();
    }
    state.SetLabel("513 x 513 map, planes, bounds and physics field");
    EntDestroyTree(root);
    std::remove((stem + " elevation.tga").c_str());
}
BENCHMARK(BM_TerrainBuild)->Unit(benchmark::kMillisecond);

void BM_TerrainPhysicsRebuild(benchmark::State& state) {
    Registry registry;
    const std::string stem = WriteMap();
    ENTBASE* root = EntCreateChild("EntNull", nullptr);
    Terrain2* t = MakeTerrain(root, stem);
    for (auto _ : state)
        t->VarsChanged();
    state.SetLabel("one VarsChanged on 512 x 512 cells");
    EntDestroyTree(root);
    std::remove((stem + " elevation.tga").c_str());
}
BENCHMARK(BM_TerrainPhysicsRebuild)->Unit(benchmark::kMillisecond);

} // namespace
