// The power grid's start beside the game object: the venue's supply registered in the game
// object's slot, and again, alone, in a table rebuilt by a second start.
#include "game/MtPowerGrid.h"
#include "tests/game/Day/MtGameTestSupport.h"

#include <memory>

TEST_F(MtGameTest, TheGridRegistersTheVenueSupplyAtEachStart) {
    MtGameSetVenue(game, 1);
    ASSERT_NE(game->venue, nullptr);
    const float supply = game->venue->powerSupply;
    ASSERT_GT(supply, 0.0f);
    EntCreateClass(EcMtPowerGridProc, 0, 0);
    auto* grid = static_cast<MtPowerGrid*>(EntCreateChild("MtPowerGrid", h->world));
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->Start(), 1);
    ASSERT_EQ(grid->usedCount, 1);
    EXPECT_EQ(grid->slots[0].owner, game);
    EXPECT_EQ(grid->slots[0].supply, supply);
    EXPECT_EQ(grid->slots[0].demand, 0.0f);
    EXPECT_EQ(grid->load, 0.0f);

    ENTBASE ride;
    MtPowerGridUse(grid, &ride, 0.0f, supply * 2.0f);
    EXPECT_TRUE(MtPowerGridOverloaded(grid));

    MtGameSetVenue(game, 0);
    ASSERT_EQ(grid->Start(), 1);
    EXPECT_EQ(grid->usedCount, 1) << "the table starts again empty";
    EXPECT_EQ(grid->supplyTotal, game->venue->powerSupply) << "the new venue's supply";
    EXPECT_EQ(grid->demandTotal, 0.0f);
    EXPECT_FALSE(MtPowerGridRemove(grid, &ride));

    // Without a game object the grid starts with no supply at all.
    EntDestroyTree(game);
    ASSERT_EQ(grid->Start(), 1);
    EXPECT_EQ(grid->usedCount, 0);
    MtPowerGridUse(grid, &ride, 0.0f, 1.0f);
    EXPECT_EQ(grid->load, 2.0f);
}
