// The free observer: its input, flight, camera and the shadow-map bake.
#include "world/Observer2.h"

#include "I3d/Device.h"
#include "I3d/Image.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/Input/SlScanCodes.h"
#include "engine/MathConst.h"
#include "engine/PropDb.h"
#include "engine/System.h"
#include "engine/UserFolder.h"
#include "engine/VarTable.h"
#include "world/CameraDesc.h"
#include "world/Terrain2.h"

#include <cstring>

namespace {

VarTable* s_vars = nullptr;

const WorldClassDef kClass = {"Observer2", nullptr, WorldMake<Observer2>,
                              WorldClassFlags<Observer2>::Reset};

constexpr float kLookRate = kPi6;
constexpr float kLateralSpeed = 20.0f, kVerticalSpeed = 20.0f, kForwardSpeed = 50.0f;
constexpr float kHeldTime = 2.0f, kReleasedTime = 0.2f;
constexpr float kPitchLimit = 1.57077f;
constexpr float kFovMin = 0.01f, kFovMax = kPi6;
constexpr float kBakeAngle = -0.87265f;
constexpr uint32_t kMagenta = 0xFFFF00FFu;
constexpr uint32_t kLeftShoulder = 0x2000, kRightShoulder = 0x1000;

int s_bakeSide = 4092;
int s_bakeStartRow = 2048;
float s_bakeStep = 0.25024438f;

void AddVars(VarTable* t) {
    using C = Observer2;
    VarTableAddString(t, "name", PROP_OFFSET(C, name), 32, "!");
    VarTableAddFloat(t, "pos.x", PROP_OFFSET(C, pos.x), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "pos.y", PROP_OFFSET(C, pos.y), 0.0f, -200.0f, 3000.0f);
    VarTableAddFloat(t, "pos.z", PROP_OFFSET(C, pos.z), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "accel", PROP_OFFSET(C, accel), 80.0f, 0.0f, 200.0f);
    VarTableAddFloat(t, "maxVel", PROP_OFFSET(C, maxVel), 500.0f, 0.0f, 1500.0f);
    VarTableAddFloat(t, "trackSpeed", PROP_OFFSET(C, trackSpeed), 2.0f, 0.0f, 50.0f);
    VarTableAddFloat(t, "pitch", PROP_OFFSET(C, pitch), 0.0f, 0.0f, 3.141592f);
    VarTableAddFloat(t, "yaw", PROP_OFFSET(C, yaw), 0.0f, 0.0f, 3.141592f);
}

void MakeVars() {
    if (s_vars) return;
    s_vars = VarTableBuild(AddVars);
}

float SignedSquare(float v) {
    return v * (v < 0.0f ? -v : v);
}

// 1 alone, -1 for the other alone, 0 for neither or both.
float Axis(int32_t plus, int32_t minus) {
    return plus && !minus ? 1.0f : minus && !plus ? -1.0f : 0.0f;
}

void WriteBake(Observer2* o) {
    if (!o->image) return;
    const std::string path = Observer2ShadowMapPath();
    if (ImgSaveTga(o->image, path.c_str(), nullptr) != 0)
        DbgPrintf(DBG_GENERAL, "Observer2: the shadow map could not be written to %s\n",
                  path.c_str());
    ImgFree(o->image);
    o->image = nullptr;
}

} // namespace

// ---- class ----

void Observer2SetBakeGrid(int side, int startRow, float step) {
    s_bakeSide = side > 0 ? side : 1;
    s_bakeStartRow = startRow < 0 ? 0 : startRow;
    s_bakeStep = step;
}

std::string Observer2ShadowMapPath() {
    const char* program = SysProgramFolder();
    return UserSaveFolder(program ? program : "") + "ShadowMap.tga";
}

// The reset (ENT_CLASS_MSG_RESET) goes through the shared procedure: it clears the entity source
// files as every world class's does, and nothing reads the count it answers.
intptr_t EcObserver2Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (message == ENT_CLASS_MSG_BUILD_DB) MakeVars();
    if (message == ENT_CLASS_MSG_UNREGISTER) {
        VarTableDestroy(s_vars);
        s_vars = nullptr;
    }
    return WorldClassProc(kClass, node, message, a, b, c);
}

