// Sound buffers: sharing by file title, what is read back, bad files, and freeing the OpenAL
// buffer on the last release.
#include "engine/DebugLog.h"
#include "tests/engine/SoundFixture.h"
#include "tests/support/TestSupport.h"

#include <AL/al.h>

using SndBufferTest = SoundTest;

TEST_F(SndBufferTest, SameFileTwiceIsOneSharedBufferNamedByItsTitle) {
    Open(nullptr);
    // Windows separators and another letter case find the same file.
    std::string winPath = SoundData("Sounds\\click.WAV");
    SndBuffer* a = SndLoadBuffer(SoundData("Sounds/Click.wav").c_str());
    SndBuffer* b = SndLoadBuffer(winPath.c_str());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->refCount, 2);
    EXPECT_STREQ(a->name, "CLICK");
    EXPECT_EQ(SharedObjRelease(a), 1);
    EXPECT_EQ(SharedObjRelease(a), 0);
}

TEST_F(SndBufferTest, ReadsBackTheFormatOfTheFile) {
    Open(nullptr);
    SndBuffer* mono = SndLoadBuffer(SoundData("Sounds/ToneMono.wav").c_str());
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(mono->channels, 1);
    EXPECT_EQ(mono->bits, 16);
    EXPECT_EQ(mono->frequency, 22050);
    EXPECT_EQ(mono->Size(), 22050 / 2 * 2) << "half a second of 16-bit mono";
    SharedObjRelease(mono);

    // 8-bit WAV is decoded too.
    TempDir dir;
    WriteBytes(dir / "Eight.wav", WavImage(2, 8, 11025, 100));
    SndBuffer* eight = SndLoadBuffer((dir / "Eight.wav").c_str());
    ASSERT_NE(eight, nullptr);
    EXPECT_EQ(eight->bits, 8);
    EXPECT_EQ(eight->channels, 2);
    EXPECT_EQ(eight->Size(), 200);
    EXPECT_TRUE(SndPlay(0, eight, 1, 1.0f, 0, 1.0f)) << "an 8-bit sound must play";
    SharedObjRelease(eight);
}

TEST_F(SndBufferTest, BadFilesGiveNullAndLogNothing) {
    TempDir dir;
    DbgSetLogFile((dir / "Debug.txt").c_str());
    DbgSetLevelMask(0xFFFFFFFFu);
    DbgSetOutputMask(DBG_OUT_FILE);
    Open(nullptr);
    int64_t before = DbgFormattedCount();

    WriteBytes(dir / "Truncated.wav", WavImage(1, 16, 22050, 1000, 1000));
    WriteBytes(dir / "Empty.wav", {});
    std::vector<uint8_t> ogg = ReadBytes(SoundData("Music/ToneMono.ogg"));
    ASSERT_FALSE(ogg.empty());
    WriteBytes(dir / "Music.wav", ogg);
    for (const char* name : {"Missing.wav", "Truncated.wav", "Empty.wav", "Music.wav"})
        EXPECT_EQ(SndLoadBuffer((dir / name).c_str()), nullptr) << name;
    EXPECT_EQ(SndLoadBuffer(nullptr), nullptr);
    EXPECT_EQ(DbgFormattedCount(), before) << "a sound that does not load is not logged";
    DbgSetOutputMask(0);

    // A failed load leaves nothing behind that would spoil the next one.
    SndBuffer* good = SndLoadBuffer(SoundData("Sounds/Click.wav").c_str());
    EXPECT_NE(good, nullptr);
    SharedObjRelease(good);
}

TEST_F(SndBufferTest, LongTitlesAreCutTo31Characters) {
    Open(nullptr);
    TempDir dir;
    std::string title(40, 'a');
    WriteBytes(dir / (title + ".wav"), WavImage(1, 16, 22050, 10));
    SndBuffer* b = SndLoadBuffer((dir / (title + ".wav")).c_str());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(std::string(b->name), std::string(31, 'A'));
    EXPECT_EQ(SndLoadBuffer((dir / (title + ".wav")).c_str()), b)
        << "the cut name must find it again";
    SharedObjRelease(b);
    SharedObjRelease(b);
}

TEST_F(SndBufferTest, LastReleaseStopsItsVoicesAndDeletesTheBuffer) {
    Open(nullptr);
    SndBuffer* tone = SndLoadBuffer(SoundData("Sounds/ToneMono.wav").c_str());
    SndBuffer* click = SndLoadBuffer(SoundData("Sounds/Click.wav").c_str());
    ASSERT_TRUE(tone && click);
    ALuint name = tone->alName;
    SndVoice looping = SndPlay(0, tone, 0, 1.0f, 0, 1.0f);
    SndVoice other = SndPlay(0, click, 0, 1.0f, 0, 1.0f);
    ASSERT_TRUE(looping && other);

    EXPECT_EQ(SharedObjRelease(tone), 0);
    EXPECT_FALSE(alIsBuffer(name)) << "the OpenAL buffer leaked";
    EXPECT_EQ(SndVoiceState(looping), SND_STATE_STOPPED) << "a voice played a deleted buffer";
    EXPECT_EQ(SndVoiceState(other), SND_STATE_PLAYING) << "only the voices of that buffer stop";
    ALint attached = -1;
    alGetSourcei(SndVoiceSource(looping), AL_BUFFER, &attached);
    EXPECT_EQ(attached, 0);

    // Loading and releasing again and again, as restarted sound entities do, keeps no buffers.
    for (int i = 0; i < 50; ++i) {
        SndBuffer* b = SndLoadBuffer(SoundData("Sounds/ToneMono.wav").c_str());
        ASSERT_NE(b, nullptr);
        SndPlay(0, b, 0, 1.0f, 0, 1.0f);
        name = b->alName;
        SharedObjRelease(b);
        ASSERT_FALSE(alIsBuffer(name)) << "round " << i;
    }
    SharedObjRelease(click);
}

TEST_F(SndBufferTest, ReleaseAfterShutdownOnlyFreesTheRecord) {
    Open(nullptr);
    SndBuffer* click = SndLoadBuffer(SoundData("Sounds/Click.wav").c_str());
    ASSERT_NE(click, nullptr);
    SndPlay(0, click, 0, 1.0f, 0, 1.0f);
    SndShutdown();
    EXPECT_EQ(click->alName, 0u) << "shutdown must delete the buffers still held";
    EXPECT_EQ(SharedObjRelease(click), 0) << "with no device the record alone is freed";
}
