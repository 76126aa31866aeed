// Windows-style names on a case-sensitive disk.
#include "platform/PathResolve.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

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
