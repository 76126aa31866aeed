// The settings: where "Config.ini" is found, what its video keys set, and the configuration
// dialog that may stop the start-up.
#include "tests/harness/GameAppFixture.h"

#include "I3d/Device.h"
#include "engine/DebugLog.h"
#include "engine/Sound/Sound.h"
#include "engine/UserFolder.h"
#include "game/Prefs.h"
#include "platform/PathResolve.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tools/HwConfig.h"
#include "tools/HwConfigData.h"

#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {
std::tuple<int, int, int, int, int> Video(const GameApp& app) {
    return {app.windowed, app.windowWidth, app.windowHeight, app.deviceWidth, app.deviceHeight};
}
} // namespace

TEST_F(GameAppTest, WithoutASettingsFileTheDefaultsApplyAndTheGameFolderIsMade) {
    WriteConfig("", "Other.ini");
    ASSERT_EQ(app.LoadConfig(), 0);
    EXPECT_EQ(app.SettingsPath(), m_documents + "Fairlark/Config.ini");
    EXPECT_EQ(Video(app), std::make_tuple(1, 640, 480, 1024, 768)) << "windowed 640 x 480";
    EXPECT_EQ(app.debug, 0) << "no log without the switch";
    EXPECT_EQ(app.backBufferFormat, 22);
    EXPECT_EQ(app.runWhileInactive, 0u);
}

// Only 1 switches on; the dialog must write 0/1, since "TRUE" reads as the integer 0.
TEST_F(GameAppTest, OnlyOneSwitchesOnAndSwitchesAreReadAsIntegers) {
    for (const char* value : {"2", "TRUE", "0"}) {
        SCOPED_TRACE(value);
        WriteConfig(std::string("[Xq Config]\nrunHwConfig=0\nwindowed=") + value +
                    "\ndebug=" + value + "\nlockVsync=" + value + "\n");
        GameApp game;
        game.SetProgramFolder(m_program.c_str());
        ASSERT_EQ(game.LoadConfig(), 0);
        EXPECT_EQ(game.windowed, 0) << "only windowed=1 is a window";
        EXPECT_EQ(game.debug, 0) << "only debug=1 starts the log";
        EXPECT_EQ(game.lockVsync, 0);
    }
}

TEST_F(GameAppTest, EachModeReadsOnlyItsOwnSizeKeys) {
    const std::string keys = "winWidth=1000\nwinHeight=700\nrunWhileInactive=3\n"
                             "lockableBackbuffer=1\nhRes=800\nvRes=600\ndeviceId=2\nformat=23\n"
                             "lockVsync=1\ndebug=1\nrunHwConfig=0\n";
    WriteConfig("[Xq Config]\nwindowed=1\n" + keys);
    ASSERT_EQ(app.LoadConfig(), 0);
    EXPECT_EQ(Video(app), std::make_tuple(1, 1000, 700, 1024, 768)) << "hRes/vRes read in a window";
    EXPECT_EQ(std::make_tuple(app.runWhileInactive, app.lockableBackbuffer), std::make_tuple(3u, 1))
        << "these take the value as read";
    EXPECT_EQ(std::make_tuple(app.adapter, app.backBufferFormat, app.lockVsync, app.debug),
              std::make_tuple(2, 23, 1, 1));

    GameApp full;
    full.SetProgramFolder(m_program.c_str());
    WriteConfig("[Xq Config]\nwindowed=0\n" + keys);
    ASSERT_EQ(full.LoadConfig(), 0);
    EXPECT_EQ(Video(full), std::make_tuple(0, 1280, 720, 800, 600))
        << "the window's keys were read for full screen";
    EXPECT_EQ(std::make_tuple(full.runWhileInactive, full.lockableBackbuffer),
              std::make_tuple(0u, 0));
}

TEST_F(GameAppTest, ALowerCaseSettingsFileIsTheSameFile) {
    WriteConfig("[Xq Config]\nrunHwConfig=0\nwinWidth=900\n", "config.ini");
    ASSERT_EQ(app.LoadConfig(), 0);
    EXPECT_EQ(app.windowWidth, 900);
}

