// Whole carnival days on the shipped data with no kernel, checked every frame: the costs of a day
// to the cent, a day with patrons keeping its counts and bounds, two runs of one seed agreeing bit
// for bit, the career's end of day into a second day, a worn ride breaking for good while a full
// bin is emptied by a carny, and an overload that trips the biggest consumer.
#include "tests/game/Ents/WholeDay.h"
#include "engine/EntTree.h"
#include "engine/Files.h"
#include "game/Ents/Litter.h"
#include "game/Ents/Rube1.h"
#include "game/Ents/RubeGen.h"
#include "game/MtGameSave.h"
#include "game/MtPowerGrid.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace {
// The shipped types the day with patrons places: the ticket booth, food 0 and 2, rides 14 and
// 15, the restrooms and the trash can.
constexpr int kTicketBooth = 23, kFoodA = 0, kFoodB = 2, kRideA = 14, kRideB = 15, kRestrooms = 24,
              kTrashCan = 12;
const int kDayTypes[] = {kTicketBooth, kFoodA, kFoodB, kRideA, kRideB, kRestrooms, kTrashCan};

// The facts every frame must keep, and what the end-of-day checks need of the frames.
struct DayChecker {
    explicit DayChecker(WholeDay* d) : day(d) {
        const VenueInfo* venue = d->game->venue;
        lo = std::min(venue->baseRubes, 5);
        hi = std::max(5, venue->baseRubes + venue->extraRubes);
        for (const AttrBase* a : d->attrs)
            longestCycle = std::max(longestCycle, a->info->queueWaitTime + a->info->duration +
                                                      a->info->unloadDelay);
    }

    void Frame() {
        MtGame* game = day->game;
        RubeGen* gen = day->cw.w.gen;
        const int createdBefore = gen->created;
        const float timeBefore = game->gameTime;
        const bool overBefore = game->dayOver != 0;
        const int presentBefore = day->Patrons(), maxBefore = gen->max;
        day->Frame();
        ++frames;
        ASSERT_GE(game->cash, 0) << "cash below 0 at frame " << frames;
        const int present = day->Patrons();
        peak = std::max(peak, present);
        // A departure may lower the maximum below those still present (by up to "hapRubeMod"),
        // so the bound holds where patrons are made: only below the maximum, and never above
        // the venue's ceiling.
        if (gen->created > createdBefore) {
            ASSERT_LT(presentBefore, maxBefore) << "a patron made at the maximum, frame " << frames;
        }
        ASSERT_LE(present, hi) << "more patrons than the venue sends at frame " << frames;
        ASSERT_GE(gen->max, lo);
        ASSERT_LE(gen->max, hi);
        for (AttrBase* a : day->attrs) {
            ASSERT_LE(AttrBaseQueueCount(a), a->info->queueMax) << a->GetName();
            ASSERT_LE(AttrBaseRiderCount(a), a->info->capacity) << a->GetName();
        }
        if (overBefore || timeBefore > game->gameVals.closingTime - 0.5f) {
            ASSERT_EQ(gen->created, createdBefore) << "a patron after the gate shut";
        }
        if (!game->dayOver) minDelay = std::min(minDelay, gen->delay);
        // Births and deaths through the registry of live patrons, by serial number.
        std::unordered_map<uint64_t, double> now;
        for (int i = 0; i < RubeLiveCount(); ++i) {
            const uint64_t serial = EntSerialOf(RubeLiveAt(i));
            auto it = born.find(serial);
            now[serial] = it == born.end() ? day->seconds : it->second;
        }
        for (const auto& [serial, at] : born)
            if (!now.count(serial)) {
                ++destroyed;
                longestLife = std::max(longestLife, day->seconds - at);
            }
        born.swap(now);
        ASSERT_EQ(gen->created - destroyed, present) << "created - destroyed != present";
    }

