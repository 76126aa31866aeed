// Days in the default venue on the headless game application: a whole day run to its end, and
// the venue left and entered again and again.
#include "I3d/Mdl3.h"
#include "I3d/Textures.h"
#include "engine/EntTree.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "game/Ents/RubeGen.h"
#include "tests/venue/VenueFixture.h"

#include <gtest/gtest.h>

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