// A settings file of gigabytes whose first lines are valid (a sparse file): the start reads it as
// missing without reading it whole, keeps it aside, and the preferences written at exit make a
// fresh small file instead of writing all of it back.
TEST_F(GameAppTest, AnOversizedSettingsFileReadsAsMissingAndIsKeptAside) {
    const std::string path = m_documents + "Fairlark/Config.ini";
    const std::string head = "[Xq Config]\nrunHwConfig=0\nwinWidth=900\n";
    WriteConfig(head);
    const off_t size = off_t(1536) << 20;
    ASSERT_EQ(truncate(path.c_str(), size), 0);
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(app.LoadConfig(), 0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    getrusage(RUSAGE_SELF, &after);
    EXPECT_EQ(app.windowWidth, 640) << "the oversized file's keys were read";
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256L * 1024) << "KiB: the file was read whole";
    EXPECT_NE(err.find(path +
                       " holds 1610612736 bytes, past the 1048576 of a settings file: "
                       "read as missing and kept as " +
                       path + ".oversized\n"),
              std::string::npos)
        << err;

    Prefs prefs;
    prefs.volMaster = 0.25f;
    ASSERT_TRUE(prefs.Save((m_documents + "Fairlark/").c_str()));
    std::string fresh; // the preferences' own spelling of the name
    ASSERT_EQ(PlatPathResolve(path.c_str(), &fresh), 1) << "no settings file was written";
    struct stat written {
    }, kept{};
    ASSERT_EQ(stat(fresh.c_str(), &written), 0);
    EXPECT_LT(written.st_size, 4096) << "the preferences carried the oversized content";
    EXPECT_NE(ReadTextFile(fresh).find("[Prefs]"), std::string::npos);
    ASSERT_EQ(stat((path + ".oversized").c_str(), &kept), 0);
    EXPECT_EQ(kept.st_size, size) << "the set-aside file lost data";
    char start[64] = {};
    std::FILE* f = std::fopen((path + ".oversized").c_str(), "rb");
    ASSERT_TRUE(f);
    EXPECT_EQ(std::fread(start, 1, head.size(), f), head.size());
    std::fclose(f);
    EXPECT_EQ(std::string(start), head);
}

// Without a documents folder the settings live beside the program, never in the working folder.
TEST_F(GameAppTest, WithoutADocumentsFolderTheProgramsSavesFolderHoldsTheSettings) {
    unsetenv("XDG_DOCUMENTS_DIR");
    WriteTextFile(m_program + "Saves/Config.ini", "[Xq Config]\nrunHwConfig=0\nwinWidth=900\n");
    ASSERT_EQ(app.LoadConfig(), 0);
    EXPECT_EQ(app.SettingsPath(), m_program + "Saves/Config.ini");
    EXPECT_EQ(app.windowWidth, 900);
}

// A documents folder the game cannot write in: no crash, the defaults.
TEST_F(GameAppTest, AGameFolderThatCannotBeMadeLeavesTheDefaults) {
    WriteTextFile(m_dir / "plain", "not a folder");
    setenv("XDG_DOCUMENTS_DIR", (m_dir / "plain").c_str(), 1);
    ASSERT_EQ(app.LoadConfig(), 0);
    EXPECT_EQ(Video(app), std::make_tuple(1, 640, 480, 1024, 768));
}