int Observer2::CopyClassName(char* buffer) {
    return WorldCopyClassName("Observer2", buffer);
}

// ---- life ----

Observer2::~Observer2() {
    WriteBake(this);
}

int Observer2::Create(EntNode*) {
    if (s_vars) VarTableInitObject(s_vars, this);
    instanceVars = s_vars;
    trackSpeed = 0.1f;
    accel = 80.0f;
    maxVel = 250.0f;
    pad = -1;
    capturing = 0;
    image = nullptr;
    Mat4Identity(&rotation);
    return 0;
}

int Observer2::Start() {
    yaw = pitch = 0.0f;
    fov = 1.0471799f;
    std::memset(input, 0, sizeof input);
    lateral.SetTime(kHeldTime);
    vertical.SetTime(kHeldTime);
    forward.SetTime(kHeldTime);
    velocity = VECTOR3{0.0f, 0.0f, 0.0f};
    Mat4Identity(&matrix);
    return 0;
}

int Observer2::Destroy() {
    capturing = 0;
    WriteBake(this);
    return ENTBASE::Destroy();
}

void Observer2::SetLocalPlayer(intptr_t word) {
    if (word < -1 || word >= SL_PAD_COUNT) {
        DbgPrintf(DBG_GENERAL, "Observer2 %s: pad %ld does not exist; no pad\n", name, (long)word);
        pad = -1;
        return;
    }
    pad = (int32_t)word;
}

// ---- input and flight ----

int Observer2::OnMessage(const SlEvent* e) {
    if (!e) return 0;
    switch (e->type) {
        case SL_KEYDOWN:
            if (e->a == DIK_O) {
                if (capturing)
                    Observer2CaptureStop(this);
                else
                    Observer2CaptureStart(this);
            }
            break;
        case SL_MOUSEMOVE:
            yaw += (float)e->a * 0.003f;
            pitch += (float)e->b * 0.003f;
            break;
        case 1003: input[FORWARD] = 1; break;
        case 1004: input[FORWARD] = 0; break;
        case 1005: input[BACK] = 1; break;
        case 1006: input[BACK] = 0; break;
        case 1009: input[RIGHT] = 1; break;
        case 1010: input[RIGHT] = 0; break;
        case 1007: input[LEFT] = 1; break;
        case 1008: input[LEFT] = 0; break;
        case 1166: input[UP] = 1; break;
        case 1167: input[UP] = 0; break;
        case 1168: input[DOWN] = 1; break;
        case 1169: input[DOWN] = 0; break;
        case 1192:
            input[TOGGLE1] = 1 - input[TOGGLE1];
            if (input[TOGGLE1]) input[TOGGLE2] = 0;
            break;
        case 1194:
            input[TOGGLE2] = 1 - input[TOGGLE2];
            if (input[TOGGLE2]) input[TOGGLE1] = 0;
            break;
        default: break;
    }
    return 0;
}

int Observer2::Update(float dt) {
    // Targets set below take effect from the next update.
    lateral.Update(dt);
    vertical.Update(dt);
    forward.Update(dt);
    const float side = Axis(input[RIGHT], input[LEFT]);
    lateral.SetTarget(side);
    lateral.SetTime(side != 0.0f ? kHeldTime : kReleasedTime);
    const float ahead = Axis(input[FORWARD], input[BACK]);
    forward.SetTarget(ahead);
    forward.SetTime(ahead != 0.0f ? kHeldTime : kReleasedTime);
    vertical.SetTarget(Axis(input[UP], input[DOWN]));

    float a = 0.0f, b = 0.0f, c = 0.0f, zoom = 0.0f;
    if (const SlPad* p = pad >= 0 ? SlPadGetState(pad) : nullptr) {
        pitch += SignedSquare(p->ly) * kLookRate * dt;
        yaw += SignedSquare(p->lx) * kLookRate * dt;
        a = SignedSquare(p->rx);
        b = SignedSquare(p->ry);
        const float rt = p->button[SL_PAD_RTRIGGER], lt = p->button[SL_PAD_LTRIGGER];
        c = rt * rt - lt * lt;
        if (p->buttons & kLeftShoulder) zoom += 1.0f;
        if (p->buttons & kRightShoulder) zoom -= 1.0f;
    }
    const VECTOR3 local = {(a + lateral.GetValue()) * kLateralSpeed,
                           (b + vertical.GetValue()) * kVerticalSpeed,
                           (c + forward.GetValue()) * kForwardSpeed};
    if (pitch > kPitchLimit) pitch = kPitchLimit;
    if (pitch < -kPitchLimit) pitch = -kPitchLimit;
    Mat4Identity(&rotation);
    Mat4RotateX(&rotation, pitch);
    Mat4RotateY(&rotation, yaw);
    Mat4XformPoint(&local, &rotation, &velocity);
    pos.x += dt * velocity.x;
    pos.y += dt * velocity.y;
    pos.z += dt * velocity.z;
    matrix = rotation;
    matrix.m[12] = pos.x;
    matrix.m[13] = pos.y;
    matrix.m[14] = pos.z;
    Observer2CaptureStep(this);
    // A script may have set any value: held to the usable range here.
    fov += zoom * dt * 0.2f;
    if (!(fov >= kFovMin)) fov = kFovMin;
    if (fov > kFovMax) fov = kFovMax;
    return 1;
}

