// The run log "Debug.txt" beside the program, and the debugger output (stderr here).
// Logging is off unless the configuration's "debug" key is 1; the level test comes before
// any formatting, so a line that is not written costs one branch.
#pragma once

#include <cstdint>

enum : uint32_t {
    DBG_GENERAL = 1, // session lines and most subsystems
    DBG_ENTITY = 4,  // entity framework and script warnings and information
    DBG_RENDER = 16, // render kernel
};
enum : uint32_t {
    DBG_OUT_FILE = 2,
    DBG_OUT_DEBUGGER = 4,
};

// Writes one formatted line (lines carry their own line feed) when `level` shares a bit with the
// level mask. Text longer than 2047 characters is cut there.
void DbgPrintf(uint32_t level, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Formats and sends text to the debugger output only, whatever the masks.
void DbgOut(const char* format, ...) __attribute__((format(printf, 1, 2)));

void DbgSetLevelMask(uint32_t mask);
void DbgSetOutputMask(uint32_t mask);
uint32_t DbgLevelMask();
uint32_t DbgOutputMask();
// Full path of the log file; "" writes no file.
void DbgSetLogFile(const char* path);
void DbgDeleteLogFile();
const char* DbgLogFile();

// Log start, once the program folder is known: with debug 0 logging stays off; otherwise a fresh
// "Debug.txt" in the program folder begins with "Debug Session started MM/DD/YYYY hh:mm:ss".
void DbgLogStart(int debug);
// Log stop: "Debug Session stopped ..." when debug is on.
void DbgLogStop(int debug);

// Lines formatted so far (tests prove that a masked-off line costs no formatting).
int64_t DbgFormattedCount();
