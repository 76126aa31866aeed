// The terrain's ray and segment tests on a grid of rolling hills, checked against the height
// query, and the start and direction cases that would walk off the grid or never end.
#include "world/TerrainDraw.h"
#include "world/TerrainObj.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class TerrainRays : public ::testing::Test {
  protected:
    void SetUp() override {
        t = TerrainCreate(64, 64);
        ASSERT_NE(t, nullptr);
        for (int z = 0; z <= 64; ++z)
            for (int x = 0; x <= 64; ++x)
                t->heights[z * 65 + x] = 20.0f + 8.0f * std::sin(x * 0.3f) * std::cos(z * 0.2f);
        TerrainDerive(t);
        TerrainSetScale(t, 2.0f);
    }
    void TearDown() override { TerrainFree(t); }

    // A hit lies on the ground the height query reports.
    void ExpectOnGround(const VECTOR3& hit) const {
        EXPECT_NEAR(hit.y, TerrainHeightAt(t, hit.x, hit.z), 1e-3f)
            << "at " << hit.x << ", " << hit.z;
    }

    TerrainObj* t = nullptr;
};

TEST_F(TerrainRays, RaysDownAndAcrossHitTheGroundTheHeightQueryReports) {
    VECTOR3 hit;
    const VECTOR3 above = {40.3f, 100.0f, 70.7f}, down = {0.0f, -1.0f, 0.0f};
    ASSERT_EQ(TerrainRayTest(t, &above, &down, &hit), 1);
    ExpectOnGround(hit);
    EXPECT_FLOAT_EQ(hit.x, 40.3f);

    // From far outside, entering through the side: clipped onto it and walked.
    const VECTOR3 side = {-500.0f, 70.0f, 63.1f}, across = {1.0f, -0.05f, 0.02f};
    ASSERT_EQ(TerrainRayTest(t, &side, &across, &hit), 1);
    ExpectOnGround(hit);
    EXPECT_GT(hit.x, 0.0f);

    // Slanting rays in every direction, dominant x or z, forwards and backwards.
    for (int i = 0; i < 16; ++i) {
        const float a = float(i) * 0.3927f;
        const VECTOR3 o = {64.0f + 50.0f * std::cos(a), 120.0f, 64.0f + 50.0f * std::sin(a)};
        const VECTOR3 d = {-std::cos(a), -1.0f, -std::sin(a)};
        ASSERT_EQ(TerrainRayTest(t, &o, &d, &hit), 1) << "angle " << a;
        ExpectOnGround(hit);
    }
}

TEST_F(TerrainRays, RaysThatMissAnswerZero) {
    VECTOR3 hit;
    const VECTOR3 above = {40.0f, 100.0f, 40.0f}, up = {0.0f, 1.0f, 0.0f};
    EXPECT_EQ(TerrainRayTest(t, &above, &up, &hit), 0);
    const VECTOR3 away = {-500.0f, 40.0f, 40.0f}, back = {-1.0f, 0.0f, 0.0f};
    EXPECT_EQ(TerrainRayTest(t, &away, &back, &hit), 0);
}

// A start under the ground sees no hit behind it, where the line last came out of the ground.
TEST_F(TerrainRays, NoHitBehindTheStart) {
    VECTOR3 hit;
    for (int i = 0; i < 16; ++i) {
        const float a = float(i) * 0.3927f;
        const VECTOR3 o = {64.0f, TerrainHeightAt(t, 64.0f, 64.0f) - 0.5f, 64.0f};
        const VECTOR3 d = {std::cos(a), 0.0f, std::sin(a)};
        if (TerrainRayTest(t, &o, &d, &hit) == 1) {
            EXPECT_GE((hit.x - o.x) * d.x + (hit.z - o.z) * d.z, -1e-3f) << "angle " << a;
            ExpectOnGround(hit);
        }
    }
}

TEST_F(TerrainRays, SegmentsHitWithinTheirLengthAndNotBeyond) {
    VECTOR3 hit;
    const VECTOR3 a = {10.0f, 60.0f, 10.0f}, b = {110.0f, 0.0f, 90.0f};
    ASSERT_EQ(TerrainSegmentTest(t, &a, &b, &hit), 1);
    ExpectOnGround(hit);
    // The same line stopped high above the ground.
    const VECTOR3 shortEnd = {14.0f, 57.6f, 13.2f};
    EXPECT_EQ(TerrainSegmentTest(t, &a, &shortEnd, &hit), 0);
}

