// The management camera: its table, input, springs and view.
#include "world/CameraVantor1.h"

#include "I3d/Device.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Pick.h"
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/Input/SlScanCodes.h"
#include "engine/PropDb.h"
#include "engine/Timers.h"
#include "world/CameraDesc.h"
#include "world/CursorFrame.h"

#include <cmath>
#include <cstring>

int32_t g_cursorFrameIndex = 1;

namespace {

CameraVantorHost* s_host = nullptr;
// The last overlapping zone logged: the camera reads the value every frame.
float s_loggedZonePct = 0.0f;

constexpr float kFov = 1.04718f;
constexpr float kScreenW = 1024.0f, kScreenH = 768.0f;
// Zones from each side that meet or cross in the middle (half the screen each) would scroll both
// ways at once: they are cut back to a little less.
constexpr float kOverlappingZonePct = 0.5f, kMaxZonePct = 0.49f;
constexpr float kKeyMove = 80.0f, kKeyTurn = 1.5f, kKeyZoom = 60.0f;
constexpr float kPadMove = 70.0f, kPadZoom = 80.0f, kPadTurn = 4.0f, kPadTiltDeadZone = 0.1f;

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        using C = CameraVantor1;
        PropDbSetName(db, "General:");
        PropDbAddString(db, "name", PROP_OFFSET(C, name), "!", 32);
        PropDbAddVector3Zero(db, "pos", PROP_OFFSET(C, pos));
        PropDbAddFloat(db, "minPitch", PROP_OFFSET(C, minPitch), 0.4f);
        PropDbAddFloat(db, "maxPitch", PROP_OFFSET(C, maxPitch), 1.4f);
        PropDbAddFloat(db, "minZoom", PROP_OFFSET(C, minZoom), 2.0f);
        PropDbAddFloat(db, "maxZoom", PROP_OFFSET(C, maxZoom), 100.0f);
        PropDbAddFloat(db, "fov", PROP_OFFSET(C, fov), kFov);
        PropDbAddBool(db, "mouseEnabled", PROP_OFFSET(C, mouseEnabled), 1);
        PropDbAddFloat(db, "trackRate", PROP_OFFSET(C, trackRate), 0.1f);
        PropDbAddFloat(db, "yawRate", PROP_OFFSET(C, yawRate), 0.01f);
        PropDbAddFloat(db, "tiltRate", PROP_OFFSET(C, tiltRate), 0.01f);
        PropDbAddFloat(db, "zoomRate", PROP_OFFSET(C, zoomRate), 0.03f);
        PropDbAddFloat(db, "minX", PROP_OFFSET(C, minX), 384.0f);
        PropDbAddFloat(db, "maxX", PROP_OFFSET(C, maxX), 640.0f);
        PropDbAddFloat(db, "minZ", PROP_OFFSET(C, minZ), 384.0f);
        PropDbAddFloat(db, "maxZ", PROP_OFFSET(C, maxZ), 640.0f);
        PropDbAddFloat(db, "scrollSpeedX", PROP_OFFSET(C, scrollSpeedX), 200.0f);
        PropDbAddFloat(db, "scrollSpeedZ", PROP_OFFSET(C, scrollSpeedZ), 200.0f);
        PropDbAddFloat(db, "scrollZonePct", PROP_OFFSET(C, scrollZonePct), 0.015f);
        PropDbAddBool(db, "edgeScrollEnable", PROP_OFFSET(C, edgeScrollEnable), 1);
    }
    return &s_db;
}

void ResetClass() {
    WorldClassFlags<CameraVantor1>::Reset();
    g_cursorFrameIndex = 1;
}

const WorldClassDef kClass = {"CameraVantor1", Db, WorldMake<CameraVantor1>, ResetClass};

float Clamp(float v, float lo, float hi) {
    if (v < lo) v = lo;
    if (v > hi) v = hi;
    return v;
}

// A pad axis that is not a number counts as centred.
float Axis(float v) {
    return std::isfinite(v) ? v : 0.0f;
}

VECTOR3 Row(const Mat4& m, int row) {
    return VECTOR3{m.m[row * 4 + 0], m.m[row * 4 + 1], m.m[row * 4 + 2]};
}

// The real frame time: the game's speed does not change how fast the player moves the view,
// and a paused game holds it still.
float RealSeconds() {
    if (AppTimerStopped()) return 0.0f;
    return std::isfinite(g_frameSeconds) && g_frameSeconds > 0.0f ? g_frameSeconds : 0.0f;
}

