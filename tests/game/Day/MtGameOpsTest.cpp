// The game object's operations: daily costs, the start of a day, unlocks, ranks and difficulty,
// a new game with its venue script, hiring, preferences, and the cached entities going away.
#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "tests/game/Day/MtGameTestSupport.h"
#include "tests/support/TestSupport.h"

#include <cstring>

namespace {
int64_t AllMarketing(const GameVals& v) {
    return (int64_t)v.billsCost + v.paperCost + v.radioCost + v.tvCost;
}
} // namespace

// ---- daily costs ----

TEST_F(MtGameTest, DailyCostsChargeRentSurveyAndMarketingOncePerRequest) {
    SimStandIn* gen = MakeStandIn(h->first, "RubeGen");
    MtGameSetVenue(game, 0);
    game->venueList->Get(0)->extraRubes = 10;
    MtGameStartDay(game);
    const GameVals& v = game->gameVals;
    const int32_t rent = game->venue->rent;

    game->cash = 10000000;
    game->surveyBought = 1;
    game->marketingFlags = MKT_BILLS | MKT_PAPER | MKT_RADIO | MKT_TV;
    game->chargeCostsPending = 1;
    game->Update(0.0f);
    EXPECT_EQ(game->cash, 10000000 - (rent + v.surveyCost + AllMarketing(v)));
    EXPECT_EQ(gen->extraCalls, std::vector<int>{9}) << "2 + 4 + 2 + 1 extra patrons";
    game->Update(0.0f);
    EXPECT_EQ(game->cash, 10000000 - (rent + v.surveyCost + AllMarketing(v)))
        << "a second update must not charge again";

    // Each medium alone: a quarter, 0.4, a fifth and 0.15 of the venue's extras, truncated.
    game->surveyBought = 0;
    const int expected[] = {2, 4, 2, 1};
    for (int bit = 0; bit < 4; ++bit) {
        gen->extraCalls.clear();
        game->marketingFlags = 1u << bit;
        game->chargeCostsPending = 1;
        game->Update(0.0f);
        EXPECT_EQ(gen->extraCalls, std::vector<int>{expected[bit]}) << "bit " << bit;
    }

    game->cash = 100;
    game->marketingFlags = MKT_TV;
    game->chargeCostsPending = 1;
    game->Update(0.0f);
    EXPECT_EQ(game->cash, 0) << "a cost above the cash leaves exactly 0";
}

TEST_F(MtGameTest, WithoutAVenueThereIsNoRentButSurveyAndMarketingAreCharged) {
    for (int index : {99, -1}) {
        MtGameSetVenue(game, index);
        EXPECT_EQ(game->venue, nullptr);
        EXPECT_EQ(MtGameVenuePower(game), 0.0f);
        game->cash = 1000000;
        game->surveyBought = 1;
        game->marketingFlags = MKT_BILLS;
        game->chargeCostsPending = 1;
        game->Update(0.0f);
        EXPECT_EQ(game->cash, 1000000 - game->gameVals.surveyCost - game->gameVals.billsCost);
    }
    EXPECT_NE(h->Log().find("MtGame: no venue 99"), std::string::npos) << h->Log();
    MtGameSetVenue(game, 0);
    EXPECT_EQ(MtGameVenuePower(game), game->venueList->Get(0)->powerSupply);
}

TEST_F(MtGameTest, ANegativeLoadedCashIsKeptAndChargesStillFloorAtZero) {
    game->mode = MTGAME_SANDBOX;
    ASSERT_TRUE(game->SetInt("cash", -500));
    MtGameSetVenue(game, 0);
    MtGameStartDay(game);
    EXPECT_EQ(game->cash, -500);
    game->chargeCostsPending = 1;
    game->Update(0.0f);
    EXPECT_EQ(game->cash, 0);
}

// ---- the start of a day ----

