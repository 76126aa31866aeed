// A text button that always spans [x, x + w] and draws at its position with the font aligned by
// its own "horizAlign" and "vertAlign".
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3ButtonBase.h"

class TextButton2 : public Ctl3ButtonBase {
  public:
    int Start() override;
    int DrawPre() override; // 0 without a font
    int VarsChanged() override;

    // The text drawn and measured: the label (check boxes add their prefix).
    virtual const char16_t* DrawnText();
    void Layout();
};

intptr_t EcTextButton2Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
