// String, path, hash and colour functions of the model library.
#include "gi/giString.h"
#include "gi/giPath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

TEST(giString, FormatGrowsUpTo8192CharactersAndGivesUpBeyond) {
    for (size_t n : {1023u, 1024u, 1025u, 2047u, 3000u, 8192u}) {
        std::string text(n, 'x');
        // The text comes in as an argument, so every retry must format from a fresh argument list.
        EXPECT_EQ(giStrFormat("%s", text.c_str()), text) << n << " characters must come back whole";
    }
    EXPECT_EQ(giStrFormat("%s", std::string(8193, 'x').c_str()), "")
        << "the buffer would have to grow past 10240 bytes";
    EXPECT_EQ(giStrFormat("%s", std::string(20000, 'x').c_str()), "");
    EXPECT_EQ(giStrFormat("%d-%s-%.1f", 7, "ab", 1.5), "7-ab-1.5");
    EXPECT_EQ(giStrFormat(nullptr), "");
}

TEST(giString, TrimRemoveAndReplace) {
    EXPECT_EQ(giStrTrim("  a b  "), "a b");
    EXPECT_EQ(giStrTrim("\ta "), "\ta") << "only blanks are trimmed";
    EXPECT_EQ(giStrTrim("   "), "");
    EXPECT_EQ(giStrRemoveChars("Bip01\tSpine\t", "\t"), "Bip01Spine");
    EXPECT_EQ(giStrRemoveChars("abc", nullptr), "abc");
    EXPECT_EQ(giStrRemoveChars("abc", ""), "abc");

    std::string s = "a//b///c";
    giStrReplaceAll(s, "//", "/");
    EXPECT_EQ(s, "a/b//c") << "left to right, continuing after each replacement";
    s = "aaa";
    giStrReplaceAll(s, "a", "aa");
    EXPECT_EQ(s, "aaaaaa") << "a replacement that holds the text found must not be searched again";
    giStrReplaceAll(s, "", "x");
    EXPECT_EQ(s, "aaaaaa") << "an empty text to find would never end";
}

TEST(giString, HashIsDjb2OverSignedBytes) {
    EXPECT_EQ(giHashString(""), 5381u);
    EXPECT_EQ(giHashString("a"), 177670u);
    EXPECT_EQ(giHashString("\xE9"), 177550u) << "a byte >= 0x80 counts as a negative char";
    EXPECT_EQ(giHashString("Ab"), giHashString("BA")) << "the collision the managed files rely on";
    EXPECT_NE(giHashString("Adult.tga"), giHashString("adult.tga"));
}

TEST(giString, ColorToByteClampsAndRounds) {
    EXPECT_EQ(giColorToByte(0.5f, 1.2f, -0.1f, 1.0f), 0xFF80FF00u);
    EXPECT_EQ(giColorToByte(0.0f, 0.2f, 1.0f, 0.0f), 0x000033FFu);
    EXPECT_EQ(giColorToByte(NAN, 0, 0, 1.0f), 0xFF000000u) << "NaN must not reach the conversion";
}

TEST(giPath, FolderNormalizeAndSplit) {
    EXPECT_EQ(giPathFolder("file"), ".\\");
    EXPECT_EQ(giPathFolder("a/b\\c.gmf"), "a/b\\");
    EXPECT_EQ(giPathFolder("a\\"), "a\\");
    EXPECT_EQ(giPathNormalize("A\\B//c/D.GMF"), "a/b/c/d.gmf");
    EXPECT_EQ(giPathNormalize("A\\\\\\B"), "a/b") << "a run of three separators is one";
    EXPECT_EQ(giPathNormalize("\xC9T\xE9"), "\xC9t\xE9") << "bytes >= 0x80 pass unchanged";

    std::vector<std::string> parts{"keep"};
    giPathSplit("\\x\\\\y\\z.gmf\\", parts);
    EXPECT_EQ(parts, (std::vector<std::string>{"keep", "x", "y", "z.gmf"}))
        << "appends, skipping empty components";
}

TEST(giPath, PiecesOfAWindowsPath) {
    giPath p("X:\\anims\\walk.ext");
    EXPECT_EQ(p.Folder(), "X:\\anims\\");
    EXPECT_EQ(p.FileName(), "walk.ext");
    EXPECT_EQ(p.BaseName(), "walk");
    EXPECT_EQ(p.Extension(), "ext");
    EXPECT_EQ(p.Drive(), "X");
    EXPECT_EQ(p.InnermostFolder(), "anims");
    EXPECT_EQ(p.WithExtension("gmf"), "X:\\anims\\walk.gmf");

    giPath q("anims/run.tar.gz");
    EXPECT_EQ(q.Folder(), "anims\\") << "forward slashes are taken as backslashes";
    EXPECT_EQ(q.BaseName(), "run.tar");
    EXPECT_EQ(q.Extension(), "gz");
    EXPECT_EQ(q.Drive(), "");
    EXPECT_EQ(q.InnermostFolder(), "") << "one separator names no innermost folder";

    giPath bare("walk");
    EXPECT_EQ(bare.Folder(), "");
    EXPECT_EQ(bare.Extension(), "");
    giPath trailing("a\\b\\");
    EXPECT_EQ(trailing.FileName(), "");
    EXPECT_EQ(trailing.InnermostFolder(), "b");
    EXPECT_EQ(giPath(":x").Drive(), "") << "a colon first names no drive";
}

TEST(giPath, MakeRelative) {
    EXPECT_EQ(giPathMakeRelative("C:\\data\\models", "C:\\data\\anims\\walk.gmf"),
              "..\\anims\\walk.gmf");
    EXPECT_EQ(giPathMakeRelative("C:\\data", "C:\\data\\walk.gmf"), "walk.gmf");
    EXPECT_EQ(giPathMakeRelative("data\\x", "data\\y\\z.gmf"), "..\\y\\z.gmf");
    EXPECT_EQ(giPathMakeRelative("C:\\data", "D:\\walk.gmf"), "D:\\walk.gmf")
        << "no relative path reaches another drive";
}
