// The second text button.
#include "ui/TextButton2.h"

#include "I3d/Font.h"
#include "engine/PropDb.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/UiClass.h"

const char16_t* TextButton2::DrawnText() {
    return Ctl3ShownText(this);
}

void TextButton2::Layout() {
    if (!Ctl3StyleFont(this, horizAlign, vertAlign)) return;
    const float w = FontTextWidth(font, DrawnText());
    rect = {pos.x, pos.y, pos.x + w, pos.y + Ctl3LineHeight(this)};
}

int TextButton2::Start() {
    Layout();
    return Ctl3ButtonBase::Start();
}

int TextButton2::DrawPre() {
    if (!visible || !font) return 0;
    Layout();
    font->colour = Ctl3TextColour(this);
    const float offset = Ctl3PressOffset(this);
    FontDraw(font, pos.x + offset, pos.y + offset, DrawnText());
    return 1;
}

int TextButton2::VarsChanged() {
    Layout();
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "TextButton2");
        Ctl3AddNamePos(&s_db);
        Ctl3AddTextLayout(&s_db);
    }
    return &s_db;
}

const WorldClassDef kClass = {"TextButton2", Db, WorldMake<TextButton2>, nullptr};
} // namespace

intptr_t EcTextButton2Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
