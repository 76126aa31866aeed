// Wear, failures, repair and value; the run and overload checks against a real grid; the status
// icon, the light-chaser counters, the hourly cost and the generator's spawn delay.
#include "game/RideAnimCore.h"
#include "tests/game/Ents/AttrTestSupport.h"

#include "engine/Random.h"

#include <cmath>

// ---- wear ----

TEST_F(AttrTest, WearGrowsByTheHourlyRatesAndRunningOnlyWhileRiding) {
    game->degRateFact = 0.5f;
    game->degFailThresh = 2.0f; // no failure rolls here
    AttrBase* attr = Place(T_WEAR);
    attr->repair = 0.0f;
    attr->RideStepWear(0.1f);
    EXPECT_NEAR(attr->repair, 3600.0f * 0.5f * 0.1f / 3600.0f, 1e-6f);
    attr->repair = 0.0f;
    attr->attrState = ATTR_RIDING;
    attr->RideStepWear(0.1f);
    EXPECT_NEAR(attr->repair, (3600.0f + 7200.0f) * 0.5f * 0.1f / 3600.0f, 1e-6f);

    attr->attrState = ATTR_LOADING;
    attr->repair = 0.9f;
    attr->RideStepWear(1.0f);
    EXPECT_TRUE(attr->broken) << "a threshold above 1 must still let wear 1.0 break it";
    EXPECT_FLOAT_EQ(attr->repair, 1.0f);
    attr->RideStepWear(1.0f);
    EXPECT_FLOAT_EQ(attr->repair, 1.0f) << "nothing happens while broken";

    AttrInfo* wear = game->attrList->Get(T_WEAR);
    wear->degRateIdle = -3600.0f;
    AttrBase* fresh = Place(T_WEAR, "Fresh");
    fresh->repair = 0.01f;
    fresh->RideStepWear(1.0f);
    EXPECT_FLOAT_EQ(fresh->repair, 0.0f) << "negative rates made it better than new";
}

TEST_F(AttrTest, FailureRollsComeEveryThirtySecondsWithTheWearAboveTheThreshold) {
    game->degFailThresh = 0.75f;
    int failures = 0;
    const int kTrials = 2000;
    for (int i = 0; i < kTrials; ++i) {
        AttrBase* attr = Place(T_RIDE);
        attr->repair = 0.95f; // fails with probability 0.2 per roll
        attr->failureTimer = 30.0f;
        attr->RideStepWear(29.0f);
        ASSERT_FALSE(attr->broken) << "rolled before the 30 s were up";
        attr->RideStepWear(1.0f);
        if (attr->broken) ++failures;
        EXPECT_FLOAT_EQ(attr->failureTimer, 30.0f);
        EntDestroyTree(attr);
    }
    EXPECT_NEAR((double)failures / kTrials, 0.2, 0.03);

    game->degFailThresh = 1.0f;
    AttrBase* safe = Place(T_RIDE, "Safe");
    safe->repair = 0.999f;
    for (int i = 0; i < 100; ++i)
        safe->RideStepWear(30.0f);
    EXPECT_FALSE(safe->broken) << "a threshold of 1 allows no random failures";
}

TEST_F(AttrTest, AFailingBinIsClosedForServiceInsteadOfBreaking) {
    game->degFailThresh = 0.0f;
    ENTBASE* gen = Generator();
    (void)gen;
    AttrBase* bin = Place(T_BIN);
    g_delayChanges.clear();
    bin->repair = 0.999f; // the roll fails almost surely
    bin->failureTimer = 0.0f;
    bin->RideStepWear(0.001f);
    EXPECT_FALSE(bin->broken);
    EXPECT_TRUE(bin->closed);
    EXPECT_TRUE(bin->repairMe);
    EXPECT_FLOAT_EQ(bin->repair, 0.99f);
    EXPECT_FLOAT_EQ(bin->failureTimer, 30.0f);
    EXPECT_EQ(g_delayChanges, (std::vector<float>{-0.5f})) << "closed through SetClosed";
}

TEST_F(AttrTest, RepairStepsAndValue) {
    AttrBase* attr = Place(T_RIDE);
    attr->repair = 0.3f;
    EXPECT_TRUE(AttrBaseRepairStep(attr, 0.1f));
    EXPECT_NEAR(attr->repair, 0.2f, 1e-6f);
    EXPECT_FALSE(AttrBaseRepairStep(attr, 0.5f)) << "reaching 0 ends the repair";
    EXPECT_FLOAT_EQ(attr->repair, 0.0f);
    attr->repair = 1.0f;
    EXPECT_FALSE(AttrBaseRepairStep(attr, 0.1f)) << "a broken attraction is not repaired";
    EXPECT_FLOAT_EQ(attr->repair, 1.0f);

    const struct {
        float wear;
        int value;
    } cases[] = {{0.0f, 1000}, {0.5f, 1000}, {0.75f, 500}, {0.9f, 200}, {1.0f, 0}, {1.5f, 0}};
    for (const auto& c : cases) {
        attr->repair = c.wear;
        EXPECT_EQ(AttrBaseValue(attr), c.value) << "wear " << c.wear;
    }
    EXPECT_EQ(AttrBaseValue(nullptr), 0);
}

