// A control whose per-frame work and drawing are functions the creating menu supplies, with one
// pointer-sized user word (usually the menu itself) handed to both.
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3Base.h"

using CustomUpdateFn = int (*)(intptr_t user, float seconds);
using CustomDrawFn = int (*)(intptr_t user);

class Custom : public Ctl3Base {
  public:
    // The update function's result, else 1.
    int Update(float seconds) override;
    // The draw function's result while visible, else 1.
    int DrawPre() override;

    CustomUpdateFn updateFn = nullptr;
    CustomDrawFn drawFn = nullptr;
    intptr_t user = 0;
};

intptr_t EcCustomProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
