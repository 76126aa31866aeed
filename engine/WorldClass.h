// The class procedure every world and game entity class answers with: the property database (and
// the class data folder) on ENT_CLASS_MSG_BUILD_DB, the reset of the source-file table on
// ENT_CLASS_MSG_RESET, the class's own shut-down on ENT_CLASS_MSG_UNREGISTER, the class string on
// ENT_CLASS_MSG_CLASS_NAME, a new instance on ENT_CLASS_MSG_CREATE, and every other message
// forwarded to the instance.
#pragma once

#include "engine/DataDir.h"
#include "engine/EntTree.h"

#include <cstdint>
#include <new>

class ENTBASE;
class PropDb;

struct WorldClassDef {
    const char* name;   // the class string
    PropDb* (*db)();    // builds the database on first use; null for a class without one
    ENTBASE* (*make)(); // a new instance, not yet linked
    void (*reset)();    // class state back to its start on registration; may be null
    // The class data folder, when the class keeps one: set on registration from the path it was
    // registered with (ENT_CLASS_MSG_BUILD_DB's b), the program folder + "Data/" when none was
    // given.
    DataDir* dataDir = nullptr;
    void (*onReset)() = nullptr;      // ENT_CLASS_MSG_RESET, after the source-file table is emptied
    void (*onUnregister)() = nullptr; // ENT_CLASS_MSG_UNREGISTER: the class's own resources
};

intptr_t WorldClassProc(const WorldClassDef& def, EntNode* node, int message, intptr_t a,
                        intptr_t b, intptr_t c);

// The class string into a caller's buffer of 64 bytes, as CopyClassName does; 0.
int WorldCopyClassName(const char* name, char* buffer);

// The class-wide flags word of class T: ENT_CLASS_FLAGS_INITIAL at start and again at each
// registration.
template <class T>
struct WorldClassFlags {
    static inline uint32_t word = ENT_CLASS_FLAGS_INITIAL;
    static void Reset() { word = ENT_CLASS_FLAGS_INITIAL; }
};

// A new instance of T, or null when memory fails.
template <class T>
ENTBASE* WorldMake() {
    return new (std::nothrow) T;
}
