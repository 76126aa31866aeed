// The null entity's class: a database of "name" only.
#include "world/EntNull.h"

#include "engine/PropDb.h"
#include "engine/WorldClass.h"

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "EntNull");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(EntNull, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"EntNull", Db, WorldMake<EntNull>, nullptr};
} // namespace

intptr_t EcNullProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
