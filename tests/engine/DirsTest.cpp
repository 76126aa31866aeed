// Folder creation along paths and tree deletion that never leaves the tree.
#include "engine/Dirs.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

TEST(Dirs, CreatePathMakesEveryLevel) {
    TempDir dir;
    std::string path = dir.Path() + "a\\b\\c";
    EXPECT_EQ(DirCreatePath(path.c_str()), 1);
    EXPECT_TRUE(PathExistsOnDisk(dir / "a"));
    EXPECT_TRUE(PathExistsOnDisk(dir / "a/b"));
    EXPECT_TRUE(PathExistsOnDisk(dir / "a/b/c"));
    EXPECT_EQ(DirCreatePath(path.c_str()), 1) << "existing folders are fine";
    EXPECT_EQ(DirCreatePath((dir.Path() + "x//y\\\\z\\").c_str()), 1);
    EXPECT_TRUE(PathExistsOnDisk(dir / "x/y/z"));
}

TEST(Dirs, CreateForFileMakesOnlyTheFolders) {
    TempDir dir;
    std::string file = dir.Path() + "Saves\\Career\\One.car";
    EXPECT_EQ(DirCreateForFile(file.c_str()), 1);
    EXPECT_TRUE(PathExistsOnDisk(dir / "Saves/Career"));
    EXPECT_FALSE(PathExistsOnDisk(dir / "Saves/Career/One.car"));
}

TEST(Dirs, CreateAndRemoveAnswer) {
    TempDir dir;
    std::string p = dir / "new";
    EXPECT_EQ(DirCreate(p.c_str()), 1);
    EXPECT_EQ(DirCreate(p.c_str()), 0);
    WriteTextFile(dir / "file", "x");
    EXPECT_EQ(DirCreate((dir / "file").c_str()), -1) << "a file is in the way";
    EXPECT_EQ(DirRemove((dir / "NEW").c_str()), 1) << "names match in any case";
    EXPECT_EQ(DirRemove(p.c_str()), -1);
}

TEST(Dirs, DeleteTreeEmptiesTheFolderAndKeepsIt) {
    TempDir dir;
    WriteTextFile(dir / "tree/a.txt", "a");
    WriteTextFile(dir / "tree/sub/b.txt", "b");
    WriteTextFile(dir / "tree/sub/deeper/c.txt", "c");
    DirDeleteTree((dir / "tree").c_str());
    EXPECT_TRUE(PathExistsOnDisk(dir / "tree")) << "the folder itself stays";
    EXPECT_FALSE(PathExistsOnDisk(dir / "tree/a.txt"));
    EXPECT_FALSE(PathExistsOnDisk(dir / "tree/sub"));
    DirDeleteTree((dir / "missing").c_str()); // nothing to do, nothing breaks
}

TEST(Dirs, DeleteTreeNeverFollowsLinks) {
    TempDir dir;
    WriteTextFile(dir / "outside/keep.txt", "precious");
    WriteTextFile(dir / "tree/own.txt", "x");
    ASSERT_EQ(symlink((dir / "outside").c_str(), (dir / "tree/link").c_str()), 0);
    ASSERT_EQ(symlink((dir / "tree").c_str(), (dir / "tree/loop").c_str()), 0);
    DirDeleteTree((dir / "tree").c_str());
    EXPECT_TRUE(PathExistsOnDisk(dir / "outside/keep.txt"))
        << "deleting a tree deleted a file outside it through a link";
    EXPECT_FALSE(PathExistsOnDisk(dir / "tree/link"));
    EXPECT_FALSE(PathExistsOnDisk(dir / "tree/loop"));

    // A link named as the tree itself is not followed either.
    ASSERT_EQ(symlink((dir / "outside").c_str(), (dir / "alias").c_str()), 0);
    DirDeleteTree((dir / "alias").c_str());
    EXPECT_TRUE(PathExistsOnDisk(dir / "outside/keep.txt"));
}

TEST(Dirs, IsInsideAnswersOnlyForRealFoldersStrictlyInside) {
    TempDir dir;
    WriteTextFile(dir / "saves/Ann/x.car", "");
    WriteTextFile(dir / "outside/x.txt", "");
    WriteTextFile(dir / "savesX/x.txt", ""); // shares the folder's name as a prefix
    ASSERT_EQ(symlink((dir / "outside").c_str(), (dir / "saves/Link").c_str()), 0);
    const std::string saves = dir / "saves/";
    EXPECT_EQ(DirIsInside((saves + "Ann").c_str(), saves.c_str()), 1);
    EXPECT_EQ(DirIsInside((saves + "ann").c_str(), saves.c_str()), 1) << "found without case";
    EXPECT_EQ(DirIsInside(saves.c_str(), saves.c_str()), 0) << "the folder itself";
    EXPECT_EQ(DirIsInside((saves + "Ann/..").c_str(), saves.c_str()), 0);
    EXPECT_EQ(DirIsInside((saves + "../outside").c_str(), saves.c_str()), 0);
    EXPECT_EQ(DirIsInside((saves + "Link").c_str(), saves.c_str()), 0) << "a link out";
    EXPECT_EQ(DirIsInside((saves + "Nobody").c_str(), saves.c_str()), 0);
    EXPECT_EQ(DirIsInside((dir / "savesX").c_str(), (dir / "saves").c_str()), 0);
    EXPECT_EQ(DirIsInside(nullptr, saves.c_str()), 0);
}
