// Outcodes, box tests and point projection under the kept products.
#include "I3d/Frustum.h"

#include "I3d/Device.h"
#include "I3d/Src/Kernel.h"

#include <cmath>

namespace {

struct Clip {
    float x, y, z, w;
};

Clip ToClip(const VECTOR3& p, const Mat4& m) {
    const float* e = m.m;
    return {p.x * e[0] + p.y * e[4] + p.z * e[8] + e[12],
            p.x * e[1] + p.y * e[5] + p.z * e[9] + e[13],
            p.x * e[2] + p.y * e[6] + p.z * e[10] + e[14],
            p.x * e[3] + p.y * e[7] + p.z * e[11] + e[15]};
}

int Outcode(const Clip& c) {
    // Division by a zero w gives infinities (or NaN, which sets no bit): the box tests then
    // err towards drawing, never towards a crash.
    float x = c.x / c.w, y = c.y / c.w;
    int code = 0;
    if (c.z > 0.0f) {
        if (x < -1.0f) code |= I3D_OUT_LEFT;
        if (x > 1.0f) code |= I3D_OUT_RIGHT;
        if (y > 1.0f) code |= I3D_OUT_TOP;
        if (y < -1.0f) code |= I3D_OUT_BOTTOM;
        if (c.z > I3dGetFarDistance()) code |= I3D_OUT_BEYOND;
    } else {
        if (x > 1.0f) code |= I3D_OUT_LEFT;
        if (x < -1.0f) code |= I3D_OUT_RIGHT;
        if (y < -1.0f) code |= I3D_OUT_TOP;
        if (y > 1.0f) code |= I3D_OUT_BOTTOM;
        code |= I3D_OUT_BEHIND;
    }
    return code;
}

// The AND of the 8 corners' outcodes; the sum of their depths in `depthSum` when given.
int BoxOutcodes(const float box[6], const Mat4& m, float* depthSum) {
    int all = ~0;
    float sum = 0.0f;
    for (int i = 0; i < 8; ++i) {
        VECTOR3 corner = {box[(i & 1) ? 3 : 0], box[(i & 2) ? 4 : 1], box[(i & 4) ? 5 : 2]};
        Clip c = ToClip(corner, m);
        all &= Outcode(c);
        sum += c.z;
    }
    if (depthSum) *depthSum = sum;
    return all;
}

} // namespace

int Mat4PointOutcode(const VECTOR3* p, const Mat4* m, float* depth) {
    Clip c = ToClip(*p, *m);
    if (depth) *depth = c.z;
    return Outcode(c);
}

int Mat4BoxVisible(const float box[6], const Mat4* m) {
    return BoxOutcodes(box, *m, nullptr) == 0 ? 1 : 0;
}

int I3dPointOutcode(const VECTOR3* p, float* depth) {
    return Mat4PointOutcode(p, &I3dWorldViewProj(), depth);
}

int I3dBoxOutcodeTest(const VECTOR3* min, const VECTOR3* max, float* depth) {
    const float box[6] = {min->x, min->y, min->z, max->x, max->y, max->z};
    float sum = 0.0f;
    if (BoxOutcodes(box, I3dWorldViewProj(), &sum) != 0) return 0;
    if (depth) *depth = sum * 0.125f;
    return 1;
}

int BoxOutcodeTest(const float box[6], float* depth) {
    const VECTOR3 min = {box[0], box[1], box[2]}, max = {box[3], box[4], box[5]};
    return I3dBoxOutcodeTest(&min, &max, depth);
}

int I3dBoxVisible(const float box[6]) {
    return Mat4BoxVisible(box, &I3dViewProj());
}

void I3dProjectPoint(const VECTOR3* p, float out[3]) {
    Clip c = ToClip(*p, I3dWorldViewProj());
    if (std::fabs(c.w) < 1e-6f) {
        out[0] = out[1] = 0.0f;
    } else {
        out[0] = c.x / c.w;
        out[1] = c.y / c.w;
    }
    out[2] = c.z;
}
