// Windows-style names on a case-sensitive disk.
#include "platform/PathResolve.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

TEST(PathResolve, NormalizeTurnsBackslashesAndCollapsesRepeats) {
    EXPECT_EQ(PlatPathNormalize("Data\\\\Fonts//Courier.abc"), "Data/Fonts/Courier.abc");
    EXPECT_EQ(PlatPathNormalize("\\\\x"), "/x");
    EXPECT_EQ(PlatPathNormalize(""), "");
    EXPECT_EQ(PlatPathNormalize(nullptr), "");
}

TEST(PathResolve, FoldersAndFilesMatchInAnyCase) {
    TempDir dir;
    WriteTextFile(dir / "Menu/HUD/Hud.lua", "x");
    std::string out;
    EXPECT_EQ(PlatPathResolve((dir.Path() + "menu\\hud\\HUD.LUA").c_str(), &out), 1);
    EXPECT_EQ(out, dir / "Menu/HUD/Hud.lua");
    EXPECT_EQ(PlatPathResolve((dir.Path() + "MENU/Hud/").c_str(), &out), 1);
    EXPECT_EQ(out, dir / "Menu/HUD/");
    EXPECT_EQ(PlatPathResolve((dir.Path() + "menu/hud/../HUD/hud.lua").c_str(), &out), 1)
        << "\"..\" components pass through";
}

TEST(PathResolve, MissKeepsTheFoldersAsOnDisk) {
    TempDir dir;
    WriteTextFile(dir / "Saves/x", "x");
    std::string out;
    EXPECT_EQ(PlatPathResolve((dir.Path() + "SAVES/New Folder/New.car").c_str(), &out), 0);
    EXPECT_EQ(out, dir / "Saves/New Folder/New.car")
        << "a new file must land in the existing folder, not a second spelling of it";
}

TEST(PathResolve, InvalidateForgetsAListing) {
    TempDir dir;
    WriteTextFile(dir / "A.txt", "a");
    std::string out;
    ASSERT_EQ(PlatPathResolve((dir / "a.TXT").c_str(), &out), 1);
    std::remove((dir / "A.txt").c_str());
    PlatPathCacheInvalidate(dir / "A.txt");
    EXPECT_EQ(PlatPathResolve((dir / "a.TXT").c_str(), &out), 0);
}

TEST(PathResolve, OfTwoSpellingsOnDiskTheSameOneIsAlwaysTaken) {
    TempDir dir;
    WriteTextFile(dir / "save1.car", "lower");
    WriteTextFile(dir / "Save1.car", "upper");
    std::string out;
    ASSERT_EQ(PlatPathResolve((dir / "SAVE1.CAR").c_str(), &out), 1);
    EXPECT_EQ(out, dir / "Save1.car") << "the first spelling in sorted order";
    PlatPathCacheClear();
    ASSERT_EQ(PlatPathResolve((dir / "sAVE1.car").c_str(), &out), 1);
    EXPECT_EQ(out, dir / "Save1.car") << "a fresh listing must not change the answer";
    ASSERT_EQ(PlatPathResolve((dir / "save1.car").c_str(), &out), 1);
    EXPECT_EQ(out, dir / "save1.car") << "an exact spelling is its own file";
}

TEST(PathResolve, AFileMadeAfterTheFolderWasListedIsFound) {
    TempDir dir;
    WriteTextFile(dir / "Old.txt", "o");
    std::string out;
    ASSERT_EQ(PlatPathResolve((dir / "OLD.TXT").c_str(), &out), 1); // lists the folder
    WriteTextFile(dir / "New.txt", "n");                            // behind the cache's back
    EXPECT_EQ(PlatPathResolve((dir / "NEW.TXT").c_str(), &out), 1) << "a miss rescans once";
    EXPECT_EQ(out, dir / "New.txt");
}

// Another program renames the file between two lookups, keeping the name but not its case.
TEST(PathResolve, ACachedHitThatIsNoLongerOnDiskIsLookedUpAgain) {
    TempDir dir;
    WriteTextFile(dir / "Save1.car", "s");
    std::string out;
    ASSERT_EQ(PlatPathResolve((dir / "SAVE1.CAR").c_str(), &out), 1);
    ASSERT_EQ(out, dir / "Save1.car");
    ASSERT_EQ(std::rename((dir / "Save1.car").c_str(), (dir / "save1.car").c_str()), 0);
    EXPECT_EQ(PlatPathResolve((dir / "SAVE1.CAR").c_str(), &out), 1);
    EXPECT_EQ(out, dir / "save1.car") << "the stale listing answered a file that is gone";
    ASSERT_EQ(std::remove((dir / "save1.car").c_str()), 0);
    EXPECT_EQ(PlatPathResolve((dir / "SAVE1.CAR").c_str(), &out), 0) << "and a removed one";
}