    WholeDay* day;
    int lo = 0, hi = 0, frames = 0, peak = 0, destroyed = 0;
    float minDelay = 1e9f, longestCycle = 0.0f;
    double longestLife = 0.0;
    std::unordered_map<uint64_t, double> born;
};

// Venue 0 as shipped, the day's types placed and the spawn points added; the preconditions on
// the shipped data asserted first.
void SetUpPatronDay(WholeDay* d) {
    const VenueInfo* venue = d->game->venue;
    ASSERT_NE(venue, nullptr);
    ASSERT_GE(venue->baseRubes, 5) << "the shipped venue 0 sends at least 5 patrons";
    for (int type : kDayTypes) {
        ASSERT_NE(d->game->attrList->Get(type), nullptr) << "shipped type " << type;
        ASSERT_NE(d->Place(type), nullptr) << "type " << type << " fits the grid";
    }
    ASSERT_GT(MtGameVenuePower(d->game), d->PeakDemand())
        << "the shipped supply covers the placed peak demand";
    d->AddSpawnPoints();
}

using Hour = std::array<int64_t, 3>; // cash, created, present

struct DayResult {
    std::vector<Hour> hours;
    uint64_t treeHash = 0;
};

// FNV-1a over names, types, positions and states of the whole tree in pre-order.
void HashBytes(uint64_t* h, const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) {
        *h ^= p[i];
        *h *= 1099511628211ull;
    }
}
void HashTree(uint64_t* h, const EntNode* n) {
    for (; n; n = n->next) {
        if (n->deleteCount != 0 || !n->object) continue;
        ENTBASE* e = n->object;
        HashBytes(h, e->GetName(), std::strlen(e->GetName()));
        HashBytes(h, e->GetTypeName(), std::strlen(e->GetTypeName()));
        if (const VECTOR3* p = e->GetPos()) HashBytes(h, p, sizeof *p);
        int32_t state = -1;
        if (std::strcmp(e->GetTypeName(), "Rube1") == 0) state = static_cast<Rube1*>(e)->state;
        if (std::strcmp(e->GetTypeName(), "Carny") == 0) state = static_cast<Carny*>(e)->task;
        if (std::strcmp(e->GetTypeName(), "AttrBase") == 0)
            state = static_cast<AttrBase*>(e)->attrState;
        HashBytes(h, &state, sizeof state);
        HashTree(h, n->firstChild);
    }
}
uint64_t TreeHash(ENTBASE* root) {
    uint64_t h = 1469598103934665603ull;
    HashTree(&h, root->node);
    return h;
}

