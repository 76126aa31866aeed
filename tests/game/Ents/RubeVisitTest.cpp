// The patron's visit on the shipped data: the choice and its fallbacks (an empty fallback list
// too), the 100-attraction limit and the registry's order, the arrival rules, the line's
// geometry, going in and boarding a real attraction, the ride exit's tickets and games, the end
// of the ride and its rating, and the removal of a ride with riders aboard.
#include "game/Ents/RubeVisit.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrRegistry.h"
#include "game/GameGridCore.h"
#include "game/Placement.h"
#include "game/RubeRules.h"
#include "game/WaypointPath.h"
#include "tests/game/Ents/GridPlacing.h"
#include "tests/game/Ents/PatronWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace {
enum {
    kSoda = 0,     // drink 0.7
    kHotDog = 2,   // eat 0.6
    kBin = 12,     // trash 1.0, winningOdds 10
    kBench = 13,   // rest 0.5
    kHammer = 14,  // a seated ride, capacity 12
    kBooth = 23,   // the ticket seller
    kToilets = 24, // potty 1.0
    kWaterGun = 44 // a game, winningOdds 10
};

struct VisitWorld : PatronWorld {
    explicit VisitWorld(uint32_t seed) : PatronWorld(seed) {
        OpenDay();
        gen->max = 0; // only the test's patrons
    }

    // Placed on the grid at cell (cx, cz) with the quarter turn, as the placing screen does.
    AttrBase* Place(int type, int cx, int cz, int turn = 0) {
        AttrBase* a =
            AttrPlace(game, grid, h->first, game->attrList->Get(type), type, cx, cz, turn);
        EXPECT_NE(a, nullptr) << "type " << type << " at " << cx << ", " << cz;
        return a;
    }

    // Made and started at (x, z) with no grid marking (outside the grid: no route reaches it).
    AttrBase* Loose(int type, float x, float z, ENTBASE* parent = nullptr) {
        auto* a = static_cast<AttrBase*>(EntCreateChild("AttrBase", parent ? parent : h->first));
        a->SetType(type);
        a->agl = 0;
        a->pos = VECTOR3{x, 0.0f, z};
        a->ticketPrice = game->attrList->Get(type)->defTicketPrice;
        a->Start();
        return a;
    }

    // A patron with no needs at the attraction's entry point, as if it had walked there.
    Rube1* At(AttrBase* a) {
        VECTOR3 entry;
        AttrBaseEntryPoint(a, &entry);
        Rube1* p = AddPatron(entry.x, entry.z);
        for (float& l : p->needs.level)
            l = 0.0f;
        p->target = EntRef(a);
        p->state = RUBE_WALK_TO;
        return p;
    }

    // A patron inside `a`: in line, then taken off it as the attraction's loading does (on
    // board when asked) and told to board.
    Rube1* Inside(AttrBase* a, bool onBoard = false) {
        Rube1* p = At(a);
        p->tickets = 100;
        RubeVisitArrive(p);
        EXPECT_EQ(p->state, RUBE_IN_LINE);
        AttrRingEntry e = a->line.RemoveAt(a->line.Find(p));
        if (onBoard) {
            EXPECT_TRUE(a->board.Push(e));
            ++a->ridersToBoard;
        }
        p->PatronPlace(a, ATTR_PLACE_BOARD, &a->entry);
        EXPECT_EQ(p->state, RUBE_INSIDE);
        return p;
    }
};

// A seed after which the run-time generator's first RandInt(n) is `want`.
uint32_t SeedFor(int n, int want) {
    for (uint32_t s = 1; s < 100000; ++s) {
        CrtSrand(s);
        if (RandInt(n) == want) return s;
    }
    ADD_FAILURE() << "no seed gives " << want;
    return 1;
}

RubeNeeds Needs(std::initializer_list<std::pair<int, float>> levels) {
    RubeNeeds n;
    for (float& l : n.level)
        l = 0.0f;
    for (auto [need, level] : levels)
        n.level[need] = level;
    return n;
}
} // namespace

