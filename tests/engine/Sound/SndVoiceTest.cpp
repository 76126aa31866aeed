// The voice pool: handing out voices, one-shot and looping plays, the voice operations, values
// OpenAL would refuse, and handles kept after their sound has ended.
#include "tests/engine/Sound/SoundFixture.h"

#include <cmath>

using SndVoiceTest = SoundTest;

TEST_F(SndVoiceTest, ThirtyThirdPlayFindsNoVoiceUntilAllAreStopped) {
    Open(nullptr);
    SndBuffer* tone = Load("Sounds/ToneMono.wav");
    std::vector<SndVoice> voices;
    for (int i = 0; i < 32; ++i) {
        voices.push_back(SndPlay(1, tone, 0, 1.0f, 0, 1.0f));
        ASSERT_TRUE(voices.back()) << "voice " << i;
    }
    EXPECT_FALSE(SndPlay(1, tone, 0, 1.0f, 0, 1.0f)) << "every voice is busy";
    SndStopAll();
    for (SndVoice v : voices)
        EXPECT_EQ(SndVoiceState(v), SND_STATE_STOPPED) << v.slot;
    EXPECT_EQ(SndFindFreeVoice().slot, 0) << "the first free voice in pool order";
}

TEST_F(SndVoiceTest, OneShotEndsAndFreesItsVoiceWhileALoopGoesOn) {
    Open(LoopbackDevice);
    SndBuffer* click = Load("Sounds/Click.wav");
    EXPECT_EQ(SndVoiceState(SndFindFreeVoice()), SND_STATE_IDLE) << "a voice never played";
    SndVoice once = SndPlay(2, click, 1, 1.0f, 0, 1.0f);
    SndVoice loop = SndPlay(2, click, 0, 1.0f, 0, 1.0f);
    ASSERT_TRUE(once && loop);
    EXPECT_EQ(SndVoiceState(once), SND_STATE_PLAYING);
    EXPECT_GT(Rms(RenderMix(256)), 100.0) << "the click is not in the mix";
    RenderMix(kMixRate / 5); // well past the 30 ms click
    EXPECT_EQ(SndVoiceState(once), SND_STATE_STOPPED);
    EXPECT_EQ(SndVoiceState(loop), SND_STATE_PLAYING) << "one-shot 0 loops";
    EXPECT_EQ(SndFindFreeVoice().slot, once.slot) << "an ended one-shot gives its voice back";
}

TEST_F(SndVoiceTest, StaleHandlesChangeNothing) {
    Open(LoopbackDevice, 1);
    SndBuffer* click = Load("Sounds/Click.wav");
    SndVoice old = SndPlay(0, click, 1, 1.0f, 0, 1.0f);
    RenderMix(kMixRate / 5);
    ASSERT_EQ(SndVoiceState(old), SND_STATE_STOPPED);

    SndVoice now = SndPlay(0, Load("Sounds/ToneMono.wav"), 0, 0.5f, 0, 1.0f);
    ASSERT_EQ(now.slot, old.slot) << "the single voice is reused";
    VECTOR3 far = {500.0f, 0.0f, 0.0f};
    SndVoiceStop(old);
    SndVoiceSetGain(old, 0.0f);
    SndVoiceSetPos(old, &far);
    SndVoiceSetBuffer(old, click);
    EXPECT_EQ(SndVoiceState(old), SND_STATE_STOPPED) << "the old sound has ended";
    EXPECT_EQ(SndVoiceState(now), SND_STATE_PLAYING) << "a stale handle stopped the new sound";
    EXPECT_FLOAT_EQ(SourceFloat(now, AL_GAIN), 0.5f);
    ALfloat p[3] = {-1, -1, -1};
    alGetSource3f(SndVoiceSource(now), AL_POSITION, &p[0], &p[1], &p[2]);
    EXPECT_FLOAT_EQ(p[0], 0.0f) << "a stale handle moved the new sound";
    EXPECT_GT(Rms(RenderMix(1024)), 100.0) << "the new sound must play on";
}

TEST_F(SndVoiceTest, RangeAndValuesOpenALWouldRefuse) {
    Open(nullptr);
    SndVoice v = SndPlay(0, Load("Sounds/ToneMono.wav"), 0, -2.0f, 0, 0.0f);
    ASSERT_TRUE(v);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_GAIN), 0.0f);
    EXPECT_GT(SourceFloat(v, AL_PITCH), 0.0f);
    EXPECT_LT(SourceFloat(v, AL_PITCH), 0.01f);
    SndVoiceSetPitch(v, -1.0f);
    EXPECT_GT(SourceFloat(v, AL_PITCH), 0.0f) << "a negative pitch must still reach OpenAL";

    SndVoiceSetRange(v, 10.0f, 100.0f);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_MAX_DISTANCE), 100.0f);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_REFERENCE_DISTANCE), 2.0f);
    SndVoiceSetRange(v, 600.0f, 50.0f); // near beyond far
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_REFERENCE_DISTANCE), 50.0f)
        << "reference kept within the maximum";
    SndVoiceSetRange(v, -5.0f, -1.0f);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_MAX_DISTANCE), 0.0f) << "OpenAL refuses negative distances";

    VECTOR3 pos = {3.0f, 4.0f, 5.0f}, bad = {0.0f, INFINITY, 0.0f};
    SndVoiceSetPos(v, &pos);
    SndVoiceSetPos(v, &bad);
    ALfloat p[3] = {};
    alGetSource3f(SndVoiceSource(v), AL_POSITION, &p[0], &p[1], &p[2]);
    EXPECT_FLOAT_EQ(p[1], 4.0f);

    EXPECT_FALSE(SndPlay(0, nullptr, 0, 1.0f, 0, 1.0f));
    EXPECT_EQ(SndFindFreeVoice().slot, 1) << "a play without a buffer must not take a voice";
}
