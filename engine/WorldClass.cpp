// The shared class procedure of the world entity classes.
#include "engine/WorldClass.h"

#include "engine/EntBase.h"
#include "engine/EntIniLoader.h"

#include <cstdio>

intptr_t WorldClassProc(const WorldClassDef& def, EntNode* node, int message, intptr_t a,
                        intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
            if (def.dataDir) DataDirSetFromFile(def.dataDir, reinterpret_cast<const char*>(b));
            if (def.db) def.db();
            if (def.reset) def.reset();
            return 0;
        case ENT_CLASS_MSG_RESET: {
            const intptr_t cleared = EntSourceFilesClear();
            if (def.onReset) def.onReset();
            return cleared;
        }
        case ENT_CLASS_MSG_UNREGISTER:
            if (def.onUnregister) def.onUnregister();
            return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            return WorldCopyClassName(def.name, reinterpret_cast<char*>(b));
        case ENT_CLASS_MSG_CREATE:
            return EntProcCreate(node, def.make(), def.db ? def.db() : nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}

int WorldCopyClassName(const char* name, char* buffer) {
    if (buffer) std::snprintf(buffer, 64, "%s", name);
    return 0;
}
