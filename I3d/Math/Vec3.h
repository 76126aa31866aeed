// Vector helpers on VECTOR3: distances, fast normalisation, direction to angles, points on a
// sphere, headings, random directions in a cone and Catmull-Rom points. Single precision,
// no allocation; every output pointer may be one of the inputs.
#pragma once

#include "I3d/Math/MathTypes.h"

// A ray: origin then direction (six floats); the direction need not be unit length.
struct Ray {
    VECTOR3 origin;
    VECTOR3 dir;
};

// The standard library's float functions; results may differ from the x87 instructions the
// game was tuned with in the last bit.
float MathSin(float x);
float MathCos(float x);
float MathAcos(float x);
float MathAtan(float x);

// Approximate 1/sqrt(x), relative error below 0.2 %. x = 0 gives about 2e19, so a zero
// vector stays zero under the normalisations below. Negative x gives a meaningless value.
float InvSqrtFast(float x);
void Vec3NormalizeFast(VECTOR3* v);
void Vec3SetLengthFast(VECTOR3* v, float len);

float Vec3Dist(const VECTOR3* a, const VECTOR3* b);
float Vec3DistSq(const VECTOR3* a, const VECTOR3* b);
float Vec3DistSqXZ(const VECTOR3* a, const VECTOR3* b);

// Yaw about +y (0 along +z, positive towards +x) and pitch of the direction from `from` to
// `to`; looking up gives a negative pitch, except straight up or down, which give +pi/2.
// On one vertical line the yaw is 0; when the points coincide both are 0. Returns 0.
int Vec3DirToYawPitch(const VECTOR3* from, const VECTOR3* to, float* yaw, float* pitch);

// centre + radius x (cos pitch cos yaw, sin pitch, cos pitch sin yaw).
VECTOR3* Vec3PointOnSphere(VECTOR3* out, const VECTOR3* centre, float yaw, float pitch,
                           float radius);

Ray* RaySet(Ray* out, const VECTOR3* origin, const VECTOR3* dir);

// Uniform Catmull-Rom point between p1 (s = 0) and p2 (s = 1).
VECTOR3* Vec3CatmullRom(VECTOR3* out, const VECTOR3* p0, const VECTOR3* p1, const VECTOR3* p2,
                        const VECTOR3* p3, float s);

// atan2(x, z) in -pi..pi; (0, 0, 0) gives -pi/2.
float Vec3Heading(const VECTOR3* v);

// A unit vector deviating from `axis` by up to about `angle`; draws two numbers from the
// run-time generator. Not uniform over the cone.
VECTOR3* Vec3RandomInCone(VECTOR3* out, const VECTOR3* axis, float angle);
