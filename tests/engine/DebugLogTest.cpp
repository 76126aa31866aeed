// The run log: off by default, fresh per session, lines written as formatted.
#include "engine/DebugLog.h"
#include "engine/System.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {
// Each test starts from the module's defaults: logging off.
class DebugLog : public ::testing::Test {
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        DbgSetLevelMask(0);
        DbgSetOutputMask(0);
        DbgSetLogFile("Debug.txt");
    }
    void LogTo(const std::string& path) {
        DbgSetLogFile(path.c_str());
        DbgSetLevelMask(0xFFFFFFFFu);
        DbgSetOutputMask(DBG_OUT_FILE);
    }
};
} // namespace

TEST_F(DebugLog, OffByDefaultFormatsNothing) {
    int64_t before = DbgFormattedCount();
    DbgPrintf(DBG_GENERAL, "never %s\n", "shown");
    DbgPrintf(0xFFFFFFFFu, "never %d\n", 1);
    EXPECT_EQ(DbgFormattedCount(), before) << "a masked-off line must cost no formatting";
}

TEST_F(DebugLog, LevelMustShareABitWithTheMask) {
    TempDir dir;
    LogTo(dir / "log.txt");
    DbgSetLevelMask(DBG_RENDER);
    DbgPrintf(DBG_GENERAL, "general\n");
    DbgPrintf(DBG_RENDER, "render\n");
    EXPECT_EQ(ReadTextFile(dir / "log.txt"), "render\n");
}

TEST_F(DebugLog, PercentInAnArgumentIsWrittenUnchanged) {
    TempDir dir;
    LogTo(dir / "log.txt");
    DbgPrintf(DBG_GENERAL, "loading %s\n", "Data\\100%s%d.tga");
    EXPECT_EQ(ReadTextFile(dir / "log.txt"), "loading Data\\100%s%d.tga\n");
}

TEST_F(DebugLog, LongLineIsCutAt2047) {
    TempDir dir;
    LogTo(dir / "log.txt");
    std::string longText(3000, 'x');
    DbgPrintf(DBG_GENERAL, "%s", longText.c_str());
    EXPECT_EQ(ReadTextFile(dir / "log.txt"), std::string(2047, 'x'));
}

TEST_F(DebugLog, UnopenableFileLosesOnlyTheFileLine) {
    TempDir dir;
    WriteTextFile(dir / "plain", "a file where a folder is expected");
    DbgSetLogFile((dir / "plain/Debug.txt").c_str());
    DbgSetLevelMask(0xFFFFFFFFu);
    DbgSetOutputMask(DBG_OUT_FILE | DBG_OUT_DEBUGGER);
    ::testing::internal::CaptureStderr();
    DbgPrintf(DBG_GENERAL, "still on stderr\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "still on stderr\n");
}

TEST_F(DebugLog, DbgOutIgnoresTheMasks) {
    ::testing::internal::CaptureStderr();
    DbgOut("script says %i\n", 7);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "script says 7\n");
}

// The session file lives in the program folder, so every case that uses it runs here in turn.
TEST_F(DebugLog, SessionsWriteAFreshFileBesideTheProgram) {
    SysInit(nullptr, nullptr);
    std::string log = std::string(SysProgramFolder()) + "Debug.txt";
    ASSERT_FALSE(std::string(SysProgramFolder()).empty());

    WriteTextFile(log, "left from an older run\n");
    DbgLogStart(0);
    DbgPrintf(DBG_GENERAL, "not logged\n");
    DbgLogStop(0);
    EXPECT_EQ(ReadTextFile(log), "left from an older run\n") << "debug 0 must not touch the log";

    const std::regex started(R"(Debug Session started \d\d/\d\d/\d{4} \d\d:\d\d:\d\d\n)");
    const std::regex stopped(R"(Debug Session stopped \d\d/\d\d/\d{4} \d\d:\d\d:\d\d\n)");
    for (int run = 1; run <= 2; ++run) {
        ::testing::internal::CaptureStderr();
        DbgLogStart(1);
        DbgPrintf(DBG_GENERAL, "run %i\n", run);
        DbgLogStop(1);
        ::testing::internal::GetCapturedStderr();
        std::string text = ReadTextFile(log);
        size_t first = text.find('\n'), last = text.rfind('\n', text.size() - 2);
        ASSERT_NE(first, std::string::npos);
        EXPECT_TRUE(std::regex_match(text.substr(0, first + 1), started)) << text;
        EXPECT_TRUE(std::regex_match(text.substr(last + 1), stopped)) << text;
        EXPECT_NE(text.find("run " + std::to_string(run) + "\n"), std::string::npos);
        EXPECT_EQ(text.find("older run"), std::string::npos);
        if (run == 2) {
            EXPECT_EQ(text.find("run 1\n"), std::string::npos) << "the old session stayed";
        }
    }
    DbgSetLevelMask(0);
    DbgSetOutputMask(0);
}