TEST_F(GameAppTest, TheDocumentsFolderComesFromTheEnvironmentTheUserDirsFileOrHome) {
    const std::string home = m_dir / "home/";
    EXPECT_EQ(UserGameFolder(), m_documents + "Fairlark/");

    setenv("XDG_DOCUMENTS_DIR", "relative/docs", 1);
    EXPECT_EQ(UserDocumentsFolder(), "") << "a relative folder would follow the working folder";

    unsetenv("XDG_DOCUMENTS_DIR");
    WriteTextFile(home + ".config/user-dirs.dirs",
                  "# written by the desktop\nXDG_MUSIC_DIR=\"$HOME/Music\"\n"
                  "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
    EXPECT_EQ(UserDocumentsFolder(), home + "Papers/");

    WriteTextFile(home + ".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n");
    EXPECT_EQ(UserDocumentsFolder(), "") << "an entry naming the home folder means none";

    WriteTextFile(home + ".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\n");
    WriteTextFile(home + "Documents/keep", "");
    EXPECT_EQ(UserDocumentsFolder(), home + "Documents/") << "a malformed entry falls through";
}

// ---- the configuration dialog ----

namespace {
HwConfigSettings s_seen;
int s_dialogCalls = 0;
int StopStartup(HwConfigSettings* settings) {
    s_seen = *settings;
    ++s_dialogCalls;
    return 0;
}
} // namespace

// The dialog stops the start-up before anything is made: no device, no log.
TEST_F(GameAppTest, ADialogAnsweringZeroEndsTheStartUpBeforeAnyDeviceOrLog) {
    HwConfigSetDriver(StopStartup);
    WriteConfig("[Xq Config]\nrunHwConfig=1\ndebug=1\n");
    EXPECT_EQ(app.AppCreateMainWindow(), -1);
    EXPECT_EQ(app.AppStartStatus(), 0) << "a deliberate end is not a failure";
    EXPECT_EQ(s_dialogCalls, 1);
    EXPECT_EQ(std::string(s_seen.settingsPath), app.SettingsPath());
    EXPECT_STREQ(s_seen.appName, "Xq App");
    EXPECT_EQ(D3dDevice(), nullptr);
    EXPECT_STREQ(DbgLogFile(), "Debug.txt") << "the log was started";
    EXPECT_EQ(app.hwnd, nullptr);
}

TEST_F(GameAppTest, TheDialogRunsUnlessSwitchedOffAndWithoutOneTheStartUpGoesOn) {
    HwConfigSetDriver(StopStartup);
    s_dialogCalls = 0;
    WriteConfig("[Xq Config]\nrunHwConfig=0\n");
    EXPECT_EQ(app.LoadConfig(), 0);
    EXPECT_EQ(s_dialogCalls, 0);
    WriteConfig("[Xq Config]\nwindowed=1\n");
    EXPECT_EQ(app.LoadConfig(), -1) << "runHwConfig is 1 when missing";
    EXPECT_EQ(s_dialogCalls, 1);

    HwConfigSetDriver(nullptr);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app.LoadConfig(), 0);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(
                  "HwConfigShow: no configuration dialog in this build"),
              std::string::npos);
}

// What the dialog writes is what the game reads: switches as 0/1, the format under "format".
TEST_F(GameAppTest, ASettingsFileWrittenByTheDialogStartsTheGameAsChosen) {
    WriteConfig("[Xq Config]\nrunHwConfig=0\n");
    ASSERT_EQ(app.LoadConfig(), 0);
    HwConfigData chosen;
    HwConfigLoad(&chosen, app.SettingsPath().c_str());
    chosen.windowed = 1, chosen.debug = 1;
    ASSERT_TRUE(HwConfigSave(&chosen, app.SettingsPath().c_str()));
    GameApp game;
    game.SetProgramFolder(m_program.c_str());
    ASSERT_EQ(game.LoadConfig(), 0);
    EXPECT_EQ(game.windowed, 1);
    EXPECT_EQ(game.debug, 1);
    EXPECT_EQ(game.backBufferFormat, 22);
}

// Sizes no display holds (or too small for the menus) are the defaults, with a line saying so.
TEST_F(GameAppTest, SizesOutOfRangeTakeTheDefaultWithALine) {
    const char* cases[] = {"winWidth=2147483647\nwinHeight=480\n", "winWidth=-640\nwinHeight=-1\n",
                           "winWidth=319\nwinHeight=600\n"};
    for (const char* keys : cases) {
        SCOPED_TRACE(keys);
        WriteConfig(std::string("[Xq Config]\nrunHwConfig=0\nwindowed=1\n") + keys);
        GameApp game;
        game.SetProgramFolder(m_program.c_str());
        ::testing::internal::CaptureStderr();
        ASSERT_EQ(game.LoadConfig(), 0);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::make_tuple(game.windowWidth, game.windowHeight), std::make_tuple(640, 480));
        EXPECT_NE(said.find("winWidth x winHeight"), std::string::npos) << said;
    }
    WriteConfig("[Xq Config]\nrunHwConfig=0\nwindowed=0\nhRes=100000\nvRes=-5\n");
    ASSERT_EQ(app.LoadConfig(), 0);
    EXPECT_EQ(std::make_tuple(app.deviceWidth, app.deviceHeight), std::make_tuple(640, 480));
}

