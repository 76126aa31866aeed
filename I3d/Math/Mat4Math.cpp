// 4x4 matrix functions: products, rotations, rigid inverse, view and projection matrices.
#include "I3d/Math/Mat4Math.h"

#include "I3d/Math/Vec3.h"
#include "I3d/Math/Vec3Ops.h"
#include "engine/MathConst.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace {
VECTOR3 Normalized(const VECTOR3& v) {
    float len = v3::Length(v);
    return len > 0.0f ? v3::Scale(v, 1.0f / len) : VECTOR3{0.0f, 0.0f, 0.0f};
}
} // namespace

// ---- transforms and products ----

Mat4* Mat4Identity(Mat4* out) {
    *out = Mat4{};
    out->m[0] = out->m[5] = out->m[10] = out->m[15] = 1.0f;
    return out;
}

VECTOR3* Mat4XformPoint(const VECTOR3* p, const Mat4* m, VECTOR3* out) {
    const float* e = m->m;
    VECTOR3 r = {p->x * e[0] + p->y * e[4] + p->z * e[8] + e[12],
                 p->x * e[1] + p->y * e[5] + p->z * e[9] + e[13],
                 p->x * e[2] + p->y * e[6] + p->z * e[10] + e[14]};
    *out = r;
    return out;
}

VECTOR3* Mat4XformVector(const VECTOR3* v, const Mat4* m, VECTOR3* out) {
    const float* e = m->m;
    VECTOR3 r = {v->x * e[0] + v->y * e[4] + v->z * e[8], v->x * e[1] + v->y * e[5] + v->z * e[9],
                 v->x * e[2] + v->y * e[6] + v->z * e[10]};
    *out = r;
    return out;
}

Mat4* Mat4Mul(const Mat4* a, const Mat4* b, Mat4* out) {
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i * 4 + j] = a->m[i * 4 + 0] * b->m[0 + j] + a->m[i * 4 + 1] * b->m[4 + j] +
                             a->m[i * 4 + 2] * b->m[8 + j] + a->m[i * 4 + 3] * b->m[12 + j];
    *out = r;
    return out;
}

// ---- rotations ----

// On every row: (u, v) = (c u - s v, s u + c v) for columns u and v.
static Mat4* RotateColumns(Mat4* m, int u, int v, float angle) {
    float c = MathCos(angle), s = MathSin(angle);
    for (int r = 0; r < 4; ++r) {
        float* row = m->m + r * 4;
        float a = row[u], b = row[v];
        row[u] = c * a - s * b;
        row[v] = s * a + c * b;
    }
    return m;
}

Mat4* Mat4RotateX(Mat4* m, float angle) {
    return RotateColumns(m, 1, 2, angle);
}
Mat4* Mat4RotateY(Mat4* m, float angle) {
    return RotateColumns(m, 2, 0, angle); // x' = c x + s z, z' = c z - s x
}
Mat4* Mat4RotateZ(Mat4* m, float angle) {
    return RotateColumns(m, 0, 1, angle);
}

Mat4* Mat4FromAxes(Mat4* out, const VECTOR3* x, const VECTOR3* y, const VECTOR3* z) {
    Mat4 r = {{x->x, x->y, x->z, 0.0f, y->x, y->y, y->z, 0.0f, z->x, z->y, z->z, 0.0f, 0.0f, 0.0f,
               0.0f, 1.0f}};
    *out = r;
    return out;
}

Mat4* Mat4FromEuler(Mat4* out, float az, float ax, float ay) {
    float c1 = MathCos(az), s1 = MathSin(az);
    float c2 = MathCos(ax), s2 = MathSin(ax);
    float c3 = MathCos(ay), s3 = MathSin(ay);
    float* e = out->m;
    e[0] = c1 * c3;
    e[1] = s1;
    e[2] = -c1 * s3;
    e[3] = 0.0f;
    e[4] = s2 * s3 - s1 * c3 * c2;
    e[5] = c1 * c2;
    e[6] = c2 * s1 * s3 + s2 * c3;
    e[7] = 0.0f;
    e[8] = s1 * s2 * c3 + s3 * c2;
    e[9] = -s2 * c1;
    e[10] = c3 * c2 - s1 * s3 * s2;
    e[11] = 0.0f;
    e[12] = e[13] = e[14] = 0.0f;
    e[15] = 1.0f;
    return out;
}

