// The frame of the mouse cursor's image the cursor entity shows: the management camera writes
// 1 normally, 2 while it pans and 3 while it rotates.
#pragma once

#include <cstdint>

extern int32_t g_cursorFrameIndex;
