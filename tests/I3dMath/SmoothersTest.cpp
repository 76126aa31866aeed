// The value smoother and the appear sequence built on it, on the plain CPU.
#include "I3d/Math/XformAnim.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(SmoothFloat, ApproachesItsTargetWithoutOvershooting) {
    SmoothFloat s;
    s.time = 0.5f;
    s.target = 1.0f;
    float last = s.value;
    for (int i = 0; i < 10000; ++i) {
        s.Update(0.016f);
        ASSERT_LE(s.value, 1.0f) << "step " << i << ": a critically damped value passed its target";
        ASSERT_GE(s.value, last) << "step " << i << ": the value turned back";
        last = s.value;
    }
    EXPECT_NEAR(s.value, 1.0f, 1e-6f);
    s.Update(0.0f);
    s.Update(-1.0f);
    EXPECT_NEAR(s.value, 1.0f, 1e-6f) << "an empty or backward step moves nothing";
}

TEST(SmoothFloat, SetImmediateStopsAndANonPositiveTimeSnaps) {
    SmoothFloat s;
    s.target = 5.0f;
    s.Update(0.1f);
    ASSERT_GT(s.velocity, 0.0f);
    s.SetImmediate(2.0f);
    EXPECT_EQ(s.value, 2.0f);
    EXPECT_EQ(s.target, 2.0f);
    EXPECT_EQ(s.velocity, 0.0f) << "a jump must not keep the old motion";

    for (float time : {0.0f, -1.0f, std::nanf("")}) {
        SmoothFloat z;
        z.time = time;
        z.target = 3.0f;
        z.Update(0.016f);
        EXPECT_EQ(z.value, 3.0f) << "time " << time << " would divide by zero or worse";
        EXPECT_EQ(z.velocity, 0.0f);
    }
}

// With dt = 1/64 every timer below is exact: the squash ends after 33 more updates, the turn
// after 161, the settle after 49.
TEST(XformAnimSeq, FinishesAtUpdate244WhenTheTurnSnapsBack) {
    XformAnimSeq anim;
    anim.Update(0.0f);
    EXPECT_EQ(anim.state, 0) << "a zero step must not take the timer below 0";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "first run" : "after Reset");
        int doneAt = 0;
        for (int i = 1; i <= 400 && !doneAt; ++i) {
            anim.Update(1.0f / 64.0f);
            if (i == 1) {
                EXPECT_EQ(anim.state, 1) << "the first real step leaves state 0";
            }
            if (anim.IsDone()) {
                doneAt = i;
            } else if (i > 40) {
                ASSERT_NE(anim.GetMatrix()->m[8], 0.0f) << "update " << i << ": no turn";
            }
        }
        EXPECT_EQ(doneAt, 244);
        EXPECT_EQ(anim.GetMatrix()->m[2], 0.0f) << "the turn snaps back as the sequence ends";
        EXPECT_EQ(anim.GetMatrix()->m[8], 0.0f);
        EXPECT_GT(anim.GetMatrix()->m[0], 0.9f) << "settling back from the squash";
        anim.Reset();
        EXPECT_EQ(anim.state, 0);
        EXPECT_EQ(anim.time, 0.0f);
    }
}

TEST(XformAnim, TheBaseOnlyKeepsTime) {
    XformAnim base;
    XformAnim* anim = &base;
    anim->Update(0.25f);
    anim->Update(0.5f);
    EXPECT_EQ(anim->time, 0.75f);
    EXPECT_FALSE(anim->IsDone());
    EXPECT_EQ(anim->GetMatrix()->m[0], 1.0f);
    EXPECT_EQ(anim->GetMatrix()->m[15], 1.0f);
}

} // namespace
