// The graphic check box.
#include "ui/GraphicCheckBox.h"

#include "I3d/Font.h"
#include "engine/PropDb.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/UiClass.h"

#include <cmath>

namespace {
// The control kit's check cell: 22 x 20.
constexpr int32_t kCell[4] = {0, 0, 21, 19};
} // namespace

int GraphicCheckBox::Create(EntNode* n) {
    Ctl3ButtonBase::Create(n);
    box.left = kCell[0];
    box.top = kCell[1];
    box.right = kCell[2];
    box.bottom = kCell[3];
    textAlign = 2;
    return 1;
}

void GraphicCheckBox::Layout() {
    if (horizAlign == 1) horizAlign = 0;
    vertAlign = 0;
    if (!Ctl3StyleFont(this, 0, vertAlign)) return;
    labelWidth = FontTextWidth(font, Ctl3ShownText(this));
    gap = FontTextWidth(font, u" ");
    const float total = std::floor(float(box.CellWidth()) + labelWidth + gap);
    const float cellH = float(box.CellHeight());
    if (horizAlign == 2)
        rect = {pos.x - total, pos.y, pos.x, pos.y + cellH};
    else
        rect = {pos.x, pos.y, pos.x + total, pos.y + cellH};
}

bool GraphicCheckBox::BoxFirst() const {
    if (textAlign == 0) return false;
    if (textAlign == 1) return horizAlign != 2;
    return true;
}

void GraphicCheckBox::Place(float* boxX, float* boxY, float* labelX, float* labelY) const {
    // The box's bottom sits one line below the position.
    *boxY = pos.y + Ctl3LineHeight(this) - float(box.CellHeight());
    *labelY = pos.y;
    if (BoxFirst()) {
        *boxX = rect.left;
        *labelX = rect.left + float(box.CellWidth()) + gap;
    } else {
        *labelX = rect.left;
        *boxX = rect.right - float(box.CellWidth());
    }
}

int GraphicCheckBox::Start() {
    Ctl3StripLoad(&box);
    Layout();
    return Ctl3ButtonBase::Start();
}

int GraphicCheckBox::Destroy() {
    Ctl3StripRelease(&box);
    return Ctl3ButtonBase::Destroy();
}

int GraphicCheckBox::Frame() const {
    const int s = state >= CTL3_NORMAL && state <= CTL3_PRESSED ? state : CTL3_NORMAL;
    return checked ? s + 4 : s;
}

int GraphicCheckBox::DrawPre() {
    if (!visible || !font) return 0;
    Layout();
    float bx, by, lx, ly;
    Place(&bx, &by, &lx, &ly);
    const float d = FlashSwell();
    Ctl3StripDraw(box, Frame(), bx - d, by - d, bx + float(box.CellWidth()) + d,
                  by + float(box.CellHeight()) + d, Ctl3FadedColour(this, colour));
    Ctl3StyleFont(this, 0, vertAlign);
    font->colour = Ctl3TextColour(this);
    FontDraw(font, lx, ly, Ctl3ShownText(this));
    return 1;
}

int GraphicCheckBox::VarsChanged() {
    Layout();
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "GraphicCheckBox");
        Ctl3AddNamePos(&s_db);
        PropDbAddStringBlank(&s_db, "textureName", PROP_OFFSET(GraphicCheckBox, textureName),
                             CTL3_TEXTURE_NAME_MAX);
        PropDbAddStringBlank(&s_db, "textureCkBox", PROP_OFFSET(GraphicCheckBox, box.textureName),
                             CTL3_TEXTURE_NAME_MAX);
        PropDbAddInt(&s_db, "textAlign", PROP_OFFSET(GraphicCheckBox, textAlign), 2);
        PropDbAddInt(&s_db, "hAlign", PROP_OFFSET(GraphicCheckBox, horizAlign), 0);
        PropDbAddInt(&s_db, "vAlign", PROP_OFFSET(GraphicCheckBox, vertAlign), 0);
    }
    return &s_db;
}

const WorldClassDef kClass = {"GraphicCheckBox", Db, WorldMake<GraphicCheckBox>, nullptr};
} // namespace

intptr_t EcGraphicCheckBoxProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
