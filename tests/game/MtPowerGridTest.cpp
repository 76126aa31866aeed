// The power grid: slots taken, reused and freed, the totals kept exact through long runs of
// changes, the load and its overload test, bad slot counts and values, and a grid that goes
// before the rides holding it.
#include "game/MtPowerGrid.h"
#include "engine/DebugLog.h"
#include "engine/Random.h"
#include "tests/game/FakeRide.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

class PowerGrid : public ::testing::Test {
  protected:
    void SetUp() override {
        grid = tree.MakeGrid();
        ASSERT_NE(grid, nullptr);
        ASSERT_EQ(grid->Start(), 1);
    }
    // Plain owners, not in the tree: the grid only keeps their addresses.
    ENTBASE* Owner(size_t i) {
        while (owners.size() <= i)
            owners.push_back(std::make_unique<ENTBASE>());
        return owners[i].get();
    }
    int SlotOf(ENTBASE* owner) const {
        for (int i = 0; i < grid->usedCount; ++i)
            if (grid->slots[i].owner == owner) return i;
        return -1;
    }

    RideTree tree;
    MtPowerGrid* grid = nullptr;
    std::vector<std::unique_ptr<ENTBASE>> owners;
};

TEST_F(PowerGrid, ACreatedGridHasAHundredSlotsAndALoadedCountReplacesThem) {
    EXPECT_EQ(grid->numSlots, 100) << "creation overwrites the property's default of 200";
    EXPECT_EQ(grid->usedCount, 0);
    EXPECT_EQ(EntTreeFindType(tree.root, "MtPowerGrid"), grid) << "found by its type";
    EXPECT_TRUE(grid->SetInt("numSlots", 7));
    ASSERT_EQ(grid->Start(), 1);
    for (int i = 0; i < 8; ++i)
        MtPowerGridUse(grid, Owner((size_t)i), 0.0f, 1.0f);
    EXPECT_EQ(grid->usedCount, 7);
    EXPECT_EQ(SlotOf(Owner(7)), -1) << "the eighth owner finds the table full";
    EXPECT_EQ(grid->demandTotal, 7.0f) << "a full table does not count the newcomer's draw";
}

TEST_F(PowerGrid, TheLoadIsDemandOverSupplyAndOnlyAboveOneIsOverload) {
    ENTBASE* supplier = Owner(0);
    ENTBASE* ride = Owner(1);
    MtPowerGridUse(grid, supplier, 10.0f, 0.0f);
    MtPowerGridUse(grid, ride, 0.0f, 10.0f);
    EXPECT_EQ(MtPowerGridLoad(grid), 1.0f);
    EXPECT_FALSE(MtPowerGridOverloaded(grid)) << "a grid at exactly its supply still holds";
    MtPowerGridUse(grid, ride, 0.0f, 10.5f);
    EXPECT_TRUE(MtPowerGridOverloaded(grid));

    // Re-using an owner replaces its values instead of adding to them.
    MtPowerGridUse(grid, ride, 0.0f, 4.0f);
    EXPECT_EQ(grid->demandTotal, 4.0f);
    EXPECT_FLOAT_EQ(grid->load, 0.4f);
    EXPECT_EQ(grid->usedCount, 2) << "one slot per owner";

    EXPECT_TRUE(MtPowerGridRemove(grid, supplier));
    EXPECT_EQ(grid->load, 2.0f);
    EXPECT_TRUE(MtPowerGridRemove(grid, ride));
    EXPECT_EQ(grid->load, 2.0f) << "no supply is an overload even with nothing drawing";
    EXPECT_TRUE(MtPowerGridOverloaded(grid));
    EXPECT_FALSE(MtPowerGridRemove(grid, ride)) << "an owner without a slot";
    EXPECT_FALSE(MtPowerGridRemove(grid, Owner(5)));

    EXPECT_FALSE(MtPowerGridOverloaded(nullptr));
    EXPECT_EQ(MtPowerGridLoad(nullptr), 0.0f);
    MtPowerGridUse(nullptr, ride, 1.0f, 1.0f);
    EXPECT_FALSE(MtPowerGridRemove(nullptr, ride));
}

