// Costs of the model library's base: reading a large object list through the GMF stream, the
// name hash, and the matrix and quaternion routines against a plain 4x4 multiply.
#include "gi/GM_List.h"
#include "gi/giMath.h"
#include "gi/giString.h"

#include "engine/Random.h"
#include "tests/gi/GiTestSupport.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// About 10 MB of 100-byte records.
static std::string WriteListFile() {
    char dir[] = "/tmp/fairlark-bench-XXXXXX";
    if (!mkdtemp(dir)) return std::string();
    std::string path = std::string(dir) + "/list.gmf";
    const uint32_t records = 100000;
    GmTestRecord r;
    r.values.assign(20, 7);
    GM_Stream s;
    if (!s.OpenWrite(path.c_str(), GM_STREAM_BINARY)) return std::string();
    uint32_t header[3] = {2, 0, records};
    s.Write(header, 4, 3);
    for (uint32_t i = 0; i < records; ++i) {
        r.SetName(("Record" + std::to_string(i)).c_str());
        r.Write(&s);
    }
    s.Close();
    return path;
}

static void BM_GmfReadObjectList(benchmark::State& state) {
    ScopedMaker maker(GMID_DATA_TAG, &GmTestRecord::Make);
    std::string path = WriteListFile();
    if (path.empty()) {
        state.SkipWithError("cannot write the list file");
        return;
    }
    int64_t bytes = 0;
    for (auto _ : state) {
        GM_Stream s;
        s.OpenRead(path.c_str(), GM_STREAM_BINARY);
        bytes += (int64_t)s.Remaining();
        GM_ObjectList list;
        list.Read(&s);
        benchmark::DoNotOptimize(list.Appended());
    }
    state.SetBytesProcessed(bytes);
    std::remove(path.c_str());
    rmdir(path.substr(0, path.rfind('/')).c_str());
}
BENCHMARK(BM_GmfReadObjectList)->Unit(benchmark::kMillisecond);

static void BM_giHashString(benchmark::State& state) {
    std::vector<std::string> names;
    for (int i = 0; i < 1000; ++i)
        names.push_back("Characters\\Maps\\Adult" + std::to_string(i) + "_Diffuse.tga");
    for (auto _ : state)
        for (const std::string& n : names)
            benchmark::DoNotOptimize(giHashString(n.c_str()));
    state.SetItemsProcessed(state.iterations() * (int64_t)names.size());
}
BENCHMARK(BM_giHashString);

static giMat44 RandomAffine() {
    giMat44 m = giMatrixRotationAxis({RandFloatRange(-1, 1), RandFloatRange(-1, 1), 1}, 0.7f);
    m.m[3][0] = RandFloatRange(-10, 10);
    return m;
}

static void BM_giMatrixMultiply(benchmark::State& state) {
    CrtSrand(1);
    giMat44 a = RandomAffine(), b = RandomAffine(), out;
    for (auto _ : state) {
        giMatrixMultiply(&out, a, b);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_giMatrixMultiply);

static void BM_giMatrixInverse(benchmark::State& state) {
    CrtSrand(1);
    giMat44 a = RandomAffine(), out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(giMatrixInverse(&out, a));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_giMatrixInverse);

static void BM_giQuaternionSlerp(benchmark::State& state) {
    giQuat a{0, 0.38268343f, 0, 0.92387953f}, b{0.5f, 0.5f, 0.5f, 0.5f};
    float t = 0;
    for (auto _ : state) {
        t = t > 1 ? 0 : t + 0.001f;
        benchmark::DoNotOptimize(giQuaternionSlerp(a, b, t));
    }
}
BENCHMARK(BM_giQuaternionSlerp);
