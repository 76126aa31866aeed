// A whole day's figures for a fixed seed, held to the ones the simulation has always produced:
// cash, patrons made and present, and every attraction's takings, hour by hour and at the close,
// and a digest of where everyone stands. Faster code must not move one of them. The light day is
// the shipped venue with a handful of attractions; a crowd of 300 over sixty attractions and ten
// carnies; the heavy one (HeavyWholeDay), a crowd of 2,000, is a release-build test.
#include "engine/EntTree.h"
#include "game/Ents/Rube1.h"
#include "game/Ents/RubeGen.h"
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

DayFigures RunDay(WholeDay* d) {
    DayFigures out;
    Figures f;
    MtGame* game = d->game;
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

TEST(DayFigures, TheShippedVenueWithTwoCarniesForSeedTwo) {
    WholeDay d(2);
    for (int type : {23, 0, 2, 14, 15, 24, 12})
        ASSERT_NE(d.Place(type), nullptr) << "type " << type;
    d.AddSpawnPoints();
    MtGameStartDay(d.game);
    MtGameHireCarny(d.game);
    MtGameHireCarny(d.game);
    d.Open(d.game->career.cash);
    ExpectFigures(RunDay(&d), 1089200, 57, 116, 0x09c68c9f2b9a7351ull);
}

TEST(DayFigures, ACrowdOfThreeHundredOverSixtyAttractionsForSeedOne) {
    WholeDay d(1);
    SetUpCrowdDay(&d, 300);
    ExpectFigures(RunDay(&d), 100812038, 300, 729, 0xbd74d585fa9516d3ull);
}

TEST(HeavyWholeDay, ACrowdOfTwoThousandOverSixtyAttractionsForSeedThree) {
#ifdef FL_SANITIZED
    GTEST_SKIP() << "a whole venue's day: run in the release build";
#endif
    WholeDay d(3);
    SetUpCrowdDay(&d, 2000);
    ExpectFigures(RunDay(&d), 101110484, 2003, 783, 0x86497e5a0d7a6524ull);
}
