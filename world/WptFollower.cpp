// The waypoint follower: its start, the walk along the chain and its model.
#include "world/WptFollower.h"

#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3.h"
#include "I3d/Mdl3.h"
#include "I3d/Mdl3Draw.h"
#include "I3d/StateCache.h"
#include "engine/DataDir.h"
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "world/CameraWaypoint.h"
#include "world/ModelPick.h"
#include "world/Terrain2.h"

#include <cmath>
#include <cstring>

namespace {

VarTable* s_vars = nullptr;
DataDir s_folder;

const WorldClassDef kClass = {"WptFollower", nullptr, WorldMake<WptFollower>,
                              WorldClassFlags<WptFollower>::Reset, &s_folder};

void AddVars(VarTable* t) {
    using C = WptFollower;
    VarTableAddString(t, "name", PROP_OFFSET(C, name), 32, "!");
    VarTableAddString(t, "modelFile", PROP_OFFSET(C, modelFile), 260, "!");
    VarTableAddFloat(t, "pos.x", PROP_OFFSET(C, pos.x), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "pos.y", PROP_OFFSET(C, pos.y), 0.0f, -200.0f, 3000.0f);
    VarTableAddFloat(t, "pos.z", PROP_OFFSET(C, pos.z), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "yaw", PROP_OFFSET(C, yaw), 0.0f, 0.0f, 6.28319f);
    VarTableAddFloat(t, "pitch", PROP_OFFSET(C, pitch), 0.0f, 0.0f, 6.28319f);
    VarTableAddFloat(t, "roll", PROP_OFFSET(C, roll), 0.0f, 0.0f, 6.28319f);
    VarTableAddFloat(t, "scale", PROP_OFFSET(C, scale), 1.0f, 0.1f, 20.0f);
    VarTableAddBool(t, "agl", PROP_OFFSET(C, agl), 0);
    VarTableAddFloat(t, "visDist", PROP_OFFSET(C, visDist), 300.0f, 10.0f, 2000.0f);
    VarTableAddBool(t, "clsnBox", PROP_OFFSET(C, clsnBox), 0);
    VarTableAddString(t, "initWaypoint", PROP_OFFSET(C, initWaypoint), 32, "!");
}

void MakeVars() {
    if (s_vars) return;
    s_vars = VarTableBuild(AddVars);
}

CameraWaypoint* AsWaypoint(ENTBASE* e) {
    return e && std::strcmp(e->GetTypeName(), "CameraWaypoint") == 0
               ? static_cast<CameraWaypoint*>(e)
               : nullptr;
}

// Rows right, up', forward toward the target, and the eye as translation.
void FacingMatrix(Mat4* out, const VECTOR3& eye, const VECTOR3& target) {
    VECTOR3 forward = {target.x - eye.x, target.y - eye.y, target.z - eye.z};
    Vec3NormalizeFast(&forward);
    // right = up x forward with up (0, 1, 0); up' = forward x right.
    VECTOR3 right = {forward.z, 0.0f, -forward.x};
    Vec3NormalizeFast(&right);
    const VECTOR3 up = {forward.y * right.z - forward.z * right.y,
                        forward.z * right.x - forward.x * right.z,
                        forward.x * right.y - forward.y * right.x};
    Mat4FromAxes(out, &right, &up, &forward);
    out->m[12] = eye.x;
    out->m[13] = eye.y;
    out->m[14] = eye.z;
}

} // namespace

VarTable* WptFollowerVars() {
    return s_vars;
}

intptr_t EcWptFollowerProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (message == ENT_CLASS_MSG_BUILD_DB) MakeVars();
    if (message == ENT_CLASS_MSG_UNREGISTER) {
        VarTableDestroy(s_vars);
        s_vars = nullptr;
    }
    return WorldClassProc(kClass, node, message, a, b, c);
}

int WptFollower::CopyClassName(char* buffer) {
    return WorldCopyClassName("WptFollower", buffer);
}

// ---- life ----

