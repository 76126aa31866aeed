// The class procedure every world entity class answers with: the property database on message
// 0, the reset of the source-file table on 1, the class string on 4, a new instance on 6, and
// every other message forwarded to the instance.
#pragma once

#include "engine/EntTree.h"

#include <cstdint>

class ENTBASE;
class PropDb;

struct WorldClassDef {
    const char* name;   // the class string
    PropDb* (*db)();    // builds the database on first use; null for a class without one
    ENTBASE* (*make)(); // a new instance, not yet linked
    void (*reset)();    // class state back to its start on registration; may be null
};

intptr_t WorldClassProc(const WorldClassDef& def, EntNode* node, int message, intptr_t a,
                        intptr_t b, intptr_t c);

// The class string into a caller's buffer of 64 bytes, as CopyClassName does; 0.
int WorldCopyClassName(const char* name, char* buffer);
