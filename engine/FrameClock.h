// The frame clock: wall time turned into a capped, scaled frame time. The scaled delta is the
// frame time of the scripts and the simulation, so a slow frame never advances the game by more
// than the cap.
#pragma once

#include <cstdint>

struct FrameClock {
    int32_t scale = 1024;   // 1/1024 units; 1024 is real time
    int32_t skipFrame = 0;  // the first tick after a pause gives 0
    int32_t pauseCount = 0; // while above 0 every tick gives 0
    uint32_t lastTick = 0;
    uint32_t rawDelta = 0;
    uint32_t ticks = 0;
    uint32_t elapsedMs = 0;
    uint32_t deltaMs = 0;
    float deltaSeconds = 0;
    uint32_t runningTicks = 0;
    uint32_t scaledElapsedMs = 0;
    uint32_t scaledDeltaMs = 0;
    float scaledDeltaSeconds = 0;
    uint32_t capMs = 1000; // the game sets 33
};

// The application's frame, set at each tick: this frame's real time and the total real time, in
// seconds. Controls and animations read them.
extern float g_frameSeconds;
extern float g_totalSeconds;

FrameClock* FrameClockNew();
void FrameClockFree(FrameClock* clock);
void FrameClockSetCap(FrameClock* clock, uint32_t ms);
void FrameClockSetScale(FrameClock* clock, int32_t scale);
void FrameClockPause(FrameClock* clock);
void FrameClockResume(FrameClock* clock);
// Once per frame, first thing of the frame update.
void FrameClockTick(FrameClock* clock);
