// Every shipped attraction type's animator on the headless day harness: twenty ride cycles each
// against a real power grid under "World", the grid's demand and load while all are idle, and
// twelve hours of running costs.
#include "game/Ents/RideAnim.h"
#include "game/MtPowerGrid.h"
#include "tests/game/FakeRide.h"
#include "tests/sim/DayHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

struct Ride {
    FakeRide* owner = nullptr;
    std::unique_ptr<RideAnim> anim;
};

TEST(RideAnimShippedData, EveryTypeCyclesDrawsItsIdlePowerAndPaysItsCosts) {
    DayHarness::Options options;
    options.seed = 7;
    options.dt = 0.264f;
    DayHarness h(options);
    MtGameSetVenue(h.game, 0);
    ASSERT_NE(MtGameVenue(h.game), nullptr);
    const float venuePower = MtGameVenue(h.game)->powerSupply;
    ASSERT_GT(venuePower, 0.0f);
    EntCreateClass(EcMtPowerGridProc, 0, 0);
    EntCreateClass(FakeRideProc, 0, 0);
    auto* grid = static_cast<MtPowerGrid*>(EntCreateChild("MtPowerGrid", h.world));
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->Start(), 1);
    EXPECT_EQ(grid->supplyTotal, venuePower) << "the grid registers the venue's supply";
    h.game->cash = 2000000;

    const AttrInfoList* types = h.game->attrList;
    ASSERT_NE(types, nullptr);
    ASSERT_GT(types->Count(), 1);
    std::vector<Ride> rides((size_t)types->Count());
    float idleDemand = 0.0f;
    int64_t idleCosts = 0;
    for (int t = 0; t < types->Count(); ++t) {
        Ride& r = rides[(size_t)t];
        r.owner = static_cast<FakeRide*>(EntCreateChild("FakeRide", h.first));
        ASSERT_NE(r.owner, nullptr);
        r.owner->grid = grid;
        r.owner->game = h.game;
        r.anim = std::make_unique<RideAnim>();
        ASSERT_EQ(r.anim->Init(types->Get(t), h.options.data.c_str(), r.owner), 1);
        idleDemand += types->Get(t)->conAtIdlePower;
        idleCosts += types->Get(t)->idleCost;
    }
    auto allIdle = [&] {
        for (const Ride& r : rides)
            if (r.anim->runState != RIDE_IDLE) return false;
        return true;
    };
    ASSERT_TRUE(allIdle());
    EXPECT_EQ(grid->demandTotal, idleDemand) << "every type's idle power, nothing more";
    EXPECT_EQ(grid->load, idleDemand / venuePower);

    for (int cycle = 0; cycle < 20; ++cycle) {
        std::vector<int> runningAt(rides.size(), -1);
        for (Ride& r : rides)
            RideAnimSetState(r.anim.get(), RIDE_START);
        int frame = 0;
        for (; frame < 2000 && !allIdle(); ++frame) {
            h.Frame();
            for (size_t i = 0; i < rides.size(); ++i) {
                RideAnim& a = *rides[i].anim;
                const bool wasRunning = a.runState == RIDE_RUNNING;
                a.Tick(options.dt);
                if (!wasRunning && a.runState == RIDE_RUNNING) runningAt[i] = frame;
                if (a.runState == RIDE_IDLE && runningAt[i] >= 0) {
                    const float duration = types->Get((int)i)->duration;
                    const int allowed = (int)std::ceil(duration / options.dt) + 2;
                    ASSERT_LE(frame - runningAt[i], allowed)
                        << "type " << i << " cycle " << cycle << ": back to idle too late";
                    runningAt[i] = -1;
                }
            }
        }
        ASSERT_TRUE(allIdle()) << "cycle " << cycle;
        ASSERT_EQ(grid->demandTotal, idleDemand) << "cycle " << cycle;
        ASSERT_EQ(grid->load, idleDemand / venuePower);
    }

    const int32_t cash = h.game->cash;
    for (int hour = 0; hour < 12; ++hour)
        for (Ride& r : rides)
            r.anim->HourlyCost();
    EXPECT_EQ(cash - h.game->cash, 12 * idleCosts);
    EXPECT_EQ(grid->usedCount, types->Count() + 1) << "one slot per ride and the venue's";
}

} // namespace
