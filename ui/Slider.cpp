// The slider: layout, mouse and key input, and the track, fill, knob and label drawing.
#include "ui/Slider.h"

#include "I3d/Font.h"
#include "I3d/Primitives.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "ui/Ctl3Draw.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/UiClass.h"

#include <cmath>

namespace {
constexpr float kKeyRangePerSecond = 0.5f;

void PostChange(const Slider* s) {
    SlPostEvent(CTL3_EVENT, s->id, CTL3_CLICK);
}
} // namespace

int Slider::Create(EntNode* n) {
    Ctl3Base::Create(n);
    textColour = 0xFFF0F0F0u;
    value = 0.0f;
    return 1;
}

int Slider::Start() {
    Layout();
    return Ctl3Base::Start();
}

int Slider::VarsChanged() {
    Layout();
    return 1;
}

void Slider::Layout() {
    // Centring is not offered: the track would have no fixed end to line up with its neighbours.
    if (horizAlign == 1) horizAlign = 0;
    vertAlign = 0;
    const float x = pos.x, y = pos.y;
    if (!Ctl3StyleFont(this, 0, 0)) {
        // No font, no control: an empty rectangle and a track of no length.
        labelWidth = lineHeight = totalWidth = 0.0f;
        rect = {x, y, x, y};
        trackLeft = trackRight = x;
        return;
    }
    labelWidth = FontTextWidth(font, label);
    lineHeight = Ctl3LineHeight(this);
    totalWidth = std::trunc(labelWidth) + std::trunc(labelGap) + trackLength;
    const float bottom = y + std::trunc(lineHeight);
    if (horizAlign == 2)
        rect = {x - totalWidth, y, x, bottom};
    else
        rect = {x, y, x + totalWidth, bottom};
    if (trackAlign == 2) {
        trackLeft = rect.left;
        trackRight = rect.left + trackLength;
    } else {
        trackLeft = rect.right - trackLength;
        trackRight = rect.right;
    }
}

bool Slider::SetValue(float v) {
    if (std::isnan(v)) return false;
    value = v < 0.0f ? 0.0f : v > 1.0f ? 1.0f : v;
    return true;
}

bool Slider::Inside(float x, float y) const {
    return rect.right > rect.left && Ctl3HitTest(this, x, y);
}

void Slider::FollowPointer() {
    // A track of no length (or a broken one) has no position to take a value from.
    const float length = trackRight - trackLeft;
    if (!(length > 0.0f) || !std::isfinite(length)) return;
    if (!(pointerX >= trackLeft && pointerX <= trackRight)) return;
    if (SetValue((pointerX - trackLeft) / length)) PostChange(this);
}

int Slider::OnMessage(const SlEvent* event) {
    if (!event) return 1;
    switch (event->type) {
        case SL_MOUSE0UP: buttonDown = 0; break;
        case SL_MOUSE0DOWN:
            buttonDown = 1;
            if (enabled && state == CTL3_FOCUSED) FollowPointer();
            break;
        case SL_MOUSEPOS:
            pointerX = SlUnpackFloat(event->a);
            pointerY = SlUnpackFloat(event->b);
            hovered = Inside(pointerX, pointerY);
            if (!hovered) {
                state = CTL3_NORMAL;
            } else if (state == CTL3_NORMAL && enabled) {
                Ctl3SetFocus(this);
                state = CTL3_FOCUSED;
                buttonDown = 0;
            }
            if (enabled && state == CTL3_FOCUSED && buttonDown) FollowPointer();
            break;
        case SL_MENULEFT:
        case SL_MENURIGHT:
            if (!Ctl3IsFocused(this)) break;
            keyDirection = event->type == SL_MENULEFT ? -1 : 1;
            // Left and right belong to the slider: they never move the focus off it.
            const_cast<SlEvent*>(event)->type = 1;
            return 0;
        case SL_MENULEFT + 1:
        case SL_MENURIGHT + 1: keyDirection = 0; break;
        default: break;
    }
    return Ctl3Base::OnMessage(event);
}

int Slider::Update(float seconds) {
    // Real frame time: the options screens pause the game, and their sliders must still move.
    if (enabled && state == CTL3_FOCUSED && keyDirection != 0) {
        if (SetValue(value + float(keyDirection) * kKeyRangePerSecond * g_frameSeconds))
            PostChange(this);
    }
    return Ctl3Base::Update(seconds);
}

int Slider::DrawPre() {
    if (!visible || !font) return 1;
    Layout();
    if (!std::isfinite(rect.left) || !std::isfinite(rect.right) || !std::isfinite(rect.top) ||
        !std::isfinite(rect.bottom))
        return 1;
    uint32_t labelColour = SLIDER_LABEL_NORMAL, trackColour = SLIDER_TRACK_NORMAL;
    if (!enabled) {
        labelColour = trackColour = SLIDER_DISABLED;
    } else if (state == CTL3_FOCUSED) {
        labelColour = SLIDER_LABEL_FOCUSED;
        trackColour = SLIDER_TRACK_FOCUSED;
    }
    const float top = pos.y, bottom = pos.y + knobHeight;
    if (trackRight > trackLeft && knobHeight > 0.0f) {
        Ctl3Set2DStates(-1, Ctl3FadedColour(this, trackColour));
        I3dDrawQuad(trackLeft, top, trackRight, bottom, 0);
    }
    // The value is a public field: a NaN written past SetValue draws no fill or knob.
    if (trackRight > trackLeft && knobHeight > 0.0f && std::isfinite(value)) {
        const float at = ValueX();
        const float fillRight = std::fmin(at, trackRight - kSliderFillInset);
        if (fillRight > trackLeft + kSliderFillInset && knobHeight > 2 * kSliderFillInset) {
            Ctl3Set2DStates(-1, Ctl3FadedColour(this, SLIDER_FILL));
            I3dDrawQuad(trackLeft + kSliderFillInset, top + kSliderFillInset, fillRight,
                        bottom - kSliderFillInset, 0);
        }
        Ctl3Set2DStates(-1, Ctl3FadedColour(this, SLIDER_KNOB));
        I3dDrawQuad(at - kSliderKnobWidth / 2, top, at + kSliderKnobWidth / 2, bottom, 0);
    }
    // The label on the side away from the track.
    const float labelX = trackAlign == 2 ? rect.right - labelWidth : rect.left;
    font->colour = Ctl3FadedColour(this, labelColour);
    FontDraw(font, labelX, top, label);
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "Slider");
        Ctl3AddNamePos(&s_db);
        Ctl3AddScaledTextLayout(&s_db);
    }
    return &s_db;
}

const WorldClassDef kClass = {"Slider", Db, WorldMake<Slider>, nullptr};
} // namespace

intptr_t EcSliderProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