// ---- the choice ----

TEST(RubeVisit, TheChoiceServesTheEarlierOfEqualNeedsAboveOneHalf) {
    EXPECT_EQ(RubeVisitNeed(Needs({{RUBE_EAT, 0.7f}, {RUBE_DRINK, 0.7f}})), RUBE_EAT)
        << "ties keep the earlier need, unlike the strongest-need icon";
    EXPECT_EQ(RubeVisitNeed(Needs({{RUBE_EAT, 0.6f}, {RUBE_POTTY, 0.9f}})), RUBE_POTTY);
    EXPECT_EQ(RubeVisitNeed(Needs({{RUBE_RIDE, 0.5f}})), -1) << "0.5 itself is not above";
    EXPECT_EQ(RubeVisitNeed(Needs({{RUBE_TICKET, 1.0f}})), -1) << "tickets take no part";

    VisitWorld w(21);
    AttrBase* soda = w.Place(kSoda, 10, 10);
    AttrBase* hotDog = w.Place(kHotDog, 20, 10);
    AttrBase* toilets = w.Place(kToilets, 30, 10);
    AttrBase* bin = w.Place(kBin, 40, 10);
    AttrBase* bench = w.Place(kBench, 50, 10);
    Rube1* p = w.AddPatron(500.0f, 500.0f);
    for (int run = 0; run < 20; ++run) {
        p->needs = Needs({{RUBE_EAT, 0.7f}, {RUBE_DRINK, 0.7f}});
        EXPECT_EQ(RubeVisitChoose(p), hotDog);
        ASSERT_GT(p->route->count, 0) << "the choice comes with its route";
        VECTOR3 entry;
        AttrBaseEntryPoint(hotDog, &entry);
        EXPECT_NEAR(p->route->goal.x, entry.x, 1e-3f);
    }
    // No need above 0.5: the fallback draws a need from eat .. trash, rest and trash too.
    std::set<AttrBase*> picked;
    for (int run = 0; run < 200; ++run) {
        p->needs = Needs({});
        picked.insert(RubeVisitChoose(p));
    }
    EXPECT_TRUE(picked.count(bench)) << "the fallback never served rest";
    EXPECT_TRUE(picked.count(bin)) << "the fallback never served trash";
    EXPECT_TRUE(picked.count(soda));
    EXPECT_FALSE(picked.count(toilets)) << "potty is not among the fallback's needs";
    EXPECT_TRUE(picked.count(nullptr)) << "ride and game have nothing here";
}

TEST(RubeVisit, AFirstPickWithoutARouteFallsBackToItsNeighbour) {
    VisitWorld w(22);
    AttrBase* routed = w.Place(kHotDog, 10, 10);
    AttrBase* unrouted = w.Loose(kHotDog, 5000.0f, 5000.0f); // outside the grid
    Rube1* p = w.AddPatron(500.0f, 500.0f);
    const RubeNeeds hungry = Needs({{RUBE_EAT, 0.9f}});

    // i = 1 without a route: list[0].
    AttrBase* list1[] = {routed, unrouted};
    p->needs = hungry;
    CrtSrand(SeedFor(2, 1));
    EXPECT_EQ(RubeVisitChooseFrom(p, list1, 2), routed);

    // i = 0 without a route: list[1].
    AttrBase* list0[] = {unrouted, routed};
    CrtSrand(SeedFor(2, 0));
    EXPECT_EQ(RubeVisitChooseFrom(p, list0, 2), routed);

    // A single unrouted stand: the fallback may still find nothing.
    AttrBase* alone[] = {unrouted};
    CrtSrand(5);
    EXPECT_EQ(RubeVisitChooseFrom(p, alone, 1), nullptr);
}

