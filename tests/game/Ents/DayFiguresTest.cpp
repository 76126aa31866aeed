// A change detector: a whole day's figures for a fixed seed, held to the ones the simulation has
// always produced: cash, patrons made and present, and every attraction's takings, hour by hour
// and at the close, and a digest of where everyone stands. It says that a figure moved, not that
// one is wrong: faster code must not move one; a change meant to move them re-pins them. Beside
// the figures, what they must be whatever they are (ExpectMoneyAddsUp). The light day is the
// shipped venue with a handful of attractions; a crowd of 300 over sixty attractions and ten
// carnies; the heavy one, a crowd of 2,000, is a release-build test.
#include "engine/EntTree.h"
#include "game/Ents/Rube1.h"
#include "game/Ents/RubeGen.h"
#include "game/MtGameMoney.h"
#include "tests/game/Ents/WholeDay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

struct Figures {
    uint64_t h = 1469598103934665603ull;
    void Add(int64_t v) {
        for (int i = 0; i < 8; ++i) {
            h ^= uint8_t(uint64_t(v) >> (8 * i));
            h *= 1099511628211ull;
        }
    }
    void AddFloat(float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        Add(bits);
    }
};

// Cash, made and present each game hour; at the close the cash, the patrons made and every
// attraction's takings; after the drain the place of every patron, carny and attraction.
struct DayFigures {
    int64_t cash = 0, created = 0, takings = 0, hours = 0;
    uint64_t digest = 0;
};

void AddPlaces(Figures* f, const EntNode* n) {
    for (; n; n = n->next) {
        if (n->deleteCount != 0 || !n->object) continue;
        if (const VECTOR3* p = n->object->GetPos()) {
            f->AddFloat(p->x);
            f->AddFloat(p->z);
        }
        AddPlaces(f, n->firstChild);
    }
}

// What the figures stand for, whatever they are: the cash moved only by what the day booked, and
// the attractions took no ticket the booth did not sell.
void ExpectMoneyAddsUp(MtGame* game, int64_t cashBefore, const MtGameDayAccount& before,
                       int64_t ticketsTaken) {
    const MtGameDayAccount& now = game->day;
    const int64_t sales = now.sales - before.sales;
    EXPECT_EQ((int64_t)game->cash, cashBefore + sales - (now.costs - before.costs) -
                                       (now.deposits - before.deposits) +
                                       (now.refunds - before.refunds))
        << "the cash moved by something the day did not book";
    const int64_t ticket = (int64_t)MtGameCashMult(game) * game->ticketCost;
    ASSERT_GT(ticket, 0);
    EXPECT_EQ(sales % ticket, 0) << "sales that are not a number of tickets";
    EXPECT_LE(ticketsTaken, sales / ticket) << "attractions took tickets nobody bought";
}

DayFigures RunDay(WholeDay* d) {
    DayFigures out;
    Figures f;
    MtGame* game = d->game;
    const int64_t cashBefore = game->cash;
    const MtGameDayAccount bookedBefore = game->day;
    int lastHour = (int)game->gameTime;
    for (int frames = 0; !game->dayOver && frames < 60000; ++frames) {
        d->Frame();
        if ((int)game->gameTime != lastHour) {
            lastHour = (int)game->gameTime;
            f.Add(game->cash);
            f.Add(d->cw.w.gen->created);
            f.Add(RubeLiveCount());
            ++out.hours;
        }
    }
    out.cash = game->cash;
    out.created = d->cw.w.gen->created;
    for (const AttrBase* a : d->attrs) {
        out.takings += a->takings;
        f.Add(a->takings);
    }
    ExpectMoneyAddsUp(game, cashBefore, bookedBefore, out.takings);
    for (int i = 0; i < (int)(300.0f / d->cw.w.h->options.dt); ++i)
        d->Frame();
    AddPlaces(&f, d->cw.w.h->root->node);
    out.digest = f.h;
    return out;
}

void ExpectFigures(const DayFigures& got, int64_t cash, int64_t created, int64_t takings,
                   uint64_t digest) {
    std::printf("cash %lld created %lld takings %lld hours %lld digest 0x%016llxull\n",
                (long long)got.cash, (long long)got.created, (long long)got.takings,
                (long long)got.hours, (unsigned long long)got.digest);
    EXPECT_EQ(got.cash, cash);
    EXPECT_EQ(got.created, created);
    EXPECT_EQ(got.takings, takings);
    EXPECT_EQ(got.digest, digest) << "an hour's figures, a taking or a place moved";
}

} // namespace

TEST(DayFiguresChangeDetector, TheShippedVenueWithTwoCarniesForSeedTwo) {
    WholeDay d(2);
    for (int type : {23, 0, 2, 14, 15, 24, 12})
        ASSERT_NE(d.Place(type), nullptr) << "type " << type;
    d.AddSpawnPoints();
    MtGameStartDay(d.game);
    MtGameHireCarny(d.game);
    MtGameHireCarny(d.game);
    d.Open(d.game->career.cash);
    ExpectFigures(RunDay(&d), 1075700, 58, 136, 0x50ba853525d81c32ull);
}

TEST(DayFiguresChangeDetector, ACrowdOfThreeHundredOverSixtyAttractionsForSeedOne) {
    WholeDay d(1);
    SetUpCrowdDay(&d, 300);
    ExpectFigures(RunDay(&d), 100778038, 302, 724, 0xc0e66918ef6693ffull);
}

TEST(HeavyDayFiguresChangeDetector, ACrowdOfTwoThousandOverSixtyAttractionsForSeedThree) {
#ifdef FL_SANITIZED
    GTEST_SKIP() << "a whole venue's day: run in the release build";
#endif
    WholeDay d(3);
    SetUpCrowdDay(&d, 2000);
    ExpectFigures(RunDay(&d), 101064079, 2001, 766, 0x78c10fb7d71ffca8ull);
}
