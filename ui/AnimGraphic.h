// A looping flip-book: frames of one cell stacked downwards in one texture, shown in turn at a
// fixed rate (the animated logo, the in-game panel's lights).
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3Base.h"
#include "ui/Ctl3Strip.h"

class AnimGraphic : public Ctl3Base {
  public:
    int Create(EntNode* node) override;
    int Start() override;   // loads the texture, then the layout
    int Destroy() override; // releases it
    int Update(float seconds) override;
    int DrawPre() override;
    int VarsChanged() override;

    Ctl3Strip image; // the texture name and the first frame's cell
    int32_t frames = 1;
    float rate = 0.25f; // frames per second
    float frameTimer = 0.0f;
    int32_t frame = 0;
};

intptr_t EcAnimGraphicProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
