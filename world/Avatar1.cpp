// The test avatar: its steps by pad, marking, events, camera and drawing.
#include "world/Avatar1.h"

#include "I3d/Camera.h"
#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/MeshBuf.h"
#include "I3d/Meshes.h"
#include "I3d/Shader.h"
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/Input/SlInput.h"
#include "engine/Input/SlScanCodes.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "world/CameraDesc.h"
#include "world/Cube1.h"
#include "world/Marker1.h"
#include "world/Playfield1.h"

#include <cstring>
#include <new>

namespace {

VarTable* s_vars = nullptr;
MeshBuf* s_mesh = nullptr;
Shader* s_shader = nullptr;

const WorldClassDef kClass = {"Avatar1", nullptr, WorldMake<Avatar1>,
                              WorldClassFlags<Avatar1>::Reset};

// The pad masks of the input layer: the left stick past 0.85, buttons A and X, the d-pad.
constexpr uint32_t kStickUp = 0x1, kStickDown = 0x2, kStickRight = 0x4, kStickLeft = 0x8;
constexpr uint32_t kButtonA = 0x100, kButtonX = 0x400;
constexpr uint32_t kPadUp = 0x100000, kPadDown = 0x200000, kPadLeft = 0x400000,
                   kPadRight = 0x800000;
constexpr float kStepLength = 3.0f;
constexpr float kStickSpeed = 15.0f;

void AddVars(VarTable* t) {
    using C = Avatar1;
    VarTableAddString(t, "name", PROP_OFFSET(C, name), 32, "!");
    VarTableAddFloat(t, "pos.x", PROP_OFFSET(C, pos.x), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "pos.y", PROP_OFFSET(C, pos.y), 0.0f, -200.0f, 3000.0f);
    VarTableAddFloat(t, "pos.z", PROP_OFFSET(C, pos.z), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "accel", PROP_OFFSET(C, accel), 80.0f, 0.0f, 200.0f);
    VarTableAddFloat(t, "maxVel", PROP_OFFSET(C, maxVel), 500.0f, 0.0f, 1500.0f);
    VarTableAddFloat(t, "trackSpeed", PROP_OFFSET(C, trackSpeed), 2.0f, 0.0f, 50.0f);
    VarTableAddFloat(t, "pitch", PROP_OFFSET(C, pitch), 0.0f, 0.0f, 3.14159f);
    VarTableAddFloat(t, "yaw", PROP_OFFSET(C, yaw), 0.0f, 0.0f, 3.14159f);
}

void SetUpClass() {
    if (!s_vars) s_vars = VarTableBuild(AddVars);
    if (!s_mesh) s_mesh = MeshMakeBox();
    if (!s_shader && (s_shader = new (std::nothrow) Shader()) != nullptr) {
        s_shader->SetName("Avatar");
        s_shader->SetPassFunc(0, ShaderLitTexturePass);
    }
}

void ShutDownClass() {
    VarTableDestroy(s_vars);
    s_vars = nullptr;
    if (s_mesh) s_mesh->Destroy();
    delete s_mesh;
    s_mesh = nullptr;
    if (s_shader) SharedObjRelease(s_shader);
    s_shader = nullptr;
}

float SignedSquare(float v) {
    // A value of exactly 0 counts as negative: -0 x 0, still 0.
    return (v > 0.0f ? 1.0f : -1.0f) * v * v;
}

// The move (a, b) in the player's terms turned to the world by the side of the cube it stands
// on: answers the x and z offsets.
void ByFace(int face, float a, float b, float* x, float* z) {
    switch (face) {
        case 0:
        case 4: *x = -a, *z = -b; break;
        case 1: *x = a, *z = b; break;
        case 2: *x = -b, *z = a; break;
        case 3: *x = b, *z = -a; break;
        default: *x = *z = 0.0f; break;
    }
}

} // namespace

intptr_t EcAvatar1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (message == ENT_CLASS_MSG_BUILD_DB) SetUpClass();
    if (message == ENT_CLASS_MSG_UNREGISTER) ShutDownClass();
    return WorldClassProc(kClass, node, message, a, b, c);
}