int Observer2::GetOrientation(float* out16) {
    if (out16) std::memcpy(out16, rotation.m, sizeof rotation.m);
    return 0;
}

int Observer2::Hook40(intptr_t outVector) {
    if (auto* out = reinterpret_cast<VECTOR3*>(outVector)) *out = velocity;
    return 0;
}

int Observer2::Hook136(intptr_t outWord) {
    if (auto* out = reinterpret_cast<intptr_t*>(outWord)) *out = 0;
    return 0;
}

int Observer2::GetCamera(CameraDesc* out) {
    if (!out) return 1;
    out->fov = fov;
    out->valid = 1;
    if (!capturing) {
        Mat4InverseRigid(&matrix, &out->view);
        out->eye = pos;
        return 1;
    }
    VECTOR3 p = {(float)column * stepX, 0.0f, (float)row * stepZ};
    float ground = 0.0f;
    if (auto* terrain = static_cast<Terrain2*>(Ent3dGetTerrain(this)))
        terrain->GetHeight(&p, &ground);
    p.y = ground + 0.1f;
    Mat4 bake;
    Mat4Identity(&bake);
    Mat4RotateX(&bake, kBakeAngle);
    Mat4RotateY(&bake, kBakeAngle);
    bake.m[12] = p.x;
    bake.m[13] = p.y;
    bake.m[14] = p.z;
    Mat4InverseRigid(&bake, &out->view);
    out->eye = p;
    return 1;
}

// ---- bake ----

void Observer2CaptureStart(Observer2* o) {
    if (o->capturing) return;
    o->gridWidth = o->gridHeight = s_bakeSide;
    o->stepX = o->stepZ = s_bakeStep;
    o->column = 0;
    o->row = s_bakeStartRow;
    WriteBake(o); // never two images
    o->image = ImgAlloc(o->gridWidth, o->gridHeight, IMG_L8);
    if (!o->image) {
        DbgPrintf(DBG_GENERAL, "Observer2 %s: no memory for a %d x %d bake\n", o->name,
                  (int)o->gridWidth, (int)o->gridHeight);
        return;
    }
    ImgFill(o->image, 0);
    o->capturing = 1;
    // The bake runs all the same: its image then stays empty.
    if (!D3dCanReadPixels())
        DbgPrintf(DBG_GENERAL,
                  "Observer2 %s: the back buffer cannot be read; the bake stays empty\n", o->name);
}

void Observer2CaptureStep(Observer2* o) {
    if (!o->capturing) return;
    int width = 0, height = 0;
    I3dGetScreenSize(&width, &height);
    if (o->image && o->row >= 0 && o->row < o->image->height && o->column < o->image->width &&
        D3dReadPixel(width / 2, height / 2) == kMagenta)
        o->image->pixels[(size_t)o->row * o->image->pitch + (size_t)o->column] = 255;
    if (++o->column >= o->gridWidth) {
        o->column = 0;
        if (++o->row >= o->gridHeight) Observer2CaptureStop(o);
    }
}

void Observer2CaptureStop(Observer2* o) {
    o->capturing = 0;
    WriteBake(o);
}
