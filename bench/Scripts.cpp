// Costs of the script system: the scheduler over waiting scripts and one resume-yield pair.
#include "engine/ScriptMgr.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

// A Lua file in the temporary folder, removed when the object goes.
struct BenchLuaFile {
    explicit BenchLuaFile(const char* text) {
        path = "/tmp/fairlark_bench_" + std::to_string(getpid()) + ".lua";
        FILE* f = std::fopen(path.c_str(), "w");
        if (f) {
            std::fputs(text, f);
            std::fclose(f);
        }
    }
    ~BenchLuaFile() { std::remove(path.c_str()); }
    std::string path;
};

// Every script waits on a long frame count: each update only counts down. Items are waiting
// scripts visited, so the item rate gives the cost per waiting script per update.
static void BM_ScriptMgrUpdate_Waiting(benchmark::State& state) {
    BenchLuaFile file("while true do WaitFrame(1000000000) end");
    for (int64_t i = 0; i < state.range(0); ++i)
        LuaScriptNew()->RunFile(file.path.c_str());
    for (auto _ : state)
        ScriptMgrUpdate(1.0f / 30.0f);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    ScriptMgrDestroy();
}
BENCHMARK(BM_ScriptMgrUpdate_Waiting)->Arg(100)->Arg(1000);

// One script resumed at every update: one resume-yield pair per iteration.
static void BM_ScriptResumeYield(benchmark::State& state) {
    BenchLuaFile file("while true do WaitFrame(1) end");
    LuaScriptNew()->RunFile(file.path.c_str());
    for (auto _ : state)
        ScriptMgrUpdate(1.0f / 30.0f);
    ScriptMgrDestroy();
}
BENCHMARK(BM_ScriptResumeYield);