// The day with patrons: the every-frame checks, the closing checks, the drain.
DayResult RunPatronDay(WholeDay* d, DayChecker* c) {
    DayResult result;
    MtGame* game = d->game;
    const int32_t start = game->career.cash;
    d->Open(start);
    int lastHour = (int)game->gameTime;
    int32_t opened = -1;
    while (!game->dayOver && c->frames < 60000) {
        c->Frame();
        if (testing::Test::HasFatalFailure()) return result;
        if (opened < 0) opened = game->cash;
        if ((int)game->gameTime != lastHour) {
            lastHour = (int)game->gameTime;
            result.hours.push_back({game->cash, d->cw.w.gen->created, d->Patrons()});
        }
    }
    EXPECT_TRUE(game->dayOver);
    const VenueInfo* venue = game->venue;
    EXPECT_EQ(opened, start - venue->rent) << "the day's costs: the rent and nothing bought";
    EXPECT_LE(d->cw.w.gen->created, (int)std::floor(1440.0f / c->minDelay) + 2);
    const int64_t mult = MtGameCashMult(game), price = game->ticketCost;
    const int64_t wages = (int64_t)CARNY_WAGE * d->cw.CountOf("Carny");
    const int64_t sales = (int64_t)game->cash - ((int64_t)opened - 12 * (d->IdleCostSum() + wages));
    EXPECT_EQ(sales % (mult * price), 0) << "cash moved by anything but costs and tickets";
    EXPECT_GT(sales, 0) << "no tickets sold";
    // What the day booked, event by event, adds up to its cash; its costs are the rent and the
    // twelve hours' costs and wages the data names.
    const MtGameDayAccount& booked = game->day;
    EXPECT_EQ((int64_t)game->cash,
              start + booked.sales - booked.costs - booked.deposits + booked.refunds)
        << "sales " << booked.sales << ", costs " << booked.costs << ", deposits "
        << booked.deposits << ", refunds " << booked.refunds;
    EXPECT_EQ(booked.costs, venue->rent + 12 * (d->IdleCostSum() + wages));
    const int32_t closed = game->cash;
    for (int i = 0; i < (int)(1500.0f / d->cw.w.h->options.dt); ++i) {
        c->Frame();
        if (testing::Test::HasFatalFailure()) return result;
    }
    EXPECT_EQ(game->cash, closed) << "the crowd leaving after the close moved the day's money";
    EXPECT_EQ(d->Patrons(), 0) << "patrons still in the carnival after the drain";
    for (AttrBase* a : d->attrs)
        EXPECT_TRUE(a->attrState == ATTR_LOADING || a->attrState == ATTR_BROKEN ||
                    a->attrState == ATTR_CLOSED)
            << a->GetName() << " in state " << a->attrState << " after the drain";
    // The longest a patron may wait: a full line at the slowest attraction, ride by ride.
    float worst = 0.0f;
    for (const AttrBase* a : d->attrs)
        if (a->info->capacity > 0)
            worst = std::max(worst, ((float)a->info->queueMax / (float)a->info->capacity + 1.0f) *
                                        c->longestCycle);
    EXPECT_LE(c->longestLife, 1000.0 + worst + 60.0) << "a patron stuck in the carnival";
    result.treeHash = TreeHash(d->cw.w.h->root);
    return result;
}
} // namespace

// ---- T1: the costs of a day, exactly ----

TEST(WholeDay, CostsOnlyToTheCent) {
    for (int32_t careerCash : {1000000, 10000}) {
        WholeDay d(1);
        MtGame* game = d.game;
        VenueInfo* venue = game->venue;
        ASSERT_NE(venue, nullptr);
        // Changed in memory: no patrons, a rent of 5000 and bills at 20000.
        venue->baseRubes = 0;
        venue->extraRubes = 0;
        venue->rent = 5000;
        game->gameVals.billsCost = 20000;
        const int costs[3] = {100, 150, 200};
        for (int i = 0; i < 3; ++i) {
            AttrInfo* info = game->attrList->Get(kDayTypes[i]);
            info->idleCost = costs[i]; // changed in memory
            ASSERT_NE(d.Place(kDayTypes[i]), nullptr);
        }
        d.AddSpawnPoints();
        game->marketingFlags = MKT_BILLS;
        game->surveyBought = 0;
        game->career.cash = careerCash;
        MtGameStartDay(game);
        MtGameHireCarny(game); // after the start of day, which caches the generator
        ASSERT_EQ(d.cw.CountOf("Carny"), 1);
        d.cw.w.h->OpenDay();
        d.Frame();
        const int32_t afterOpening = careerCash == 1000000 ? 975000 : 0;
        EXPECT_EQ(game->cash, afterOpening) << "rent and bills at the opening";
        int frames = 0;
        while (!game->dayOver && frames++ < 60000) {
            d.Frame();
            if (careerCash == 10000) {
                ASSERT_EQ(game->cash, 0) << "cash below 0 never recovers";
            }
        }
        ASSERT_TRUE(game->dayOver);
        EXPECT_EQ(game->cash, careerCash == 1000000 ? 960000 : 0)
            << "12 hours of 100 + 150 + 200 idle cost and one carny's 800";
        int hourly = 0, ends = 0;
        for (const SimEvent& e : d.cw.w.h->Events()) {
            hourly += e.event == GE_HOURLY;
            ends += e.event == GE_END_OF_DAY;
        }
        EXPECT_EQ(hourly, 12);
        EXPECT_EQ(ends, 1);
        const float dt = d.cw.w.h->options.dt;
        EXPECT_GT(game->gameTime, 22.5f);
        EXPECT_LE(game->gameTime, 22.5f + dt / 120.0f + 1e-5f);
        EXPECT_EQ(d.Patrons(), 0);
    }
}

