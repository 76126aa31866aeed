// Starting and stopping the input layer, and the state all its devices share.
#include "engine/Input/SlDevices.h"

static bool s_started;
static uint32_t s_eventMask = 0xFFFF;
// Device switches: nothing turns them off yet, but a device whose switch is off never starts.
static int s_useKeyboard = 1, s_useMouse = 1, s_useJoysticks = 1;
static int s_diRefs;

uint32_t SlEventMask() {
    return s_eventMask;
}

int SlInitDiObject() {
    if (s_diRefs == 0 && PlatInputStart() != 0) return -1;
    ++s_diRefs;
    return 0;
}

void SlReleaseDiObject() {
    if (s_diRefs > 0 && --s_diRefs == 0) PlatInputStop();
}

int SlStart(intptr_t unused, int windowed) {
    (void)unused;
    if (s_started) SlStop();
    SlKeyTableClear();
    // Also silences every pad's motors.
    SlPadsReset();
    // A device that cannot start is left out; the others still work.
    if (s_useKeyboard) SlDiKbdStart();
    if (s_useMouse) SlDiMouseStart(windowed);
    if (s_useJoysticks) SlDiJoyStart();
    s_eventMask = 0xFFFF;
    SlEventQueueClear();
    s_started = true;
    return 0;
}

void SlStop() {
    if (!s_started) return;
    SlDiKbdStop();
    SlDiMouseStop();
    SlDiJoyStop();
    SlPadsReset();
    s_started = false;
}
