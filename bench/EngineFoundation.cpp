// Costs of the engine's lowest services: a masked-off log line, the clock, shared-object
// lookup, case-insensitive file lookup and the run-time random generator.
#include "engine/DebugLog.h"
#include "engine/Random.h"
#include "engine/SharedObj.h"
#include "engine/Timers.h"
#include "platform/PathResolve.h"

#include <benchmark/benchmark.h>

#include <ftw.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

static void BM_DbgPrintfLoggingOff(benchmark::State& state) {
    DbgSetLevelMask(0);
    DbgSetOutputMask(0);
    int i = 0;
    for (auto _ : state)
        DbgPrintf(DBG_GENERAL, "frame %i of %s\n", ++i, "bench");
}
BENCHMARK(BM_DbgPrintfLoggingOff);

static void BM_TimerNow(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(TimerNow());
}
BENCHMARK(BM_TimerNow);

static void BM_SharedObjFind200(benchmark::State& state) {
    SharedObj* head = nullptr;
    for (int i = 0; i < 200; ++i) {
        auto* o = new SharedObj;
        o->SetName(("Font" + std::to_string(i)).c_str());
        SharedObjLink(o, &head);
    }
    std::vector<std::string> names;
    for (int i = 0; i < 200; ++i)
        names.push_back("font" + std::to_string(i));
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(SharedObjFind(names[i++ % names.size()].c_str(), head));
    while (head)
        SharedObjRelease(head);
}
BENCHMARK(BM_SharedObjFind200);

namespace {
struct FolderOf1000 {
    std::string dir;
    FolderOf1000() {
        char tmpl[] = "/tmp/fairlark-bench-XXXXXX";
        dir = std::string(mkdtemp(tmpl)) + "/";
        for (int i = 0; i < 1000; ++i) {
            std::string p = dir + "Texture" + std::to_string(i) + ".dds";
            if (std::FILE* f = std::fopen(p.c_str(), "w")) std::fclose(f);
        }
    }
    ~FolderOf1000() {
        nftw(
            dir.c_str(),
            [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 8,
            FTW_DEPTH | FTW_PHYS);
    }
};
} // namespace

static void BM_ResolveExactHit(benchmark::State& state) {
    FolderOf1000 folder;
    std::string out, path = folder.dir + "Texture500.dds";
    for (auto _ : state)
        benchmark::DoNotOptimize(PlatPathResolve(path.c_str(), &out));
}
BENCHMARK(BM_ResolveExactHit)->Unit(benchmark::kMicrosecond);

static void BM_ResolveCaseMissWarmCache(benchmark::State& state) {
    FolderOf1000 folder;
    std::string out, path = folder.dir + "TEXTURE500.DDS";
    PlatPathResolve(path.c_str(), &out); // warms the folder's listing
    for (auto _ : state)
        benchmark::DoNotOptimize(PlatPathResolve(path.c_str(), &out));
    PlatPathCacheClear();
}
BENCHMARK(BM_ResolveCaseMissWarmCache)->Unit(benchmark::kMicrosecond);

static void BM_CrtRand(benchmark::State& state) {
    CrtSrand(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(CrtRand());
}
BENCHMARK(BM_CrtRand);
