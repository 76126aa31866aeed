// A button drawn from a three-frame image (normal, focused, pressed), sized by its cell.
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3ButtonBase.h"
#include "ui/Ctl3Strip.h"

class GraphicButton : public Ctl3ButtonBase {
  public:
    int Create(EntNode* node) override;
    int Start() override;   // loads the image
    int Destroy() override; // releases it
    int DrawPre() override;
    int VarsChanged() override;

    // The rectangle: the cell at the position, or "width" x "height" without a texture.
    void Layout();
    // The frame of the state; a checked button in radio mode shows the pressed one.
    int Frame() const;

    Ctl3Strip image;
};

intptr_t EcGraphicButtonProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
