// Matrix functions: rotations against their written-out matrices, products, rigid inverse,
// headings, and the view and projection matrices the render layer relies on.
#include "I3d/Math/Mat4Math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
Mat4 Ident() {
    Mat4 m = {};
    m.m[0] = m.m[5] = m.m[10] = m.m[15] = 1.0f;
    return m;
}
Mat4 Rows(VECTOR3 r0, VECTOR3 r1, VECTOR3 r2) {
    return {{r0.x, r0.y, r0.z, 0, r1.x, r1.y, r1.z, 0, r2.x, r2.y, r2.z, 0, 0, 0, 0, 1}};
}
Mat4 RotX(float a) {
    float c = std::cos(a), s = std::sin(a);
    return Rows({1, 0, 0}, {0, c, s}, {0, -s, c});
}
Mat4 RotY(float a) {
    float c = std::cos(a), s = std::sin(a);
    return Rows({c, 0, -s}, {0, 1, 0}, {s, 0, c});
}
Mat4 RotZ(float a) {
    float c = std::cos(a), s = std::sin(a);
    return Rows({c, s, 0}, {-s, c, 0}, {0, 0, 1});
}
void ExpectMatNear(const Mat4& a, const Mat4& b, float tol, const char* why) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(a.m[i], b.m[i], tol) << why << " (element " << i << ")";
}
// A matrix with no zero and no symmetry, so swapped indices show.
Mat4 Odd() {
    Mat4 m;
    for (int i = 0; i < 16; ++i)
        m.m[i] = 0.5f + (float)((i * 7) % 16) * 0.25f;
    return m;
}
} // namespace

TEST(Mat4Math, RotationsInPlaceEqualTheProductWithTheirMatrix) {
    Mat4 m = Ident();
    VECTOR3 p = {1, 0, 0}, out;
    Mat4XformPoint(&p, Mat4RotateY(&m, 1.5707963f), &out);
    EXPECT_NEAR(out.x, 0.0f, 1e-6f);
    EXPECT_NEAR(out.z, -1.0f, 1e-6f) << "RotY(pi/2) must turn +x into -z (left-handed)";

    const Mat4 base = Odd();
    Mat4 (*build[3])(float) = {RotX, RotY, RotZ};
    Mat4* (*inPlace[3])(Mat4*, float) = {Mat4RotateX, Mat4RotateY, Mat4RotateZ};
    for (int k = 0; k < 3; ++k) {
        Mat4 got = base, rot = build[k](0.8f), want;
        inPlace[k](&got, 0.8f);
        Mat4Mul(&base, &rot, &want);
        ExpectMatNear(got, want, 1e-5f, "in-place rotation differs from m x Rot");
    }
    Mat4 euler, want, t;
    Mat4FromEuler(&euler, 0.3f, -1.1f, 2.0f);
    Mat4 rx = RotX(-1.1f), rz = RotZ(0.3f), ry = RotY(2.0f);
    Mat4Mul(Mat4Mul(&rx, &rz, &t), &ry, &want);
    ExpectMatNear(euler, want, 1e-6f, "Euler order must be X, then Z, then Y");
}

TEST(Mat4Math, ProductsAndTransforms) {
    Mat4 trans = Ident(), rot = RotY(0.5f), prod, id = Ident();
    trans.m[12] = 3, trans.m[13] = 4, trans.m[14] = 5;
    Mat4Mul(&trans, &rot, &prod);
    VECTOR3 t = {3, 4, 5}, rotated;
    Mat4XformVector(&t, &rot, &rotated);
    EXPECT_FLOAT_EQ(prod.m[12], rotated.x) << "the rotation must turn the translation too";
    EXPECT_FLOAT_EQ(prod.m[14], rotated.z);

    const Mat4 odd = Odd();
    Mat4 left, right;
    Mat4Mul(&id, &odd, &left);
    Mat4Mul(&odd, &id, &right);
    ExpectMatNear(left, odd, 0.0f, "identity on the left changed the product");
    ExpectMatNear(right, odd, 0.0f, "identity on the right changed the product");

    Mat4 a = odd, b = RotZ(0.4f), want;
    Mat4Mul(&a, &b, &want);
    Mat4Mul(&a, &b, &a);
    ExpectMatNear(a, want, 0.0f, "out aliasing a");
    a = odd;
    Mat4Mul(&a, &b, &b);
    ExpectMatNear(b, want, 0.0f, "out aliasing b");
}

