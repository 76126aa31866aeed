// A patron's needs: growth by the rate table, the hold in 0..1 and an attraction's relief.
#include "I3d/Math/RubeNeeds.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

enum { kEat, kDrink, kRide, kGame, kRest, kTrash, kPotty, kTicket };

TEST(RubeNeeds, GrowByTheirRatesAndStayWithinZeroAndOne) {
    RubeNeeds n;
    n.multiplier[kDrink] = 2.0f;
    n.Update(100.0f);
    EXPECT_NEAR(n.level[kEat], 0.1f, 1e-6f);
    EXPECT_NEAR(n.level[kRide], 0.2f, 1e-6f);
    EXPECT_NEAR(n.level[kDrink], 0.2f, 1e-6f) << "a multiplier of 2 doubles the rate";
    n.level[kTicket] = 0.3f;
    for (int i = 0; i < 1000; ++i)
        n.Update(1000.0f);
    n.Update(std::nanf(""));
    for (int i = 0; i < kTicket; ++i)
        EXPECT_EQ(n.level[i], 1.0f) << "need " << i;
    EXPECT_EQ(n.level[kTicket], 0.3f) << "the ticket need does not grow";
}

TEST(RubeNeeds, SatisfyFloorsAtZeroAndIgnoresNaN) {
    RubeNeeds n;
    for (float& l : n.level)
        l = 0.5f;
    const float food[RUBE_NEED_COUNT] = {0.8f, 0.2f, 0, 0, 0, std::nanf(""), -0.7f, 0};
    n.Satisfy(food);
    EXPECT_EQ(n.level[kEat], 0.0f);
    EXPECT_NEAR(n.level[kDrink], 0.3f, 1e-6f);
    EXPECT_EQ(n.level[kTrash], 0.5f) << "a NaN value changes nothing";
    EXPECT_EQ(n.level[kPotty], 1.0f) << "a negative value raises the level only to 1";
}

} // namespace
