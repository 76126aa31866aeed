// The pick state and ray (see Pick.h).
#include "I3d/Math/Pick.h"

#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3Ops.h"

#include <cmath>

static Mat4 s_camera = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
static float s_fov = 0.0f;
static float s_aspect = 1.0f;

void PickSetCamera(const Mat4* view) {
    if (view) s_camera = *view;
}

const Mat4* PickGetCamera() {
    return &s_camera;
}

void PickSetFov(float radians) {
    s_fov = radians;
}

void PickSetAspect(float width, float height) {
    float aspect = width / height;
    if (height != 0.0f && aspect > 0.0f && std::isfinite(aspect)) s_aspect = aspect;
}

static bool Finite(const VECTOR3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

int PickRay(float x, float y, VECTOR3* origin, VECTOR3* direction) {
    if (!(x >= -1.0f && x <= 1.0f && y >= -1.0f && y <= 1.0f) || !origin || !direction) return 0;
    float t = std::tan(s_fov * 0.5f);
    const VECTOR3 nearView{s_aspect * t * x * 0.2f, t * y * 0.2f, 0.2f};
    const VECTOR3 farView{s_aspect * t * x * 12000.0f, t * y * 12000.0f, 12000.0f};
    Mat4 world;
    Mat4InverseRigid(&s_camera, &world);
    VECTOR3 nearWorld, farWorld;
    Mat4XformPoint(&nearView, &world, &nearWorld);
    Mat4XformPoint(&farView, &world, &farWorld);
    VECTOR3 dir = v3::Sub(farWorld, nearWorld);
    float len = v3::Length(dir);
    if (!(len > 0.0f) || !Finite(nearWorld) || !std::isfinite(len)) return 0;
    *origin = nearWorld;
    *direction = v3::Scale(dir, 1.0f / len);
    return 1;
}
