// A value from 0 to 1 set by dragging along a track with the mouse or by holding the left and
// right keys on the focused slider (volumes, scroll speed). Every change posts (27, id, 0).
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3Base.h"

enum : uint32_t {
    SLIDER_LABEL_NORMAL = 0xFFEFEFEFu,
    SLIDER_LABEL_FOCUSED = 0xB4F0F000u, // 0xF0F000 with alpha 180
    SLIDER_TRACK_NORMAL = 0xFF65008Eu,
    SLIDER_TRACK_FOCUSED = 0xB4FFFF00u, // 0xFFFF00 with alpha 180
    SLIDER_DISABLED = 0xFF404040u,
    SLIDER_FILL = 0xFFF10000u,
    SLIDER_KNOB = 0xFF000040u,
};

// Geometry of the drawing inside the track: the filled part's inset and the knob bar's width.
inline constexpr float kSliderFillInset = 2.0f;
inline constexpr float kSliderKnobWidth = 6.0f;

class Slider : public Ctl3Base {
  public:
    int Create(EntNode* node) override;
    int Start() override; // the layout
    int Update(float seconds) override;
    int DrawPre() override;
    int VarsChanged() override; // the layout
    int OnMessage(const SlEvent* event) override;

    // The rectangle and the track from the label's width, the font, the gap and the track.
    void Layout();
    // Clamped into 0..1; a NaN is refused (false) and the value stays.
    bool SetValue(float v);
    float GetValue() const { return value; }
    void SetTrackLength(float length) { trackLength = length; }
    void SetKnobHeight(float h) { knobHeight = h; }
    void SetLabelGap(float gap) { labelGap = gap; }
    void SetTrackAlign(int32_t align) { trackAlign = align; }
    // Where the value sits along the track.
    float ValueX() const { return trackLeft + value * (trackRight - trackLeft); }

    uint32_t textColour = 0xFFF0F0F0u; // kept for menus that read it; the label draws by state
    float trackLength = 0.0f;
    float knobHeight = 0.0f; // the control kit sets the font's line height
    float value = 0.0f;
    int32_t keyDirection = 0; // -1 left held, 1 right held on the focused slider
    float labelGap = 0.0f;    // the control kit sets the width of one space
    float labelWidth = 0.0f;
    float lineHeight = 0.0f;
    float totalWidth = 0.0f;
    int32_t trackAlign = 0; // 2: the track at the left end, else at the right end
    uint8_t hovered = 0;
    float trackLeft = 0.0f, trackRight = 0.0f;
    uint8_t buttonDown = 0;
    float pointerX = 0.0f, pointerY = 0.0f;

  private:
    // Inside the rectangle; a slider without a font has none.
    bool Inside(float x, float y) const;
    // The value at the pointer's x when it lies on a track of some length; posts the change.
    void FollowPointer();
};

intptr_t EcSliderProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
