// The two generators and the draws built on them.
#include "engine/Random.h"

#include <gtest/gtest.h>

TEST(Random, GeneratorsFollowTheClassicRecurrence) {
    MsSeed(1);
    EXPECT_EQ(MsRand(), 41);
    CrtSrand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int e : expected)
        EXPECT_EQ(CrtRand(), e) << "draws must match the run-time library the game was tuned with";
}

TEST(Random, TheTwoGeneratorsKeepSeparateStates) {
    CrtSrand(1);
    MsSeed(1);
    EXPECT_EQ(MsRand(), 41);
    EXPECT_EQ(MsRand(), 18467);
    EXPECT_EQ(CrtRand(), 41) << "MsRand moved the run-time generator";
}

TEST(Random, IntegerDrawsStayInRange) {
    CrtSrand(12345);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(RandInt(1), 0);
    EXPECT_EQ(RandInt(0), 0);
    int seen[10] = {};
    for (int i = 0; i < 100000; ++i) {
        int r = RandInt(10);
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 9);
        ++seen[r];
    }
    for (int s : seen)
        EXPECT_GT(s, 0);
    for (int i = 0; i < 100000; ++i) {
        int r = RandIntRange(0, 1000000);
        ASSERT_GE(r, 0) << "a wide span overflowed";
        ASSERT_LT(r, 1000000);
        int s = RandIntRange(-2000000000, 2000000000);
        ASSERT_GE(s, -2000000000);
        ASSERT_LT(s, 2000000000);
    }
}

TEST(Random, FloatDrawsStayInRange) {
    CrtSrand(7);
    for (int i = 0; i < 10000; ++i) {
        float f = RandFloat(2.0f);
        ASSERT_GE(f, 0.0f);
        ASSERT_LT(f, 2.0f);
        float g = RandFloatRange(-1.0f, 1.0f);
        ASSERT_GE(g, -1.0f);
        ASSERT_LT(g, 1.0f);
    }
}

TEST(Random, SourceDrawsAndBellSkew) {
    RandSource src(MsSeed, MsRand);
    MsSeed(99);
    for (int i = 0; i < 10000; ++i) {
        float r = RandRangeF(&src, 5.0f, 10.0f);
        ASSERT_GE(r, 5.0f);
        ASSERT_LE(r, 10.0f);
        float a = RandAvg4(&src);
        ASSERT_GE(a, 0.0f);
        ASSERT_LE(a, 1.0f);
        float b = RandBellSkewF(&src, 0.8f);
        ASSERT_GE(b, 0.0f);
        ASSERT_LE(b, 1.0f);
    }
    // The bell's middle moves to m: half the draws fall below it.
    int below = 0;
    for (int i = 0; i < 20000; ++i)
        below += RandBellSkewF(&src, 0.8f) < 0.8f;
    EXPECT_NEAR(below / 20000.0, 0.5, 0.03);

    RandSource crt;
    crt.InitCrt();
    CrtSrand(1);
    EXPECT_EQ(crt.draw(), 41);
    EXPECT_EQ(crt.max, 32767);
}
