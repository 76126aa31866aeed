// Boxes, slab ray tests, planes and spheres.
#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Geometry, BoxesGrowMergeAndCompare) {
    float box[6];
    VECTOR3 p = {1, 2, 3};
    BoxSetPoint(box, &p);
    VECTOR3 grow[] = {{0, 2, 3}, {1, 5, 3}, {1, 2, -4}, {0.5f, 3, 0}};
    for (const VECTOR3& g : grow)
        BoxAddPoint(box, &g);
    const float want[6] = {0, 2, -4, 1, 5, 3};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(box[i], want[i]) << "each axis grows on its own; an inside point changes nothing";

    VECTOR3 c = {10, 0, 0};
    BoxAddSphere(box, &c, 1.0f);
    EXPECT_EQ(box[3], 11.0f);
    EXPECT_EQ(box[2], -4.0f);
    VECTOR3 centre, size;
    BoxCenter(box, &centre);
    BoxSize(box, &size);
    EXPECT_TRUE(centre.x == 5.5f && size.x == 11.0f && size.z == 7.0f);

    float a[6], b[6], m[6];
    BoxCube(a, 1.0f);
    BoxFromSize(b, 2, 2, 2);
    EXPECT_TRUE(a[0] == b[0] && a[5] == b[5]);
    b[0] += 2, b[3] += 2; // shares the face x = 1
    EXPECT_EQ(BoxOverlap(a, b), 1) << "touching faces overlap";
    b[0] += 0.001f;
    EXPECT_EQ(BoxOverlap(a, b), 0);
    EXPECT_EQ(BoxOverlap(b, a), 0);
    EXPECT_EQ(BoxContainsBox(a, a), 1) << "touching counts as contained";
    std::copy(a, a + 6, m);
    BoxMerge(m, b);
    EXPECT_TRUE(m[0] == -1 && m[3] == 3.0f && m[4] == 1);
    EXPECT_EQ(BoxContainsBox(m, b), 1);
    EXPECT_EQ(BoxContainsBox(a, m), 0);
}

TEST(Geometry, BoxXformBoundsTheTurnedBox) {
    float cube[6];
    BoxCube(cube, 0.5f);
    Mat4 m = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1}};
    Mat4RotateY(&m, 0.78539816f); // rotates the translation too
    BoxXform(cube, &m, cube);     // out aliasing the input
    const float r = std::sqrt(2.0f) * 0.5f;
    VECTOR3 t = {m.m[12], m.m[13], m.m[14]};
    EXPECT_NEAR(cube[0], t.x - r, 1e-5f);
    EXPECT_NEAR(cube[3], t.x + r, 1e-5f);
    EXPECT_NEAR(cube[2], t.z - r, 1e-5f);
    EXPECT_NEAR(cube[5], t.z + r, 1e-5f);
    EXPECT_NEAR(cube[1], 19.5f, 1e-5f);
    EXPECT_NEAR(cube[4], 20.5f, 1e-5f);
}

TEST(Geometry, RaysAgainstBoxes) {
    float box[6];
    BoxCube(box, 1.0f);
    Ray r;
    VECTOR3 o = {0, 0, 0}, d = {1, 0, 0};
    EXPECT_EQ(BoxRayTest(box, RaySet(&r, &o, &d), 0.0f, 100000.0f), 1) << "starting inside";
    o = {3, 0, 0};
    EXPECT_EQ(BoxRayTest(box, RaySet(&r, &o, &d), 0.0f, 100000.0f), 0) << "pointing away";
    o = {-3, 0.5f, 0.5f};
    EXPECT_EQ(BoxRayTest(box, RaySet(&r, &o, &d), 0.0f, 100000.0f), 1);
    EXPECT_EQ(BoxRayTest(box, &r, 0.0f, 1.5f), 0) << "the box lies beyond t1";
    o = {-3, 2, 0};
    EXPECT_EQ(BoxRayTest(box, RaySet(&r, &o, &d), 0.0f, 100000.0f), 0) << "parallel, off the slab";

    // Straight down onto a grid-aligned box, from exactly on its slab planes: 0 x inf.
    d = {0, -1, 0};
    for (VECTOR3 edge : {VECTOR3{1, 5, 1}, VECTOR3{-1, 5, 0}, VECTOR3{0, 5, -1}})
        EXPECT_EQ(BoxRayTest(box, RaySet(&r, &edge, &d), 0.0f, 100000.0f), 1)
            << "a ray on a slab plane must hit, whatever the order of comparisons";
    VECTOR3 off = {1.0001f, 5, 0}, lo = {-1, -1, -1}, hi = {1, 1, 1};
    EXPECT_EQ(RayBoxSlabTest(&off, &d, &lo, &hi, 0.0f, 100000.0f), 0);
    VECTOR3 corner = {1, 5, -1}, negZero = {-0.0f, -1, 0.0f};
    EXPECT_EQ(RayBoxSlabTest(&corner, &negZero, &lo, &hi, 0.0f, 1e5f), 1) << "-0.0 is zero";
    o = {0, 0, 0}, d = {0, 0, 0};
    EXPECT_EQ(BoxRayTest(box, RaySet(&r, &o, &d), 0.0f, 1.0f), 1) << "a still ray inside";
}

