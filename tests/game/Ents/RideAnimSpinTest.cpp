// The rides' run states with no model and no render kernel: the carousel's spin-up, peak power,
// creep and stop at a half turn; the loop's full turn; the rides that ramp down to 0; the
// running time counted twice; the drop tower's climb, hold, fall and stop; the angle's range
// and half turns at large steps.
#include "game/Ents/RideAnimSpin.h"
#include "I3d/Math/Mat4Math.h"
#include "game/Ents/RideAnimCarousel.h"
#include "game/Ents/RideAnimDropTower.h"
#include "tests/game/Ents/RideAnimRigs.h"

#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kDt = 1.0f / 30.0f;

TEST(RideSpin, CarouselSpinsUpRunsCreepsAndStopsOnAHalfTurnAtPeakPower) {
    RideRig rig;
    rig.info.duration = 30.0f;
    auto* anim = static_cast<RideAnimSpin*>(rig.Build(18));
    ASSERT_NE(dynamic_cast<RideAnimCarousel*>(anim), nullptr);
    EXPECT_FLOAT_EQ(rig.Demand(), 2.0f) << "idle power";
    RideAnimSetState(anim, RIDE_START);

    int frame = 0, fullAt = -1, creepAt = -1;
    float lastSpeed = 0.0f;
    while (anim->runState != RIDE_IDLE && frame < 100000) {
        anim->Tick(kDt);
        ++frame;
        if (anim->runState >= RIDE_START && anim->runState <= RIDE_STOPPING) {
            ASSERT_FLOAT_EQ(rig.Demand(), 10.0f) << "peak demand in state " << anim->runState;
        }
        if (fullAt < 0 && anim->speed >= 1.0f) fullAt = frame;
        if (creepAt < 0 && anim->stopTarget == 1) creepAt = frame;
        if (creepAt > 0 && anim->runState == RIDE_STOPPING) {
            ASSERT_EQ(anim->speed, 0.14f) << "a stopping carousel creeps at 0.14";
        }
        ASSERT_GE(anim->angle, 0.0f);
        ASSERT_LT(anim->angle, 2.0f * kPi);
        lastSpeed = anim->speed;
    }
    ASSERT_EQ(anim->runState, RIDE_IDLE) << "the carousel never stopped";
    EXPECT_NEAR(fullAt * kDt, 1.0f / 0.0666f, kDt) << "full speed after 1 / 0.0666 s";
    ASSERT_GT(creepAt, 0);
    EXPECT_EQ(lastSpeed, 0.0f);
    const float half = anim->angle / kPi;
    EXPECT_TRUE(half == 0.0f || half == 1.0f)
        << "the carousel rests at " << anim->angle << ", not on a half-turn boundary";
    EXPECT_FLOAT_EQ(rig.Demand(), 2.0f) << "back to idle power";
}

// The angle moves in the updates: a ride that is never drawn (no model, a run without
// drawing) stops at the same frame as one drawn after every update.
TEST(RideSpin, DrawnAndUndrawnCarouselsLeaveStoppingAtTheSameFrame) {
    int frames[2] = {};
    float angles[2] = {};
    for (int drawn = 0; drawn < 2; ++drawn) {
        RideRig rig;
        rig.info.duration = 20.0f;
        RideAnimSpin* anim = nullptr;
        Mat4 world;
        Mat4Identity(&world);
        if (drawn) {
            std::snprintf(rig.info.modelFileName, sizeof rig.info.modelFileName,
                          "Models\\Attractions\\Carousel.md3");
            anim = static_cast<RideAnimSpin*>(rig.Build(18, FAIRLARK_BUILD_DATA_DIR));
            ASSERT_NE(anim->model, nullptr) << "the generated carousel did not load";
        } else {
            anim = static_cast<RideAnimSpin*>(rig.Build(18));
        }
        RideAnimSetState(anim, RIDE_START);
        frames[drawn] = TicksUntil(anim, RIDE_IDLE, 0.264f, 100000, drawn ? &world : nullptr);
        angles[drawn] = anim->angle;
        ASSERT_GT(frames[drawn], 0) << "the carousel never stopped";
    }
    EXPECT_EQ(frames[0], frames[1]) << "drawing changed when the ride stops";
    EXPECT_EQ(angles[0], angles[1]);
}

