// Camera path points: their value table, links, view, path length and marker.
#include "world/CameraWaypoint.h"

#include "I3d/Buffers.h"
#include "I3d/Camera.h"
#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3.h"
#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "engine/DebugLog.h"
#include "engine/EntDrawWalk.h"
#include "engine/PropDb.h"
#include "engine/System.h"
#include "engine/VarTable.h"
#include "world/CameraDesc.h"
#include "world/CameraMarker.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

constexpr int kRibbonTriangles = 20;

VarTable* s_vars = nullptr;

void CalcCommand(void* object) {
    CameraWaypointCalcTransTime(static_cast<CameraWaypoint*>(object));
}

void AddVars(VarTable* t) {
    using C = CameraWaypoint;
    VarTableAddString(t, "name", PROP_OFFSET(C, name), 32, "!");
    VarTableAddSeparator(t, "Position:");
    VarTableAddFloat(t, "x", PROP_OFFSET(C, pos.x), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "y", PROP_OFFSET(C, pos.y), 0.0f, -200.0f, 3000.0f);
    VarTableAddFloat(t, "z", PROP_OFFSET(C, pos.z), 0.0f, 0.0f, 5120.0f);
    VarTableAddSeparator(t, "Target:");
    VarTableAddFloat(t, "fov", PROP_OFFSET(C, fov), 0.0f, 0.1f, 3.14159f);
    VarTableAddFloat(t, "pitch", PROP_OFFSET(C, pitch), 0.0f, -3.14159f, 3.14159f);
    VarTableAddFloat(t, "yaw", PROP_OFFSET(C, yaw), 0.0f, 0.0f, 6.28319f);
    VarTableAddFloat(t, "targetDist", PROP_OFFSET(C, targetDist), 0.0f, 1.0f, 100.0f);
    VarTableAddSeparator(t, "Rate:");
    VarTableAddFloat(t, "speed", PROP_OFFSET(C, speed), 0.0f, 0.1f, 100.0f);
    VarTableAddFloat(t, "transTime", PROP_OFFSET(C, transTime), 0.0f, 1.0f, 100.0f);
    VarTableAddCommand(t, "Calculate transTime", CalcCommand);
    VarTableAddSeparator(t, "Links:");
    VarTableAddString(t, "next", PROP_OFFSET(C, nextName), 32, "!");
    VarTableAddString(t, "prev", PROP_OFFSET(C, prevName), 32, "!");
}

void MakeVars() {
    if (s_vars) return;
    s_vars = VarTableBuild(AddVars);
}

void FreeVars() {
    VarTableDestroy(s_vars);
    s_vars = nullptr;
}

const WorldClassDef kClass = {"CameraWaypoint", nullptr, WorldMake<CameraWaypoint>,
                              WorldClassFlags<CameraWaypoint>::Reset};

// The waypoint of that exact name in the tree of `from`, or null (also for an entity of another
// type, which has no path to give). The table's default "!" names nothing: every entity made
// without a name carries it.
CameraWaypoint* FindPoint(ENTBASE* from, const char* name) {
    if (!name[0] || std::strcmp(name, "!") == 0) return nullptr;
    ENTBASE* found = EntTreeFindName(EntGetRoot(from), name);
    if (!found || std::strcmp(found->GetTypeName(), "CameraWaypoint") != 0) return nullptr;
    return static_cast<CameraWaypoint*>(found);
}

float Distance(const VECTOR3& a, const VECTOR3& b) {
    const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

} // namespace

VarTable* CameraWaypointVars() {
    return s_vars;
}

int CameraWaypoint::CopyClassName(char* buffer) {
    return WorldCopyClassName("CameraWaypoint", buffer);
}

int CameraWaypoint::Create(EntNode*) {
    if (s_vars) VarTableInitObject(s_vars, this);
    instanceVars = s_vars;
    fov = 1.04718f;
    targetDist = 40.0f;
    transTime = 4.0f;
    m_next = m_prev = EntRef();
    BoxCube(localBox, 1.0f);
    return 1;
}

int CameraWaypoint::Start() {
    m_next = EntRef(FindPoint(this, nextName));
    m_prev = EntRef(FindPoint(this, prevName));
    if (transTime == 0.0f) transTime = 1.0f;
    VarsChanged();
    return 0;
}

CameraWaypoint* CameraWaypoint::Next() {
    return static_cast<CameraWaypoint*>(m_next.Get());
}

