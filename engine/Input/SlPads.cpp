// Pads: one record per slot, filled once per frame from game controllers (XInput's way) or
// joysticks (the known-controller table), and the navigation events of their button changes.
#include "engine/DebugLog.h"
#include "engine/Input/SlDevices.h"
#include "engine/System.h"
#include "engine/Timers.h"
#include "platform/PathResolve.h"

#include <cassert>
#include <cmath>
#include <cstring>
#include <string>

static SlPad s_pads[SL_PAD_COUNT];
static int s_activePad = -1;
static float s_deadZone = 0.25f;
static bool s_started;
static uint32_t s_lastPoll;

// ---- start and stop ----

void SlPadsReset() {
    std::memset(s_pads, 0, sizeof s_pads);
    s_activePad = -1;
    s_deadZone = 0.25f;
    s_lastPoll = TimerNow();
}

int SlDiJoyStart() {
    if (s_started) return 0;
    std::string db;
    std::string wanted = std::string(SysProgramFolder()) + "Data/gamecontrollerdb.txt";
    bool haveDb = PlatPathResolve(wanted.c_str(), &db) == 1;
    if (PlatPadsStart(haveDb ? db.c_str() : nullptr) != 0) {
        DbgPrintf(DBG_GENERAL, "SlDiJoyStart(): the joystick subsystem did not start, no pads\n");
        return -1;
    }
    s_started = true;
    return 0;
}

void SlDiJoyStop() {
    if (!s_started) return;
    PlatPadsStop();
    s_started = false;
}

int SlJoyAcquire(int controller, int flag) {
    return PlatPadAcquire(controller, flag);
}

// ---- shaping and masks ----

float SlStickShape(float v) {
    if (!(v >= -1.0f)) v = v > 0 ? 1.0f : -1.0f; // NaN goes to -1 as well; no device sends one
    if (v > 1.0f) v = 1.0f;
    float mag = (std::fabs(v) - s_deadZone) * (1.0f / (1.0f - s_deadZone));
    if (mag <= 0) return 0.0f;
    return v < 0 ? -mag : mag;
}

float SlXInputAxis(int32_t raw) {
    return ((float)raw + 0.5f) / 32767.5f;
}

float SlDiAxis(int32_t raw) {
    return ((float)raw + 0.5f) / 1024.5f;
}

uint32_t SlPadButtonsMask(const SlPad& pad) {
    uint32_t mask = 0;
    if (pad.ly > 0.85f) mask |= 0x1;
    if (pad.ly < -0.85f) mask |= 0x2;
    if (pad.lx > 0.85f) mask |= 0x4;
    if (pad.lx < -0.85f) mask |= 0x8;
    if (pad.ry > 0.85f) mask |= 0x10;
    if (pad.ry < -0.85f) mask |= 0x20;
    if (pad.rx > 0.85f) mask |= 0x40;
    if (pad.rx < -0.85f) mask |= 0x80;
    for (int i = 0; i < SL_PAD_BUTTONS; ++i)
        if (pad.button[i] > 0) mask |= 0x100u << i;
    return mask;
}

// ---- reading ----

static void ReadController(SlPad& pad, const PlatPadState& state) {
    pad.connected = 1;
    pad.type = SL_PAD_XINPUT;
    pad.lx = SlStickShape(SlXInputAxis(state.lx));
    pad.ly = SlStickShape(SlXInputAxis(state.ly));
    pad.rx = SlStickShape(SlXInputAxis(state.rx));
    pad.ry = SlStickShape(SlXInputAxis(state.ry));
    for (int i = 0; i < SL_PAD_BUTTONS; ++i)
        pad.button[i] = state.buttons & (1u << i) ? 1.0f : 0.0f;
    pad.button[SL_PAD_LTRIGGER] = (float)state.lt / 32767.0f;
    pad.button[SL_PAD_RTRIGGER] = (float)state.rt / 32767.0f;
}

// A pad that is gone reads as let go, so its pressed and released masks release whatever it
// held once and stay 0 after; its sticks stop steering.
static void ClearPadState(SlPad& pad) {
    pad.lx = pad.ly = pad.rx = pad.ry = 0;
    std::memset(pad.button, 0, sizeof pad.button);
    pad.rumbleLeft = pad.rumbleRight = pad.rumbleSeconds = 0;
}

static bool SameState(const SlPad& a, const SlPad& b) {
    return a.lx == b.lx && a.ly == b.ly && a.rx == b.rx && a.ry == b.ry &&
           std::memcmp(a.button, b.button, sizeof a.button) == 0;
}

static void CountDownRumble(SlPad& pad, float seconds) {
    if (pad.rumbleSeconds <= 0) return;
    pad.rumbleSeconds -= seconds;
    if (pad.rumbleSeconds <= 0) pad.rumbleLeft = pad.rumbleRight = pad.rumbleSeconds = 0;
}

