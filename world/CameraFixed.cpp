// The placed camera: its value table, view and marker.
#include "world/CameraFixed.h"

#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/EntDrawWalk.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "world/CameraDesc.h"
#include "world/CameraMarker.h"

namespace {

VarTable* s_vars = nullptr;

void AddVars(VarTable* t) {
    using C = CameraFixed;
    VarTableAddString(t, "name", PROP_OFFSET(C, name), 32, "!");
    VarTableAddFloat(t, "pos.x", PROP_OFFSET(C, pos.x), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "pos.y", PROP_OFFSET(C, pos.y), 0.0f, -200.0f, 3000.0f);
    VarTableAddFloat(t, "pos.z", PROP_OFFSET(C, pos.z), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "pitch", PROP_OFFSET(C, pitch), 0.0f, -3.14159f, 3.14159f);
    VarTableAddFloat(t, "yaw", PROP_OFFSET(C, yaw), 0.0f, 0.0f, 6.28319f);
    VarTableAddFloat(t, "fov", PROP_OFFSET(C, fov), 0.0f, 0.0f, 6.28319f);
}

void MakeVars() {
    if (s_vars) return;
    s_vars = VarTableBuild(AddVars);
}

void FreeVars() {
    VarTableDestroy(s_vars);
    s_vars = nullptr;
}

const WorldClassDef kClass = {"CameraFixed", nullptr, WorldMake<CameraFixed>,
                              WorldClassFlags<CameraFixed>::Reset};

} // namespace

VarTable* CameraFixedVars() {
    return s_vars;
}

int CameraFixed::CopyClassName(char* buffer) {
    return WorldCopyClassName("CameraFixed", buffer);
}

int CameraFixed::Create(EntNode*) {
    if (s_vars) VarTableInitObject(s_vars, this);
    instanceVars = s_vars;
    pitch = yaw = 0.0f;
    fov = 1.04718f;
    pos = VECTOR3{0.0f, 0.0f, 0.0f};
    BoxCube(localBox, 1.0f);
    Mat4Identity(&view);
    return 1;
}

int CameraFixed::Start() {
    VarsChanged();
    return 1;
}

int CameraFixed::VarsChanged() {
    CameraCheckFov(&fov, name);
    CameraWorldMatrix(&matrix, pos, pitch, yaw);
    Mat4InverseRigid(&matrix, &view);
    BoxXform(localBox, &matrix, worldBox);
    return 0;
}

int CameraFixed::GetCamera(CameraDesc* out) {
    if (!out) return 1;
    out->fov = fov;
    out->view = view;
    out->eye = pos;
    out->valid = 1;
    return 1;
}

int CameraFixed::Draw() {
    if (!EntDebugDrawAllowed()) return 1; // the editor's pass only, not the game's every frame
    if (GetClassFlags() & ENT_CLASS_DEBUG_DRAW) {
        CameraMarkerStates();
        CameraMarkerArrows(pos, pitch, yaw, 10.0f);
    }
    return Ent3dBase::Draw();
}

intptr_t EcCameraFixedProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (message == ENT_CLASS_MSG_BUILD_DB) MakeVars();
    if (message == ENT_CLASS_MSG_UNREGISTER) FreeVars();
    return WorldClassProc(kClass, node, message, a, b, c);
}
