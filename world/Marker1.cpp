// The tile marker: its table, its class model and its drawing.
#include "world/Marker1.h"

#include "I3d/Math/Mat4Math.h"
#include "I3d/Mdl3.h"
#include "I3d/Mdl3Draw.h"
#include "engine/DataDir.h"
#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"

namespace {

VarTable* s_vars = nullptr;
MDL3* s_model = nullptr;
DataDir s_folder;

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "Marker1");
        PropDbAddString(&s_db, "name", PROP_OFFSET(Marker1, name), "test", 32, 0);
    }
    return &s_db;
}

const WorldClassDef kClass = {"Marker1", Db, WorldMake<Marker1>, WorldClassFlags<Marker1>::Reset,
                              &s_folder};

void AddVars(VarTable* t) {
    using C = Marker1;
    VarTableAddString(t, "name", PROP_OFFSET(C, name), 32, "!");
    VarTableAddFloat(t, "x", PROP_OFFSET(C, pos.x), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "y", PROP_OFFSET(C, pos.y), 0.0f, -200.0f, 3000.0f);
    VarTableAddFloat(t, "z", PROP_OFFSET(C, pos.z), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "size", PROP_OFFSET(C, size), 0.0f, 0.0f, 20.0f);
}

void SetUpClass() {
    if (!s_vars) s_vars = VarTableBuild(AddVars, 4); // 9 entries in all
    char path[1024];
    if (!s_model && DataDirFile(&s_folder, "SandDollar.md3", path, sizeof path) == 1) {
        s_model = Mdl3Load(path, 1);
        if (s_model)
            Mdl3LoadTextures(s_model, path);
        else
            DbgPrintf(DBG_ENTITY, "** WARNING ** could not find %s\n", path);
    }
}

void ShutDownClass() {
    VarTableDestroy(s_vars);
    s_vars = nullptr;
    if (s_model) {
        Mdl3FreeTextures(s_model);
        Mdl3Release(s_model);
        s_model = nullptr;
    }
}

} // namespace

MDL3* Marker1Model() {
    return s_model;
}

intptr_t EcMarker1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    // The data folder is set by the shared procedure before the model is looked for.
    const intptr_t result = WorldClassProc(kClass, node, message, a, b, c);
    if (message == ENT_CLASS_MSG_BUILD_DB) SetUpClass();
    if (message == ENT_CLASS_MSG_UNREGISTER) ShutDownClass();
    return result;
}

int Marker1::CopyClassName(char* buffer) {
    return WorldCopyClassName("Marker1", buffer);
}

int Marker1::Create(EntNode*) {
    if (s_vars) VarTableInitObject(s_vars, this);
    instanceVars = s_vars;
    pos = VECTOR3{0.0f, 0.0f, 0.0f};
    size = 1.5f;
    tileX = tileZ = -1;
    age = 0.0f;
    return 1;
}

int Marker1::Start() {
    age = 0.0f;
    VarsChanged();
    return 0;
}

int Marker1::Update(float dt) {
    age += dt;
    return 1;
}

int Marker1::DrawPre() {
    if (!s_model) return 1;
    Mat4 world;
    Mat4Identity(&world);
    world.m[0] = world.m[10] = size;
    world.m[12] = pos.x;
    world.m[13] = pos.y;
    world.m[14] = pos.z;
    Mdl3Draw(s_model, &world);
    return 1;
}