TEST_F(MtGameTest, StartingADayResetsAttractionsRemovesPatronsAndCachesTheDayEntities) {
    SimStandIn* ride = MakeStandIn(h->first, "AttrBase", "Ride");
    SimStandIn* stand = MakeStandIn(ride, "AttrBase", "Stand"); // below another attraction
    SimStandIn* patron = MakeStandIn(h->first, "Rube1", "Patron 0");
    SimStandIn* inner = MakeStandIn(patron, "Rube1", "Patron 1");
    SimStandIn* held = MakeStandIn(patron, "AttrBase", "Held"); // a patron's own child
    SimStandIn* gen = MakeStandIn(h->first, "RubeGen");
    SimStandIn* sky = MakeStandIn(h->world, "TimeOfDay");
    game->mode = MTGAME_CAREER;
    game->career.cash = 777777;
    game->cash = 5;
    game->timerScale = 8.0f;
    game->chargeCostsPending = 1;
    game->dayOver = 0;

    MtGameStartDay(game);
    EXPECT_EQ(ride->startOfDays, 1);
    EXPECT_EQ(stand->startOfDays, 1);
    EXPECT_FALSE(EntIsLive(patron));
    EXPECT_FALSE(EntIsLive(inner));
    EXPECT_FALSE(EntIsLive(held)) << "a patron goes with everything it holds";
    EXPECT_EQ(game->gameTime, game->gameVals.openingTime);
    EXPECT_EQ(game->hourCountdown, 1.0f);
    EXPECT_TRUE(game->dayOver) << "the clock waits for the in-game screen";
    EXPECT_EQ(game->timerScale, 1.0f);
    EXPECT_EQ(h->host.clock->scale, 1024);
    EXPECT_FALSE(game->chargeCostsPending);
    EXPECT_EQ(game->timeOfDay, sky);
    EXPECT_EQ(game->rubeGen, gen);
    EXPECT_EQ(gen->starts, 1);
    EXPECT_FLOAT_EQ(sky->time, game->gameTime / 24.0f);
    EXPECT_EQ(game->cash, 777777) << "a career day starts from the saved career cash";

    // The scripts' StartNewDay reaches the same operation.
    game->gameTime = 15.0f;
    game->dayOver = 0;
    const std::string script = h->dir / "StartDay.lua";
    WriteTextFile(script, "Entity.StartNewDay(Entity.FindName(Game.GetRootEntity(), 'Game'))\n");
    EXPECT_EQ(h->host.RunScriptFile(script.c_str()), 1);
    EXPECT_EQ(game->gameTime, game->gameVals.openingTime);
    EXPECT_TRUE(game->dayOver);
    EXPECT_EQ(gen->starts, 2);
}

TEST_F(MtGameTest, StartingADayWithoutGeneratorOrSkySkipsThoseSteps) {
    MtGameStartDay(game);
    EXPECT_EQ(game->timeOfDay, nullptr);
    EXPECT_EQ(game->rubeGen, nullptr);
    h->OpenDay();
    h->Frames(10);
    MtGameStartDay(h->root); // not a game object
    EXPECT_NE(h->Log().find("MtGameStartDay: Root is no game object"), std::string::npos);
}

// ---- unlocks, ranks, difficulty ----

TEST_F(MtGameTest, UnlocksNeedMoreThanThePriceAndNeverTurnBack) {
    int type = -1;
    for (int i = 0; i < game->attrList->Count() && type < 0; ++i)
        if (game->career.attrUnlock[i] == '-' && game->attrList->Get(i)->unlockPrice > 0) type = i;
    ASSERT_GE(type, 0) << "the shipped data has no locked attraction type with a price";
    const int price = game->attrList->Get(type)->unlockPrice;
    MtGameCheckUnlocks(game, price);
    EXPECT_EQ(game->career.attrUnlock[type], '-') << "cash equal to the price unlocks nothing";
    MtGameCheckUnlocks(game, price + 1);
    EXPECT_EQ(game->career.attrUnlock[type], '+');
    MtGameCheckUnlocks(game, 0);
    EXPECT_EQ(game->career.attrUnlock[type], '+') << "an unlock never turns back";
}

TEST_F(MtGameTest, UnlockStringsStayInsideTheirFieldsAndArePadded) {
    auto replaceTypes = [&](int count) {
        delete game->attrList;
        game->attrList = new AttrInfoList;
        game->attrList->records = new AttrInfo[(size_t)count];
        game->attrList->count = count;
        for (int i = 0; i < count; ++i)
            game->attrList->Get(i)->unlockPrice = 0;
    };
    replaceTypes(200);
    game->career.attrUnlock[128] = 'Z'; // past the terminator of a 127-character string
    MtGameCheckUnlocks(game, 1);
    EXPECT_EQ(std::string(game->career.attrUnlock), std::string(127, '+'));
    EXPECT_EQ(game->career.attrUnlock[128], 'Z') << "an unlock was written past character 126";

    replaceTypes(10);
    std::strcpy(game->career.attrUnlock, "+-+");
    MtGameCheckUnlocks(game, 0);
    EXPECT_EQ(std::string(game->career.attrUnlock), "+-+-------")
        << "a short loaded string is padded so the next save keeps every type";
    MtGameCheckUnlocks(game, 1);
    EXPECT_EQ(std::string(game->career.attrUnlock), std::string(10, '+'));
}