WptFollower::~WptFollower() {
    ReleaseModel();
}

void WptFollower::ReleaseModel() {
    if (!model) return;
    Mdl3FreeTextures(model);
    Mdl3Release(model);
    model = nullptr;
}

int WptFollower::Create(EntNode*) {
    if (s_vars) VarTableInitObject(s_vars, this);
    instanceVars = s_vars;
    agl = 0;
    yaw = pitch = roll = 0.0f;
    pos = VECTOR3{0.0f, 0.0f, 0.0f};
    scale = 1.0f;
    hidden = 0;
    visDist = 300.0f;
    clsnBox = 0;
    current = EntRef();
    started = 0;
    flags &= ~ENT_FLAG_SPARE_4;
    return 1;
}

CameraWaypoint* WptFollower::Current() const {
    return AsWaypoint(current.Get());
}

CameraWaypoint* WptFollower::NextPoint() const {
    return AsWaypoint(next.Get());
}

int WptFollower::Start() {
    Ent3dBase::Start();
    // The model held from an earlier start is let go first, so a changed "modelFile" is loaded
    // and a restart does not keep a second reference to the same model.
    ReleaseModel();
    char path[1024] = "";
    if (DataDirFile(&s_folder, modelFile, path, sizeof path) == 1) {
        model = Mdl3Load(path, 1);
        if (model) {
            char textures[1024];
            if (DataDirFile(&s_folder, "models\\", textures, sizeof textures) == 1)
                Mdl3LoadTextures(model, textures);
            const MDL3NODE& root = model->nodes[0];
            const float box[6] = {root.boundsMin.x, root.boundsMin.y, root.boundsMin.z,
                                  root.boundsMax.x, root.boundsMax.y, root.boundsMax.z};
            std::memcpy(localBox, box, sizeof box);
        } else {
            DbgPrintf(DBG_ENTITY, "** WARNING ** could not find %s\n", path);
            BoxCube(localBox, 1.0f);
        }
    }
    valid = 1;
    elapsed = 0.0f;
    // Anything but a waypoint under that name is as good as none.
    CameraWaypoint* first = AsWaypoint(EntTreeFindName(EntGetRoot(this), initWaypoint));
    current = EntRef(first);
    if (!first) {
        DbgPrintf(DBG_GENERAL, "Init Camera Waypoint name not defined in ini file!\n");
        current = next = EntRef();
        valid = 0;
        DbgPrintf(DBG_GENERAL, "Waypoint Camera data could not be obtained!\n");
    }
    return 0;
}

int WptFollower::Destroy() {
    ReleaseModel();
    return ENTBASE::Destroy();
}

// ---- path ----

int WptFollower::VarsChanged() {
    CameraWaypoint* cur = Current();
    if (!started || !cur) return 0;
    // An open chain end borrows its neighbour: no previous point uses the current one, no
    // next-but-one the next, no next the current.
    CameraWaypoint* prev = cur->Prev();
    CameraWaypoint* nxt = cur->Next();
    CameraWaypoint* after = cur->NextNext();
    CameraWaypoint* chain[4] = {prev ? prev : cur, cur, nxt ? nxt : cur,
                                after ? after
                                : nxt ? nxt
                                      : cur};
    for (int i = 0; i < 4; ++i) {
        points[i] = chain[i]->pos;
        targets[i] = chain[i]->target;
    }
    segmentTime = cur->transTime;
    float ground = 0.0f;
    if (agl)
        if (auto* terrain = static_cast<Terrain2*>(Ent3dGetTerrain(this)))
            terrain->GetHeight(&pos, &ground);
    Mat4FromEuler(&matrix, roll, pitch, yaw);
    for (int i = 0; i < 12; ++i)
        if (i % 4 != 3) matrix.m[i] *= scale;
    matrix.m[12] = pos.x;
    matrix.m[13] = pos.y + ground;
    matrix.m[14] = pos.z;
    BoxXform(localBox, &matrix, worldBox);
    return 0;
}

