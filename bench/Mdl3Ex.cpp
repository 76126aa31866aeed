// Costs of extended models on the recording layer with its log off: drawing a 200-node model at
// 100 places (per node; also with the environment matrix worked out again for every node, the
// cost that doing it once per draw saves), emitting 400 point lights, and one attach-matrix walk
// of a 70-seat ride.
#include "gi/Render/Mdl3Ex.h"
#include "I3d/Camera.h"
#include "bench/BenchKernel.h"
#include "datagen/Models/MdlBuild.h"
#include "engine/Files.h"
#include "gi/Render/Mdl3ExShaders.h"
#include "world/Particles/ParticleSys.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct ScratchDir {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("fairlark-bench-mdl3ex-" + std::to_string(getpid()));
    ScratchDir() { std::filesystem::create_directories(path); }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

// The description written as a model (and the ini beside it); the model's path.
std::string Write(const std::string& title, const std::string& description,
                  const std::string& ini) {
    static const ScratchDir dir;
    MdlScene scene;
    MdlModel model;
    std::string error;
    if (!MdlParseScene(description, &scene, &error) || !MdlBuildModel(scene, &model, &error))
        std::fprintf(stderr, "bench model: %s\n", error.c_str());
    const std::vector<uint8_t> bytes = MdlModelBytes(model);
    const std::string path = (dir.path / (title + ".md3")).string();
    FileWriteAll(path.c_str(), bytes.data(), bytes.size());
    const std::string iniPath = (dir.path / (title + ".ini")).string();
    FileWriteAll(iniPath.c_str(), ini.data(), ini.size());
    return path;
}

std::string Nodes(const char* title, int count, const char* prefix) {
    std::string d = std::string("model ") + title +
                    "\nmaterial A diffuse 1 0 0 1\nmaterial B diffuse 0 0 1 1\nnode Root\n";
    for (int i = 0; i < count - 1; ++i) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "node %s%02d parent Root translate %d %d 0 box 0.2 0.2 0.2 material %c\n",
                      prefix, i, i % 20 - 10, i / 20, i % 3 ? 'A' : 'B');
        d += line;
    }
    return d;
}

void Camera() {
    VECTOR3 eye = {0, 20, -60}, at = {0, 0, 60}, up = {0, 1, 0};
    Mat4 view, proj;
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetProj(Mat4Perspective(&proj, 1.2f, 0.75f, 0.5f, 1000.0f));
    I3dSetEyePos(&eye);
}

void BM_Mdl3ExDraw(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    const bool perNode = state.range(0) != 0;
    Mdl3ExModel* m = Mdl3ExLoad(Write("Busy", Nodes("Busy", 200, "N"), "").c_str());
    if (!m || !m->mdl) return state.SkipWithError("the model did not load");
    Camera();
    std::vector<Mat4> worlds(100);
    for (int i = 0; i < 100; ++i) {
        Mat4Identity(&worlds[(size_t)i]);
        worlds[(size_t)i].m[12] = float(i % 10 - 5) * 25,
        worlds[(size_t)i].m[14] = float(i / 10) * 25;
    }
    const int nodes = m->mdl->numNodes;
    for (auto _ : state) {
        for (const Mat4& w : worlds) {
            I3dSetWorld(&w);
            Mdl3ExDraw(m);
            if (!perNode) continue;
            for (int n = 0; n < nodes; ++n) { // what each node would add
                Mat4 view, inverse;
                I3dGetViewMatrix(&view);
                Mat4InverseRigid(&view, &inverse);
                inverse.m[12] = inverse.m[13] = inverse.m[14] = 0.0f;
                Mdl3ExSetEnvMatrix(&inverse);
            }
        }
        Mdl3ExParticles()->count = 0;
    }
    state.counters["per_node"] =
        benchmark::Counter(double(state.iterations()) * double(nodes) * 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    SharedObjRelease(m);
}
BENCHMARK(BM_Mdl3ExDraw)->ArgName("envPerNode")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Mdl3ExLights(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    const int n = int(state.range(0));
    std::string ini = "[ModelInfo]\nnumPointLights=" + std::to_string(n) + "\n";
    for (int i = 0; i < n; ++i) {
        char section[120];
        std::snprintf(section, sizeof section, "[PointLights%04d]\npos.x=%d\nflashMask=1\n", i,
                      i % 40);
        ini += section;
    }
    Mdl3ExModel* m = Mdl3ExLoad(Write("Lamps", "model Lamps\nnode Root box 1 1 1\n", ini).c_str());
    if (!m) return state.SkipWithError("the model did not load");
    Mat4 w;
    I3dSetWorld(Mat4Identity(&w));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Mdl3ExEmitLights(m, 1));
        Mdl3ExParticles()->count = 0;
    }
    state.counters["per_light"] = benchmark::Counter(
        double(state.iterations()) * n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    SharedObjRelease(m);
}
BENCHMARK(BM_Mdl3ExLights)->Arg(400);

void BM_Mdl3ExAttach(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    const int seats = int(state.range(0));
    Mdl3ExModel* m = Mdl3ExLoad(Write("Ride", Nodes("Ride", seats + 1, "Attach"), "").c_str());
    if (!m) return state.SkipWithError("the model did not load");
    std::vector<Mat4> out((size_t)seats);
    Mat4 w;
    I3dSetWorld(Mat4Identity(&w));
    for (auto _ : state)
        benchmark::DoNotOptimize(Mdl3ExGetAttachMatrices(m, out.data(), seats));
    SharedObjRelease(m);
}
BENCHMARK(BM_Mdl3ExAttach)->Arg(70);

} // namespace
