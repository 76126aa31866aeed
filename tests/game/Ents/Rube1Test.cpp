// The patron on the day harness: its think, wander and choose cycle, leaving and the way home,
// walking that cannot overshoot, the choice with no ticket seller, being booted, unsticking and
// litter, and its strongest need and icons.
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrPlace.h"
#include "game/GameGridCore.h"
#include "game/RubeRules.h"
#include "game/WaypointPath.h"
#include "tests/game/Ents/PatronWorld.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {
int CellOf(const GameGrid* g, float v, bool x) {
    int cx, cz;
    GameGridWorldToCell(g, x ? v : g->originX, x ? g->originZ : v, &cx, &cz);
    return x ? cx : cz;
}

// The first shipped type that serves a ride (or game) need but sells no tickets.
int RideWithoutTickets(MtGame* game) {
    for (int t = 0; t < game->attrList->Count(); ++t) {
        const AttrInfo* info = game->attrList->Get(t);
        if (info->needs[NEED_RIDE] > 0.04f && info->needs[NEED_TICKET] <= 0.04f) return t;
    }
    return -1;
}
} // namespace

TEST(Rube1, ThinksWandersAndChoosesInTurnWithinTheWanderRange) {
    PatronWorld w(5);
    w.OpenDay();
    w.gen->max = 0; // only the test's patron
    Rube1* p = w.AddPatron(512.0f, 512.0f);
    EXPECT_EQ(p->state, RUBE_THINK);
    EXPECT_EQ(p->wanderTries, w.game->gameVals.randAttempts);
    const int startX = CellOf(w.grid, p->pos.x, true), startZ = CellOf(w.grid, p->pos.z, false);
    std::vector<int> states;
    bool checkedWander = false;
    for (int i = 0; i < 2000 && states.size() < 12; ++i) {
        const int before = p->state;
        w.h->Frame();
        if (p->state == before) continue;
        states.push_back(p->state);
        if (before == RUBE_THINK) {
            EXPECT_GE(p->thinkTimer, 1.0f);
            EXPECT_LE(p->thinkTimer, 4.0f);
        }
        if (p->state == RUBE_WANDER && !checkedWander) {
            checkedWander = true;
            EXPECT_FLOAT_EQ(p->speed, 2.0f + p->speedBase);
            const VECTOR3 end = p->route->points[p->route->count - 1];
            const int dx = CellOf(w.grid, end.x, true) - startX;
            const int dz = CellOf(w.grid, end.z, false) - startZ;
            for (int d : {dx, dz})
                EXPECT_TRUE((d >= 5 && d <= 10) || (d >= -12 && d <= -7)) << d;
        }
    }
    ASSERT_GE(states.size(), 6u);
    for (size_t i = 0; i < states.size(); ++i) {
        const int expected[3] = {RUBE_WANDER, RUBE_CHOOSE, RUBE_THINK};
        EXPECT_EQ(states[i], expected[i % 3]) << i;
    }
}

TEST(Rube1, LeavingWalksHomeAndTheGeneratorCountsTheDeparture) {
    PatronWorld w(2);
    w.OpenDay();
    w.gen->max = 0;
    w.gen->ceiling = 100;
    w.game->gameVals.hapExtraTickets = 0.125f;
    Rube1* p = w.AddPatron(512.0f, 512.0f);
    p->pos = VECTOR3{540.0f, 0.0f, 530.0f}; // wandered away from the exit point
    p->tickets = 4;
    p->happiness = 0.0f;
    w.game->gameTime = w.game->gameVals.closingTime - 0.4f;
    p->EnterChoose();
    w.h->Frame();
    EXPECT_EQ(p->state, RUBE_LEAVE);
    EXPECT_FLOAT_EQ(p->happiness, 0.5f);
    EXPECT_EQ(RubeChooseNeed(p), RUBE_LEAVING);
    const int present = w.gen->present;
    LogCapture log;
    int frames = 0;
    while (w.PatronsInTree() > 0 && frames < 2000) {
        w.h->Frame();
        ++frames;
    }
    ASSERT_EQ(w.PatronsInTree(), 0) << "the patron never got home";
    EXPECT_EQ(w.gen->present, present - 1);
    EXPECT_EQ(w.gen->max, 5) << "a departure at 0.5 raises the maximum, then the floor of 5";
    EXPECT_NE(log.Text().find("Destroying:  (Rube1)"), std::string::npos) << log.Text();
}

TEST(Rube1, WithNoWayHomeAPatronIsGoneAtOnce) {
    for (bool withGrid : {true, false}) {
        PatronWorld w(3, withGrid);
        w.OpenDay();
        w.gen->max = 0;
        // A spawn point outside the grid: the exit point lies outside too.
        Rube1* p = w.AddPatron(100.0f, 100.0f);
        for (int i = 0; i < 50; ++i) // thinking outside the grid reads no cell
            w.h->Frame();
        w.game->gameTime = w.game->gameVals.closingTime;
        p->EnterChoose();
        w.h->Frame();
        EXPECT_TRUE(p->done) << withGrid;
        w.h->Frame();
        EXPECT_EQ(w.PatronsInTree(), 0) << withGrid;
    }
}

