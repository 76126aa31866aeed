// Days in the default venue on the headless game application: a whole day run to its end, three
// days in one run, and the venue left and entered again and again.
#include "I3d/Mdl3.h"
#include "I3d/Textures.h"
#include "engine/EntTree.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "game/Ents/RubeGen.h"
#include "tests/support/HeapInUse.h"
#include "tests/support/TestSupport.h"
#include "tests/venue/VenueFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

int ModelsLoaded() {
    int n = 0;
    for (MDL3* m = Mdl3List(); m; m = m->next)
        ++n;
    return n;
}

int TexturesInUse() {
    int used = 0;
    for (int i = 0; i < I3dTexCount(); ++i)
        if (const I3dTexSlot* slot = I3dTexGetSlot(i)) used += slot->count > 0;
    return used;
}

// A ticket booth, a soda stand, a hot dog stand, a trash can and a carousel by the way in.
std::vector<AttrBase*> PlaceFive(VenueDriver& venue, GameGrid* grid) {
    std::vector<AttrBase*> placed;
    const int types[] = {23, 0, 2, 12, 18};
    int cx = 0, cz = 0;
    VenueDriver::CellAt(grid, 470.0f, 410.0f, &cx, &cz);
    for (int type : types) {
        if (AttrBase* a = venue.Place(type, cx, cz)) placed.push_back(a);
        cx += 10;
    }
    return placed;
}

TEST_F(VenueTest, ADayRunsToItsEndWithPatronsAndTakings) {
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    MtGame* game = venue.Game();
    auto* grid = static_cast<GameGrid*>(EntTreeFindType(app.world.Get(), "GameGrid"));
    ASSERT_NE(grid, nullptr);
    const std::vector<AttrBase*> placed = PlaceFive(venue, grid);
    ASSERT_EQ(placed.size(), 5u);
    game->gameVals.closingTime = 12.0f;
    const int cash = game->cash;
    venue.OpenDay();
    venue.Speed(4.0f);
    int frames = 0;
    while (frames < 20000 && venue.observer->Count(29) == 0) {
        venue.frame();
        ++frames;
    }
    Frames(10);
    std::printf("the day ended after %i frames; cash %i -> %i\n", frames, cash, game->cash);
    EXPECT_GE(venue.observer->Count(28), 1);
    EXPECT_EQ(venue.observer->Count(29), 1);
    auto* gen = static_cast<RubeGen*>(EntTreeFindType(app.world.Get(), "RubeGen"));
    ASSERT_NE(gen, nullptr);
    EXPECT_GE(gen->created, 1);
    for (AttrBase* a : placed)
        EXPECT_FALSE(a->powerFailure) << a->GetName();
    EXPECT_NE(game->cash, cash);
}

// Each day is run as the HUD's Start opens it and the end of day's "another day" closes it, the
// patrons drawn by the application's own render every frame: what the heap holds once a day's
// crowd has gone is about what it held after the first day.
TEST_F(VenueTest, ThreeDaysInOneRunEndWithinATenthOfTheFirstDaysMemory) {
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    MtGame* game = venue.Game();
    auto* grid = static_cast<GameGrid*>(EntTreeFindType(app.world.Get(), "GameGrid"));
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(PlaceFive(venue, grid).size(), 5u);
    MtGameHireCarny(game);
    ASSERT_NE(EntTreeFindType(app.world.Get(), "Carny"), nullptr) << "the carny was not hired";
    game->gameVals.closingTime = 12.0f;
    size_t after[3] = {};
    for (int day = 0; day < 3; ++day) {
        venue.OpenDay();
        venue.Speed(4.0f);
        auto* gen = static_cast<RubeGen*>(EntTreeFindType(app.world.Get(), "RubeGen"));
        ASSERT_NE(gen, nullptr);
        int frames = 0, peak = 0;
        while (frames < 20000 && venue.observer->Count(29) == day) {
            venue.frame();
            peak = std::max(peak, gen->present);
            ++frames;
        }
        ASSERT_EQ(venue.observer->Count(29), day + 1) << "day " << day << " did not end";
        EXPECT_GE(peak, 5) << "day " << day << " drew no crowd";
        MtGameNextDay(game);
        MtGameStartDay(game);
        Frames(10);
        EXPECT_EQ(gen->present, 0) << "day " << day << ": patrons stayed into the next";
        after[day] = HeapBytesInUse();
        std::printf("day %i: %i frames, a crowd of %i at most, %zu bytes in use after it\n",
                    day + 1, frames, peak, after[day]);
    }
    const double grown = double(after[2]) / double(after[0]) - 1.0;
    std::printf("after day 3: %+.2f %% of after day 1\n", grown * 100.0);
    EXPECT_LE(grown, 0.10) << after[2] << " bytes after day 3, " << after[0] << " after day 1";
}

TEST_F(VenueTest, LeavingAndEnteringFiveTimesFreesWhatEachVisitTook) {
    StartGame();
    int slots = -1, models = -1;
    for (int visit = 0; visit < 5; ++visit) {
        ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX)) << "visit " << visit;
        auto* grid = static_cast<GameGrid*>(EntTreeFindType(app.world.Get(), "GameGrid"));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(PlaceFive(venue, grid).size(), 5u) << "visit " << visit;
        venue.OpenDay();
        Frames(100);
        venue.Leave([this] { app.ClearScene(); });
        Frames(2);
        EXPECT_EQ(EntTreeFindName(app.world.Get(), "Terrain"), nullptr);
        const int used = TexturesInUse(), loaded = ModelsLoaded();
        if (slots < 0) slots = used, models = loaded;
        EXPECT_EQ(used, slots) << "visit " << visit;
        EXPECT_EQ(loaded, models) << "visit " << visit;
        // Classes are reset on leaving: the observer's class comes back with the next visit.
        if (!venue.observer || !EntIsLive(venue.observer))
            venue.observer = VenueObserverMake(venue.root);
    }
}

} // namespace
