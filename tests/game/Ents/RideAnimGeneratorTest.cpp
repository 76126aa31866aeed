// The generators: the power they supply while generating, none once broken or closed, the way
// back, and the wear that grows with the grid's load squared, once per frame.
#include "game/Ents/RideAnimGenerator.h"
#include "game/MtGame.h"
#include "tests/game/Ents/RideAnimRigs.h"

namespace {

class Generators : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        rig.info.maxPowerGen = 60.0f;
        rig.info.conAtIdlePower = 0.5f;
        rig.info.conAtPeakPower = 1.5f;
        rig.info.soundVolume = 1.0f;
        anim = dynamic_cast<RideAnimGenerator*>(rig.Build(GetParam()));
        ASSERT_NE(anim, nullptr) << "type " << GetParam() << " is no generator";
        slot = Slot();
        ASSERT_NE(slot, nullptr);
    }
    const MtPowerSlot* Slot() const {
        for (int i = 0; i < rig.grid->usedCount; ++i)
            if (rig.grid->slots[i].owner == rig.owner) return &rig.grid->slots[i];
        return nullptr;
    }

    RideRig rig;
    RideAnimGenerator* anim = nullptr;
    const MtPowerSlot* slot = nullptr;
};

TEST_P(Generators, SupplyWhileGeneratingNoneBrokenOrClosedAndBackAgain) {
    EXPECT_EQ(slot->supply, 60.0f);
    EXPECT_EQ(slot->demand, 0.5f);
    anim->Tick(0.1f);
    EXPECT_EQ(anim->genState, GEN_GENERATING);

    rig.owner->broken = true;
    anim->Tick(0.1f);
    EXPECT_EQ(anim->genState, GEN_BROKEN);
    EXPECT_EQ(slot->supply, 0.0f);
    EXPECT_EQ(slot->demand, 0.0f);
    EXPECT_EQ(rig.owner->soundVolume, 0.0f) << "a broken generator is silent";
    EXPECT_EQ(anim->runState, RIDE_IDLE) << "a generator breaks inside its idle state";

    rig.owner->broken = false;
    anim->Tick(0.1f);
    EXPECT_EQ(anim->genState, GEN_GENERATING);
    EXPECT_EQ(slot->supply, 60.0f);
    EXPECT_EQ(slot->demand, 1.5f) << "a repaired generator restarts at peak demand";
    EXPECT_EQ(rig.owner->soundVolume, 0.8f) << "it is heard again";

    rig.owner->closed = true;
    anim->Tick(0.1f);
    EXPECT_EQ(anim->genState, GEN_OFF);
    EXPECT_EQ(slot->supply, 0.0f);
    rig.owner->closed = false;
    anim->Tick(0.1f);
    EXPECT_EQ(anim->genState, GEN_GENERATING);
    EXPECT_EQ(slot->supply, 60.0f) << "reopened, it generates again";
}

TEST_P(Generators, NoSupplyStillCycles) {
    rig.info.maxPowerGen = 0.0f;
    RideAnimSetState(anim, RIDE_IDLE);
    EXPECT_EQ(slot->supply, 0.0f);
    RideAnimSetState(anim, RIDE_START);
    EXPECT_GT(TicksUntil(anim, RIDE_IDLE, 0.5f, 1000), 0);
}

// A day at a steady load: the wear is the integral of degRateRun x load^2 / 3600 once, not
// twice; the load is capped at 1.
TEST_P(Generators, WearGrowsWithTheLoadSquaredOncePerFrame) {
    MtGame game;
    game.degRateFact = 1.0f;
    game.degFailThresh = 2.0f; // no failure rolls
    rig.owner->game = &game;
    rig.info.degRateRun = 3600.0f * 0.01f;
    for (float load : {0.5f, 2.0f}) {
        rig.grid->load = load;
        rig.owner->wear = 0.0f;
        const float capped = std::min(load, 1.0f);
        const int frames = 900; // short of wearing out at a full load
        for (int i = 0; i < frames; ++i) {
            rig.grid->load = load;
            anim->Tick(0.1f);
        }
        const float expected = 0.01f * capped * capped * frames * 0.1f;
        EXPECT_NEAR(rig.owner->wear, expected, expected * 1e-3f) << "load " << load;
        EXPECT_EQ(rig.owner->wearSteps, 0) << "a generator has no idle or running wear";
    }
    rig.owner->closed = true;
    const float before = rig.owner->wear;
    anim->Tick(1.0f);
    EXPECT_EQ(rig.owner->wear, before) << "a closed generator does not wear";
    rig.owner->game = nullptr;
}

TEST_P(Generators, WornOutOrUnluckyItBreaks) {
    MtGame game;
    game.degRateFact = 1.0f;
    game.degFailThresh = 0.5f;
    rig.owner->game = &game;
    rig.grid->load = 1.0f;
    rig.owner->wear = 0.999f;
    rig.info.degRateRun = 3600.0f;
    anim->UpdateWear(0.1f);
    EXPECT_TRUE(rig.owner->broken);
    EXPECT_EQ(rig.owner->wear, 1.0f);

    // At 0.99 against a threshold of 0.5, a roll every 30 s breaks it about half the time.
    rig.info.degRateRun = 0.0f;
    int breaks = 0;
    for (int i = 0; i < 200; ++i) {
        rig.owner->broken = false;
        rig.owner->wear = 0.99f;
        anim->failureTimer = 0.0f;
        anim->UpdateWear(0.1f);
        breaks += rig.owner->broken;
        EXPECT_EQ(anim->failureTimer, 30.0f);
    }
    EXPECT_GT(breaks, 60);
    EXPECT_LT(breaks, 140);
    rig.owner->game = nullptr;
}

INSTANTIATE_TEST_SUITE_P(SmallAndLarge, Generators, ::testing::Values(22, 27));

} // namespace
