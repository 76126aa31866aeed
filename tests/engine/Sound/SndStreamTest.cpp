// Streamed music: block sizes and formats, seamless looping, refills and stalls, and files that
// are missing, silent, corrupt or vanish while playing.
#include "engine/Sound/SndStream.h"
#include "tests/engine/Sound/SoundFixture.h"
#include "tests/support/TestSupport.h"

#include <unistd.h>
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>

namespace {
using SndStreamTest = SoundTest;

ALint Source(const SndStream& s, ALenum param) {
    ALint v = -1;
    alGetSourcei(s.source, param, &v);
    return v;
}

ALint Buffer(ALuint buffer, ALenum param) {
    ALint v = -1;
    alGetBufferi(buffer, param, &v);
    return v;
}

// The whole file decoded once, start to end, by vorbisfile alone.
std::vector<char> DecodeAll(const std::string& path) {
    OggVorbis_File vf;
    std::vector<char> out;
    if (ov_fopen(path.c_str(), &vf) != 0) return out;
    char block[4096];
    int link = 0;
    for (long got; (got = ov_read(&vf, block, sizeof block, 0, 2, 1, &link)) > 0;)
        out.insert(out.end(), block, block + got);
    ov_clear(&vf);
    return out;
}
} // namespace

TEST_F(SndStreamTest, StereoAndMonoFilesFillFullBlocksOnAFixedSource) {
    Open(nullptr);
    SndStream music, mono;
    SndStreamStart(&music, SoundData("Music\\menuloop.OGG").c_str());
    ASSERT_NE(music.file, nullptr) << "the stream must find its file as the file layer does";
    EXPECT_EQ(Source(music, AL_SOURCE_RELATIVE), AL_TRUE)
        << "music must not move with the listener";
    ALfloat rolloff = -1.0f;
    alGetSourcef(music.source, AL_ROLLOFF_FACTOR, &rolloff);
    EXPECT_EQ(rolloff, 0.0f);
    SndStreamPlay(&music);
    EXPECT_EQ(Source(music, AL_BUFFERS_QUEUED), 2);
    EXPECT_EQ(Source(music, AL_SOURCE_STATE), AL_PLAYING);
    for (ALuint b : music.buffers) {
        EXPECT_EQ(Buffer(b, AL_SIZE), 32768) << "8192 stereo frames per refill";
        EXPECT_EQ(Buffer(b, AL_CHANNELS), 2);
        EXPECT_EQ(Buffer(b, AL_FREQUENCY), 44100);
    }
    SndStreamStart(&mono, SoundData("Music/ToneMono.ogg").c_str());
    EXPECT_EQ(mono.format, AL_FORMAT_MONO16);
    SndStreamPlay(&mono);
    EXPECT_EQ(Buffer(mono.buffers[0], AL_CHANNELS), 1);
    EXPECT_EQ(Buffer(mono.buffers[0], AL_FREQUENCY), 22050);
    SndStreamStop(&music);
    SndStreamStop(&mono);
}

TEST_F(SndStreamTest, TheEndOfTheFileRunsStraightIntoItsStart) {
    Open(nullptr);
    std::string path = SoundData("Music/MenuLoop.ogg");
    std::vector<char> once = DecodeAll(path);
    ASSERT_GT(once.size(), (size_t)SND_STREAM_BLOCK);
    SndStream music;
    SndStreamStart(&music, path.c_str());
    std::vector<char> played, block(SND_STREAM_BLOCK);
    while (played.size() < once.size() + 2 * block.size()) {
        ASSERT_EQ(SndStreamDecode(&music, block.data(), SND_STREAM_BLOCK), SND_STREAM_BLOCK)
            << "a block ended early at byte " << played.size();
        played.insert(played.end(), block.begin(), block.end());
    }
    for (size_t i = 0; i < played.size(); ++i)
        ASSERT_EQ(played[i], once[i % once.size()])
            << "byte " << i << ": the loop is not the file's end followed directly by its start";
    SndStreamStop(&music);
}

