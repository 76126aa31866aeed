// A bounded integer value with an increment and a decrement half: the mouse only, no keyboard
// navigation or select key.
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3ButtonBase.h"
#include "ui/Ctl3Strip.h"

#include <climits>

enum : int32_t { INCDEC_HALF_NONE = 0, INCDEC_HALF_UP = 1, INCDEC_HALF_DOWN = 2 };

class IncDecButton : public Ctl3ButtonBase {
  public:
    int Create(EntNode* node) override;
    int Start() override;
    int Destroy() override;
    int DrawPre() override;
    int Draw() override; // adds the cell and its two halves to the base outline
    int VarsChanged() override;
    int OnMessage(const SlEvent* event) override;
    // The value text, not the label.
    void SetTextW(const char16_t* text) override;
    void SetText(const char* text) override;

    void Layout();
    // The width left of the arrows that the value text may take.
    float TextRoom() const;
    // Inside the box or its margin round the arrows.
    bool Hits(float x, float y) const;
    float SplitY() const { return (rect.top + rect.bottom) * 0.5f; }
    // value +- step when the result stays in range (worked in 64 bits, so no step overflows).
    void Step(int direction);

    int32_t value = 0;
    int32_t step = 1;
    // Until the creator sets the range, the value does not move.
    int32_t minimum = INT_MAX;
    int32_t maximum = INT_MIN;
    char16_t valueText[CTL3_LABEL_MAX + 1] = {};
    int32_t half = INCDEC_HALF_NONE;
    float boxWidth = 0.0f; // 0: the body image's cell width
    // What the last draw wrote (the value and its unit, whole) and the scale it took to fit.
    char16_t drawnText[CTL3_LABEL_MAX + 1] = {};
    float drawnScale = 1.0f;
    Ctl3Strip body, up, down;
};

intptr_t EcIncDecButtonProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
