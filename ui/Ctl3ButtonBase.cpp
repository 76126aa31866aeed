// The button base: pointer, mouse button and select key input, checks and the flash.
#include "ui/Ctl3ButtonBase.h"

#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"

#include <cmath>

namespace {
constexpr float kFlashSeconds = 0.25f;
constexpr float kFourPi = 12.566368f;
} // namespace

int Ctl3ButtonBase::Create(EntNode* n) {
    Ctl3Base::Create(n);
    colour = 0xFFFFFFFFu;
    return 1;
}

int Ctl3ButtonBase::Update(float seconds) {
    if (flashTimer >= 0.0f) flashTimer -= g_frameSeconds;
    return Ctl3Base::Update(seconds);
}

int Ctl3ButtonBase::OnMessage(const SlEvent* event) {
    if (Ctl3Base::OnMessage(event) == 0) return 0;
    if (!enabled || !event) return 1;
    switch (event->type) {
        case SL_MOUSEPOS:
            hovered = Ctl3HitTest(this, SlUnpackFloat(event->a), SlUnpackFloat(event->b));
            if (!hovered) {
                state = CTL3_NORMAL;
            } else if (state == CTL3_NORMAL) {
                Ctl3SetFocus(this);
                state = CTL3_FOCUSED;
            }
            break;
        case SL_MOUSE0DOWN:
            // Not only after a move: a button made under a still pointer takes the click too.
            if (state != CTL3_PRESSED && Ctl3HoverAtPress(this)) hovered = 1;
            if (state == CTL3_FOCUSED) Press();
            break;
        case SL_MOUSE0UP:
            if (hovered)
                Release();
            else
                state = CTL3_NORMAL;
            break;
        case SL_MENUSELECT:
            if (Ctl3NavEnabled() && Ctl3IsFocused(this)) Press();
            break;
        case SL_MENUSELECT + 1:
            if (Ctl3NavEnabled() && Ctl3IsFocused(this)) Release();
            break;
        default: break;
    }
    // Several buttons may see the same event.
    return 1;
}

void Ctl3ButtonBase::GainFocus() {
    Ctl3Base::GainFocus();
    Flash();
}

void Ctl3ButtonBase::Release() {
    if (state == CTL3_PRESSED) {
        if (radioMode) {
            if (radioGroup >= 0) Ctl3ClearRadioGroup(this);
            checked = 1;
        } else {
            if (!checked && radioGroup >= 0) Ctl3ClearRadioGroup(this);
            checked = !checked;
        }
    }
    Ctl3Base::Release();
}

void Ctl3ButtonBase::Flash() {
    flashTimer = kFlashSeconds;
}

void Ctl3ButtonBase::SetRadioMode(bool on) {
    radioMode = on ? 1 : 0;
}

float Ctl3ButtonBase::FlashSwell() const {
    if (!(flashTimer >= 0.0f)) return 0.0f;
    return std::sin(flashTimer * kFourPi) * flashAmplitude;
}
