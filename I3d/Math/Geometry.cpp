// Boxes, slab tests, planes and spheres.
#include "I3d/Math/Geometry.h"

#include "I3d/Math/Vec3Ops.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
VECTOR3 BoxMin(const float box[6]) {
    return {box[0], box[1], box[2]};
}
VECTOR3 BoxMax(const float box[6]) {
    return {box[3], box[4], box[5]};
}
} // namespace

// ---- building boxes ----

void BoxSetMinMax(float box[6], const VECTOR3* min, const VECTOR3* max) {
    VECTOR3 lo = *min, hi = *max;
    box[0] = lo.x, box[1] = lo.y, box[2] = lo.z;
    box[3] = hi.x, box[4] = hi.y, box[5] = hi.z;
}

void BoxSetPoint(float box[6], const VECTOR3* p) {
    BoxSetMinMax(box, p, p);
}

void BoxCube(float box[6], float half) {
    BoxFromSize(box, 2.0f * half, 2.0f * half, 2.0f * half);
}

void BoxFromSize(float box[6], float sx, float sy, float sz) {
    VECTOR3 hi = {sx * 0.5f, sy * 0.5f, sz * 0.5f};
    VECTOR3 lo = v3::Scale(hi, -1.0f);
    BoxSetMinMax(box, &lo, &hi);
}

void BoxCenter(const float box[6], VECTOR3* out) {
    *out = v3::Scale(v3::Add(BoxMin(box), BoxMax(box)), 0.5f);
}

void BoxSize(const float box[6], VECTOR3* out) {
    *out = v3::Sub(BoxMax(box), BoxMin(box));
}

void BoxAddPoint(float box[6], const VECTOR3* p) {
    const float v[3] = {p->x, p->y, p->z};
    for (int i = 0; i < 3; ++i) {
        if (v[i] < box[i])
            box[i] = v[i];
        else if (v[i] > box[i + 3])
            box[i + 3] = v[i];
    }
}

void BoxAddSphere(float box[6], const VECTOR3* centre, float radius) {
    VECTOR3 r = {radius, radius, radius};
    VECTOR3 lo = v3::Sub(*centre, r), hi = v3::Add(*centre, r);
    BoxAddPoint(box, &lo);
    BoxAddPoint(box, &hi);
}

void BoxMerge(float box[6], const float other[6]) {
    for (int i = 0; i < 3; ++i) {
        box[i] = std::min(box[i], other[i]);
        box[i + 3] = std::max(box[i + 3], other[i + 3]);
    }
}

// ---- box relations ----

int BoxOverlap(const float a[6], const float b[6]) {
    for (int i = 0; i < 3; ++i)
        if (!(b[i + 3] >= a[i] && b[i] <= a[i + 3])) return 0;
    return 1;
}

int BoxContainsBox(const float outer[6], const float inner[6]) {
    for (int i = 0; i < 3; ++i)
        if (!(inner[i] >= outer[i] && inner[i + 3] <= outer[i + 3])) return 0;
    return 1;
}

void BoxXform(const float box[6], const Mat4* m, float out[6]) {
    float r[6] = {m->m[12], m->m[13], m->m[14], m->m[12], m->m[13], m->m[14]};
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            float e = m->m[i * 4 + j];
            float a = e * box[i], b = e * box[i + 3];
            r[j] += std::min(a, b);
            r[j + 3] += std::max(a, b);
        }
    }
    std::copy(r, r + 6, out);
}

// ---- rays and segments ----

