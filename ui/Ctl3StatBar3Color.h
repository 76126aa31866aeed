// A value from 0 to 1 shown as a bar over a grey background, green, yellow or red as it passes
// two thresholds: power use and wear. Menus set the style's value and colours directly.
#pragma once

#include "I3d/StatBar.h"
#include "engine/EntTree.h"
#include "ui/Ctl3Base.h"

class Ctl3StatBar3Color : public Ctl3Base {
  public:
    int Create(EntNode* node) override;
    int Start() override; // the layout
    int Update(float seconds) override;
    int DrawPre() override;
    int VarsChanged() override; // the layout

    // "width" by "height" from the position; "hAlign" 1 centres it on x, 2 ends it at x. The
    // rectangle is copied into the style.
    void Layout();

    StatBar3Style style;
    float barTimer = 0.0f; // counts down while not negative; nothing reads it
};

intptr_t EcCtl3StatBar3ColorProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
