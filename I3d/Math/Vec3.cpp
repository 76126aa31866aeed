// Vector helpers: fast inverse square root, distances, angles, splines, random directions.
#include "I3d/Math/Vec3.h"

#include "I3d/Math/Vec3Ops.h"
#include "engine/MathConst.h"
#include "engine/Random.h"

#include <bit>
#include <cmath>
#include <cstdint>

// ---- trigonometry ----

float MathSin(float x) {
    return std::sin(x);
}
float MathCos(float x) {
    return std::cos(x);
}
float MathAcos(float x) {
    return std::acos(x);
}
float MathAtan(float x) {
    return std::atan(x);
}

// ---- lengths and distances ----

float InvSqrtFast(float x) {
    int32_t i = std::bit_cast<int32_t>(x);
    // Unsigned so that a negative x (a caller's bug) wraps instead of overflowing.
    uint32_t bits = 0x5F3759DFu - (uint32_t)(i >> 1);
    float y = std::bit_cast<float>(bits);
    // (0.5 x) y y in this order: for x = 0 it stays 0 instead of reaching 0 x inf.
    return y * (1.5f - 0.5f * x * y * y);
}

void Vec3NormalizeFast(VECTOR3* v) {
    *v = v3::Scale(*v, InvSqrtFast(v3::Dot(*v, *v)));
}

void Vec3SetLengthFast(VECTOR3* v, float len) {
    *v = v3::Scale(*v, len * InvSqrtFast(v3::Dot(*v, *v)));
}

float Vec3Dist(const VECTOR3* a, const VECTOR3* b) {
    return std::sqrt(Vec3DistSq(a, b));
}

float Vec3DistSq(const VECTOR3* a, const VECTOR3* b) {
    VECTOR3 d = v3::Sub(*a, *b);
    return v3::Dot(d, d);
}

float Vec3DistSqXZ(const VECTOR3* a, const VECTOR3* b) {
    float dx = a->x - b->x, dz = a->z - b->z;
    return dx * dx + dz * dz;
}

// ---- angles ----

int Vec3DirToYawPitch(const VECTOR3* from, const VECTOR3* to, float* yaw, float* pitch) {
    VECTOR3 d = v3::Sub(*to, *from);
    float h2 = d.z * d.z + d.x * d.x;
    float h = std::sqrt(h2);

    if (h == 0.0f) {
        *yaw = 0.0f; // straight up or down: any yaw would do
    } else {
        float c = d.z / h;
        if (c >= 1.0f)
            *yaw = 0.0f;
        else if (c <= -1.0f)
            *yaw = kPi6;
        else
            *yaw = d.x < 0.0f ? -MathAcos(c) : MathAcos(c);
    }

    float len2 = d.y * d.y + h2;
    if (len2 == 0.0f) {
        *pitch = 0.0f; // the points coincide
        return 0;
    }
    float c2 = h / std::sqrt(len2);
    if (c2 >= 1.0f)
        *pitch = 0.0f;
    else if (c2 <= 0.0f)
        *pitch = kHalfPi6;
    else
        *pitch = d.y > 0.0f ? -MathAcos(c2) : MathAcos(c2);
    return 0;
}

float Vec3Heading(const VECTOR3* v) {
    float x = v->x, z = v->z;
    if (z == 0.0f) return x <= 0.0f ? -kHalfPi6 : kHalfPi6;
    if (z > 0.0f) return MathAtan(x / z);
    float t = MathAtan(-x / z);
    return x <= 0.0f ? -kPi6 - t : kPi6 - t;
}

VECTOR3* Vec3PointOnSphere(VECTOR3* out, const VECTOR3* centre, float yaw, float pitch,
                           float radius) {
    float cp = MathCos(pitch);
    VECTOR3 dir = {cp * MathCos(yaw), MathSin(pitch), cp * MathSin(yaw)};
    *out = v3::Add(*centre, v3::Scale(dir, radius));
    return out;
}

// ---- rays, splines, random directions ----

Ray* RaySet(Ray* out, const VECTOR3* origin, const VECTOR3* dir) {
    VECTOR3 o = *origin, d = *dir;
    out->origin = o;
    out->dir = d;
    return out;
}

VECTOR3* Vec3CatmullRom(VECTOR3* out, const VECTOR3* p0, const VECTOR3* p1, const VECTOR3* p2,
                        const VECTOR3* p3, float s) {
    float s2 = s * s, s3 = s2 * s;
    auto axis = [&](float a, float b, float c, float d) {
        return 0.5f * (2.0f * b + (c - a) * s + (2.0f * a - 5.0f * b + 4.0f * c - d) * s2 +
                       (3.0f * b - a - 3.0f * c + d) * s3);
    };
    VECTOR3 r = {axis(p0->x, p1->x, p2->x, p3->x), axis(p0->y, p1->y, p2->y, p3->y),
                 axis(p0->z, p1->z, p2->z, p3->z)};
    *out = r;
    return out;
}

VECTOR3* Vec3RandomInCone(VECTOR3* out, const VECTOR3* axis, float angle) {
    // Two separate statements: the draw order is part of the result.
    float z = RandFloatRange(-1.0f, 1.0f);
    float t = RandFloatRange(0.0f, kTwoPi6);
    float r = std::sqrt(1.0f - z * z);
    VECTOR3 u = {r * MathCos(t), r * MathSin(t), z};
    Vec3NormalizeFast(&u);
    VECTOR3 v = v3::Add(*axis, v3::Scale(u, MathSin(angle)));
    Vec3NormalizeFast(&v);
    *out = v;
    return out;
}
