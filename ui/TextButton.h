// A button that is its label: sized by the label's width and aligned about its position.
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3ButtonBase.h"

class TextButton : public Ctl3ButtonBase {
  public:
    int Start() override;
    int Destroy() override; // a pressed button gives the active pad a right-motor pulse
    int DrawPre() override; // 0 without a font
    int VarsChanged() override;

    // The rectangle from the label's width and "horizAlign".
    void Layout();
};

intptr_t EcTextButtonProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
