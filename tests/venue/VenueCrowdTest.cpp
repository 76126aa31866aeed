// A whole day in the default venue through the game application at the fastest speed: a sensible
// layout by the way in (a ticket booth, restrooms, two food stands, two trash cans, three rides,
// a game and a carny) keeps at 20:00 at least half its midday crowd, its stands' wrappers fall
// and the carny sweeps them.
#include "engine/EntTree.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "game/Ents/RubeGen.h"
#include "tests/venue/VenueFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <unordered_set>

TEST_F(VenueTest, ASensibleLayoutKeepsItsEveningCrowdAndItsLitterIsSwept) {
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    MtGame* game = venue.Game();
    auto* grid = static_cast<GameGrid*>(EntTreeFindType(app.world.Get(), "GameGrid"));
    ASSERT_NE(grid, nullptr);
    int cx = 0, cz = 0;
    VenueDriver::CellAt(grid, 440.0f, 400.0f, &cx, &cz);
    for (int type : {23, 24, 2, 0, 12, 12, 14, 57, 26, 45}) {
        const AttrInfo* info = game->attrList->Get(type);
        ASSERT_NE(info, nullptr);
        ASSERT_NE(venue.Place(type, cx, cz), nullptr) << "type " << type;
        cx += info->footX + 2;
    }
    venue.OpenDay();
    MtGameHireCarny(game);
    venue.Speed(8.0f);
    auto* gen = static_cast<RubeGen*>(EntTreeFindType(app.world.Get(), "RubeGen"));
    ASSERT_NE(gen, nullptr);
    int present[24] = {};
    int hour = (int)game->gameTime, littered = 0, swept = 0;
    std::unordered_set<uint64_t> litter;
    for (int frames = 0; frames < 20000 && venue.observer->Count(29) == 0; ++frames) {
        venue.frame();
        if ((int)game->gameTime != hour && (hour = (int)game->gameTime) < 24)
            present[hour] = gen->present;
        ENTBASE* pieces[1024];
        const int n = EntFindAllOfType(app.world.Get(), "Litter", pieces, 1024);
        std::unordered_set<uint64_t> now;
        for (int i = 0; i < n; ++i) {
            now.insert(EntSerialOf(pieces[i]));
            littered += litter.count(EntSerialOf(pieces[i])) == 0;
        }
        for (uint64_t serial : litter)
            swept += now.count(serial) == 0;
        litter.swap(now);
    }
    ASSERT_EQ(venue.observer->Count(29), 1) << "the day did not end";
    int peak = 0;
    std::printf("present:");
    for (int h = 11; h <= 22; ++h) {
        std::printf(" %i:00 %i", h, present[h]);
        if (h <= 14) peak = std::max(peak, present[h]);
    }
    std::printf("\nlitter %i, swept %i\n", littered, swept);
    EXPECT_GE(peak, 5);
    EXPECT_GE(2 * present[20], peak) << "the evening crowd is gone";
    EXPECT_GT(littered, 0);
    EXPECT_GT(swept, 0);
}
