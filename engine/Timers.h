// Millisecond counter and the application timer (start, stop, single step).
#pragma once

#include <cstdint>

// Takes the counter's origin; SysInit calls it first.
void TimerInit();
// Milliseconds since an arbitrary origin (CLOCK_MONOTONIC).
uint32_t TimerNow();
// Replaces the clock with `nowMicroseconds` (null restores the real one), so tests move time
// forward by hand instead of sleeping.
void TimerSetTestSource(uint64_t (*nowMicroseconds)());

enum AppTimerCommand {
    APPTIMER_RESET = 0,
    APPTIMER_START = 1,
    APPTIMER_STOP = 2,
    APPTIMER_STEP = 3,     // a stopped timer moves on by 0.1 s
    APPTIMER_ABSOLUTE = 4, // the counter in seconds
    APPTIMER_APPTIME = 5,  // seconds since reset, without the stopped spans
    APPTIMER_ELAPSED = 6,  // seconds since the previous elapsed, reset, start or stop
};
// Seconds, or -1.0 for an unknown command.
double AppTimer(int command);
// True between a stop and the next start (a pause of the game stops it).
bool AppTimerStopped();
// 2 asks the hold flag, 1 sets it, 0 clears it (both answer 1); others answer 0. Animation code
// does not read the application time while the flag is set.
int AppTimerHold(int command);
