// A textured or plain quad: backgrounds, panels, icons, and pictures that expire, fading out
// over their last seconds and then removing themselves from their menu.
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3Base.h"
#include "ui/Ctl3Strip.h"

class StaticGraphic : public Ctl3Base {
  public:
    int Create(EntNode* node) override;
    int Start() override;   // loads the texture, then the layout
    int Destroy() override; // releases it
    int Update(float seconds) override;
    int DrawPre() override;
    int VarsChanged() override;

    // The rectangle: centred on the position with "hAlign" 1 (right and bottom edges one unit
    // in), else from the position.
    Ctl3Rect Layout() const;
    // The parent's alpha (when fading with it) times the lifetime fade, within 0..1.
    float AlphaFactor();

    char textureName[CTL3_TEXTURE_NAME_MAX + 1] = {};
    float fadeOutPeriod = 0.0f;
    uint8_t modulate = 1; // the texture tinted by the colour; clear: alpha only
    int32_t slot = -1;
    Ctl3Rect uv = {0.0f, 0.0f, 1.0f, 1.0f};
    float lifetime = 0.0f; // above 0: counts down, and the control ends itself at 0
    float flashTimer = 0.0f;
    float flashAmplitude = 1.0f;
};

intptr_t EcStaticGraphicProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
