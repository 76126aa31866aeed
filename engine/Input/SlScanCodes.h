// The DirectInput set-1 scancodes of the keys the game reads, as key events carry them in `a`
// (extended keys with 0x80). The SDL backend's table (platform/sdl/InputScancodes.cpp) makes them.
#pragma once

enum : int {
    DIK_ESCAPE = 0x01,
    DIK_BACK = 0x0E, // backspace
    DIK_TAB = 0x0F,
    DIK_Q = 0x10,
    DIK_W = 0x11,
    DIK_E = 0x12,
    DIK_R = 0x13,
    DIK_O = 0x18,
    DIK_RETURN = 0x1C,
    DIK_LCONTROL = 0x1D,
    DIK_A = 0x1E,
    DIK_S = 0x1F,
    DIK_D = 0x20,
    DIK_F = 0x21,
    DIK_LSHIFT = 0x2A,
    DIK_C = 0x2E,
    DIK_RSHIFT = 0x36,
    DIK_LMENU = 0x38, // left Alt
    DIK_SPACE = 0x39,
    DIK_F1 = 0x3B,
    // The numeric pad: the edit keys of a keyboard without the separate block.
    DIK_NUMPAD7 = 0x47,
    DIK_NUMPAD8 = 0x48,
    DIK_NUMPAD4 = 0x4B,
    DIK_NUMPAD6 = 0x4D,
    DIK_NUMPAD1 = 0x4F,
    DIK_NUMPAD2 = 0x50,
    DIK_NUMPAD0 = 0x52,
    DIK_DECIMAL = 0x53,
    // The extended keys.
    DIK_RCONTROL = 0x9D,
    DIK_RMENU = 0xB8, // right Alt
    DIK_HOME = 0xC7,
    DIK_UP = 0xC8,
    DIK_LEFT = 0xCB,
    DIK_RIGHT = 0xCD,
    DIK_END = 0xCF,
    DIK_DOWN = 0xD0,
    DIK_INSERT = 0xD2,
    DIK_DELETE = 0xD3
};
