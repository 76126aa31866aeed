// A whole day of patrons on the shipped data with no kernel: venue 0, a new career's unlocked
// attractions placed as the placing screen does, two spawn points, then a drain. Every frame the
// generator's counts agree with the tree, its maximum stays in bounds and holds every patron it
// makes; at the end everybody has gone home, and a second run of the same seed repeats the hours
// exactly.
#include "game/Career.h"
#include "game/Ents/AttrPlace.h"
#include "game/Placement.h"
#include "game/VenueInfo.h"
#include "tests/game/Ents/PatronWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {
using Hour = std::array<int, 3>; // created, present, maximum

std::vector<Hour> RunDay(uint32_t seed) {
    PatronWorld w(seed);
    MtGame* game = w.game;
    Career career;
    career.Reset();
    int cx = 0, cz = 0, placed = 0;
    for (int type = 0; type < game->attrList->Count(); ++type) {
        if (career.attrUnlock[type] != '+') continue;
        const AttrInfo* info = game->attrList->Get(type);
        int fw, fd;
        PlacementFootprint(info, 0, &fw, &fd);
        if (cx + fw + 2 > 60) {
            cx = 0;
            cz += 12;
        }
        if (AttrPlace(game, w.grid, w.h->first, info, type, cx, cz, 0)) ++placed;
        cx += fw + 1;
    }
    EXPECT_GT(placed, 0);
    w.AddSpawnPoint(384.0f + 100.5f * 2.0f, 384.0f + 100.5f * 2.0f);
    w.AddSpawnPoint(384.0f + 120.5f * 2.0f, 384.0f + 90.5f * 2.0f);
    w.OpenDay();
    const VenueInfo* venue = game->venue;
    const int lo = std::min(venue->baseRubes, 5);
    const int hi = std::max(5, venue->baseRubes + venue->extraRubes);

    std::vector<Hour> hours;
    int lastHour = (int)game->gameTime;
    int peak = 0;
    auto check = [&](bool open) {
        const int before = w.gen->created;
        const float time = game->gameTime;
        const bool wasOver = game->dayOver != 0;
        w.h->Frame();
        const int present = w.PatronsInTree();
        peak = std::max(peak, present);
        EXPECT_EQ(w.gen->present, present);
        // Unhappy departures lower the maximum under the patrons still present; the
        // generator only makes none while it is reached.
        if (w.gen->created > before) {
            EXPECT_LE(present, w.gen->max);
        }
        EXPECT_GE(w.gen->max, lo);
        EXPECT_LE(w.gen->max, hi);
        if (wasOver || time > game->gameVals.closingTime - 0.5f) {
            EXPECT_EQ(w.gen->created, before) << "a patron after the gate shut";
        }
        if (open && (int)game->gameTime != lastHour) {
            lastHour = (int)game->gameTime;
            hours.push_back({w.gen->created, present, w.gen->max});
        }
    };
    int frames = 0;
    while (!game->dayOver && frames++ < 40000 && !testing::Test::HasFailure())
        check(true);
    EXPECT_TRUE(game->dayOver);
    for (int i = 0; i < (int)(1500.0f / w.h->options.dt) && !testing::Test::HasFailure(); ++i)
        check(false);
    EXPECT_GT(peak, 5) << "the day drew a crowd";
    EXPECT_EQ(w.PatronsInTree(), 0) << "patrons still in the carnival after the drain";
    EXPECT_EQ(w.gen->present, 0);
    return hours;
}
} // namespace

TEST(PatronDay, AWholeShippedDayKeepsItsCountsAndEveryoneGoesHome) {
    const std::vector<Hour> first = RunDay(1);
    EXPECT_GE(first.size(), 10u);
    EXPECT_EQ(RunDay(1), first) << "the same seed, another day";
    RunDay(2);
    RunDay(3);
}
