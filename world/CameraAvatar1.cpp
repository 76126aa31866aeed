// The chase camera: its value table, goals by the player's face and its view.
#include "world/CameraAvatar1.h"

#include "I3d/Math/Mat4Math.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "world/AvatarFace.h"
#include "world/CameraDesc.h"

#include <cstring>

namespace {

constexpr float kFov = 1.04718f;

VarTable* s_vars = nullptr;

void AddVars(VarTable* t) {
    using C = CameraAvatar1;
    VarTableAddString(t, "name", PROP_OFFSET(C, name), 32, "!");
    VarTableAddFloat(t, "accel", PROP_OFFSET(C, accel), 80.0f, 0.0f, 200.0f);
    VarTableAddFloat(t, "maxVel", PROP_OFFSET(C, maxVel), 500.0f, 0.0f, 1500.0f);
    VarTableAddFloat(t, "trackSpeed", PROP_OFFSET(C, trackSpeed), 2.0f, 0.0f, 50.0f);
    VarTableAddEntity(t, "entPlayer", PROP_OFFSET(C, entPlayer));
    VarTableAddEntity(t, "entCube", PROP_OFFSET(C, entCube));
}

void MakeVars() {
    if (s_vars) return;
    s_vars = VarTableBuild(AddVars, 1); // 7 entries in all
}

void FreeVars() {
    VarTableDestroy(s_vars);
    s_vars = nullptr;
}

const WorldClassDef kClass = {"CameraAvatar1", nullptr, WorldMake<CameraAvatar1>,
                              WorldClassFlags<CameraAvatar1>::Reset};

// The linked entity, or null (and the field cleared) once it has gone. A field written behind
// SetVoid's back is taken as it is when first seen here.
ENTBASE* Live(ENTBASE** link, EntRef* kept) {
    if (*link != kept->Address()) *kept = *link;
    if (*link && !kept->Get()) *link = nullptr;
    return *link;
}

} // namespace

VarTable* CameraAvatar1Vars() {
    return s_vars;
}

int CameraAvatar1::CopyClassName(char* buffer) {
    return WorldCopyClassName("CameraAvatar1", buffer);
}

int CameraAvatar1::Create(EntNode*) {
    if (s_vars) VarTableInitObject(s_vars, this);
    instanceVars = s_vars;
    trackSpeed = 0.1f;
    accel = 80.0f;
    maxVel = 250.0f;
    entPlayer = entCube = nullptr;
    m_playerRef = m_cubeRef = EntRef();
    eyeSmooth.time = 0.2f;
    lookSmooth.time = 0.7f;
    return 1;
}

int CameraAvatar1::Start() {
    return 0;
}

bool CameraAvatar1::SetVoid(const char* field, intptr_t value) {
    const bool set = Ent3dBase::SetVoid(field, value);
    if (set && std::strcmp(field, "entPlayer") == 0) m_playerRef = entPlayer;
    if (set && std::strcmp(field, "entCube") == 0) m_cubeRef = entCube;
    return set;
}

ENTBASE* CameraAvatar1::Player() {
    return Live(&entPlayer, &m_playerRef);
}

ENTBASE* CameraAvatar1::Cube() {
    return Live(&entCube, &m_cubeRef);
}

int CameraAvatar1::Update(float seconds) {
    ENTBASE* player = Player();
    if (!player || !Cube()) return 1;
    const VECTOR3* at = player->GetPos();
    if (!at) return 1;
    const VECTOR3 p = *at;
    eyeGoal.y = p.y + 3.0f;
    lookGoal.y = p.y + 4.0f;
    switch (AvatarFaceOf(player)) {
        case 0:
            eyeGoal.x = p.x, eyeGoal.z = p.z + 8.0f;
            lookGoal.x = p.x, lookGoal.z = p.z - 50.0f;
            break;
        case 1:
        case 4:
            eyeGoal.x = p.x, eyeGoal.z = p.z - 8.0f;
            lookGoal.x = p.x, lookGoal.z = p.z + 50.0f;
            break;
        case 2:
            eyeGoal.x = p.x + 8.0f, eyeGoal.z = p.z;
            lookGoal.x = p.x - 50.0f, lookGoal.z = p.z;
            break;
        case 3:
            eyeGoal.x = p.x - 8.0f, eyeGoal.z = p.z;
            lookGoal.x = p.x + 50.0f, lookGoal.z = p.z;
            break;
        default: break; // no side: the horizontal goals stay
    }
    lookSmooth.target = lookGoal;
    lookSmooth.Update(seconds);
    eyeSmooth.target = eyeGoal;
    eyeSmooth.Update(seconds);
    return 1;
}

int CameraAvatar1::GetCamera(CameraDesc* out) {
    if (!out) return 1;
    out->fov = kFov;
    out->valid = 1;
    if (Player() && Cube()) {
        const VECTOR3 up = {0.0f, 1.0f, 0.0f};
        Mat4LookAt(&out->view, &eyeSmooth.value, &lookSmooth.value, &up);
        out->eye = eyeSmooth.value;
        return 1;
    }
    // The overview of the board when there is nothing to follow.
    Mat4 overview;
    Mat4Identity(&overview);
    Mat4RotateX(&overview, 0.314159f);
    overview.m[12] = 0.0f;
    overview.m[13] = 20.0f;
    overview.m[14] = -20.0f;
    Mat4InverseRigid(&overview, &out->view);
    out->eye = VECTOR3{0.0f, 20.0f, -20.0f};
    return 1;
}

intptr_t EcCameraAvatar1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (message == ENT_CLASS_MSG_BUILD_DB) MakeVars();
    if (message == ENT_CLASS_MSG_UNREGISTER) FreeVars();
    return WorldClassProc(kClass, node, message, a, b, c);
}
