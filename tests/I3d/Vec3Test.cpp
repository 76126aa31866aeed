// Vector helpers: headings, angles, fast normalisation, points, splines, random directions.
#include "I3d/Math/Vec3.h"
#include "engine/Random.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

TEST(Vec3, HeadingMatchesAtan2WithTheGamesConstants) {
    VECTOR3 v[] = {{0, 0, 1}, {1, 0, 0}, {0, 0, -1}, {0, 0, 0}};
    EXPECT_EQ(Vec3Heading(&v[0]), 0.0f);
    EXPECT_EQ(Vec3Heading(&v[1]), 1.570796f);
    EXPECT_EQ(Vec3Heading(&v[2]), -3.141592f);
    EXPECT_EQ(Vec3Heading(&v[3]), -1.570796f) << "the zero vector's heading is fixed";
    for (int i = -180; i < 180; ++i) {
        float a = (float)i * 0.0174533f;
        VECTOR3 d = {3.0f * std::sin(a), 0.5f, 3.0f * std::cos(a)};
        EXPECT_NEAR(Vec3Heading(&d), std::atan2(d.x, d.z), 2e-6f) << "degree " << i;
    }
}

TEST(Vec3, DirToYawPitchIsDefinedEverywhere) {
    VECTOR3 o = {1, 2, 3};
    float yaw = -9, pitch = -9;
    VECTOR3 up = {1, 7, 3};
    EXPECT_EQ(Vec3DirToYawPitch(&o, &up, &yaw, &pitch), 0);
    EXPECT_EQ(pitch, std::bit_cast<float>(0x3FC90FD8u)) << "straight up keeps a positive pitch";
    EXPECT_EQ(yaw, 0.0f) << "a vertical direction has no yaw: 0, not a division by zero";

    VECTOR3 down = {1, -5, 3};
    Vec3DirToYawPitch(&o, &down, &yaw, &pitch);
    EXPECT_EQ(yaw, 0.0f);
    EXPECT_FALSE(std::isnan(pitch));

    Vec3DirToYawPitch(&o, &o, &yaw, &pitch);
    EXPECT_EQ(yaw, 0.0f) << "coinciding points";
    EXPECT_EQ(pitch, 0.0f) << "coinciding points";

    VECTOR3 tilt = {1, 2.1f, 13};
    Vec3DirToYawPitch(&o, &tilt, &yaw, &pitch);
    EXPECT_EQ(yaw, 0.0f);
    EXPECT_LT(pitch, 0.0f) << "looking up gives a negative pitch";
    EXPECT_NEAR(pitch, -std::atan(0.01f), 1e-4f);

    VECTOR3 back = {1, 2, -7}, left = {-9, 2, 3};
    Vec3DirToYawPitch(&o, &back, &yaw, &pitch);
    EXPECT_EQ(yaw, 3.141592f);
    Vec3DirToYawPitch(&o, &left, &yaw, &pitch);
    EXPECT_NEAR(yaw, -1.570796f, 1e-6f);
}

TEST(Vec3, FastInverseSquareRootStaysWithinItsError) {
    for (float x = 1e-6f; x <= 1e6f; x *= 1.07f) {
        float exact = 1.0f / std::sqrt(x);
        ASSERT_NEAR(InvSqrtFast(x) / exact, 1.0f, 0.002f) << "x = " << x;
    }
    VECTOR3 v = {3, 0, 4};
    Vec3NormalizeFast(&v);
    EXPECT_NEAR(v.x, 0.6f, 0.6f * 0.002f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_NEAR(v.z, 0.8f, 0.8f * 0.002f);
    VECTOR3 zero = {0, 0, 0};
    Vec3NormalizeFast(&zero);
    EXPECT_TRUE(zero.x == 0 && zero.y == 0 && zero.z == 0) << "a zero vector must stay zero";
    Vec3SetLengthFast(&v, 5.0f);
    EXPECT_NEAR(std::sqrt(v.x * v.x + v.z * v.z), 5.0f, 0.02f);
    // A negative argument is a caller's bug: any value, but no signed overflow (UBSan aborts).
    volatile float neg = InvSqrtFast(-4.0f);
    (void)neg;
    EXPECT_TRUE(std::isnan(InvSqrtFast(NAN)));
}

TEST(Vec3, DistancesAndSpherePoints) {
    VECTOR3 a = {1, 2, 3}, b = {4, 6, 3};
    EXPECT_EQ(Vec3DistSq(&a, &b), 25.0f);
    EXPECT_EQ(Vec3Dist(&a, &b), 5.0f);
    EXPECT_EQ(Vec3DistSqXZ(&a, &b), 9.0f);
    VECTOR3 c = {1, 1, 1}, p;
    Vec3PointOnSphere(&p, &c, 0.0f, 0.0f, 2.0f);
    EXPECT_FLOAT_EQ(p.x, 3.0f);
    EXPECT_FLOAT_EQ(p.y, 1.0f);
    EXPECT_FLOAT_EQ(p.z, 1.0f);
    Vec3PointOnSphere(&c, &c, 1.570796f, 0.0f, 2.0f); // out aliasing the centre
    EXPECT_NEAR(c.x, 1.0f, 1e-5f);
    EXPECT_NEAR(c.z, 3.0f, 1e-5f);
}

TEST(Vec3, CatmullRomPassesThroughItsInnerPoints) {
    VECTOR3 p0 = {-1, 5, 2}, p1 = {0, 0, 0}, p2 = {3, 1, -2}, p3 = {7, 7, 7}, out;
    Vec3CatmullRom(&out, &p0, &p1, &p2, &p3, 0.0f);
    EXPECT_TRUE(out.x == p1.x && out.y == p1.y && out.z == p1.z);
    Vec3CatmullRom(&out, &p0, &p1, &p2, &p3, 1.0f);
    EXPECT_FLOAT_EQ(out.x, p2.x);
    EXPECT_FLOAT_EQ(out.y, p2.y);
    EXPECT_FLOAT_EQ(out.z, p2.z);
    // Evenly spaced collinear points give the straight line, evenly parameterised.
    VECTOR3 q[4] = {{0, 0, 0}, {1, 2, 3}, {2, 4, 6}, {3, 6, 9}};
    for (float s = 0.0f; s <= 1.0f; s += 0.125f) {
        Vec3CatmullRom(&out, &q[0], &q[1], &q[2], &q[3], s);
        EXPECT_FLOAT_EQ(out.x, 1.0f + s);
        EXPECT_FLOAT_EQ(out.y, 2.0f + 2.0f * s);
        EXPECT_FLOAT_EQ(out.z, 3.0f + 3.0f * s);
    }
}

TEST(Vec3, RandomInConeIsRepeatableAndUnit) {
    VECTOR3 axis = {0, 0, 4}, out;
    Vec3RandomInCone(&out, &axis, 0.0f);
    EXPECT_NEAR(out.z, 1.0f, 0.002f) << "angle 0 gives the normalised axis";
    EXPECT_EQ(out.x, 0.0f);
    axis = {0, 0, 1};
    VECTOR3 first[20], again;
    CrtSrand(99);
    for (VECTOR3& v : first)
        Vec3RandomInCone(&v, &axis, 0.6f);
    CrtSrand(99);
    for (const VECTOR3& v : first) {
        Vec3RandomInCone(&again, &axis, 0.6f);
        EXPECT_TRUE(again.x == v.x && again.y == v.y && again.z == v.z) << "same seed, same cone";
        EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 1.0f, 0.002f);
        EXPECT_GT(v.z, std::cos(0.6f) - 0.005f) << "strayed out of the cone";
    }
}
