// The model library's maths: vectors, matrices, rotations, quaternions and measures.
#include "gi/giMath.h"

#include "engine/Random.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
constexpr float kPi = 3.14159265358979f;

float Rand(float lo, float hi) {
    return RandFloatRange(lo, hi);
}

giQuat RandomUnitQuat() {
    giQuat q{Rand(-1, 1), Rand(-1, 1), Rand(-1, 1), Rand(-1, 1)};
    float len = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    return {q.x / len, q.y / len, q.z / len, q.w / len};
}

giMat44 RandomAffine() {
    giMat44 m = giMatrixRotationAxis({Rand(-1, 1), Rand(-1, 1), Rand(-1, 1)}, Rand(-kPi, kPi));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            m.m[r][c] *= Rand(0.5f, 2.0f); // scaled and sheared
    m.m[3][0] = Rand(-10, 10);
    m.m[3][1] = Rand(-10, 10);
    m.m[3][2] = Rand(-10, 10);
    return m;
}

void ExpectNear(const giMat44& a, const giMat44& b, float eps, const char* why) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            ASSERT_NEAR(a.m[r][c], b.m[r][c], eps) << why << " at [" << r << "][" << c << "]";
}
} // namespace

TEST(giMath, VectorsNormaliseAndMeasure) {
    giVec3 v(3, 0, 4);
    v.Normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
    giVec3 zero;
    zero.Normalize();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_FALSE(std::isnan(zero.y)) << "a zero vector must not become NaN";
    giVec2 w(0, 0);
    w.Normalize();
    EXPECT_EQ(w.Length(), 0.0f);

    giVec3 c = giVec3(1, 0, 0).Cross(giVec3(0, 1, 0));
    EXPECT_EQ(c.z, 1.0f);
    EXPECT_FLOAT_EQ(giDistance({1, 2, 3}, {4, 6, 3}), 5.0f);
    EXPECT_FLOAT_EQ(giDistanceXZ({0, 7, 0}, {3, -9, 4}), 5.0f) << "height does not count";
    EXPECT_NEAR(giSquareMetresToAcres(10000), 2.47105f, 1e-4f);
    EXPECT_NEAR(giAcresToSquareMetres(giSquareMetresToAcres(10000)), 10000.0f, 0.05f);
    EXPECT_FLOAT_EQ(giTriangleArea({0, 0, 0}, {2, 0, 0}, {0, 3, 0}), 3.0f);
    float lo, hi;
    giTriangleProject({0, 1, 0}, {0, 5, 0}, {1, -2, 0}, {0, 1, 9}, &lo, &hi);
    EXPECT_EQ(lo, -2.0f);
    EXPECT_EQ(hi, 5.0f);
}

TEST(giMath, RayAgainstTriangleIsOneSided) {
    float t = 0, u = 0, v = 0;
    ASSERT_EQ(giRayTriangle({0, 0, -1}, {0, 0, 1}, {-1, -1, 0}, {0, 1, 0}, {1, -1, 0}, &t, &u, &v),
              1);
    EXPECT_FLOAT_EQ(t, 1.0f);
    EXPECT_FLOAT_EQ(u, 0.5f);
    EXPECT_FLOAT_EQ(v, 0.25f);
    EXPECT_EQ(giRayTriangle({0, 0, -1}, {0, 0, 1}, {-1, -1, 0}, {1, -1, 0}, {0, 1, 0}, &t, &u, &v),
              0)
        << "the triangle seen from behind";
    EXPECT_EQ(giRayTriangle({5, 0, -1}, {0, 0, 1}, {-1, -1, 0}, {0, 1, 0}, {1, -1, 0}, &t, &u, &v),
              0);
}

TEST(giMath, MatrixToAngles) {
    giMat44 id = giMat44::Identity();
    float x = 1, y = 1, z = 1;
    giMatrixToAngles(id, &x, &y, &z);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);
    EXPECT_EQ(z, 0.0f);

    giMat44 lock = giMat44::Identity();
    lock.m[0][2] = 1.0000001f;
    giMatrixToAngles(lock, &x, &y, &z);
    EXPECT_EQ(lock.m[0][2], 1.0f) << "clamped in the matrix itself";
    EXPECT_FLOAT_EQ(y, -kPi / 2);
    EXPECT_EQ(x, 0.0f) << "gimbal lock puts the whole turn into z";
    EXPECT_FALSE(std::isnan(z));

    giMat44 ry = giMatrixRotationY(0.3f);
    giMatrixToAngles(ry, &x, &y, &z);
    EXPECT_NEAR(y, 0.3f, 1e-6f);
    EXPECT_NEAR(x, 0.0f, 1e-6f);
}

