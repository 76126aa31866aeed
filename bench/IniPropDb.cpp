// Costs of the ini layer and property databases on save-sized data: section and key lookups
// over a 1 MB save, writing the same save field by field, and field lookup by name.
#include "engine/IniFile.h"
#include "engine/PropDb.h"

#include <benchmark/benchmark.h>

#include <ftw.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kKeys = 20;

std::string ScratchDir() {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/fairlark-bench-XXXXXX";
    if (!mkdtemp(tmpl.data())) std::abort();
    return tmpl + "/";
}

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
    return remove(path);
}
void RemoveDir(const std::string& dir) {
    nftw(dir.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

// A record of 20 fields, as a saved entity of about 1 KB in its section.
struct Saved {
    char name[33];
    char text[kKeys / 2][41];
    float values[kKeys / 2 - 1];
};

const PropDb* SavedDb() {
    static PropDb s_db;
    static bool s_built = [] {
        PropDbAddStringBlank(&s_db, "name", offsetof(Saved, name), 32);
        for (int i = 0; i < kKeys / 2; ++i)
            PropDbAddStringBlank(&s_db, ("description" + std::to_string(i)).c_str(),
                                 offsetof(Saved, text) + 41 * i, 40);
        for (int i = 0; i < kKeys / 2 - 1; ++i)
            PropDbAddFloat(&s_db, ("value" + std::to_string(i)).c_str(),
                           offsetof(Saved, values) + 4 * i, 0);
        return true;
    }();
    (void)s_built;
    return &s_db;
}

Saved SampleSaved() {
    Saved s{};
    std::snprintf(s.name, sizeof s.name, "ENT~123");
    for (auto& t : s.text)
        std::snprintf(t, sizeof t, "%s", "a forty character text for each key.....");
    for (int i = 0; i < kKeys / 2 - 1; ++i)
        s.values[i] = 1234.5f + (float)i;
    return s;
}

std::string SectionName(int i) {
    return "ENT~" + std::to_string(i);
}

void WriteSave(const std::string& path, int sections) {
    Saved s = SampleSaved();
    IniSetProfileFile(path.c_str());
    for (int i = 0; i < sections; ++i)
        VarDbSaveIni(SavedDb(), &s, nullptr, SectionName(i).c_str());
    IniClearProfileFile();
}

} // namespace

// Every section selected once and all its keys read, as a save load does it.
static void BM_IniLoadSave1000Sections(benchmark::State& state) {
    std::string dir = ScratchDir();
    std::string path = dir + "save.sbx";
    WriteSave(path, 1000);
    IniOpen(path.c_str());
    std::vector<std::string> names;
    for (int i = 0; i < 1000; ++i)
        names.push_back(SectionName(i));
    std::vector<std::string> keys;
    for (PropField* f = SavedDb()->first; f; f = f->next)
        keys.push_back(f->name);
    char value[INI_VALUE_MAX + 1];
    for (auto _ : state) {
        for (const std::string& n : names) {
            IniSetSection(n.c_str());
            for (const std::string& k : keys)
                IniFindKey(k.c_str(), value, sizeof value);
        }
    }
    state.counters["us_per_section"] = benchmark::Counter(
        1000.0 * (double)state.iterations(),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
    IniClose();
    RemoveDir(dir);
}
BENCHMARK(BM_IniLoadSave1000Sections)->Unit(benchmark::kMillisecond);

// The same save written through VarDbSaveIni: edits held in memory, one file write at the end.
static void BM_VarDbSaveIni(benchmark::State& state) {
    std::string dir = ScratchDir();
    std::string path = dir + "save.sbx";
    for (auto _ : state) {
        unlink(path.c_str());
        WriteSave(path, (int)state.range(0));
    }
    RemoveDir(dir);
}
BENCHMARK(BM_VarDbSaveIni)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// For comparison: the whole file written after every key, as a write-through profile would.
static void BM_VarDbSaveIniWriteThrough(benchmark::State& state) {
    std::string dir = ScratchDir();
    std::string path = dir + "save.sbx";
    Saved s = SampleSaved();
    char value[64];
    for (auto _ : state) {
        unlink(path.c_str());
        IniSetProfileFile(path.c_str());
        for (int i = 0; i < (int)state.range(0); ++i)
            for (PropField* f = SavedDb()->first; f; f = f->next) {
                f->ToText(&s, value, sizeof value);
                IniProfileWriteString(SectionName(i).c_str(), f->name, value);
                IniProfileFlush();
            }
        IniClearProfileFile();
    }
    RemoveDir(dir);
}
BENCHMARK(BM_VarDbSaveIniWriteThrough)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

static void BM_PropDbFindField60(benchmark::State& state) {
    PropDb db;
    std::vector<std::string> names;
    for (int i = 0; i < 60; ++i) {
        names.push_back("property" + std::to_string(i));
        PropDbAddInt(&db, names.back().c_str(), 4 * i, 0);
    }
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(PropDbFindField(&db, names[i++ % names.size()].c_str()));
}
BENCHMARK(BM_PropDbFindField60);