TEST(RubeVisit, AnEmptyFallbackListGivesNoAttraction) {
    VisitWorld w(23);
    w.Place(kToilets, 10, 10); // potty only: nothing for eat .. trash
    w.game->gameVals.hapNoAttr = -0.25f;
    Rube1* p = w.AddPatron(500.0f, 500.0f);
    for (int run = 0; run < 50; ++run) {
        p->needs = Needs({});
        p->tickets = 5;
        p->happiness = 0.0f;
        EXPECT_EQ(RubeVisitChoose(p), nullptr);
        p->EnterChoose();
        p->ChooseStep();
        EXPECT_EQ(p->state, RUBE_THINK);
        EXPECT_FLOAT_EQ(p->happiness, -0.25f) << "the none path";
    }
}

TEST(RubeVisit, OnlyTheFirstHundredAttractionsInTreeOrderAreSearched) {
    VisitWorld w(24);
    // Placed ones under "First", then a group under an entity made later (any plain entity).
    std::vector<AttrBase*> all;
    for (int i = 0; i < 60; ++i)
        all.push_back(w.Loose(kToilets, 400.0f + (float)i, 400.0f));
    ENTBASE* loaded = EntCreateChild("RubeSpawnPt", w.h->first);
    for (int i = 0; i < 40; ++i)
        all.push_back(w.Loose(kToilets, 400.0f + (float)i, 420.0f, loaded));
    AttrBase* last = w.Loose(kHotDog, 500.0f, 500.0f, loaded); // the 101st
    AttrBase* walk[ATTR_SEARCH_MAX];
    AttrBase* reg[ATTR_SEARCH_MAX];
    ASSERT_EQ(AttrRegistryWalk(w.h->root, walk), ATTR_SEARCH_MAX);
    ASSERT_EQ(AttrRegistryList(w.h->root, reg), ATTR_SEARCH_MAX);
    for (int i = 0; i < ATTR_SEARCH_MAX; ++i) {
        EXPECT_EQ(walk[i], all[(size_t)i]) << i;
        EXPECT_EQ(reg[i], walk[i]) << i;
    }
    Rube1* p = w.AddPatron(500.0f, 500.0f);
    for (int run = 0; run < 100; ++run) {
        p->needs = Needs({{RUBE_EAT, 0.9f}});
        EXPECT_NE(RubeVisitChoose(p), last) << "the 101st attraction was searched";
    }
    // One of the first goes: the stand is now the 100th, by either list.
    EntDestroyTree(all[3]);
    ASSERT_EQ(AttrRegistryWalk(w.h->root, walk), ATTR_SEARCH_MAX);
    ASSERT_EQ(AttrRegistryList(w.h->root, reg), ATTR_SEARCH_MAX);
    EXPECT_EQ(walk[ATTR_SEARCH_MAX - 1], last);
    for (int i = 0; i < ATTR_SEARCH_MAX; ++i)
        EXPECT_EQ(reg[i], walk[i]) << i;
    // The same draws choose the same through both.
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        p->needs = Needs({{RUBE_EAT, 0.9f}});
        CrtSrand(seed);
        AttrBase* byWalk = RubeVisitChooseFrom(p, walk, ATTR_SEARCH_MAX);
        CrtSrand(seed);
        EXPECT_EQ(RubeVisitChoose(p), byWalk) << seed;
    }
}

// ---- arrival and the line ----

