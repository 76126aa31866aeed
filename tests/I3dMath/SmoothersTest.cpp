// The value smoother and the appear sequence built on it, on the plain CPU.
#include "I3d/Math/SmoothVector3.h"
#include "I3d/Math/XformAnim.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(SmoothFloat, ApproachesItsTargetWithoutOvershootingAndSnapsWithoutATime) {
    SmoothFloat s;
    s.time = 0.5f;
    s.target = 1.0f;
    for (int i = 0; i < 10000; ++i) {
        s.Update(0.016f);
        ASSERT_LE(s.value, 1.0f) << "step " << i << ": a critically damped value passed its target";
    }
    EXPECT_NEAR(s.value, 1.0f, 1e-6f);
    for (float time : {0.0f, -1.0f, std::nanf("")}) {
        SmoothFloat z;
        z.time = time;
        z.target = 3.0f;
        z.Update(0.016f);
        EXPECT_EQ(z.value, 3.0f) << "time " << time << " would divide by zero or worse";
    }
}

// With dt = 1/64 every timer is exact: the squash ends 33 updates after the first, the turn
// 161 later, the settle 49 later.
TEST(XformAnimSeq, FinishesAtUpdate244WhenTheTurnSnapsBack) {
    XformAnimSeq anim;
    anim.Update(0.0f);
    EXPECT_EQ(anim.state, 0) << "a zero step must not take the timer below 0";
    for (int round = 0; round < 2; ++round) {
        int doneAt = 0;
        for (int i = 1; i <= 400 && !doneAt; ++i) {
            anim.Update(1.0f / 64.0f);
            if (anim.IsDone()) doneAt = i;
        }
        EXPECT_EQ(doneAt, 244) << (round ? "after Reset" : "first run");
        EXPECT_EQ(anim.GetMatrix()->m[2], 0.0f) << "the turn snaps back as the sequence ends";
        EXPECT_EQ(anim.GetMatrix()->m[8], 0.0f);
        anim.Reset();
    }
}

} // namespace

// ---- SmoothVector3 ----

TEST(SmoothVector3, TwoStepsMatchTheHandComputedSpring) {
    SmoothVector3 s;
    s.time = 0.1f;
    s.target = VECTOR3{1.0f, -2.0f, 0.0f};
    s.Update(0.016f);
    // omega 20, x 0.32, k 0.7262942: value 1 - 1.32 k, velocity 6.4 k.
    EXPECT_NEAR(s.value.x, 0.0412916f, 1e-6f);
    EXPECT_NEAR(s.velocity.x, 4.6482830f, 1e-5f);
    EXPECT_NEAR(s.value.y, -2.0f * 0.0412916f, 2e-6f) << "components step apart, each by its own";
    EXPECT_EQ(s.value.z, 0.0f);
    s.Update(0.016f);
    EXPECT_NEAR(s.value.x, 0.1348946f, 1e-6f);
    EXPECT_NEAR(s.velocity.x, 6.7520422f, 1e-5f);
}

TEST(SmoothVector3, SettlesInHalfASecondWithoutOvershootAndIgnoresEmptyOrHugeSteps) {
    SmoothVector3 s;
    s.time = 0.1f;
    s.target = VECTOR3{1.0f, 1.0f, 1.0f};
    for (int i = 0; i < 31; ++i) { // 0.496 s
        s.Update(0.016f);
        ASSERT_LE(s.value.x, 1.0f + 1e-3f) << "step " << i << " overshot";
    }
    EXPECT_NEAR(s.value.x, 1.0f, 1e-3f) << "the camera would still be gliding after half a second";

    const VECTOR3 before = s.value;
    s.target = VECTOR3{5.0f, 5.0f, 5.0f};
    s.Update(0.0f);
    s.Update(std::nanf(""));
    EXPECT_EQ(before.x, s.value.x) << "a paused frame moved the value";

    SmoothVector3 stall;
    stall.time = 0.1f;
    stall.target = VECTOR3{1.0f, 0.0f, 0.0f};
    stall.Update(5.0f);
    EXPECT_TRUE(std::isfinite(stall.value.x) && std::isfinite(stall.velocity.x));
    EXPECT_NEAR(stall.value.x, 1.0f, 1e-3f) << "a 5-second frame must land, not fling the view";
    stall.Update(5.0f);
    EXPECT_NEAR(stall.value.x, 1.0f, 1e-3f);
}
