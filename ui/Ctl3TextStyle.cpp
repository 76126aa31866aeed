// Styling of the text buttons' font.
#include "ui/Ctl3TextStyle.h"

#include "I3d/Font.h"
#include "ui/Ctl3Base.h"

namespace {
constexpr float kPressOffset = 0.08f;
}

uint32_t Ctl3TextColour(Ctl3Base* control) {
    uint32_t argb = CTL3_TEXT_NORMAL;
    if (!control->enabled)
        argb = CTL3_TEXT_DISABLED;
    else if (control->state == CTL3_FOCUSED)
        argb = CTL3_TEXT_FOCUSED;
    else if (control->state == CTL3_PRESSED)
        argb = CTL3_TEXT_PRESSED;
    return Ctl3FadedColour(control, argb);
}

float Ctl3LineHeight(const Ctl3Base* control) {
    return control->font ? control->font->cellHeight * control->vertScale : 0.0f;
}

float Ctl3PressOffset(const Ctl3Base* control) {
    return control->state == CTL3_PRESSED ? kPressOffset * Ctl3LineHeight(control) : 0.0f;
}

bool Ctl3StyleFont(Ctl3Base* control, int32_t hAlign, int32_t vAlign) {
    Font* font = control->font;
    if (!font) return false;
    FontSetScale(font, control->horizScale, control->vertScale);
    FontSetGlyphOffsetX(font, control->italic);
    font->hAlign = hAlign;
    font->vAlign = vAlign;
    return true;
}

const char16_t* Ctl3ShownText(const Ctl3Base* control) {
    return control->liveText ? control->liveText : control->label;
}
