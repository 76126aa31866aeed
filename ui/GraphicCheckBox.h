// A check box drawn from an eight-frame image (unchecked normal, focused, pressed; then the same
// checked) with its label in the control's font beside it.
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3ButtonBase.h"
#include "ui/Ctl3Strip.h"

class GraphicCheckBox : public Ctl3ButtonBase {
  public:
    int Create(EntNode* node) override;
    int Start() override;
    int Destroy() override;
    int DrawPre() override; // 0 without a font
    int VarsChanged() override;

    void Layout();
    int Frame() const; // state, + 4 when checked
    // Where box and label go: true puts the box first (left), false the label first.
    bool BoxFirst() const;
    // Box and label origins for the current rectangle.
    void Place(float* boxX, float* boxY, float* labelX, float* labelY) const;

    // Named by the property table but never loaded or drawn.
    char textureName[CTL3_TEXTURE_NAME_MAX + 1] = {};
    Ctl3Strip box;
    int32_t textAlign = 2;
    float labelWidth = 0.0f;
    float gap = 0.0f;
};

intptr_t EcGraphicCheckBoxProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
