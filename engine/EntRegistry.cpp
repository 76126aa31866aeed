// The class registry: classes by name, most recently registered first.
#include "engine/EntTree.h"

#include "engine/DebugLog.h"
#include "engine/Memory.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"

#include <cassert>
#include <cstring>
#include <strings.h>

namespace {
EntClass* s_classes = nullptr;

// Registration gives the procedure more room than the 64 bytes of ENT_CLASS_MSG_CLASS_NAME, so that
// a class string too long for a record is seen and refused instead of cut.
constexpr size_t kClassStringRoom = 256;
} // namespace

int EntSystemInit() {
    s_classes = nullptr;
    return 0;
}

int EntCreateClass(EntClassProc proc, intptr_t b, intptr_t c) {
    if (!proc) return -1;
    char name[kClassStringRoom] = {};
    proc(nullptr, ENT_CLASS_MSG_CLASS_NAME, 0, (intptr_t)name, 0);
    size_t length = strnlen(name, sizeof name);
    if (length == 0 || length >= sizeof(EntClass::name)) return -1;
    if (EntClassFind(name)) return -1;
    auto* cls = static_cast<EntClass*>(MemAlloc(sizeof(EntClass)));
    if (!cls) return -1;
    std::memset(cls, 0, sizeof *cls);
    std::memcpy(cls->name, name, length);
    cls->proc = proc;
    cls->removalKind = ENT_REMOVAL_KIND_DEFAULT;
    cls->removalHears = ENT_REMOVAL_HEARS_ALL;
    cls->next = s_classes;
    s_classes = cls;
    const int64_t refusedBefore = PropDbFailedAdds() + VarTableFailedAdds();
    proc(nullptr, ENT_CLASS_MSG_BUILD_DB, 0, b, c);
    // A field its class could not add (misnamed, named twice, or past a table counted too small)
    // is already logged; in a checked build it stops here, where the class is named.
    [[maybe_unused]] const bool complete =
        PropDbFailedAdds() + VarTableFailedAdds() == refusedBefore;
    assert(complete && "a class's set-up adds every field it names");
    DbgPrintf(DBG_ENTITY, "EntCreateClass(%s)... ok.\n", cls->name);
    return 0;
}

EntClass* EntClassFind(const char* name) {
    if (!name) return nullptr;
    for (EntClass* c = s_classes; c; c = c->next)
        if (strcasecmp(c->name, name) == 0) return c;
    return nullptr;
}

int EntClassSetRemoval(const char* className, uint8_t kind, uint8_t hears) {
    EntClass* cls = EntClassFind(className);
    if (!cls) return -1;
    cls->removalKind = kind;
    cls->removalHears = hears;
    return 0;
}

int EntClassSetUpdateBytes(const char* className, int bytes) {
    EntClass* cls = EntClassFind(className);
    if (!cls) return -1;
    cls->updateBytes = (uint32_t)(bytes < 0 ? 0 : bytes > 4096 ? 4096 : bytes);
    return 0;
}

int EntClassSetUpdateAhead(const char* className, void (*ahead)(const ENTBASE* entity)) {
    EntClass* cls = EntClassFind(className);
    if (!cls) return -1;
    cls->updateAhead = ahead;
    return 0;
}

void EntResetClasses() {
    for (EntClass* c = s_classes; c; c = c->next)
        c->proc(nullptr, ENT_CLASS_MSG_RESET, 0, 0, 0);
}

void EntSystemShutdown() {
    for (EntClass* c = s_classes; c;) {
        EntClass* next = c->next;
        c->proc(nullptr, ENT_CLASS_MSG_UNREGISTER, 0, 0, 0);
        MemFree(c);
        c = next;
    }
    s_classes = nullptr;
}
