// The pick ray on the plain CPU: its start and direction through the view, and its refusals.
#include "I3d/Math/Pick.h"
#include "I3d/Math/Mat4Math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Pick, TheCentreRayStartsAheadOfTheEyeAndTheCornersFollowTheView) {
    VECTOR3 o{}, d{};
    ASSERT_EQ(PickRay(0.5f, -1.0f, &o, &d), 1) << "before any camera: a finite forward ray";
    EXPECT_EQ(d.z, 1.0f);
    const VECTOR3 eye{3, 4, -5}, at{-1, 2, 7}, up{0, 1, 0};
    Mat4 view;
    PickSetCamera(Mat4LookAt(&view, &eye, &at, &up));
    PickSetFov(1.04718f);
    PickSetAspect(800, 600);
    PickSetAspect(800, 0); // ignored
    ASSERT_EQ(PickRay(0, 0, &o, &d), 1);
    const float fwd[3] = {view.m[2], view.m[6], view.m[10]};
    const float got[6] = {o.x, o.y, o.z, d.x, d.y, d.z};
    const float want[6] = {eye.x + 0.2f * fwd[0],
                           eye.y + 0.2f * fwd[1],
                           eye.z + 0.2f * fwd[2],
                           fwd[0],
                           fwd[1],
                           fwd[2]};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(got[i], want[i], 1e-5f) << i;
    ASSERT_EQ(PickRay(1, 1, &o, &d), 1);
    VECTOR3 local;
    Mat4XformVector(&d, &view, &local);
    EXPECT_NEAR(local.y / local.z, std::tan(1.04718f / 2), 1e-5f);
    EXPECT_NEAR(local.x / local.z, std::tan(1.04718f / 2) * 800 / 600, 1e-5f);

    const VECTOR3 o0 = o, d0 = d;
    for (float x : {1.5f, -1.0001f, std::nanf("")})
        EXPECT_TRUE(PickRay(x, 0, &o, &d) == 0 && PickRay(0, x, &o, &d) == 0) << x;
    EXPECT_TRUE(o.x == o0.x && d.z == d0.z) << "a refused point wrote the outputs";
}

} // namespace
