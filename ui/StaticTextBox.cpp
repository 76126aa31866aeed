// The text box: wrapping, the cross-fade and the block's drawing.
#include "ui/StaticTextBox.h"

#include "I3d/Font.h"
#include "I3d/Primitives.h"
#include "engine/FrameClock.h"
#include "engine/PropDb.h"
#include "ui/Ctl3Draw.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/UiClass.h"

#include <cmath>

namespace {
constexpr float kIndent = 32.0f;

uint32_t Scaled(uint32_t argb, float alpha) {
    float a = float(argb >> 24) * alpha;
    if (!(a > 0.0f)) a = 0.0f;
    if (a > 255.0f) a = 255.0f;
    return (argb & 0x00FFFFFFu) | (uint32_t(a) << 24);
}
} // namespace

int StaticTextBox::Create(EntNode* n) {
    Ctl3Base::Create(n);
    width = 100.0f;
    state = TEXT_BOX_SHOWN;
    return 1;
}

void StaticTextBox::SetText(const char16_t* text) {
    Ctl3PageSet(&pages[current ^ 1], font, text, width);
    if (state == TEXT_BOX_SHOWN || state == TEXT_BOX_FADING_IN) {
        // Fade out from the alpha reached: a shown box from 1, a box fading in from where it is.
        // The time reached is held to 0..fade time rather than taken from the leftover timer
        // as it is: a shown box's leftover would start the fade past its end, alpha above 1.
        float t = state == TEXT_BOX_SHOWN ? 0.0f : timer;
        if (!(t > 0.0f)) t = 0.0f;
        if (t > fadeTime) t = fadeTime;
        timer = fadeTime - t;
        state = TEXT_BOX_FADING_OUT;
    }
}

void StaticTextBox::Flip() {
    current ^= 1;
    state = TEXT_BOX_SHOWN;
    fadeAlpha = 1.0f;
}

int StaticTextBox::Update(float) {
    const float dt = g_frameSeconds;
    const float span = fadeTime > 0.0f ? fadeTime : 1.0f;
    if (state == TEXT_BOX_FADING_OUT) {
        timer -= dt;
        if (timer > 0.0f) {
            fadeAlpha = timer / span;
        } else {
            current ^= 1;
            state = TEXT_BOX_FADING_IN;
            timer = fadeTime;
            fadeAlpha = 0.0f;
        }
    } else if (state == TEXT_BOX_FADING_IN) {
        timer -= dt;
        if (timer > 0.0f) {
            fadeAlpha = 1.0f - timer / span;
        } else {
            state = TEXT_BOX_SHOWN;
            fadeAlpha = 1.0f;
        }
    }
    return 1;
}

int StaticTextBox::DrawPre() {
    const Ctl3TextPage& page = Shown();
    if (!visible || !font || page.text[0] == 0) return 1;
    // Geometry a script broke must not reach the device as NaN vertices.
    if (!std::isfinite(pos.x) || !std::isfinite(pos.y) || !(width > 0.0f) || !std::isfinite(width))
        return 1;
    const float alpha = fadeAlpha * Ctl3ParentAlpha(this);
    const float line = Ctl3LineHeight(this);
    const float block = float(page.lineCount) * line;
    const float x = pos.x, y = pos.y;

    if (backing != 0) {
        Ctl3Set2DStates(-1, Scaled(backingColour, alpha));
        if (backing == 1 || backing == 2) {
            const float x0 = horizAlign == 1 ? x - width / 2 : horizAlign == 2 ? x - width : x;
            const float y0 = vertAlign == 1   ? y - block / 2
                             : vertAlign == 2 ? y - (block + line)
                                              : y;
            I3dDrawQuad(x0, y0, x0 + width, y0 + block, 0);
        } else {
            I3dDrawQuad(rect.left, rect.top, rect.right, rect.bottom, 0);
        }
    }

    // The block is placed here; the font aligns each line only horizontally.
    Ctl3StyleFont(this, horizAlign, 0);
    font->colour = Scaled(textColour, alpha);
    float top = vertAlign == 1 ? y - block / 2 : vertAlign == 2 ? y - block : y;
    const float left = indent ? x + kIndent : x;
    char16_t text[CTL3_PAGE_UNITS];
    for (int i = 0; i < page.lineCount; ++i, top += line) {
        Ctl3PageLine(page, i, text);
        if (text[0]) FontDraw(font, left, top, text);
    }
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "StaticTextBox");
        Ctl3AddNamePos(&s_db);
        PropDbAddFloat(&s_db, "hitBox.left", PROP_OFFSET(StaticTextBox, rect.left), 0.0f);
        PropDbAddFloat(&s_db, "hitBox.top", PROP_OFFSET(StaticTextBox, rect.top), 0.0f);
        PropDbAddFloat(&s_db, "hitBox.right", PROP_OFFSET(StaticTextBox, rect.right), 0.0f);
        PropDbAddFloat(&s_db, "hitBox.bottom", PROP_OFFSET(StaticTextBox, rect.bottom), 0.0f);
        Ctl3AddScaledTextLayout(&s_db);
        PropDbAddFloat(&s_db, "width", PROP_OFFSET(StaticTextBox, width), 100.0f);
    }
    return &s_db;
}

const WorldClassDef kClass = {"StaticTextBox", Db, WorldMake<StaticTextBox>, nullptr};
} // namespace

intptr_t EcStaticTextBoxProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