// ---- run and overload checks ----

namespace {
// The share of frames with the lights on, over 10,000 frames.
double LightsShare(AttrBase* attr) {
    int on = 0;
    for (int i = 0; i < 10000; ++i) {
        attr->Update(0.01f);
        if (attr->lightsOn) ++on;
    }
    return on / 10000.0;
}
} // namespace

TEST_F(AttrTest, TheRunCheckFollowsWearLoadAndState) {
    game->degFailThresh = 2.0f;
    AttrBase* worn = Place(T_NOPEAK, "Worn");
    worn->repair = 0.5f;
    EXPECT_EQ(LightsShare(worn), 1.0) << "wear 0.5 must keep the lights on";
    worn->repair = 0.75f;
    EXPECT_NEAR(LightsShare(worn), 0.5, 0.02);

    MtPowerGrid* grid = Grid();
    AttrBase* loaded = Place(T_NOPEAK, "Loaded");
    ENTBASE* consumer = EntCreateChild("TestNull", root);
    MtPowerGridUse(grid, consumer, 0.0f, 120.0f); // 120 against a supply of 100
    ASSERT_NEAR(MtPowerGridLoad(grid), 1.2f, 1e-4f);
    EXPECT_NEAR(LightsShare(loaded), 0.5, 0.02);
    EXPECT_FALSE(loaded->powerFailure) << "a type that draws no peak power never fails";

    MtPowerGridUse(grid, consumer, 0.0f, 0.0f);
    AttrBaseSetClosed(loaded, true);
    loaded->Update(0.01f);
    EXPECT_EQ(LightsShare(loaded), 0.0) << "a closed attraction runs nothing";
    worn->broken = true;
    worn->Update(0.01f);
    EXPECT_EQ(LightsShare(worn), 0.0) << "a broken attraction runs nothing";
}

TEST_F(AttrTest, AnOverloadTripsBigConsumersAndGeneratorsAfterTwoToTwelveSeconds) {
    game->degFailThresh = 2.0f;
    MtPowerGrid* grid = Grid();
    Generator();
    AttrBase* big = Place(T_BIG, "Big");
    AttrBase* gen = Place(T_GEN, "Gen");
    AttrBase* small = Place(T_RIDE, "Small");
    AttrBase* none = Place(T_NOPEAK, "None");
    none->powerFailure = true;
    g_delayChanges.clear();
    ENTBASE* consumer = EntCreateChild("TestNull", root);
    MtPowerGridUse(grid, consumer, 0.0f, 200.0f);
    ASSERT_TRUE(MtPowerGridOverloaded(grid));

    float tripped = -1.0f;
    for (int i = 1; i <= 1300; ++i) {
        for (AttrBase* a : {big, gen, small, none})
            a->Update(0.01f);
        if (tripped < 0.0f && big->powerFailure) tripped = i * 0.01f;
    }
    EXPECT_GE(tripped, 2.0f - 0.011f);
    EXPECT_LE(tripped, 12.0f + 0.011f);
    EXPECT_TRUE(big->closed && big->powerFailure);
    EXPECT_TRUE(gen->closed && gen->powerFailure);
    EXPECT_TRUE(small->powerFailure);
    EXPECT_FALSE(small->closed) << "a small consumer only loses power";
    EXPECT_FALSE(none->powerFailure) << "a type with no peak power clears its failure";
    EXPECT_TRUE(g_delayChanges.empty()) << "the trip closes without touching the spawn delay";

    // Exactly the supply: a load of 1.0 is not an overload.
    MtPowerGridUse(grid, consumer, 0.0f, 0.0f);
    MtPowerGridUse(grid, consumer, 0.0f, grid->supplyTotal - grid->demandTotal);
    ASSERT_EQ(MtPowerGridLoad(grid), 1.0f);
    small->Update(0.01f);
    EXPECT_FALSE(small->powerFailure) << "a load back to 1.0 clears the failure";
}

