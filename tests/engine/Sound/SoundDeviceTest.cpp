// The sound device: silent running without one, opening and reopening, the log lines, the voice
// pool and the listener.
#include "engine/DebugLog.h"
#include "engine/Sound/SndEmitter.h"
#include "engine/Sound/SndStream.h"
#include "tests/engine/Sound/SoundFixture.h"
#include "tests/support/TestSupport.h"

#include <cmath>

using SoundDevice = SoundTest;

TEST_F(SoundDevice, WithoutADeviceEveryCallIsANoOp) {
    SndSetDeviceOpenHook(NoDevice);
    EXPECT_EQ(SndInit("SoundFilters\\", 0, 32), -1);
    EXPECT_FALSE(SndIsOpen());

    // A few frames of what the game does, run silently to the end.
    SndBuffer* click = SndLoadBuffer(SoundData("Sounds/Click.wav").c_str());
    EXPECT_EQ(click, nullptr) << "no buffer can exist without a device";
    EXPECT_FALSE(SndPlay(2, click, 1, 1.0f, 0, 1.0f));
    SndEmitter emitter;
    SndEmitterInit(&emitter);
    SndEmitterSetBuffer(&emitter, click);
    VECTOR3 here = {1.0f, 2.0f, 3.0f};
    SndSetListenerPosV(&here);
    SndStream music;
    SndStreamStart(&music, SoundData("Music/MenuLoop.ogg").c_str());
    EXPECT_EQ(music.file, nullptr) << "a stream must not open its file without a device";
    SndStreamPlay(&music);
    for (int frame = 0; frame < 3; ++frame) {
        SndUpdate();
        SndEmitterUpdateAll();
        SndStreamUpdate(&music);
    }
    EXPECT_EQ(emitter.state, SND_EMITTER_OUT);
    SndStreamStop(&music);
    SndEmitterRelease(&emitter);
}

TEST_F(SoundDevice, OpensLogsAndReopensWithoutReusingOldBuffersOrHandles) {
    TempDir dir;
    DbgSetLogFile((dir / "Debug.txt").c_str());
    DbgSetLevelMask(DBG_GENERAL);
    DbgSetOutputMask(DBG_OUT_FILE);
    Open(nullptr);
    DbgSetOutputMask(0);
    std::string log = ReadTextFile(dir / "Debug.txt");
    for (const char* line :
         {"OpenAL default device: ", "\nOpenAL device: ", "OpenAL current device: "})
        EXPECT_NE(log.find(line), std::string::npos) << line << " is missing from:\n" << log;
    EXPECT_EQ(SndVoiceCount(), 32);
    for (int i = 0; i < 32; ++i)
        EXPECT_TRUE(alIsSource(SndVoiceSource(SndVoice{i, 0})))
            << "voice " << i << " has no source";
    EXPECT_FLOAT_EQ(alGetFloat(AL_DOPPLER_FACTOR), 2.0f);

    SndBuffer* click = Load("Sounds/Click.wav");
    SndVoice old = SndPlay(0, click, 0, 1.0f, 0, 1.0f);
    ASSERT_TRUE(old);
    SndShutdown();
    EXPECT_EQ(click->alName, 0u) << "shutdown must delete the buffers still held";

    Open(nullptr);
    SndBuffer* again = Load("Sounds/Click.wav");
    EXPECT_NE(again, click) << "a record from the closed device was handed out again";
    EXPECT_FALSE(SndPlay(0, click, 0, 1.0f, 0, 1.0f)) << "a dead buffer cannot play";
    SndVoice fresh = SndPlay(0, again, 0, 1.0f, 0, 1.0f);
    SndVoiceStop(old);
    EXPECT_EQ(SndVoiceState(fresh), SND_STATE_PLAYING)
        << "a handle from the last device stopped a new sound";
}

TEST_F(SoundDevice, AVoiceCountOfZeroGivesASilentPool) {
    Open(nullptr, 0);
    EXPECT_EQ(SndVoiceCount(), 0);
    EXPECT_FALSE(SndPlay(0, Load("Sounds/Click.wav"), 1, 1.0f, 0, 1.0f));
}

TEST_F(SoundDevice, ListenerSettingsReachOpenAL) {
    Open(nullptr);
    ALfloat gain = 0.0f, p[3] = {}, o[6] = {};
    SndSetListenerGain(-3.0f);
    alGetListenerf(AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.0f) << "a negative master volume is silence";

    VECTOR3 pos = {1.0f, 2.0f, 3.0f}, bad = {NAN, 0.0f, 0.0f};
    SndSetListenerPosV(&pos);
    SndSetListenerPosV(&bad);
    alGetListener3f(AL_POSITION, &p[0], &p[1], &p[2]);
    EXPECT_FLOAT_EQ(p[2], 3.0f);
    EXPECT_FLOAT_EQ(SndGetListenerPos().x, 1.0f) << "a NaN position would freeze every emitter";

    VECTOR3 at = {0.0f, 0.0f, 1.0f}, up = {0.0f, 1.0f, 0.0f};
    SndSetListenerOrientAtUp(&at, &up);
    alGetListenerfv(AL_ORIENTATION, o);
    EXPECT_FLOAT_EQ(o[2], 1.0f) << "at comes first";
    EXPECT_FLOAT_EQ(o[4], 1.0f) << "up comes second";
}
