// The patron generator on the day harness: when patrons appear and where, the maximum after
// departures and marketing, the delay as attractions open, a missing venue, and its removal.
#include "engine/Random.h"
#include "game/Ents/AttrClass.h"
#include "game/MtGameLinks.h"
#include "game/RubeRules.h"
#include "game/VenueInfo.h"
#include "tests/game/Ents/PatronWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

TEST(RubeGen, PatronsAppearEveryDelayFromTheFirstTimeoutUntilHalfAnHourBeforeClosing) {
    PatronWorld w;
    w.OpenDay();
    RubeGen* gen = w.gen;
    ASSERT_NE(w.game->venue, nullptr);
    EXPECT_FLOAT_EQ(gen->delay, w.game->venue->delayTimer);
    EXPECT_EQ(gen->max, w.game->venue->baseRubes);
    EXPECT_EQ(gen->ceiling, w.game->venue->baseRubes + w.game->venue->extraRubes);
    ASSERT_GT(gen->max, 2);
    const float dt = w.h->options.dt;
    const int framesPerPatron = (int)std::ceil(gen->delay / dt - 1e-4f);

    int frames = 0;
    while (w.PatronsInTree() == 0 && frames < 1000) {
        w.h->Frame();
        ++frames;
    }
    EXPECT_EQ(frames, framesPerPatron) << "the first as soon as the timer runs out";
    ENTBASE* first = EntTreeFindType(w.h->root, "Rube1");
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->GetName(), "Patron 1");
    EXPECT_EQ(first->node->parent, gen->node);
    EXPECT_TRUE(first->flags & ENT_FLAG_PASSABLE);
    EXPECT_FLOAT_EQ(static_cast<Rube1*>(first)->exitPoint.x, 500.0f)
        << "no spawn points: the generator's own position";
    w.h->Frames(framesPerPatron);
    EXPECT_EQ(gen->created, 2);
    EXPECT_EQ(gen->present, w.PatronsInTree());

    // Half an hour before closing the gate shuts, with patrons still below the maximum.
    w.game->gameTime = w.game->gameVals.closingTime - 0.49f;
    const int before = gen->created;
    w.h->Frames(framesPerPatron * 3);
    EXPECT_EQ(gen->created, before);
    w.game->gameTime = 12.0f;
    w.game->dayOver = 1;
    w.h->Frames(framesPerPatron * 3);
    EXPECT_EQ(gen->created, before) << "none once the day is over";
}

TEST(RubeGen, TheTimerRunsBeforeTheDayOpensAndThePresentStayAtTheMaximum) {
    PatronWorld w;
    MtGameStartDay(w.game);
    w.gen->max = 3;
    w.h->Frames(200); // the day not open: the timer runs, nobody comes
    EXPECT_EQ(w.gen->created, 0);
    EXPECT_LT(w.gen->spawnTimer, 0.0f);
    w.h->OpenDay();
    w.h->Frame();
    EXPECT_EQ(w.gen->created, 1) << "the first appears on the first open frame";
    w.h->Frames(300);
    EXPECT_EQ(w.gen->present, 3);
    EXPECT_EQ(w.PatronsInTree(), 3);
}

TEST(RubeGen, SpawnPointsAreCountedAtEveryStartAndUsedAtRandom) {
    PatronWorld w;
    w.OpenDay(); // the venue script makes its points after starting the generator
    EXPECT_EQ(w.gen->spawnPoints, 0);
    RubeSpawnPt* a = w.AddSpawnPoint(400.0f, 400.0f);
    RubeSpawnPt* b = w.AddSpawnPoint(420.0f, 430.0f);
    EXPECT_TRUE(a->flags & ENT_FLAG_PASSABLE);
    EXPECT_FLOAT_EQ(a->worldBox[3] - a->worldBox[0], 2.0f) << "radius 1";
    MtGameStartDay(w.game);
    w.h->OpenDay();
    EXPECT_EQ(w.gen->spawnPoints, 2);
    bool usedA = false, usedB = false;
    for (int i = 0; i < 40; ++i) {
        VECTOR3 at;
        ASSERT_TRUE(MtGameRubeGenSpawnPosition(w.gen, &at));
        usedA |= at.x == a->pos.x && at.z == a->pos.z;
        usedB |= at.x == b->pos.x && at.z == b->pos.z;
        ASSERT_TRUE((at.x == a->pos.x) || (at.x == b->pos.x));
    }
    EXPECT_TRUE(usedA && usedB);
    w.h->Frames(100);
    ASSERT_GT(w.PatronsInTree(), 0);
    EXPECT_EQ(w.gen->spawnPoints, 2) << "patrons among the children are no spawn points";
}

