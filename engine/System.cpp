// Process-wide facts and system services over POSIX and the platform layer.
#include "engine/System.h"

#include "engine/DebugLog.h"
#include "engine/Timers.h"
#include "platform/SysPlatform.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {
void* s_mainWindow = nullptr;
void* s_instance = nullptr;
int s_argc = 0;
char** s_argv = nullptr;
std::string s_commandLine;
std::string s_programFolder;
std::string s_programFolderSet; // SysSetProgramFolder's, which wins while not empty
SysBeepHook s_beepHook = nullptr;
} // namespace

void SysBeep(int frequency, int milliseconds) {
    DbgPrintf(DBG_GENERAL, "Beep %d Hz %d ms\n", frequency, milliseconds);
    if (s_beepHook) s_beepHook(frequency, milliseconds);
}

void SysSetBeepHook(SysBeepHook hook) {
    s_beepHook = hook;
}

void SysInit(void* mainWindow, void* instance, int argc, char** argv) {
    TimerInit();
    s_mainWindow = mainWindow;
    s_instance = instance;
    if (argv) {
        s_argc = argc;
        s_argv = argv;
    }
    s_commandLine = PlatCommandLine();
    s_programFolder = PlatExecutableFolder();
}

const char* SysCommandLine() {
    return s_commandLine.c_str();
}
const char* SysProgramFolder() {
    return (s_programFolderSet.empty() ? s_programFolder : s_programFolderSet).c_str();
}

std::string SysSetProgramFolder(const char* folder) {
    std::string before = s_programFolderSet;
    s_programFolderSet = folder ? folder : "";
    return before;
}

int SysProgramPath(char* out, size_t outSize, const char* name) {
    if (!out || outSize == 0) return -1;
    std::string p = std::string(SysProgramFolder()) + (name ? name : "");
    if (p.size() >= outSize) {
        out[0] = 0;
        return -1;
    }
    std::memcpy(out, p.c_str(), p.size() + 1);
    return 1;
}

int SysDataFilePath(char* out, size_t outSize, const char* name) {
    if (!out || outSize == 0) return -1;
    if (!name) {
        out[0] = 0;
        return -1;
    }
    if (name[0] != '/' && name[0] != '\\') return SysProgramPath(out, outSize, name);
    const size_t len = std::strlen(name);
    if (len >= outSize) {
        out[0] = 0;
        return -1;
    }
    std::memcpy(out, name, len + 1);
    return 1;
}

static SysWindowHooks s_windowHooks{};

void SysSetWindowHooks(const SysWindowHooks* hooks) {
    s_windowHooks = hooks ? *hooks : SysWindowHooks{};
}

void SysDesktopSize(int* width, int* height) {
    int w = 0, h = 0;
    if (s_windowHooks.desktopSize) s_windowHooks.desktopSize(&w, &h);
    if (width) *width = w;
    if (height) *height = h;
}

int SysMessageBox(const char* text, const char* caption) {
    if (!PlatHeadless() && s_windowHooks.messageBox &&
        s_windowHooks.messageBox(caption ? caption : "", text ? text : "") == 1)
        return 1;
    std::fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
    DbgPrintf(1, "[%s] %s\n", caption ? caption : "", text ? text : "");
    return 1;
}

// Splits a Windows-style command line: words separated by blanks, double quotes group.
static std::vector<std::string> SplitCommandLine(const char* line) {
    std::vector<std::string> words;
    std::string cur;
    bool inWord = false, quoted = false;
    for (const char* p = line; *p; ++p) {
        char c = *p;
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(cur);
            cur.clear();
            inWord = false;
        } else {
            cur.push_back(c);
            inWord = true;
        }
    }
    if (inWord) words.push_back(cur);
    return words;
}

int RunProcessWait(const char* commandLine, int wait) {
    if (!commandLine) return -1;
    std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty()) return -1;
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    if (wait) {
        int status;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    return 0;
}
