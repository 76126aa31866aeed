// Costs of the run-time character data: skinning a skeleton's weights onto a model by a search
// of the vertices sorted by source index against matching every weight with every vertex, and
// loading the generated adult (model, skeleton and clips) the way a character kind loads.
#include "gi/giAnimation.h"
#include "gi/giGmModel.h"
#include "gi/giSkeleton.h"

#include "engine/Random.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// 30 bones of 2000 weights each over one mesh of 2000 vertices, whose source indices are a
// shuffle of 0 .. 1999.
struct SkinCase {
    GM_Skeleton skeleton;
    giGmModel model;

    SkinCase() {
        constexpr int kBones = 30, kWeights = 2000, kVertices = 2000;
        MsSeed(77);
        for (int b = 0; b < kBones; ++b) {
            GM_SkelBoneData& bone = skeleton.bones[(uint32_t)b];
            bone.name = "Bone" + std::to_string(b);
            bone.orient[0] = bone.orient[5] = bone.orient[10] = bone.orient[15] = 1;
            for (int w = 0; w < kWeights; ++w)
                bone.weights.push_back({(uint32_t)(MsRand() % kVertices), 0.1f});
            bone.vertexCount = kWeights;
        }
        skeleton.boneCount = kBones;
        auto part = std::make_unique<giMeshPart>();
        part->vertexCount = kVertices;
        part->positions.resize(kVertices);
        part->normals.resize(kVertices);
        for (int v = 0; v < kVertices; ++v)
            part->source.push_back((uint32_t)v);
        for (int v = kVertices - 1; v > 0; --v)
            std::swap(part->source[(size_t)v], part->source[(size_t)(MsRand() % (v + 1))]);
        part->sourceVertexCount = kVertices;
        model.AddPart(std::move(part));
    }
};

void BM_SkeletonBuild(benchmark::State& state) {
    static SkinCase c;
    const bool tripleLoop = state.range(0) != 0;
    for (auto _ : state) {
        giSkeleton skel;
        benchmark::DoNotOptimize(skel.BuildFrom(c.skeleton, c.model, tripleLoop));
    }
    state.SetLabel(tripleLoop ? "every weight against every vertex" : "sorted by source index");
}
BENCHMARK(BM_SkeletonBuild)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LoadCharacterSet(benchmark::State& state) {
    const std::string data = std::string(FAIRLARK_BUILD_DATA_DIR) + "Characters/";
    const char* clips[] = {"AdultWalk",      "AdultRun",        "AdultIdle1",    "AdultSweeping",
                           "AdultMalePound", "AdultMaleWrench", "AdultPayMoney", "CarnyNap",
                           "CarnySleepy",    "AdultSitting1"};
    for (auto _ : state) {
        giGmModel model;
        giSkeleton skel;
        if (!model.Load((data + "Adult.gmf").c_str()) ||
            !skel.Build(data + "AdultSkel.gmf", model)) {
            state.SkipWithError("the generated adult did not load: build the data first");
            break;
        }
        for (const char* clip : clips) {
            giAnimation anim;
            benchmark::DoNotOptimize(anim.Load((data + "Anims/" + clip + ".gmf").c_str()));
        }
    }
}
BENCHMARK(BM_LoadCharacterSet)->Unit(benchmark::kMillisecond);

} // namespace
