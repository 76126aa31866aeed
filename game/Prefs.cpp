// The preferences record and its place in "config.ini".
#include "game/Prefs.h"

#include "engine/Memory.h"
#include "game/RecordDb.h"

#include <cstddef>
#include <string>

static void BuildPrefsDb(PropDb* db) {
    constexpr uint32_t f = REC_FIELD_FLAGS;
    PropDbAddFloat(db, "patronVisDist", offsetof(Prefs, patronVisDist), 0.5f, f);
    PropDbAddFloat(db, "edgeScrollSpeed", offsetof(Prefs, edgeScrollSpeed), 0.5f, f);
    PropDbAddFloat(db, "edgeScrollRegion", offsetof(Prefs, edgeScrollRegion), 0.5f, f);
    PropDbAddFloat(db, "volMaster", offsetof(Prefs, volMaster), 1.0f, f);
    PropDbAddFloat(db, "volMusic", offsetof(Prefs, volMusic), 0.5f, f);
    PropDbAddFloat(db, "volSfx", offsetof(Prefs, volSfx), 0.5f, f);
}

static RecordDbShare s_share{Prefs::kTypeName, BuildPrefsDb, nullptr, 0};

// The file is "Config.ini" on disk; the case-insensitive lookup finds it under either name.
static std::string ConfigPath(const char* folder) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    return path + "config.ini";
}

Prefs::Prefs() {
    MemZero(this, sizeof *this);
    PropDbInitObject(RecordDbAcquire(&s_share), this);
}

Prefs::~Prefs() {
    RecordDbRelease(&s_share);
}

PropDb* Prefs::Db() {
    return s_share.db;
}

void Prefs::Load(const char* folder) {
    if (!folder) return;
    VarDbLoadIni(s_share.db, this, ConfigPath(folder).c_str(), "Prefs");
}

void Prefs::Save(const char* folder) const {
    if (!folder) return;
    VarDbSaveIni(s_share.db, this, ConfigPath(folder).c_str(), "Prefs");
}

void Prefs::Dump() const {
    VarDbDump(s_share.db, this);
}
