// Costs of the entity framework: the per-frame update walk, create and destroy churn with the
// sweep, lookup by type from the root, and loading an entity list.
#include "engine/EntBase.h"
#include "engine/EntIniLoader.h"
#include "engine/EntRef.h"
#include "engine/IniFile.h"

#include <benchmark/benchmark.h>

#include <ftw.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

class BenchEnt : public ENTBASE {
  public:
    explicit BenchEnt(const char* t) : type(t) {}
    const char* GetTypeName() override { return type; }
    int Update(float seconds) override {
        elapsed += seconds;
        return 1;
    }
    const char* type;
    float elapsed = 0;
};

template <int K>
intptr_t Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static const char* const kNames[] = {"Scenery", "Patron", "Booth"};
    switch (message) {
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "%s", kNames[K]);
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new BenchEnt(kNames[K]), nullptr);
        case ENT_CLASS_MSG_BUILD_DB:
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        default: return EntProcForward(node, message, a, b, c);
    }
}

void Register() {
    EntSystemShutdown();
    EntSystemInit();
    EntCreateClass(Proc<0>, 0, 0);
    EntCreateClass(Proc<1>, 0, 0);
    EntCreateClass(Proc<2>, 0, 0);
}

// 5,000 entities: four chains 250 deep, and 40 groups of 100 leaves.
ENTBASE* BuildWorld() {
    ENTBASE* root = EntCreateChild("Scenery", nullptr);
    for (int chain = 0; chain < 4; ++chain) {
        ENTBASE* at = root;
        for (int i = 0; i < 250; ++i)
            at = EntCreateChild("Scenery", at);
    }
    for (int g = 0; g < 40; ++g) {
        ENTBASE* group = EntCreateChild("Scenery", root);
        for (int i = 0; i < 99; ++i)
            EntCreateChild("Patron", group);
    }
    EntCreateChild("Booth", root); // the one the lookup looks for, last in pre-order
    return root;
}

} // namespace

static void BM_EntTreeUpdate5000(benchmark::State& state) {
    Register();
    ENTBASE* root = BuildWorld();
    int count = EntTreeCount(root);
    for (auto _ : state)
        EntTreeUpdate(root, 0.016f);
    state.counters["per_entity"] = benchmark::Counter(
        (double)count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    EntDestroyTree(root);
}
BENCHMARK(BM_EntTreeUpdate5000)->Unit(benchmark::kMicrosecond);

// One frame: 500 patrons made, the update walk, all 500 destroyed and swept.
static void BM_EntChurn500PerFrame(benchmark::State& state) {
    Register();
    ENTBASE* root = BuildWorld();
    ENTBASE* crowd = EntCreateChild("Scenery", root);
    for (auto _ : state) {
        for (int i = 0; i < 500; ++i)
            EntCreateChild("Patron", crowd);
        EntTreeUpdate(root, 0.016f);
        EntDestroyChildren(crowd);
    }
    EntDestroyTree(root);
}
BENCHMARK(BM_EntChurn500PerFrame)->Unit(benchmark::kMicrosecond);

static void BM_EntTreeFindType5000(benchmark::State& state) {
    Register();
    ENTBASE* root = BuildWorld();
    for (auto _ : state)
        benchmark::DoNotOptimize(EntTreeFindType(root, "Booth"));
    EntDestroyTree(root);
}
BENCHMARK(BM_EntTreeFindType5000)->Unit(benchmark::kMicrosecond);

static void BM_EntLoadList1000(benchmark::State& state) {
    Register();
    const char* base = std::getenv("TMPDIR");
    std::string dir = std::string(base && *base ? base : "/tmp") + "/fairlark-bench-XXXXXX";
    if (!mkdtemp(dir.data())) std::abort();
    std::string path = dir + "/World.ini";
    {
        std::ofstream out(path);
        out << "[Entities]\n";
        for (int i = 0; i < 1000; ++i)
            out << "Patron" << i << " Patron "
                << (i % 10 ? "Group" + std::to_string(i / 10 * 10) : "") << "\n";
    }
    ENTBASE* world = EntCreateChild("Scenery", nullptr);
    for (auto _ : state) {
        EntIniLoader loader(1000);
        loader.root = world;
        loader.defaultParent[0] = loader.defaultParent[1] = world;
        loader.Open(path.c_str());
        benchmark::DoNotOptimize(loader.EntLoadList(nullptr));
        loader.StartAll();
        state.PauseTiming();
        EntDestroyChildren(world);
        state.ResumeTiming();
    }
    EntDestroyTree(world);
    unlink(path.c_str());
    rmdir(dir.c_str());
}
BENCHMARK(BM_EntLoadList1000)->Unit(benchmark::kMillisecond);

// Items are handle checks: every entity of the 5,000-entity world, checked in tree order.
static void BM_EntIsLive5000(benchmark::State& state) {
    Register();
    ENTBASE* root = BuildWorld();
    std::vector<ENTBASE*> all(5000);
    all.resize((size_t)EntFindAllOfType(root, "Patron", all.data(), (int)all.size()));
    for (auto _ : state)
        for (ENTBASE* e : all)
            benchmark::DoNotOptimize(EntIsLive(e));
    state.SetItemsProcessed(state.iterations() * (int64_t)all.size());
    EntDestroyTree(root);
}
BENCHMARK(BM_EntIsLive5000);

// The same check through kept links: address and serial number.
static void BM_EntRefGet5000(benchmark::State& state) {
    Register();
    ENTBASE* root = BuildWorld();
    std::vector<ENTBASE*> all(5000);
    all.resize((size_t)EntFindAllOfType(root, "Patron", all.data(), (int)all.size()));
    std::vector<EntRef> refs(all.begin(), all.end());
    for (auto _ : state)
        for (const EntRef& ref : refs)
            benchmark::DoNotOptimize(ref.Get());
    state.SetItemsProcessed(state.iterations() * (int64_t)refs.size());
    EntDestroyTree(root);
}
BENCHMARK(BM_EntRefGet5000);
