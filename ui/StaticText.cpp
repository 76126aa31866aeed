// The static text.
#include "ui/StaticText.h"

#include "I3d/Font.h"
#include "engine/PropDb.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/UiClass.h"

#include <cmath>

int StaticText::Create(EntNode* n) {
    Ctl3Base::Create(n);
    colour = STATIC_TEXT_COLOUR;
    return 1;
}

int StaticText::DrawPre() {
    // A position a script broke must not reach the device as NaN vertices.
    if (!visible || !std::isfinite(pos.x) || !std::isfinite(pos.y)) return 1;
    if (!Ctl3StyleFont(this, horizAlign, vertAlign)) return 1;
    // The rectangle is the text's extent where it is drawn, as the other controls keep theirs
    // (the debug outline and a layout's checks read it).
    float w = 0.0f, h = 0.0f;
    FontMeasure(font, Ctl3ShownText(this), &w, &h, 0);
    const float left = horizAlign == 1 ? pos.x - w * 0.5f : horizAlign == 2 ? pos.x - w : pos.x;
    const float top = vertAlign == 1   ? pos.y - font->cellHeight * 0.5f
                      : vertAlign == 2 ? pos.y - font->cellHeight
                                       : pos.y;
    rect = {left, top, left + w, top + h};
    font->colour = Ctl3FadedColour(this, colour);
    // The font is shared: its clip is this text's only while it is drawn.
    const float keep = font->clipWidth;
    font->clipWidth = clipWidth > 0.0f ? clipWidth : 0.0f;
    FontDraw(font, pos.x, pos.y, Ctl3ShownText(this));
    font->clipWidth = keep;
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "StaticText");
        Ctl3AddNamePos(&s_db);
        Ctl3AddScaledTextLayout(&s_db);
    }
    return &s_db;
}

const WorldClassDef kClass = {"StaticText", Db, WorldMake<StaticText>, nullptr};
} // namespace

intptr_t EcStaticTextProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
