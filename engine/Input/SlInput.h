// The input layer: keyboard, mouse and pads turned into events in one small ring queue, a
// key-state table and one state record per pad slot. Main thread only.
#pragma once

#include <cstdint>

// ---- events ----

// a and b are pointer-sized: the pad-state event carries the address of a pad record.
struct SlEvent {
    int32_t type;
    intptr_t a;
    intptr_t b;
    uint32_t time; // TimerNow when posted
};

enum : int32_t {
    SL_KEYDOWN = 2, // a = DirectInput scancode, b = the SL_MOD_ keys held with it
    SL_KEYUP = 3,
    SL_CHAR = 4, // a = character code; posted by the window procedure
    SL_MOUSE0UP = 6,
    SL_MOUSE0DOWN = 7,
    SL_MOUSE1UP = 9,
    SL_MOUSE1DOWN = 10,
    SL_MOUSE2UP = 12,
    SL_MOUSE2DOWN = 13,
    SL_MOUSE3UP = 15,
    SL_MOUSE3DOWN = 16,
    SL_MOUSEMOVE = 18,  // a = dx, b = dy
    SL_MOUSEWHEEL = 19, // a = dz, 120 per notch
    SL_MOUSEPOS = 21,   // a, b = x, y as float bit patterns (SlPackFloat); posted by the window
    SL_PADSTART = 38,   // a = pad; 39 released
    SL_MENUUP = 40,     // each navigation event's release is the next number
    SL_MENUDOWN = 42,
    SL_MENULEFT = 44,
    SL_MENURIGHT = 46,
    SL_MENUSELECT = 48,
    SL_MENUBACK = 50,
    SL_PADSTATE = 110, // a = the pad record, b = pad index; posted by the application
};

// The modifier keys held at a key event, in its b: the state when the key changed, not when the
// event is read, so a chord holds however its changes are spread over frames. A modifier's own
// change counts it held while it is down.
enum : int32_t {
    SL_MOD_LSHIFT = 0x01,
    SL_MOD_RSHIFT = 0x02,
    SL_MOD_LCTRL = 0x04,
    SL_MOD_RCTRL = 0x08,
    SL_MOD_LALT = 0x10,
    SL_MOD_RALT = 0x20,
    SL_MOD_CTRL = SL_MOD_LCTRL | SL_MOD_RCTRL,
};

enum { SL_QUEUE_SIZE = 30 };

// A float's bit pattern in the low 32 bits of an event value, and back.
intptr_t SlPackFloat(float value);
float SlUnpackFloat(intptr_t value);

// Appends an event stamped with TimerNow; a full queue drops its oldest unread event. Returns
// the number of unread events.
int SlPostEvent(int32_t type, intptr_t a, intptr_t b);
// Reads the keyboard and the mouse into the queue, then pops the oldest event: 0, or -1 with
// type 0 when the queue is empty (-1 for a null `out`).
int SlGetEvent(SlEvent* out);
void SlEventQueueClear();

// ---- keyboard ----

// The key's state byte: 1 while the key is down, as of the last key change read (a whole
// frame's changes are read at once). 0 for codes outside 0..255. A chord is read from its key
// event's modifiers (SL_MOD_) instead.
int SlKeyState(int scancode);
// Turns a key event of Esc, Enter, the arrows or the numeric pad's 8, 2, 4 and 6 into a
// navigation event (a = b = 0). 1 when the key was one of them, else 0.
int SlKeyToMenuEvent(const SlEvent* event);

// ---- pads ----

enum { SL_PAD_COUNT = 4 };
enum { SL_PAD_XINPUT = 1, SL_PAD_DINPUT = 2 };

// Index of each button value in SlPad::button; bit 0x100 << index in the buttons masks.
enum {
    SL_PAD_A,
    SL_PAD_B,
    SL_PAD_X,
    SL_PAD_Y,
    SL_PAD_RSHOULDER,
    SL_PAD_LSHOULDER,
    SL_PAD_LTRIGGER,
    SL_PAD_RTRIGGER,
    SL_PAD_START,
    SL_PAD_BACK,
    SL_PAD_LTHUMB,
    SL_PAD_RTHUMB,
    SL_PAD_UP,
    SL_PAD_DOWN,
    SL_PAD_LEFT,
    SL_PAD_RIGHT,
    SL_PAD_BUTTONS
};

struct SlPad {
    int32_t connected; // this frame
    int32_t type;      // SL_PAD_XINPUT or SL_PAD_DINPUT
    uint32_t navTime;  // TimerNow of its last navigation event
    uint32_t packet;   // moves on whenever the pad's state changes
    uint32_t buttons;  // buttons mask now
    uint32_t buttonsBefore;
    uint32_t pressed;
    uint32_t released;
    float lx, ly, rx, ry;         // -1..1, +y up
    float button[SL_PAD_BUTTONS]; // 0..1
    // The last rumble pulse asked for; no motor is driven.
    float rumbleLeft, rumbleRight, rumbleSeconds;
};

// Once per frame: reads every pad into its record and works out the pressed and released masks.
void SlPadPoll();
// The record of pad 0..3; null for any other index.
SlPad* SlPadGetState(int pad);
// The last pad that posted a navigation event, -1 when none has.
int SlGetActivePad();
// Posts the pad's navigation events from its pressed and released masks.
void SlPadMenuEvents(int pad);
// Records a pulse for the pad; each poll counts it down.
void SlRumblePulse(int pad, float left, float right, float seconds);

// ---- devices ----

// Starts the devices whose switches are on; the first argument is not read. 0.
int SlStart(intptr_t unused, int windowed);
void SlStop();
// 1 acquires, 0 unacquires (the key table or the buttons let go). 0, or -1 when not started.
int SlKbdAcquire(int flag);
int SlMouseAcquire(int flag);
// The joystick in pad slot `controller`; 0, or -1 when that slot holds no joystick.
int SlJoyAcquire(int controller, int flag);
