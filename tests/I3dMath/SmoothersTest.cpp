// The value smoother and the appear sequence built on it, on the plain CPU.
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
