// Scratch folders, file helpers and the hand-moved clock for tests.
#include "tests/support/TestSupport.h"

#include "engine/DebugLog.h"
#include "engine/System.h"
#include "engine/Timers.h"
#include "platform/PathResolve.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

uint64_t TestClock::s_nowUs = 0;

TestClock::TestClock() {
    s_nowUs = 1000000000ull; // an origin far from 0, so nothing relies on a zero start
    TimerSetTestSource(&TestClock::Now);
}

TestClock::~TestClock() {
    TimerSetTestSource(nullptr);
}

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/fairlark-test-XXXXXX";
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a temporary folder");
    m_path = tmpl + "/";
    PlatPathCacheClear();
}

static int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
    return remove(path);
}

TempDir::~TempDir() {
    // FTW_PHYS: links are removed as links; FTW_DEPTH: contents before their folder.
    nftw(m_path.c_str(), RemoveEntry, 32, FTW_DEPTH | FTW_PHYS);
    PlatPathCacheClear();
}

void WriteTextFile(const std::string& path, const std::string& text) {
    for (size_t i = 1; i < path.size(); ++i)
        if (path[i] == '/') mkdir(path.substr(0, i).c_str(), 0755);
    std::ofstream f(path, std::ios::binary);
    f << text;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

bool PathExistsOnDisk(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

int OpenFileCount() {
    int n = 0;
    DIR* d = opendir("/proc/self/fd");
    while (d && readdir(d))
        ++n;
    if (d) closedir(d);
    return n;
}

LogCapture::LogCapture(uint32_t levels)
    : m_oldFile(DbgLogFile()), m_oldLevels(DbgLevelMask()), m_oldOutputs(DbgOutputMask()) {
    DbgSetLogFile((m_dir / "Debug.txt").c_str());
    DbgSetOutputMask(DBG_OUT_FILE);
    DbgSetLevelMask(levels);
}

LogCapture::~LogCapture() {
    DbgSetLogFile(m_oldFile.c_str());
    DbgSetOutputMask(m_oldOutputs);
    DbgSetLevelMask(m_oldLevels);
}

std::string LogCapture::Text() const {
    return ReadTextFile(m_dir / "Debug.txt");
}

std::string BuildProgramFolder() {
    std::string data = FAIRLARK_BUILD_DATA_DIR; // ".../Data/"
    return data.substr(0, data.size() - 5);
}

ProgramFolderScope::ProgramFolderScope(const std::string& folder)
    : m_old(SysSetProgramFolder(folder.c_str())) {}

ProgramFolderScope::~ProgramFolderScope() {
    SysSetProgramFolder(m_old.c_str());
}

// ---- state that no test may leave behind ----
//
// Each test program also runs as one process (scripts/test.sh), so what one test changes in
// process-wide state must not reach the next. Every test gets the log and the program folder
// as the one before it found them, whatever its own fixture remembered to restore.
namespace {
class RestoreGlobals : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        m_logFile = DbgLogFile();
        m_levels = DbgLevelMask();
        m_outputs = DbgOutputMask();
        m_program = SysSetProgramFolder(nullptr);
        SysSetProgramFolder(m_program.c_str());
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        DbgSetLogFile(m_logFile.c_str());
        DbgSetLevelMask(m_levels);
        DbgSetOutputMask(m_outputs);
        SysSetProgramFolder(m_program.c_str());
        PlatPathCacheClear();
    }
    std::string m_logFile, m_program;
    uint32_t m_levels = 0, m_outputs = 0;
};

[[maybe_unused]] const bool s_restoring = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new RestoreGlobals);
    return true;
}();
} // namespace

std::string Narrow(const char16_t* text) {
    std::string out;
    for (const char16_t* p = text; p && *p; ++p)
        out += *p < 128 ? char(*p) : '?';
    return out;
}
