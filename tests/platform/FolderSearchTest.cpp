// The folder search: the wildcard matcher and what a listing keeps.
#include "platform/FolderSearch.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

TEST(FolderSearch, TheMatcherIgnoresCaseAndBacktracks) {
    EXPECT_TRUE(PlatWildcardMatch("*.sbx", "a.sbx"));
    EXPECT_TRUE(PlatWildcardMatch("*.sbx", "B.SBX"));
    EXPECT_TRUE(PlatWildcardMatch("*.sbx", ".sbx"));
    EXPECT_FALSE(PlatWildcardMatch("*.sbx", "c.sbx.txt"));
    EXPECT_TRUE(PlatWildcardMatch("*.sbx", "c.sbx.sbx"));
    EXPECT_TRUE(PlatWildcardMatch("Layout03_*.lay", "layout03_Fair.LAY"));
    EXPECT_FALSE(PlatWildcardMatch("Layout03_*.lay", "Layout031_Fair.lay"));
    EXPECT_FALSE(PlatWildcardMatch("Layout10_*.lay", "Layout100_Big.lay"));
    EXPECT_TRUE(PlatWildcardMatch("Layout100_*.lay", "Layout100_Big.lay"));
    EXPECT_TRUE(PlatWildcardMatch("a?c", "abc"));
    EXPECT_FALSE(PlatWildcardMatch("a?c", "ac"));
    EXPECT_TRUE(PlatWildcardMatch("*", ""));
    EXPECT_FALSE(PlatWildcardMatch("", "a"));
    EXPECT_FALSE(PlatWildcardMatch(nullptr, "a"));
    // A long run of stars against a long name stays linear enough to finish.
    EXPECT_FALSE(PlatWildcardMatch("*a*a*a*a*a*a*b", std::string(4000, 'a').c_str()));
}

TEST(FolderSearch, FoldersAndFilesAreListedSortedWithoutLinks) {
    TempDir dir;
    const std::string root = dir.Path();
    mkdir((root + "bob").c_str(), 0755);
    mkdir((root + "Ann").c_str(), 0755);
    mkdir((root + "Old.v2").c_str(), 0755);
    mkdir((root + "elsewhere").c_str(), 0755);
    ASSERT_EQ(symlink((root + "elsewhere").c_str(), (root + "link").c_str()), 0);
    ASSERT_EQ(symlink((root + "a.sbx").c_str(), (root + "z.sbx").c_str()), 0);
    for (const char* f : {"a.sbx", "B.SBX", "c.txt", "x.car"})
        std::ofstream(root + f) << "x";
    mkdir((root + "d.sbx").c_str(), 0755);

    std::vector<std::string> names;
    bool cut = true;
    EXPECT_EQ(PlatFindInFolder(root.c_str(), "*", PLAT_FIND_FOLDERS, 500, &names, &cut), 5u);
    EXPECT_EQ(names, (std::vector<std::string>{"Ann", "bob", "d.sbx", "elsewhere", "Old.v2"}));
    EXPECT_FALSE(cut);
    EXPECT_EQ(PlatFindInFolder(root.c_str(), "*.sbx", PLAT_FIND_FILES, 500, &names, &cut), 2u);
    EXPECT_EQ(names, (std::vector<std::string>{"a.sbx", "B.SBX"}));
    // The limit stops the search.
    EXPECT_EQ(PlatFindInFolder(root.c_str(), "*", PLAT_FIND_FILES, 2, &names, &cut), 2u);
    EXPECT_TRUE(cut);
    // A name the caller refuses takes no place under the limit.
    auto noTxt = [](const std::string& name) { return name != "c.txt"; };
    EXPECT_EQ(PlatFindInFolder(root.c_str(), "*", PLAT_FIND_FILES, 3, &names, &cut, noTxt), 3u);
    EXPECT_EQ(names, (std::vector<std::string>{"a.sbx", "B.SBX", "x.car"}));
    EXPECT_FALSE(cut);
    // A missing folder lists nothing.
    EXPECT_EQ(PlatFindInFolder((root + "none").c_str(), "*", PLAT_FIND_FILES, 500, &names, &cut),
              0u);
    EXPECT_TRUE(names.empty());
}
