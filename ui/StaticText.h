// A label that cannot be clicked: one string drawn at a point, or the text a menu keeps up to
// date behind the live-text pointer.
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3Base.h"

enum : uint32_t { STATIC_TEXT_COLOUR = 0xFFF0F0F0u };

class StaticText : public Ctl3Base {
  public:
    int Create(EntNode* node) override;
    int DrawPre() override;

    // Above 0: a left-aligned text longer than this is cut short with "...", so that it stays
    // inside its column.
    float clipWidth = 0.0f;
};

intptr_t EcStaticTextProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
