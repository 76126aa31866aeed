// The attraction's cycle with fake patrons: when a cycle starts, who boards and who is told what,
// the full round with the animator, closing, reopening, and patrons that vanish mid-cycle.
#include "game/RideAnimCore.h"
#include "tests/game/Ents/AttrTestSupport.h"

#include <algorithm>
#include <string>

namespace {
std::vector<int> Compressed(const std::vector<int>& seen) {
    std::vector<int> out;
    for (int s : seen)
        if (out.empty() || out.back() != s) out.push_back(s);
    return out;
}
} // namespace

TEST_F(AttrTest, AFullLineStartsAtOnceAndALonePatronWaitsOutTheTimer) {
    AttrBase* full = Place(T_RIDE, "Full");
    std::vector<FakePatron*> four;
    for (int i = 0; i < 4; ++i) {
        four.push_back(Patron());
        ASSERT_TRUE(AttrBaseJoinQueue(full, four.back()));
    }
    full->Update(0.25f);
    EXPECT_EQ(full->attrState, ATTR_BOARDING) << "a line of exactly capacity must not wait";
    EXPECT_EQ(AttrBaseRiderCount(full), 4);
    EXPECT_EQ(AttrBaseQueueCount(full), 0);

    AttrBase* alone = Place(T_RIDE, "Alone");
    FakePatron* p = Patron();
    ASSERT_TRUE(AttrBaseJoinQueue(alone, p));
    Frames(alone, 40, 0.25f); // the 10 s run down to exactly 0
    EXPECT_EQ(alone->attrState, ATTR_LOADING) << "boarded before the waiting time ran out";
    alone->Update(0.25f);
    EXPECT_EQ(alone->attrState, ATTR_BOARDING);
    EXPECT_EQ(p->places, (std::vector<int>{0, ATTR_PLACE_BOARD}));
}

TEST_F(AttrTest, CapacityOneBoardsTheFrontAndMovesTheOthersUp) {
    AttrBase* attr = Place(T_SOLO);
    FakePatron* a = Patron();
    FakePatron* b = Patron();
    FakePatron* c = Patron();
    for (FakePatron* p : {a, b, c})
        ASSERT_TRUE(AttrBaseJoinQueue(attr, p));
    attr->Update(0.1f);
    EXPECT_EQ(a->places, (std::vector<int>{0, ATTR_PLACE_BOARD}));
    EXPECT_EQ(b->places, (std::vector<int>{1, 0}));
    EXPECT_EQ(c->places, (std::vector<int>{2, 1}));
    EXPECT_EQ(AttrBaseRiderCount(attr), 1);
    EXPECT_EQ(AttrBaseQueueCount(attr), 2);
}

TEST_F(AttrTest, BoardingEndsOnlyWhenEveryRiderHasSat) {
    AttrBase* attr = Place(T_RIDE);
    std::vector<FakePatron*> riders;
    for (int i = 0; i < 4; ++i) {
        riders.push_back(Patron(false));
        AttrBaseJoinQueue(attr, riders.back());
    }
    attr->Update(0.1f);
    ASSERT_EQ(attr->ridersToBoard, 4);
    for (int i = 0; i < 3; ++i)
        AttrBaseRiderSeated(attr, riders[(size_t)i]);
    AttrBaseRiderSeated(attr, riders[0]); // twice: counted once
    Frames(attr, 20);
    EXPECT_EQ(attr->attrState, ATTR_BOARDING) << "the ride started with a rider still walking";
    EXPECT_EQ(attr->ridersToBoard, 1);
    AttrBaseRiderSeated(attr, Patron()); // not on board: ignored
    EXPECT_EQ(attr->ridersToBoard, 1);
    AttrBaseRiderSeated(attr, riders[3]);
    attr->Update(0.1f);
    EXPECT_EQ(attr->attrState, ATTR_RIDING);
}

TEST_F(AttrTest, TheFullRoundUnloadsOneRiderPerDelayInQueueOrder) {
    AttrBase* attr = Place(T_RIDE);
    ASSERT_NE(attr->animator, nullptr);
    std::vector<FakePatron*> riders;
    for (int i = 0; i < 4; ++i) {
        riders.push_back(Patron());
        AttrBaseJoinQueue(attr, riders.back());
    }
    std::vector<int> states, runs;
    std::vector<float> rideOverTimes;
    float t = 0.0f;
    size_t events = 0;
    for (int i = 0; i < 200; ++i) {
        attr->Update(0.1f);
        t += 0.1f;
        states.push_back(attr->attrState);
        runs.push_back(attr->animator->runState);
        for (; events < g_patronEvents.size(); ++events)
            if (g_patronEvents[events].what == 'O') rideOverTimes.push_back(t);
        if (attr->attrState == ATTR_LOADING && rideOverTimes.size() == 4) break;
    }
    EXPECT_EQ(Compressed(states), (std::vector<int>{1, 2, 3, 0}));
    EXPECT_EQ(Compressed(runs), (std::vector<int>{1, 3, 4, 1}))
        << "the animator must run start -> running -> stopping -> idle";
    std::vector<FakePatron*> order;
    for (const PatronEvent& e : g_patronEvents)
        if (e.what == 'O') order.push_back(e.patron);
    EXPECT_EQ(order, riders) << "riders must leave in the order they boarded";
    ASSERT_EQ(rideOverTimes.size(), 4u);
    for (size_t i = 1; i < rideOverTimes.size(); ++i)
        EXPECT_NEAR(rideOverTimes[i] - rideOverTimes[i - 1], 0.55f, 0.06f)
            << "one rider per unloadDelay (0.5 s at 0.1 s frames)";
    EXPECT_FLOAT_EQ(attr->cycleTimer, 10.0f) << "back to loading with the full waiting time";
}