TEST_F(AttrTest, WithoutAPowerGridNothingIsEverOverloaded) {
    AttrBase* attr = Place(T_BIG);
    attr->powerCheckTimer = 0.0f;
    for (int i = 0; i < 2000; ++i)
        attr->Update(0.01f);
    EXPECT_FALSE(attr->powerFailure);
    EXPECT_FALSE(attr->closed);
}

// ---- icons, counters, costs ----

TEST_F(AttrTest, TheStatusIconFollowsItsPriority) {
    AttrBase* attr = Place(T_RIDE);
    const struct {
        bool broken, closed, repairMe, power;
        float wear;
        int icon;
    } cases[] = {
        {true, true, true, true, 0.9f, ATTR_ICON_BROKEN},
        {false, true, true, true, 0.9f, ATTR_ICON_REPAIR},
        {false, false, true, true, 0.9f, ATTR_ICON_POWER},
        {false, true, false, true, 0.9f, ATTR_ICON_CLOSED_POWER},
        {false, true, false, false, 0.9f, ATTR_ICON_CLOSED},
        {false, false, false, false, 0.51f, ATTR_ICON_WORN},
        {false, false, false, false, 0.5f, ATTR_ICON_NONE},
    };
    for (const auto& c : cases) {
        attr->broken = c.broken;
        attr->closed = c.closed;
        attr->repairMe = c.repairMe;
        attr->powerFailure = c.power;
        attr->repair = c.wear;
        EXPECT_EQ(AttrBaseStatusIcon(attr), c.icon) << "expected icon " << c.icon;
    }
    attr->broken = false;
    attr->closed = 0;
    attr->repairMe = 0;
    attr->powerFailure = false;
    attr->repair = 0.6f;
    game->degFailThresh = 2.0f;
    attr->Update(0.01f);
    EXPECT_EQ(attr->icon.cell, ATTR_ICON_WORN) << "the update shows the icon in its cell";
    EXPECT_LT(attr->icon.duration, 0.0f) << "shown without time limit";
}

TEST_F(AttrTest, TheChaserCountersStepAndWrap) {
    AttrClassReset();
    for (int i = 0; i < 31; ++i)
        AttrFlashTick(0.0625f);
    EXPECT_EQ(AttrFlashCounterA(), 31);
    AttrFlashTick(0.0625f);
    EXPECT_EQ(AttrFlashCounterA(), 0) << "A wraps after 31";
    AttrClassReset();
    for (int i = 0; i < 5; ++i)
        AttrFlashTick(1.0f / 60.0f);
    EXPECT_EQ(AttrFlashCounterB(), 5);
    EXPECT_EQ(AttrFlashMask(), 1u << 5);
    EXPECT_EQ(AttrFlashCounterA(), 1);
    AttrFlashTick(1.0f / 60.0f * 27.0f + 1e-4f);
    EXPECT_EQ(AttrFlashCounterB(), 0);
    EXPECT_EQ(AttrFlashMask(), 1u);
    AttrFlashTick(NAN);
    AttrFlashTick(1e30f); // a long stall moves the counters, it does not hang
    EXPECT_LT(AttrFlashCounterA(), 32);
    EXPECT_LT(AttrFlashCounterB(), 32);
}

TEST_F(AttrTest, TheHourlyEventChargesIdleCostInEveryState) {
    AttrBase* open = Place(T_RIDE, "Open");
    AttrBase* shut = Place(T_RIDE, "Shut");
    AttrBaseSetClosed(shut, true);
    AttrBase* wreck = Place(T_RIDE, "Wreck");
    wreck->broken = true;
    Frames(shut, 2);
    Frames(wreck, 2);
    game->cash = 1000;
    for (AttrBase* a : {open, shut, wreck})
        a->OnGameEvent(GE_HOURLY, 0);
    EXPECT_EQ(game->cash, 1000 - 3 * 100);
    open->OnGameEvent(GE_END_OF_DAY, 0);
    EXPECT_EQ(game->cash, 700) << "only the hourly event charges";
}

TEST_F(AttrTest, OpeningAndClosingMoveTheSpawnDelay) {
    Generator();
    AttrBase* attr = Place(T_RIDE);
    // The factor itself: the generator scales it by the venue's delay.
    EXPECT_EQ(g_delayChanges, (std::vector<float>{0.5f})) << "an attraction that starts open";
    AttrBaseSetClosed(attr, true);
    AttrBaseSetClosed(attr, false);
    EXPECT_EQ(g_delayChanges, (std::vector<float>{0.5f, -0.5f, 0.5f}));
    AttrBase* shut = Make(T_RIDE, "Shut");
    shut->closed = 1;
    shut->Start();
    EXPECT_EQ(g_delayChanges.size(), 3u) << "a closed attraction does not open the gates";
}
