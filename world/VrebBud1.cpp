// The turning test character.
#include "world/VrebBud1.h"

#include "I3d/Math/Mat4Math.h"
#include "I3d/Mdl3.h"
#include "I3d/Mdl3Draw.h"
#include "I3d/Shader.h"
#include "engine/DataDir.h"
#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"

#include <new>

namespace {

VarTable* s_vars = nullptr;
MDL3* s_model = nullptr;
Shader* s_shader = nullptr; // made and validated; the model draws with its own materials
DataDir s_folder;

const WorldClassDef kClass = {"VrebBud1", nullptr, WorldMake<VrebBud1>,
                              WorldClassFlags<VrebBud1>::Reset, &s_folder};

void AddVars(VarTable* t) {
    using C = VrebBud1;
    VarTableAddString(t, "name", PROP_OFFSET(C, name), 32, "!");
    VarTableAddFloat(t, "x", PROP_OFFSET(C, pos.x), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "y", PROP_OFFSET(C, pos.y), 0.0f, -200.0f, 3000.0f);
    VarTableAddFloat(t, "z", PROP_OFFSET(C, pos.z), 0.0f, 0.0f, 5120.0f);
}

void SetUpClass() {
    if (!s_vars) s_vars = VarTableBuild(AddVars, 5); // 9 entries in all
    char path[1024];
    if (!s_model && DataDirFile(&s_folder, "VrebGuy.md3", path, sizeof path) == 1) {
        s_model = Mdl3Load(path, 1);
        if (s_model)
            Mdl3LoadTextures(s_model, path);
        else
            DbgPrintf(DBG_ENTITY, "** WARNING ** could not find %s\n", path);
    }
    if (!s_shader && (s_shader = new (std::nothrow) Shader()) != nullptr) {
        s_shader->SetName("Solid");
        s_shader->SetPassFunc(0, ShaderLitTexturePass);
        s_shader->Validate();
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
    if (s_shader) SharedObjRelease(s_shader);
    s_shader = nullptr;
}

} // namespace

MDL3* VrebBudModel() {
    return s_model;
}

intptr_t EcVrebBud1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    const intptr_t result = WorldClassProc(kClass, node, message, a, b, c);
    if (message == ENT_CLASS_MSG_BUILD_DB) SetUpClass();
    if (message == ENT_CLASS_MSG_UNREGISTER) ShutDownClass();
    return result;
}

int VrebBud1::CopyClassName(char* buffer) {
    return WorldCopyClassName("VrebBud1", buffer);
}

int VrebBud1::Create(EntNode*) {
    if (s_vars) VarTableInitObject(s_vars, this);
    instanceVars = s_vars;
    runTime = 0.0f;
    pos = VECTOR3{0.0f, 0.0f, 0.0f};
    Mat4Identity(&matrix);
    state = 1;
    stateTimer = 4.0f;
    return 1;
}

int VrebBud1::Start() {
    turn = 0.0f;
    VarsChanged();
    return 0;
}

int VrebBud1::Update(float dt) {
    runTime += dt;
    if (state == 1) stateTimer -= dt;
    turn += 0.25f * dt;
    Mat4Identity(&matrix);
    Mat4RotateY(&matrix, turn);
    for (int i = 0; i < 12; ++i)
        if (i % 4 != 3) matrix.m[i] *= 2.0f;
    matrix.m[12] = pos.x;
    matrix.m[13] = pos.y + 2.4f;
    matrix.m[14] = pos.z;
    return 1;
}

int VrebBud1::DrawPre() {
    if (s_model) Mdl3Draw(s_model, &matrix);
    return 1;
}