TEST(RubeVisit, ArrivalAtAClosedBrokenOrPricyAttractionOrAFullLine) {
    VisitWorld w(25);
    GameVals& v = w.game->gameVals;
    v.hapAttrOOS = -0.125f;
    v.hapQueueFull = -0.375f;
    AttrBase* ride = w.Place(kHammer, 10, 10);
    AttrBase* bin = w.Place(kBin, 30, 10);

    AttrBaseSetClosed(ride, true);
    Rube1* p = w.At(ride);
    p->placeX = 1.0f;
    RubeVisitArrive(p);
    EXPECT_EQ(p->state, RUBE_THINK);
    EXPECT_FLOAT_EQ(p->happiness, -0.125f);
    EXPECT_EQ(p->placeX, 0.0f);
    EXPECT_EQ(EntTreeFindType(w.h->root, "Litter"), nullptr) << "only a bin gets litter";
    AttrBaseSetClosed(ride, false);

    ride->broken = true;
    p = w.At(ride);
    RubeVisitArrive(p);
    EXPECT_EQ(p->state, RUBE_THINK);
    ride->broken = false;

    AttrBaseSetClosed(bin, true);
    p = w.At(bin);
    p->needs.level[RUBE_TRASH] = 0.75f;
    RubeVisitArrive(p);
    EXPECT_EQ(p->state, RUBE_THINK);
    EXPECT_EQ(p->needs.level[RUBE_TRASH], 0.0f);
    ENTBASE* litter = EntTreeFindType(w.h->root, "Litter");
    ASSERT_NE(litter, nullptr);
    EXPECT_EQ(litter->node->parent, w.h->first->node) << "litter goes under \"First\"";
    AttrBaseSetClosed(bin, false);

    p = w.At(ride);
    p->tickets = ride->ticketPrice - 1;
    RubeVisitArrive(p);
    EXPECT_EQ(p->state, RUBE_CHOOSE);
    EXPECT_FLOAT_EQ(p->needs.level[RUBE_TICKET], 1.0f);
    EXPECT_EQ(AttrBaseQueueCount(ride), 0);

    // The bin's line holds 4.
    for (int i = 0; i < 4; ++i) {
        p = w.At(bin);
        RubeVisitArrive(p);
        EXPECT_EQ(p->state, RUBE_IN_LINE);
        EXPECT_EQ(p->queuePlace, i);
        EXPECT_EQ(p->anim, RUBE_ANIM_IDLE);
    }
    p = w.At(bin);
    RubeVisitArrive(p);
    EXPECT_EQ(p->state, RUBE_THINK);
    EXPECT_FLOAT_EQ(p->happiness, -0.375f);
    EXPECT_EQ(p->icon.cell, 8);
    EXPECT_FLOAT_EQ(p->icon.timeLeft, 4.0f);
    EXPECT_EQ(p->target.Get(), nullptr);
}

TEST(RubeVisit, TheLineRunsAlongTheTurnedQueueDirection) {
    VisitWorld w(26);
    AttrBase* ride = w.Place(kHammer, 10, 10, 1); // a quarter turn: yaw pi / 2
    ASSERT_NEAR(ride->yaw, 1.5707964f, 1e-6f);
    std::vector<Rube1*> line;
    for (int i = 0; i < 3; ++i) {
        Rube1* p = w.At(ride);
        RubeVisitArrive(p);
        ASSERT_EQ(p->queuePlace, i);
        line.push_back(p);
    }
    w.h->Frame();
    // (0, 0, -1) turned by pi / 2 about y is (-1, 0, 0): place 2 stands 1.5 along it.
    Rube1* third = line[2];
    EXPECT_NEAR(third->pos.x + third->placeX, ride->entry.x - 1.5f + third->personalX, 1e-4f);
    EXPECT_NEAR(third->pos.z + third->placeZ, ride->entry.z + third->personalZ, 1e-4f);
    EXPECT_NEAR(third->matrix.m[12], ride->entry.x - 1.5f + third->personalX, 1e-4f);
    // Place 0 faces the attraction; the others face back along their offset.
    const float toRide = std::atan2(ride->pos.x - (line[0]->pos.x + line[0]->placeX),
                                    ride->pos.z - (line[0]->pos.z + line[0]->placeZ));
    EXPECT_NEAR(line[0]->heading.target, toRide, 1e-4f);
    EXPECT_NEAR(third->heading.target, std::atan2(-third->placeX, -third->placeZ), 1e-4f);

    // A zero queue direction: everyone at the entry point with the personal offsets.
    VECTOR3 saved = ride->info->queueDir;
    ride->info->queueDir = VECTOR3{0.0f, 0.0f, 0.0f};
    w.h->Frame();
    EXPECT_FLOAT_EQ(third->placeX, third->personalX);
    EXPECT_FLOAT_EQ(third->placeZ, third->personalZ);
    ride->info->queueDir = saved;

    // Place -2 sends the patron in.
    line[1]->PatronPlace(ride, ATTR_PLACE_BOARD, &ride->entry);
    EXPECT_EQ(line[1]->state, RUBE_INSIDE);
}