TEST_F(PowerGrid, AFreedMiddleSlotIsReusedFirstAndTheUsedCountNeverFalls) {
    for (size_t i = 0; i < 5; ++i)
        MtPowerGridUse(grid, Owner(i), 0.0f, 1.0f);
    ASSERT_EQ(grid->usedCount, 5);
    ASSERT_TRUE(MtPowerGridRemove(grid, Owner(2)));
    ASSERT_TRUE(MtPowerGridRemove(grid, Owner(4)));
    EXPECT_EQ(grid->usedCount, 5) << "freeing a slot never lowers the used count";
    MtPowerGridUse(grid, Owner(10), 0.0f, 1.0f);
    EXPECT_EQ(SlotOf(Owner(10)), 2) << "the lowest free slot first";
    MtPowerGridUse(grid, Owner(11), 0.0f, 1.0f);
    EXPECT_EQ(SlotOf(Owner(11)), 4);
    MtPowerGridUse(grid, Owner(12), 0.0f, 1.0f);
    EXPECT_EQ(SlotOf(Owner(12)), 5);
    EXPECT_EQ(grid->usedCount, 6);

    // A second Start rebuilds the table empty.
    ASSERT_EQ(grid->Start(), 1);
    EXPECT_EQ(grid->usedCount, 0);
    EXPECT_EQ(grid->demandTotal, 0.0f);
    EXPECT_EQ(SlotOf(Owner(10)), -1);
    EXPECT_FALSE(MtPowerGridRemove(grid, Owner(10)));
}

// Running totals in floats do not come back to zero when different values are added and taken
// away: a last supplier's removal left millionths of supply and a load in the millions.
TEST_F(PowerGrid, TotalsStayTheExactSumOfTheSlotsThroughTenThousandChanges) {
    CrtSrand(30);
    constexpr int kOwners = 150;
    MtPowerGridUse(grid, Owner(kOwners), 0.0f, 0.0f); // from here on the load follows the table
    for (int step = 0; step < 10000; ++step) {
        const int i = RandInt(kOwners);
        const bool supplier = i % 5 == 0;
        if (RandInt(3) == 0) {
            MtPowerGridRemove(grid, Owner((size_t)i));
        } else {
            const float supply = supplier ? RandFloat(97.3f) + 0.01f : 0.0f;
            MtPowerGridUse(grid, Owner((size_t)i), supply, RandFloat(13.7f));
        }
        float supply = 0.0f, demand = 0.0f;
        for (int s = 0; s < grid->usedCount; ++s) {
            supply += grid->slots[s].supply;
            demand += grid->slots[s].demand;
        }
        ASSERT_EQ(grid->supplyTotal, supply) << "step " << step;
        ASSERT_EQ(grid->demandTotal, demand) << "step " << step;
        const float load = supply > 0.0f ? demand / supply : 2.0f;
        ASSERT_EQ(grid->load, load) << "step " << step;
    }
    for (int i = 0; i < kOwners; i += 5)
        MtPowerGridRemove(grid, Owner((size_t)i));
    EXPECT_EQ(grid->supplyTotal, 0.0f) << "every supplier gone leaves no supply at all";
    EXPECT_EQ(grid->load, 2.0f);
}

TEST_F(PowerGrid, BadSlotCountsAreLoggedAndBounded) {
    LogCapture log(DBG_GENERAL);
    for (int bad : {0, -4, std::numeric_limits<int>::min()}) {
        grid->numSlots = bad;
        ASSERT_EQ(grid->Start(), 1);
        EXPECT_EQ(grid->numSlots, 100) << bad;
        MtPowerGridUse(grid, Owner(0), 1.0f, 0.0f);
        EXPECT_EQ(grid->supplyTotal, 1.0f);
    }
    EXPECT_NE(log.Text().find("numSlots -4"), std::string::npos) << log.Text();

    grid->numSlots = std::numeric_limits<int>::max();
    ASSERT_EQ(grid->Start(), 1);
    EXPECT_EQ(grid->numSlots, 65536) << "no table of absurd size";
    EXPECT_NE(log.Text().find("above 65536"), std::string::npos) << log.Text();
    MtPowerGridUse(grid, Owner(0), 1.0f, 0.5f);
    EXPECT_EQ(grid->load, 0.5f);
}

