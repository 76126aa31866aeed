// The configuration dialog's rules without widgets: the settings file, the mode list, the names,
// the depth choice and the information text; and the dialog's entry with bad settings.
#include "engine/IniFile.h"
#include "platform/d3d8/D3d8Types.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/HwConfigFixture.h"
#include "tools/HwConfig.h"
#include "tools/HwConfigData.h"
#include "tools/HwConfigModes.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(HwConfigSettings, AFreshFileIsWrittenWholeWithSwitchesTheGameReadsAsNumbers) {
    TempDir dir;
    const std::string path = dir / "Config.ini";
    WriteTextFile(path, "[Xq Config]\nwinWidth=800\nwinHeight=600\nPrefs=7\n");
    HwConfigData d;
    HwConfigLoad(&d, path.c_str());
    EXPECT_EQ(d.hRes, 1024);
    EXPECT_EQ(d.vRes, 768);
    EXPECT_EQ(d.format, 22);
    EXPECT_EQ(d.windowed, 0) << "full screen by default";
    EXPECT_EQ(d.digDriverEnabled, 1);
    EXPECT_EQ(d.defaultDetail, 1) << "medium detail";
    ASSERT_TRUE(HwConfigSave(&d, path.c_str()));
    const std::string text = ReadTextFile(path);
    for (const char* line : {"format=22", "windowed=0", "runHwConfig=1", "hRes=1024", "vRes=768",
                             "digDriverEnabled=1", "defaultDetail=1", "winWidth=800", "Prefs=7"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " missing from:\n" << text;
    EXPECT_EQ(text.find("TRUE"), std::string::npos) << "the game reads TRUE as 0";
    EXPECT_EQ(text.find("FALSE"), std::string::npos);
    EXPECT_EQ(text.find("d3dFormat"), std::string::npos) << "the game reads \"format\"";
}

TEST(HwConfigSettings, SwitchesReadAnyBoolTextAndDetailOverrideIsClearedOnLoad) {
    TempDir dir;
    const std::string path = dir / "Config.ini";
    WriteTextFile(path, "[Xq Config]\nwindowed=TRUE\ndebug=1\nlockVsync=FALSE\n"
                        "detailOverride=1\nhRes=-5\nvRes=abc\nd3dFormat=23\n");
    HwConfigData d;
    HwConfigLoad(&d, path.c_str());
    EXPECT_EQ(d.windowed, 1) << "another writer's TRUE is on";
    EXPECT_EQ(d.debug, 1);
    EXPECT_EQ(d.lockVsync, 0);
    EXPECT_EQ(d.detailOverride, 0) << "true only after a pick in this run";
    EXPECT_EQ(d.hRes, -5) << "read as the ini layer reads integers";
    EXPECT_EQ(d.format, 22) << "an old d3dFormat line is not the format";
    d.windowed = 1;
    ASSERT_TRUE(HwConfigSave(&d, path.c_str()));
    const std::string text = ReadTextFile(path);
    EXPECT_NE(text.find("windowed=1"), std::string::npos) << text;
    EXPECT_NE(text.find("d3dFormat=23"), std::string::npos) << "the old line is left alone";
}

TEST(HwConfigSettings, AFolderInPlaceOfTheFileIsReportedNotWritten) {
    TempDir dir;
    const std::string path = dir / "Config.ini";
    // Made in-process: a shell forked from a sanitized test can fail on a busy machine.
    ASSERT_TRUE(std::filesystem::create_directories(path));
    HwConfigData d;
    HwConfigDefaults(&d);
    EXPECT_FALSE(HwConfigSave(&d, path.c_str())) << "a failed save reported success";
}

TEST(HwConfigModes, RatesFoldTheListStopsAt120AndTheSelectionFallsBackToTheFirstLine) {
    const std::vector<HwConfigMode> two =
        HwConfigFoldModes({Mode(800, 600, 60), Mode(800, 600, 75), Mode(1024, 768, 60)});
    ASSERT_EQ(two.size(), 2u) << "refresh rates fold together";
    EXPECT_EQ(HwConfigModeLine(two[0]), "800 x 600  32bit");
    EXPECT_EQ(HwConfigModeLine(two[1]), "1024 x 768  32bit");
    EXPECT_EQ(HwConfigSelectMode(two, 1024, 768, 22), 1);
    EXPECT_EQ(HwConfigSelectMode(two, 640, 480, 22), 0) << "a missing mode selects line 0";
    EXPECT_EQ(HwConfigSelectMode(two, 1024, 768, 23), 0) << "the format is part of the mode";
    EXPECT_EQ(HwConfigSelectMode({}, 1024, 768, 22), -1);

    std::vector<D3DDISPLAYMODE> many;
    for (UINT i = 0; i < 130; ++i)
        many.push_back(Mode(640 + i, 480, 60));
    EXPECT_EQ(HwConfigFoldModes(many).size(), 120u) << "the list holds at most 120 modes";

    HwConfigData d;
    HwConfigDefaults(&d);
    d.hRes = 1600, d.vRes = 1200, d.format = 23;
    HwConfigApplyMode(&d, {}, -1);
    EXPECT_EQ(std::make_tuple(d.hRes, d.vRes, d.format), std::make_tuple(1600, 1200, 23))
        << "an empty list keeps the loaded mode";
    HwConfigApplyMode(&d, two, 0);
    EXPECT_EQ(std::make_tuple(d.hRes, d.vRes, d.format), std::make_tuple(800, 600, 22));
}

TEST(HwConfigModes, NamesDepthOrderAndInformationText) {
    EXPECT_STREQ(HwConfigFormatName(22), "32bit");
    EXPECT_STREQ(HwConfigFormatName(73), "D15D1");
    EXPECT_STREQ(HwConfigFormatName(79), "S24X4S4");
    EXPECT_STREQ(HwConfigFormatName(99), "UNKNOWN");
    EXPECT_STREQ(HwConfigFormatName(999), "UNKNOWN");

    // D32, D24S8, D24X4S4, D24X8, D15S1, D16: each wins when those before it are refused.
    const int order[] = {71, 75, 79, 77, 73, 80};
    for (int i = 0; i < 6; ++i) {
        std::set<int> accepted(order + i, order + 6);
        EXPECT_EQ(HwConfigBestDepth([&](int f) { return accepted.count(f) != 0; }), order[i]);
    }
    EXPECT_EQ(HwConfigBestDepth([](int) { return false; }), -1);

    HwConfigAdapter a = TestAdapter({});
    EXPECT_EQ(HwConfigInfoText(&a.caps, 71),
              "- Hardware T&L:Yes\n- Texture:16384x16384\n- Blending "
              "Stages:8\n- Simul Textures:8\n- Best Depth:D32");
    a.caps.DevCaps = 0;
    EXPECT_EQ(HwConfigInfoText(&a.caps, 80).rfind("- *** WARNING *** No hardware T&L!\n", 0), 0u);
    EXPECT_EQ(HwConfigInfoText(nullptr, -1).rfind("- *** WARNING ***\nNo HAL device found!", 0),
              0u);
}

TEST(HwConfigEntry, TheSwitchOffLeavesTheFileAloneAndBadBlocksGoOnWithoutADialog) {
    HwConfigSetDriver(HwConfigRun);
    TempDir dir;
    const std::string path = dir / "Config.ini";
    const std::string text = "[Xq Config]\nrunHwConfig=0\nwindowed=TRUE\n";
    WriteTextFile(path, text);
    HwConfigSettings s{nullptr, path.c_str(), "Xq App", nullptr, nullptr};
    EXPECT_EQ(HwConfigShow(&s), 1);
    EXPECT_EQ(ReadTextFile(path), text) << "switched off, nothing is written";

    EXPECT_EQ(HwConfigShow(nullptr), 1) << "a null block goes on";
    HwConfigSettings empty{nullptr, "", "Xq App", nullptr, nullptr};
    EXPECT_EQ(HwConfigShow(&empty), 1);
    HwConfigSetDriver(nullptr);
    EXPECT_STREQ(HwConfigCaption(), "Xq Config");
}

// With no display to show it on (the tests have none), the dialog says what the player must
// fix, answers 0 and still writes the settings; it never waits for a window nobody sees.
TEST(HwConfigEntry, WithoutAWindowForTheDialogItStopsTheStartUpWithTheDirectXMessage) {
    TempDir dir;
    const std::string path = dir / "Config.ini";
    HwConfigSettings s{nullptr, path.c_str(), "Xq App", nullptr, nullptr};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(HwConfigRun(&s), 0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("This game requires DirectX 8.  Please install DirectX 8 and try again."),
              std::string::npos)
        << err;
    EXPECT_NE(ReadTextFile(path).find("format=22"), std::string::npos);
}
