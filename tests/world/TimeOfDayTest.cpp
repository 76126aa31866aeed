// The time of day: the blend of its key frames (spans across midnight, keys out of order), what
// it pushes into the sun, the sky dome and the environment (colour bytes clamped), its clock, the
// times a script may store, and links to entities destroyed behind its back.
#include "engine/PropDb.h"
#include "tests/world/SunFixture.h"
#include "world/Environment.h"
#include "world/SkyDome.h"

#include <cmath>
#include <limits>

namespace {

class TimeOfDayTest : public SunFixture {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartWorld(false);
        env = Make<Environment>("Environment", world, "Environment");
        dome = Make<SkyDome>("SkyDome", world, "SkyDome");
        sun = Make<Sun>("Sun", world, "Sun");
        tod = Make<EntTimeOfDay>("TimeOfDay", world, "TimeOfDay");
        EntTreeStart(root);
    }
    void At(float t) {
        tod->time = t;
        tod->VarsChanged();
    }
    // The colour of horizon vertex 0, which no highlight reaches.
    uint32_t HorizonVertex() {
        EXPECT_TRUE(dome->mesh.LockVerts());
        uint32_t c = 0;
        const I3dVertexBuffer* vb = dome->mesh.vb;
        std::memcpy(&c, vb->locked + vb->offDiffuse, sizeof c);
        dome->mesh.UnlockVerts();
        return c;
    }

    Environment* env = nullptr;
    SkyDome* dome = nullptr;
    Sun* sun = nullptr;
    EntTimeOfDay* tod = nullptr;
};

TEST_F(TimeOfDayTest, TableRowsAndCreateKeys) {
    std::string rows;
    int n = 0;
    for (PropField* f = tod->classDb->first; f; f = f->next, ++n)
        if (n < 11) rows += std::string(rows.empty() ? "" : " ") + f->name;
    EXPECT_EQ(rows, "General: name paused timeScale time KeyFrame 0 time0 ambient0 light0 fog0 "
                    "sunScale0");
    EXPECT_EQ(n, 5 + 6 * 6);
    EXPECT_EQ(tod->timeScale, 1.0f);
    EXPECT_EQ(tod->time, 0.5f);
    EXPECT_EQ(tod->keys[4].light[1], 0.0f);
    EXPECT_EQ(tod->keys[5].time, 0.8f);
    // The key rows reach the records: a script's "time3" is key 3's time.
    EXPECT_TRUE(tod->SetFloat("time3", 0.55f));
    EXPECT_TRUE(tod->SetColor3("fog5", 0.1f, 0.2f, 0.3f));
    EXPECT_EQ(tod->keys[3].time, 0.55f);
    EXPECT_EQ(tod->keys[5].fog[2], 0.3f);
}

TEST_F(TimeOfDayTest, BlendAtNoonAndAcrossMidnight) {
    TodBlend b = tod->Blend(0.5f);
    EXPECT_FLOAT_EQ(b.ambient[0], 0.3f);
    EXPECT_FLOAT_EQ(b.light[2], 1.0f);
    EXPECT_FLOAT_EQ(b.fog[1], 1.0f);
    EXPECT_FLOAT_EQ(b.sunScale, 0.02f);

    b = tod->Blend(0.9f);
    EXPECT_EQ(b.prev, 5);
    EXPECT_EQ(b.next, 6);
    EXPECT_NEAR(b.factor, 0.25f, 1e-5f);
    b = tod->Blend(0.1f);
    EXPECT_EQ(b.prev, 5);
    EXPECT_EQ(b.next, 0);
    EXPECT_NEAR(b.factor, 0.75f, 1e-5f);
    b = tod->Blend(0.2f);
    EXPECT_FLOAT_EQ(b.ambient[0], 0.1f) << "exactly key 0";
    EXPECT_FLOAT_EQ(b.sunScale, 0.06f);

    b = tod->Blend(0.25f);
    EXPECT_FLOAT_EQ(b.ambient[1], 0.15f);
    EXPECT_FLOAT_EQ(b.light[0], 0.5f);
    EXPECT_FLOAT_EQ(b.light[1], 0.5f);
    EXPECT_FLOAT_EQ(b.light[2], 0.0f);
    EXPECT_FLOAT_EQ(b.fog[2], 0.25f);
    EXPECT_FLOAT_EQ(b.sunScale, 0.045f);

    // Edits of key 0 reach the wrap record at the next apply.
    tod->keys[0].ambient[0] = 0.5f;
    At(0.9f);
    EXPECT_EQ(tod->keys[6].ambient[0], 0.5f);
}

