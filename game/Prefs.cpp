// The preferences record and its place in "config.ini".
#include "game/Prefs.h"

#include <cstddef>
#include <string>

void Prefs::BuildDb(PropDb* db) {
    constexpr uint32_t f = REC_FIELD_FLAGS;
    PropDbAddFloat(db, "patronVisDist", offsetof(Prefs, patronVisDist), 0.5f, f);
    PropDbAddFloat(db, "edgeScrollSpeed", offsetof(Prefs, edgeScrollSpeed), 0.5f, f);
    PropDbAddFloat(db, "edgeScrollRegion", offsetof(Prefs, edgeScrollRegion), 0.5f, f);
    PropDbAddFloat(db, "volMaster", offsetof(Prefs, volMaster), 1.0f, f);
    PropDbAddFloat(db, "volMusic", offsetof(Prefs, volMusic), 0.5f, f);
    PropDbAddFloat(db, "volSfx", offsetof(Prefs, volSfx), 0.5f, f);
}

// The file is "Config.ini" on disk; the case-insensitive lookup finds it under either name.
static std::string ConfigPath(const char* folder) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    return path + "config.ini";
}

void Prefs::Load(const char* folder) {
    if (!folder) return;
    VarDbLoadIni(Db(), this, ConfigPath(folder).c_str(), "Prefs");
}

bool Prefs::Save(const char* folder) const {
    if (!folder) return false;
    return VarDbSaveIni(Db(), this, ConfigPath(folder).c_str(), "Prefs");
}
