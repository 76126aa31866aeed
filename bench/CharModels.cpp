// Characters: the cost of a patron's spawn (its skinned mesh made from the descriptor, with the
// XML reading alone beside it), of locking, skinning and drawing 200 characters (per vertex on
// the recording layer, per frame on llvmpipe), and of a character made and freed.
#include "BenchKernel.h"

#include "gi/Render/CharModelInst.h"
#include "gi/giModelDefManager.h"
#include "gi/giXmlDocument.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const std::string kData = FAIRLARK_BUILD_DATA_DIR;
const std::string kAdult = kData + "Characters/AdultMale.xml";

void BM_CreateFromDescriptor(benchmark::State& state) {
    giModelDefManager* defs = giModelDefManager::Get();
    giSkinnedMesh* warm = defs->CreateFromDescriptor(kAdult.c_str(), kData.c_str(), true);
    for (auto _ : state) {
        giSkinnedMesh* mesh = defs->CreateFromDescriptor(kAdult.c_str(), kData.c_str(), true);
        benchmark::DoNotOptimize(mesh);
        defs->DestroyInstance(mesh);
    }
    defs->DestroyInstance(warm);
    defs->Clear();
}
BENCHMARK(BM_CreateFromDescriptor)->Unit(benchmark::kMicrosecond);

// The XML share of a spawn: the descriptor read and parsed alone.
void BM_CreateFromDescriptor_XmlOnly(benchmark::State& state) {
    for (auto _ : state) {
        giXmlDocument doc;
        benchmark::DoNotOptimize(doc.LoadFile(kAdult.c_str()));
    }
}
BENCHMARK(BM_CreateFromDescriptor_XmlOnly)->Unit(benchmark::kMicrosecond);

void CharDraw(benchmark::State& state, Layer layer) {
    if (!UseLayer(layer) || I3dTexTableAlloc(64) != 0) {
        state.SkipWithError("no device");
        return;
    }
    auto* model = new CharModel();
    CharModelLoad(model, kAdult.c_str(), kData.c_str());
    std::vector<CharModelInst*> chars;
    for (int i = 0; i < state.range(0); ++i) {
        chars.push_back(CharModelCreateInstance(model));
        CharModelInstPlayAnim(chars.back(), "AdultWalk");
        CharModelInstAnimate(chars.back());
    }
    Mat4 world;
    Mat4Identity(&world);
    for (auto _ : state) {
        D3dBeginScene();
        for (CharModelInst* c : chars) {
            I3dSetWorld(&world);
            CharModelInstDraw(c);
        }
        D3dEndScene();
        if (layer == Layer::Gl) D3dPresent();
    }
    const double vertices = (double)state.iterations() * (double)chars.size() * model->vertexTotal;
    state.counters["ns_per_vertex"] =
        benchmark::Counter(vertices, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    for (CharModelInst* c : chars)
        delete c;
    SharedObjRelease(model);
    giModelDefManager::Get()->Clear();
    I3dTexTableFree();
}

void BM_CharDraw(benchmark::State& state) {
    CharDraw(state, Layer::Recording);
}
BENCHMARK(BM_CharDraw)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_CharDraw_Gl(benchmark::State& state) {
    CharDraw(state, Layer::Gl);
}
BENCHMARK(BM_CharDraw_Gl)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_InstanceCycle(benchmark::State& state) {
    if (!UseLayer(Layer::Recording) || I3dTexTableAlloc(64) != 0) {
        state.SkipWithError("no device");
        return;
    }
    auto* model = new CharModel();
    CharModelLoad(model, kAdult.c_str(), kData.c_str());
    for (auto _ : state) {
        CharModelInst* c = CharModelCreateInstance(model);
        benchmark::DoNotOptimize(c);
        delete c;
    }
    SharedObjRelease(model);
    giModelDefManager::Get()->Clear();
    I3dTexTableFree();
}
BENCHMARK(BM_InstanceCycle)->Unit(benchmark::kMicrosecond);

} // namespace