int Avatar1::CopyClassName(char* buffer) {
    return WorldCopyClassName("Avatar1", buffer);
}

// ---- life ----

int Avatar1::Create(EntNode*) {
    if (s_vars) VarTableInitObject(s_vars, this);
    instanceVars = s_vars;
    trackSpeed = 0.1f;
    accel = 80.0f;
    maxVel = 250.0f;
    pad = -1;
    board = cube = EntRef();
    mode = AVATAR1_ANALOG;
    return 1;
}

Playfield1* Avatar1::Board() const {
    ENTBASE* e = board.Get();
    return e && std::strcmp(e->GetTypeName(), "Playfield1") == 0 ? static_cast<Playfield1*>(e)
                                                                 : nullptr;
}

Cube1* Avatar1::Cube() const {
    ENTBASE* e = cube.Get();
    return e && std::strcmp(e->GetTypeName(), "Cube1") == 0 ? static_cast<Cube1*>(e) : nullptr;
}

int Avatar1::Start() {
    ENTBASE* root = EntGetRoot(this);
    board = EntRef(EntTreeFindName(root, "Playfield"));
    cube = EntRef(EntTreeFindName(root, "Cube"));
    yaw = pitch = 0.0f;
    fov = 1.04718f;
    face = Cube() ? Cube1FaceAt(Cube(), &pos) : 4;
    mode = AVATAR1_ANALOG;
    velocity = VECTOR3{0.0f, 0.0f, 0.0f};
    Mat4Identity(&matrix);
    BoxCube(localBox, 1.0f);
    return 0;
}

void Avatar1::SetLocalPlayer(intptr_t word) {
    if (word < -1 || word >= SL_PAD_COUNT) {
        DbgPrintf(DBG_GENERAL, "Avatar1 %s: pad %ld does not exist; no pad\n", name, (long)word);
        pad = -1;
        return;
    }
    pad = (int32_t)word;
}

// ---- steps ----

void Avatar1::Refresh() {
    // A point near a diagonal (4) keeps the side it had, so the camera does not flip there.
    if (Cube1* c = Cube()) {
        const int side = Cube1FaceAt(c, &pos);
        if (side != 4) face = side;
    }
}

int Avatar1::Update(float dt) {
    if (mode == AVATAR1_ANALOG)
        AnalogStep(dt);
    else
        DigitalStep();
    const SlPad* p = pad >= 0 ? SlPadGetState(pad) : nullptr;
    if (p && (p->pressed & kButtonX)) mode = mode == AVATAR1_ANALOG ? AVATAR1_STEP : AVATAR1_ANALOG;
    return 1;
}

void Avatar1::AnalogStep(float dt) {
    Refresh();
    const SlPad* p = pad >= 0 ? SlPadGetState(pad) : nullptr;
    const float sx = p ? SignedSquare(p->lx) * kStickSpeed : 0.0f;
    const float sz = p ? SignedSquare(p->ly) * kStickSpeed : 0.0f;
    velocity.y = 0.0f;
    ByFace(face, sx, sz, &velocity.x, &velocity.z);
    pos.x += dt * velocity.x;
    pos.y += dt * velocity.y;
    pos.z += dt * velocity.z;
    Mat4Identity(&matrix);
    matrix.m[12] = pos.x;
    matrix.m[13] = pos.y;
    matrix.m[14] = pos.z;
    MarkAndCursor(p ? p->pressed : 0u);
}

void Avatar1::DigitalStep() {
    const SlPad* p = pad >= 0 ? SlPadGetState(pad) : nullptr;
    const uint32_t pressed = p ? p->pressed : 0u;
    float u = 0.0f, v = 0.0f;
    if (pressed & kStickUp) u = 1.0f;
    if (pressed & kStickDown) u = -1.0f;
    if (pressed & kStickRight) v = 1.0f;
    if (pressed & kStickLeft) v = -1.0f;
    if (pressed & kPadUp)
        u = 1.0f;
    else if (pressed & kPadDown)
        u = -1.0f;
    else if (pressed & kPadRight)
        v = 1.0f;
    else if (pressed & kPadLeft)
        v = -1.0f;
    Refresh();
    float dx, dz;
    ByFace(face, v, u, &dx, &dz);
    pos.x += kStepLength * dx;
    pos.z += kStepLength * dz;
    Mat4Identity(&matrix);
    matrix.m[12] = pos.x;
    matrix.m[13] = pos.y;
    matrix.m[14] = pos.z;
    MarkAndCursor(pressed);
}

