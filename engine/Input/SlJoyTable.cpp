// The known-controller table: how each joystick by name fills a pad record from its
// DirectInput-shaped state. A joystick whose name no row has exactly reads by "Default".
#include "engine/Input/SlDevices.h"

#include <cstring>

namespace {
enum Kind : uint8_t {
    NONE,       // not set: stays 0
    AXIS,       // a stick axis, shaped
    AXIS_NEG,   // the same, negated
    BUTTON,     // 1.0 while button `index` is down
    AXIS_HALF,  // (axis + 1024) / 2048
    AXIS_UNIT,  // axis / 1024
    AXIS_ABOVE, // axis >= 0: axis / 1024, else 0
    AXIS_BELOW, // axis < 0: -axis / 1024, else 0
    HAT,        // the pad directions, from hat 0
};
enum Axis : uint8_t { X, Y, Z, RX, RY, RZ, SLIDER0 };

struct Src {
    Kind kind;
    uint8_t index;
};

struct Row {
    const char* name;
    Src stick[4];               // left x, left y, right x, right y
    Src button[SL_PAD_BUTTONS]; // in the record's order
};

constexpr Src None{NONE, 0};
constexpr Src Hat{HAT, 0};
constexpr Src Ax(Axis a) {
    return {AXIS, a};
}
constexpr Src Neg(Axis a) {
    return {AXIS_NEG, a};
}
constexpr Src B(uint8_t n) {
    return {BUTTON, n};
}

// clang-format off
// Buttons: A, B, X, Y, right shoulder, left shoulder, left trigger, right trigger, start, back,
// left thumb, right thumb, pad up, down, left, right.
constexpr Row kRows[] = {
    {"Default", {Ax(X), Neg(Y), Ax(RZ), Neg(SLIDER0)},
     {B(0), B(1), B(3), B(4), B(2), B(5), B(6), B(7), B(8), None, None, None, Hat, Hat, Hat, Hat}},
    {"Microsoft SideWinder Game Pad Pro", {Ax(X), Neg(Y), None, None},
     {B(0), B(1), B(3), B(4), B(2), B(5), B(6), B(7), B(8), None, None, None, None, None, None, None}},
    {"Logitech WingMan RumblePad USB", {Ax(X), Neg(Y), Ax(RZ), Neg(SLIDER0)},
     {B(0), B(1), B(3), B(4), B(2), B(5), B(6), B(7), B(8), None, None, None, Hat, Hat, Hat, Hat}},
    {"Logitech RumblePad 2 USB", {Ax(X), Neg(Y), Ax(Z), Neg(RZ)},
     {B(1), B(2), B(0), B(3), B(5), B(4), B(6), B(7), B(9), B(8), B(10), B(11), Hat, Hat, Hat, Hat}},
    {"Gamecube USB Adaptor ", {Ax(X), Neg(Y), Ax(RZ), Neg(Z)},
     {B(0), B(1), B(2), B(3), None, B(6), {AXIS_HALF, RY}, {AXIS_HALF, RX}, B(7), None, None, None,
      B(11), B(10), B(8), B(9)}},
    {"XBCD XBox Gamepad", {Ax(X), Neg(Y), Ax(RX), Neg(RY)},
     {B(0), B(1), B(2), B(3), B(4), B(5), {AXIS_UNIT, Z}, {AXIS_UNIT, RZ}, B(6), B(7), B(8), B(9),
      Hat, Hat, Hat, Hat}},
    {"XBOX 360 For Windows (Controller)", {Ax(X), Neg(Y), Ax(RX), Neg(RY)},
     {B(0), B(1), B(2), B(3), B(5), B(4), {AXIS_ABOVE, Z}, {AXIS_BELOW, Z}, B(7), B(6), B(8), B(9),
      Hat, Hat, Hat, Hat}},
};
// clang-format on

const Row& RowFor(const char* name) {
    for (const Row& row : kRows)
        if (name && std::strcmp(row.name, name) == 0) return row;
    return kRows[0];
}

float Clamp01(float v) {
    return v < 0 ? 0.0f : v > 1.0f ? 1.0f : v;
}

float Value(Src src, const PlatJoyState& state) {
    switch (src.kind) {
        case AXIS: return SlStickShape(SlDiAxis(state.axis[src.index]));
        case AXIS_NEG: return -SlStickShape(SlDiAxis(state.axis[src.index]));
        case BUTTON: return state.button[src.index] & 0x80 ? 1.0f : 0.0f;
        case AXIS_HALF: return Clamp01((float)(state.axis[src.index] + 1024) / 2048.0f);
        case AXIS_UNIT: return Clamp01((float)state.axis[src.index] / 1024.0f);
        case AXIS_ABOVE:
            return state.axis[src.index] >= 0 ? Clamp01((float)state.axis[src.index] / 1024.0f) : 0;
        case AXIS_BELOW:
            return state.axis[src.index] < 0 ? Clamp01((float)-state.axis[src.index] / 1024.0f) : 0;
        default: return 0.0f;
    }
}
} // namespace

const char* SlJoyTableRowName(const char* name) {
    return RowFor(name).name;
}

void SlHatDirections(SlPad& pad, int32_t angle) {
    bool up, down, left, right;
    switch (angle) {
        case -1: up = down = left = right = false; break;
        case 0: up = true, down = left = right = false; break;
        case 4500: up = right = true, down = left = false; break;
        case 9000: right = true, up = down = left = false; break;
        case 13500: down = right = true, up = left = false; break;
        case 18000: down = true, up = left = right = false; break;
        case 22500: down = left = true, up = right = false; break;
        case 27000: left = true, up = down = right = false; break;
        case 31500: up = left = true, down = right = false; break;
        default: return;
    }
    pad.button[SL_PAD_UP] = up ? 1.0f : 0.0f;
    pad.button[SL_PAD_DOWN] = down ? 1.0f : 0.0f;
    pad.button[SL_PAD_LEFT] = left ? 1.0f : 0.0f;
    pad.button[SL_PAD_RIGHT] = right ? 1.0f : 0.0f;
}

void SlReadJoystick(SlPad& pad, const char* name, const PlatJoyState& state) {
    const Row& row = RowFor(name);
    pad.connected = 1;
    pad.type = SL_PAD_DINPUT;
    pad.lx = Value(row.stick[0], state);
    pad.ly = Value(row.stick[1], state);
    pad.rx = Value(row.stick[2], state);
    pad.ry = Value(row.stick[3], state);
    bool hat = false;
    for (int i = 0; i < SL_PAD_BUTTONS; ++i) {
        if (row.button[i].kind == HAT)
            hat = true;
        else
            pad.button[i] = Value(row.button[i], state);
    }
    if (hat) SlHatDirections(pad, state.hat);
}
