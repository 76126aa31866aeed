// The ride animator's run states on a stand-in attraction: the power each state asks for, the
// order of Exit and Enter, how broken and closed rides leave the cycle, the state time, the
// initial wear, the hourly cost, and states outside the cycle.
#include "game/RideAnimCore.h"
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/MtGame.h"
#include "tests/game/FakeRide.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

// Records every Enter and Exit, in order.
class TracingAnim : public RideAnimCore {
  public:
    void IdleEnter() override {
        trace.push_back("enter1");
        RideAnimCore::IdleEnter();
    }
    void IdleExit() override { trace.push_back("exit1"); }
    void StartEnter() override {
        trace.push_back("enter2");
        RideAnimCore::StartEnter();
    }
    void StartExit() override { trace.push_back("exit2"); }
    void RunningEnter() override {
        trace.push_back("enter3");
        RideAnimCore::RunningEnter();
    }
    void RunningExit() override { trace.push_back("exit3"); }
    void StoppingEnter() override {
        trace.push_back("enter4");
        RideAnimCore::StoppingEnter();
    }
    void StoppingExit() override { trace.push_back("exit4"); }
    void BrokenEnter() override {
        trace.push_back("enter5");
        RideAnimCore::BrokenEnter();
    }
    void BrokenExit() override { trace.push_back("exit5"); }
    void ClosedEnter() override {
        trace.push_back("enter6");
        RideAnimCore::ClosedEnter();
    }
    void ClosedExit() override { trace.push_back("exit6"); }

    std::string Trace() const {
        std::string s;
        for (const std::string& t : trace)
            s += (s.empty() ? "" : " ") + t;
        return s;
    }
    std::vector<std::string> trace;
};

class RunStates : public ::testing::Test {
  protected:
    void SetUp() override {
        CrtSrand(106);
        MsSeed(106);
        grid = tree.MakeGrid();
        ASSERT_EQ(grid->Start(), 1);
        MtPowerGridUse(grid, tree.root, 100.0f, 0.0f); // the venue's supply
        ride = tree.MakeRide(grid);
        info.conAtIdlePower = 2.0f;
        info.conAtPeakPower = 7.0f;
        info.duration = 3.0f;
        info.initAvgRepair = 0.05f;
        info.idleCost = 200;
        ASSERT_EQ(anim.Init(&info, "Data/", ride), 1);
        anim.trace.clear();
    }
    // The ride's slot as (supply, demand); NaN when it has none.
    float Demand() const {
        for (int i = 0; i < grid->usedCount; ++i)
            if (grid->slots[i].owner == ride) return grid->slots[i].demand;
        return std::numeric_limits<float>::quiet_NaN();
    }
    float Supply() const {
        for (int i = 0; i < grid->usedCount; ++i)
            if (grid->slots[i].owner == ride) return grid->slots[i].supply;
        return std::numeric_limits<float>::quiet_NaN();
    }

    RideTree tree;
    MtPowerGrid* grid = nullptr;
    FakeRide* ride = nullptr;
    AttrInfo info;
    TracingAnim anim;
};

TEST_F(RunStates, InitEntersIdleWithIdlePowerAndANewRidesWear) {
    EXPECT_EQ(anim.runState, RIDE_IDLE);
    EXPECT_EQ(anim.attraction, ride);
    EXPECT_EQ(anim.info, &info);
    EXPECT_STREQ(anim.dataFolder, "Data/");
    EXPECT_EQ(Demand(), 2.0f) << "idle power requested at once";
    EXPECT_EQ(Supply(), 0.0f);
    EXPECT_FLOAT_EQ(grid->load, 0.02f);
    EXPECT_EQ(ride->wearWrites, 1);
    EXPECT_GE(ride->wear, 0.0f);
    EXPECT_LE(ride->wear, 0.2f);
    EXPECT_EQ(ride->initialWear, ride->wear) << "written as the attraction's initial wear too";
    EXPECT_EQ(anim.boxMin.x, -0.5f) << "the core has no model: the unit box";
    EXPECT_EQ(anim.SeatCount(), 0);
    EXPECT_EQ(anim.Reserved(), 0);

    TracingAnim other;
    const std::string longFolder(400, 'f');
    other.Init(&info, longFolder.c_str(), nullptr);
    EXPECT_EQ(std::string(other.dataFolder), longFolder.substr(0, RIDE_DATA_FOLDER_MAX - 1))
        << "a long folder is cut, never overrun";
    EXPECT_EQ(other.Trace(), "exit1 enter1") << "Init sets idle through the state change";
    other.Tick(1.0f); // no owner, no grid: nothing to reach
    other.HourlyCost();
}