void SetLock(int on) {
    if (s_host) s_host->SetCursorLock(on);
}

} // namespace

void CameraVantorSetHost(CameraVantorHost* host) {
    s_host = host;
}

CameraVantorHost* CameraVantorGetHost() {
    return s_host;
}

int CameraVantor1::CopyClassName(char* buffer) {
    return WorldCopyClassName("CameraVantor1", buffer);
}

int CameraVantor1::Create(EntNode*) {
    pitch = 0.785398f;
    yaw = 0.0f;
    dragMode = 0;
    leftHeld = middleHeld = rightHeld = 0;
    mouseDx = mouseDy = wheel = 0.0f;
    mouseX = kScreenW * 0.5f;
    mouseY = kScreenH * 0.5f;
    cursorKnown = false;
    distance = 40.0f;
    for (uint8_t& k : keys)
        k = 0;
    Mat4Identity(&cameraMatrix);
    return 1;
}

int CameraVantor1::Start() {
    Ent3dBase::Start();
    GridExtent ground;
    if (Ent3dGridExtent(EntTreeFindType(EntGetRoot(this), "GameGrid"), &ground)) {
        const float x0 = ground.x0, y0 = ground.y0, z0 = ground.z0, x1 = ground.x1, z1 = ground.z1;
        if (std::isfinite(x0) && std::isfinite(y0) && std::isfinite(z0) && std::isfinite(x1) &&
            std::isfinite(z1)) {
            minX = x0;
            minZ = z0;
            maxX = x1;
            maxZ = z1;
            targetPoint = VECTOR3{minX + (maxX - minX) * 0.5f, y0, minZ + (maxZ - minZ) * 0.5f};
        }
    }
    yawSmooth.SetImmediate(yaw);
    pitchSmooth.SetImmediate(pitch);
    targetSmooth.SetImmediate(targetPoint);
    yawSmooth.time = pitchSmooth.time = targetSmooth.time = 0.1f;
    BuildView();
    return 1;
}

void CameraVantor1::ClearHeld() {
    for (uint8_t& k : keys)
        k = 0;
    leftHeld = middleHeld = rightHeld = 0;
}