TEST(RubeGen, DeparturesMarketingAndOpeningsMoveMaximumAndDelay) {
    PatronWorld w;
    w.OpenDay();
    w.game->gameVals.hapRubeMod = 3;
    w.gen->ceiling = 100;
    w.gen->max = 50;
    Rube1* p = w.AddPatron(450.0f, 450.0f);
    const int present = w.gen->present;
    p->happiness = -0.7f;
    EntDestroyTree(p);
    EXPECT_EQ(w.gen->present, present - 1);
    EXPECT_EQ(w.gen->max, 48);

    MtGameRubeGenAddExtra(w.gen, 9);
    EXPECT_EQ(w.gen->max, 57);
    MtGameRubeGenAddExtra(w.gen, 90);
    EXPECT_EQ(w.gen->max, 100) << "the ceiling";

    w.game->venue->delayTimer = 4.0f;
    w.gen->delay = 5.0f;
    MtGameRubeGenAdjustDelay(w.gen, 1.0f);
    MtGameRubeGenAdjustDelay(w.gen, 1.0f);
    EXPECT_FLOAT_EQ(w.gen->delay, 1.0f);
}

TEST(RubeGen, WithoutAVenueNobodyComesAndTheDelayStays) {
    PatronWorld w;
    w.game->venueId = 999;
    LogCapture log;
    w.gen->Start();
    EXPECT_NE(log.Text().find("no venue"), std::string::npos);
    EXPECT_FLOAT_EQ(w.gen->delay, 5.0f);
    EXPECT_EQ(w.gen->max, 0);
    EXPECT_EQ(w.gen->ceiling, 0);
    MtGameRubeGenAdjustDelay(w.gen, 1.0f);
    EXPECT_FLOAT_EQ(w.gen->delay, 5.0f);
    w.h->OpenDay();
    w.h->Frames(200);
    EXPECT_EQ(w.gen->created, 0);
}

TEST(RubeGen, ABadDelayTimerGivesFiveSecondsNotAPatronEveryFrame) {
    PatronWorld w;
    w.game->venue->delayTimer = std::nanf("");
    w.OpenDay();
    EXPECT_FLOAT_EQ(w.gen->delay, 5.0f);
    w.game->venue->baseRubes = 0;
    w.OpenDay();
    w.h->Frames(200);
    EXPECT_EQ(w.gen->created, 0) << "baseRubes 0: nobody";
}

TEST(RubeGen, ADestroyedGeneratorIsForgottenByTheGameAndTheAttractions) {
    PatronWorld w;
    w.OpenDay();
    ASSERT_EQ(w.game->RubeGen(), w.gen);
    LogCapture log;
    EntDestroyTree(w.gen);
    EXPECT_NE(log.Text().find("Destroying: RubeGen (RubeGen)"), std::string::npos);
    EXPECT_EQ(w.game->rubeGen, nullptr);
    EXPECT_EQ(AttrClassRubeGen(), nullptr);
    w.h->Frames(10);
}

TEST(RubeGen, TheAverageHappinessIsThatOfTheLivePatrons) {
    PatronWorld w;
    w.OpenDay();
    w.gen->max = 0;
    w.h->Frame();
    EXPECT_EQ(w.gen->averageHappiness, 0.0f) << "none: 0";
    Rube1* a = w.AddPatron(500.0f, 500.0f);
    Rube1* b = w.AddPatron(500.0f, 500.0f);
    a->happiness = 0.5f;
    b->happiness = -0.25f;
    w.gen->Update(0.0f);
    EXPECT_FLOAT_EQ(w.gen->averageHappiness, 0.125f);
    EXPECT_EQ(RubeLiveCount(), 2);
    EXPECT_EQ(RubeLiveAt(0), a) << "in creation order";
    EntDestroyTree(a);
    w.gen->Update(0.0f);
    EXPECT_FLOAT_EQ(w.gen->averageHappiness, -0.25f);
    EXPECT_EQ(RubeLiveCount(), 1);
}
