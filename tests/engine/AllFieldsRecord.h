// A record with one field of every property type and its database, shared by the property
// database's tests and its fuzz target.
#pragma once

#include "engine/PropDb.h"

#include <cstddef>
#include <cstdint>

namespace all_fields {

// One field of every type.
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

inline void DoNothing(void*) {}

inline const PropDb* RecordDb() {
    static PropDb s_db;
    static bool s_built = [] {
        PropDbSetName(&s_db, "TestRecord");
        PropDbAddStringBlank(&s_db, "name", offsetof(Record, name), 32);
        PropDbAddSeparator(&s_db, "General:");
        PropDbAddInt(&s_db, "count", offsetof(Record, count), 3);
        PropDbAddFloat(&s_db, "speed", offsetof(Record, speed), 1.5f);
        PropDbAddAngle(&s_db, "heading", offsetof(Record, heading), 0.5f);
        PropDbAddString(&s_db, "title", offsetof(Record, title), "Untitled", 16);
        PropDbAddBool(&s_db, "enabled", offsetof(Record, enabled), 1);
        PropDbAddColor3fWhite(&s_db, "tint", offsetof(Record, tint));
        PropDbAddColor4bWhite(&s_db, "color", offsetof(Record, color));
        PropDbAddVector3Zero(&s_db, "pos", offsetof(Record, pos));
        PropDbAddVoid(&s_db, "user", offsetof(Record, user), 0);
        PropDbAddCommand(&s_db, "reset", DoNothing);
        return true;
    }();
    (void)s_built;
    return &s_db;
}

} // namespace all_fields
