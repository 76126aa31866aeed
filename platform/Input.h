// The input devices in DirectInput's and XInput's terms, over SDL2: a buffered keyboard, a mouse
// read as deltas, game controllers read as XInput pads and other joysticks read as DIJOYSTATE2.
#pragma once

#include <cstdint>

// ---- keyboard and mouse ----

// Starts SDL's event subsystem and installs the event watch that buffers keyboard and mouse
// input for whoever pumps SDL's queue. 0, or -1 when SDL's events cannot start.
int PlatInputStart();
void PlatInputStop();

// The modifier keys held, as SDL saw them when it queued a key change.
enum : uint8_t {
    PLAT_MOD_LSHIFT = 0x01,
    PLAT_MOD_RSHIFT = 0x02,
    PLAT_MOD_LCTRL = 0x04,
    PLAT_MOD_RCTRL = 0x08,
    PLAT_MOD_LALT = 0x10,
    PLAT_MOD_RALT = 0x20,
};

// One buffered key change: a DirectInput set-1 scancode and 0x80 for down, 0 for up, and the
// modifiers held with it (the changed key's own bit included while it is down).
struct PlatKeyItem {
    uint8_t scancode;
    uint8_t data;
    uint8_t mods;
};

// Buffering starts and stops with acquisition; unacquiring drops what was buffered.
void PlatKbdAcquire(int flag);
int PlatKbdAcquired();
// Takes up to `max` buffered changes, oldest first; the rest wait for the next read.
int PlatKbdRead(PlatKeyItem* items, int max);
// Changes dropped because the buffer was full since the last call (then 0 again).
int PlatKbdTakeLost();

// The DirectInput scancode of an SDL scancode; 0 when DirectInput has none.
uint8_t PlatScancodeToDik(int sdlScancode);

// One buffered button change: button 0 left, 1 right, 2 middle, 3 first extra button.
struct PlatMouseItem {
    uint8_t button;
    uint8_t down;
};

// Unacquiring drops the buffered motion, wheel and button changes and lets every button go.
void PlatMouseAcquire(int flag);
int PlatMouseAcquired();
// Motion and wheel (120 per notch) gathered since the last take.
void PlatMouseTakeMotion(int32_t* dx, int32_t* dy);
int32_t PlatMouseTakeWheel();
// Takes up to `max` buffered button changes, oldest first.
int PlatMouseReadButtons(PlatMouseItem* items, int max);

// ---- pads ----

enum {
    PLAT_PAD_NONE = 0,
    PLAT_PAD_CONTROLLER = 1, // read as an XInput pad
    PLAT_PAD_JOYSTICK = 2,   // read through the known-controller table
};

// A game controller in XInput's orientation: +y is up.
struct PlatPadState {
    uint16_t buttons; // bit i is button i of the pad record (bits 6 and 7, the triggers, unused)
    int32_t lx, ly, rx, ry; // -32768..32767
    int32_t lt, rt;         // 0..32767
};

// A plain joystick in DIJOYSTATE2's terms.
struct PlatJoyState {
    int32_t axis[7];     // X, Y, Z, Rx, Ry, Rz, slider 0, each -1024..1024
    int32_t hat;         // hat 0 in hundredths of a degree, -1 when centred
    uint8_t button[128]; // 0x80 while down
};

enum { PLAT_PAD_SLOTS = 4 };

// Starts SDL's game-controller and joystick subsystems, adds the mappings of `mappingFile` when
// it is given, and opens what is attached. 0, or -1 when the subsystems cannot start.
int PlatPadsStart(const char* mappingFile);
void PlatPadsStop();
// Once per frame: fresh device state, slots freed by unplugged devices, and new devices placed
// (game controllers before joysticks, each in the first free slot).
void PlatPadsUpdate();
int PlatPadKind(int slot);
// The device name SDL gives ("" for an empty slot).
const char* PlatPadName(int slot);
// 1 and the state when the slot holds a device of that kind, else 0.
int PlatPadReadController(int slot, PlatPadState* out);
int PlatPadReadJoystick(int slot, PlatJoyState* out);
// An unacquired joystick is not read until acquired again. 0, or -1 when the slot holds no
// joystick.
int PlatPadAcquire(int slot, int flag);

// SDL's hat bits as hundredths of a degree clockwise from up, -1 when centred or impossible.
int32_t PlatHatToAngle(uint8_t sdlHat);
// A raw SDL axis value scaled to DirectInput's -1024..1024.
int32_t PlatAxisToDi(int16_t value);

// ---- tests ----

enum {
    PLAT_INPUT_FAIL_EVENTS = 1,
    PLAT_INPUT_FAIL_PADS = 2,
};
// While set, starts of the named services fail as if SDL could not start them.
void PlatInputSimulateFailure(unsigned mask);
