// The voice pool: handing out voices, one-shot and looping plays, the voice operations, values
// OpenAL would refuse, and handles kept after their sound has ended.
#include "tests/engine/SoundFixture.h"

#include <AL/al.h>

#include <cmath>

namespace {
class SndVoiceTest : public SoundTest {
  protected:
    SndBuffer* Load(const char* rel) {
        SndBuffer* b = SndLoadBuffer(SoundData(rel).c_str());
        EXPECT_NE(b, nullptr) << rel;
        m_loaded.push_back(b);
        return b;
    }
    void TearDown() override {
        for (SndBuffer* b : m_loaded)
            SharedObjRelease(b);
        SoundTest::TearDown();
    }
    std::vector<SndBuffer*> m_loaded;
};
} // namespace

TEST_F(SndVoiceTest, ThirtyThirdPlayFindsNoVoice) {
    Open(nullptr);
    SndBuffer* tone = Load("Sounds/ToneMono.wav");
    std::vector<SndVoice> voices;
    for (int i = 0; i < 32; ++i) {
        voices.push_back(SndPlay(1, tone, 0, 1.0f, 0, 1.0f));
        ASSERT_TRUE(voices.back()) << "voice " << i;
    }
    EXPECT_FALSE(SndFindFreeVoice());
    EXPECT_FALSE(SndPlay(1, tone, 0, 1.0f, 0, 1.0f)) << "every voice is busy";

    SndStopAll();
    for (SndVoice v : voices)
        EXPECT_EQ(SndVoiceState(v), SND_STATE_STOPPED) << v.slot;
    SndVoice v = SndFindFreeVoice();
    EXPECT_EQ(v.slot, 0) << "the first free voice in pool order";
}

TEST_F(SndVoiceTest, OneShotEndsAndFreesItsVoiceWhileALoopGoesOn) {
    Open(LoopbackDevice);
    SndBuffer* click = Load("Sounds/Click.wav");
    SndVoice fresh = SndFindFreeVoice();
    EXPECT_EQ(SndVoiceState(fresh), SND_STATE_IDLE) << "a voice never played is initial";

    SndVoice once = SndPlay(2, click, 1, 1.0f, 0, 1.0f);
    SndVoice loop = SndPlay(2, click, 0, 1.0f, 0, 1.0f);
    ASSERT_TRUE(once && loop);
    EXPECT_EQ(SndVoiceState(once), SND_STATE_PLAYING);
    EXPECT_GT(Rms(RenderMix(256)), 100.0) << "the click is not in the mix";
    RenderMix(kMixRate / 5); // well past the 30 ms click
    EXPECT_EQ(SndVoiceState(once), SND_STATE_STOPPED);
    EXPECT_EQ(SndVoiceState(loop), SND_STATE_PLAYING) << "one-shot 0 loops";
    EXPECT_EQ(SndFindFreeVoice().slot, once.slot) << "an ended one-shot gives its voice back";

    SndVoiceStop(loop);
    EXPECT_EQ(SndVoiceState(loop), SND_STATE_STOPPED);
    RenderMix(1024); // the mixer fades a stopped voice out
    EXPECT_LT(Rms(RenderMix(1024)), 1.0) << "nothing plays after the loop is stopped";
}

