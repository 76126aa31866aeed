// The model library's own maths: 2D and 3D vectors, 3x3 and 4x4 matrices, rotations,
// quaternions and a few geometric measures. Row vectors (v' = v M), translation in row 3
// (elements 12 to 14), angles in radians, quaternions stored x, y, z, w. Sums and products are
// formed in double and stored as float.
#pragma once

struct giVec2 {
    float x = 0, y = 0;

    giVec2() = default;
    giVec2(float x_, float y_) : x(x_), y(y_) {}
    explicit giVec2(const float* xy) : x(xy[0]), y(xy[1]) {}

    giVec2 operator+(const giVec2& b) const;
    giVec2 operator-(const giVec2& b) const;
    giVec2 operator*(float s) const;
    float Dot(const giVec2& b) const;
    float Length() const;
    // A zero vector stays zero.
    void Normalize();
};

struct giVec3 {
    float x = 0, y = 0, z = 0;

    giVec3() = default;
    giVec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    giVec3 operator+(const giVec3& b) const;
    giVec3 operator-(const giVec3& b) const;
    giVec3 operator*(float s) const;
    giVec3& operator+=(const giVec3& b);
    float Dot(const giVec3& b) const;
    // (y bz - z by, z bx - x bz, x by - y bx)
    giVec3 Cross(const giVec3& b) const;
    float Length() const;
    float LengthSq() const;
    // A zero vector stays zero.
    void Normalize();
};

float giDistance(const giVec3& a, const giVec3& b);
// In the ground plane (x and z; y is up).
float giDistanceXZ(const giVec3& a, const giVec3& b);

struct giQuat {
    float x = 0, y = 0, z = 0, w = 1;
};

struct giMat44 {
    float m[4][4] = {};

    giMat44() = default;
    giMat44(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13,
            float m20, float m21, float m22, float m23, float m30, float m31, float m32, float m33);
    static giMat44 Identity();
    void Fill(float v);

    giMat44 operator+(const giMat44& b) const;
    giMat44 operator-(const giMat44& b) const;
    giMat44 operator*(float s) const;
    giMat44 operator-() const;
    // this x b: this applies first.
    giMat44 operator*(const giMat44& b) const;
    // With the translation (w taken as 1, no division).
    giVec3 TransformPoint(const giVec3& p) const;
    // Without the translation.
    giVec3 TransformDirection(const giVec3& d) const;
};

// A rotation in three rows of four floats; the fourth of each row is not used by the products.
struct giMat33 {
    float m[3][4] = {};
    static giMat33 Identity();
};
// out = a x b; out may be a or b.
void giMat33Mul(giMat33* out, const giMat33& a, const giMat33& b);

giMat44 giMatrixRotationX(float angle);
giMat44 giMatrixRotationY(float angle);
giMat44 giMatrixRotationZ(float angle);
// The axis need not be unit length; a zero axis gives the identity.
giMat44 giMatrixRotationAxis(const giVec3& axis, float angle);
// Angles x, y, z of a rotation matrix. m[0][2] is first clamped into [-1, 1] in the matrix
// itself; near y = +-pi/2 (gimbal lock) x is 0 and z carries the whole turn.
void giMatrixToAngles(giMat44& m, float* x, float* y, float* z);

// out = a x b; out may be a or b.
void giMatrixMultiply(giMat44* out, const giMat44& a, const giMat44& b);
// General inverse. A singular matrix gives false and leaves *out as it was.
bool giMatrixInverse(giMat44* out, const giMat44& m);
// The point through the full matrix, divided by the resulting w (a w of 0 divides nothing).
giVec3 giVec3TransformCoord(const giVec3& v, const giMat44& m);
// The direction through the 3x3 part only.
giVec3 giVec3TransformNormal(const giVec3& v, const giMat44& m);

giQuat giQuaternionIdentity();
// The rotation matrix of a unit quaternion (no translation).
giMat44 giMatrixRotationQuaternion(const giQuat& q);
// The quaternion of the rotation part of a matrix (its inverse for rotations).
giQuat giQuaternionRotationMatrix(const giMat44& m);
// Spherical interpolation along the shortest arc: b is taken negated when that is nearer to a.
giQuat giQuaternionSlerp(const giQuat& a, const giQuat& b, float t);
// The part of a slerp from a to b that does not depend on t: the angle between them, its sine,
// and the way round. An animation keeps one per pair of keys, so that posing a frame costs two
// sines and not also an arc cosine.
struct giSlerpArc {
    double omega = 0;
    double sinom = 0;
    double sign = 1;
    bool straight = true; // nearly equal: a straight blend
};
giSlerpArc giQuaternionSlerpArc(const giQuat& a, const giQuat& b);
// giQuaternionSlerp(a, b, t) to the last bit, with arc = giQuaternionSlerpArc(a, b).
giQuat giQuaternionSlerpAlong(const giQuat& a, const giQuat& b, const giSlerpArc& arc, float t);

// Half the length of (p2 - p0) x (p1 - p0).
float giTriangleArea(const giVec3& p0, const giVec3& p1, const giVec3& p2);
// One-sided ray test: 1 with the distance t and barycentrics u, v on a hit, 0 on a miss (also
// for a triangle seen from behind).
int giRayTriangle(const giVec3& origin, const giVec3& dir, const giVec3& p0, const giVec3& p1,
                  const giVec3& p2, float* t, float* u, float* v);
// The smallest and largest projection of the corners on an axis (separating-axis tests).
void giTriangleProject(const giVec3& axis, const giVec3& p0, const giVec3& p1, const giVec3& p2,
                       float* lo, float* hi);
float giSquareMetresToAcres(float sqm);
float giAcresToSquareMetres(float acres);
