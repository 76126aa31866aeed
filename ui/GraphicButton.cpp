// The graphic button.
#include "ui/GraphicButton.h"

#include "engine/PropDb.h"
#include "ui/UiClass.h"

int GraphicButton::Create(EntNode* n) {
    Ctl3ButtonBase::Create(n);
    image.left = 0;
    image.top = 1;
    image.right = 0;
    image.bottom = 1;
    return 1;
}

void GraphicButton::Layout() {
    if (image.slot >= 0)
        rect = {pos.x, pos.y, pos.x + float(image.CellWidth()), pos.y + float(image.CellHeight())};
    else
        rect = {pos.x, pos.y, pos.x + width, pos.y + height};
}

int GraphicButton::Start() {
    Ctl3StripLoad(&image);
    Layout();
    return Ctl3ButtonBase::Start();
}

int GraphicButton::Destroy() {
    Ctl3StripRelease(&image);
    return Ctl3ButtonBase::Destroy();
}

int GraphicButton::Frame() const {
    if (checked && radioMode) return CTL3_PRESSED;
    return state >= CTL3_NORMAL && state <= CTL3_PRESSED ? state : CTL3_NORMAL;
}

int GraphicButton::DrawPre() {
    if (!visible) return 1;
    const float d = FlashSwell();
    Ctl3StripDraw(image, Frame(), rect.left - d, rect.top - d, rect.right + d, rect.bottom + d,
                  Ctl3FadedColour(this, colour));
    return 1;
}

int GraphicButton::VarsChanged() {
    Layout();
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "GraphicButton");
        Ctl3AddNamePos(&s_db);
        PropDbAddStringBlank(&s_db, "textureName", PROP_OFFSET(GraphicButton, image.textureName),
                             CTL3_TEXTURE_NAME_MAX);
        PropDbAddInt(&s_db, "left", PROP_OFFSET(GraphicButton, image.left), 0);
        PropDbAddInt(&s_db, "right", PROP_OFFSET(GraphicButton, image.right), 0);
        PropDbAddInt(&s_db, "top", PROP_OFFSET(GraphicButton, image.top), 1);
        PropDbAddInt(&s_db, "bottom", PROP_OFFSET(GraphicButton, image.bottom), 1);
    }
    return &s_db;
}

const WorldClassDef kClass = {"GraphicButton", Db, WorldMake<GraphicButton>, nullptr};
} // namespace

intptr_t EcGraphicButtonProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
