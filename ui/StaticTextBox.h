// A block of word-wrapped text inside a box whose content is replaced with a cross-fade: the old
// text fades out, the new one fades in.
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3Base.h"
#include "ui/Ctl3Wrap.h"

enum : int32_t {
    TEXT_BOX_FADING_OUT = 0,
    TEXT_BOX_FADING_IN = 1,
    TEXT_BOX_SHOWN = 2,
};

enum : uint32_t {
    TEXT_BOX_COLOUR = 0x90FFFFFFu,
    TEXT_BOX_BACKING = 0x60404040u,
};

class StaticTextBox : public Ctl3Base {
  public:
    int Create(EntNode* node) override;
    int Update(float seconds) override; // the cross-fade, on the frame time
    int DrawPre() override;

    // Wraps the text into the buffer that is not shown and fades the shown one out towards it.
    // Texts past 1023 code units are cut.
    void SetText(const char16_t* text);
    using Ctl3Base::SetText;
    // Shows the other buffer at once.
    void Flip();

    const Ctl3TextPage& Shown() const { return pages[current]; }

    uint32_t textColour = TEXT_BOX_COLOUR;
    Ctl3TextPage pages[2];
    int32_t current = 0;
    float fadeTime = 0.5f;
    int32_t backing = 0; // 0 none; 1 and 2 behind the block; any other the hit box
    uint32_t backingColour = TEXT_BOX_BACKING;
    float fadeAlpha = 1.0f;
    int32_t indent = 0; // no setter; lines start 32 units right of x when set
};

intptr_t EcStaticTextBoxProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
