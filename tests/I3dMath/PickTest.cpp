// The pick ray on the plain CPU: its start, its direction through the view and its refusals.
#include "I3d/Math/Pick.h"
#include "I3d/Math/Mat4Math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(Pick, BeforeAnyCameraTheRayIsAFiniteForwardRay) {
    EXPECT_EQ(Mat4IsIdentity(PickGetCamera()), 1);
    VECTOR3 o{}, d{};
    ASSERT_EQ(PickRay(0.5f, -1.0f, &o, &d), 1);
    EXPECT_EQ(o.x, 0.0f);
    EXPECT_EQ(o.z, 0.2f);
    EXPECT_EQ(d.z, 1.0f) << "fov 0 looks straight ahead, never NaN";
}

TEST(Pick, TheCentreRayStartsAheadOfTheEyeAlongForward) {
    const VECTOR3 eye{3, 4, -5}, at{-1, 2, 7}, up{0, 1, 0};
    Mat4 view;
    PickSetCamera(Mat4LookAt(&view, &eye, &at, &up));
    PickSetFov(1.04718f);
    PickSetAspect(800, 600);
    VECTOR3 o{}, d{};
    ASSERT_EQ(PickRay(0, 0, &o, &d), 1);
    const VECTOR3 fwd{view.m[2], view.m[6], view.m[10]}; // the view's third column
    EXPECT_NEAR(o.x, eye.x + 0.2f * fwd.x, 1e-5f);
    EXPECT_NEAR(o.y, eye.y + 0.2f * fwd.y, 1e-5f);
    EXPECT_NEAR(o.z, eye.z + 0.2f * fwd.z, 1e-5f);
    EXPECT_NEAR(d.x, fwd.x, 1e-5f);
    EXPECT_NEAR(d.y, fwd.y, 1e-5f);
    EXPECT_NEAR(d.z, fwd.z, 1e-5f);

    // The corner ray leaves at the field of view's half angle and the aspect's width.
    ASSERT_EQ(PickRay(1, 1, &o, &d), 1);
    VECTOR3 local;
    Mat4XformVector(&d, &view, &local);
    const float t = std::tan(1.04718f / 2);
    EXPECT_NEAR(local.y / local.z, t, 1e-5f);
    EXPECT_NEAR(local.x / local.z, t * 800 / 600, 1e-5f);
}

TEST(Pick, PointsOffTheScreenLeaveTheOutputsAlone) {
    PickSetAspect(800, 0);
    PickSetAspect(kNaN, 2);
    PickSetAspect(-3, 2);
    VECTOR3 o{7, 7, 7}, d{9, 9, 9};
    for (float x : {1.5f, -1.0001f, kNaN}) {
        EXPECT_EQ(PickRay(x, 0, &o, &d), 0) << x;
        EXPECT_EQ(PickRay(0, x, &o, &d), 0) << x;
    }
    EXPECT_EQ(o.x, 7.0f);
    EXPECT_EQ(d.z, 9.0f);
    PickSetFov(1.0f);
    ASSERT_EQ(PickRay(1, 0, &o, &d), 1);
    EXPECT_NEAR(d.x / d.z, std::tan(0.5f), 1e-5f) << "refused aspects left 1.0 in place";
}

} // namespace
