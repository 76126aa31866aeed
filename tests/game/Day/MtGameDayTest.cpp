// The game object's day on the headless harness: a whole day on the shipped data, the clock's
// edges, pause and speed, the end-of-day settling, and day clocks fed bad values.
#include "engine/FrameClock.h"
#include "engine/Timers.h"
#include "game/Money.h"
#include "tests/game/Day/MtGameTestSupport.h"

#include <cmath>
#include <limits>

namespace {
// A career day at venue 0 with the bills bought, as the set-up screens leave it.
void PrepareCareerDay(MtGame* game) {
    game->mode = MTGAME_CAREER;
    MtGameSetVenue(game, 0);
    game->career.cash = 1000000;
    game->marketingFlags = MKT_BILLS;
}
} // namespace

TEST_F(MtGameTest, AHeadlessDayOnTheShippedDataRunsFromOpeningToClosing) {
    PrepareCareerDay(game);
    MtGameStartDay(game);
    h->OpenDay();
    EXPECT_FALSE(game->dayOver);
    EXPECT_TRUE(game->chargeCostsPending);

    h->Frame();
    const VenueInfo* venue = game->venueList->Get(0);
    ASSERT_NE(venue, nullptr) << "the shipped venue list is empty";
    EXPECT_EQ(game->cash, 1000000 - (venue->rent + game->gameVals.billsCost))
        << "the first frame charges the rent and the bills once";
    EXPECT_FALSE(game->chargeCostsPending);

    ASSERT_GT(h->RunToDayOver(), 0) << "the day never ended";
    const float step = h->options.dt * game->gameTimeScale;
    std::vector<float> hours;
    for (const SimEvent& e : h->Events())
        if (e.event == GE_HOURLY) hours.push_back(e.gameTime);
    ASSERT_EQ(hours.size(), 12u) << "one hourly event for each of 11:00 .. 22:00";
    for (size_t i = 0; i < hours.size(); ++i) {
        const float hour = 11.0f + (float)i;
        // The clock and the countdown round apart in float over a day: a frame either way.
        EXPECT_GE(hours[i], hour - step) << "event " << i << " came more than a frame early";
        EXPECT_LE(hours[i], hour + step + 1e-3f) << "event " << i << " came more than a frame late";
    }
    EXPECT_EQ(Closings(), 1);
    EXPECT_GT(game->gameTime, 22.5f);
    EXPECT_LE(game->gameTime, 22.5f + step + 1e-5f);
    EXPECT_EQ(game->cash, 1000000 - (venue->rent + game->gameVals.billsCost))
        << "costs are charged once per request";

    h->Frames(50);
    EXPECT_EQ(Closings(), 1) << "the stopped clock sends nothing more";
}

TEST_F(MtGameTest, TheClockWrapsOnlyPastMidnightAndClosesOnlyPastClosingTime) {
    game->gameTimeScale = 1.0f;
    game->gameVals.closingTime = 25.0f; // a clock that runs through midnight
    game->dayOver = 0;
    game->gameTime = 23.5f;
    game->Update(0.5f);
    EXPECT_EQ(game->gameTime, 24.0f) << "24.0 is still today";
    game->Update(0.5f);
    EXPECT_FLOAT_EQ(game->gameTime, 0.5f);

    game->gameVals.closingTime = 22.5f;
    game->gameTime = 22.0f;
    game->Update(0.5f);
    EXPECT_EQ(game->gameTime, 22.5f);
    EXPECT_FALSE(game->dayOver) << "a time equal to the closing time does not end the day";
    game->Update(0.25f);
    EXPECT_TRUE(game->dayOver);
    EXPECT_EQ(Closings(), 1);
}

TEST_F(MtGameTest, AFrameLongerThanAnHourSendsOneEventAndCatchesUpLater) {
    game->gameTimeScale = 1.0f;
    game->dayOver = 0;
    game->gameTime = 11.0f;
    game->hourCountdown = 1.0f;
    game->Update(2.5f);
    EXPECT_EQ(Hourly(), 1) << "one hourly event per frame at most";
    game->Update(0.01f);
    EXPECT_EQ(Hourly(), 2) << "the missed hour comes on the next frame";
    game->Update(0.01f);
    EXPECT_EQ(Hourly(), 2);
}

TEST_F(MtGameTest, TheSkyKeepsTheClosingTimeAfterTheDayEnds) {
    SimStandIn* sky = MakeStandIn(h->first, "TimeOfDay");
    PrepareCareerDay(game);
    MtGameStartDay(game);
    EXPECT_FLOAT_EQ(sky->time, game->gameVals.openingTime / 24.0f);
    h->OpenDay();
    ASSERT_GT(h->RunToDayOver(), 0);
    const float kept = sky->time;
    EXPECT_GT(kept * 24.0f, 22.5f - 2 * h->options.dt * game->gameTimeScale);
    EXPECT_LE(kept * 24.0f, 22.5f + 1e-4f);
    EXPECT_EQ(game->timeOfDay, nullptr);
    game->gameTime = 3.0f;
    h->Frames(10);
    EXPECT_EQ(sky->time, kept) << "the sky is no longer driven once the day is over";
}