TEST_F(MtGameTest, RanksFollowTheThresholds) {
    DayHarness::Options options;
    options.data = m_data.Path(); // no files: the record's defaults
    Make(options);
    const struct {
        int value;
        const char16_t* title;
    } cases[] = {{19999, u"Novice"},  {20000, u"Commander"}, {49999, u"Commander"},
                 {50000, u"Magnate"}, {100000, u"Vantor"},   {-5, u"Novice"}};
    for (const auto& c : cases)
        EXPECT_EQ(std::u16string(MtGameRankName(game, c.value)), c.title) << c.value;

    Make(DayHarness::Options{}); // the shipped names and thresholds
    EXPECT_EQ(std::u16string(MtGameRankName(game, game->gameVals.tierAchievement[3])), u"Vantor");
}

// A locked row names the rank the player has when the row opens: at its "unlockPrice" plus a
// cent the row is unlocked and that rank is reached; a cent below the price the rank is lower.
TEST_F(MtGameTest, ALockedTypeOrVenueNamesTheRankThatUnlocksIt) {
    const std::u16string start = MtGameRankName(game, game->cash);
    auto check = [&](int price, const char16_t* name) {
        if (price <= 0) return;
        const std::u16string label = MtGameRankName(game, price);
        EXPECT_NE(label, start) << Narrow(name) << ": labelled with the rank a new career has";
        EXPECT_EQ(std::u16string(MtGameRankName(game, price + 1)), label) << Narrow(name);
        EXPECT_NE(std::u16string(MtGameRankName(game, price - 1)), label)
            << Narrow(name) << " (" << price << ") opens before its rank is reached";
    };
    for (int i = 0; i < game->attrList->Count(); ++i)
        check(game->attrList->Get(i)->unlockPrice, game->attrList->Get(i)->name);
    for (int i = 0; i < game->venueList->Count(); ++i)
        check(game->venueList->Get(i)->unlockPrice, game->venueList->Get(i)->name);
    // The catalogue's first step: the carousel opens at $15,000 with "Commander".
    const AttrInfo* carousel = nullptr;
    for (int i = 0; i < game->attrList->Count(); ++i)
        if (std::u16string(game->attrList->Get(i)->name) == u"Carousel")
            carousel = game->attrList->Get(i);
    ASSERT_NE(carousel, nullptr);
    EXPECT_EQ(std::u16string(MtGameRankName(game, carousel->unlockPrice)), u"Commander");
}

TEST_F(MtGameTest, DifficultySelectsWearFactorAndCashMultiplier) {
    GameVals& v = game->gameVals;
    v.maintFactEasy = 0.5f;
    v.maintFactMed = 1.0f;
    v.maintFactHard = 2.0f;
    const float wear[] = {0.5f, 1.0f, 2.0f, 1.0f};
    const int levels[] = {0, 1, 2, 7};
    for (int i = 0; i < 4; ++i) {
        MtGameSetDifficulty(game, levels[i]);
        EXPECT_EQ(game->degRateFact, wear[i]) << "difficulty " << levels[i];
    }
    game->mode = MTGAME_CAREER;
    const int mult[] = {12, 10, 8};
    for (int d = 0; d < 3; ++d) {
        game->career.difficulty = d;
        EXPECT_EQ(MtGameCashMult(game), mult[d]) << "difficulty " << d;
    }
    game->mode = MTGAME_SANDBOX;
    game->career.difficulty = 0;
    EXPECT_EQ(MtGameCashMult(game), v.cashMult[GV_MEDIUM]);
}

// ---- a new game and hiring ----

TEST_F(MtGameTest, ANewSandboxGameResetsTheCareerAndRunsTheVenueScript) {
    DayHarness::Options options;
    options.data = DataCopy();
    WriteTextFile(m_data / "Venues/Test.lua", "System.OutputDebugString('venue script ran\\n')\n");
    Make(options);
    game->mode = MTGAME_SANDBOX;
    std::strcpy(game->career.name, "Someone");
    game->career.difficulty = 2;
    game->gameVals.maintFactMed = 0.7f;
    game->cash = 3;
    game->onDeposit = 400;
    game->carnyCounter = 5;
    std::strcpy(game->scriptPath, "Venues\\Test.lua");

    testing::internal::CaptureStderr();
    EXPECT_TRUE(MtGameNewGame(game));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("venue script ran"), std::string::npos) << said;
    EXPECT_EQ(game->cash, 1000000);
    EXPECT_EQ(game->onDeposit, 0);
    EXPECT_STREQ(game->career.name, "Player 1");
    EXPECT_EQ(game->degRateFact, 0.7f) << "the reset career's medium difficulty";
    EXPECT_EQ(game->carnyCounter, 0);

    game->scriptPath[0] = 0;
    EXPECT_FALSE(MtGameStartVenue(game)) << "no script ran, so no world will report itself built";
    EXPECT_FALSE(MtGameNewGame(game));

    // A script that does not load, or fails before its first wait, did not run either.
    std::strcpy(game->scriptPath, "Venues\\Bad.lua");
    WriteTextFile(m_data / "Venues/Bad.lua", "this is not lua\n");
    EXPECT_FALSE(MtGameNewGame(game));
    WriteTextFile(m_data / "Venues/Bad.lua", "error('no world here')\n");
    EXPECT_FALSE(MtGameNewGame(game));
    WriteTextFile(m_data / "Venues/Bad.lua", "Script.WaitFrame(1)\nerror('later')\n");
    EXPECT_TRUE(MtGameNewGame(game)) << "an error after the first wait is the world's to report";
    EXPECT_NE(h->Log().find("MtGameStartVenue: no venue script"), std::string::npos);
}

