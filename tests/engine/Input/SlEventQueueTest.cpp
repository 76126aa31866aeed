// The input event ring: oldest dropped when full, order kept, times stamped, and bad calls.
#include "engine/Input/SlInput.h"
#include "tests/support/TestSupport.h"

#include "engine/Timers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
class SlEventQueue : public ::testing::Test {
  protected:
    void SetUp() override { SlEventQueueClear(); }
    TestClock m_clock;
};
} // namespace

TEST_F(SlEventQueue, FullRingDropsTheOldestAndKeepsOrderAndTimes) {
    for (int i = 0; i < 31; ++i) {
        int count = SlPostEvent(1000 + i, i, -i);
        EXPECT_EQ(count, i < 30 ? i + 1 : 30) << "SlPostEvent returns the unread count, at most 30";
        m_clock.AdvanceMs(5);
    }
    uint32_t firstKept = TimerNow() - 30 * 5; // stamp of the second event posted
    for (int i = 1; i < 31; ++i) {
        SlEvent e;
        ASSERT_EQ(SlGetEvent(&e), 0);
        EXPECT_EQ(e.type, 1000 + i) << "the first event must be the one lost, the rest in order";
        EXPECT_EQ(e.a, i);
        EXPECT_EQ(e.b, -i);
        EXPECT_EQ(e.time, firstKept + (uint32_t)(i - 1) * 5) << "each event carries its post time";
    }
    SlEvent e;
    e.type = 77;
    EXPECT_EQ(SlGetEvent(&e), -1);
    EXPECT_EQ(e.type, 0) << "an empty queue answers type 0";
}

TEST_F(SlEventQueue, ClearEmpties) {
    for (int i = 0; i < 20; ++i)
        SlPostEvent(2, i, 0);
    SlEventQueueClear();
    SlEvent e;
    EXPECT_EQ(SlGetEvent(&e), -1);
    EXPECT_EQ(SlPostEvent(3, 0, 0), 1);
}

TEST_F(SlEventQueue, PointerAndFloatValuesSurviveTheQueue) {
    int record = 0;
    SlPostEvent(SL_PADSTATE, (intptr_t)&record, 3);
    const float values[] = {0.0f, -0.0f, 1023.75f, -1.5e-20f,
                            std::numeric_limits<float>::infinity()};
    for (float v : values)
        SlPostEvent(SL_MOUSEPOS, SlPackFloat(v), SlPackFloat(-v));
    SlEvent e;
    ASSERT_EQ(SlGetEvent(&e), 0);
    EXPECT_EQ((int*)e.a, &record) << "a pad-state event must carry a whole 64-bit address";
    for (float v : values) {
        ASSERT_EQ(SlGetEvent(&e), 0);
        EXPECT_EQ(std::signbit(SlUnpackFloat(e.a)), std::signbit(v));
        EXPECT_EQ(SlUnpackFloat(e.a), v);
        EXPECT_EQ(SlUnpackFloat(e.b), -v);
        EXPECT_EQ((uint64_t)e.a >> 32, 0u) << "the bit pattern belongs in the low 32 bits";
    }
}

TEST(SlEventQueueDeathTest, NullOutIsACallersError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SlEventQueueClear();
    SlPostEvent(2, 30, 0);
    EXPECT_DEBUG_DEATH(EXPECT_EQ(SlGetEvent(nullptr), -1), "somewhere to put the event");
}
