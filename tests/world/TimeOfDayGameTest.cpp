// The time of day under the real game object on the headless day harness: the game clock drives
// it, and a time of day destroyed while the game object caches it (a script clearing the scene
// some other way than the end of the day) is forgotten, not written into.
#include "game/MtGame.h"
#include "tests/sim/DayHarness.h"
#include "world/EntTimeOfDay.h"

#include <gtest/gtest.h>

namespace {

TEST(TimeOfDayGame, TheGameClockDrivesItAndItsRemovalIsHeard) {
    DayHarness h;
    ASSERT_EQ(EntCreateClass(EcTimeOfDayProc, 0, 0), 0);
    auto* tod = static_cast<EntTimeOfDay*>(EntCreateChild("TimeOfDay", h.world));
    ASSERT_NE(tod, nullptr);
    tod->SetName("TimeOfDay");
    tod->Start();
    MtGameStartDay(h.game);
    ASSERT_EQ(h.game->timeOfDay, tod);
    EXPECT_FLOAT_EQ(tod->time, h.game->gameVals.openingTime / 24.0f);
    h.OpenDay();
    h.Frames(3);
    // Its own clock adds its step after the game object's write.
    EXPECT_NEAR(tod->time, h.game->gameTime * 0.041666668f, 1e-5f);

    EntDestroyTree(tod);
    EXPECT_EQ(h.game->timeOfDay, nullptr) << "the removal was not announced to the game object";
    h.Frames(10); // would write into the freed entity
    EXPECT_EQ(h.game->TimeOfDay(), nullptr);
}

} // namespace