TEST(RideSpin, TheLoopStopsAfterAFullTurnWithItsAngleBackAtZero) {
    for (float dt : {kDt, 0.264f, 1.0f}) {
        RideRig rig;
        rig.info.duration = 10.0f;
        auto* anim = static_cast<RideAnimSpin*>(rig.Build(38));
        RideAnimSetState(anim, RIDE_START);
        int frames = 0;
        bool wrapped = false;
        float before = anim->angle;
        while (anim->runState != RIDE_IDLE && frames++ < 100000) {
            anim->Tick(dt);
            if (anim->runState == RIDE_STOPPING && anim->angle < before) wrapped = true;
            before = anim->angle;
        }
        ASSERT_EQ(anim->runState, RIDE_IDLE) << "dt " << dt;
        EXPECT_EQ(anim->angle, 0.0f) << "dt " << dt;
        EXPECT_EQ(anim->speed, 0.0f);
        (void)wrapped;
    }
}

TEST(RideSpin, KiddieRidesRampDownToZeroAndABrokenClosedStartGoesToStopping) {
    for (int type : {53, 54, 55, 56}) {
        RideRig rig;
        rig.info.duration = 5.0f;
        auto* anim = static_cast<RideAnimSpin*>(rig.Build(type));
        RideAnimSetState(anim, RIDE_START);
        ASSERT_GT(TicksUntil(anim, RIDE_STOPPING, kDt), 0) << type;
        float last = anim->speed;
        while (anim->runState == RIDE_STOPPING) {
            anim->Tick(kDt);
            ASSERT_LE(anim->speed, last) << type << ": slowing down never speeds up";
            last = anim->speed;
        }
        EXPECT_EQ(anim->runState, RIDE_IDLE) << type;
        EXPECT_EQ(anim->speed, 0.0f) << type;

        rig.owner->broken = rig.owner->closed = true;
        RideAnimSetState(anim, RIDE_START);
        int states = 0;
        while (anim->runState == RIDE_START && states++ < 100000)
            anim->Tick(kDt);
        EXPECT_EQ(anim->runState, RIDE_STOPPING) << type << ": a broken and closed ride runs";
        ASSERT_GT(TicksUntil(anim, RIDE_BROKEN, kDt), 0) << type;
    }
}

// Running ends after half of "duration" for the members that count it twice, and after all of
// it for the others.
TEST(RideSpin, RunningTimeCountedTwiceEndsInHalfTheDuration) {
    for (int type = 0; type < 62; ++type) {
        const RideTypeRow& row = RideTypeRowOf(type);
        if (row.family != RIDE_FAMILY_SPIN && row.family != RIDE_FAMILY_CAROUSEL &&
            row.family != RIDE_FAMILY_LOOP)
            continue;
        RideRig rig;
        rig.info.duration = 40.0f;
        RideAnim* anim = rig.Build(type);
        RideAnimSetState(anim, RIDE_START);
        ASSERT_GT(TicksUntil(anim, RIDE_RUNNING, 0.1f), 0) << type;
        const int frames = TicksUntil(anim, RIDE_STOPPING, 0.1f);
        const int expected = row.countedTwice ? 200 : 400;
        EXPECT_NEAR(frames, expected, 1) << "type " << type;
    }
}

TEST(RideSpin, ADurationOfZeroOrLessEndsRunningAtOnceAndStillRampsDown) {
    for (float duration : {0.0f, -5.0f}) {
        RideRig rig;
        rig.info.duration = duration;
        auto* anim = static_cast<RideAnimSpin*>(rig.Build(55));
        RideAnimSetState(anim, RIDE_START);
        ASSERT_GT(TicksUntil(anim, RIDE_RUNNING, 0.1f), 0);
        anim->Tick(0.1f);
        EXPECT_EQ(anim->runState, RIDE_STOPPING);
        EXPECT_GT(anim->speed, 0.9f) << "the ride slows down from full speed";
        EXPECT_GT(TicksUntil(anim, RIDE_IDLE, 0.1f), 100) << "the ramp down was skipped";
    }
}