namespace {

// A drag with the right button moves the target, with the middle one (or both) turns and tilts
// the view; without a drag the pointer at a screen edge scrolls it.
void DragOrScroll(CameraVantor1& cam, const VECTOR3& right, const VECTOR3& forward, float dt) {
    cam.dragMode = 0;
    if (cam.rightHeld && !cam.leftHeld) cam.dragMode = 1;
    if (cam.middleHeld || (cam.rightHeld && cam.leftHeld)) cam.dragMode = 2;

    if (cam.dragMode == 2) {
        cam.yaw += cam.mouseDx * cam.yawRate;
        cam.pitch = Clamp(cam.pitch + cam.mouseDy * cam.tiltRate, cam.minPitch, cam.maxPitch);
        SetLock(1);
        g_cursorFrameIndex = 3;
    } else if (cam.dragMode == 1) {
        const float a = cam.mouseDx * cam.trackRate, b = cam.mouseDy * cam.trackRate;
        cam.targetPoint.x += a * right.x - b * forward.x;
        cam.targetPoint.z += a * right.z - b * forward.z;
        SetLock(1);
        g_cursorFrameIndex = 2;
    } else {
        const bool inside = !s_host || s_host->PointerInside();
        if (cam.edgeScrollEnable && cam.cursorKnown && inside) {
            // A zone that is not a number fails every comparison below: no edge.
            float p = cam.scrollZonePct;
            if (p >= kOverlappingZonePct) {
                if (s_loggedZonePct != p) {
                    DbgPrintf(DBG_ENTITY, "CameraVantor1: scrollZonePct %g is taken as %g\n",
                              (double)p, (double)kMaxZonePct);
                    s_loggedZonePct = p;
                }
                p = kMaxZonePct;
            }
            float sx = 0.0f, sz = 0.0f;
            if (cam.mouseX > kScreenW * (1.0f - p))
                sx = cam.scrollSpeedX;
            else if (cam.mouseX < kScreenW * p)
                sx = -cam.scrollSpeedX;
            if (cam.mouseY > kScreenH * (1.0f - p))
                sz = cam.scrollSpeedZ;
            else if (cam.mouseY < kScreenH * p)
                sz = -cam.scrollSpeedZ;
            cam.targetPoint.x += sx * dt * right.x - sz * dt * forward.x;
            cam.targetPoint.z += sx * dt * right.z - sz * dt * forward.z;
        }
        SetLock(0);
        g_cursorFrameIndex = 1;
    }
}

// The first pad's sticks move and turn the view, its triggers zoom.
void PadInput(CameraVantor1& cam, const VECTOR3& right, const VECTOR3& forward, float dt) {
    const SlPad* pad = SlPadGetState(0);
    if (!pad) return;
    const float lx = Axis(pad->lx), ly = Axis(pad->ly);
    const float rx = Axis(pad->rx), ry = Axis(pad->ry);
    const float lt = Axis(pad->button[SL_PAD_LTRIGGER]);
    const float rt = Axis(pad->button[SL_PAD_RTRIGGER]);
    cam.targetPoint.x += kPadMove * dt * (lx * right.x + ly * forward.x);
    cam.targetPoint.z += kPadMove * dt * (lx * right.z + ly * forward.z);
    cam.distance += (lt - rt) * kPadZoom * dt;
    cam.yaw += rx * kPadTurn * dt;
    if (std::fabs(ry) > kPadTiltDeadZone) cam.pitch += ry * dt;
}

// The held keys move, turn and zoom the view.
void KeyInput(CameraVantor1& cam, const VECTOR3& right, const VECTOR3& forward, float dt) {
    // Each pair: one key alone moves, both together cancel.
    auto pair = [&cam](int plus, int minus) {
        return (cam.keys[plus] && !cam.keys[minus])   ? 1.0f
               : (cam.keys[minus] && !cam.keys[plus]) ? -1.0f
                                                      : 0.0f;
    };
    const float fwd = pair(CAMKEY_FORWARD, CAMKEY_BACK) * kKeyMove * dt;
    const float side = pair(CAMKEY_RIGHT, CAMKEY_LEFT) * kKeyMove * dt;
    cam.targetPoint.x += fwd * forward.x + side * right.x;
    cam.targetPoint.z += fwd * forward.z + side * right.z;
    cam.yaw += pair(CAMKEY_TURN_RIGHT, CAMKEY_TURN_LEFT) * kKeyTurn * dt;
    cam.distance += pair(CAMKEY_ZOOM_OUT, CAMKEY_ZOOM_IN) * kKeyZoom * dt;
}

void KeepInLimits(CameraVantor1& cam) {
    cam.pitch = Clamp(cam.pitch, cam.minPitch, cam.maxPitch);
    cam.distance = Clamp(cam.distance, cam.minZoom, cam.maxZoom);
    cam.targetPoint.x = Clamp(cam.targetPoint.x, cam.minX, cam.maxX);
    cam.targetPoint.z = Clamp(cam.targetPoint.z, cam.minZ, cam.maxZ);
}

} // namespace

int CameraVantor1::Update(float) {
    const float dt = RealSeconds();
    // A rate or limit that is not a number, set by a script or an ini, must not leave the view
    // lost for good: the goals of such a frame are dropped.
    const VECTOR3 keptTarget = targetPoint;
    const float keptYaw = yaw, keptPitch = pitch, keptDistance = distance;
    // A release that went to a menu, to another keyboard entity or to another window never
    // reaches us: without this the view would keep moving, or stay locked in a drag.
    if (s_host && !s_host->HearsInput(this)) ClearHeld();

    const VECTOR3 right = Row(cameraMatrix, 0);
    const VECTOR3 forward = Row(cameraMatrix, 2);
    DragOrScroll(*this, right, forward, dt);
    distance -= zoomRate * wheel;
    PadInput(*this, right, forward, dt);
    KeyInput(*this, right, forward, dt);
    KeepInLimits(*this);

    if (!std::isfinite(targetPoint.x) || !std::isfinite(targetPoint.z)) targetPoint = keptTarget;
    if (!std::isfinite(yaw)) yaw = keptYaw;
    if (!std::isfinite(pitch)) pitch = keptPitch;
    if (!std::isfinite(distance)) distance = keptDistance;

    targetSmooth.target = targetPoint;
    yawSmooth.target = yaw;
    pitchSmooth.target = pitch;
    targetSmooth.Update(dt);
    yawSmooth.Update(dt);
    pitchSmooth.Update(dt);
    BuildView();

    mouseDx = mouseDy = wheel = 0.0f;
    return 1;
}

