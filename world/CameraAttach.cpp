// The ride camera: its table, mouse look, springs and view.
#include "world/CameraAttach.h"

#include "I3d/Device.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Pick.h"
#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "world/CameraCurrent.h"
#include "world/CameraDesc.h"

#include <cmath>
#include <cstring>

namespace {

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        using C = CameraAttach;
        PropDbSetName(db, "General:");
        PropDbAddString(db, "name", PROP_OFFSET(C, name), "!", 32);
        PropDbAddFloat(db, "fov", PROP_OFFSET(C, fov), 1.04718f);
        PropDbAddFloat(db, "yawRate", PROP_OFFSET(C, yawRate), 0.01f);
        PropDbAddFloat(db, "maxPitch", PROP_OFFSET(C, maxPitch), 1.0471975f);
        PropDbAddFloat(db, "minPitch", PROP_OFFSET(C, minPitch), -1.0471975f);
        PropDbAddFloat(db, "maxYaw", PROP_OFFSET(C, maxYaw), 1.0471975f);
        PropDbAddFloat(db, "minYaw", PROP_OFFSET(C, minYaw), -1.0471975f);
    }
    return &s_db;
}

const WorldClassDef kClass = {"CameraAttach", Db, WorldMake<CameraAttach>,
                              WorldClassFlags<CameraAttach>::Reset};

float Clamp(float v, float lo, float hi) {
    if (v < lo) v = lo;
    if (v > hi) v = hi;
    return v;
}

bool Finite(const Mat4& m) {
    for (float v : m.m)
        if (!std::isfinite(v)) return false;
    return true;
}

} // namespace

int CameraAttach::CopyClassName(char* buffer) {
    return WorldCopyClassName("CameraAttach", buffer);
}

int CameraAttach::Create(EntNode*) {
    attached = nullptr;
    owner = EntRef();
    eyeOffset = VECTOR3{0.0f, 0.85f, 0.2f};
    mouseDx = mouseDy = 0.0f;
    rightHeld = 0;
    pitch = yaw = 0.0f;
    return 1;
}

int CameraAttach::Start() {
    yawSmooth.time = pitchSmooth.time = 0.1f;
    yawSmooth.SetImmediate(yaw);
    pitchSmooth.SetImmediate(pitch);
    return 0;
}

void CameraAttach::Forget(const char* why) {
    DbgPrintf(DBG_GENERAL, "CameraAttach %s: %s, the view leaves the ride\n", name, why);
    attached = nullptr;
    owner = EntRef();
}

const Mat4* CameraAttach::LiveMatrix() {
    if (attached && !owner.Get()) Forget("the owner of its matrix is gone");
    return attached;
}

int CameraAttach::OnEntityRemoved(ENTBASE* gone) {
    if (attached && gone && gone == owner.Address()) Forget("the owner of its matrix was removed");
    return 1;
}

int CameraAttach::Update(float seconds) {
    yawSmooth.target = yaw;
    pitchSmooth.target = pitch;
    yawSmooth.Update(seconds);
    pitchSmooth.Update(seconds);
    return 1;
}

int CameraAttach::OnMessage(const SlEvent* event) {
    if (!event) return 0;
    switch (event->type) {
        case SL_MOUSE1DOWN: rightHeld = 1; break;
        case SL_MOUSE1UP: rightHeld = 0; break;
        case SL_MOUSEMOVE: {
            mouseDx = (float)(int32_t)event->a;
            mouseDy = (float)(int32_t)event->b;
            if (!rightHeld) break;
            // A rate or limit that is not a number leaves the goals where they were.
            const float newYaw = Clamp(yaw + mouseDx * yawRate, minYaw, maxYaw);
            const float newPitch = Clamp(pitch + mouseDy * yawRate, minPitch, maxPitch);
            if (std::isfinite(newYaw)) yaw = newYaw;
            if (std::isfinite(newPitch)) pitch = newPitch;
            break;
        }
        default: break;
    }
    return 0;
}

int CameraAttach::GetCamera(CameraDesc* out) {
    if (!out) return 1;
    out->fov = fov;
    out->valid = 1;
    Mat4Identity(&out->view);
    out->eye = VECTOR3{0.0f, 0.0f, 0.0f};
    const Mat4* seat = LiveMatrix();
    if (!seat) return 1;
    Mat4 local;
    Mat4Identity(&local);
    Mat4RotateX(&local, pitchSmooth.value);
    Mat4RotateY(&local, yawSmooth.value);
    local.m[12] += eyeOffset.x;
    local.m[13] += eyeOffset.y;
    local.m[14] += eyeOffset.z;
    Mat4 world;
    Mat4Mul(&local, seat, &world);
    if (!Finite(world)) {
        // A seat matrix that is not a number would give the projection nothing to draw with.
        if (!badLogged) {
            DbgPrintf(DBG_GENERAL, "CameraAttach %s: its matrix is not a number, not used\n", name);
            badLogged = true;
        }
        return 1;
    }
    Mat4InverseRigid(&world, &out->view);
    out->eye = VECTOR3{world.m[12], world.m[13], world.m[14]};
    // While the player watches through it, clicks on the world pick through this view.
    if (CameraGetCurrent() == this) {
        PickSetCamera(&out->view);
        PickSetFov(fov);
        int width = 0, height = 0;
        I3dGetScreenSize(&width, &height);
        PickSetAspect(float(width), float(height));
    }
    return 1;
}

void CameraAttachSetMatrix(ENTBASE* camera, ENTBASE* owner, const Mat4* matrix) {
    if (!camera || std::strcmp(camera->GetTypeName(), "CameraAttach") != 0) return;
    auto* cam = static_cast<CameraAttach*>(camera);
    cam->attached = matrix;
    cam->owner = matrix ? EntRef(owner) : EntRef();
    cam->pitch = cam->yaw = 0.0f;
    cam->rightHeld = 0;
    cam->badLogged = false;
}

intptr_t EcCameraAttachProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
