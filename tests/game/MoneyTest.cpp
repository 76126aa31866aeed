// Money arithmetic: additions saturate instead of overflowing, charges floor at 0.
#include "game/Money.h"

#include <gtest/gtest.h>

TEST(Money, AdditionsSaturateAtBothEnds) {
    EXPECT_EQ(MoneyAdd(INT32_MAX - 10, 100), INT32_MAX) << "a long sandbox would wrap to negative";
    EXPECT_EQ(MoneyAdd(INT32_MAX, INT32_MAX), INT32_MAX);
    EXPECT_EQ(MoneyAdd(INT32_MIN + 5, -10), INT32_MIN);
    EXPECT_EQ(MoneyAdd(1000000, -250000), 750000);
}

TEST(Money, ChargesNeverDriveCashBelowZero) {
    EXPECT_EQ(MoneyCharge(5, 10), 0);
    EXPECT_EQ(MoneyCharge(10, 10), 0);
    EXPECT_EQ(MoneyCharge(1000000, 45000), 955000);
    EXPECT_EQ(MoneyCharge(-500, 100), 0) << "a negative loaded cash still floors at 0";
    EXPECT_EQ(MoneyCharge(-500, 0), -500) << "nothing charged leaves the cash as loaded";
    EXPECT_EQ(MoneyCharge(100, -50), 100) << "a negative cost from bad data pays nothing";
}
