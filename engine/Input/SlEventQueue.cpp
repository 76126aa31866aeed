// The input event queue: a ring of 30 events that never holds more than 30 unread ones.
#include "engine/Input/SlDevices.h"
#include "engine/Timers.h"

#include <cassert>
#include <cstring>

static SlEvent s_queue[SL_QUEUE_SIZE];
static int s_read, s_write, s_count;

intptr_t SlPackFloat(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return (intptr_t)bits;
}

float SlUnpackFloat(intptr_t value) {
    uint32_t bits = (uint32_t)value;
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

int SlPostEvent(int32_t type, intptr_t a, intptr_t b) {
    if (s_count == SL_QUEUE_SIZE) {
        s_read = (s_read + 1) % SL_QUEUE_SIZE;
        --s_count;
    }
    s_queue[s_write] = SlEvent{type, a, b, TimerNow()};
    s_write = (s_write + 1) % SL_QUEUE_SIZE;
    return ++s_count;
}

int SlGetEvent(SlEvent* out) {
    assert(out && "SlGetEvent needs somewhere to put the event");
    if (!out) return -1;
    SlDiKbdAddEvents();
    SlDiMouseAddEvents();
    if (s_count == 0) {
        *out = SlEvent{};
        return -1;
    }
    *out = s_queue[s_read];
    s_read = (s_read + 1) % SL_QUEUE_SIZE;
    --s_count;
    return 0;
}

void SlEventQueueClear() {
    s_read = s_write = s_count = 0;
}

int SlQueueRoom() {
    return SL_QUEUE_SIZE - s_count;
}