TEST_F(TimeOfDayTest, NoonIsPushedIntoTheSunTheDomeAndTheEnvironment) {
    At(0.5f);
    EXPECT_NEAR(sun->elevation, 1.570796f, 1e-5f);
    EXPECT_FLOAT_EQ(sun->lightColor[0], 1.0f);
    EXPECT_FLOAT_EQ(sun->scale, 0.02f);
    EXPECT_NEAR(sun->pos.y, 1000.0f, 1e-2f) << "the sun's VarsChanged placed it";
    EXPECT_EQ(dome->zenithColor, 0xFF727299u);
    EXPECT_EQ(dome->horizonColor, 0xFFFFFFFFu);
    EXPECT_EQ(dome->highlightColor, 0xFFFFFFFFu);
    EXPECT_NEAR(dome->sunElevation, 1.570796f, 1e-5f);
    EXPECT_FLOAT_EQ(env->ambient[2], 0.3f);
    EXPECT_FLOAT_EQ(env->fogClr[0], 1.0f);

    At(0.25f);
    EXPECT_NEAR(sun->elevation, 0.0f, 1e-6f);
    EXPECT_EQ(dome->horizonColor, 0xFF3F3F3Fu);
    EXPECT_EQ(HorizonVertex(), 0xFF3F3F3Fu) << "the dome's VarsChanged rewrote its mesh";
    EXPECT_FLOAT_EQ(env->fogClr[1], 0.25f);
}

// Keys that leave no span (key 5 a whole day after key 0: the same time of day) blend with factor
// 0, the earlier key's values; keys out of order or all equal never divide by zero or give NaN.
TEST_F(TimeOfDayTest, KeysWithoutASpanBlendWithFactorZero) {
    tod->keys[0].time = 0.0f;
    tod->keys[5].time = 1.0f;
    TodBlend b = tod->Blend(0.0f);
    EXPECT_EQ(b.prev, 5);
    EXPECT_EQ(b.factor, 0.0f);
    EXPECT_FLOAT_EQ(b.ambient[0], tod->keys[5].ambient[0]);
    tod->keys[5].time = 1.2f; // beyond a day: a negative span
    b = tod->Blend(0.0f);
    EXPECT_EQ(b.factor, 0.0f);

    for (TodKey& k : tod->keys)
        k.time = 0.5f;
    for (float t : {0.0f, 0.5f, 0.9f, 1.0f}) {
        b = tod->Blend(t);
        EXPECT_TRUE(std::isfinite(b.factor) && std::isfinite(b.ambient[0])) << t;
    }
    tod->keys[1].time = 0.9f; // out of order
    tod->keys[3].time = 0.1f;
    for (int i = 0; i <= 100; ++i) {
        b = tod->Blend(float(i) / 100.0f);
        EXPECT_TRUE(std::isfinite(b.factor) && std::isfinite(b.sunScale)) << i;
    }
    At(0.7f);
    EXPECT_TRUE(std::isfinite(sun->pos.x));
}