TEST_F(AttrTest, ClosingWhileLoadingSendsTheWholeLineAway) {
    AttrBase* attr = Place(T_RIDE);
    std::vector<FakePatron*> line;
    for (int i = 0; i < 3; ++i) {
        line.push_back(Patron());
        AttrBaseJoinQueue(attr, line.back());
    }
    AttrBaseSetClosed(attr, true);
    attr->Update(0.1f);
    EXPECT_EQ(attr->attrState, ATTR_CLOSED);
    EXPECT_EQ(AttrBaseQueueCount(attr), 0);
    for (FakePatron* p : line)
        EXPECT_EQ(p->sentAway, 1);
}

TEST_F(AttrTest, ClosingWhileRidingFinishesTheRideThenEmptiesTheLineOneByOne) {
    AttrBase* attr = Place(T_RIDE);
    std::vector<FakePatron*> all;
    for (int i = 0; i < 6; ++i) {
        all.push_back(Patron());
        AttrBaseJoinQueue(attr, all.back());
    }
    ASSERT_TRUE(UntilState(attr, ATTR_RIDING));
    attr->Update(0.1f);
    ASSERT_EQ(attr->animator->runState, RIDE_RUNNING);
    AttrBaseSetClosed(attr, true);
    ASSERT_TRUE(UntilState(attr, ATTR_CLOSED, 500));
    std::string what;
    for (const PatronEvent& e : g_patronEvents)
        what += e.what;
    EXPECT_EQ(what, "BBBBOOOOAA") << "four rode and were unloaded, then the two waiting were sent "
                                     "away";
    EXPECT_EQ(attr->animator->runState, RIDE_CLOSED);
    EXPECT_EQ(all[4]->sentAway, 1);
    EXPECT_EQ(all[5]->sentAway, 1);
}

TEST_F(AttrTest, ReopeningClearsThePowerFailureAndBrokenStaysBroken) {
    AttrBase* attr = Place(T_RIDE);
    AttrBaseSetClosed(attr, true);
    Frames(attr, 3);
    ASSERT_EQ(attr->attrState, ATTR_CLOSED);
    ASSERT_EQ(attr->animator->runState, RIDE_CLOSED);
    attr->powerFailure = true;
    AttrBaseSetClosed(attr, false);
    attr->Update(0.1f);
    EXPECT_EQ(attr->attrState, ATTR_LOADING);
    EXPECT_FALSE(attr->powerFailure);
    EXPECT_EQ(attr->animator->runState, RIDE_IDLE);

    AttrBase* wreck = Place(T_RIDE, "Wreck");
    AttrBaseSetClosed(wreck, true);
    Frames(wreck, 3);
    wreck->broken = true;
    AttrBaseSetClosed(wreck, false);
    Frames(wreck, 3);
    EXPECT_EQ(wreck->attrState, ATTR_BROKEN);
    EXPECT_TRUE(wreck->broken) << "nothing clears broken";
}

// ---- patrons that go, and the start of day ----

TEST_F(AttrTest, PatronsDestroyedInLineOrOnBoardLeaveTheCycleWhole) {
    AttrBase* attr = Place(T_RIDE);
    std::vector<FakePatron*> p;
    for (int i = 0; i < 6; ++i) {
        p.push_back(Patron(false));
        AttrBaseJoinQueue(attr, p.back());
    }
    attr->Update(0.1f);
    ASSERT_EQ(attr->ridersToBoard, 4);
    EntDestroyTree(p[1]); // on board, walking to its seat
    EXPECT_EQ(attr->ridersToBoard, 3) << "a rider that is gone can never sit";
    EXPECT_EQ(AttrBaseRiderCount(attr), 3);
    p[5]->places.clear();
    EntDestroyTree(p[4]); // at the front of the line
    EXPECT_EQ(AttrBaseQueueCount(attr), 1);
    EXPECT_EQ(p[5]->places, (std::vector<int>{0})) << "the one behind moves to the front";
    for (int i : {0, 2, 3})
        AttrBaseRiderSeated(attr, p[(size_t)i]);
    p[5]->sitAtOnce = true;
    ASSERT_TRUE(UntilState(attr, ATTR_UNLOADING, 200));
    ASSERT_TRUE(UntilState(attr, ATTR_LOADING, 200));
    for (int i : {0, 2, 3})
        EXPECT_EQ(p[(size_t)i]->rideOvers, 1);
    ASSERT_TRUE(UntilState(attr, ATTR_BOARDING, 200)) << "the last patron never boarded";
    EXPECT_EQ(AttrBaseRiderCount(attr), 1);
}

