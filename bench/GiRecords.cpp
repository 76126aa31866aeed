// Costs of the GMF records and the model file: a large mesh record written and read, and
// welding with the hash map against a linear search of the vertices emitted so far.
#include "gi/GM_Mesh.h"
#include "gi/GM_ModelFile.h"
#include "gi/GM_Stream.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

// A grid of quads, two faces each, with one normal and one texture vertex per grid vertex, cut
// to `faces` faces.
static GM_Mesh GridMesh(int faces) {
    GM_Mesh m;
    const int w = 101;
    const int rows = faces / (2 * (w - 1)) + 2;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < w; ++x) {
            m.vertices.push_back({(float)x, (float)y, (float)((x * y) % 7)});
            m.texVerts.push_back({x / 100.0f, y / (float)rows, 0});
        }
    for (int y = 0; y + 1 < rows && (int)m.faces.size() < faces; ++y)
        for (int x = 0; x + 1 < w && (int)m.faces.size() < faces; ++x) {
            uint32_t a = (uint32_t)(y * w + x), b = a + 1, c = a + w, d = c + 1;
            for (const GM_TexFace& f : {GM_TexFace{a, b, d}, GM_TexFace{a, d, c}}) {
                if ((int)m.faces.size() == faces) break;
                m.faces.push_back({f.a, f.b, f.c, 0});
                m.texFaces.push_back(f);
                GM_FaceNormal n;
                n.face = {0, 0, 1};
                const uint32_t v[3] = {f.a, f.b, f.c};
                for (int k = 0; k < 3; ++k)
                    n.corner[k] = {0, (float)(v[k] % 3), 1};
                m.normals.push_back(n);
            }
        }
    return m;
}

static void BM_GmMeshReadWrite(benchmark::State& state) {
    GM_Mesh mesh = GridMesh((int)state.range(0));
    char dir[] = "/tmp/fairlark-bench-XXXXXX";
    if (!mkdtemp(dir)) {
        state.SkipWithError("no scratch folder");
        return;
    }
    std::string path = std::string(dir) + "/mesh.gmf";
    int64_t bytes = 0;
    for (auto _ : state) {
        GM_Stream w;
        w.OpenWrite(path.c_str(), GM_STREAM_BINARY);
        mesh.Write(&w);
        w.Close();
        GM_Stream r;
        r.OpenRead(path.c_str(), GM_STREAM_BINARY);
        bytes += 2 * (int64_t)r.Remaining();
        GM_Mesh back;
        if (!back.Read(&r)) state.SkipWithError("the mesh did not read back");
        benchmark::DoNotOptimize(back.faces.data());
    }
    state.SetBytesProcessed(bytes);
    std::remove(path.c_str());
    rmdir(dir);
}
BENCHMARK(BM_GmMeshReadWrite)->Arg(50000)->Unit(benchmark::kMillisecond);

static void Weld(benchmark::State& state, bool linear) {
    GM_Mesh mesh = GridMesh((int)state.range(0));
    GM_WeldedMesh hashed, searched, out;
    // Both ways must give the same vertices in the same order.
    if (!GM_WeldMesh(mesh, hashed, false) || !GM_WeldMesh(mesh, searched, true) ||
        hashed.indices != searched.indices || hashed.source != searched.source) {
        state.SkipWithError("the two welds differ");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(GM_WeldMesh(mesh, out, linear));
    state.counters["vertices"] = hashed.vertexCount;
    state.counters["identical"] = 1;
}

static void BM_BuildMeshes(benchmark::State& state) {
    Weld(state, false);
}
BENCHMARK(BM_BuildMeshes)->Arg(20000)->Unit(benchmark::kMillisecond);

static void BM_BuildMeshesLinear(benchmark::State& state) {
    Weld(state, true);
}
BENCHMARK(BM_BuildMeshesLinear)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(2);
