// The spawn point: its class and where it stands.
#include "game/Ents/RubeSpawnPt.h"

#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Meshes.h"
#include "I3d/Shader.h"
#include "engine/EntDrawWalk.h"
#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "game/Ents/GroundHeight.h"

namespace {
constexpr uint32_t kMarkerRed = 0x5FFF0000u;

// The class's unit ellipsoid and the solid-colour shader, taken at the first draw.
MeshBuf* s_ellipsoid = nullptr;
Shader* s_solid = nullptr;

void ReleaseClass() {
    if (s_ellipsoid) {
        s_ellipsoid->Destroy();
        delete s_ellipsoid;
        s_ellipsoid = nullptr;
    }
    if (s_solid) SharedObjRelease(s_solid);
    s_solid = nullptr;
}

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "RubeSpawnPt");
        PropDbAddSeparator(&s_db, "General:");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(RubeSpawnPt, name), 32);
        PropDbAddVector3Zero(&s_db, "pos", PROP_OFFSET(RubeSpawnPt, pos));
        PropDbAddFloat(&s_db, "radius", PROP_OFFSET(RubeSpawnPt, radius), 1.0f);
        PropDbAddBool(&s_db, "agl", PROP_OFFSET(RubeSpawnPt, agl), 1);
    }
    return &s_db;
}

void ResetClass() {
    WorldClassFlags<RubeSpawnPt>::Reset();
    // A spawn point holds nothing: it hears no removal, and the patrons beside it under the
    // generator are not looked at for one.
    EntClassSetRemoval("RubeSpawnPt", ENT_REMOVAL_KIND_DEFAULT, 0);
}

const WorldClassDef kClass = {
    "RubeSpawnPt", Db, WorldMake<RubeSpawnPt>, ResetClass, nullptr, nullptr, ReleaseClass};
} // namespace

intptr_t EcRubeSpawnPtProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int RubeSpawnPt::CopyClassName(char* buffer) {
    return WorldCopyClassName("RubeSpawnPt", buffer);
}
uint32_t RubeSpawnPt::GetClassFlags() {
    return WorldClassFlags<RubeSpawnPt>::word;
}
void RubeSpawnPt::SetClassFlags(uint32_t word) {
    WorldClassFlags<RubeSpawnPt>::word = word;
}

int RubeSpawnPt::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    flags |= ENT_FLAG_PASSABLE;
    return 1;
}

int RubeSpawnPt::Start() {
    Ent3dBase::Start();
    VarsChanged();
    return 1;
}

int RubeSpawnPt::VarsChanged() {
    ground = agl ? GameEntGroundHeight(this, &pos) : 0.0f;
    Mat4Identity(&matrix);
    matrix.m[0] = matrix.m[5] = matrix.m[10] = radius;
    matrix.m[12] = pos.x;
    matrix.m[13] = pos.y + ground;
    matrix.m[14] = pos.z;
    const float y = pos.y + ground;
    const float box[6] = {pos.x - radius, y - radius, pos.z - radius,
                          pos.x + radius, y + radius, pos.z + radius};
    for (int i = 0; i < 6; ++i)
        worldBox[i] = box[i];
    return 1;
}

int RubeSpawnPt::Draw() {
    if (!EntDebugDrawAllowed()) return 1; // the editor's pass only
    Ent3dBase::Draw();                    // the editor's name tag and boxes
    if (!(GetClassFlags() & ENT_CLASS_DRAW)) return 1;
    // Radius 1 before the world matrix scales it by the point's radius.
    if (!s_ellipsoid) s_ellipsoid = MeshMakeEllipsoid(8, 16, 2.0f, 2.0f, 2.0f);
    if (!s_solid) s_solid = ShaderSolidColorAcquire();
    if (!s_ellipsoid || !s_solid) return 1;
    I3dSetWorld(&matrix);
    ShaderParams.words[0] = kMarkerRed;
    s_solid->CallPass(0);
    s_ellipsoid->Draw();
    s_solid->EndPass();
    return 1;
}
