// The run log: one open-append-close per line, so the file is complete up to the last line
// even when the program stops abruptly.
#include "engine/DebugLog.h"

#include "engine/Files.h"
#include "engine/System.h"
#include "platform/PathResolve.h"
#include "platform/PlatLog.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <string>

namespace {
uint32_t s_levelMask = 0;
uint32_t s_outputMask = 0;
std::string s_logFile = "Debug.txt";
int64_t s_formatted = 0;

void WriteLine(const char* text) {
    if ((s_outputMask & DBG_OUT_FILE) && !s_logFile.empty()) {
        std::string disk;
        PlatPathResolve(s_logFile.c_str(), &disk);
        if (std::FILE* f = std::fopen(disk.c_str(), "a")) {
            std::fputs(text, f);
            std::fclose(f);
        }
    }
    if (s_outputMask & DBG_OUT_DEBUGGER) std::fputs(text, stderr);
}

void WriteSessionLine(const char* what) {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    DbgPrintf(DBG_GENERAL, "Debug Session %s %02i/%02i/%04i %02i:%02i:%02i\n", what, t.tm_mon + 1,
              t.tm_mday, t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
}
// The platform layer links nothing of the engine; its lines come here through its sink.
void PlatformLine(uint32_t level, const char* line) {
    DbgPrintf(level, "%s", line);
}
[[maybe_unused]] const bool s_platformSinkInstalled = [] {
    PlatSetLogSink(PlatformLine);
    return true;
}();
} // namespace

void DbgPrintf(uint32_t level, const char* format, ...) {
    if (!s_outputMask || !(level & s_levelMask)) return;
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    ++s_formatted;
    WriteLine(text);
}

void DbgOut(const char* format, ...) {
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    ++s_formatted;
    std::fputs(text, stderr);
}

void DbgSetLevelMask(uint32_t mask) {
    s_levelMask = mask;
}
void DbgSetOutputMask(uint32_t mask) {
    s_outputMask = mask;
}
uint32_t DbgLevelMask() {
    return s_levelMask;
}
uint32_t DbgOutputMask() {
    return s_outputMask;
}
void DbgSetLogFile(const char* path) {
    s_logFile = path ? path : "";
}
const char* DbgLogFile() {
    return s_logFile.c_str();
}

void DbgDeleteLogFile() {
    if (!s_logFile.empty()) FileDelete(s_logFile.c_str());
}

void DbgLogStart(int debug) {
    if (!debug) {
        s_levelMask = 0;
        return;
    }
    s_logFile = std::string(SysProgramFolder()) + "Debug.txt";
    s_levelMask = 0xFFFFFFFFu;
    DbgDeleteLogFile();
    s_outputMask = DBG_OUT_FILE | DBG_OUT_DEBUGGER;
    WriteSessionLine("started");
}

void DbgLogStop(int debug) {
    if (debug) WriteSessionLine("stopped");
}

int64_t DbgFormattedCount() {
    return s_formatted;
}