TEST(Rube1, AFastWalkerArrivesAtTheEndOfALongRoute) {
    PatronWorld w(4);
    w.OpenDay();
    w.gen->max = 0;
    w.game->gameVals.speedDeltaMax = 1.5f;
    Rube1* p = w.AddPatron(400.0f, 400.0f);
    p->speedBase = 1.5f; // the fastest walker: 4.1 x 0.264 = 1.08 a step
    WaypointPath* r = p->route;
    r->count = 0;
    // Steps of 1.08 from x 400 land at 406.49 and 407.58: both outside the window of the first
    // point at 407.04.
    for (int i = 1; i <= 50; ++i)
        WaypointPathAppend(r, 400.0f + (float)i * 7.036f, 400.0f);
    p->speed = 2.6f + p->speedBase;
    r->current = 0;
    p->state = RUBE_LEAVE;
    p->direction = VECTOR3{1.0f, 0.0f, 0.0f};
    int frames = 0;
    while (!p->done && frames < 400) {
        w.h->Frame();
        ++frames;
    }
    EXPECT_TRUE(p->done) << "walked off past a point";
    EXPECT_NEAR(p->pos.x, 751.8f, 1.5f);
}

TEST(Rube1, WithARideButNoSellerAPatronWithoutTicketsFindsNoAttraction) {
    PatronWorld w(6);
    w.OpenDay();
    w.gen->max = 0;
    const int type = RideWithoutTickets(w.game);
    ASSERT_GE(type, 0);
    ASSERT_NE(AttrPlace(w.game, w.grid, w.h->first, w.game->attrList->Get(type), type, 10, 10, 0),
              nullptr);
    w.game->gameVals.hapNoAttr = -0.25f;
    Rube1* p = w.AddPatron(600.0f, 600.0f);
    p->tickets = 0;
    p->happiness = 0.0f;
    p->money = 100000;
    for (float& l : p->needs.level)
        l = 0.0f;
    p->EnterChoose();
    EXPECT_FLOAT_EQ(p->needs.level[RUBE_TICKET], 1.0f);
    w.h->Frame();
    EXPECT_EQ(p->state, RUBE_THINK);
    EXPECT_FLOAT_EQ(p->happiness, -0.25f);
    EXPECT_EQ(p->target.Get(), nullptr);
}

TEST(Rube1, ATargetDestroyedUnderThePatronBootsIt) {
    PatronWorld w(7);
    w.OpenDay();
    w.gen->max = 0;
    const int type = RideWithoutTickets(w.game);
    AttrBase* attr =
        AttrPlace(w.game, w.grid, w.h->first, w.game->attrList->Get(type), type, 10, 10, 0);
    ASSERT_NE(attr, nullptr);
    {
        // Any attraction: the only one, walked to; with tickets enough the patron joins its
        // line on arrival.
        Rube1* p = w.AddPatron(600.0f, 600.0f);
        p->EnterPickAny();
        w.h->Frame();
        EXPECT_EQ(p->state, RUBE_WALK_TO);
        EXPECT_EQ(p->target.Get(), attr);
        for (int i = 0; i < 2000 && p->state == RUBE_WALK_TO; ++i)
            w.h->Frame();
        EXPECT_EQ(p->state, RUBE_IN_LINE);
        EXPECT_EQ(AttrBaseQueueCount(attr), 1);
        EntDestroyTree(p);
        EXPECT_EQ(AttrBaseQueueCount(attr), 0) << "a destroyed patron leaves the line";
    }
    w.game->gameVals.hapBootedQueue = -0.5f;
    for (int state : {RUBE_WALK_TO, RUBE_IN_LINE}) {
        Rube1* p = w.AddPatron(600.0f, 600.0f);
        p->target = EntRef(attr);
        p->state = state;
        p->speed = 3.0f;
        p->placeX = 1.0f;
        p->happiness = 0.0f;
        EntTreeNotifyRemoved(w.h->root, attr);
        EXPECT_EQ(p->state, RUBE_THINK);
        EXPECT_FLOAT_EQ(p->happiness, -0.5f);
        EXPECT_EQ(p->speed, 0.0f);
        EXPECT_EQ(p->placeX, 0.0f);
        EXPECT_EQ(p->target.Get(), nullptr);
    }
    Rube1* p = w.AddPatron(600.0f, 600.0f);
    EntTreeNotifyRemoved(w.h->root, w.game);
    EXPECT_EQ(p->Game(), nullptr) << "the game object's removal clears the cache";
}

