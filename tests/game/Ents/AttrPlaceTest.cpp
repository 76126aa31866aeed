// Placing as a player buys: the deposit paid through the day's book, the attraction named,
// stamped for the saved game and standing on the ground, its footprint marked; a taken or closed
// place takes nothing.
#include "game/Ents/AttrPlace.h"
#include "engine/EntIniLoader.h"
#include "game/AttrInfo.h"
#include "game/Ents/GroundHeight.h"
#include "game/MtGameMoney.h"
#include "game/Placement.h"
#include "tests/game/Ents/PatronWorld.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(AttrPlace, APlacedAttractionIsPaidForNamedStampedGroundedAndMarked) {
    PatronWorld w(3);
    w.OpenDay();
    w.gen->max = 0;
    w.game->cash = 100000000;
    const int type = 14;
    const AttrInfo* info = w.game->attrList->Get(type);
    ASSERT_GT(info->deposit, 0) << "the test needs a type with a deposit";
    AttrBase* a = AttrPlace(w.game, w.grid, w.h->first, info, type, 10, 10, 1);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(w.game->cash, 100000000 - info->deposit) << "the deposit was not charged";
    EXPECT_EQ(w.game->day.deposits, info->deposit) << "the deposit was not booked as one";
    EXPECT_EQ(w.game->onDeposit, info->deposit);
    EXPECT_EQ(std::strncmp(a->GetName(), "ENT~", 4), 0) << a->GetName();
    ASSERT_NE(a->sourceFile, nullptr) << "unstamped: the saved game would not write it";
    EXPECT_STREQ(a->sourceFile, ENT_SAVEGAME);
    EXPECT_EQ(a->pos.y, GameEntGroundHeight(a, &a->pos)) << "not standing on the ground";
    int w1, d1;
    PlacementFootprint(info, 1, &w1, &d1);
    EXPECT_TRUE(GameGridCellBlocked(w.grid, 11, 11));
    EXPECT_TRUE(GameGridCellBlocked(w.grid, 10 + w1, 10 + d1));
    EXPECT_FALSE(GameGridCellBlocked(w.grid, 10, 10)) << "the ring is marked";

    // The same place again, and any place once the day has closed, take nothing.
    int result = 1;
    EXPECT_EQ(AttrPlace(w.game, w.grid, w.h->first, info, type, 10, 10, 0, &result), nullptr);
    EXPECT_EQ(result, 0);
    MtGameCloseAccount(w.game);
    EXPECT_EQ(AttrPlace(w.game, w.grid, w.h->first, info, type, 40, 40, 0), nullptr);
    EXPECT_EQ(w.game->cash, 100000000 - info->deposit) << "a refused placement was charged";
    EXPECT_EQ(w.game->onDeposit, info->deposit);
}