// ---- inside ----

TEST(RubeVisit, GoingInPaysReportsTheSeatAndTakesThePose) {
    VisitWorld w(27);
    AttrBase* ride = w.Place(kHammer, 10, 10);
    const int price = ride->ticketPrice;
    ASSERT_GT(price, 0);
    std::vector<Rube1*> riders;
    for (int i = 0; i < 3; ++i) {
        Rube1* p = w.At(ride);
        p->tickets = 10;
        RubeVisitArrive(p);
        riders.push_back(p);
    }
    // The line's waiting time runs out; the attraction boards and starts the ride.
    int frames = 0;
    while (ride->attrState != ATTR_RIDING && frames++ < 1000)
        w.h->Frame();
    ASSERT_EQ(ride->attrState, ATTR_RIDING) << "boarding never completed";
    EXPECT_EQ(ride->takings, 3 * price);
    for (Rube1* p : riders) {
        EXPECT_EQ(p->state, RUBE_INSIDE);
        EXPECT_EQ(p->tickets, 10 - price);
        EXPECT_EQ(p->anim, RUBE_ANIM_SIT);
        EXPECT_NE(p->animMode, 0) << "a rider of a seated ride is not drawn by itself";
        EXPECT_EQ(p->placeX, 0.0f);
    }
    // The ride runs and unloads its riders one by one: seated while it runs (the model has
    // fewer seats than riders or none: the rest stay inside, not drawn), out and rated after.
    bool sat = false;
    frames = 0;
    while (frames++ < 4000 && std::any_of(riders.begin(), riders.end(),
                                          [](Rube1* p) { return p->state == RUBE_INSIDE; })) {
        w.h->Frame();
        for (Rube1* p : riders)
            sat = sat || p->animMode == 1;
    }
    for (Rube1* p : riders) {
        EXPECT_NE(p->state, RUBE_INSIDE) << "a rider was never unloaded";
        EXPECT_EQ(p->animMode, 0);
    }
    EXPECT_TRUE(sat || AttrBaseGetModel(ride) == nullptr) << "nobody sat on a seat";

    // The table by type index.
    auto pose = [](int type) {
        int anim, mode;
        RubeVisitPose(type, &anim, &mode);
        return std::pair<int, int>(anim, mode);
    };
    for (int t : {0, 11, 23, 42, 49})
        EXPECT_EQ(pose(t), std::make_pair((int)RUBE_ANIM_PAY, 0)) << t;
    for (int t : {14, 21, 26, 32, 34, 38, 41, 50, 57, 59, 61})
        EXPECT_EQ(pose(t), std::make_pair((int)RUBE_ANIM_SIT, 2)) << t;
    for (int t : {24, 58})
        EXPECT_EQ(pose(t), std::make_pair((int)RUBE_ANIM_IDLE, 2)) << t;
    for (int t : {12, 13, 22, 25, 33, 37})
        EXPECT_EQ(pose(t), std::make_pair((int)RUBE_ANIM_IDLE, 0)) << t;

    // A seat: mode 1 with the seat's matrix.
    Mat4 seat;
    Mat4Identity(&seat);
    seat.m[12] = 10.0f;
    seat.m[13] = 2.0f;
    seat.m[14] = 20.0f;
    Rube1* rider = w.Inside(ride);
    rider->PatronSit(ride, 0, &seat);
    EXPECT_EQ(rider->animMode, 1);
    EXPECT_FLOAT_EQ(rider->matrix.m[12], 10.0f);
    EXPECT_FLOAT_EQ(rider->matrix.m[13], 2.0f) << "the draw adds the attachment offset";
    EXPECT_FLOAT_EQ(rider->matrix.m[14], 20.0f);
}

