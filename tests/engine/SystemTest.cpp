// Process facts and system services.
#include "engine/System.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

TEST(System, ProgramFolderIsTheExecutablesOwn) {
    SysInit(nullptr, nullptr);
    std::string folder = SysProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/') << "a relative folder breaks when started from elsewhere";
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(PathExistsOnDisk(folder + "test_engine"));
    char out[4096];
    ASSERT_EQ(SysProgramPath(out, sizeof out, "Data/"), 1);
    EXPECT_EQ(std::string(out), folder + "Data/");
    char tiny[4];
    EXPECT_EQ(SysProgramPath(tiny, sizeof tiny, "Data/"), -1);
    EXPECT_STREQ(tiny, "");
    EXPECT_NE(std::strstr(SysCommandLine(), "test_engine"), nullptr);
}

// Data names files relative to the program, since the program never changes its folder.
TEST(System, DataFileNamesAreRelativeToTheProgramUnlessAbsolute) {
    SysInit(nullptr, nullptr);
    char out[4096];
    ASSERT_EQ(SysDataFilePath(out, sizeof out, "Data\\Venues\\Ground"), 1);
    EXPECT_EQ(std::string(out), std::string(SysProgramFolder()) + "Data\\Venues\\Ground");
    ASSERT_EQ(SysDataFilePath(out, sizeof out, "/srv/maps/Ground"), 1);
    EXPECT_STREQ(out, "/srv/maps/Ground");
    ASSERT_EQ(SysDataFilePath(out, sizeof out, "\\maps\\Ground"), 1);
    EXPECT_STREQ(out, "\\maps\\Ground");
    char tiny[4];
    EXPECT_EQ(SysDataFilePath(tiny, sizeof tiny, "/long/name"), -1);
    EXPECT_STREQ(tiny, "");
    EXPECT_EQ(SysDataFilePath(out, sizeof out, nullptr), -1);
}

TEST(System, MessageBoxHeadlessGoesToStderr) {
    ASSERT_STREQ(std::getenv("FAIRLARK_HEADLESS"), "1") << "tests run headless";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(SysMessageBox("Hardware T&L Required", "Fairlark"), 1);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Fairlark"), std::string::npos);
    EXPECT_NE(err.find("Hardware T&L Required"), std::string::npos);
}

TEST(System, MessageBoxWithoutADisplayGoesToStderr) {
    std::string headless = std::getenv("FAIRLARK_HEADLESS") ? std::getenv("FAIRLARK_HEADLESS") : "";
    unsetenv("FAIRLARK_HEADLESS");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(SysMessageBox("no display here", "Caption"), 1);
    std::string err = ::testing::internal::GetCapturedStderr();
    setenv("FAIRLARK_HEADLESS", headless.c_str(), 1);
    EXPECT_NE(err.find("no display here"), std::string::npos);
    int w = -1, h = -1;
    SysDesktopSize(&w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST(System, RunProcessWaitStartsAndWaits) {
    TempDir dir;
    std::string marker = dir / "ran";
    std::string cmd = "touch \"" + marker + "\"";
    EXPECT_EQ(RunProcessWait(cmd.c_str(), 1), 0);
    EXPECT_TRUE(PathExistsOnDisk(marker)) << "waiting returned before the process ended";
    EXPECT_EQ(RunProcessWait("/no/such/program --flag", 1), -1);
    EXPECT_EQ(RunProcessWait("", 1), -1);
    EXPECT_EQ(RunProcessWait(nullptr, 0), -1);
}