CameraWaypoint* CameraWaypoint::Prev() {
    return static_cast<CameraWaypoint*>(m_prev.Get());
}

CameraWaypoint* CameraWaypoint::NextNext() {
    CameraWaypoint* next = Next();
    return next ? next->Next() : nullptr;
}

int CameraWaypoint::VarsChanged() {
    CameraCheckFov(&fov, name);
    CameraWorldMatrix(&matrix, pos, pitch, yaw);
    target = VECTOR3{pos.x + matrix.m[8] * targetDist, pos.y + matrix.m[9] * targetDist,
                     pos.z + matrix.m[10] * targetDist};
    BoxXform(localBox, &matrix, worldBox);
    return 0;
}

void CameraWaypoint::SetYaw(float value) {
    yaw = value;
    VarsChanged();
}

void CameraWaypoint::SetPitch(float value) {
    pitch = value;
    VarsChanged();
}

// A whole view, not the valid flag alone: a viewport made to look through a path point would
// otherwise take an empty description and draw from the origin with no field of view.
int CameraWaypoint::GetCamera(CameraDesc* out) {
    if (!out) return 1;
    out->fov = fov;
    Mat4InverseRigid(&matrix, &out->view);
    out->eye = pos;
    out->valid = 1;
    return 1;
}

VECTOR3 CameraWaypointPathPoint(CameraWaypoint* point, float t) {
    VECTOR3 out;
    Vec3CatmullRom(&out, &point->Prev()->pos, &point->pos, &point->Next()->pos,
                   &point->NextNext()->pos, t);
    return out;
}

int CameraWaypointCalcTransTime(CameraWaypoint* point) {
    if (!point) return -1;
    if (!(point->speed >= FLT_MIN)) return -1;
    if (!point->Prev() || !point->Next() || !point->NextNext()) return 0;
    float length = 0.0f;
    VECTOR3 last = point->pos;
    // t in single precision, as the editor always summed it: the last chord may fall short.
    for (float t = 0.01f; t <= 1.0f; t += 0.01f) {
        const VECTOR3 p = CameraWaypointPathPoint(point, t);
        length += Distance(p, last);
        last = p;
    }
    if (!(length > 0.0f) || !std::isfinite(length)) {
        DbgPrintf(DBG_GENERAL, "CameraWaypoint %s: the path to the next point has no length\n",
                  point->name);
        return -1;
    }
    point->transTime = length / point->speed;
    SysBeep(440, 10);
    point->SetFlag(ENT_FLAG_CHANGED);
    return 0;
}

int CameraWaypoint::Draw() {
    if (!EntDebugDrawAllowed()) return 1; // the editor's pass only, not the game's every frame
    if (GetClassFlags() & ENT_CLASS_DEBUG_DRAW) {
        CameraMarkerStates();
        CameraMarkerArrows(pos, pitch, yaw, targetDist < 5.0f ? 5.0f : targetDist);
        Mat4 at;
        Mat4Identity(&at);
        at.m[12] = target.x;
        at.m[13] = target.y;
        at.m[14] = target.z;
        I3dSetWorld(&at);
        I3dDrawPrimSphere();
        if (Prev() && Next() && NextNext() && I3dVbLockCurrent(kRibbonTriangles * 3) == 0) {
            VECTOR3 last = pos;
            for (int i = 1; i <= kRibbonTriangles; ++i) {
                const VECTOR3 p = CameraWaypointPathPoint(this, 0.05f * (float)i);
                const VECTOR3 raised = {last.x, last.y + 1.0f, last.z};
                const VECTOR3 corners[3] = {p, last, raised};
                for (const VECTOR3& v : corners) {
                    I3dVbPosV(&v);
                    I3dVbNormal(0.0f, 1.0f, 0.0f);
                    I3dVbColor(0xFFFFFFFF);
                    I3dVbNext();
                }
                last = p;
            }
            I3dVbUnlockCurrent();
            Mat4Identity(&at);
            I3dSetWorld(&at);
            D3dSetCullMode(D3DCULL_NONE);
            if (I3dVbSelectCurrent() == 0) I3dVbDraw(D3DPT_TRIANGLELIST, kRibbonTriangles);
        }
    }
    return Ent3dBase::Draw();
}

intptr_t EcCameraWaypointProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (message == ENT_CLASS_MSG_BUILD_DB) MakeVars();
    if (message == ENT_CLASS_MSG_UNREGISTER) FreeVars();
    return WorldClassProc(kClass, node, message, a, b, c);
}