void Avatar1::MarkAndCursor(uint32_t pressed) {
    Playfield1* field = Board();
    if (!field) return; // no board: nothing to mark and no cursor to move
    if (pressed & kButtonA) Avatar1Mark(this, pos.x, pos.z);
    PlayfieldSetCursorAt(field, pos.x, pos.z);
}

void Avatar1Mark(Avatar1* avatar, float x, float z) {
    Playfield1* field = avatar->Board();
    if (!field || !PlayfieldToggleMarkAt(field, x, z)) return;
    int i, j;
    PlayfieldWorldToCell(field, x, z, &i, &j);
    ENTBASE* parent = EntTreeFindName(EntGetRoot(avatar), "Markers");
    // Without a "Markers" entity the marker goes beside the avatar rather than under no parent.
    if (!parent) parent = EntGetParent(avatar);
    auto* marker = static_cast<Marker1*>(EntCreateChild("Marker1", parent));
    if (!marker || std::strcmp(marker->GetTypeName(), "Marker1") != 0) {
        DbgPrintf(DBG_GENERAL, "Avatar1 %s: no marker could be made\n", avatar->name);
        return;
    }
    float cx, cz;
    PlayfieldCellCentre(field, &cx, &cz, i, j);
    const VECTOR3 at = {cx, 0.1f, cz};
    marker->SetPos(&at);
    marker->tileX = i;
    marker->tileZ = j;
    marker->Start();
}

// ---- events and camera ----

int Avatar1::OnMessage(const SlEvent* e) {
    if (!e) return 0;
    switch (e->type) {
        case SL_KEYDOWN:
            if (e->a == DIK_TAB) mode = mode == AVATAR1_ANALOG ? AVATAR1_STEP : AVATAR1_ANALOG;
            break;
        case SL_MOUSEMOVE:
            yaw += (float)e->a * 0.003f;
            pitch += (float)e->b * 0.003f;
            break;
        case 1166: inputFlags[0] = 1; break;
        case 1004:
        case 1167: inputFlags[0] = 0; break;
        case 1168: inputFlags[1] = 1; break;
        case 1006:
        case 1169: inputFlags[1] = 0; break;
        case 1009: inputFlags[2] = 1; break;
        case 1010: inputFlags[2] = 0; break;
        case 1007: inputFlags[3] = 1; break;
        case 1008: inputFlags[3] = 0; break;
        case 1192:
            toggles[0] = 1 - toggles[0];
            if (toggles[0]) toggles[1] = 0;
            break;
        case 1194:
            toggles[1] = 1 - toggles[1];
            if (toggles[1]) toggles[0] = 0;
            break;
        default: break;
    }
    return 0;
}

int Avatar1::GetCamera(CameraDesc* out) {
    if (!out) return 1;
    out->fov = fov;
    Mat4InverseRigid(&matrix, &out->view);
    out->eye = pos;
    out->valid = 1;
    return 1;
}

int Avatar1::DrawPre() {
    if (!s_mesh || !s_shader) return 1;
    // A block of 1 x 3 x 0.5 standing on the position, its face toward +z.
    Mat4 world;
    Mat4Identity(&world);
    world.m[0] = 1.0f;
    world.m[5] = 3.0f;
    world.m[10] = 0.5f;
    world.m[12] = pos.x;
    world.m[13] = pos.y + 1.5f;
    world.m[14] = pos.z + 0.25f;
    I3dSetWorld(&world);
    ShaderParams.words[0] = 0xFF4F4FFFu;
    ShaderParams.words[8] = 0xFFFFFFFFu; // no texture
    for (int i = 0; i < s_shader->NumPasses(); ++i) {
        s_shader->CallPass(i);
        s_mesh->Draw();
    }
    s_shader->EndPass();
    return 1;
}
