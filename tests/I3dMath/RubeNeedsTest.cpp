// A patron's needs: growth by the rate table, the hold in 0..1 and an attraction's relief.
#include "I3d/Math/RubeNeeds.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(RubeNeeds, GrowByTheirRatesAndMultipliers) {
    RubeNeeds n;
    n.multiplier[NEED_DRINK] = 2.0f;
    n.Update(100.0f);
    EXPECT_NEAR(n.level[NEED_EAT], 0.1f, 1e-6f);
    EXPECT_NEAR(n.level[NEED_RIDE], 0.2f, 1e-6f);
    EXPECT_NEAR(n.level[NEED_DRINK], 0.2f, 1e-6f) << "a multiplier of 2 doubles the rate";
    EXPECT_NEAR(n.level[NEED_TRASH], 0.05f, 1e-6f);
    EXPECT_EQ(n.level[NEED_TICKET], 0.0f);
}

TEST(RubeNeeds, StayWithinZeroAndOneHoweverLongTheyRun) {
    RubeNeeds n;
    n.level[NEED_TICKET] = 0.3f;
    n.multiplier[NEED_GAME] = -5.0f;
    n.level[NEED_GAME] = 0.5f;
    for (int i = 0; i < 1000; ++i)
        n.Update(1000.0f);
    for (int i = 0; i < NEED_COUNT; ++i) {
        EXPECT_GE(n.level[i], 0.0f) << "need " << i;
        EXPECT_LE(n.level[i], 1.0f) << "need " << i;
    }
    EXPECT_EQ(n.level[NEED_EAT], 1.0f);
    EXPECT_EQ(n.level[NEED_GAME], 0.0f) << "a negative multiplier drains only down to 0";
    EXPECT_EQ(n.level[NEED_TICKET], 0.3f) << "the ticket need does not grow";

    n.Update(std::nanf(""));
    EXPECT_EQ(n.level[NEED_EAT], 1.0f) << "a NaN step must not poison the levels";
}

TEST(RubeNeeds, SatisfyFloorsAtZeroAndIgnoresNaN) {
    RubeNeeds n;
    for (float& l : n.level)
        l = 0.5f;
    const float food[NEED_COUNT] = {0.8f, 0.2f, 0, 0, 0, std::nanf(""), -0.7f, 0};
    n.Satisfy(food);
    EXPECT_EQ(n.level[NEED_EAT], 0.0f);
    EXPECT_NEAR(n.level[NEED_DRINK], 0.3f, 1e-6f);
    EXPECT_EQ(n.level[NEED_RIDE], 0.5f);
    EXPECT_EQ(n.level[NEED_TRASH], 0.5f) << "a NaN value changes nothing";
    EXPECT_EQ(n.level[NEED_POTTY], 1.0f) << "a negative value raises the level only to 1";
}

} // namespace