TEST(Mat4Math, RigidInverseIdentityAndHeading) {
    Mat4 m = RotY(0.7f), inv, prod;
    m.m[12] = 3, m.m[13] = 4, m.m[14] = 5;
    Mat4InverseRigid(&m, &inv);
    ExpectMatNear(*Mat4Mul(&m, &inv, &prod), Ident(), 1e-6f, "m x inverse(m)");
    Mat4InverseRigid(&m, &m);
    ExpectMatNear(m, inv, 0.0f, "inverting in place");

    Mat4 id;
    for (float& e : id.m)
        e = NAN;
    EXPECT_EQ(Mat4Identity(&id), &id);
    ExpectMatNear(id, Ident(), 0.0f, "Mat4Identity must write all 16 elements");
    EXPECT_EQ(Mat4IsIdentity(&id), 1);
    id.m[4] = -0.0f;
    EXPECT_EQ(Mat4IsIdentity(&id), 1) << "-0.0 off the diagonal counts as zero";
    id.m[12] = 1e-7f;
    EXPECT_EQ(Mat4IsIdentity(&id), 0);

    id = Ident();
    EXPECT_EQ(Mat4Heading(&id), 0.0f);
    for (float a : {0.4f, 2.5f, -0.5f, -3.0f}) {
        Mat4 r = RotY(a);
        float want = a < 0 ? a + 6.2831853f : a;
        EXPECT_NEAR(Mat4Heading(&r), want, 2e-6f) << "angle " << a;
    }
    Mat4 vertical = RotX(1.5707964f);
    vertical.m[8] = vertical.m[10] = 0.0f;
    EXPECT_EQ(Mat4Heading(&vertical), 0.0f) << "a vertical Z axis must give 0, not NaN";
}

TEST(Mat4Math, Projections) {
    Mat4 p;
    Mat4Perspective(&p, 1.5707963f, 0.75f, 0.1f, 2000.0f);
    float q = 2000.0f / 1999.9f;
    EXPECT_FLOAT_EQ(p.m[0], 0.75f);
    EXPECT_FLOAT_EQ(p.m[5], 1.0f);
    EXPECT_FLOAT_EQ(p.m[10], q);
    EXPECT_EQ(p.m[11], 1.0f);
    EXPECT_FLOAT_EQ(p.m[14], -q * 0.1f);
    EXPECT_EQ(p.m[15], 0.0f);

    Mat4 o;
    Mat4OrthoScreen(&o, 1024, 768);
    VECTOR3 tl = {0, 0, 0.5f}, br = {1024, 768, 0.5f}, out;
    Mat4XformPoint(&tl, &o, &out);
    EXPECT_TRUE(out.x == -1 && out.y == 1 && out.z == 0.5f) << "pixel (0,0) is the top left";
    Mat4XformPoint(&br, &o, &out);
    EXPECT_FLOAT_EQ(out.x, 1.0f);
    EXPECT_FLOAT_EQ(out.y, -1.0f);
}

TEST(Mat4Math, LookAtBuildsAViewFrameEvenWhenDegenerate) {
    VECTOR3 eye = {0, 0, -10}, at = {0, 0, 0}, up = {0, 1, 0};
    Mat4 v;
    Mat4LookAt(&v, &eye, &at, &up);
    Mat4 want = Ident();
    want.m[14] = 10;
    ExpectMatNear(v, want, 1e-6f, "looking down +z from (0,0,-10)");

    Mat4LookAt(&v, &eye, &eye, &up);
    want.m[14] = 10; // identity rotation, translation -eye
    ExpectMatNear(v, want, 0.0f, "eye = target");

    // Up along the view: looking straight down, and along z with up z.
    VECTOR3 above = {2, 50, 3}, below = {2, 0, 3}, zup = {0, 0, 1}, zat = {0, 0, 5};
    VECTOR3 cases[][3] = {{above, below, up}, {eye, zat, zup}, {above, below, {0, 0, 0}}};
    for (auto& c : cases) {
        Mat4LookAt(&v, &c[0], &c[1], &c[2]);
        VECTOR3 local;
        Mat4XformPoint(&c[1], &v, &local);
        EXPECT_NEAR(local.x, 0.0f, 1e-4f) << "the target must lie straight ahead";
        EXPECT_NEAR(local.y, 0.0f, 1e-4f);
        EXPECT_GT(local.z, 0.0f);
        for (float e : v.m)
            ASSERT_FALSE(std::isnan(e)) << "NaN would reach the device";
        Mat4 inv, prod;
        Mat4Mul(&v, Mat4InverseRigid(&v, &inv), &prod);
        ExpectMatNear(prod, Ident(), 1e-5f, "the view frame must be orthonormal");
    }
}