TEST(giMath, RotationsAgreeWithQuaternionsAndAxes) {
    // The quaternion of a turn about X must give the same matrix as the axis rotation.
    float a = 0.7f;
    giQuat qx{std::sin(a / 2), 0, 0, std::cos(a / 2)};
    ExpectNear(giMatrixRotationQuaternion(qx), giMatrixRotationX(a), 1e-6f, "about X");
    ExpectNear(giMatrixRotationAxis({0, 0, 2}, a), giMatrixRotationZ(a), 1e-6f, "about Z");
    ExpectNear(giMatrixRotationAxis({0, 3, 0}, a), giMatrixRotationY(a), 1e-6f, "about Y");
    giVec3 p = giMatrixRotationZ(kPi / 2).TransformPoint({1, 0, 0});
    EXPECT_NEAR(p.y, 1.0f, 1e-6f) << "row vectors: x turns towards y about z";

    CrtSrand(7);
    for (int i = 0; i < 100; ++i) {
        giQuat q = RandomUnitQuat();
        giQuat back = giQuaternionRotationMatrix(giMatrixRotationQuaternion(q));
        float sign = (q.x * back.x + q.y * back.y + q.z * back.z + q.w * back.w) < 0 ? -1.0f : 1.0f;
        ASSERT_NEAR(back.x * sign, q.x, 1e-5f) << i;
        ASSERT_NEAR(back.y * sign, q.y, 1e-5f) << i;
        ASSERT_NEAR(back.z * sign, q.z, 1e-5f) << i;
        ASSERT_NEAR(back.w * sign, q.w, 1e-5f) << i;
    }
}

TEST(giMath, InverseAndTransforms) {
    CrtSrand(11);
    for (int i = 0; i < 100; ++i) {
        giMat44 m = RandomAffine(), inv;
        ASSERT_TRUE(giMatrixInverse(&inv, m)) << i;
        ExpectNear(m * inv, giMat44::Identity(), 1e-5f, "M x M^-1 must be the identity");
        giVec3 p(Rand(-10, 10), Rand(-10, 10), Rand(-10, 10));
        giVec3 back = giVec3TransformCoord(giVec3TransformCoord(p, m), inv);
        ASSERT_NEAR(back.x, p.x, 1e-3f);
    }
    giMat44 singular = giMat44::Identity();
    singular.m[2][0] = 1; // row 2 becomes row 0
    singular.m[2][2] = 0;
    giMat44 out;
    out.Fill(42.0f);
    EXPECT_FALSE(giMatrixInverse(&out, singular));
    EXPECT_EQ(out.m[1][3], 42.0f) << "a failed inverse leaves the output unchanged";
    giMat44 zeroScale = giMat44::Identity();
    zeroScale.m[1][1] = 0;
    EXPECT_FALSE(giMatrixInverse(&out, zeroScale));

    giMat44 proj = giMat44::Identity();
    proj.m[2][3] = 1; // w = z
    proj.m[3][3] = 0;
    giVec3 c = giVec3TransformCoord({2, 4, 2}, proj);
    EXPECT_FLOAT_EQ(c.x, 1.0f) << "divided by w";
    giMat44 moved = giMatrixRotationZ(kPi / 2);
    moved.m[3][0] = 50;
    giVec3 n = giVec3TransformNormal({1, 0, 0}, moved);
    EXPECT_NEAR(n.x, 0.0f, 1e-6f) << "a normal ignores the translation";
    EXPECT_NEAR(n.y, 1.0f, 1e-6f);

    giMat44 a = RandomAffine(), b = RandomAffine(), ab = a * b;
    giMatrixMultiply(&a, a, b);
    ExpectNear(a, ab, 0, "the product may overwrite its first operand");
    giMat33 r = giMat33::Identity(), s = giMat33::Identity();
    s.m[0][1] = 2;
    giMat33Mul(&r, s, r);
    EXPECT_EQ(r.m[0][1], 2.0f);
}

TEST(giMath, SlerpKeepsEndsAndTakesTheShortArc) {
    CrtSrand(3);
    for (int i = 0; i < 50; ++i) {
        giQuat a = RandomUnitQuat(), b = RandomUnitQuat();
        giQuat s0 = giQuaternionSlerp(a, b, 0), s1 = giQuaternionSlerp(a, b, 1);
        float dot = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
        float sign = dot < 0 ? -1.0f : 1.0f;
        ASSERT_NEAR(s0.w, a.w, 1e-5f);
        ASSERT_NEAR(s1.x, sign * b.x, 1e-5f) << "the end is b, or -b when that is nearer";
        ASSERT_NEAR(s1.w, sign * b.w, 1e-5f);
        giQuat mid = giQuaternionSlerp(a, b, 0.5f);
        float len = std::sqrt(mid.x * mid.x + mid.y * mid.y + mid.z * mid.z + mid.w * mid.w);
        ASSERT_NEAR(len, 1.0f, 1e-4f) << "slerp stays on the unit sphere";
    }
    // A quarter turn and a three-quarter turn about y: halfway lies on the short side.
    giQuat q270{0, std::sin(3 * kPi / 4), 0, std::cos(3 * kPi / 4)};
    giQuat idq = giQuaternionIdentity();
    giQuat h = giQuaternionSlerp(idq, q270, 0.5f);
    giMat44 m = giMatrixRotationQuaternion(h);
    float x, y, z;
    giMatrixToAngles(m, &x, &y, &z);
    EXPECT_NEAR(y, -kPi / 4, 1e-5f) << "270 degrees one way is 90 the other: half is -45";
}