TEST_F(MtGameTest, HiringNeedsAGeneratorAndACarnyClass) {
    MtGameHireCarny(game);
    MtGameHireCarny(game);
    EXPECT_EQ(game->carnyCounter, 0);
    SimStandIn* gen = MakeStandIn(h->first, "RubeGen");
    MtGameStartDay(game);
    MtGameHireCarny(game);
    EXPECT_EQ(game->carnyCounter, 0) << "no carny was made, so no name was used";
    EXPECT_EQ(gen->node->firstChild, nullptr);
    EXPECT_NE(h->Log().find("MtGameHireCarny: no carny made"), std::string::npos);
}

// ---- preferences ----

TEST_F(MtGameTest, PreferencesReachTheCameraAndPatronsAndAreSavedAtTheEnd) {
    SimStandIn* camera = MakeStandIn(h->world, "CameraVantor1");
    game->prefs.edgeScrollSpeed = 0.5f;
    game->prefs.edgeScrollRegion = 2.0f;
    game->prefs.patronVisDist = 0.25f;
    MtGameApplyPrefs(game);
    EXPECT_FLOAT_EQ(camera->floats["scrollSpeedX"], 100.0f);
    EXPECT_FLOAT_EQ(camera->floats["scrollSpeedZ"], 100.0f);
    EXPECT_FLOAT_EQ(camera->floats["scrollZonePct"], 0.03f);
    EXPECT_FLOAT_EQ(g_patronDrawDistance, 128.0f);

    const std::string config = h->dir / "home/Documents/Fairlark/Config.ini";
    WriteTextFile(config, "[Xq Config]\nwindowed=1\n");
    EntDestroyTree(game);
    const std::string saved = ReadTextFile(config);
    EXPECT_NE(saved.find("[Prefs]"), std::string::npos) << saved;
    EXPECT_NE(saved.find("windowed=1"), std::string::npos) << "the engine's section was lost";
}

// ---- cached entities going away, net worth ----

TEST_F(MtGameTest, ADestroyedSkyOrGeneratorIsForgottenMidDay) {
    SimStandIn* sky = MakeStandIn(h->first, "TimeOfDay");
    SimStandIn* gen = MakeStandIn(h->first, "RubeGen");
    MtGameStartDay(game);
    h->OpenDay();
    h->Frame();
    EntDestroyTree(sky); // nothing tells the game: the life test must catch it
    h->Frames(100);
    EXPECT_EQ(game->timeOfDay, nullptr);

    EntTreeNotifyRemoved(h->root, gen);
    EXPECT_EQ(game->rubeGen, nullptr) << "the removal report clears the cache at once";
    game->rubeGen = gen;
    EntDestroyTree(gen);
    h->Frames(100);
    MtGameHireCarny(game);
    EXPECT_EQ(game->carnyCounter, 0);
    game->chargeCostsPending = 1;
    h->Frame();
}

TEST_F(MtGameTest, NetWorthSumsAttractionsAndSaturates) {
    SimStandIn* a = MakeStandIn(h->first, "AttrBase");
    SimStandIn* b = MakeStandIn(a, "AttrBase");
    MakeStandIn(h->first, "Rube1")->value = 999; // not an attraction
    a->value = 150000;
    b->value = 50000;
    int32_t sum = 10;
    MtGameSumAttrValue(h->root, &sum);
    EXPECT_EQ(sum, 200010);
    a->value = b->value = INT32_MAX;
    sum = 0;
    MtGameSumAttrValue(h->root, &sum);
    EXPECT_EQ(sum, INT32_MAX) << "a large carnival must not wrap the net worth";
}
