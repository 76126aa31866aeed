// The world entity classes of the Ent3dBase tests.
#include "tests/engine/Ent3d/Ent3dTestClass.h"

#include "engine/PropDb.h"

#include <cstdio>

uint32_t Prop3d::s_classFlags = 0x1F;

int Prop3d::CopyClassName(char* buffer) {
    std::snprintf(buffer, 64, "%s", type);
    return 0;
}

namespace {

PropDb& Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "Prop3d");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(Prop3d, name), 32);
        PropDbAddVector3(&s_db, "pos", PROP_OFFSET(Prop3d, pos), 0, 0, 0);
        PropDbAddFloat(&s_db, "size", PROP_OFFSET(Prop3d, size), 1.0f);
    }
    return s_db;
}

template <bool Camera>
intptr_t Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    const char* name = Camera ? "CameraVantor1" : "Prop3d";
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: Db(); return 0;
        case ENT_CLASS_MSG_RESET: Ent3dForgetTerrain(); return 0;
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "%s", name);
            return 0;
        case ENT_CLASS_MSG_CREATE: {
            auto* e = new Prop3d;
            e->type = name;
            PropDbInitObject(&Db(), e);
            return EntProcCreate(node, e, &Db());
        }
        default: return EntProcForward(node, message, a, b, c);
    }
}

} // namespace

void RegisterProp3d() {
    EntSystemShutdown();
    EntSystemInit();
    Ent3dForgetTerrain();
    Prop3d::s_classFlags = 0x1F;
    EntCreateClass(Proc<false>, 0, 0);
    EntCreateClass(Proc<true>, 0, 0);
}

Prop3d* MakeProp(ENTBASE* parent, const char* name, const char* className) {
    EntNode* node = EntCreate(className, parent ? parent->node : nullptr, 0, 0, 0);
    auto* e = node ? static_cast<Prop3d*>(node->object) : nullptr;
    if (e) e->SetName(name);
    return e;
}