// The bell-shaped draw with its middle moved to m, for the sum of four uniform draws: the mean
// of min(draw, 0.2) found by integrating over the sum's density (Irwin-Hall, n = 4).
double ExpectedInitialWear(double m) {
    auto density = [](double x) {
        auto p = [](double t) { return t > 0.0 ? t * t * t : 0.0; };
        return (p(x) - 4.0 * p(x - 1.0) + 6.0 * p(x - 2.0) - 4.0 * p(x - 3.0)) / 6.0;
    };
    constexpr int kSteps = 40000;
    double sum = 0.0;
    for (int i = 0; i < kSteps; ++i) {
        const double x = 4.0 * (i + 0.5) / kSteps;
        const double s = x / 4.0;
        const double v = s <= 0.5 ? 2.0 * s * m : m + 2.0 * (s - 0.5) * (1.0 - m);
        sum += std::fmin(std::fmax(v, 0.0), 0.2) * density(x) * (4.0 / kSteps);
    }
    return sum;
}

TEST_F(RunStates, TheInitialWearClustersTowardTheTypesAverageAndStaysInRange) {
    for (float average : {0.05f, 0.1f}) {
        info.initAvgRepair = average;
        CrtSrand(7);
        double sum = 0.0;
        for (int i = 0; i < 1000; ++i) {
            RideAnimCore a;
            a.Init(&info, "", ride);
            ASSERT_GE(ride->wear, 0.0f);
            ASSERT_LE(ride->wear, 0.2f);
            sum += ride->wear;
        }
        EXPECT_NEAR(sum / 1000.0, ExpectedInitialWear(average), 0.02) << average;
    }
    // A damaged average still gives a new ride's wear.
    for (float average : {5.0f, -3.0f, std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity()}) {
        info.initAvgRepair = average;
        for (int i = 0; i < 50; ++i) {
            RideAnimCore a;
            a.Init(&info, "", ride);
            ASSERT_GE(ride->wear, 0.0f) << average;
            ASSERT_LE(ride->wear, 0.2f) << average;
        }
    }
}

TEST_F(RunStates, AStateChangeExitsTheOldStateBeforeEnteringTheNew) {
    RideAnimSetState(&anim, RIDE_START);
    EXPECT_EQ(anim.Trace(), "exit1 enter2");
    EXPECT_EQ(Demand(), 7.0f);
    anim.Tick(0.1f);
    EXPECT_EQ(anim.runState, RIDE_RUNNING) << "start moves to running at once";
    EXPECT_EQ(anim.Trace(), "exit1 enter2 exit2 enter3");
    EXPECT_EQ(anim.countdown, 3.0f);
    EXPECT_EQ(Demand(), 7.0f);
}

TEST_F(RunStates, AZeroOrNegativeDurationEndsTheRideOnItsFirstUpdate) {
    for (float duration : {0.0f, -3.0f, std::numeric_limits<float>::quiet_NaN()}) {
        info.duration = duration;
        RideAnimSetState(&anim, RIDE_RUNNING);
        anim.Tick(0.0f);
        EXPECT_EQ(anim.runState, RIDE_STOPPING) << duration;
        anim.Tick(0.0f);
        EXPECT_EQ(anim.runState, RIDE_IDLE) << duration;
    }
}

TEST_F(RunStates, ARideThatBreaksWhileRunningStopsThenBreaks) {
    RideAnimSetState(&anim, RIDE_START);
    anim.Tick(0.1f);
    ASSERT_EQ(anim.runState, RIDE_RUNNING);
    ride->broken = true;
    anim.Tick(0.1f);
    EXPECT_EQ(anim.runState, RIDE_STOPPING);
    EXPECT_EQ(Demand(), 7.0f) << "peak power while stopping";
    anim.Tick(0.1f);
    EXPECT_EQ(anim.runState, RIDE_BROKEN);
    EXPECT_EQ(Demand(), 0.0f);
    EXPECT_EQ(Supply(), 0.0f);

    // Broken is left only through the attraction's state change.
    ride->broken = false;
    anim.Tick(0.1f);
    EXPECT_EQ(anim.runState, RIDE_BROKEN);
    // A ride closed while running stops and closes.
    RideAnimSetState(&anim, RIDE_RUNNING);
    ride->closed = true;
    anim.Tick(0.1f);
    anim.Tick(0.1f);
    EXPECT_EQ(anim.runState, RIDE_CLOSED);
}

