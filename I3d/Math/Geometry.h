// Allocation-free geometry: axis-aligned boxes, ray and segment tests against boxes, and
// sphere, segment and plane tests. A box is six floats, min x, y, z then max x, y, z; a valid
// box has min <= max on each axis (boxes that break it are computed with as written).
#pragma once

#include "I3d/Math/MathTypes.h"
#include "I3d/Math/Vec3.h"

struct Segment {
    VECTOR3 start;
    VECTOR3 end;
};

// ---- building boxes ----
void BoxSetMinMax(float box[6], const VECTOR3* min, const VECTOR3* max);
// min = max = p: the start of an accumulation with BoxAddPoint.
void BoxSetPoint(float box[6], const VECTOR3* p);
void BoxCube(float box[6], float half);
// Centred on the origin.
void BoxFromSize(float box[6], float sx, float sy, float sz);
void BoxCenter(const float box[6], VECTOR3* out);
void BoxSize(const float box[6], VECTOR3* out);
void BoxAddPoint(float box[6], const VECTOR3* p);
void BoxAddSphere(float box[6], const VECTOR3* centre, float radius);
void BoxMerge(float box[6], const float other[6]);

// ---- box relations ----
// Touching counts in both.
int BoxOverlap(const float a[6], const float b[6]);
int BoxContainsBox(const float outer[6], const float inner[6]);
// The axis-aligned box around the transformed box; out may be box.
void BoxXform(const float box[6], const Mat4* m, float out[6]);

// ---- rays and segments ----
// 1 when the ray meets the box at a parameter in (t0, t1); pickers pass 0 and 100000. A zero
// direction component leaves that axis unlimited when the origin lies within the slab (its
// planes included) and misses otherwise.
int BoxRayTest(const float box[6], const Ray* ray, float t0, float t1);
int RayBoxSlabTest(const VECTOR3* origin, const VECTOR3* dir, const VECTOR3* min,
                   const VECTOR3* max, float t0, float t1);
// As BoxRayTest, and on a hit where the ray's line enters and leaves the box (parameters in
// units of dir; the entry is below t0 when the ray starts inside).
int BoxRaySpan(const float box[6], const Ray* ray, float t0, float t1, float* enter, float* leave);
// The ray along the segment with t in (0, length); start = end asks whether start is inside.
int BoxSegmentTest(const float box[6], const Segment* seg);

// ---- planes and spheres ----
// The plane is normal . p = d. -1 when normal . dir >= 0 (parallel, or leaving the front side);
// else 1 and, when out is given, where the ray's line crosses the plane.
int RayPlaneIntersect(const VECTOR3* origin, const VECTOR3* dir, const VECTOR3* normal, float d,
                      VECTOR3* out);
// Touching does not count.
int SphereOverlap(const VECTOR3* ca, float ra, const VECTOR3* cb, float rb);
// The surface counts.
int SphereContainsPoint(const VECTOR3* p, const VECTOR3* c, float r);
// 1 when some point of the segment lies within the sphere (surface included).
int SegmentSphereTest(const VECTOR3* start, const VECTOR3* end, const VECTOR3* centre,
                      float radius);