// ---- the ride exit ----

TEST(RubeVisit, ASellerSellsWhatTheMoneyBuys) {
    VisitWorld w(28);
    AttrBase* booth = w.Place(kBooth, 10, 10);
    w.game->ticketCost = 50;
    MtGameSetDifficulty(w.game, 1);
    ASSERT_EQ(MtGameCashMult(w.game), 10);

    Rube1* p = w.Inside(booth);
    EXPECT_EQ(p->anim, RUBE_ANIM_PAY);
    p->money = 500;
    const int tickets = p->tickets;
    const int32_t cash = w.game->cash;
    p->EnterThink();
    EXPECT_EQ(p->tickets, tickets + 10);
    EXPECT_EQ(w.game->cash, cash + 5000);
    EXPECT_EQ(p->money, 0);
    EXPECT_TRUE(p->ticketBought);
    EXPECT_EQ(p->animMode, 0);

    w.game->ticketCost = 2;
    p = w.Inside(booth);
    p->money = 1;
    const int before = p->tickets;
    const int32_t cash2 = w.game->cash;
    p->EnterThink();
    EXPECT_EQ(p->tickets, before);
    EXPECT_EQ(p->money, 1);
    EXPECT_EQ(w.game->cash, cash2);
    EXPECT_FALSE(p->ticketBought);

    for (int32_t cost : {0, -50}) {
        EXPECT_EQ(RubeVisitTicketsToBuy(500, cost), 0) << cost;
        w.game->ticketCost = cost;
        p = w.Inside(booth);
        p->money = 500;
        p->EnterThink();
        EXPECT_EQ(p->money, 500) << "a price of " << cost << " sells nothing";
    }

    std::set<int> counts;
    for (int i = 0; i < 500; ++i) {
        const int n = RubeVisitTicketsToBuy(100000, 50);
        EXPECT_TRUE(n >= 8 && n <= 20 && n % 2 == 0) << n;
        counts.insert(n);
    }
    EXPECT_EQ(counts.size(), 7u) << "every even count 8..20";
    EXPECT_EQ(RubeVisitTicketsToBuy(1000, 50), 20) << "20 x p is still money div p";
}

TEST(RubeVisit, GamesWinByTheOddsAndPayOutNoMoreThanTheCash) {
    CrtSrand(29);
    int wins = 0;
    for (int i = 0; i < 10000; ++i)
        if (RubeVisitGameWin((float)(RandInt(100) + 1) / 100.0f, 10) >= 0.0f) ++wins;
    EXPECT_NEAR(wins, 1000, 100) << "odds 10 win about one play in ten";
    EXPECT_NEAR(RubeVisitGameWin(0.01f, 10), 0.9f, 1e-5f);
    EXPECT_EQ(RubeVisitGameWin(0.1f, 10), 0.0f) << "x = 1 / odds still wins, nothing";
    EXPECT_LT(RubeVisitGameWin(0.11f, 10), 0.0f);
    for (int odds : {0, -3})
        EXPECT_LT(RubeVisitGameWin(0.01f, odds), 0.0f) << odds;

    VisitWorld w(30);
    AttrBase* game = w.Place(kWaterGun, 10, 10);
    GameVals& v = w.game->gameVals;
    v.maxPayout = 500.0f;
    v.hapWinGame = 0.5f;
    v.hapLoseGame = -0.25f;
    Rube1* p = w.Inside(game);
    w.game->cash = 100;
    CrtSrand(SeedFor(100, 0)); // x = 0.01: f = 0.9, trunc(450) against a cash of 100
    p->EnterThink();
    EXPECT_EQ(w.game->cash, 0) << "the payout never takes cash below 0";
    EXPECT_NEAR(p->happiness, 0.45f, 1e-5f);
    EXPECT_EQ(game->winFlag, 1);
    EXPECT_EQ(p->animMode, 0);

    w.game->cash = 1000;
    p = w.Inside(game);
    CrtSrand(SeedFor(100, 0));
    p->EnterThink();
    EXPECT_EQ(w.game->cash, 1000 - 450);

    p = w.Inside(game);
    CrtSrand(SeedFor(100, 50));
    p->EnterThink();
    EXPECT_FLOAT_EQ(p->happiness, -0.25f);
    EXPECT_EQ(w.game->cash, 550);

    game->info->winningOdds = 0;
    for (int i = 0; i < 20; ++i) {
        p = w.Inside(game);
        p->EnterThink();
        EXPECT_FLOAT_EQ(p->happiness, -0.25f) << "odds 0 never win";
    }
    game->info->winningOdds = 10;
}