TEST_F(SndStreamTest, RefillsFinishedBuffersAndGoesOnAfterAStall) {
    Open(LoopbackDevice);
    std::string path = SoundData("Music/MenuLoop.ogg");
    std::vector<char> once = DecodeAll(path);
    SndStream music;
    SndStreamStart(&music, path.c_str());
    SndStreamPlay(&music);
    RenderMix(8192 + 512);
    EXPECT_EQ(Source(music, AL_BUFFERS_PROCESSED), 1);
    SndStreamUpdate(&music);
    EXPECT_EQ(Source(music, AL_BUFFERS_PROCESSED), 0);
    EXPECT_EQ(Source(music, AL_BUFFERS_QUEUED), 2);

    RenderMix(3 * 8192); // a frame so late that both buffers ran out
    ASSERT_EQ(Source(music, AL_SOURCE_STATE), AL_STOPPED);
    SndStreamUpdate(&music);
    EXPECT_EQ(Source(music, AL_SOURCE_STATE), AL_PLAYING) << "the stalled music must start again";
    EXPECT_GT(Rms(RenderMix(2048)), 100.0) << "the music is not in the mix";
    // Two blocks at the start, one refill, two after the stall: the decoder is five blocks in
    // unless the stall replayed the two blocks already heard.
    std::vector<char> next(SND_STREAM_BLOCK);
    ASSERT_EQ(SndStreamDecode(&music, next.data(), SND_STREAM_BLOCK), SND_STREAM_BLOCK);
    ASSERT_GE(once.size(), 6u * SND_STREAM_BLOCK);
    EXPECT_TRUE(std::equal(next.begin(), next.end(), once.begin() + 5 * SND_STREAM_BLOCK))
        << "the stalled music did not go on from where it was";
    SndStreamStop(&music);
}

TEST_F(SndStreamTest, MissingSilentAndNeverStartedStreamsDoNothing) {
    Open(nullptr);
    SndStream never, missing, silent;
    SndStreamUpdate(&never);
    SndStreamPlay(&never);
    SndStreamStop(&never);
    SndStreamStart(&missing, SoundData("Music/NoSuchSong.ogg").c_str());
    EXPECT_EQ(missing.file, nullptr);
    SndStreamPlay(&missing);
    SndStreamUpdate(&missing);
    EXPECT_EQ(missing.source, 0u);

    // A valid stream with no audio: the refill must give up instead of rewinding forever.
    SndStreamStart(&silent, SoundData("Music/Silence.ogg").c_str());
    ASSERT_NE(silent.file, nullptr) << "the silent stream is valid Ogg Vorbis and should open";
    SndStreamPlay(&silent);
    EXPECT_EQ(silent.finished, 1);
    EXPECT_EQ(Source(silent, AL_BUFFERS_QUEUED), 0) << "buffers that were never filled were queued";
    SndStreamUpdate(&silent);
    EXPECT_NE(Source(silent, AL_SOURCE_STATE), AL_PLAYING);
    SndStreamStop(&silent);
}

// A damaged song is named once in the log, however often the menus ask for it; with music
// switched off in the settings no stream is opened at all.
TEST_F(SndStreamTest, AGarbageSongIsLoggedOnceAndMusicOffOpensNoStream) {
    Open(nullptr);
    TempDir dir;
    const std::string path = dir / "MenuLoop.ogg";
    WriteTextFile(path, std::string(5000, '\x5a'));
    LogCapture log;
    for (int i = 0; i < 3; ++i) {
        SndStream music;
        SndStreamStart(&music, path.c_str());
        EXPECT_EQ(music.file, nullptr);
    }
    EXPECT_EQ(log.Text(), "Sound: " + path + ": not an Ogg Vorbis stream (damaged or cut)\n");

    SndSetMusicOn(0);
    SndStream off;
    SndStreamStart(&off, SoundData("Music/MenuLoop.ogg").c_str());
    SndStreamPlay(&off);
    EXPECT_EQ(off.file, nullptr) << "music is off";
    EXPECT_EQ(off.source, 0u);
    SndSetMusicOn(1);
    SndStreamStart(&off, SoundData("Music/MenuLoop.ogg").c_str());
    EXPECT_NE(off.file, nullptr);
    SndStreamStop(&off);
}

TEST_F(SndStreamTest, AFileThatStopsYieldingEndsTheMusicWithoutReplaying) {
    Open(LoopbackDevice);
    TempDir dir;
    std::string path = dir / "Song.ogg";
    WriteTextFile(path, ReadTextFile(SoundData("Music/ToneMono.ogg")));
    SndStream music;
    SndStreamStart(&music, path.c_str());
    SndStreamPlay(&music);
    ASSERT_EQ(Source(music, AL_BUFFERS_QUEUED), 2);
    ASSERT_EQ(truncate(path.c_str(), 0), 0); // the next rewind finds nothing

    for (int frame = 0; frame < 20 && !music.finished; ++frame) {
        RenderMix(16384);
        SndStreamUpdate(&music);
    }
    ASSERT_EQ(music.finished, 1) << "the stream never noticed that it could not refill";
    ALint queued = Source(music, AL_BUFFERS_QUEUED);
    EXPECT_LT(queued, 2) << "a buffer whose refill failed was queued again with old audio";
    RenderMix(3 * 16384);
    SndStreamUpdate(&music);
    EXPECT_EQ(Source(music, AL_SOURCE_STATE), AL_STOPPED) << "a finished stream was restarted";
    EXPECT_EQ(Source(music, AL_BUFFERS_QUEUED), queued) << "a finished stream was refilled";
    SndStreamStop(&music);
}

