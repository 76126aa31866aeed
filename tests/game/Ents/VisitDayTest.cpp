// A whole day of patrons visiting attractions on the shipped data with no kernel: venue 0, a
// ticket booth, two food stands, two rides, restrooms and a trash can placed as the placing
// screen does, two spawn points, then a drain. Every frame the cash, lines and riders stay in
// bounds; the rides run cycles with real patrons; at closing the cash is exactly what the day's
// costs and ticket sales make it; every patron's money and tickets balance, and the takings sum
// to the tickets spent.
#include "game/AttrInfo.h"
#include "game/Ents/AttrPlace.h"
#include "game/Placement.h"
#include "tests/game/Ents/PatronWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace {
// What the checker saw of one patron: its start, its purchases and spending, and its last state.
struct Seen {
    int32_t money0 = 0, tickets0 = 0;
    int32_t money = 0, tickets = 0;
    int64_t bought = 0, spent = 0;
    uint64_t serial = 0;
};

void RunVisitDay(uint32_t seed) {
    SCOPED_TRACE(seed);
    PatronWorld w(seed);
    MtGame* game = w.game;
    const int types[] = {23, 0, 2, 14, 15, 24, 12};
    std::vector<AttrBase*> attrs;
    int cx = 2;
    for (int type : types) {
        const AttrInfo* info = game->attrList->Get(type);
        int fw, fd;
        PlacementFootprint(info, 0, &fw, &fd);
        AttrBase* a = AttrPlace(w.game, w.grid, w.h->first, info, type, cx, 40, 0);
        ASSERT_NE(a, nullptr) << "type " << type;
        attrs.push_back(a);
        cx += fw + 3;
    }
    AttrBase* rides[2] = {attrs[3], attrs[4]};
    w.AddSpawnPoint(384.0f + 30.5f * 2.0f, 384.0f + 60.5f * 2.0f);
    w.AddSpawnPoint(384.0f + 50.5f * 2.0f, 384.0f + 70.5f * 2.0f);
    // A new game's cash at medium difficulty: enough that no cost is cut short at 0.
    MtGameSetDifficulty(game, 1);
    game->cash = game->gameVals.cashStart[GV_MEDIUM];
    w.OpenDay();
    const int32_t startCash = game->cash;
    ASSERT_GT(startCash, game->venue->rent);
    const int32_t ticketCost = game->ticketCost;
    ASSERT_GT(ticketCost, 0);

    std::map<Rube1*, Seen> seen;
    std::vector<Seen> departed;
    int cycles[2] = {0, 0}, boardingFrames[2] = {0, 0}, riddenWith[2] = {0, 0};
    int lastState[2] = {ATTR_LOADING, ATTR_LOADING};
    auto frame = [&]() {
        w.h->Frame();
        ASSERT_GE(game->cash, 0);
        for (AttrBase* a : attrs) {
            ASSERT_LE(AttrBaseQueueCount(a), a->info->queueMax);
            ASSERT_LE(AttrBaseRiderCount(a), a->info->capacity);
        }
        for (int r = 0; r < 2; ++r) {
            AttrBase* a = rides[r];
            if (a->attrState == ATTR_RIDING)
                riddenWith[r] = std::max(riddenWith[r], AttrBaseRiderCount(a));
            if (lastState[r] == ATTR_UNLOADING && a->attrState == ATTR_LOADING) ++cycles[r];
            boardingFrames[r] = a->attrState == ATTR_BOARDING ? boardingFrames[r] + 1 : 0;
            ASSERT_LT(boardingFrames[r], 50) << "ride " << r << " stays in boarding";
            lastState[r] = a->attrState;
        }
        // The patrons: purchases raise tickets, visits lower them.
        std::map<Rube1*, Seen> now;
        for (int i = 0; i < RubeLiveCount(); ++i) {
            Rube1* p = RubeLiveAt(i);
            auto it = seen.find(p);
            Seen s;
            if (it != seen.end() && it->second.serial == EntSerialOf(p)) {
                s = it->second;
                if (p->tickets > s.tickets) s.bought += p->tickets - s.tickets;
                if (p->tickets < s.tickets) s.spent += s.tickets - p->tickets;
            } else {
                s.money0 = p->money;
                s.tickets0 = p->tickets;
                s.serial = EntSerialOf(p);
            }
            s.money = p->money;
            s.tickets = p->tickets;
            ASSERT_TRUE(std::isfinite(p->happiness));
            now[p] = s;
        }
        for (auto& [p, s] : seen)
            if (!now.count(p) || now[p].serial != s.serial) departed.push_back(s);
        seen = std::move(now);
    };

    int frames = 0;
    while (!game->dayOver && frames++ < 40000 && !testing::Test::HasFatalFailure())
        frame();
    ASSERT_TRUE(game->dayOver);

    // At closing.
    int hourly = 0;
    for (const SimEvent& e : w.h->Events())
        if (e.event == GE_HOURLY) ++hourly;
    EXPECT_EQ(hourly, 12);
    int64_t idle = 0;
    for (AttrBase* a : attrs)
        idle += a->info->idleCost;
    int64_t sold = 0;
    auto count = [&](const Seen& s) {
        const int64_t paid = (int64_t)s.money0 - s.money;
        EXPECT_EQ(paid % ticketCost, 0) << "money fell by something other than tickets";
        sold += paid / ticketCost;
    };
    for (const Seen& s : departed)
        count(s);
    for (auto& [p, s] : seen)
        count(s);
    EXPECT_GT(sold, 0) << "nobody bought a ticket";
    const int64_t expected = (int64_t)startCash - game->venue->rent - 12 * idle +
                             (int64_t)MtGameCashMult(game) * ticketCost * sold;
    EXPECT_EQ(game->cash, expected) << "start " << startCash << " rent " << game->venue->rent
                                    << " idle " << idle << " sold " << sold;
    for (int r = 0; r < 2; ++r) {
        EXPECT_GT(cycles[r], 0) << "ride " << r << " never completed a cycle";
        EXPECT_GT(riddenWith[r], 0) << "ride " << r << " ran empty";
    }

    // The drain.
    for (int i = 0; i < (int)(1500.0f / w.h->options.dt) && !testing::Test::HasFatalFailure(); ++i)
        frame();
    EXPECT_EQ(w.PatronsInTree(), 0);
    for (auto& [p, s] : seen)
        departed.push_back(s);
    int64_t spent = 0;
    for (const Seen& s : departed) {
        EXPECT_EQ(s.money0, s.money + (int64_t)ticketCost * s.bought);
        EXPECT_EQ(s.tickets0 + s.bought, s.tickets + s.spent);
        spent += s.spent;
    }
    int64_t takings = 0;
    for (AttrBase* a : attrs)
        takings += a->takings;
    EXPECT_EQ(takings, spent) << "tickets spent somewhere other than an attraction";
    EXPECT_GT(spent, 0);
}
} // namespace

