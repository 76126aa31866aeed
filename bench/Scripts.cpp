// Costs of the script system: the scheduler over waiting scripts, one resume-yield pair, and a
// property set from Lua against the same set from C++.
#include "engine/PropDb.h"

#include "engine/EntBase.h"
#include "engine/EntTree.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"

#include <lua.hpp>

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

// A busy script: each resume runs a loop of 100000 additions before it waits. Argument 0 runs it
// without the instruction budget, 1 with the default budget and close check looks; the ratio of
// the two is the budget's cost. 2 counts the budget from every run's first instruction, as it is
// counted in a run that has gone on long enough to be armed: the cost arming late avoids.
static void BM_ScriptBusyResume(benchmark::State& state) {
    BenchLuaFile file("while true do local k = 0 for i = 1, 100000 do k = k + i end WaitFrame(1)"
                      " end");
    ScriptMgrSetBudget(state.range(0) ? 300000000 : 0);
    if (state.range(0)) ScriptMgrSetCloseCheck([](void*) { return false; }, nullptr);
    if (state.range(0) == 2) ScriptMgrSetArmTick(0);
    LuaScriptNew()->RunFile(file.path.c_str());
    for (auto _ : state)
        ScriptMgrUpdate(1.0f / 30.0f);
    ScriptMgrDestroy();
    ScriptMgrSetArmTick(50);
    ScriptMgrSetCloseCheck(nullptr, nullptr);
    ScriptMgrSetBudget(300000000);
}
BENCHMARK(BM_ScriptBusyResume)->Arg(0)->Arg(1)->Arg(2);

namespace {
class BenchEnt : public ENTBASE {
  public:
    float speed = 0.0f;
};
PropDb s_benchDb;

intptr_t BenchProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
            if (!s_benchDb.first) {
                PropDbSetName(&s_benchDb, "BenchEnt");
                PropDbAddStringBlank(&s_benchDb, "name", PROP_OFFSET(BenchEnt, name), 32);
                PropDbAddFloat(&s_benchDb, "speed", PROP_OFFSET(BenchEnt, speed), 0.0f);
            }
            return 0;
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "BenchEnt");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new BenchEnt, &s_benchDb);
        default: return EntProcForward(node, message, a, b, c);
    }
}

ENTBASE* MakeBenchEnt() {
    EntSystemInit();
    EntCreateClass(BenchProc, 0, 0);
    return EntCreateChild("BenchEnt", nullptr);
}

void FreeBenchEnt(ENTBASE* e) {
    EntDestroyTree(e);
    EntSystemShutdown();
}

constexpr int kCallsPerIteration = 1000;
} // namespace

// Items are SetFloat calls; lua:1 calls Entity.SetFloat from a Lua loop, lua:0 the same setter
// from C++. Compare the two item rates.
static void BM_EntitySetFloat(benchmark::State& state) {
    ENTBASE* e = MakeBenchEnt();
    if (state.range(0)) {
        lua_State* L = ScriptMgrGet()->L;
        LuaOpenEntityLib(L);
        LuaSetGlobalEntity(e, "e");
        luaL_dostring(L,
                      "function SetMany(n) for i = 1, n do Entity.SetFloat(e, 'speed', i) end end");
        for (auto _ : state) {
            lua_getglobal(L, "SetMany");
            lua_pushinteger(L, kCallsPerIteration);
            lua_pcall(L, 1, 0, 0);
        }
        ScriptMgrDestroy();
    } else {
        for (auto _ : state) {
            for (int i = 1; i <= kCallsPerIteration; ++i)
                benchmark::DoNotOptimize(e->SetFloat("speed", static_cast<float>(i)));
        }
    }
    state.SetItemsProcessed(state.iterations() * kCallsPerIteration);
    FreeBenchEnt(e);
}
BENCHMARK(BM_EntitySetFloat)->ArgName("lua")->Arg(0)->Arg(1);
