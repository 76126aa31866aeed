// What the application's root-tree builder gives the mouse cursor "Mouse" before starting it:
// its image, the cell of its first shape, the limits of the pointer and its mode. The cursor's
// class installs the hook that applies it when the class is registered; until then the builder's
// set-up is not applied.
#pragma once

#include "world/CursorFrame.h" // g_cursorFrameIndex, which the cursor shows

#include <cstdint>

class ENTBASE;

struct MouseCursorSetup {
    const char* image;                                // the cursor texture, in the data folder
    int32_t cellTop, cellLeft, cellBottom, cellRight; // the first shape, in texture pixels
    float minX, maxX, minY, maxY;                     // the pointer's limits, in menu units
    int32_t mode;
};

// Applies the set-up to a cursor entity and switches the cursor on.
using MouseCursorSetupFn = void (*)(ENTBASE* cursor, const MouseCursorSetup& setup);
// Null removes the hook.
void MouseCursorSetSetupHook(MouseCursorSetupFn hook);
// Through the hook; false when there is none.
bool MouseCursorApplySetup(ENTBASE* cursor, const MouseCursorSetup& setup);