TEST(Geometry, SegmentsAgainstBoxes) {
    float box[6];
    BoxCube(box, 1.0f);
    Segment s = {{-5, 0, 0}, {-2, 0, 0}};
    EXPECT_EQ(BoxSegmentTest(box, &s), 0) << "the segment's length is its t1";
    s.end = {-0.5f, 0, 0};
    EXPECT_EQ(BoxSegmentTest(box, &s), 1);
    s.end = s.start;
    EXPECT_EQ(BoxSegmentTest(box, &s), 0) << "a point segment outside";
    s = {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}};
    EXPECT_EQ(BoxSegmentTest(box, &s), 1) << "a point segment inside";
}

TEST(Geometry, PlanesAndSpheres) {
    VECTOR3 o = {0, 10, 0}, down = {0, -1, 0}, up = {0, 1, 0}, n = {0, 1, 0}, hit = {9, 9, 9};
    EXPECT_EQ(RayPlaneIntersect(&o, &down, &n, 0.0f, &hit), 1);
    EXPECT_TRUE(hit.x == 0 && hit.y == 0 && hit.z == 0);
    EXPECT_EQ(RayPlaneIntersect(&o, &up, &n, 0.0f, nullptr), -1);
    VECTOR3 slant = {1, -2, 0};
    EXPECT_EQ(RayPlaneIntersect(&o, &slant, &n, 4.0f, &hit), 1);
    EXPECT_TRUE(hit.x == 3 && hit.y == 4) << "t = -(n.o - d) / n.dir";

    VECTOR3 a = {0, 0, 0}, b = {3, 0, 0};
    EXPECT_EQ(SphereOverlap(&a, 1.0f, &b, 2.0f), 0) << "just touching does not overlap";
    EXPECT_EQ(SphereOverlap(&a, 1.0f, &b, 2.01f), 1);
    EXPECT_EQ(SphereContainsPoint(&b, &a, 3.0f), 1) << "the surface counts";
    EXPECT_EQ(SphereContainsPoint(&b, &a, 2.99f), 0);
}

TEST(Geometry, SegmentSphereUsesTheNearestPointOfTheSegment) {
    VECTOR3 s = {0, 0, 0}, e10 = {10, 0, 0}, e5 = {5, 0, 0};
    VECTOR3 behind = {-5, 0, 0}, ahead = {10, 0, 0}, inside = {0.5f, 0, 0}, side = {5, 1, 0};
    EXPECT_EQ(SegmentSphereTest(&s, &e10, &behind, 1.0f), 0) << "a sphere behind the start";
    EXPECT_EQ(SegmentSphereTest(&s, &e5, &ahead, 6.0f), 1) << "a segment ending inside";
    EXPECT_EQ(SegmentSphereTest(&s, &e5, &ahead, 4.9f), 0) << "a sphere beyond the end";
    EXPECT_EQ(SegmentSphereTest(&s, &e10, &inside, 1.0f), 1) << "starting inside";
    EXPECT_EQ(SegmentSphereTest(&s, &e10, &side, 1.0f), 1) << "tangent to the middle";
    EXPECT_EQ(SegmentSphereTest(&s, &e10, &side, 0.99f), 0);
    EXPECT_EQ(SegmentSphereTest(&s, &s, &inside, 1.0f), 1) << "a point segment";
}