// ---- inverse and queries ----

Mat4* Mat4InverseRigid(const Mat4* m, Mat4* out) {
    // Locals instead of shared scratch matrices, so the function is re-entrant.
    Mat4 rot, trans;
    Mat4Identity(&rot);
    Mat4Identity(&trans);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            rot.m[i * 4 + j] = m->m[j * 4 + i];
    trans.m[12] = -m->m[12];
    trans.m[13] = -m->m[13];
    trans.m[14] = -m->m[14];
    return Mat4Mul(&trans, &rot, out);
}

int Mat4IsIdentity(const Mat4* m) {
    const uint32_t one = std::bit_cast<uint32_t>(1.0f);
    for (int i = 0; i < 16; ++i) {
        if (i % 5 == 0) {
            if (std::bit_cast<uint32_t>(m->m[i]) != one) return 0;
        } else if (m->m[i] != 0.0f) {
            return 0;
        }
    }
    return 1;
}

float Mat4Heading(const Mat4* m) {
    float len = std::sqrt(m->m[8] * m->m[8] + m->m[10] * m->m[10]);
    if (len == 0.0f) return 0.0f; // a vertical Z axis has no heading
    // Clamped: with a tiny length the quotient can round past 1.
    float h = MathAcos(std::clamp(m->m[10] / len, -1.0f, 1.0f));
    return m->m[8] < 0.0f ? kTwoPi6 - h : h;
}

// ---- view and projection ----

Mat4* Mat4LookAt(Mat4* out, const VECTOR3* eye, const VECTOR3* target, const VECTOR3* up) {
    VECTOR3 z = Normalized(v3::Sub(*target, *eye));
    VECTOR3 x, y;
    if (v3::Dot(z, z) == 0.0f) {
        x = {1.0f, 0.0f, 0.0f};
        y = {0.0f, 1.0f, 0.0f};
        z = {0.0f, 0.0f, 1.0f};
    } else {
        VECTOR3 side = v3::Cross(*up, z);
        if (!(v3::Dot(side, side) > 0.0f)) {
            // Up runs along the view (or is zero): any other world axis gives a valid frame.
            VECTOR3 alt =
                std::fabs(z.z) < 0.5f ? VECTOR3{0.0f, 0.0f, 1.0f} : VECTOR3{0.0f, 1.0f, 0.0f};
            side = v3::Cross(alt, z);
        }
        x = Normalized(side);
        y = v3::Cross(z, x);
    }
    Mat4 r = {{x.x, y.x, z.x, 0.0f, x.y, y.y, z.y, 0.0f, x.z, y.z, z.z, 0.0f, -v3::Dot(x, *eye),
               -v3::Dot(y, *eye), -v3::Dot(z, *eye), 1.0f}};
    *out = r;
    return out;
}

Mat4* Mat4OrthoScreen(Mat4* out, int width, int height) {
    *out = Mat4{};
    out->m[0] = 2.0f / (float)width;
    out->m[5] = -2.0f / (float)height;
    out->m[10] = 1.0f;
    out->m[12] = -1.0f;
    out->m[13] = 1.0f;
    out->m[15] = 1.0f;
    return out;
}

Mat4* Mat4Perspective(Mat4* out, float fov, float aspect, float zNear, float zFar) {
    float h = MathCos(fov * 0.5f) / MathSin(fov * 0.5f);
    float q = zFar / (zFar - zNear);
    *out = Mat4{};
    out->m[0] = h * aspect;
    out->m[5] = h;
    out->m[10] = q;
    out->m[11] = 1.0f;
    out->m[14] = -q * zNear;
    return out;
}