// ---- T2 and T3: a day with patrons, and determinism ----

TEST(WholeDay, ADayWithPatronsKeepsItsCountsAndBoundsForSeedsOneTwoThree) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        WholeDay d(seed);
        SetUpPatronDay(&d);
        if (HasFatalFailure()) return;
        DayChecker c(&d);
        RunPatronDay(&d, &c);
        if (HasFatalFailure()) return;
        EXPECT_GT(c.peak, 0) << "the day drew nobody";
    }
}

TEST(WholeDay, TwoRunsOfOneSeedAgreeHourByHourAndBitForBit) {
    DayResult runs[2];
    for (DayResult& r : runs) {
        WholeDay d(2);
        SetUpPatronDay(&d);
        if (HasFatalFailure()) return;
        MtGameStartDay(d.game);
        MtGameHireCarny(d.game);
        MtGameHireCarny(d.game);
        DayChecker c(&d);
        r = RunPatronDay(&d, &c);
        if (HasFatalFailure()) return;
    }
    EXPECT_GE(runs[0].hours.size(), 12u);
    EXPECT_EQ(runs[0].hours, runs[1].hours);
    EXPECT_EQ(runs[0].treeHash, runs[1].treeHash) << "the final trees differ";
}

// ---- T4: the career's end of day and a second day ----

TEST(WholeDay, TheCareerChainCarriesTheCashIntoASecondDay) {
    WholeDay d(1);
    SetUpPatronDay(&d);
    if (HasFatalFailure()) return;
    MtGame* game = d.game;
    game->career.cash = 1000000;
    DayChecker c(&d);
    RunPatronDay(&d, &c);
    if (HasFatalFailure()) return;

    game->onDeposit = 12345;
    game->cash += game->onDeposit;
    const int32_t withDeposit = game->cash;
    const std::string before = game->career.attrUnlock;
    MtGameNextDay(game);
    ASSERT_TRUE(MtGameSaveCareer(game, game->career.name));
    game->cash -= game->onDeposit;
    game->career.cash = game->cash;
    MtGameStartDay(game);

    EXPECT_EQ(game->career.daysRun, 1);
    EXPECT_EQ(game->career.cash, game->cash);
    char path[1024];
    ASSERT_TRUE(MtGameCareerPath(path, sizeof path, game->career.name));
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\ncash=" + std::to_string(withDeposit) + "\n"), std::string::npos)
        << "the career file holds the cash with the deposit:\n"
        << text.str();
    for (int t = 0; t < game->attrList->Count() && t < 127; ++t) {
        const bool cheap = game->attrList->Get(t)->unlockPrice < withDeposit;
        EXPECT_EQ(game->career.attrUnlock[t] == '+', before[(size_t)t] == '+' || cheap)
            << "type " << t;
    }

    EXPECT_EQ(d.Patrons(), 0) << "day 2 starts with nobody";
    for (const AttrBase* a : d.attrs) {
        EXPECT_EQ(AttrBaseQueueCount(a), 0);
        EXPECT_TRUE(a->attrState == ATTR_LOADING || a->attrState == ATTR_BROKEN ||
                    a->attrState == ATTR_CLOSED);
    }
    d.cw.w.h->OpenDay();
    DayChecker second(&d);
    int frames = 0;
    while (!game->dayOver && frames++ < 60000) {
        second.Frame();
        if (HasFatalFailure()) return;
    }
    EXPECT_TRUE(game->dayOver) << "day 2 ran to its end";
}

// ---- a carny at work on a day with patrons: a bin closed for emptying, litter dropped ----