TEST(VisitDay, AShippedDayOfVisitsBalancesCashTicketsAndTakings) {
    for (uint32_t seed : {1u, 2u, 3u})
        RunVisitDay(seed);
}

// Values no shipped type has: a ticket cost of 0 or below, odds of 0 or below for a bin and
// games, a stand worth nothing at no price, a free ride and one no patron can afford. The day
// runs out, nobody's happiness stops being a number and everybody still goes home.
TEST(VisitDay, HostileValuesGiveDefinedResultsAndEveryoneGoesHome) {
    for (int32_t ticketCost : {0, -50, 50}) {
        SCOPED_TRACE(ticketCost);
        PatronWorld w(7);
        MtGame* game = w.game;
        AttrInfoList* list = game->attrList;
        list->Get(12)->winningOdds = 0; // a bin
        list->Get(42)->winningOdds = 0; // games
        list->Get(44)->winningOdds = -3;
        list->Get(0)->avgValue = 0.0f; // a drink stand worth nothing, at no price
        list->Get(0)->needs[NEED_DRINK] = 0.0f;
        list->Get(0)->needs[NEED_EAT] = 0.0f;
        list->Get(0)->needs[NEED_RIDE] = 0.6f;
        const int types[] = {23, 0, 2, 14, 15, 42, 44, 24, 12};
        std::vector<AttrBase*> attrs;
        int cx = 2;
        for (int type : types) {
            const AttrInfo* info = list->Get(type);
            int fw, fd;
            PlacementFootprint(info, 0, &fw, &fd);
            AttrBase* a = AttrPlace(w.game, w.grid, w.h->first, info, type, cx, 40, 0);
            ASSERT_NE(a, nullptr) << "type " << type;
            attrs.push_back(a);
            cx += fw + 3;
        }
        attrs[1]->ticketPrice = 0;
        attrs[3]->ticketPrice = 0;   // a free ride
        attrs[4]->ticketPrice = 999; // a ride nobody can afford
        w.AddSpawnPoint(384.0f + 30.5f * 2.0f, 384.0f + 60.5f * 2.0f);
        game->ticketCost = ticketCost;
        game->cash = 100000;
        w.OpenDay();
        int frames = 0;
        auto frame = [&]() {
            w.h->Frame();
            for (int i = 0; i < RubeLiveCount(); ++i)
                ASSERT_TRUE(std::isfinite(RubeLiveAt(i)->happiness));
            ASSERT_GE(game->cash, 0);
        };
        while (!game->dayOver && frames++ < 40000 && !testing::Test::HasFatalFailure())
            frame();
        ASSERT_TRUE(game->dayOver);
        for (int i = 0; i < (int)(1500.0f / w.h->options.dt) && !testing::Test::HasFatalFailure();
             ++i)
            frame();
        EXPECT_EQ(w.PatronsInTree(), 0) << "a patron stayed for ever";
        EXPECT_GT(w.gen->created, 0);
    }
}
