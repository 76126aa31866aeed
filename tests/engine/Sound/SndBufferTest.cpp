// Sound buffers: sharing by file title, what is read back, bad files, and freeing the OpenAL
// buffer on the last release.
#include "engine/DebugLog.h"
#include "tests/engine/Sound/SoundFixture.h"
#include "tests/support/TestSupport.h"

using SndBufferTest = SoundTest;

TEST_F(SndBufferTest, OneFileIsOneBufferSharedUnderItsCutUpperCaseTitle) {
    Open(nullptr);
    SndBuffer* a = SndLoadBuffer(SoundData("Sounds/Click.wav").c_str());
    SndBuffer* b = SndLoadBuffer(SoundData("Sounds\\click.WAV").c_str());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->refCount, 2);
    EXPECT_STREQ(a->name, "CLICK");
    EXPECT_EQ(SharedObjRelease(a), 1);
    EXPECT_EQ(SharedObjRelease(a), 0);

    TempDir dir;
    std::string path = dir / (std::string(40, 'a') + ".wav");
    WriteTextFile(path, WavImage(1, 16, 22050, 10));
    SndBuffer* c = SndLoadBuffer(path.c_str());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(std::string(c->name), std::string(31, 'A'));
    EXPECT_EQ(SndLoadBuffer(path.c_str()), c) << "the cut name must find it again";
    SharedObjRelease(c);
    SharedObjRelease(c);
}

TEST_F(SndBufferTest, ReadsBackTheFormatAndPlays8BitFiles) {
    Open(nullptr);
    SndBuffer* mono = Load("Sounds/ToneMono.wav");
    EXPECT_EQ(mono->channels, 1);
    EXPECT_EQ(mono->bits, 16);
    EXPECT_EQ(mono->frequency, 22050);
    EXPECT_EQ(mono->Size(), 22050) << "half a second of 16-bit mono";

    TempDir dir;
    WriteTextFile(dir / "Eight.wav", WavImage(2, 8, 11025, 100));
    SndBuffer* eight = SndLoadBuffer((dir / "Eight.wav").c_str());
    ASSERT_NE(eight, nullptr);
    EXPECT_EQ(eight->bits, 8);
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
    WriteTextFile(dir / "Truncated.wav", WavImage(1, 16, 22050, 1000, 1000));
    WriteTextFile(dir / "Empty.wav", "");
    WriteTextFile(dir / "Music.wav", ReadTextFile(SoundData("Music/ToneMono.ogg")));
    for (const char* name : {"Missing.wav", "Truncated.wav", "Empty.wav", "Music.wav"})
        EXPECT_EQ(SndLoadBuffer((dir / name).c_str()), nullptr) << name;
    EXPECT_EQ(DbgFormattedCount(), before) << "a sound that does not load is not logged";
    DbgSetOutputMask(0);
    Load("Sounds/Click.wav"); // a failed load leaves nothing behind that spoils the next one
}

// ALUT reads a file image past its end when a chunk is cut short, and a huge chunk length can
// keep it busy for good: such files must be refused before ALUT sees them (AddressSanitizer
// watches the reads).
TEST_F(SndBufferTest, CutAndHostileChunksAreRefusedBeforeDecoding) {
    TempDir dir;
    Open(nullptr);
    const std::string whole = WavImage(1, 16, 22050, 100);
    for (size_t keep = 0; keep < whole.size(); keep += 3) {
        WriteTextFile(dir / "Cut.wav", whole.substr(0, keep));
        EXPECT_EQ(SndLoadBuffer((dir / "Cut.wav").c_str()), nullptr) << "cut at " << keep;
    }
    auto withLength = [&](size_t at, uint32_t length) {
        std::string v = whole;
        for (int i = 0; i < 4; ++i)
            v[at + (size_t)i] = (char)(length >> (8 * i));
        return v;
    };
    // The "fmt " chunk's length is at byte 16, the "data" chunk's at byte 40.
    for (const std::string& hostile : {withLength(16, 0x7FFFFFF0u), withLength(40, 0x7FFFFFF0u),
                                       withLength(40, 201u), withLength(16, 8u)}) {
        WriteTextFile(dir / "Hostile.wav", hostile);
        EXPECT_EQ(SndLoadBuffer((dir / "Hostile.wav").c_str()), nullptr);
    }
    // A chunk ALUT does not know before "fmt " is stepped over.
    std::string extra = whole;
    extra.insert(12, std::string("LIST\x03\0\0\0abc\0", 12));
    WriteTextFile(dir / "Extra.wav", extra);
    SndBuffer* b = SndLoadBuffer((dir / "Extra.wav").c_str());
    EXPECT_NE(b, nullptr) << "a whole file with an odd-length extra chunk must still load";
    if (b) SharedObjRelease(b);
}

TEST_F(SndBufferTest, LastReleaseStopsItsVoicesAndDeletesTheBuffer) {
    Open(nullptr);
    SndBuffer* click = SndLoadBuffer(SoundData("Sounds/Click.wav").c_str());
    SndVoice other = SndPlay(0, click, 0, 1.0f, 0, 1.0f);
    // Loading, playing and releasing again and again, as restarted sound entities do.
    for (int i = 0; i < 20; ++i) {
        SndBuffer* tone = SndLoadBuffer(SoundData("Sounds/ToneMono.wav").c_str());
        ASSERT_NE(tone, nullptr);
        ALuint name = tone->alName;
        SndVoice v = SndPlay(0, tone, 0, 1.0f, 0, 1.0f);
        ASSERT_EQ(SharedObjRelease(tone), 0);
        ASSERT_FALSE(alIsBuffer(name)) << "round " << i << ": the OpenAL buffer leaked";
        EXPECT_EQ(SndVoiceState(v), SND_STATE_STOPPED) << "a voice played a deleted buffer";
        ALint attached = -1;
        alGetSourcei(SndVoiceSource(v), AL_BUFFER, &attached);
        EXPECT_EQ(attached, 0) << "the buffer stayed on the source";
    }
    EXPECT_EQ(SndVoiceState(other), SND_STATE_PLAYING) << "only the voices of that buffer stop";

    SndShutdown();
    EXPECT_EQ(SharedObjRelease(click), 0) << "with no device the release frees the record alone";
}