TEST_F(PowerGrid, NegativeValuesAreKeptAndNonNumbersBecomeZero) {
    LogCapture log(DBG_GENERAL);
    MtPowerGridUse(grid, Owner(0), -5.0f, 1.0f);
    EXPECT_EQ(grid->supplyTotal, -5.0f) << "negative values are taken as given";
    EXPECT_EQ(grid->load, 2.0f) << "a negative supply is no supply";
    MtPowerGridUse(grid, Owner(0), 10.0f, -2.0f);
    EXPECT_EQ(grid->load, -0.2f);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    MtPowerGridUse(grid, Owner(1), nan, inf);
    ASSERT_NE(SlotOf(Owner(1)), -1);
    EXPECT_EQ(grid->slots[SlotOf(Owner(1))].supply, 0.0f);
    EXPECT_EQ(grid->slots[SlotOf(Owner(1))].demand, 0.0f);
    MtPowerGridUse(grid, Owner(2), inf, -inf);
    EXPECT_EQ(grid->supplyTotal, 10.0f);
    EXPECT_EQ(grid->load, -0.2f) << "no NaN reaches the load";
    EXPECT_NE(log.Text().find("MtPowerGrid: supply nan"), std::string::npos) << log.Text();
    EXPECT_NE(log.Text().find("MtPowerGrid: demand inf"), std::string::npos) << log.Text();

    MtPowerGridUse(grid, nullptr, 100.0f, 0.0f);
    EXPECT_EQ(grid->supplyTotal, 10.0f) << "a null owner is ignored";
    EXPECT_FALSE(MtPowerGridRemove(grid, nullptr));
}

// An attraction keeps the grid in a cache and removes itself when it goes; a scene clear destroys
// siblings in order, so the grid may go first.
TEST_F(PowerGrid, AGridDestroyedFirstIsForgottenByTheRidesThatHoldIt) {
    FakeRide* ride = tree.MakeRide(grid);
    ASSERT_NE(ride, nullptr);
    MtPowerGridUse(grid, ride, 0.0f, 3.0f);
    FakeRide* careless = tree.MakeRide(grid);
    careless->checkCache = false; // even an owner that never checks its cache is told
    MtPowerGridUse(grid, careless, 0.0f, 1.0f);

    EntDestroyTree(grid);
    EXPECT_EQ(ride->grid, nullptr) << "the grid announced its removal";
    EXPECT_EQ(careless->grid, nullptr);
    EntDestroyTree(ride);
    EntDestroyTree(careless);

    // A scene clear: siblings in order, the grid before the rides.
    grid = tree.MakeGrid();
    ASSERT_EQ(grid->Start(), 1);
    for (int i = 0; i < 3; ++i)
        MtPowerGridUse(grid, tree.MakeRide(grid), 0.0f, 1.0f);
    EntDestroyChildren(tree.root);
    EXPECT_EQ(EntTreeCount(tree.root), 1);

    // A ride outside the tree hears nothing: its cache is checked before use.
    grid = tree.MakeGrid();
    ASSERT_EQ(grid->Start(), 1);
    FakeRide* alone = tree.MakeRide(grid);
    MtPowerGridUse(grid, alone, 0.0f, 1.0f);
    ASSERT_EQ(EntLinkUnder(alone, nullptr), 0);
    EntDestroyTree(grid);
    EXPECT_EQ(alone->grid, grid) << "the stale pointer is still cached";
    EXPECT_EQ(alone->RidePowerGrid(), nullptr) << "but checked before use";
    EntDestroyTree(alone);
}

} // namespace
