// Static objects: their table, the model's load and placement, its lights and chaser, picking
// and bounds, and the class's shared state.
#include "world/StaticObject.h"

#include "I3d/Camera.h"
#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Mdl3Draw.h"
#include "I3d/StateCache.h"
#include "engine/DebugLog.h"
#include "engine/EntRef.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/VarTable.h"
#include "gi/Render/Mdl3Ex.h"
#include "world/ModelPick.h"

#include <cmath>
#include <cstdio>
#include <cstring>

// ---- class ----

namespace {
DataDir s_folder;
// A link that knows when its entity is gone: a script or the editor may destroy the
// "TimeOfDay" between frames, and a world built again without a class reset makes a new one.
EntRef s_timeOfDay;
int s_flashCounter = 0;
float s_flashTimer = 0.0f;

void StartCommand(void* object) {
    static_cast<StaticObject*>(object)->Start();
}

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "StaticObject");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(StaticObject, name), 32);
        PropDbAddSeparator(db, "Position:");
        PropDbAddVector3Zero(db, "pos", PROP_OFFSET(StaticObject, pos));
        PropDbAddBool(db, "agl", PROP_OFFSET(StaticObject, agl), 1);
        PropDbAddSeparator(db, "Orientation:");
        PropDbAddAngle(db, "yaw", PROP_OFFSET(StaticObject, yaw), 0.0f);
        PropDbAddAngle(db, "pitch", PROP_OFFSET(StaticObject, pitch), 0.0f);
        PropDbAddAngle(db, "roll", PROP_OFFSET(StaticObject, roll), 0.0f);
        PropDbAddSeparator(db, "Misc:");
        PropDbAddVector3(db, "scale", PROP_OFFSET(StaticObject, scale), 1.0f, 1.0f, 1.0f);
        PropDbAddStringBlank(db, "modelFile", PROP_OFFSET(StaticObject, modelFile), 260);
        PropDbAddFloat(db, "visFactor", PROP_OFFSET(StaticObject, visFactor), 1.0f);
        PropDbAddBool(db, "clsnBox", PROP_OFFSET(StaticObject, clsnBox), 1);
        PropDbAddFloat(db, "lightsOn", PROP_OFFSET(StaticObject, lightsOn), 0.7916667f);
        PropDbAddFloat(db, "lightsOff", PROP_OFFSET(StaticObject, lightsOff), 0.25f);
        PropDbAddCommand(db, "Start", StartCommand);
    }
    return &s_db;
}

void ResetClass() {
    s_timeOfDay = EntRef();
    Ent3dForgetTerrain();
}

void Registered() {
    WorldClassFlags<StaticObject>::Reset();
    ResetClass();
}

const WorldClassDef kClass = {"StaticObject", Db,        WorldMake<StaticObject>,
                              Registered,     &s_folder, ResetClass};

// The entity's float of that name: its instance table's entry, else its class database's field.
// The time of day is read this way so that nothing here depends on the time-of-day class.
bool ReadFloatVar(ENTBASE* entity, const char* key, float* out) {
    if (VarTable* table = entity->GetInstanceVarTable()) {
        if (const VarEntry* e = VarTableFind(table, key); e && e->type == VAR_FLOAT) {
            std::memcpy(out, reinterpret_cast<const char*>(entity) + e->offset, sizeof *out);
            return true;
        }
    }
    const PropField* f = entity->classDb ? PropDbFindField(entity->classDb, key) : nullptr;
    if (!f || (f->type != PROP_FLOAT && f->type != PROP_ANGLE)) return false;
    f->GetFloat(entity, out);
    return true;
}

// A name that is empty or begins with "!" (the value tables' default) names no model.
bool NamesModel(const char* file) {
    return file[0] && file[0] != '!';
}
} // namespace

const DataDir* StaticObjectDataDir() {
    return &s_folder;
}

ENTBASE* StaticObjectTimeOfDay() {
    return s_timeOfDay.Get();
}

int StaticObjectFlashCounter() {
    return s_flashCounter;
}

float StaticObjectFlashTimer() {
    return s_flashTimer;
}

void StaticObjectFlashTick(float seconds) {
    s_flashTimer -= seconds;
    if (s_flashTimer < 0.0f) {
        // Restarted, not topped up: a long frame moves the chaser one step only.
        s_flashTimer = 0.0625f;
        s_flashCounter = (s_flashCounter + 1) & 31;
    }
}

intptr_t EcStaticObjectProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int StaticObject::CopyClassName(char* buffer) {
    return WorldCopyClassName("StaticObject", buffer);
}

// ---- life ----

int StaticObject::Create(EntNode*) {
    // A script or the game screens may create one without a file to supply the properties.
    if (classDb) PropDbInitObject(classDb, this);
    agl = 0;
    yaw = pitch = roll = 0.0f;
    height = 0.0f;
    scale = {1.0f, 1.0f, 1.0f};
    instance = nullptr;
    hidden = 0;
    visFactor = 1.0f;
    clsnBox = 0;
    phase = RandInt(32);
    pos = {0.0f, 0.0f, 0.0f};
    folder = &s_folder;
    ClearFlag(ENT_FLAG_SPARE_4);
    return 0;
}

void StaticObject::ReleaseModel() {
    if (instance) SharedObjRelease(instance);
    instance = nullptr;
}

