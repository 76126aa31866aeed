// The frame clock's tick.
#include "engine/FrameClock.h"

#include "engine/Timers.h"

#include <algorithm>

float g_frameSeconds = 0.0f;
float g_totalSeconds = 0.0f;

FrameClock* FrameClockNew() {
    auto* c = new FrameClock;
    c->lastTick = TimerNow();
    return c;
}

void FrameClockFree(FrameClock* clock) {
    delete clock;
}

void FrameClockSetCap(FrameClock* clock, uint32_t ms) {
    clock->capMs = ms;
}

void FrameClockSetScale(FrameClock* clock, int32_t scale) {
    clock->scale = scale;
}

void FrameClockPause(FrameClock* clock) {
    ++clock->pauseCount;
    clock->skipFrame = 1;
}

void FrameClockResume(FrameClock* clock) {
    // An unmatched resume must not leave a negative count that a later pause cannot undo.
    if (clock->pauseCount > 0) --clock->pauseCount;
}

static void ZeroDeltas(FrameClock* c) {
    c->deltaMs = 0;
    c->deltaSeconds = 0;
    c->scaledDeltaMs = 0;
    c->scaledDeltaSeconds = 0;
}

void FrameClockTick(FrameClock* c) {
    uint32_t now = TimerNow();
    c->rawDelta = now - c->lastTick; // unsigned: correct across the counter's wrap
    c->lastTick = now;
    ++c->ticks;
    if (c->pauseCount > 0) {
        ZeroDeltas(c);
        return;
    }
    if (c->skipFrame) {
        ZeroDeltas(c);
        c->skipFrame = 0;
        return;
    }
    c->deltaMs = c->rawDelta;
    c->elapsedMs += c->rawDelta;
    c->deltaSeconds = (float)c->deltaMs * 0.001f;
    ++c->runningTicks;
    // 64-bit: scale x delta overflows 32 bits for a large cap and a fast scale.
    int64_t scaled = ((int64_t)c->scale * (int64_t)std::min(c->capMs, c->rawDelta) + 512) >> 10;
    c->scaledDeltaMs = scaled < 0 ? 0 : (uint32_t)scaled;
    c->scaledElapsedMs += c->scaledDeltaMs;
    c->scaledDeltaSeconds = (float)c->scaledDeltaMs * 0.001f;
}
