// Costs of MDL3 models: drawing 200 models of 20 nodes each on the recording layer (the kernel's
// own CPU work per node, the layer's logging included), picking a 10,000-triangle model, and
// reading a 50,000-vertex file with its buffers.
#include "I3d/I3d.h"
#include "I3d/Math/Mat4Math.h"
#include "datagen/Models/MdlBuild.h"
#include "engine/Files.h"
#include "platform/d3d8/Recording.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

const Mat4 kIdentity = [] {
    Mat4 m;
    return *Mat4Identity(&m);
}();

bool KernelReady() {
    static int s_state = 0; // 0 not tried, 1 ready, -1 failed
    if (s_state == 0) {
        D3dRecordingSetup(D3dRecordingConfig{});
        D3dSetCreateEntry(Direct3DCreate8Recording);
        s_state =
            I3dStart() == 0 && D3dCreateDevice(0, nullptr, 1, 1024, 768, D3DFMT_X8R8G8B8, 0) == 0
                ? 1
                : -1;
        if (s_state < 0) std::fprintf(stderr, "no recording device: the benchmarks are skipped\n");
    }
    return s_state > 0;
}

// A scratch folder removed when the program ends.
struct ScratchDir {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("fairlark-bench-models-" + std::to_string(getpid()));
    ScratchDir() { std::filesystem::create_directories(path); }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

std::string ScratchFile(const char* name, const std::vector<uint8_t>& bytes) {
    static const ScratchDir dir;
    const std::string path = (dir.path / name).string();
    FileWriteAll(path.c_str(), bytes.data(), bytes.size());
    return path;
}

MdlModel Build(const std::string& description) {
    MdlScene scene;
    MdlModel model;
    std::string error;
    if (!MdlParseScene(description, &scene, &error) || !MdlBuildModel(scene, &model, &error))
        std::fprintf(stderr, "bench model: %s\n", error.c_str());
    return model;
}

// A ride-like model: 19 boxes in two materials on a root.
std::string TwentyNodes() {
    std::string d =
        "model Twenty\nmaterial A diffuse 1 0 0 1\nmaterial B diffuse 0 0 1 1\nnode Root\n";
    for (int i = 0; i < 19; ++i) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "node N%d parent Root translate %d %d 0 rotate-y %d box 0.5 0.5 0.5 "
                      "material %c\n",
                      i, i % 5 - 2, i / 5, i * 20, i % 3 ? 'A' : 'B');
        d += line;
    }
    return d;
}

void BM_Mdl3DrawPerNode(benchmark::State& state) {
    if (!KernelReady()) return state.SkipWithError("no device");
    const std::string path = ScratchFile("Twenty.md3", MdlModelBytes(Build(TwentyNodes())));
    std::vector<MDL3*> models;
    std::vector<Mat4> worlds;
    for (int i = 0; i < 200; ++i) {
        models.push_back(Mdl3Read(path.c_str(), 0));
        Mat4 w = kIdentity;
        w.m[12] = float(i % 20 - 10) * 6, w.m[14] = 40 + float(i / 20) * 8;
        worlds.push_back(w);
    }
    VECTOR3 eye = {0, 20, -30}, at = {0, 0, 60}, up = {0, 1, 0};
    Mat4 view, proj;
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetProj(Mat4Perspective(&proj, 1.2f, 0.75f, 0.5f, 1000.0f));
    I3dSetEyePos(&eye);
    for (auto _ : state) {
        for (size_t i = 0; i < models.size(); ++i)
            Mdl3Draw(models[i], &worlds[i]);
        state.PauseTiming();
        D3dRecordingLog().Clear();
        state.ResumeTiming();
    }
    const int64_t nodes = int64_t(models.size()) * 20;
    state.counters["per_node"] =
        benchmark::Counter(double(state.iterations() * nodes),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    for (MDL3* m : models)
        Mdl3Release(m);
}
BENCHMARK(BM_Mdl3DrawPerNode)->Unit(benchmark::kMillisecond);

// One node of 100 x 50 quads facing -z: 10,000 triangles, every one tested by each pick.
MdlModel Grid() {
    MdlModel m = Build("model Grid\nnode Root tri 0 0 0 0 1 0 1 0 0\n");
    m.verts.clear();
    m.indices.clear();
    for (int y = 0; y <= 50; ++y)
        for (int x = 0; x <= 100; ++x)
            m.verts.push_back(
                MDL3VERTEX{{float(x) * 0.1f, float(y) * 0.1f, 5}, {0, 0, -1}, 0, 0, {}});
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x) {
            const uint16_t a = uint16_t(y * 101 + x), b = uint16_t(a + 101);
            m.indices.insert(m.indices.end(),
                             {a, b, uint16_t(b + 1), a, uint16_t(b + 1), uint16_t(a + 1)});
        }
    }
    MDL3NODE& root = m.nodes[0];
    root.numTris = int32_t(m.indices.size() / 3);
    root.minVertIdx = 0, root.maxVertIdx = int32_t(m.verts.size()) - 1;
    m.storage = 0;
    return m;
}

void BM_Mdl3PickPerTriangle(benchmark::State& state) {
    MDL3* m = Mdl3Read(ScratchFile("Grid.md3", MdlModelBytes(Grid())).c_str(), 0);
    if (!m) return state.SkipWithError("the grid did not load");
    const VECTOR3 a = {5.05f, 2.53f, -10}, b = {5.05f, 2.53f, 10};
    VECTOR3 hit;
    for (auto _ : state)
        benchmark::DoNotOptimize(Mdl3Pick(m, &m->nodes[0], &a, &b, &hit, &kIdentity));
    state.counters["per_triangle"] =
        benchmark::Counter(double(state.iterations()) * m->nodes[0].numTris,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    Mdl3Release(m);
}
BENCHMARK(BM_Mdl3PickPerTriangle)->Unit(benchmark::kMicrosecond);

// Spheres of 2,556 vertices (70 slices) on 20 nodes: 51,120 vertices, read, checked, linked
// and copied into static buffers.
void BM_Mdl3Read50kVertices(benchmark::State& state) {
    if (!KernelReady()) return state.SkipWithError("no device");
    std::string d = "model Big\nnode Root\n";
    for (int i = 0; i < 20; ++i)
        d += "node S" + std::to_string(i) + " parent Root translate " + std::to_string(i * 3) +
             " 0 0 sphere 70 1\n";
    const MdlModel model = Build(d);
    const std::vector<uint8_t> bytes = MdlModelBytes(model);
    const std::string path = ScratchFile("Big.md3", bytes);
    for (auto _ : state) {
        MDL3* m = Mdl3Read(path.c_str(), 0);
        benchmark::DoNotOptimize(m);
        Mdl3Release(m);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    state.SetLabel(std::to_string(model.verts.size()) + " vertices, " +
                   std::to_string(bytes.size() / 1024) + " KiB");
    D3dRecordingLog().Clear();
}
BENCHMARK(BM_Mdl3Read50kVertices)->Unit(benchmark::kMillisecond);

} // namespace