TEST_F(AttrTest, TheStartOfDayUnsticksAnAttractionCaughtBoarding) {
    AttrBase* attr = Place(T_RIDE);
    for (int i = 0; i < 4; ++i)
        AttrBaseJoinQueue(attr, Patron(false));
    attr->Update(0.1f);
    ASSERT_EQ(attr->attrState, ATTR_BOARDING);
    AttrBaseStartOfDay(attr);
    EXPECT_EQ(attr->attrState, ATTR_LOADING);
    EXPECT_EQ(attr->ridersToBoard, 0);
    EXPECT_EQ(AttrBaseQueueCount(attr) + AttrBaseRiderCount(attr), 0);
    EXPECT_FLOAT_EQ(attr->cycleTimer, 10.0f);

    // Caught riding: the animator goes back to idle.
    for (int i = 0; i < 4; ++i)
        AttrBaseJoinQueue(attr, Patron());
    ASSERT_TRUE(UntilState(attr, ATTR_RIDING));
    attr->Update(0.1f);
    AttrBaseStartOfDay(attr);
    EXPECT_EQ(attr->animator->runState, RIDE_IDLE);
    EXPECT_EQ(attr->attrState, ATTR_LOADING);
}

// ---- bad lines ----

TEST_F(AttrTest, LineSizesFromTheTypeAreMadeSafe) {
    LogCapture log;
    AttrInfo* ride = game->attrList->Get(T_RIDE);
    ride->queueMax = -3;
    ride->capacity = 0;
    AttrBase* attr = Place(T_RIDE);
    EXPECT_EQ(attr->line.Capacity(), 0);
    EXPECT_EQ(attr->board.Capacity(), 1) << "an empty ride would cycle for ever";
    EXPECT_NE(log.Text().find("queueMax -3 is negative"), std::string::npos) << log.Text();
    EXPECT_NE(log.Text().find("capacity 0 is below 1"), std::string::npos) << log.Text();
    EXPECT_FALSE(AttrBaseJoinQueue(attr, Patron())) << "a line of 0 refuses every patron";

    ride->queueMax = 8;
    ride->capacity = 4;
    AttrBase* other = Place(T_RIDE, "Other");
    FakePatron* twice = Patron();
    ASSERT_TRUE(AttrBaseJoinQueue(other, Patron()));
    ASSERT_TRUE(AttrBaseJoinQueue(other, twice));
    EXPECT_TRUE(AttrBaseJoinQueue(other, twice));
    EXPECT_EQ(AttrBaseQueueCount(other), 2) << "the same patron stood in line twice";
    EXPECT_EQ(twice->places, (std::vector<int>{1, 1}));
    EXPECT_FALSE(AttrBaseJoinQueue(nullptr, twice));
    EXPECT_FALSE(AttrBaseJoinQueue(other, nullptr));
}

TEST_F(AttrTest, AClosedOrBrokenAttractionTakesNobodyIntoItsLine) {
    AttrBase* attr = Place(T_RIDE);
    AttrBaseSetClosed(attr, true);
    attr->Update(0.1f);
    ASSERT_EQ(attr->attrState, ATTR_CLOSED);
    FakePatron* p = Patron();
    // A closed attraction never empties its line again: a patron let in would wait for ever.
    EXPECT_FALSE(AttrBaseJoinQueue(attr, p));
    EXPECT_EQ(AttrBaseQueueCount(attr), 0);
    EXPECT_TRUE(p->places.empty());
    AttrBaseSetClosed(attr, false);
    EXPECT_TRUE(AttrBaseJoinQueue(attr, p)) << "open again";
    AttrBase* wreck = Place(T_RIDE, "Wreck");
    wreck->broken = true;
    EXPECT_FALSE(AttrBaseJoinQueue(wreck, Patron()));
    EXPECT_EQ(AttrBaseQueueCount(wreck), 0);
}

TEST_F(AttrTest, AGameObjectStartedAgainLeavesTheAttractionsTypeRecordsValid) {
    AttrBase* attr = Place(T_RIDE);
    ASSERT_NE(attr->info, nullptr);
    game->Start(); // the data read again
    attr->Update(0.1f);
    ASSERT_NE(attr->info, nullptr);
    EXPECT_EQ(std::u16string(attr->info->name), u"Ride");
    EXPECT_EQ(attr->info->capacity, 4);
}
