// Frame clock and application timer, with time moved by hand.
#include "engine/FrameClock.h"
#include "engine/Timers.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

TEST(FrameClock, SlowFrameIsCappedAndScaled) {
    TestClock clock;
    FrameClock* fc = FrameClockNew();
    FrameClockSetCap(fc, 33);
    clock.AdvanceMs(250);
    FrameClockTick(fc);
    EXPECT_EQ(fc->deltaMs, 250u);
    EXPECT_EQ(fc->scaledDeltaMs, 33u) << "a slow frame must not advance the game past the cap";
    EXPECT_FLOAT_EQ(fc->scaledDeltaSeconds, 0.033f);

    FrameClockSetScale(fc, 2048); // double speed
    clock.AdvanceMs(10);
    FrameClockTick(fc);
    EXPECT_EQ(fc->scaledDeltaMs, 20u);
    EXPECT_EQ(fc->scaledElapsedMs, 53u);
    EXPECT_EQ(fc->elapsedMs, 260u);
    EXPECT_EQ(fc->runningTicks, 2u);
    FrameClockFree(fc);
}

TEST(FrameClock, PauseGivesZeroThenSkipsOneFrame) {
    TestClock clock;
    FrameClock* fc = FrameClockNew();
    FrameClockPause(fc);
    clock.AdvanceMs(16);
    FrameClockTick(fc);
    EXPECT_EQ(fc->scaledDeltaMs, 0u);
    FrameClockResume(fc);
    clock.AdvanceMs(500);
    FrameClockTick(fc);
    EXPECT_EQ(fc->deltaMs, 0u) << "the first tick after a pause gives 0";
    EXPECT_EQ(fc->scaledDeltaMs, 0u);
    clock.AdvanceMs(20);
    FrameClockTick(fc);
    EXPECT_EQ(fc->deltaMs, 20u);
    EXPECT_EQ(fc->scaledDeltaMs, 20u);
    EXPECT_EQ(fc->ticks, 3u);
    EXPECT_EQ(fc->runningTicks, 1u);

    FrameClockResume(fc); // unmatched: must not leave the clock unable to pause
    FrameClockPause(fc);
    clock.AdvanceMs(20);
    FrameClockTick(fc);
    EXPECT_EQ(fc->deltaMs, 0u);
    FrameClockFree(fc);
}

TEST(AppTimer, CommandsFollowTheirRules) {
    TestClock clock;
    EXPECT_DOUBLE_EQ(AppTimer(APPTIMER_RESET), 0.0);
    clock.AdvanceMs(1500);
    EXPECT_NEAR(AppTimer(APPTIMER_APPTIME), 1.5, 1e-9);
    EXPECT_NEAR(AppTimer(APPTIMER_ELAPSED), 1.5, 1e-9);
    clock.AdvanceMs(250);
    EXPECT_NEAR(AppTimer(APPTIMER_ELAPSED), 0.25, 1e-9);

    AppTimer(APPTIMER_STOP);
    clock.AdvanceMs(5000);
    EXPECT_NEAR(AppTimer(APPTIMER_APPTIME), 1.75, 1e-9) << "a stopped timer stands still";
    AppTimer(APPTIMER_STEP);
    EXPECT_NEAR(AppTimer(APPTIMER_APPTIME), 1.85, 1e-9) << "a step moves it by 0.1 s";
    EXPECT_NEAR(AppTimer(APPTIMER_ABSOLUTE), 1000.0 + 6.75, 1e-6) << "absolute reads the counter";

    AppTimer(APPTIMER_START);
    clock.AdvanceMs(1000);
    EXPECT_NEAR(AppTimer(APPTIMER_APPTIME), 2.85, 1e-9) << "the stopped span is left out";
    AppTimer(APPTIMER_START); // already running: nothing shifts
    AppTimer(APPTIMER_STEP);  // running: a step does not stop the timer
    clock.AdvanceMs(1000);
    EXPECT_NEAR(AppTimer(APPTIMER_APPTIME), 3.85, 1e-9);

    EXPECT_DOUBLE_EQ(AppTimer(7), -1.0);
    EXPECT_DOUBLE_EQ(AppTimer(-1), -1.0);
}

TEST(AppTimer, HoldFlag) {
    EXPECT_EQ(AppTimerHold(1), 1);
    EXPECT_EQ(AppTimerHold(2), 1);
    EXPECT_EQ(AppTimerHold(0), 1);
    EXPECT_EQ(AppTimerHold(2), 0);
    EXPECT_EQ(AppTimerHold(3), 0);
}

TEST(Timer, NowFollowsTheSourceInMilliseconds) {
    TestClock clock;
    uint32_t t0 = TimerNow();
    clock.AdvanceUs(2999);
    EXPECT_EQ(TimerNow() - t0, 2u);
}
