// A whole career day on the shipped data with one attraction of every type on its own animator,
// no render kernel: every open ride completes cycles, none stays stopping longer than its ramp
// down and one creeping turn, and the grid's demand is always the sum of its slots.
#include "engine/EntIniLoader.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/RideAnimTable.h"
#include "game/MtGameLinks.h"
#include "game/RideAnimCore.h"
#include "tests/game/Ents/AttrTestSupport.h"
#include "tests/sim/DayHarness.h"

#include <cmath>

namespace {

constexpr float kTwoPi = 6.2831853f;

// The longest a ride of that type may stay stopping: its ramp down, a whole turn at its creep
// speed (the loop's slowest step is 1.25 of its factor) and a frame.
float StoppingLimit(int type, float dt) {
    const RideTypeRow& row = RideTypeRowOf(type);
    switch (row.family) {
        case RIDE_FAMILY_SPIN:
        case RIDE_FAMILY_CAROUSEL:
        case RIDE_FAMILY_LOOP: {
            float turn = 0.0f;
            if (row.stop != RIDE_STOP_ZERO) {
                const float slowest = row.family == RIDE_FAMILY_LOOP ? 1.25f : 1.0f;
                turn = kTwoPi / (row.creep * row.stepFactor * slowest);
            }
            return row.stopTimer + turn + 2.0f * dt;
        }
        case RIDE_FAMILY_DROP: return 3.0f + 2.0f * dt;
        default: return 2.0f * dt;
    }
}

TEST(RideAnimByModelDay, EveryShippedTypeCyclesAllDayAndNeverHangsStopping) {
    DayHarness::Options options;
    options.seed = 5;
    options.dt = 0.264f;
    DayHarness h(options);
    RegisterAttrTestClasses();
    g_patronEvents.clear();
    EntCreateClass(EcMtPowerGridProc, 0, 0);
    if (EntCreateClass(EcAttrBaseProc, 0, 0) == 0) MtGameSetAttrLinks(AttrBaseLinks());
    MtGame* game = h.game;
    game->mode = MTGAME_CAREER;
    MtGameSetVenue(game, 0);
    ASSERT_NE(game->venue, nullptr);
    game->venue->powerSupply = 1000.0f; // no overload closes the rides
    game->career.cash = 2000000;
    MtGameStartDay(game);
    auto* grid = static_cast<MtPowerGrid*>(EntCreateChild("MtPowerGrid", h.first));
    ASSERT_NE(grid, nullptr);
    grid->Start();

    std::vector<AttrBase*> attrs;
    for (int type = 0; type < game->attrList->Count(); ++type) {
        const AttrInfo* info = game->attrList->Get(type);
        auto* attr = static_cast<AttrBase*>(EntCreateChild("AttrBase", h.first));
        ASSERT_NE(attr, nullptr);
        attr->SetType(type);
        VECTOR3 pos = {(float)(type % 8) * 20.0f, 0.0f, (float)(type / 8) * 20.0f};
        attr->SetPos(&pos);
        attr->agl = 0;
        attr->ticketPrice = info->defTicketPrice;
        EntSetSourceFile(attr, ENT_SAVEGAME);
        char name[33];
        attr->SetName(EntMakeAutoName(name));
        attr->Start();
        ASSERT_NE(attr->animator, nullptr) << "type " << type;
        attrs.push_back(attr);
    }

    h.OpenDay();
    std::vector<int> stopping(attrs.size(), 0);
    const int joinEvery = (int)(10.0f / options.dt);
    int frame = 0;
    while (!game->dayOver && frame < 200000) {
        if (frame % joinEvery == 0) {
            for (AttrBase* attr : attrs) {
                if (attr->info->attrType >= 6) continue;
                AttrBaseJoinQueue(attr,
                                  static_cast<FakePatron*>(EntCreateChild("FakePatron", h.first)));
            }
        }
        h.Frame();
        ++frame;
        float slots = 0.0f;
        for (int i = 0; i < grid->usedCount; ++i)
            if (grid->slots[i].owner) slots += grid->slots[i].demand;
        ASSERT_NEAR(grid->demandTotal, slots, 1e-3f) << "frame " << frame;
        for (size_t i = 0; i < attrs.size(); ++i) {
            const int type = attrs[i]->type;
            stopping[i] = attrs[i]->animator->runState == RIDE_STOPPING ? stopping[i] + 1 : 0;
            ASSERT_LE(stopping[i] * options.dt, StoppingLimit(type, options.dt))
                << attrs[i]->name << " (type " << type << ") hangs in its stopping state";
        }
    }
    ASSERT_TRUE(game->dayOver) << "the day never ended";
    int rides = 0;
    for (AttrBase* a : attrs) {
        if (a->info->attrType >= 6 || a->broken || a->closed) continue;
        int served = 0;
        for (const PatronEvent& e : g_patronEvents)
            served += e.what == 'O' && e.attraction == a;
        EXPECT_GT(served, 1) << a->name << " (type " << a->type << ") stopped cycling";
        rides += RideTypeRowOf(a->type).family == RIDE_FAMILY_SPIN;
    }
    EXPECT_GT(rides, 10) << "most rides should stay open on a fresh day";
}

} // namespace