TEST_F(SndStreamTest, ACorruptPageNeitherHangsNorStopsTheProgram) {
    Open(LoopbackDevice);
    TempDir dir;
    std::string bytes = ReadTextFile(SoundData("Music/MenuLoop.ogg"));
    ASSERT_GT(bytes.size(), 8000u);
    for (size_t i = bytes.size() / 2; i < bytes.size() / 2 + 300; ++i)
        bytes[i] = (char)(i * 31);
    WriteTextFile(dir / "Corrupt.ogg", bytes);
    SndStream music;
    SndStreamStart(&music, (dir / "Corrupt.ogg").c_str());
    ASSERT_NE(music.file, nullptr) << "the damage is past the headers";
    SndStreamPlay(&music);
    for (int frame = 0; frame < 60; ++frame) { // past the damage and round the loop twice
        RenderMix(8192);
        SndStreamUpdate(&music);
    }
    SndStreamStop(&music);
}

TEST_F(SndStreamTest, StopClosesTheFileEvenAfterTheDeviceHasGone) {
    Open(nullptr);
    int before = OpenFileCount();
    SndStream a, b;
    SndStreamStart(&a, SoundData("Music/MenuLoop.ogg").c_str());
    SndStreamStart(&b, SoundData("Music/MenuLoop.ogg").c_str());
    EXPECT_EQ(OpenFileCount(), before + 2);
    SndStreamPlay(&a);
    SndStreamStop(&a);
    EXPECT_EQ(OpenFileCount(), before + 1);
    SndShutdown();
    SndStreamStop(&b);
    EXPECT_EQ(OpenFileCount(), before) << "a stream outliving the device leaked its file";
}

namespace {
// The cycles of one channel of a stereo mix: rises from below -1000 to above +1000, so that
// the coder's noise around zero counts for nothing.
int Cycles(const std::vector<int16_t>& stereo, int channel) {
    int n = 0;
    bool low = false;
    for (size_t i = (size_t)channel; i < stereo.size(); i += 2) {
        if (stereo[i] < -1000) low = true;
        if (low && stereo[i] > 1000) ++n, low = false;
    }
    return n;
}
} // namespace

// Queued as stereo, four channels would play at half pitch for twice as long, sides mixed up.
TEST_F(SndStreamTest, AFileOfFourChannelsPlaysAsStereoAtItsOwnPitchAndLength) {
    Open(LoopbackDevice);
    SndStream quad;
    SndStreamStart(&quad, SoundData("Music/ToneQuad.ogg").c_str());
    ASSERT_NE(quad.file, nullptr);
    EXPECT_EQ(quad.format, AL_FORMAT_STEREO16);
    SndStreamPlay(&quad);
    EXPECT_EQ(Buffer(quad.buffers[0], AL_CHANNELS), 2);
    EXPECT_EQ(Buffer(quad.buffers[0], AL_SIZE), 16384)
        << "one block of 4096 four-channel frames is 4096 stereo frames";
    const std::vector<int16_t> mix = RenderMix(kMixRate / 10);
    EXPECT_NEAR(Cycles(mix, 0), 44, 2) << "the left side is the 440 Hz front and rear left";
    EXPECT_NEAR(Cycles(mix, 1), 66, 2) << "the right side is the 660 Hz front and rear right";
    SndStreamStop(&quad);
}

TEST(SndStreamDownmix, EachSideIsTheMeanOfItsChannelsWithoutTheLowFrequencyChannel) {
    // 5.1 in Vorbis order: front left, centre, front right, rear left, rear right, LFE.
    int16_t six[12] = {300, 30, 100, 600, 200, 32767, -32768, -32768, -32768, -32768, -32768, 5};
    ASSERT_EQ(SndStreamDownmix(six, 2, 6), 2);
    EXPECT_EQ(six[0], (300 + 30 + 600) / 3);
    EXPECT_EQ(six[1], (30 + 100 + 200) / 3);
    EXPECT_EQ(six[2], -32768) << "full-scale channels stay in range";
    EXPECT_EQ(six[3], -32768);
    int16_t stereo[2] = {1, 2};
    EXPECT_EQ(SndStreamDownmix(stereo, 1, 2), 1);
    EXPECT_EQ(stereo[1], 2) << "stereo is left alone";
}