int WptFollower::Update(float dt) {
    if (!valid) return 1;
    CameraWaypoint* cur = Current();
    if (!cur) return 1; // the chain was destroyed under it
    if (!started) {
        started = 1;
        next = EntRef(cur->Next());
        VarsChanged();
        eye = cur->pos;
        target = cur->target;
        pos = eye;
        FacingMatrix(&matrix, eye, target);
    }
    elapsed += dt;
    if (!NextPoint()) {
        // The end of an open chain: rest on the last point.
        eye = Current()->pos;
        target = Current()->target;
    } else {
        // A time of 0 or below (a script may set it after the start) counts as a segment shorter
        // than one update: one point further each update, at its start.
        const bool over = !(segmentTime > 0.0f) || elapsed >= segmentTime;
        if (over) {
            elapsed = segmentTime > 0.0f ? elapsed - segmentTime : 0.0f;
            CameraWaypoint* reached = NextPoint();
            next = EntRef(reached->Next());
            current = EntRef(reached);
            VarsChanged();
        }
        const float s = segmentTime > 0.0f ? elapsed / segmentTime : 0.0f;
        if (!NextPoint()) {
            eye = Current()->pos;
            target = Current()->target;
        } else {
            Vec3CatmullRom(&eye, &points[0], &points[1], &points[2], &points[3], s);
            Vec3CatmullRom(&target, &targets[0], &targets[1], &targets[2], &targets[3], s);
        }
    }
    pos = eye;
    FacingMatrix(&matrix, eye, target);
    return 1;
}

// ---- placement, as a static object ----

void WptFollower::SetPos(const VECTOR3* p) {
    if (!p) return;
    pos = *p;
    VarsChanged();
}

void WptFollower::ScalePos(const VECTOR3* f) {
    if (!f) return;
    const VECTOR3 p = {pos.x * f->x, agl ? pos.y : pos.y * f->y, pos.z * f->z};
    SetPos(&p);
}

void WptFollower::SetYaw(float value) {
    yaw = value;
    VarsChanged();
}

void WptFollower::SetPitch(float value) {
    pitch = value;
    VarsChanged();
}

int WptFollower::GetOrientation(float* out16) {
    if (!out16) return 0;
    std::memcpy(out16, matrix.m, sizeof matrix.m);
    out16[12] = out16[13] = out16[14] = 0.0f;
    return 0;
}

int WptFollower::Hook118(intptr_t hide) {
    hidden = (int32_t)hide;
    return 0;
}

int WptFollower::Spare4(intptr_t outInt) {
    if (int* out = reinterpret_cast<int*>(outInt)) *out = hidden;
    return 0;
}

bool WptFollower::PickTest(PickQuery* query) {
    if (!query || hidden || !(GetClassFlags() & ENT_CLASS_PICKABLE) || !model) return false;
    if (!Mdl3PickWithBox(&query->origin, &query->dir, worldBox, model, &matrix)) return false;
    const float dx = pos.x - query->origin.x, dy = pos.y - query->origin.y,
                dz = pos.z - query->origin.z;
    const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (distance < query->bestDistance) {
        query->best = this;
        query->bestDistance = distance;
    }
    return true;
}

int WptFollower::BoundsQuery(EntBoundsQuery* query) {
    if (!query || hidden || query->sender == node) return 1;
    if (query->type == ENT_QUERY_LINE) {
        const Segment seg = {query->start, query->end};
        if (BoxSegmentTest(worldBox, &seg) && model &&
            Mdl3PickSegment(model, &query->start, &query->end, &matrix))
            query->hit = node;
    } else if (query->type == ENT_QUERY_BOX) {
        if (BoxOverlap(query->box, worldBox)) query->hit = node;
    }
    return 1;
}

// ---- drawing ----

int WptFollower::DrawPre() {
    if (hidden || !(GetClassFlags() & ENT_CLASS_DRAW) || !model) return 1;
    D3dSetZEnable(D3DZB_TRUE);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    Mdl3Draw(model, &matrix);
    return 1;
}
