// The text button: layout by "horizAlign", drawn from the rectangle's top left.
#include "ui/TextButton.h"

#include "I3d/Font.h"
#include "engine/PropDb.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/UiClass.h"

void TextButton::Layout() {
    if (!Ctl3StyleFont(this, 0, 0)) return;
    const float w = FontTextWidth(font, Ctl3ShownText(this));
    const float h = Ctl3LineHeight(this);
    float left = pos.x;
    if (horizAlign == 1)
        left = pos.x - w * 0.5f;
    else if (horizAlign == 2)
        left = pos.x - w;
    rect = {left, pos.y, left + w, pos.y + h};
}

int TextButton::Start() {
    Layout();
    return Ctl3ButtonBase::Start();
}

int TextButton::Destroy() {
    if (state == CTL3_PRESSED) Ctl3RumbleRight();
    return Ctl3ButtonBase::Destroy();
}

int TextButton::DrawPre() {
    if (!visible || !font) return 0;
    Layout(); // also styles the font
    font->colour = Ctl3TextColour(this);
    const float offset = Ctl3PressOffset(this);
    FontDraw(font, rect.left + offset, rect.top + offset, Ctl3ShownText(this));
    return 1;
}

int TextButton::VarsChanged() {
    Layout();
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "TextButton");
        Ctl3AddNamePos(&s_db);
        Ctl3AddTextLayout(&s_db);
    }
    return &s_db;
}

const WorldClassDef kClass = {"TextButton", Db, WorldMake<TextButton>, nullptr};
} // namespace

intptr_t EcTextButtonProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
