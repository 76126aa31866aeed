// Monotonic clocks with an injectable source.
#include "engine/Timers.h"

#include <ctime>

namespace {
uint64_t (*s_testSource)() = nullptr;

double s_base = 0, s_last = 0, s_stopped = 0;
// Kept apart from s_stopped, which reads 0 for a stop at the counter's origin.
bool s_isStopped = false;
int s_hold = 0;

uint64_t NowMicroseconds() {
    if (s_testSource) return s_testSource();
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint64_t)ts.tv_sec * 1000000u + (uint64_t)ts.tv_nsec / 1000u;
}

double CounterSeconds() {
    return (double)NowMicroseconds() * 1e-6;
}
} // namespace

void TimerInit() {}

uint32_t TimerNow() {
    return (uint32_t)(NowMicroseconds() / 1000u);
}

void TimerSetTestSource(uint64_t (*nowMicroseconds)()) {
    s_testSource = nowMicroseconds;
}

bool AppTimerStopped() {
    return s_isStopped;
}

double AppTimer(int command) {
    double now = (s_stopped != 0 && command != APPTIMER_START && command != APPTIMER_ABSOLUTE)
                     ? s_stopped
                     : CounterSeconds();
    switch (command) {
        case APPTIMER_RESET:
            s_base = now;
            s_last = now;
            return 0.0;
        case APPTIMER_START:
            // Starting a running timer shifts nothing.
            if (s_stopped != 0) s_base += now - s_stopped;
            s_stopped = 0;
            s_isStopped = false;
            s_last = now;
            return 0.0;
        case APPTIMER_STOP:
            s_stopped = now;
            s_isStopped = true;
            s_last = now;
            return 0.0;
        case APPTIMER_STEP:
            // Only a stopped timer steps: on a running one the step would stop it at 0.1 s.
            if (s_stopped != 0) s_stopped += 0.1;
            return 0.0;
        case APPTIMER_ABSOLUTE: return now;
        case APPTIMER_APPTIME: return now - s_base;
        case APPTIMER_ELAPSED: {
            double d = now - s_last;
            s_last = now;
            return d;
        }
        default: return -1.0;
    }
}

int AppTimerHold(int command) {
    switch (command) {
        case 2: return s_hold;
        case 1: s_hold = 1; return 1;
        case 0: s_hold = 0; return 1;
        default: return 0;
    }
}