TEST(WholeDay, ACarnyEmptiesTheFullBinAndSweepsTheLitter) {
    WholeDay d(1);
    SetUpPatronDay(&d);
    if (HasFatalFailure()) return;
    MtGame* game = d.game;
    AttrBase* bin = nullptr;
    for (AttrBase* a : d.attrs)
        if (a->type == kTrashCan) bin = a;
    ASSERT_NE(bin, nullptr);
    game->attrList->Get(kTrashCan)->winningOdds = 1; // changed in memory
    MtGameStartDay(game);
    MtGameHireCarny(game);
    d.cw.w.h->OpenDay();
    DayChecker c(&d);
    for (int i = 0; i < 200; ++i)
        c.Frame();
    // Filled as the visit fills it: the trash a patron brings over winningOdds takes the bin
    // past 0.99, and it closes for emptying.
    bin->repair = 0.99f;
    AttrBaseSetClosed(bin, true);
    bin->repairMe = 1;
    std::vector<Litter*> litter;
    for (int i = 0; i < 3; ++i)
        litter.push_back(
            LitterDrop(d.cw.w.gen, d.cw.Cell(30 + 10 * i, 118).x, d.cw.Cell(0, 118).z));
    auto* carny = static_cast<Carny*>(EntTreeFindType(d.cw.w.h->root, "Carny"));
    ASSERT_NE(carny, nullptr);
    bool repaired = false, sawRepair = false;
    while (!game->dayOver && c.frames < 60000) {
        c.Frame();
        if (HasFatalFailure()) return;
        sawRepair = sawRepair || (carny->task == CARNY_REPAIR && carny->target.Get() == bin);
        if (sawRepair && !bin->closed && !bin->repairMe) repaired = true;
        bool swept = true;
        for (Litter* l : litter)
            swept = swept && !EntIsLive(l);
        if (repaired && swept) break;
    }
    EXPECT_TRUE(sawRepair) << "no carny came to the bin";
    EXPECT_TRUE(repaired) << "the bin was not emptied and opened again";
    for (Litter* l : litter)
        EXPECT_FALSE(EntIsLive(l)) << "litter left on the ground";
}

// ---- T5 and T6: breakdowns and power ----

TEST(WholeDay, AWornRideBreaksForGoodAndTheBinFillsAndIsEmptied) {
    WholeDay d(1);
    MtGame* game = d.game;
    game->attrList->Get(kRideA)->degRateRun = 36.0f; // changed in memory
    game->attrList->Get(kTrashCan)->winningOdds = 1; // changed in memory
    SetUpPatronDay(&d);
    if (HasFatalFailure()) return;
    AttrBase *ride = nullptr, *bin = nullptr;
    for (AttrBase* a : d.attrs) {
        if (a->type == kRideA) ride = a;
        if (a->type == kTrashCan) bin = a;
    }
    ASSERT_TRUE(ride && bin);
    MtGameStartDay(game);
    MtGameHireCarny(game);
    d.cw.w.h->OpenDay();
    DayChecker c(&d);
    double crossed = -1.0, broke = -1.0;
    bool binAsked = false, binEmptied = false;
    while (!game->dayOver && c.frames < 60000) {
        c.Frame();
        if (HasFatalFailure()) return;
        if (crossed < 0.0 && ride->repair >= 0.75f) crossed = d.seconds;
        if (broke < 0.0 && ride->attrState == ATTR_BROKEN) {
            broke = d.seconds;
            EXPECT_EQ(AttrBaseStatusIcon(ride), ATTR_ICON_BROKEN);
        }
        if (broke >= 0.0) {
            EXPECT_EQ(ride->attrState, ATTR_BROKEN) << "a ride broken for good was repaired";
        }
        if (bin->closed && bin->repairMe) binAsked = true;
        if (binAsked && !bin->closed && !bin->repairMe) binEmptied = true;
    }
    EXPECT_GE(crossed, 0.0) << "the ride never wore past 0.75";
    EXPECT_GE(broke, crossed) << "the ride broke before it wore past 0.75, or never";
    EXPECT_TRUE(binAsked) << "the bin never filled";
    EXPECT_TRUE(binEmptied) << "no carny emptied the bin";
    EXPECT_NE(d.cw.w.h->Log().find("is about to destroy Litter"), std::string::npos)
        << "no litter swept";
}

