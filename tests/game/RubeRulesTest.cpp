// The patrons' arithmetic: the generator's maximum, delay and start draws, the strongest need,
// the wander offset and the leave test.
#include "game/RubeRules.h"

#include "engine/Random.h"
#include "game/GameVals.h"
#include "game/VenueInfo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {
int Occurrences(const std::string& text, const char* what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

float Median(std::vector<float> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

TEST(RubeGenRules, DeparturesMoveTheMaximumByHowHappyThePatronWas) {
    struct Case {
        float h;
        int change;
    };
    const Case cases[] = {{-0.3f, -1}, {-0.7f, -2}, {-1.0f, -3}, {-5.0f, -3}, {0.3f, 1},
                          {0.7f, 2},   {1.0f, 3},   {0.1f, 0},   {-0.1f, 0},  {-0.15f, -1},
                          {0.15f, 1},  {0.5f, 2},   {-0.5f, -2}};
    for (const Case& c : cases)
        EXPECT_EQ(RubeGenMaxAfterDeparture(50, 100, c.h, 3), 50 + c.change) << c.h;
    EXPECT_EQ(RubeGenMaxAfterDeparture(6, 100, -1.0f, 3), 5) << "never below 5";
    EXPECT_EQ(RubeGenMaxAfterDeparture(99, 100, 1.0f, 3), 100) << "never above the ceiling";
    EXPECT_EQ(RubeGenMaxAfterDeparture(120, 100, 0.0f, 3), 100) << "the clamp runs unchanged too";
    EXPECT_EQ(RubeGenMaxAfterDeparture(2, 3, 0.0f, 3), 5) << "the floor is applied last";
    EXPECT_EQ(RubeGenMaxAfterDeparture(50, 100, std::nanf(""), 3), 50);
    EXPECT_EQ(RubeGenMaxAfterDeparture(INT32_MAX, INT32_MAX, 1.0f, INT32_MAX), INT32_MAX);
}

TEST(RubeGenRules, ExtrasAndDelayAreClamped) {
    EXPECT_EQ(RubeGenMaxAfterExtra(40, 100, 9), 49);
    EXPECT_EQ(RubeGenMaxAfterExtra(95, 100, 9), 100);
    EXPECT_EQ(RubeGenMaxAfterExtra(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);

    VenueInfo venue;
    venue.delayTimer = 4.0f;
    float delay = 5.0f;
    delay = RubeGenDelayAfterAdjust(delay, 1.0f, &venue);
    delay = RubeGenDelayAfterAdjust(delay, 1.0f, &venue);
    EXPECT_FLOAT_EQ(delay, 1.0f) << "two openings end at 1.0, not -3.0";
    EXPECT_FLOAT_EQ(RubeGenDelayAfterAdjust(5.0f, -4.0f, &venue), 10.0f);
    EXPECT_FLOAT_EQ(RubeGenDelayAfterAdjust(5.0f, 1.0f, nullptr), 5.0f) << "no venue, no change";
    EXPECT_FLOAT_EQ(RubeGenDelayAfterAdjust(5.0f, std::nanf(""), &venue), 5.0f);
}

TEST(RubeGenRules, ABadDelayTimerFallsBackToFiveSecondsWithOneLine) {
    VenueInfo venue;
    for (float bad : {0.0f, -2.0f, std::nanf(""), std::numeric_limits<float>::infinity()}) {
        LogCapture log;
        venue.delayTimer = bad;
        EXPECT_FLOAT_EQ(RubeGenVenueDelay(&venue), 5.0f) << bad;
        EXPECT_EQ(Occurrences(log.Text(), "no delay"), 1) << bad;
    }
    venue.delayTimer = 3.5f;
    EXPECT_FLOAT_EQ(RubeGenVenueDelay(&venue), 3.5f);
    EXPECT_FLOAT_EQ(RubeGenVenueDelay(nullptr), 5.0f);
}

TEST(RubeGenRules, StartDrawsStayInRangeWithTheirMediansAtTheVenueAverages) {
    CrtSrand(7);
    MsSeed(7);
    VenueInfo venue;
    venue.avgFood = 0.3f;
    venue.avgDrink = 0.6f;
    venue.avgRide = 0.8f;
    venue.avgGame = 0.2f;
    venue.avgPotty = 0.1f;
    venue.avgMoney = 2000;
    venue.avgFoodSat = 0.4f;
    venue.avgDrinkSat = 0.7f;
    venue.avgRideSat = 0.5f;
    venue.avgGameSat = 0.9f;
    GameVals vals;
    vals.speedDeltaMax = 0.0f;
    vals.hapFreeTicket = 0.25f;
    std::vector<float> levels[5], mults[4];
    std::set<uint32_t> colours;
    for (int i = 0; i < 5000; ++i) {
        RubeStart s;
        RubeGenDrawStart(&venue, &vals, 3, &s);
        ASSERT_GE(s.height, 1.2f);
        ASSERT_LE(s.height, 2.0f);
        ASSERT_GE(s.money, 500);
        ASSERT_GE(s.tickets, 0);
        ASSERT_LE(s.tickets, 3);
        ASSERT_FLOAT_EQ(s.happiness, s.tickets * 0.25f);
        ASSERT_EQ(s.speedBase, 0.0f);
        ASSERT_EQ(s.level[RUBE_REST], 0.0f);
        ASSERT_EQ(s.level[RUBE_TICKET], 0.0f);
        const int li[5] = {RUBE_EAT, RUBE_DRINK, RUBE_RIDE, RUBE_GAME, RUBE_POTTY};
        for (int k = 0; k < 5; ++k)
            levels[k].push_back(s.level[li[k]]);
        for (int k = 0; k < 4; ++k)
            mults[k].push_back(s.multiplier[k]);
        colours.insert(s.colour);
    }
    const float avgL[5] = {0.3f, 0.6f, 0.8f, 0.2f, 0.1f};
    const float avgM[4] = {0.4f, 0.7f, 0.5f, 0.9f};
    for (int k = 0; k < 5; ++k)
        EXPECT_NEAR(Median(levels[k]), avgL[k], 0.02f) << "level " << k;
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(Median(mults[k]), avgM[k], 0.02f) << "multiplier " << k;
    EXPECT_EQ(colours.size(), 9u) << "ten colours, one of them twice";
}

// The skewed draws of a patron come from the game's own source: the same seed of it gives the
// same patron whatever the run-time generator holds, and drawing one leaves rand(n) untouched.
TEST(RubeGenRules, APatronsSkewedDrawsComeFromTheGamesOwnSource) {
    VenueInfo venue;
    GameVals vals;
    RubeStart a, b, c;
    MsSeed(21);
    CrtSrand(5);
    RubeGenDrawStart(&venue, &vals, 0, &a);
    const int nextCrt = CrtRand();
    MsSeed(21);
    CrtSrand(900);
    RubeGenDrawStart(&venue, &vals, 0, &b);
    EXPECT_EQ(a.height, b.height);
    EXPECT_EQ(a.money, b.money);
    for (int k = 0; k < RUBE_NEED_COUNT; ++k)
        EXPECT_EQ(a.level[k], b.level[k]) << k;
    MsSeed(22);
    CrtSrand(5);
    RubeGenDrawStart(&venue, &vals, 0, &c);
    EXPECT_NE(a.height, c.height) << "another seed of the game's source, another patron";
    EXPECT_EQ(CrtRand(), nextCrt) << "the skewed draws took from the run-time generator";
}

TEST(RubeGenRules, BadVenueAveragesAreHeldInRange) {
    CrtSrand(3);
    MsSeed(3);
    VenueInfo venue;
    venue.avgFood = 7.0f;
    venue.avgDrink = -3.0f;
    venue.avgRide = std::nanf("");
    venue.avgMoney = -100000;
    GameVals vals;
    for (int i = 0; i < 500; ++i) {
        RubeStart s;
        RubeGenDrawStart(&venue, &vals, -4, &s);
        ASSERT_GE(s.level[RUBE_EAT], 0.0f);
        ASSERT_LE(s.level[RUBE_EAT], 1.0f);
        ASSERT_GE(s.level[RUBE_DRINK], 0.0f);
        ASSERT_TRUE(std::isfinite(s.level[RUBE_RIDE]));
        ASSERT_EQ(s.money, 500);
        ASSERT_EQ(s.tickets, 0) << "negative free tickets give none";
    }
    venue.avgMoney = INT32_MAX;
    RubeStart s;
    RubeGenDrawStart(&venue, &vals, INT32_MAX, &s);
    EXPECT_GE(s.money, 500);
}

TEST(RubeRules, TheStrongestNeedTiesToTheLaterNeedAndLeavingIsANinthCode) {
    RubeNeeds n;
    for (float& l : n.level)
        l = 0.0f;
    EXPECT_EQ(RubeStrongestNeed(n, false), RUBE_TICKET) << "all equal: the last";
    n.level[RUBE_DRINK] = 0.6f;
    n.level[RUBE_POTTY] = 0.6f;
    EXPECT_EQ(RubeStrongestNeed(n, false), RUBE_POTTY);
    n.level[RUBE_EAT] = 0.9f;
    EXPECT_EQ(RubeStrongestNeed(n, false), RUBE_EAT);
    EXPECT_EQ(RubeStrongestNeed(n, true), RUBE_LEAVING);
    const int icons[9] = {10, 11, 13, 12, 14, 17, 15, 16, 23};
    for (int need = 0; need <= RUBE_LEAVING; ++need)
        EXPECT_EQ(RubeNeedIcon(need), icons[need]) << need;
    EXPECT_EQ(RubeNeedIcon(-1), -1);
    EXPECT_EQ(RubeNeedIcon(9), -1);
}

TEST(RubeRules, WanderOffsetsFollowTheRangeWithTheirDriftToTheLowSide) {
    CrtSrand(11);
    MsSeed(11);
    std::set<int> seen;
    for (int i = 0; i < 4000; ++i)
        seen.insert(RubeWanderOffset(5, 10));
    std::set<int> expected;
    for (int v = 5; v <= 10; ++v)
        expected.insert(v);
    for (int v = -12; v <= -7; ++v)
        expected.insert(v);
    EXPECT_EQ(seen, expected);
    seen.clear();
    for (int i = 0; i < 4000; ++i)
        seen.insert(RubeWanderOffset(10, 5)); // min above max: |max - min| applies
    for (int v : seen)
        EXPECT_TRUE((v >= 10 && v <= 15) || (v >= -17 && v <= -11)) << v;
    for (int i = 0; i < 100; ++i) {
        const int v = RubeWanderOffset(INT32_MIN, INT32_MAX); // no overflow under UBSan
        EXPECT_LE(std::abs((long long)v), 1LL << 24);
    }
}

TEST(RubeRules, EachLeaveRuleHoldsOnItsOwn) {
    auto fresh = [] {
        RubeNeeds n;
        for (float& l : n.level)
            l = 0.0f;
        return n;
    };
    RubeLeaveInputs in;
    in.money = 1000;
    in.ticketCost = 50;
    in.gameTime = 12.0f;
    in.closingTime = 22.0f;
    in.hapMaxDesire = -0.25f;

    RubeNeeds n = fresh();
    float hap = 0.0f;
    EXPECT_EQ(RubeLeaveTest(&n, &hap, in), RUBE_STAY);

    RubeLeaveInputs poor = in;
    poor.money = 49;
    EXPECT_EQ(RubeLeaveTest(&n, &hap, poor), RUBE_STAY) << "no ticket need: money does not matter";
    n.level[RUBE_TICKET] = 0.1f;
    EXPECT_EQ(RubeLeaveTest(&n, &hap, poor), RUBE_GO);

    n = fresh();
    hap = -1.0f;
    EXPECT_EQ(RubeLeaveTest(&n, &hap, in), RUBE_GO) << "exactly -1.0";
    hap = -0.99f;
    EXPECT_EQ(RubeLeaveTest(&n, &hap, in), RUBE_STAY);

    hap = 0.0f;
    RubeLeaveInputs late = in;
    late.gameTime = 21.51f;
    EXPECT_EQ(RubeLeaveTest(&n, &hap, late), RUBE_GO);
    late.gameTime = 21.5f;
    EXPECT_EQ(RubeLeaveTest(&n, &hap, late), RUBE_STAY) << "past, not at, closing - 0.5";

    for (int need : {RUBE_EAT, RUBE_DRINK, RUBE_RIDE, RUBE_GAME, RUBE_POTTY}) {
        n = fresh();
        n.level[need] = 1.0f;
        hap = 0.0f;
        EXPECT_EQ(RubeLeaveTest(&n, &hap, in), RUBE_GO) << need;
        EXPECT_FLOAT_EQ(hap, -0.25f) << need;
    }
    n = fresh();
    n.level[RUBE_REST] = 1.0f;
    hap = 0.0f;
    EXPECT_EQ(RubeLeaveTest(&n, &hap, in), RUBE_GO);
    EXPECT_EQ(hap, 0.0f) << "rest adds no hapMaxDesire";

    n = fresh();
    n.level[RUBE_TRASH] = 1.0f;
    EXPECT_EQ(RubeLeaveTest(&n, &hap, in), RUBE_STAY_DROP_LITTER);
    EXPECT_EQ(n.level[RUBE_TRASH], 0.0f);
}
