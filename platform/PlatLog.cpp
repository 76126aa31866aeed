// The platform layer's log lines, handed to whatever sink the engine installed.
#include "platform/PlatLog.h"

#include <cstdarg>
#include <cstdio>

static PlatLogSink s_sink = nullptr;

void PlatSetLogSink(PlatLogSink sink) {
    s_sink = sink;
}

void PlatLogf(uint32_t level, const char* format, ...) {
    if (!s_sink) return;
    char line[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    s_sink(level, line);
}