TEST(WholeDay, OverloadClosesTheBigConsumerAndBlinksTheLights) {
    WholeDay d(1);
    MtGame* game = d.game;
    game->attrList->Get(kRideB)->conAtPeakPower = 2.5f; // changed in memory
    SetUpPatronDay(&d);
    if (HasFatalFailure()) return;
    // Changed in memory: the supply at half the placed peak demand, given to the running grid.
    game->venue->powerSupply = d.PeakDemand() * 0.5f;
    auto* grid = static_cast<MtPowerGrid*>(EntTreeFindType(d.cw.w.h->root, "MtPowerGrid"));
    ASSERT_NE(grid, nullptr);
    MtPowerGridUse(grid, game, game->venue->powerSupply, 0.0f);
    AttrBase* big = nullptr;
    for (AttrBase* a : d.attrs)
        if (a->type == kRideB) big = a;
    ASSERT_NE(big, nullptr);
    d.Open(1000000);
    DayChecker c(&d);
    double overload = 0.0;
    bool closed = false;
    int64_t lit = 0, counted = 0;
    while (!game->dayOver && c.frames < 60000) {
        const float delay = d.cw.w.gen->delay;
        const bool wasClosed = big->closed != 0;
        c.Frame();
        if (HasFatalFailure()) return;
        const bool over = MtPowerGridOverloaded(grid);
        if (over && !closed) overload += d.cw.w.h->options.dt;
        if (!wasClosed && big->closed) {
            closed = true;
            EXPECT_LE(overload, 12.0 + d.cw.w.h->options.dt) << "overloaded too long";
            EXPECT_EQ(d.cw.w.gen->delay, delay) << "a trip changes no spawn delay";
            const int icon = AttrBaseStatusIcon(big);
            EXPECT_TRUE(icon == ATTR_ICON_CLOSED || icon == ATTR_ICON_CLOSED_POWER) << icon;
        }
        if (over)
            for (const AttrBase* a : d.attrs)
                if (!a->closed && !a->broken) {
                    lit += a->lightsOn ? 1 : 0;
                    ++counted;
                }
    }
    EXPECT_TRUE(closed) << "the big consumer never tripped";
    ASSERT_GT(counted, 0);
    EXPECT_NEAR((double)lit / (double)counted, 0.5, 0.03) << "the lights blink half the time";
}

// ---- attractions opened and closed while the gates are open ----

namespace {
// Every arrival the generator was free to make (below its maximum, the gate open) comes one
// spawn delay after the one before, to the frame: the delay the earlier arrival set.
struct ArrivalWatch {
    explicit ArrivalWatch(WholeDay* d) : day(d) {}

    void Frame() {
        RubeGen* gen = day->cw.w.gen;
        MtGame* game = day->game;
        const int createdBefore = gen->created;
        held = held || gen->present >= gen->max || game->dayOver ||
               game->gameTime > game->gameVals.closingTime - 0.5f;
        day->Frame();
        ++frames;
        if (gen->created == createdBefore) return;
        if (lastFrame >= 0 && !held) {
            const float gap = (float)(frames - lastFrame) * day->cw.w.h->options.dt;
            ASSERT_GE(gap, lastDelay - 1e-3f) << "an arrival before its delay ran out";
            ASSERT_LT(gap, lastDelay + day->cw.w.h->options.dt + 1e-3f)
                << "an arrival a frame or more after its delay of " << lastDelay << " s";
            gapsAt.push_back(lastDelay);
        }
        lastFrame = frames;
        lastDelay = gen->spawnTimer; // the delay the arrival set, not yet run down
        held = false;
    }

