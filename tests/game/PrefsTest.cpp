// Preferences in the per-user "config.ini": defaults, a round trip, and the engine's own section
// left byte for byte.
#include "game/Prefs.h"
#include "engine/IniFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

TEST(Prefs, DefaultsWithoutAFile) {
    TempDir dir;
    Prefs prefs;
    prefs.Load(dir.Path().c_str());
    EXPECT_FLOAT_EQ(prefs.patronVisDist, 0.5f);
    EXPECT_FLOAT_EQ(prefs.edgeScrollSpeed, 0.5f);
    EXPECT_FLOAT_EQ(prefs.edgeScrollRegion, 0.5f);
    EXPECT_FLOAT_EQ(prefs.volMaster, 1.0f);
    EXPECT_FLOAT_EQ(prefs.volMusic, 0.5f);
    EXPECT_FLOAT_EQ(prefs.volSfx, 0.5f);

    // A folder where the file should be: nothing read, nothing written, no crash.
    WriteTextFile(dir / "config.ini/inside.txt", "x");
    prefs.volMusic = 0.25f;
    prefs.Load(dir.Path().c_str());
    EXPECT_FLOAT_EQ(prefs.volMusic, 0.5f);
    prefs.volMusic = 0.25f;
    prefs.Save(dir.Path().c_str());
    EXPECT_EQ(ReadTextFile(dir / "config.ini/inside.txt"), "x");
    IniClose();
}

TEST(Prefs, SaveKeepsTheEngineSectionAndLoadsBack) {
    TempDir dir;
    const std::string engine = "[Xq Config]\r\nwinWidth=1024\r\n; keep me\r\ndebug=1\r\n\r\n";
    WriteTextFile(dir / "Config.ini", engine);

    Prefs prefs;
    prefs.volMaster = 0.75f;
    prefs.patronVisDist = 0.125f;
    // No closing separator: the folder is joined to the file name either way.
    std::string folder = dir.Path().substr(0, dir.Path().size() - 1);
    EXPECT_TRUE(prefs.Save(folder.c_str()));
    EXPECT_FALSE(PathExistsOnDisk(dir / "config.ini"))
        << "the lookup must find Config.ini, not make a second file";
    std::string text = ReadTextFile(dir / "Config.ini");
    EXPECT_EQ(text.substr(0, engine.size()), engine) << "the engine's section was disturbed";
    EXPECT_NE(text.find("[Prefs]", engine.size()), std::string::npos);
    EXPECT_NE(text.find("volMaster=0.75"), std::string::npos);

    prefs.volMaster = 0.5f; // saved again: updated in place, not added twice
    prefs.Save(folder.c_str());
    text = ReadTextFile(dir / "Config.ini");
    EXPECT_EQ(text.substr(0, engine.size()), engine);
    EXPECT_EQ(text.find("volMaster="), text.rfind("volMaster="));

    Prefs loaded;
    loaded.Load(dir.Path().c_str());
    EXPECT_FLOAT_EQ(loaded.volMaster, 0.5f);
    EXPECT_FLOAT_EQ(loaded.patronVisDist, 0.125f);
    IniClose();
}

// A save folder that is missing (or cannot be written) must not be reported as saved: the
// player would believe the settings kept.
TEST(Prefs, ASaveThatCannotBeWrittenAnswersFalse) {
    TempDir dir;
    Prefs prefs;
    EXPECT_FALSE(prefs.Save((dir / "Missing/Folder/").c_str()));
    EXPECT_FALSE(PathExistsOnDisk(dir / "Missing"));
    EXPECT_TRUE(prefs.Save(dir.Path().c_str()));
}

// Hand-edited or damaged values: out of range is brought into 0..1, and anything that is no
// number (a NaN or infinity included) takes the default, so no gain or distance built from them
// is ever negative or non-finite.
TEST(Prefs, DamagedValuesComeBackInRangeOrAsTheDefault) {
    TempDir dir;
    WriteTextFile(dir / "config.ini",
                  "[Prefs]\nvolMaster=-1\nvolMusic=2\npatronVisDist=abc\nedgeScrollSpeed=nan\n"
                  "edgeScrollRegion=1e400\nvolSfx=0.25\n");
    Prefs prefs;
    prefs.Load(dir.Path().c_str());
    EXPECT_EQ(prefs.volMaster, 0.0f);
    EXPECT_EQ(prefs.volMusic, 1.0f);
    EXPECT_EQ(prefs.patronVisDist, 0.5f) << "\"abc\" would have read as 0";
    EXPECT_EQ(prefs.edgeScrollSpeed, 0.5f);
    EXPECT_EQ(prefs.edgeScrollRegion, 0.5f);
    EXPECT_EQ(prefs.volSfx, 0.25f) << "a good value is kept";

    // The edge-scroll zone has no upper end.
    WriteTextFile(dir / "config.ini", "[Prefs]\nedgeScrollRegion=2\n");
    Prefs zone;
    zone.Load(dir.Path().c_str());
    EXPECT_EQ(zone.edgeScrollRegion, 2.0f);
    IniClose();
}
