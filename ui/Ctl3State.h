// The controls' process-wide state that only the control classes touch (the rest is declared
// with the control base).
#pragma once

#include "I3d/Math/SmoothFloat.h"

#include <cstdint>

// The focus highlight: followed every frame, never drawn by any screen.
struct Ctl3Highlight {
    SmoothFloat left, top, right, bottom;
    uint8_t update = 1;
    uint32_t colour = 0x90FFFFFFu;
};
extern Ctl3Highlight g_ctl3Highlight;
// Where the highlight glides to.
void Ctl3HighlightSetTarget(float left, float top, float right, float bottom);
// A 2-unit bar from its left to its right at its bottom edge, blended, untextured.
void Ctl3HighlightDraw();

class Ctl3Base;
// The focus pointer becomes null without LoseFocus (the caller has called it).
void Ctl3ForgetFocus();
