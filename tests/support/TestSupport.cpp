// Scratch folders, file helpers and the hand-moved clock for tests.
#include "tests/support/TestSupport.h"

#include "engine/Timers.h"
#include "platform/PathResolve.h"

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