namespace {
int SlabSpan(const VECTOR3* origin, const VECTOR3* dir, const VECTOR3* min, const VECTOR3* max,
             float t0, float t1, float* enter, float* leave) {
    const float o[3] = {origin->x, origin->y, origin->z};
    const float d[3] = {dir->x, dir->y, dir->z};
    const float lo[3] = {min->x, min->y, min->z};
    const float hi[3] = {max->x, max->y, max->z};
    const float inf = std::numeric_limits<float>::infinity();
    float tmin = -inf, tmax = inf;
    for (int i = 0; i < 3; ++i) {
        float a, b;
        if (d[i] == 0.0f) {
            // Tested directly: on a slab plane, 0 x inf would be NaN and the answer would
            // depend on the order of the comparisons.
            if (o[i] < lo[i] || o[i] > hi[i]) return 0;
            continue;
        }
        float inv = 1.0f / d[i];
        if (d[i] > 0.0f) {
            a = (lo[i] - o[i]) * inv;
            b = (hi[i] - o[i]) * inv;
        } else {
            a = (hi[i] - o[i]) * inv;
            b = (lo[i] - o[i]) * inv;
        }
        if (tmin > b || a > tmax) return 0;
        tmin = std::max(tmin, a);
        tmax = std::min(tmax, b);
    }
    if (!(tmin < t1 && tmax > t0)) return 0;
    if (enter) *enter = tmin;
    if (leave) *leave = tmax;
    return 1;
}
} // namespace

int RayBoxSlabTest(const VECTOR3* origin, const VECTOR3* dir, const VECTOR3* min,
                   const VECTOR3* max, float t0, float t1) {
    return SlabSpan(origin, dir, min, max, t0, t1, nullptr, nullptr);
}

int BoxRaySpan(const float box[6], const Ray* ray, float t0, float t1, float* enter, float* leave) {
    VECTOR3 lo = BoxMin(box), hi = BoxMax(box);
    return SlabSpan(&ray->origin, &ray->dir, &lo, &hi, t0, t1, enter, leave);
}

int BoxRayTest(const float box[6], const Ray* ray, float t0, float t1) {
    VECTOR3 lo = BoxMin(box), hi = BoxMax(box);
    return RayBoxSlabTest(&ray->origin, &ray->dir, &lo, &hi, t0, t1);
}

int BoxSegmentTest(const float box[6], const Segment* seg) {
    VECTOR3 d = v3::Sub(seg->end, seg->start);
    float len = v3::Length(d);
    // A zero-length segment gets a zero direction, not a NaN one: its start inside decides.
    Ray ray = {seg->start, len > 0.0f ? v3::Scale(d, 1.0f / len) : VECTOR3{0.0f, 0.0f, 0.0f}};
    return BoxRayTest(box, &ray, 0.0f, len);
}

// ---- planes and spheres ----

int RayPlaneIntersect(const VECTOR3* origin, const VECTOR3* dir, const VECTOR3* normal, float d,
                      VECTOR3* out) {
    float nd = v3::Dot(*normal, *dir);
    if (nd >= 0.0f) return -1;
    if (out) {
        float t = -(v3::Dot(*normal, *origin) - d) / nd;
        *out = v3::Add(*origin, v3::Scale(*dir, t));
    }
    return 1;
}

int SphereOverlap(const VECTOR3* ca, float ra, const VECTOR3* cb, float rb) {
    float r = ra + rb;
    return r * r > Vec3DistSq(ca, cb) ? 1 : 0;
}

int SphereContainsPoint(const VECTOR3* p, const VECTOR3* c, float r) {
    return Vec3DistSq(p, c) <= r * r ? 1 : 0;
}

int SegmentSphereTest(const VECTOR3* start, const VECTOR3* end, const VECTOR3* centre,
                      float radius) {
    // The point of the segment nearest the centre decides; a plain line test would also
    // report spheres behind the start or beyond the end.
    VECTOR3 d = v3::Sub(*end, *start);
    VECTOR3 c = v3::Sub(*centre, *start);
    float l2 = v3::Dot(d, d);
    float t = l2 > 0.0f ? std::clamp(v3::Dot(c, d) / l2, 0.0f, 1.0f) : 0.0f;
    VECTOR3 nearest = v3::Add(*start, v3::Scale(d, t));
    return Vec3DistSq(&nearest, centre) <= radius * radius ? 1 : 0;
}
