// The music entity on OpenAL Soft's null backend: the same song in any letter case, quick song
// changes, the cross-fade read from the streams' AL sources, the volume, the functions that
// find the entity by name, and songs that cannot be played.
#include "engine/Sound/SndStream.h"
#include "engine/Sound/Sound.h"
#include "tests/support/TestSupport.h"
#include "tests/world/WorldTestClasses.h"
#include "world/EntMusic.h"

#include <AL/al.h>
#include <gtest/gtest.h>

namespace {

class MusicTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterWorldTestClasses();
        ASSERT_EQ(SndInit(nullptr, 0, 4), 0) << "OpenAL Soft's null backend did not open";
        // Three songs: copies of the generated loop.
        const std::string loop =
            ReadTextFile(std::string(FAIRLARK_BUILD_DATA_DIR) + "Music/MenuLoop.ogg");
        ASSERT_FALSE(loop.empty()) << "the generated music is missing";
        for (const char* song : {"Music/MenuLoop.ogg", "Music/Fair.ogg", "Music/Night.ogg"})
            WriteTextFile(dir / song, loop);
        root = Make("EntNull", nullptr, "Root");
        music = Make<EntMusic>("Music", root, "Music");
        music->Start();
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        SndShutdown();
    }
    std::string Song(const char* name) const { return dir / name; }
    static float Gain(const SndStream* s) {
        ALfloat v = -1.0f;
        alGetSourcef(s->source, AL_GAIN, &v);
        return v;
    }

    TempDir dir;
    ENTBASE* root = nullptr;
    EntMusic* music = nullptr;
};

TEST_F(MusicTest, SameSongInAnyCaseIsNotRestarted) {
    music->Play(Song("Music\\MenuLoop.ogg").c_str());
    SndStream* first = music->current;
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first->file, nullptr) << "the song must be found through either separator";
    music->Play(Song("music\\menuloop.OGG").c_str());
    EXPECT_EQ(music->current, first);
    EXPECT_EQ(music->previous, nullptr);
}

// Each stream holds its file open while it lives.
TEST_F(MusicTest, ThreeQuickChangesStopTheOldestAtOnce) {
    const int before = OpenFileCount();
    music->Play(Song("Music/MenuLoop.ogg").c_str());
    music->Play(Song("Music/Fair.ogg").c_str());
    SndStream* second = music->current;
    EXPECT_EQ(OpenFileCount(), before + 2);
    music->Play(Song("Music/Night.ogg").c_str());
    EXPECT_EQ(music->previous, second) << "the song before the latest fades out";
    ASSERT_NE(music->current, nullptr);
    EXPECT_NE(music->current, second);
    EXPECT_EQ(OpenFileCount(), before + 2) << "the oldest stream must be stopped and freed at once";
}

TEST_F(MusicTest, ChangeCrossFadesAtOneVolumeUnitPerSecond) {
    music->SetFloat("volume", 0.8f);
    music->Play(Song("Music/MenuLoop.ogg").c_str());
    EXPECT_EQ(Gain(music->current), 0.0f) << "a new song starts silent";
    music->Update(0.25f);
    EXPECT_NEAR(Gain(music->current), 0.25f, 1e-6f);
    music->Update(5.0f);
    EXPECT_NEAR(Gain(music->current), 0.8f, 1e-6f) << "the fade stops at \"volume\"";

    music->Play(Song("Music/Fair.ogg").c_str());
    music->Update(0.5f);
    ASSERT_NE(music->previous, nullptr);
    EXPECT_NEAR(Gain(music->current), 0.5f, 1e-6f);
    EXPECT_NEAR(Gain(music->previous), 0.8f - 0.5f, 1e-6f);
    music->Update(0.5f);
    EXPECT_EQ(music->previous, nullptr) << "a stream faded to 0 is stopped and freed";
    EXPECT_NEAR(Gain(music->current), 0.8f, 1e-6f);
}

TEST_F(MusicTest, FunctionsFindTheEntityNamedMusic) {
    MusicPlayByName(root, Song("Music/Fair.ogg").c_str());
    ASSERT_NE(music->current, nullptr);
    music->Update(0.2f);
    MusicSetVolume(root, 0.3f);
    EXPECT_NEAR(Gain(music->current), 0.3f, 1e-6f) << "the volume takes effect at once";
    EXPECT_EQ(music->volume, 0.3f);
    music->Update(0.05f);
    EXPECT_NEAR(Gain(music->current), 0.3f, 1e-6f) << "the fade goes on from the gain in force";

    // No music entity, or another kind of entity carrying the name: nothing happens.
    ENTBASE* other = Make("EntNull", nullptr, "Other");
    Make("Probe", other, "Music");
    MusicPlayByName(other, Song("Music/Night.ogg").c_str());
    MusicSetVolume(other, 0.9f);
    MusicPlayByName(nullptr, Song("Music/Night.ogg").c_str());
    EXPECT_EQ(music->volume, 0.3f);
    EXPECT_EQ(music->previous, nullptr);
    EntDestroyTree(other);
}

TEST_F(MusicTest, SongsThatCannotPlayAreSilentAndTheNextOnePlays) {
    WriteTextFile(dir / "Music/Noise.ogg", "OggS but not really a stream at all");
    for (const char* bad : {"Music/Missing.ogg", "Music/Noise.ogg"}) {
        music->Play(Song(bad).c_str());
        ASSERT_NE(music->current, nullptr);
        EXPECT_EQ(music->current->file, nullptr) << bad;
        music->Update(0.5f);
        MusicSetVolume(root, 0.7f);
    }
    music->Play(Song("Music/Night.ogg").c_str());
    ASSERT_NE(music->current->file, nullptr);
    music->Update(0.4f);
    EXPECT_NEAR(Gain(music->current), 0.4f, 1e-6f);
}

} // namespace

// The menus and the venues name their songs below the data folder, as the data writes them; the
// program never changes its working folder, so the song is read from the program's Data/.
TEST_F(MusicTest, ASongNamedBelowTheDataFolderIsReadFromIt) {
    ProgramFolderScope program(dir / "");
    WriteTextFile(dir / "Data/Music/MenuLoop.ogg", ReadTextFile(Song("Music/MenuLoop.ogg")));
    MusicPlayByName(root, "Music\\MenuLoop.ogg");
    ASSERT_NE(music->current, nullptr);
    EXPECT_NE(music->current->file, nullptr) << "the menus' music was not found";
    EXPECT_EQ(music->playing, "Music\\MenuLoop.ogg");
}