TEST_F(MtGameTest, PauseStopsTheClockAndTheTimerAndRestoreBringsBackTheSpeed) {
    TestClock clock;
    AppTimer(APPTIMER_RESET);
    AppTimer(APPTIMER_START);
    MtGameSetTimerScale(game, 8.0f);
    EXPECT_EQ(h->host.clock->scale, 8 * 1024);

    MtGamePause(game);
    EXPECT_EQ(h->host.clock->scale, 0);
    const double paused = AppTimer(APPTIMER_APPTIME);
    clock.AdvanceMs(1000);
    EXPECT_DOUBLE_EQ(AppTimer(APPTIMER_APPTIME), paused) << "the application timer kept running";

    game->RestoreClockSpeed();
    EXPECT_EQ(h->host.clock->scale, 8 * 1024) << "the stored timer scale comes back";
    clock.AdvanceMs(1000);
    EXPECT_NEAR(AppTimer(APPTIMER_APPTIME), paused + 1.0, 1e-3);
}

TEST_F(MtGameTest, BadTimerScalesAreRefusedAndLogged) {
    MtGameSetTimerScale(game, 4.0f);
    MtGameSetTimerScale(game, -1.0f);
    MtGameSetTimerScale(game, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(game->timerScale, 4.0f);
    EXPECT_EQ(h->host.clock->scale, 4 * 1024);
    EXPECT_NE(h->Log().find("MtGameSetTimerScale: -1 is no speed"), std::string::npos) << h->Log();
    MtGameSetTimerScale(game, 0.0f);
    EXPECT_EQ(h->host.clock->scale, 0) << "0 is a speed: stopped";
}

TEST_F(MtGameTest, TheEndOfDaySequenceSettlesCashDaysAndUnlocks) {
    PrepareCareerDay(game);
    MtGameStartDay(game);
    h->OpenDay();
    ASSERT_GT(h->RunToDayOver(), 0);

    const std::string venuesBefore = game->career.venueUnlock;
    const std::string attrsBefore = game->career.attrUnlock;
    game->onDeposit = 300000;
    game->cash = MoneyAdd(game->cash, game->onDeposit);
    const int32_t settled = game->cash;
    MtGameNextDay(game);
    game->cash = MoneyAdd(game->cash, -game->onDeposit);
    game->career.cash = game->cash;
    MtGameStartDay(game);

    EXPECT_EQ(game->career.daysRun, 1);
    for (int i = 0; i < game->venueList->Count() && i < 127; ++i) {
        const bool open =
            venuesBefore[(size_t)i] == '+' || game->venueList->Get(i)->unlockPrice < settled;
        EXPECT_EQ(game->career.venueUnlock[i] == '+', open) << "venue " << i;
    }
    for (int i = 0; i < game->attrList->Count() && i < 127; ++i) {
        const bool open =
            attrsBefore[(size_t)i] == '+' || game->attrList->Get(i)->unlockPrice < settled;
        EXPECT_EQ(game->career.attrUnlock[i] == '+', open) << "attraction type " << i;
    }
    EXPECT_EQ(game->cash, settled - 300000) << "the new day starts from the saved career cash";
    EXPECT_TRUE(game->dayOver);
}

// ---- bad values ----

TEST_F(MtGameTest, ClosingTimesOutsideTheDayAreFixedAtStartAndActAsWrittenLater) {
    std::string data = ReadTextFile(std::string(FAIRLARK_BUILD_DATA_DIR) + "Data.ini");
    const size_t at = data.find("closingTime=22.5");
    ASSERT_NE(at, std::string::npos);
    data.replace(at, 16, "closingTime=30.0");
    DayHarness::Options options;
    options.data = DataCopy(data);
    Make(options);
    EXPECT_EQ(game->gameVals.closingTime, 22.5f);
    EXPECT_NE(h->Log().find("MtGame: closingTime 30 is not between"), std::string::npos)
        << h->Log();

    // Written after Start: at or above 24 the wrap comes first and the day never ends.
    game->gameVals.closingTime = 24.0f;
    game->gameTimeScale = 1.0f;
    game->dayOver = 0;
    game->gameTime = 23.9f;
    game->Update(0.2f);
    EXPECT_FALSE(game->dayOver);
    // At or below the opening hour the first frame ends it.
    game->gameVals.closingTime = 9.0f;
    MtGameStartDay(game);
    h->OpenDay();
    h->Frame();
    EXPECT_TRUE(game->dayOver);
}

TEST_F(MtGameTest, ATimeScaleThatIsNoPositiveNumberIsReplacedAtStart) {
    for (float bad : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        game->SetFloat("gameTimeScale", bad);
        game->Start();
        EXPECT_FLOAT_EQ(game->gameTimeScale, 1.0f / 120.0f) << bad;
    }
    EXPECT_NE(h->Log().find("MtGame: gameTimeScale"), std::string::npos);
}

TEST_F(MtGameTest, WithoutDataFilesTheDefaultsStillRunADay) {
    DayHarness::Options options;
    options.data = m_data.Path(); // empty
    Make(options);
    ASSERT_NE(game->attrList, nullptr);
    ASSERT_NE(game->venueList, nullptr);
    EXPECT_EQ(game->attrList->Count(), 1);
    EXPECT_EQ(game->venueList->Count(), 1);
    game->mode = MTGAME_SANDBOX;
    MtGameSetVenue(game, 0);
    game->cash = 5000;
    MtGameStartDay(game);
    h->OpenDay();
    EXPECT_GT(h->RunToDayOver(), 0);
    EXPECT_EQ(Closings(), 1);
}