TEST_F(RunStates, AClosedIdleRideClosesAndReopensOnlyThroughIdle) {
    ride->closed = true;
    anim.Tick(0.1f);
    EXPECT_EQ(anim.runState, RIDE_CLOSED);
    EXPECT_EQ(Demand(), 0.0f) << "a closed ride draws nothing";
    ride->closed = false;
    for (int i = 0; i < 5; ++i)
        anim.Tick(0.1f);
    EXPECT_EQ(anim.runState, RIDE_CLOSED) << "opening alone does not leave state 6";
    RideAnimSetState(&anim, RIDE_IDLE);
    EXPECT_EQ(Demand(), 2.0f);
    anim.Tick(0.1f);
    EXPECT_EQ(anim.runState, RIDE_IDLE);

    // Broken and closed at once: broken, and it stays there.
    ride->broken = ride->closed = true;
    anim.Tick(0.1f);
    EXPECT_EQ(anim.runState, RIDE_BROKEN);
    anim.Tick(0.1f);
    EXPECT_EQ(anim.runState, RIDE_BROKEN);
}

TEST_F(RunStates, TheStateTimeStopsWhileBrokenOrClosed) {
    anim.Tick(1.0f);
    EXPECT_EQ(anim.stateTime, 1.0f);
    RideAnimSetState(&anim, RIDE_BROKEN);
    anim.Tick(1.0f);
    EXPECT_EQ(anim.stateTime, 1.0f);
    RideAnimSetState(&anim, RIDE_CLOSED);
    anim.Tick(1.0f);
    EXPECT_EQ(anim.stateTime, 1.0f);
    EXPECT_EQ(ride->wearSteps, 3) << "the wear step runs in every state (it checks broken)";
    RideAnimSetState(&anim, RIDE_IDLE);
    anim.Tick(1.0f);
    EXPECT_EQ(anim.stateTime, 2.0f);
}

TEST_F(RunStates, AStateOutsideTheCycleRunsNothingUntilIdleAgain) {
    RideAnimSetState(&anim, 9);
    EXPECT_EQ(anim.Trace(), "exit1") << "the old Exit runs, no Enter";
    EXPECT_EQ(anim.runState, 9);
    anim.Tick(1.0f);
    RideAnimSetState(&anim, -1);
    RideAnimStateUpdate(&anim, 1.0f);
    EXPECT_EQ(anim.Trace(), "exit1");
    EXPECT_EQ(Demand(), 2.0f) << "nothing asked of the grid meanwhile";
    RideAnimSetState(&anim, RIDE_IDLE);
    EXPECT_EQ(anim.Trace(), "exit1 enter1");
    ride->closed = true;
    anim.Tick(0.1f);
    EXPECT_EQ(anim.runState, RIDE_CLOSED) << "the cycle runs again";
    RideAnimSetState(nullptr, RIDE_IDLE);
    RideAnimStateUpdate(nullptr, 1.0f);
}

TEST_F(RunStates, TheHourlyCostTakesTheIdleCostAndNeverDrivesCashBelowZero) {
    MtGame game;
    ride->game = &game;
    game.cash = 10000;
    anim.HourlyCost();
    EXPECT_EQ(game.cash, 9800);
    game.cash = 150;
    anim.HourlyCost();
    EXPECT_EQ(game.cash, 0);
    anim.HourlyCost();
    EXPECT_EQ(game.cash, 0);
    ride->game = nullptr;
    anim.HourlyCost(); // no game object: nothing to charge
}

TEST_F(RunStates, AGridThatWentIsNotReachedThroughAStaleCache) {
    ride->checkCache = false;                  // an owner that hands out whatever it cached
    ASSERT_EQ(EntLinkUnder(ride, nullptr), 0); // and hears no removal
    EntDestroyTree(grid);
    RideAnimSetState(&anim, RIDE_START);
    anim.Tick(0.1f);
    EXPECT_EQ(anim.runState, RIDE_RUNNING) << "the cycle runs on without a grid";
    EntDestroyTree(ride);
}

} // namespace
