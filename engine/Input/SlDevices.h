// What the input layer's own files share: the device starts and reads behind SlStart and
// SlGetEvent, and the pad rules that tests check one by one. Not for other subsystems.
#pragma once

#include "engine/Input/SlInput.h"
#include "platform/Input.h"

#include <cstdint>

enum : uint32_t { SL_MASK_KEYBOARD = 0x1, SL_MASK_MOUSE = 0x2 };
uint32_t SlEventMask();

// Unread events the queue can still take without dropping one. Device reads never take more,
// so what they have buffered waits for the next read instead of pushing out unread events.
int SlQueueRoom();

// The stand-in for the DirectInput object: the first user starts SDL's events and the event
// watch, the last one stops them. 0, or -1 when they cannot start.
int SlInitDiObject();
void SlReleaseDiObject();

int SlDiKbdStart();
void SlDiKbdStop();
void SlDiKbdAddEvents();
void SlKeyTableClear();

int SlDiMouseStart(int windowed);
void SlDiMouseStop();
void SlDiMouseAddEvents();

int SlDiJoyStart();
void SlDiJoyStop();
// Empty records, no active pad, the dead zone back at 0.25.
void SlPadsReset();

// ---- pad rules ----

// A raw value already in -1..1 through the dead zone: sign(v) x max(0, (|v| - dz) / (1 - dz)).
float SlStickShape(float v);
// XInput's and DirectInput's raw axes as -1..1.
float SlXInputAxis(int32_t raw);
float SlDiAxis(int32_t raw);
// The buttons mask of a record: the sticks past 0.85 in the low byte, then 0x100 << i for
// each button value above 0.
uint32_t SlPadButtonsMask(const SlPad& pad);
// Sets the four pad directions from a hat angle; an angle not on the eight points (and not -1)
// leaves them as they were.
void SlHatDirections(SlPad& pad, int32_t angle);
// Fills a record from a joystick through the known-controller table row of its name ("Default"
// when no row has that exact name).
void SlReadJoystick(SlPad& pad, const char* name, const PlatJoyState& state);
// The table row a joystick name reads by.
const char* SlJoyTableRowName(const char* name);
