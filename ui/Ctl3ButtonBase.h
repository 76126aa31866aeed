// What every clickable control shares: hovering, pressing and releasing with the mouse or the
// select key, the check and radio behaviour, and the short flash when it gains the focus.
#pragma once

#include "ui/Ctl3Base.h"

class Ctl3ButtonBase : public Ctl3Base {
  public:
    int Create(EntNode* node) override;
    int Update(float seconds) override; // the flash runs on the frame time
    int OnMessage(const SlEvent* event) override;
    void GainFocus() override;
    void Release() override;

    virtual void Flash();
    virtual void SetRadioMode(bool on);

    // How far the drawn rectangle grows on every side for the flash now; 0 once it is over.
    float FlashSwell() const;

    float flashTimer = 0.0f;
    float flashAmplitude = 4.0f;
    uint8_t hovered = 0;
    uint8_t radioMode = 0;
};