TEST_F(SndVoiceTest, StaleHandlesChangeNothing) {
    Open(LoopbackDevice, 1);
    SndBuffer* click = Load("Sounds/Click.wav");
    SndBuffer* tone = Load("Sounds/ToneMono.wav");
    SndVoice old = SndPlay(0, click, 1, 1.0f, 0, 1.0f);
    ASSERT_TRUE(old);
    RenderMix(kMixRate / 5);
    ASSERT_EQ(SndVoiceState(old), SND_STATE_STOPPED);

    SndVoice now = SndPlay(0, tone, 0, 0.5f, 0, 1.0f);
    ASSERT_TRUE(now);
    ASSERT_EQ(now.slot, old.slot) << "the single voice is reused";
    VECTOR3 far = {500.0f, 0.0f, 0.0f};
    SndVoiceStop(old);
    SndVoiceSetGain(old, 0.0f);
    SndVoiceSetPos(old, &far);
    SndVoiceSetRange(old, 1.0f, 2.0f);
    SndVoiceSetBuffer(old, click);
    EXPECT_EQ(SndVoiceState(old), SND_STATE_STOPPED) << "the old sound has ended";
    EXPECT_EQ(SndVoiceState(now), SND_STATE_PLAYING) << "a stale handle stopped the new sound";
    EXPECT_FLOAT_EQ(SourceFloat(now, AL_GAIN), 0.5f);
    ALfloat p[3] = {-1, -1, -1};
    alGetSource3f(SndVoiceSource(now), AL_POSITION, &p[0], &p[1], &p[2]);
    EXPECT_FLOAT_EQ(p[0], 0.0f) << "a stale handle moved the new sound";
    EXPECT_EQ(SndVoiceSource(old), 0u);
    EXPECT_GT(Rms(RenderMix(1024)), 100.0) << "the new sound must play on";
}

TEST_F(SndVoiceTest, RangeSetsMaximumAndReferenceDistances) {
    Open(nullptr);
    SndBuffer* tone = Load("Sounds/ToneMono.wav");
    SndVoice v = SndPlay(0, tone, 0, 1.0f, 0, 1.0f);
    SndVoiceSetRange(v, 10.0f, 100.0f);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_MAX_DISTANCE), 100.0f);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_REFERENCE_DISTANCE), 2.0f);

    SndVoiceSetRange(v, 600.0f, 50.0f); // near beyond far
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_MAX_DISTANCE), 50.0f);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_REFERENCE_DISTANCE), 50.0f)
        << "reference kept within the maximum";

    SndVoiceSetRange(v, -5.0f, -1.0f);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_MAX_DISTANCE), 0.0f);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_REFERENCE_DISTANCE), 0.0f);
    SndVoiceSetRange(v, NAN, 10.0f);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_MAX_DISTANCE), 0.0f) << "a NaN range is ignored";
}

TEST_F(SndVoiceTest, ValuesOpenALWouldRefuseAreClamped) {
    Open(nullptr);
    SndBuffer* tone = Load("Sounds/ToneMono.wav");
    SndVoice v = SndPlay(0, tone, 0, -2.0f, 0, 0.0f);
    ASSERT_TRUE(v);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_GAIN), 0.0f);
    EXPECT_GT(SourceFloat(v, AL_PITCH), 0.0f);
    EXPECT_LT(SourceFloat(v, AL_PITCH), 0.01f);
    SndVoiceSetPitch(v, -1.0f);
    EXPECT_GT(SourceFloat(v, AL_PITCH), 0.0f) << "a negative pitch must still reach OpenAL";
    SndVoiceSetGain(v, NAN);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_GAIN), 0.0f);
    SndVoiceSetGain(v, 0.75f);
    EXPECT_FLOAT_EQ(SourceFloat(v, AL_GAIN), 0.75f);

    VECTOR3 pos = {3.0f, 4.0f, 5.0f}, bad = {0.0f, INFINITY, 0.0f};
    SndVoiceSetPos(v, &pos);
    SndVoiceSetPos(v, &bad);
    SndVoiceSetPos(v, nullptr);
    ALfloat p[3] = {};
    alGetSource3f(SndVoiceSource(v), AL_POSITION, &p[0], &p[1], &p[2]);
    EXPECT_FLOAT_EQ(p[1], 4.0f);

    SndVoiceSetLooping(v, 0);
    ALint looping = -1;
    alGetSourcei(SndVoiceSource(v), AL_LOOPING, &looping);
    EXPECT_EQ(looping, AL_FALSE);

    EXPECT_FALSE(SndPlay(0, nullptr, 0, 1.0f, 0, 1.0f));
    EXPECT_EQ(SndFindFreeVoice().slot, 1) << "a play without a buffer must not take a voice";
}