void SlPadPoll() {
    PlatPadsUpdate();
    uint32_t now = TimerNow();
    float elapsed = (float)(now - s_lastPoll) * 0.001f;
    s_lastPoll = now;
    for (int i = 0; i < SL_PAD_COUNT; ++i) {
        SlPad& pad = s_pads[i];
        SlPad before = pad;
        pad.connected = 0;
        PlatPadState controller;
        PlatJoyState joystick;
        switch (PlatPadKind(i)) {
            case PLAT_PAD_CONTROLLER:
                if (PlatPadReadController(i, &controller)) ReadController(pad, controller);
                break;
            case PLAT_PAD_JOYSTICK:
                if (PlatPadReadJoystick(i, &joystick))
                    SlReadJoystick(pad, PlatPadName(i), joystick);
                break;
            default: break;
        }
        if (!pad.connected) ClearPadState(pad);
        if (pad.connected && !SameState(before, pad)) ++pad.packet;
        CountDownRumble(pad, elapsed);
        pad.buttonsBefore = pad.buttons;
        pad.buttons = SlPadButtonsMask(pad);
        uint32_t changed = pad.buttons ^ pad.buttonsBefore;
        pad.pressed = changed & pad.buttons;
        pad.released = changed & pad.buttonsBefore;
    }
}

// ---- records and navigation ----

static bool ValidPad(int pad) {
    return pad >= 0 && pad < SL_PAD_COUNT;
}

SlPad* SlPadGetState(int pad) {
    assert(ValidPad(pad) && "pad index out of range");
    return ValidPad(pad) ? &s_pads[pad] : nullptr;
}

int SlGetActivePad() {
    return s_activePad;
}

enum : uint32_t {
    STICK_UP = 0x1,
    STICK_DOWN = 0x2,
    STICK_RIGHT = 0x4,
    STICK_LEFT = 0x8,
    BTN_A = 0x100u << SL_PAD_A,
    BTN_B = 0x100u << SL_PAD_B,
    BTN_START = 0x100u << SL_PAD_START,
    BTN_BACK = 0x100u << SL_PAD_BACK,
    PAD_UP = 0x100u << SL_PAD_UP,
    PAD_DOWN = 0x100u << SL_PAD_DOWN,
    PAD_LEFT = 0x100u << SL_PAD_LEFT,
    PAD_RIGHT = 0x100u << SL_PAD_RIGHT,
};

static void PostNavigation(int pad, int32_t type) {
    SlPostEvent(type, pad, 0);
    s_activePad = pad;
    s_pads[pad].navTime = TimerNow();
}

void SlPadMenuEvents(int pad) {
    assert(ValidPad(pad) && "pad index out of range");
    if (!ValidPad(pad)) return;
    uint32_t p = s_pads[pad].pressed, r = s_pads[pad].released;
    if (p & BTN_START) PostNavigation(pad, SL_PADSTART);
    if (r & BTN_START) PostNavigation(pad, SL_PADSTART + 1);
    if (p & BTN_A) PostNavigation(pad, SL_MENUSELECT);
    if (r & BTN_A) PostNavigation(pad, SL_MENUSELECT + 1);
    if (p & (BTN_B | BTN_BACK)) PostNavigation(pad, SL_MENUBACK);
    if (r & (BTN_B | BTN_BACK)) PostNavigation(pad, SL_MENUBACK + 1);
    // A diagonal on the direction pad is masked on both axes; vertical releases go unposted.
    bool horizontal = p & (PAD_LEFT | PAD_RIGHT), vertical = p & (PAD_UP | PAD_DOWN);
    if ((p & STICK_UP) || ((p & PAD_UP) && !horizontal))
        PostNavigation(pad, SL_MENUUP);
    else if ((p & STICK_DOWN) || ((p & PAD_DOWN) && !horizontal))
        PostNavigation(pad, SL_MENUDOWN);
    if ((p & STICK_RIGHT) || ((p & PAD_RIGHT) && !vertical))
        PostNavigation(pad, SL_MENURIGHT);
    else if ((p & STICK_LEFT) || ((p & PAD_LEFT) && !vertical))
        PostNavigation(pad, SL_MENULEFT);
    if (r & (STICK_RIGHT | PAD_RIGHT))
        PostNavigation(pad, SL_MENURIGHT + 1);
    else if (r & (STICK_LEFT | PAD_LEFT))
        PostNavigation(pad, SL_MENULEFT + 1);
}

void SlRumblePulse(int pad, float left, float right, float seconds) {
    assert(ValidPad(pad) && "pad index out of range");
    if (!ValidPad(pad) || !(seconds > 0)) return;
    SlPad& record = s_pads[pad];
    auto motor = [](float v) { return v > 1.0f ? 1.0f : v > 0 ? v : 0.0f; };
    // Two pulses in one frame (one per motor) both stay.
    record.rumbleLeft = std::fmax(record.rumbleLeft, motor(left));
    record.rumbleRight = std::fmax(record.rumbleRight, motor(right));
    record.rumbleSeconds = std::fmax(record.rumbleSeconds, seconds);
}