TEST_F(TerrainRays, SegmentsStartingOutsideAnswerRowThenColumn) {
    VECTOR3 hit;
    const VECTOR3 end = {60.0f, 0.0f, 60.0f};
    const VECTOR3 southOf = {60.0f, 50.0f, -10.0f}, westOf = {-10.0f, 50.0f, 60.0f};
    const VECTOR3 both = {-10.0f, 50.0f, -10.0f};
    EXPECT_EQ(TerrainSegmentTest(t, &southOf, &end, &hit), -1);
    EXPECT_EQ(TerrainSegmentTest(t, &westOf, &end, &hit), -2);
    EXPECT_EQ(TerrainSegmentTest(t, &both, &end, &hit), -1);
}

// A ray straight up (or a segment of no length) has no step across the grid: the start cell is
// tested and the walk ends.
TEST_F(TerrainRays, VerticalRaysAndEmptySegmentsEnd) {
    VECTOR3 hit;
    const float floor = TerrainHeightAt(t, 50.0f, 50.0f);
    const VECTOR3 o = {50.0f, floor + 0.01f, 50.0f}, up = {0.0f, 1.0f, 0.0f};
    EXPECT_EQ(TerrainRayTest(t, &o, &up, &hit), 0);
    EXPECT_EQ(TerrainSegmentTest(t, &o, &o, &hit), 0);
    const VECTOR3 down = {0.0f, -1.0f, 0.0f};
    ASSERT_EQ(TerrainRayTest(t, &o, &down, &hit), 1);
    ExpectOnGround(hit);
}

// Starts exactly on the far edges read only the last cells (AddressSanitizer watches the
// samples and planes).
TEST_F(TerrainRays, StartsOnTheFarEdgesStayInsideTheGrid) {
    VECTOR3 hit;
    const float far = 128.0f; // 64 cells x 2.0
    const VECTOR3 corner = {far, 60.0f, far};
    const VECTOR3 downIn = {-0.5f, -1.0f, -0.5f}, downOut = {0.5f, -1.0f, 0.5f};
    EXPECT_EQ(TerrainRayTest(t, &corner, &downIn, &hit), 1);
    TerrainRayTest(t, &corner, &downOut, &hit);
    const VECTOR3 edgeX = {far, 60.0f, 30.0f}, edgeZ = {30.0f, 60.0f, far};
    for (const VECTOR3& o : {corner, edgeX, edgeZ}) {
        for (const VECTOR3& d : {VECTOR3{1, -1, 0}, VECTOR3{0, -1, 1}, VECTOR3{-1, -0.2f, 0},
                                 VECTOR3{0, -0.2f, -1}, VECTOR3{0, -1, 0}}) {
            TerrainRayTest(t, &o, &d, &hit);
            const VECTOR3 e = {o.x + 40 * d.x, o.y + 40 * d.y, o.z + 40 * d.z};
            TerrainSegmentTest(t, &o, &e, &hit);
        }
    }
    const VECTOR3 low = {60.0f, 0.0f, 60.0f};
    EXPECT_EQ(TerrainSegmentTest(t, &corner, &low, &hit), 1);
    ExpectOnGround(hit);
}

TEST_F(TerrainRays, BadNumbersAnswerWithoutHanging) {
    VECTOR3 hit;
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const VECTOR3 o = {60.0f, 50.0f, 60.0f};
    for (const VECTOR3& d : {VECTOR3{0, 0, 0}, VECTOR3{nan, -1, 0}, VECTOR3{inf, -1, 0},
                             VECTOR3{0, -inf, 0}, VECTOR3{1e30f, -1e30f, 1e30f}}) {
        const int r = TerrainRayTest(t, &o, &d, &hit);
        EXPECT_TRUE(r == 0 || r == 1) << r;
    }
    for (const VECTOR3& start : {VECTOR3{1e30f, 50, 60}, VECTOR3{-1e30f, 50, -1e30f},
                                 VECTOR3{nan, 50, 60}, VECTOR3{60, 50, inf}}) {
        const VECTOR3 d = {1.0f, -1.0f, 0.3f};
        const int r = TerrainRayTest(t, &start, &d, &hit);
        EXPECT_TRUE(r == 0 || r == -1 || r == -2) << r;
        const int s = TerrainSegmentTest(t, &start, &o, &hit);
        EXPECT_TRUE(s == 0 || s == -1 || s == -2) << s;
    }
}

} // namespace
