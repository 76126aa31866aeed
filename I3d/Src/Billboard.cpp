// The billboard's corner offsets, kept facing the camera.
#include "I3d/Primitives.h"

#include "I3d/Math/Vec3Ops.h"

static VECTOR3 s_corners[4];

void I3dBillboardSetView(const Mat4* view) {
    const float* m = view->m;
    VECTOR3 r = {m[0], m[4], m[8]};
    VECTOR3 u = {m[1], m[5], m[9]};
    s_corners[0] = v3::Scale(v3::Add(r, u), -1.0f);
    s_corners[1] = v3::Sub(u, r);
    s_corners[2] = v3::Add(r, u);
    s_corners[3] = v3::Sub(r, u);
}

void I3dGetBillboardCorners(VECTOR3 out[4]) {
    for (int i = 0; i < 4; ++i)
        out[i] = s_corners[i];
}