// ---- the end of the ride ----

TEST(RubeVisit, TheEndOfTheRideSatisfiesFillsBinsAndRates) {
    VisitWorld w(31);
    GameVals& v = w.game->gameVals;
    v.hapRideAborted = -0.3f;
    AttrBase* ride = w.Place(kHammer, 10, 10);
    AttrBase* bin = w.Place(kBin, 30, 10);

    Rube1* p = w.Inside(ride);
    p->needs.level[RUBE_RIDE] = 0.9f;
    ride->broken = true;
    p->PatronRideOver(ride);
    EXPECT_FLOAT_EQ(p->happiness, -0.3f);
    EXPECT_EQ(p->icon.cell, 8);
    EXPECT_FLOAT_EQ(p->needs.level[RUBE_RIDE], 0.9f) << "an aborted ride satisfies nothing";
    EXPECT_EQ(p->state, RUBE_THINK);
    EXPECT_EQ(p->animMode, 0);
    ride->broken = false;

    p = w.Inside(ride);
    p->needs.level[RUBE_RIDE] = 0.9f;
    p->PatronRideOver(ride);
    EXPECT_NEAR(p->needs.level[RUBE_RIDE], 0.3f, 1e-5f);
    EXPECT_GE(p->icon.cell, 18);
    EXPECT_LE(p->icon.cell, 22);
    EXPECT_EQ(p->state, RUBE_THINK);
    EXPECT_EQ(p->target.Get(), nullptr);

    bin->repair = 0.98f;
    p = w.Inside(bin);
    p->needs.level[RUBE_TRASH] = 0.5f;
    p->PatronRideOver(bin);
    EXPECT_FLOAT_EQ(bin->repair, 0.99f);
    EXPECT_TRUE(bin->closed);
    EXPECT_TRUE(bin->repairMe);
    EXPECT_EQ(p->needs.level[RUBE_TRASH], 0.0f);

    // The rating's middle, and its icons.
    AttrInfo info;
    info.attrType = 0;
    info.needs[NEED_EAT] = 0.0f;
    info.needs[NEED_DRINK] = 0.4f;
    info.avgValue = 0.2f;
    EXPECT_FLOAT_EQ(RubeVisitScore(&info, 0), 1.0f) << "free";
    EXPECT_FLOAT_EQ(RubeVisitScore(&info, 1), 0.75f) << "ratio 2 (the drink value)";
    EXPECT_FLOAT_EQ(RubeVisitScore(&info, 4), 0.25f) << "ratio 0.5: 0.5 - 0.25";
    EXPECT_FLOAT_EQ(RubeVisitScore(&info, 8), 0.0f) << "ratio 0.25, held at 0";
    info.needs[NEED_EAT] = 0.5f;
    info.avgValue = 1.0f;
    EXPECT_FLOAT_EQ(RubeVisitScore(&info, 2), 0.0f) << "ratio 0.25 (the eat value first)";
    info.attrType = 2;
    info.duration = 90.0f;
    info.avgValue = 15.0f;
    EXPECT_FLOAT_EQ(RubeVisitScore(&info, 3), 0.5f + 2.0f * 0.125f) << "ratio 2";
    EXPECT_FLOAT_EQ(RubeVisitScore(&info, 100),
                    0.5f - 0.125f / 0.06f < 0.0f ? 0.0f : 0.5f - 0.125f / 0.06f);
    info.avgValue = 0.0f;
    EXPECT_FLOAT_EQ(RubeVisitScore(&info, 3), 1.0f) << "an infinite ratio rates best";
    info.duration = 0.0f;
    EXPECT_FLOAT_EQ(RubeVisitScore(&info, 3), 0.0f) << "0 / 0 rates worst";
    info.duration = 90.0f;
    info.attrType = 0;
    info.needs[NEED_EAT] = info.needs[NEED_DRINK] = 0.0f;
    EXPECT_FLOAT_EQ(RubeVisitScore(&info, 0), 1.0f) << "free and worthless: no 0 / 0";
    EXPECT_FLOAT_EQ(RubeVisitScore(&info, 2), 0.0f);
    EXPECT_EQ(RubeVisitRatingIcon(0.81f), 18);
    EXPECT_EQ(RubeVisitRatingIcon(0.8f), 19);
    EXPECT_EQ(RubeVisitRatingIcon(0.6f), 20);
    EXPECT_EQ(RubeVisitRatingIcon(0.4f), 21);
    EXPECT_EQ(RubeVisitRatingIcon(0.2f), 22);
    EXPECT_EQ(RubeVisitRatingIcon(0.0f), 22);

    // The happiness follows r: free rides rate near 1, worthless ones near 0.
    v.hapAttrFact = 1.0f;
    ride->ticketPrice = 0;
    float sum = 0.0f;
    for (int i = 0; i < 50; ++i) {
        p = w.Inside(ride);
        p->happiness = 0.0f;
        p->PatronRideOver(ride);
        ASSERT_TRUE(std::isfinite(p->happiness));
        sum += p->happiness;
    }
    EXPECT_GT(sum / 50.0f, 0.5f) << "a free ride pleases";
}