    void Seconds(float seconds) {
        for (int i = 0; i < (int)(seconds / day->cw.w.h->options.dt); ++i) {
            Frame();
            if (testing::Test::HasFatalFailure()) return;
        }
    }

    bool SawGapAt(float delay) const {
        for (float at : gapsAt)
            if (std::fabs(at - delay) < 1e-4f) return true;
        return false;
    }

    WholeDay* day;
    int frames = 0, lastFrame = -1;
    float lastDelay = 0.0f;
    bool held = false;
    std::vector<float> gapsAt;
};
} // namespace

TEST(WholeDay, AttractionsOpenedDuringTheDayBringPatronsFasterAndClosedOnesSlower) {
    WholeDay d(1);
    SetUpPatronDay(&d);
    if (HasFatalFailure()) return;
    MtGame* game = d.game;
    const float venueDelay = game->venue->delayTimer;
    ASSERT_FLOAT_EQ(venueDelay, 5.0f) << "the shipped venue 0 sends a patron every 5 s";
    constexpr int kHammerSpin = 14;
    ASSERT_FLOAT_EQ(game->attrList->Get(kHammerSpin)->rubeRateFactor, 0.1f);
    d.Open(1000000);
    RubeGen* gen = d.cw.w.gen;
    EXPECT_FLOAT_EQ(gen->delay, 5.0f) << "the start of day resets the delay";
    ArrivalWatch watch(&d);
    watch.Seconds(30.0f);
    if (HasFatalFailure()) return;

    // The Hammer Spin placed with the gates open: 5 - 0.1 x 5.
    AttrBase* spin = d.Place(kHammerSpin);
    ASSERT_NE(spin, nullptr);
    EXPECT_FLOAT_EQ(gen->delay, 4.5f) << "opening an attraction brings patrons faster";
    watch.Seconds(30.0f);
    if (HasFatalFailure()) return;
    AttrBaseSetClosed(spin, true);
    EXPECT_FLOAT_EQ(gen->delay, 5.0f) << "closing it again slows them back";
    AttrBaseSetClosed(spin, false);
    EXPECT_FLOAT_EQ(gen->delay, 4.5f);
    watch.Seconds(30.0f);
    if (HasFatalFailure()) return;
    EXPECT_TRUE(watch.SawGapAt(4.5f)) << "no arrival came 4.5 s after the one before";

    // Ten more opened one by one: each takes its factor x 5 s off, down to 1 s at the least;
    // then each closed again puts its share back.
    const int more[] = {15, 16, 17, 18, 19, 20, 21, 1, 3, 4};
    std::vector<AttrBase*> opened;
    for (int type : more) {
        const float expected = std::clamp(
            gen->delay - game->attrList->Get(type)->rubeRateFactor * venueDelay, 1.0f, 10.0f);
        AttrBase* a = d.Place(type);
        ASSERT_NE(a, nullptr) << "type " << type << " fits the grid";
        opened.push_back(a);
        EXPECT_FLOAT_EQ(gen->delay, expected) << "opening type " << type;
        watch.Seconds(10.0f);
        if (HasFatalFailure()) return;
    }
    EXPECT_LT(gen->delay, 4.5f);
    for (AttrBase* a : opened) {
        if (a->closed) continue; // an overload may have tripped it without moving the delay
        const float expected =
            std::clamp(gen->delay + a->info->rubeRateFactor * venueDelay, 1.0f, 10.0f);
        AttrBaseSetClosed(a, true);
        EXPECT_FLOAT_EQ(gen->delay, expected) << "closing " << a->GetName();
    }
    int frames = 0;
    while (!game->dayOver && frames++ < 60000) {
        watch.Frame();
        if (HasFatalFailure()) return;
    }
    EXPECT_TRUE(game->dayOver);
    EXPECT_GT(watch.gapsAt.size(), 10u) << "too few free arrivals to judge the delay by";
}
