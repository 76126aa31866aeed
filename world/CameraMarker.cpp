// The placed cameras' shared field-of-view check, world transform and debug marker.
#include "world/CameraMarker.h"

#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "engine/DebugLog.h"
#include "engine/MathConst.h"

#include <cmath>

namespace {
constexpr float kDefaultFov = 1.04718f;
constexpr uint32_t kMarkerColour = 0x3F00FF00;
} // namespace

void CameraCheckFov(float* fov, const char* entityName) {
    if (*fov > 0.0f && *fov <= kPi) return;
    DbgPrintf(DBG_GENERAL, "%s: field of view %g is taken as %g\n", entityName, (double)*fov,
              (double)kDefaultFov);
    *fov = kDefaultFov;
}

Mat4* CameraWorldMatrix(Mat4* out, const VECTOR3& pos, float pitch, float yaw) {
    Mat4Identity(out);
    Mat4RotateX(out, pitch);
    Mat4RotateY(out, yaw);
    out->m[12] = pos.x;
    out->m[13] = pos.y;
    out->m[14] = pos.z;
    return out;
}

void CameraMarkerStates() {
    D3dSetFogEnable(1);
    D3dSetLighting(0);
    D3dSetSpecular(0);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    D3dSetZEnable(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetZWrite(0);
    D3dSetAlphaTest(0);
    D3dSetFactorStages();
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetTextureFactor(kMarkerColour);
}

void CameraMarkerArrows(const VECTOR3& pos, float pitch, float yaw, float length) {
    Mat4 place;
    CameraWorldMatrix(&place, pos, pitch, yaw);
    // The unit arrow lies in the xz plane from z = -0.5 to 0.5: stretched and shifted it runs
    // from the eye along the view.
    Mat4 stretch;
    Mat4Identity(&stretch);
    stretch.m[0] = stretch.m[5] = 2.0f;
    stretch.m[10] = length;
    stretch.m[14] = length * 0.5f;
    Mat4 world;
    I3dSetWorld(Mat4Mul(&stretch, &place, &world));
    I3dDrawPrimArrow();
    Mat4 roll;
    Mat4Identity(&roll);
    Mat4RotateZ(&roll, kPi * 0.5f);
    Mat4Mul(&roll, &stretch, &roll);
    I3dSetWorld(Mat4Mul(&roll, &place, &world));
    I3dDrawPrimArrow();
}
