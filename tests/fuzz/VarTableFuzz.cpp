// A variable table of every stored type loaded from a section of any file, as world entities
// load their per-instance variables.
#include "engine/IniFile.h"
#include "engine/VarTable.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

struct Object {
    uint8_t level;
    int32_t count;
    float speed;
    char title[17];
    uint32_t shown;
    intptr_t target;
    uint32_t packed;
    float tint[4];
};

VarTable* MakeTable() {
    VarTable* t = VarTableCreate(16);
    VarTableAddByte(t, "level", offsetof(Object, level), 3, 0, 200, 0);
    VarTableAddInt(t, "count", offsetof(Object, count), 5, -100, 100, 0);
    VarTableAddFloat(t, "speed", offsetof(Object, speed), 1.0f, 0.0f, 50.0f, 0);
    VarTableAddString(t, "title", offsetof(Object, title), 16, "Untitled", 0);
    VarTableAddBool(t, "shown", offsetof(Object, shown), 1, 0);
    VarTableAddEntity(t, "target", offsetof(Object, target), 0);
    VarTableAddColor4b(t, "packed", offsetof(Object, packed), 0xFF806040u, 0);
    VarTableAddColor4f(t, "tint", offsetof(Object, tint), 0);
    VarTableAddSeparator(t, "Other:");
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static VarTable* s_table = MakeTable(); // built once, as a class builds its table
    const std::string path = FuzzWriteFile("Vars.ini", data, size);
    Object object{};
    VarTableLoadIni(s_table, path.c_str(), "Vars", &object);
    // The same through the loaded file, as an entity reads its section of a loaded layout.
    if (IniOpen(path.c_str()) == 0) {
        char name[32];
        IniRewindSections();
        if (IniNextSection(name, sizeof name) == 1)
            VarTableLoadIni(s_table, nullptr, name, &object);
        IniClose();
    }
    return 0;
}