TEST_F(GameAppTest, WithoutADocumentsFolderTheSavesFolderIsMade) {
    unsetenv("XDG_DOCUMENTS_DIR");
    ASSERT_EQ(app.LoadConfig(), 0);
    EXPECT_TRUE(PathExistsOnDisk(m_program + "Saves"));
}

// The sound page's keys: without the sound system no device is opened (the log says so), and
// 3D sound and music then count as off too.
TEST_F(GameAppTest, WithoutTheSoundSystemNoSoundDeviceIsOpened) {
    WriteStartup("");
    WriteConfig("[Xq Config]\nrunHwConfig=0\ndebug=1\ndigDriverEnabled=0\n");
    Start();
    EXPECT_FALSE(SndIsOpen());
    EXPECT_EQ(std::make_tuple(app.soundOn, app.sound3d, app.musicOn),
              std::make_tuple(false, false, false));
    Frame();
    const std::string log = ReadTextFile(DbgLogFile());
    EXPECT_NE(log.find("Sound: the sound system is off (digDriverEnabled=0): no sound device "
                       "opened\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("OpenAL current device"), std::string::npos) << "a device was opened";
}

TEST_F(GameAppTest, MusicAndThreeDSoundOffReachTheSoundLayer) {
    WriteStartup("");
    WriteConfig("[Xq Config]\nrunHwConfig=0\nenableMP3Music=0\ndig3dEnabled=0\n");
    Start();
    EXPECT_EQ(std::make_tuple(app.soundOn, app.sound3d, app.musicOn),
              std::make_tuple(true, false, false));
    EXPECT_TRUE(SndIsOpen());
    EXPECT_EQ(std::make_tuple(SndMusicOn(), SndPlacing()), std::make_tuple(0, 0));
    app.AppShutdown();
    SndSetMusicOn(1);
    SndSetPlacing(1);
}

// A documents folder named but missing is made; one that cannot be used (a file in its place, a
// read-only disk) leaves the settings in "Saves/", with the reason said once.
TEST_F(GameAppTest, AMissingDocumentsFolderIsMadeAndAnUnusableOneFallsBackWithItsReason) {
    const std::string missing = m_dir / "not/yet/Docs";
    setenv("XDG_DOCUMENTS_DIR", missing.c_str(), 1);
    ASSERT_EQ(app.LoadConfig(), 0);
    EXPECT_EQ(app.SettingsPath(), missing + "/Fairlark/Config.ini");
    EXPECT_TRUE(PathExistsOnDisk(missing + "/Fairlark"));

    LogCapture log;
    WriteTextFile(m_dir / "plain", "not a folder");
    setenv("XDG_DOCUMENTS_DIR", (m_dir / "plain").c_str(), 1);
    ASSERT_EQ(app.LoadConfig(), 0);
    EXPECT_EQ(app.SettingsPath(), m_program + "Saves/Config.ini");
    EXPECT_NE(log.Text().find("plain/Fairlark/ cannot be used (Not a directory); settings and "
                              "saves go in " +
                              m_program + "Saves/"),
              std::string::npos)
        << log.Text();

    const std::string readOnly = m_dir / "ro";
    ASSERT_TRUE(PathExistsOnDisk(readOnly) || mkdir(readOnly.c_str(), 0755) == 0);
    setenv("XDG_DOCUMENTS_DIR", readOnly.c_str(), 1);
    std::string why;
    const int result = RunWithFolderReadOnly(
        readOnly,
        [&] {
            if (app.LoadConfig() != 0) return 1;
            return app.SettingsPath() == m_program + "Saves/Config.ini" ? 0 : 2;
        },
        &why);
    if (result == READONLY_REFUSED)
        std::printf("read-only case skipped: %s\n", why.c_str());
    else
        EXPECT_EQ(result, 0) << "1 no start, 2 the settings in the read-only folder";
}
