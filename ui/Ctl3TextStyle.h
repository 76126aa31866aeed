// How the text buttons and check boxes style their font: colour by state, the press offset, and
// the control's scale, slant and alignment given to the shared font before measuring or drawing.
#pragma once

#include <cstdint>

class Ctl3Base;
class Font;

enum : uint32_t {
    CTL3_TEXT_NORMAL = 0xFFEFEFEFu,
    CTL3_TEXT_FOCUSED = 0xB4F0F000u, // 0xF0F000 with alpha 180
    CTL3_TEXT_PRESSED = 0xFFF0F000u,
    CTL3_TEXT_DISABLED = 0xFF404040u,
};

// The state's colour (disabled wins), its alpha times the parent menu's alpha while the control
// fades with its parent.
uint32_t Ctl3TextColour(Ctl3Base* control);
// The font's line height at the control's vertical scale.
float Ctl3LineHeight(const Ctl3Base* control);
// 0.08 line heights while pressed, else 0.
float Ctl3PressOffset(const Ctl3Base* control);
// Scale, slant and alignment of the control onto its font; false without a font.
bool Ctl3StyleFont(Ctl3Base* control, int32_t hAlign, int32_t vAlign);
// The live text while it is set, else the label.
const char16_t* Ctl3ShownText(const Ctl3Base* control);
