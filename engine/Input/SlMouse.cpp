// The mouse: motion and wheel since the last read, and its four buttons posted on change.
#include "engine/DebugLog.h"
#include "engine/Input/SlDevices.h"

#include <cstring>

enum { MOUSE_BUTTONS = 4 };

static bool s_started;
static uint8_t s_down[MOUSE_BUTTONS];

int SlDiMouseStart(int windowed) {
    (void)windowed; // chose only a first cooperative level, replaced at once
    if (s_started) return 0;
    if (SlInitDiObject() != 0) {
        DbgPrintf(DBG_GENERAL, "SlDiMouseStart()::SlInitDiObject FAILED!\n");
        return -1;
    }
    PlatMouseAcquire(1);
    std::memset(s_down, 0, sizeof s_down);
    s_started = true;
    return 0;
}

void SlDiMouseStop() {
    if (!s_started) return;
    PlatMouseAcquire(0);
    std::memset(s_down, 0, sizeof s_down);
    SlReleaseDiObject();
    s_started = false;
}

void SlDiMouseAddEvents() {
    if (!s_started || !(SlEventMask() & SL_MASK_MOUSE)) return;
    if (!PlatMouseAcquired()) {
        DbgPrintf(DBG_GENERAL, "SlDiMouseAddEvents(): not acquired!\n");
        PlatMouseAcquire(1);
        return;
    }
    // What finds no room in the queue stays gathered for the next read.
    if (SlQueueRoom() > 0) {
        int32_t dx, dy;
        PlatMouseTakeMotion(&dx, &dy);
        if (dx || dy) SlPostEvent(SL_MOUSEMOVE, dx, dy);
    }
    if (SlQueueRoom() > 0) {
        int32_t dz = PlatMouseTakeWheel();
        if (dz) SlPostEvent(SL_MOUSEWHEEL, dz, 0);
    }
    // Every change is kept, so a click that begins and ends between two reads still posts its
    // down and its up.
    PlatMouseItem items[16];
    int room = SlQueueRoom();
    int n = PlatMouseReadButtons(items, room < 16 ? room : 16);
    for (int i = 0; i < n; ++i) {
        int b = items[i].button;
        if (b >= MOUSE_BUTTONS || s_down[b] == items[i].down) continue;
        s_down[b] = items[i].down;
        SlPostEvent(items[i].down ? SL_MOUSE0DOWN + 3 * b : SL_MOUSE0UP + 3 * b, 0, 0);
    }
}

int SlMouseAcquire(int flag) {
    if (!s_started) return -1;
    PlatMouseAcquire(flag);
    if (!flag) std::memset(s_down, 0, sizeof s_down);
    return 0;
}