TEST_F(TimeOfDayTest, ColourProductsAreClampedToBytes) {
    for (int k = 0; k < TOD_KEYS; ++k) {
        tod->keys[k].ambient[0] = 0.9f; // 344 red and green, 459 blue
        tod->keys[k].ambient[1] = 0.9f;
        tod->keys[k].ambient[2] = -0.5f;
        tod->keys[k].light[0] = 1.5f;
        tod->keys[k].fog[1] = -0.5f;
    }
    At(0.5f);
    EXPECT_EQ(dome->zenithColor, 0xFFFFFF00u);
    EXPECT_EQ(dome->highlightColor >> 16 & 0xFF, 255u);
    EXPECT_EQ(dome->horizonColor >> 8 & 0xFF, 0u);
    EXPECT_EQ(TodByte(254.99f), 254);
    EXPECT_EQ(TodByte(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST_F(TimeOfDayTest, ClockAdvancesWrapsOnceAndKeepsExactlyOne) {
    tod->time = 0.5f;
    tod->Update(1000.0f);
    EXPECT_FLOAT_EQ(tod->time, 0.5f + 1000.0f * 9.645062e-7f);
    tod->timeScale = 10.0f;
    tod->Update(1000.0f);
    EXPECT_FLOAT_EQ(tod->time, 0.5f + 11000.0f * 9.645062e-7f);

    tod->timeScale = 1.0f;
    tod->time = 1.0f;
    tod->Update(0.0f);
    EXPECT_EQ(tod->time, 1.0f);
    tod->time = 1.0001f;
    tod->Update(0.0f);
    EXPECT_NEAR(tod->time, 0.0001f, 1e-6f);
    EXPECT_EQ(tod->Update(0.1f), 1);
}

TEST_F(TimeOfDayTest, ScaleZeroHoldsTheTimeButPausedAppliesNothing) {
    tod->timeScale = 0.0f;
    tod->time = 0.25f;
    tod->Update(5.0f);
    EXPECT_EQ(tod->time, 0.25f);
    EXPECT_EQ(dome->horizonColor, 0xFF3F3F3Fu) << "the lighting is still applied";

    tod->paused = 1;
    tod->timeScale = 1.0f;
    tod->time = 0.5f;
    tod->Update(5.0f);
    EXPECT_EQ(tod->time, 0.5f);
    EXPECT_EQ(dome->horizonColor, 0xFF3F3F3Fu) << "paused: nothing applied";
    tod->VarsChanged();
    EXPECT_EQ(dome->horizonColor, 0xFFFFFFFFu) << "an apply still reads the written time";
}

// Scripts and the editor may store any time: the blend wraps it, NaN counts as noon, and the
// stored value is left as it was set.
TEST_F(TimeOfDayTest, TimesOutsideTheDayAreWrappedForTheBlend) {
    At(1.3f);
    EXPECT_EQ(tod->time, 1.3f);
    EXPECT_NEAR(tod->BlendTime(), 0.3f, 1e-6f);
    EXPECT_NEAR(sun->elevation, 0.3f * 6.283185f - 1.570796f, 1e-5f);
    EXPECT_NEAR(tod->BlendTime(), 0.3f, 1e-6f);
    tod->time = -0.2f;
    EXPECT_NEAR(tod->BlendTime(), 0.8f, 1e-6f);
    tod->time = 7.0f;
    EXPECT_EQ(tod->BlendTime(), 0.0f);
    tod->time = 1.0f;
    EXPECT_EQ(tod->BlendTime(), 1.0f);
    for (float bad :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
          -std::numeric_limits<float>::infinity()}) {
        At(bad);
        EXPECT_EQ(tod->BlendTime(), 0.5f);
        EXPECT_EQ(dome->zenithColor, 0xFF727299u);
        EXPECT_TRUE(std::isfinite(sun->elevation));
        EXPECT_TRUE(std::isfinite(env->ambient[0]));
    }
}

TEST_F(TimeOfDayTest, MissingOrDestroyedTargetsLeaveTheOthersUpdated) {
    EntDestroyTree(sun);
    EntDestroyTree(env);
    At(0.25f);
    EXPECT_EQ(dome->horizonColor, 0xFF3F3F3Fu);
    EntDestroyTree(dome);
    // The links now name freed entities: applying must not reach them.
    tod->Update(0.1f);
    EXPECT_EQ(tod->sun.Get(), nullptr);
    EXPECT_EQ(tod->skyDome.Get(), nullptr);

    // A new "Sun" is found only by a new start.
    auto* second = Make<Sun>("Sun", world, "Sun");
    At(0.5f);
    EXPECT_EQ(second->scale, 1.0f);
    tod->Start();
    At(0.5f);
    EXPECT_FLOAT_EQ(second->scale, 0.02f);
}

// A sky dome's name on another class gets no colours written into it.
TEST_F(TimeOfDayTest, ADomeNameOnAnotherClassIsLeftAlone) {
    EntDestroyTree(dome);
    Make("Probe", world, "SkyDome");
    tod->Start();
    At(0.5f);
    EXPECT_EQ(tod->skyDome.Get()->GetTypeName(), std::string("Probe"));
}

} // namespace
