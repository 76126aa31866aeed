// The preferences record and its place in "config.ini".
#include "game/Prefs.h"

#include "engine/DebugLog.h"
#include "engine/IniFile.h"

#include <cctype>
#include <cmath>
#include <cstddef>
#include <string>

namespace {
struct PrefField {
    const char* name;
    float Prefs::*member;
    float def;
    bool fraction; // at most 1; the edge-scroll zone has no screen and no upper end
};

const PrefField kFields[] = {
    {"patronVisDist", &Prefs::patronVisDist, 0.5f, true},
    {"edgeScrollSpeed", &Prefs::edgeScrollSpeed, 0.5f, true},
    {"edgeScrollRegion", &Prefs::edgeScrollRegion, 0.5f, false},
    {"volMaster", &Prefs::volMaster, 1.0f, true},
    {"volMusic", &Prefs::volMusic, 0.5f, true},
    {"volSfx", &Prefs::volSfx, 0.5f, true},
};

// Digits after blanks and one sign, as the ini layer's numbers begin; "abc", "nan" and "inf"
// are no numbers.
bool LooksNumeric(const char* text) {
    while (*text == ' ' || *text == '\t')
        ++text;
    if (*text == '+' || *text == '-') ++text;
    if (*text == '.') ++text;
    return std::isdigit(static_cast<unsigned char>(*text)) != 0;
}
} // namespace

void Prefs::BuildDb(PropDb* db) {
    PropDbAddFloat(db, "patronVisDist", offsetof(Prefs, patronVisDist), 0.5f);
    PropDbAddFloat(db, "edgeScrollSpeed", offsetof(Prefs, edgeScrollSpeed), 0.5f);
    PropDbAddFloat(db, "edgeScrollRegion", offsetof(Prefs, edgeScrollRegion), 0.5f);
    PropDbAddFloat(db, "volMaster", offsetof(Prefs, volMaster), 1.0f);
    PropDbAddFloat(db, "volMusic", offsetof(Prefs, volMusic), 0.5f);
    PropDbAddFloat(db, "volSfx", offsetof(Prefs, volSfx), 0.5f);
}

// The file is "Config.ini" on disk; the case-insensitive lookup finds it under either name.
static std::string ConfigPath(const char* folder) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    return path + "config.ini";
}

void Prefs::Load(const char* folder) {
    if (!folder) return;
    const std::string path = ConfigPath(folder);
    VarDbLoadIni(Db(), this, path.c_str(), "Prefs");
    // The preferences are fractions from 0 to 1 (the edge-scroll zone only not negative): a
    // hand-edited or damaged value is brought back into range, and one that is no number takes
    // its default, so that nothing downstream sees a negative or non-finite gain or distance.
    const bool opened = IniOpen(path.c_str()) == 0;
    const bool section = IniSetSection("Prefs") == 0;
    for (const PrefField& f : kFields) {
        float& value = this->*f.member;
        char text[INI_VALUE_MAX + 1] = {};
        const bool present = section && IniFindKey(f.name, text, sizeof text) == 0;
        float fixed = value;
        if ((present && !LooksNumeric(text)) || !std::isfinite(value))
            fixed = f.def;
        else if (value < 0.0f)
            fixed = 0.0f;
        else if (value > 1.0f && f.fraction)
            fixed = 1.0f;
        if (fixed == value) continue;
        DbgPrintf(DBG_GENERAL, "Prefs: %s=\"%s\" in %s is no number from 0 to 1; %g\n", f.name,
                  text, path.c_str(), double(fixed));
        value = fixed;
    }
    if (opened) IniClose();
}

bool Prefs::Save(const char* folder) const {
    if (!folder) return false;
    return VarDbSaveIni(Db(), this, ConfigPath(folder).c_str(), "Prefs");
}
