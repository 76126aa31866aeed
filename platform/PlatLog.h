// The platform layer's log lines. The platform links nothing of the engine: the engine core's
// debug log installs itself as the sink, and until it does, lines are dropped.
#pragma once

#include <cstdint>

// Levels share their bits with the engine log's (general 1, render 16).
enum : uint32_t {
    PLAT_LOG_GENERAL = 1,
    PLAT_LOG_RENDER = 16,
};

using PlatLogSink = void (*)(uint32_t level, const char* line);

// Installs the sink; null drops every line.
void PlatSetLogSink(PlatLogSink sink);

// Formats one line (lines carry their own line feed; cut at 2047 characters) for the sink.
void PlatLogf(uint32_t level, const char* format, ...) __attribute__((format(printf, 2, 3)));
