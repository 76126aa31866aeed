// Process-wide services over POSIX.
#include "platform/SysPlatform.h"

#include <pthread.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

std::string PlatExecutableFolder() {
    std::vector<char> buf(4096);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) return std::string();
        if ((size_t)n < buf.size()) {
            std::string exe(buf.data(), (size_t)n);
            size_t slash = exe.rfind('/');
            return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
        }
        buf.resize(buf.size() * 2);
    }
}

std::string PlatCommandLine() {
    std::FILE* f = std::fopen("/proc/self/cmdline", "rb");
    if (!f) return std::string();
    std::string line;
    int c;
    while ((c = std::fgetc(f)) != EOF)
        line.push_back(c == 0 ? ' ' : (char)c);
    std::fclose(f);
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

bool PlatHeadless() {
    const char* v = std::getenv("FAIRLARK_HEADLESS");
    return v && std::strcmp(v, "1") == 0;
}

namespace {
int s_closedInChild = -1;

void CloseInChild() {
    if (s_closedInChild >= 0) close(s_closedInChild);
    s_closedInChild = -1;
}
} // namespace

void PlatSetForkedChildCloses(int fd) {
    static pthread_once_t once = PTHREAD_ONCE_INIT;
    pthread_once(&once, [] { pthread_atfork(nullptr, nullptr, CloseInChild); });
    s_closedInChild = fd;
}
