#include "tests/tools/EditTestEnts.h"

#include "engine/PropDb.h"

#include <cstdio>
#include <cstring>

uint32_t EditProp::s_propFlags = 0xF;
uint32_t EditProp::s_terrainFlags = 0xF;
uint32_t EditProp::s_gridFlags = 0xF;
bool EditProp::s_refuse = false;

int EditProp::CopyClassName(char* buffer) {
    std::snprintf(buffer, 64, "%s", type);
    return 0;
}

int EditProp::Start() {
    ++starts;
    return Ent3dBase::Start();
}

int EditProp::VarsChanged() {
    ++varsChanged;
    if (onVarsChanged) onVarsChanged(this);
    return 1;
}

// The world box follows the position: a cube of half-size 1.
void EditProp::SetPos(const VECTOR3* p) {
    Ent3dBase::SetPos(p);
    const float box[6] = {pos.x - 1, pos.y - 1, pos.z - 1, pos.x + 1, pos.y + 1, pos.z + 1};
    std::memcpy(worldBox, box, sizeof box);
}

namespace {

PropDb& Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "Prop");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(EditProp, name), 32);
        PropDbAddVector3(&s_db, "pos", PROP_OFFSET(EditProp, pos), 0, 0, 0);
        PropDbAddFloat(&s_db, "yaw", PROP_OFFSET(EditProp, yaw), 0.0f);
    }
    return s_db;
}

template <int Kind>
intptr_t Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static const char* const kNames[] = {"Prop", "Terrain2", "GameGrid"};
    static uint32_t* const kFlags[] = {&EditProp::s_propFlags, &EditProp::s_terrainFlags,
                                       &EditProp::s_gridFlags};
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: Db(); return 0;
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "%s", kNames[Kind]);
            return 0;
        case ENT_CLASS_MSG_CREATE: {
            if (Kind == 0 && EditProp::s_refuse) return -1;
            auto* e = new EditProp;
            e->type = kNames[Kind];
            e->classFlags = kFlags[Kind];
            PropDbInitObject(&Db(), e);
            return EntProcCreate(node, e, &Db());
        }
        default: return EntProcForward(node, message, a, b, c);
    }
}

} // namespace

void RegisterEditTestClasses() {
    EntSystemShutdown();
    EntSystemInit();
    Ent3dForgetTerrain();
    EditProp::s_propFlags = EditProp::s_terrainFlags = EditProp::s_gridFlags = 0xF;
    EditProp::s_refuse = false;
    EntCreateClass(Proc<0>, 0, 0);
    EntCreateClass(Proc<1>, 0, 0);
    EntCreateClass(Proc<2>, 0, 0);
}

EditProp* MakeEditProp(ENTBASE* parent, const char* name, VECTOR3 pos, const char* className) {
    EntNode* node = EntCreate(className, parent ? parent->node : nullptr, 0, 0, 0);
    auto* e = node ? static_cast<EditProp*>(node->object) : nullptr;
    if (!e) return nullptr;
    e->SetName(name);
    e->SetPos(&pos);
    return e;
}