// At the x8 speed and at a whole second per frame, no half turn is skipped: the turn sign flips
// once for every half turn the angle makes.
TEST(RideSpin, LargeStepsKeepTheAngleInRangeAndCountEveryHalfTurn) {
    for (int type : {18, 38, 58, 16, 61}) {
        for (float dt : {0.264f, 1.0f}) {
            RideRig rig;
            rig.info.duration = 30.0f;
            auto* anim = static_cast<RideAnimSpin*>(rig.Build(type));
            RideAnimSetState(anim, RIDE_START);
            for (int i = 0; i < 400 && anim->runState != RIDE_IDLE; ++i) {
                const float before = anim->angle;
                const int sign = anim->turnSign, target = anim->stopTarget;
                anim->Tick(dt);
                ASSERT_GE(anim->angle, 0.0f);
                ASSERT_LT(anim->angle, 2.0f * kPi) << type;
                if (anim->stopTarget != target) continue; // the creep sets the sign itself
                float moved = anim->angle - before;
                if (moved < 0.0f) moved += 2.0f * kPi;
                const float e = 1e-5f;
                const int crossed = (int)std::floor((before + moved + e) / kPi) -
                                    (int)std::floor((before + e) / kPi);
                EXPECT_EQ(anim->turnSign, crossed % 2 ? -sign : sign)
                    << "type " << type << " dt " << dt << ": a half turn was skipped";
            }
            EXPECT_EQ(anim->runState, RIDE_IDLE) << "type " << type << " dt " << dt;
        }
    }
}

TEST(RideSpin, DropTowerClimbsHoldsFallsAndStopsForThreeSeconds) {
    for (float duration : {30.0f, 2.0f}) {
        RideRig rig;
        rig.info.duration = duration;
        auto* anim = static_cast<RideAnimDropTower*>(rig.Build(20));
        ASSERT_NE(anim, nullptr);
        const float dt = 0.01f;
        RideAnimSetState(anim, RIDE_START);
        const int climb = TicksUntil(anim, RIDE_RUNNING, dt);
        const float climbTime = std::max(duration - 3.0f, 10.0f);
        EXPECT_NEAR(climb * dt, climbTime, 2 * dt) << "duration " << duration;
        EXPECT_EQ(anim->height, kDropTop);
        int hold = 0;
        while (anim->height == kDropTop && anim->runState == RIDE_RUNNING) {
            anim->Tick(dt);
            ++hold;
        }
        EXPECT_NEAR(hold * dt, 3.0f, 2 * dt) << "the hold at the top";
        // Free fall to 5 units above the rest, then the brake.
        float lastHeight = anim->height;
        int fall = 0;
        while (anim->runState == RIDE_RUNNING) {
            anim->Tick(dt);
            ASSERT_LE(anim->height, lastHeight);
            lastHeight = anim->height;
            ++fall;
        }
        const float freeFall = std::sqrt(2.0f * (kDropTop - 5.0f) / 9.8f);
        EXPECT_GT(fall * dt, freeFall) << "the brake below 5 units takes time";
        EXPECT_LE(anim->height, 0.1f) << "stopped before it was down";
        EXPECT_LT((hold + fall) * dt, 8.0f + dt) << "the countdown is 8 s";
        const int stopping = TicksUntil(anim, RIDE_IDLE, dt);
        EXPECT_NEAR(stopping * dt, 3.0f, 2 * dt) << "the stopping state lasts 3 s";
        EXPECT_EQ(anim->height, 0.0f);
    }
}

TEST(RideSpin, ABrokenDropTowerStopsAtOnceAndLowersTheTrolley) {
    RideRig rig;
    auto* anim = static_cast<RideAnimDropTower*>(rig.Build(20));
    RideAnimSetState(anim, RIDE_START);
    ASSERT_GT(TicksUntil(anim, RIDE_RUNNING, 0.1f), 0);
    rig.owner->broken = true;
    anim->Tick(0.1f);
    EXPECT_EQ(anim->runState, RIDE_STOPPING);
    const int frames = TicksUntil(anim, RIDE_BROKEN, 0.1f);
    EXPECT_NEAR(frames * 0.1f, 3.0f, 0.11f);
    EXPECT_EQ(anim->height, 0.0f) << "a broken tower leaves its trolley at the top";
    EXPECT_FLOAT_EQ(rig.Demand(), 0.0f);
}

} // namespace
