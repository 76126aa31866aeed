// Costs of grass and sprays: Compile and the build from maps over 512 x 512 maps of 8 layers,
// reading a 50,000-record foliage file and building its blocks, the CPU side of culling 1,024
// grass blocks a frame, and a step of 10 sprays of 500 particles. (3,000 sprite adds a frame are
// measured with the sprite batch, in DrawAids.)
#include "BenchKernel.h"
#include "I3d/Camera.h"
#include "I3d/Image.h"
#include "engine/EntTree.h"
#include "engine/Random.h"
#include "world/EntNull.h"
#include "world/Foliage.h"
#include "world/GrassMesh.h"
#include "world/ParticleSpray.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string Scratch(const char* name) {
    return "/tmp/fairlark_bench_grass_" + std::to_string(getpid()) + "_" + name;
}

// Eight 512 x 512 maps, each lit on one pixel in `every`; the layers that name them.
void WriteLayers(FoliageLayer layers[FOLIAGE_LAYERS], int every) {
    for (int l = 0; l < FOLIAGE_MAP_LAYERS; ++l) {
        const std::string path = Scratch(("map" + std::to_string(l) + ".tga").c_str());
        I3dImage* img = ImgAlloc(FOLIAGE_MAP_SIZE, FOLIAGE_MAP_SIZE, IMG_L8);
        for (int y = 0; y < FOLIAGE_MAP_SIZE; ++y)
            for (int x = 0; x < FOLIAGE_MAP_SIZE; ++x)
                img->pixels[size_t(y) * size_t(img->pitch) + size_t(x)] =
                    (x * 7 + y * 13 + l) % every == 0 ? 255 : 0;
        ImgSaveTga(img, path.c_str(), nullptr);
        ImgFree(img);
        std::snprintf(layers[l].grassMapFile, sizeof layers[l].grassMapFile, "%s", path.c_str());
        layers[l].type = l % 2;
    }
}

void BM_CompileEightLayers(benchmark::State& state) {
    FoliageLayer layers[FOLIAGE_LAYERS];
    WriteLayers(layers, 48); // about 43,700 records
    const std::string out = Scratch("compiled.fol");
    CrtSrand(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(FoliageCompile(layers, 1.0f, out.c_str()));
    state.SetLabel("ms per compile");
    std::remove(out.c_str());
}
BENCHMARK(BM_CompileEightLayers)->Unit(benchmark::kMillisecond);

void BM_BuildFromEightMaps(benchmark::State& state) {
    FoliageLayer layers[FOLIAGE_LAYERS];
    WriteLayers(layers, 48);
    FoliageSettings s;
    s.layers = layers;
    s.texRatio = 2;
    CrtSrand(1);
    for (auto _ : state) {
        const std::vector<uint8_t> map = FoliageCombineMaps(layers);
        benchmark::DoNotOptimize(FoliageBuildFromMap(map, s).size());
    }
}
BENCHMARK(BM_BuildFromEightMaps)->Unit(benchmark::kMillisecond);

void BM_ReadAndBuild50000Records(benchmark::State& state) {
    std::vector<FoliageRecord> records(FOLIAGE_MAX_RECORDS);
    CrtSrand(2);
    for (FoliageRecord& r : records) {
        r.layer = uint8_t(RandInt(2));
        r.x = RandFloat(511.0f);
        r.z = RandFloat(511.0f);
        r.height = 1.0f;
    }
    const std::string path = Scratch("read.fol");
    const std::vector<uint8_t> bytes = FoliageEncode(records);
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    FoliageLayer layers[FOLIAGE_LAYERS];
    layers[1].type = 1;
    FoliageSettings s;
    s.layers = layers;
    s.texRatio = 2;
    for (auto _ : state) {
        std::vector<FoliageRecord> read;
        FoliageRead(path.c_str(), &read);
        benchmark::DoNotOptimize(FoliageBuildFromRecords(read, s).size());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadAndBuild50000Records)->Unit(benchmark::kMillisecond);

struct Registry {
    Registry() {
        EntSystemShutdown();
        EntSystemInit();
        for (EntClassProc proc : {EcNullProc, EcGrassMeshProc, EcParticleSprayProc})
            EntCreateClass(proc, 0, 0);
    }
    ~Registry() { EntSystemShutdown(); }
};

// 1,024 blocks of 16 x 16 units on a 32 x 32 grid, seen from above one corner. The blocks hold
// no buffers, so a walk pays the box and distance tests and, for the near ones, the states.
void BM_CullGrassBlocks(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    Registry registry;
    ENTBASE* root = EntCreateChild("EntNull", nullptr);
    for (int i = 0; i < 1024; ++i) {
        auto* m = static_cast<GrassMesh*>(EntCreateChild("GrassMesh", root));
        auto* b = new GrassBlock;
        const float x = float(i % 32) * 16.0f, z = float(i / 32) * 16.0f;
        const float box[6] = {x, 0.0f, z, x + 16.0f, 1.0f, z + 16.0f};
        std::copy(box, box + 6, b->box);
        m->SetBlock(b);
        m->visDist = 80.0f;
    }
    const VECTOR3 eye{-10.0f, 20.0f, -10.0f}, at{100.0f, 0.0f, 100.0f}, up{0, 1, 0};
    Mat4 view, proj;
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetProj(Mat4Perspective(&proj, 1.0f, 1.333f, 0.5f, 2000.0f));
    I3dSetEyePos(&eye);
    for (auto _ : state)
        EntTreeDrawPre(root);
    state.SetLabel("one walk over 1,024 blocks");
    EntDestroyTree(root);
}
BENCHMARK(BM_CullGrassBlocks)->Unit(benchmark::kMicrosecond);

void BM_SprayStep(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    Registry registry;
    ENTBASE* root = EntCreateChild("EntNull", nullptr);
    std::vector<ParticleSpray*> sprays;
    CrtSrand(4);
    for (int i = 0; i < 10; ++i) {
        auto* s = static_cast<ParticleSpray*>(EntCreateChild("ParticleSpray", root));
        s->maxParticles = 500;
        s->lifeSpanMin = s->lifeSpanMax = 1e6f;
        s->speedMin = s->speedMax = 1.0f;
        s->gravity = VECTOR3{0.0f, -1.0f, 0.0f};
        s->Start();
        for (int p = 0; p < 500; ++p)
            s->SpraySpawn(&s->pos);
        sprays.push_back(s);
    }
    for (auto _ : state)
        for (ParticleSpray* s : sprays)
            benchmark::DoNotOptimize(s->StepPool(0.001f));
    state.SetItemsProcessed(state.iterations() * 5000);
    state.SetLabel("items = particles");
    EntDestroyTree(root);
}
BENCHMARK(BM_SprayStep);

} // namespace
