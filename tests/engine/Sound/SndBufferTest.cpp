// Sound buffers: sharing by file title, what is read back, bad files, and freeing the OpenAL
// buffer on the last release.
#include "engine/DebugLog.h"
#include "tests/engine/Sound/SoundFixture.h"
#include "tests/support/TestSupport.h"

using SndBufferTest = SoundTest;

namespace {
size_t Occurrences(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}
} // namespace

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

// Each bad file is named once in the log with what is wrong with it, however often it is asked
// for; the game goes on without the sound.
TEST_F(SndBufferTest, BadFilesGiveNullAndAreLoggedOnceByName) {
    TempDir dir;
    Open(nullptr);
    LogCapture log;
    const std::string click = ReadTextFile(SoundData("Sounds/Click.wav"));
    const std::string organ = ReadTextFile(SoundData("Music/BandOrgan.ogg"));
    WriteTextFile(dir / "Click.wav", click.substr(0, click.size() / 2));
    WriteTextFile(dir / "Empty.wav", "");
    WriteTextFile(dir / "CutOrgan.ogg", organ.substr(0, 200));
    WriteTextFile(dir / "Text.ogg", "OggS and then nothing that decodes");
    const char* const names[] = {"Missing.wav", "Click.wav", "Empty.wav", "CutOrgan.ogg",
                                 "Text.ogg"};
    for (int pass = 0; pass < 2; ++pass)
        for (const char* name : names)
            EXPECT_EQ(SndLoadBuffer((dir / name).c_str()), nullptr) << name;
    const std::string text = log.Text();
    const char* const lines[] = {
        "Missing.wav: missing or unreadable\n",
        "Click.wav: not a whole RIFF WAVE file (cut short or damaged)\n",
        "Empty.wav: the file is empty\n",
        "CutOrgan.ogg: not an Ogg Vorbis stream (damaged or cut)\n",
        "Text.ogg: not an Ogg Vorbis stream (damaged or cut)\n",
    };
    for (const char* line : lines) {
        const std::string whole = "Sound: " + (dir / "") + line;
        EXPECT_EQ(Occurrences(text, whole), 1u) << line << " in:\n" << text;
    }
    EXPECT_EQ(Occurrences(text, "\n"), 5u) << text;
    Load("Sounds/Click.wav"); // a failed load leaves nothing behind that spoils the next one
}

// An attraction's music is an Ogg Vorbis file played as a sound: decoded whole into its buffer.
TEST_F(SndBufferTest, OggVorbisFilesAreDecodedWhole) {
    Open(nullptr);
    SndBuffer* organ = Load("Music/BandOrgan.ogg");
    EXPECT_EQ(organ->channels, 1) << "mono, so that it can be placed";
    EXPECT_EQ(organ->bits, 16);
    EXPECT_EQ(organ->frequency, 22050);
    EXPECT_EQ(organ->Size(), 22050 * 2 * 9) << "eight bars of three beats at 0.375 s";
    EXPECT_TRUE(SndPlay(0, organ, 0, 1.0f, 0, 1.0f));
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