int StaticObject::Start() {
    Ent3dBase::Start();
    ReleaseModel();
    if (!s_timeOfDay.Get()) s_timeOfDay = EntRef(EntTreeFindType(EntGetRoot(this), "TimeOfDay"));

    if (NamesModel(modelFile)) {
        char path[1024];
        if (DataDirFile(folder, modelFile, path, sizeof path) == 1) {
            // The load itself logs the warning for a file it cannot read.
            instance = Mdl3ExLoad(path);
        } else {
            DbgPrintf(DBG_ENTITY, "** WARNING ** could not find %s\n", modelFile);
        }
        // A model of its info file alone has nothing to draw, pick or measure.
        if (instance && !instance->mdl) ReleaseModel();
    }
    if (instance) {
        const MDL3NODE& root = instance->mdl->nodes[0];
        BoxSetMinMax(localBox, &root.boundsMin, &root.boundsMax);
    } else {
        BoxFromSize(localBox, 1.0f, 1.0f, 1.0f);
    }
    VarsChanged();
    return 0;
}

int StaticObject::Destroy() {
    ReleaseModel();
    return ENTBASE::Destroy();
}

// ---- placement ----

int StaticObject::VarsChanged() {
    groundHeight = 0.0f;
    if (agl) {
        Ent3dBase::Start();
        if (ENTBASE* terrain = Ent3dGetTerrain(this)) {
            float h = 0.0f;
            terrain->Dispatch(ENT_MSG_GROUND_HEIGHT, 0, reinterpret_cast<intptr_t>(&pos),
                              reinterpret_cast<intptr_t>(&h));
            if (std::isfinite(h)) groundHeight = h;
        }
    }
    Mat4FromEuler(&matrix, roll, pitch, yaw);
    const float axis[3] = {scale.x, scale.y, scale.z};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            matrix.m[row * 4 + col] *= axis[col];
    matrix.m[12] = pos.x;
    matrix.m[13] = pos.y + groundHeight;
    matrix.m[14] = pos.z;
    matrix.m[15] = 1.0f;
    BoxXform(localBox, &matrix, worldBox);
    return 1;
}

void StaticObject::SetPos(const VECTOR3* p) {
    if (!p) return;
    // The height field follows "pos" y, which the world matrix reads: setting the position moves
    // the object up and down too.
    pos = *p;
    height = pos.y;
    VarsChanged();
}

void StaticObject::SetPosXYZ(float x, float y, float z) {
    const VECTOR3 p = {x, y, z};
    SetPos(&p);
}

void StaticObject::ScalePos(const VECTOR3* f) {
    if (!f) return;
    const VECTOR3 p = {pos.x * f->x, agl ? pos.y : pos.y * f->y, pos.z * f->z};
    SetPos(&p);
}

void StaticObject::SetYaw(float value) {
    yaw = value;
    VarsChanged();
}

float StaticObject::GetYaw() {
    return yaw;
}

void StaticObject::SetPitch(float value) {
    pitch = value;
    VarsChanged();
}

float StaticObject::GetPitch() {
    return pitch;
}

int StaticObject::GetOrientation(float* out16) {
    if (!out16) return 0;
    std::memcpy(out16, matrix.m, sizeof matrix.m);
    out16[12] = out16[13] = out16[14] = 0.0f;
    return 0;
}

int StaticObject::Hook118(intptr_t hide) {
    hidden = (int32_t)hide;
    return 0;
}

int StaticObject::Spare4(intptr_t outInt) {
    if (int* out = reinterpret_cast<int*>(outInt)) *out = hidden;
    return 0;
}

// ---- drawing ----

bool StaticObject::LightsWanted() {
    ENTBASE* clock = s_timeOfDay.Get();
    if (!clock) return false;
    float t = 0.0f;
    if (!ReadFloatVar(clock, "time", &t)) return false;
    return t > lightsOn || t < lightsOff;
}

int StaticObject::DrawPre() {
    if (hidden || !(GetClassFlags() & ENT_CLASS_DRAW) || !instance) return 1;
    D3dSetZEnable(D3DZB_TRUE);
    D3dSetZWrite(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    // The fade scale is the kernel's for the next model too: it goes back after this one.
    const float lod = Mdl3GetLodScale();
    Mdl3SetLodScale(I3dGetViewDistScale() * visFactor);
    I3dSetWorld(&matrix);
    instance->lightsOn = LightsWanted() ? 1 : 0;
    instance->flashBits = 1u << (((unsigned)phase + (unsigned)s_flashCounter) & 31u);
    Mdl3ExDraw(instance);
    Mdl3SetLodScale(lod);
    return 1;
}

// ---- picking and bounds ----

bool StaticObject::PickTest(PickQuery* query) {
    // Hidden objects are not there for the player: they neither draw nor answer clicks.
    if (!query || hidden || !(GetClassFlags() & ENT_CLASS_PICKABLE) || !instance) return false;
    if (!Mdl3PickWithBox(&query->origin, &query->dir, worldBox, instance->mdl, &matrix))
        return false;
    const float dx = pos.x - query->origin.x, dy = pos.y - query->origin.y,
                dz = pos.z - query->origin.z;
    const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (distance < query->bestDistance) {
        query->best = this;
        query->bestDistance = distance;
    }
    return true;
}

int StaticObject::BoundsQuery(EntBoundsQuery* query) {
    if (!query || hidden || query->sender == node) return 1;
    if (query->type == ENT_QUERY_LINE) {
        const Segment seg = {query->start, query->end};
        if (BoxSegmentTest(worldBox, &seg) && instance &&
            Mdl3PickSegment(instance->mdl, &query->start, &query->end, &matrix))
            query->hit = node;
    } else if (query->type == ENT_QUERY_BOX) {
        if (BoxOverlap(query->box, worldBox)) query->hit = node;
    }
    return 1;
}