// ---- removal ----

TEST(RubeVisit, RemovingASellerWithARiderAndALineRunsTheExitAndBootsEveryone) {
    VisitWorld w(32);
    w.game->gameVals.hapBootedQueue = -0.2f;
    w.game->ticketCost = 50;
    AttrBase* booth = w.Place(kBooth, 10, 10);
    AttrBase* ride = w.Place(kHammer, 30, 10);

    Rube1* rider = w.Inside(booth, true);
    EXPECT_EQ(booth->ridersToBoard, 0) << "the rider reported its seat";
    rider->money = 500;
    const int tickets = rider->tickets;
    std::vector<Rube1*> waiting;
    for (int i = 0; i < 2; ++i) {
        Rube1* p = w.At(booth);
        RubeVisitArrive(p);
        ASSERT_EQ(p->state, RUBE_IN_LINE);
        waiting.push_back(p);
    }
    Rube1* seated = w.Inside(ride, true);
    ASSERT_EQ(seated->animMode, 2);

    GridRemove(w.grid, booth);
    EXPECT_EQ(rider->tickets, tickets + 10) << "the exit ran with the booth's values";
    EXPECT_EQ(rider->money, 0);
    for (Rube1* p : {rider, waiting[0], waiting[1]}) {
        EXPECT_EQ(p->state, RUBE_THINK);
        EXPECT_FLOAT_EQ(p->happiness, -0.2f);
        EXPECT_EQ(p->animMode, 0);
        EXPECT_EQ(p->target.Get(), nullptr);
    }
    GridRemove(w.grid, ride);
    EXPECT_EQ(seated->state, RUBE_THINK);
    EXPECT_EQ(seated->animMode, 0) << "a rider left invisible";
    w.h->Frames(10);
}
