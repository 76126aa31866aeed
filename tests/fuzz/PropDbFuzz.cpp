// A property database of every field type loaded from a section of any file, as entities and
// game records load their properties.
#include "engine/IniFile.h"
#include "engine/PropDb.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

struct Record {
    char name[33];
    int32_t count;
    float speed;
    float heading;
    char title[17];
    uint8_t enabled;
    float tint[3];
    uint32_t color;
    float pos[3];
    intptr_t user;
};

void DoNothing(void*) {}

const PropDb* RecordDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "FuzzRecord");
        PropDbAddStringBlank(&s_db, "name", offsetof(Record, name), 32, 3);
        PropDbAddSeparator(&s_db, "General:");
        PropDbAddInt(&s_db, "count", offsetof(Record, count), 3, 3);
        PropDbAddFloat(&s_db, "speed", offsetof(Record, speed), 1.5f, 3);
        PropDbAddAngle(&s_db, "heading", offsetof(Record, heading), 0.5f, 3);
        PropDbAddString(&s_db, "title", offsetof(Record, title), "Untitled", 16, 3);
        PropDbAddBool(&s_db, "enabled", offsetof(Record, enabled), 1, 3);
        PropDbAddColor3fWhite(&s_db, "tint", offsetof(Record, tint), 3);
        PropDbAddColor4bWhite(&s_db, "color", offsetof(Record, color), 3);
        PropDbAddVector3Zero(&s_db, "pos", offsetof(Record, pos), 3);
        PropDbAddVoid(&s_db, "user", offsetof(Record, user), 0, 3);
        PropDbAddCommand(&s_db, "reset", DoNothing, 3);
    }
    return &s_db;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Record.ini", data, size);
    Record r;
    PropDbInitObject(RecordDb(), &r);
    VarDbLoadIni(RecordDb(), &r, path.c_str(), "Record");
    // Every section of the file, through the loaded file, as a record list reads its records.
    if (IniOpen(path.c_str()) == 0) {
        char name[64];
        size_t full = 0;
        IniRewindSections();
        for (int n = 0; n < 64 && IniNextSection(name, sizeof name, &full) == 1; ++n)
            if (full < sizeof name) VarDbLoadIni(RecordDb(), &r, nullptr, name);
        IniClose();
    }
    return 0;
}
