// Path pieces with either separator, and bounded destinations.
#include "engine/Paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
std::string SetExt(const char* path, const char* ext) {
    char buf[260];
    std::strcpy(buf, path);
    EXPECT_EQ(PathSetExt(buf, sizeof buf, ext), 1);
    return buf;
}
} // namespace

TEST(Paths, SetExtReplacesOnlyAnExtensionOfTheFileName) {
    EXPECT_EQ(SetExt("Data\\Menu.x\\file", "lua"), "Data\\Menu.x\\file.lua")
        << "the dot of a folder is not an extension";
    EXPECT_EQ(SetExt("a.dds", "..tga"), "a.tga");
    EXPECT_EQ(SetExt("a.b/c", "dds"), "a.b/c.dds") << "\"/\" stops the scan like \"\\\"";
    EXPECT_EQ(SetExt("Fonts\\Courier.abc", "dds"), "Fonts\\Courier.dds");
    EXPECT_EQ(SetExt("a.tar.gz", "zip"), "a.tar.zip");
    EXPECT_EQ(SetExt(".profile", "lua"), ".lua") << "with an extension, a leading dot is one too";
}

TEST(Paths, SetExtWithoutExtensionRemovesTheOldOne) {
    EXPECT_EQ(SetExt("Data/Menu.lua", nullptr), "Data/Menu");
    EXPECT_EQ(SetExt(".profile", nullptr), ".profile") << "the first character is never the dot";
    EXPECT_EQ(SetExt("noext", nullptr), "noext");
    EXPECT_EQ(SetExt("dir.d\\noext", nullptr), "dir.d\\noext");
}

TEST(Paths, SetExtRefusesAResultThatDoesNotFit) {
    char buf[8] = "abc.d";
    EXPECT_EQ(PathSetExt(buf, sizeof buf, "longer"), -1);
    EXPECT_STREQ(buf, "abc.d") << "a refused change must leave the path as it was";
    EXPECT_EQ(PathSetExt(buf, sizeof buf, "tga"), 1);
    EXPECT_STREQ(buf, "abc.tga");
}

TEST(Paths, TitleDirAndStripWithMixedSeparators) {
    char out[260];
    ASSERT_EQ(PathGetFileTitle("Data\\Menu/Main.lua", out, sizeof out), 1);
    EXPECT_STREQ(out, "Main");
    ASSERT_EQ(PathGetFileTitle("Data/Menu.x\\file", out, sizeof out), 1);
    EXPECT_STREQ(out, "file");
    ASSERT_EQ(PathGetDir("Data/Menu\\Main.lua", out, sizeof out), 1);
    EXPECT_STREQ(out, "Data/Menu\\");
    ASSERT_EQ(PathGetDir("Main.lua", out, sizeof out), 1);
    EXPECT_STREQ(out, "");
    ASSERT_EQ(PathStripExt("Data\\a.b\\c.tga", out, sizeof out), 1);
    EXPECT_STREQ(out, "Data\\a.b\\c");
    ASSERT_EQ(PathGetFileTitle("Data\\\\Fonts\\\\", out, sizeof out), 1);
    EXPECT_STREQ(out, "") << "a trailing separator leaves no file name";
    ASSERT_EQ(PathGetDir("..\\up/x.ini", out, sizeof out), 1);
    EXPECT_STREQ(out, "..\\up/");
}

TEST(Paths, LongPathIntoBoundedDestinationIsRefusedCleanly) {
    std::string longPath(5000, 'a');
    longPath += "/file.txt";
    // AddressSanitizer catches any write past the 64 bytes.
    char out[64];
    std::memset(out, 'Z', sizeof out);
    EXPECT_EQ(PathGetDir(longPath.c_str(), out, sizeof out), -1);
    EXPECT_STREQ(out, "") << "a cut path would name another file";
    EXPECT_EQ(PathStripExt(longPath.c_str(), out, sizeof out), -1);
    EXPECT_EQ(PathGetFileTitle(longPath.c_str(), out, sizeof out), 1) << "the title itself fits";
    EXPECT_STREQ(out, "file");
    EXPECT_EQ(PathGetDir("x/y", out, 0), -1);
}

TEST(Paths, StringForms) {
    EXPECT_EQ(PathFileTitle("a\\b/c.d.e"), "c.d");
    EXPECT_EQ(PathDir("a\\b/c.d.e"), "a\\b/");
    EXPECT_EQ(PathWithExt("Sounds\\Beep", "ogg"), "Sounds\\Beep.ogg");
}