void CameraVantor1::BuildView() {
    Mat4Identity(&cameraMatrix);
    Mat4RotateX(&cameraMatrix, pitchSmooth.value);
    Mat4RotateY(&cameraMatrix, yawSmooth.value);
    const VECTOR3 forward = Row(cameraMatrix, 2);
    const VECTOR3& t = targetSmooth.value;
    pos =
        VECTOR3{t.x - forward.x * distance, t.y - forward.y * distance, t.z - forward.z * distance};
    cameraMatrix.m[12] = pos.x;
    cameraMatrix.m[13] = pos.y;
    cameraMatrix.m[14] = pos.z;
}

int CameraVantor1::OnMessage(const SlEvent* event) {
    if (!event) return 0;
    switch (event->type) {
        case SL_KEYDOWN:
        case SL_KEYUP: {
            const uint8_t down = event->type == SL_KEYDOWN;
            switch (event->a) {
                case DIK_W: keys[CAMKEY_FORWARD] = down; break;
                case DIK_S: keys[CAMKEY_BACK] = down; break;
                case DIK_A: keys[CAMKEY_LEFT] = down; break;
                case DIK_D: keys[CAMKEY_RIGHT] = down; break;
                case DIK_E: keys[CAMKEY_TURN_RIGHT] = down; break;
                case DIK_Q: keys[CAMKEY_TURN_LEFT] = down; break;
                case DIK_R: keys[CAMKEY_ZOOM_IN] = down; break;
                case DIK_F: keys[CAMKEY_ZOOM_OUT] = down; break;
                default: break;
            }
            break;
        }
        case SL_MOUSE0DOWN: leftHeld = 1; break;
        case SL_MOUSE0UP: leftHeld = 0; break;
        case SL_MOUSE1DOWN: rightHeld = 1; break;
        case SL_MOUSE1UP: rightHeld = 0; break;
        case SL_MOUSE2DOWN: middleHeld = 1; break;
        case SL_MOUSE2UP: middleHeld = 0; break;
        case SL_MOUSEMOVE:
            mouseDx = (float)(int32_t)event->a;
            mouseDy = (float)(int32_t)event->b;
            break;
        case SL_MOUSEWHEEL: wheel = (float)(int32_t)event->a; break;
        case SL_MOUSEPOS: {
            const float x = SlUnpackFloat(event->a), y = SlUnpackFloat(event->b);
            if (std::isfinite(x) && std::isfinite(y)) {
                mouseX = x;
                mouseY = y;
                cursorKnown = true;
            }
            break;
        }
        default: break;
    }
    return 0;
}

int CameraVantor1::GetCamera(CameraDesc* out) {
    if (!out) return 1;
    out->fov = kFov;
    Mat4InverseRigid(&cameraMatrix, &out->view);
    out->eye = pos;
    out->valid = 1;
    PickSetCamera(&out->view);
    PickSetFov(kFov);
    int width = 0, height = 0;
    I3dGetScreenSize(&width, &height);
    PickSetAspect((float)width, (float)height);
    return 1;
}

int CameraVantor1::Destroy() {
    // Destroyed in the middle of a drag, nothing else would ever let the cursor go.
    if (dragMode != 0) SetLock(0);
    return ENTBASE::Destroy();
}

void CameraVantorFlyTo(ENTBASE* camera, const VECTOR3* target, float yaw, float pitch,
                       float distance) {
    if (!camera || !target || std::strcmp(camera->GetTypeName(), "CameraVantor1") != 0) return;
    if (!std::isfinite(target->x) || !std::isfinite(target->y) || !std::isfinite(target->z)) return;
    auto* cam = static_cast<CameraVantor1*>(camera);
    cam->targetPoint = *target;
    if (yaw > -1.0f && std::isfinite(yaw) && std::isfinite(pitch) && std::isfinite(distance)) {
        cam->yaw = yaw;
        cam->pitch = pitch;
        cam->distance = distance;
    }
}

intptr_t EcCameraVantor1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    // The application hands the fly-to over; the class takes it back when it shuts down, so
    // that focusing never writes into a camera-shaped entity another class makes later.
    if (message == ENT_CLASS_MSG_UNREGISTER) CameraVantorSetFlyTo(nullptr);
    return WorldClassProc(kClass, node, message, a, b, c);
}