TEST(Rube1, UnstickStepsToTheNearestFreeCellAndNeverReadsOutsideTheGrid) {
    PatronWorld w(8);
    w.OpenDay();
    w.gen->max = 0;
    Rube1* p = w.AddPatron(0.0f, 0.0f);
    p->Unstick(); // outside: nothing, and no read (ASan)
    EXPECT_EQ(p->pos.x, 0.0f);
    // Cells 10..12 along x at z 20 blocked, the patron in cell 10: +x is 3 away, -x 1 away,
    // +z and -z are free at 1: +z wins the tie.
    GameGridMarkRect(w.grid, 10, 12, 20, 20, -1.0f);
    float x, z;
    GameGridCellToWorld(w.grid, 10, 20, &x, &z);
    p->pos = VECTOR3{x + 0.5f, 0.0f, z + 0.5f};
    p->Unstick();
    EXPECT_FLOAT_EQ(p->pos.x, x + 0.5f);
    EXPECT_FLOAT_EQ(p->pos.z, z + 0.5f + (float)(int)w.grid->tileHeight);
    // Walled in on every side: it stays.
    GameGridMarkRect(w.grid, 0, 127, 0, 127, -1.0f);
    const VECTOR3 before = p->pos;
    p->Unstick();
    EXPECT_EQ(p->pos.x, before.x);
    EXPECT_EQ(p->pos.z, before.z);
}

TEST(Rube1, AFullTrashNeedDropsLitterUnderFirstAndTheIconFollowsTheNeed) {
    PatronWorld w(9);
    w.OpenDay();
    w.gen->max = 0;
    Rube1* p = w.AddPatron(512.0f, 512.0f);
    for (float& l : p->needs.level)
        l = 0.0f;
    p->needs.level[RUBE_TRASH] = 1.0f;
    p->tickets = 5;
    p->EnterChoose();
    w.h->Frame();
    EXPECT_NE(p->state, RUBE_LEAVE);
    ENTBASE* litter = EntTreeFindType(w.h->root, "Litter");
    ASSERT_NE(litter, nullptr);
    EXPECT_EQ(litter->node->parent, w.h->first->node);

    for (float& l : p->needs.level)
        l = 0.0f;
    p->needs.level[RUBE_GAME] = 0.5f;
    p->needs.level[RUBE_DRINK] = 0.5f;
    EXPECT_EQ(RubeChooseNeed(p), RUBE_GAME);
    p->iconTimer = 0.01f;
    p->state = RUBE_WANDER;
    p->WalkStep(0.02f);
    EXPECT_EQ(p->icon.cell, 12);
    EXPECT_FLOAT_EQ(p->icon.duration, 4.0f);
    EXPECT_GT(p->iconTimer, 0.0f);
    p->state = RUBE_LEAVE;
    p->iconTimer = -0.01f;
    p->WalkStep(0.02f);
    EXPECT_EQ(p->icon.cell, RUBE_ICON_LEAVING);
}

TEST(Rube1, BlockedWanderCellsCostNoTryAndNoTriesMeansTheRandomCell) {
    PatronWorld w(10);
    w.OpenDay();
    w.gen->max = 0;
    Rube1* p = w.AddPatron(512.0f, 512.0f);
    GameGridMarkRect(w.grid, 0, 127, 0, 127, -1.0f);
    const int tries = p->wanderTries;
    ASSERT_GT(tries, 0);
    w.h->Frames(100);
    EXPECT_EQ(p->wanderTries, tries) << "blocked cells cost nothing";
    EXPECT_EQ(p->state, RUBE_THINK);

    // No tries: straight to the random cell, never the last column or row.
    GameGridMarkRect(w.grid, 0, 127, 0, 127, 1.0f);
    GameGridMarkRect(w.grid, 127, 127, 0, 127, -1.0f);
    GameGridMarkRect(w.grid, 0, 127, 127, 127, -1.0f);
    p->wanderTries = 0;
    int wanders = 0;
    for (int i = 0; i < 400; ++i) {
        w.h->Frame();
        if (p->state == RUBE_WANDER) {
            ++wanders;
            const VECTOR3 end = p->route->points[p->route->count - 1];
            EXPECT_LT(CellOf(w.grid, end.x, true), 127);
            EXPECT_LT(CellOf(w.grid, end.z, false), 127);
            p->EnterThink();
            p->wanderTries = 0;
        }
    }
    EXPECT_GT(wanders, 5);
}

TEST(Rube1, AOneCellGridAndNoTriesNeitherCrashNorReadOutside) {
    PatronWorld w(11);
    w.OpenDay();
    w.gen->max = 0;
    ASSERT_TRUE(GameGridResize(w.grid, 1, 1, 2.0f, 2.0f, "test"));
    w.game->gameVals.randAttempts = 0;
    Rube1* p = w.AddPatron(385.0f, 385.0f);
    p->happiness = 100.0f; // no attraction is found at each choice; stay anyway
    EXPECT_EQ(p->wanderTries, 0);
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        w.h->Frame();
        seen.insert(p->state);
    }
    ASSERT_TRUE(EntIsLive(p));
    EXPECT_TRUE(seen.count(RUBE_WANDER)) << "the only cell is the random cell";
    p->animMode = 2;
    EXPECT_FALSE(p->PickTest(nullptr)) << "a patron inside an attraction is never picked";
}
