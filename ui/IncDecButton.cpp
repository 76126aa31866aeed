// The value button.
#include "ui/IncDecButton.h"

#include "I3d/Font.h"
#include "I3d/Primitives.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "engine/WideFormat.h"
#include "ui/Ctl3Draw.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/IncDecArt.h"
#include "ui/UiClass.h"

#include <algorithm>
#include <cstring>

namespace {
void SetCell(Ctl3Strip* strip, const IncDecCell& cell) {
    strip->left = cell.left;
    strip->top = cell.top;
    strip->right = cell.right;
    strip->bottom = cell.bottom;
}
} // namespace

int IncDecButton::Create(EntNode* n) {
    Ctl3ButtonBase::Create(n);
    SetCell(&body, kIncDecBodyCell);
    SetCell(&up, kIncDecArrowCell);
    SetCell(&down, kIncDecArrowCell);
    return 1;
}

void IncDecButton::Layout() {
    const float width = boxWidth > 0.0f ? boxWidth : float(body.CellWidth());
    rect = {pos.x, pos.y, pos.x + width, pos.y + float(body.CellHeight())};
}

int IncDecButton::Start() {
    Ctl3StripLoad(&body);
    Ctl3StripLoad(&up);
    Ctl3StripLoad(&down);
    Layout();
    return Ctl3ButtonBase::Start();
}

int IncDecButton::Destroy() {
    Ctl3StripRelease(&body);
    Ctl3StripRelease(&up);
    Ctl3StripRelease(&down);
    return Ctl3ButtonBase::Destroy();
}

int IncDecButton::VarsChanged() {
    Layout();
    return 1;
}

void IncDecButton::Step(int direction) {
    const int64_t next = int64_t(value) + int64_t(direction) * int64_t(step);
    if (direction > 0 && next <= int64_t(maximum)) value = int32_t(next);
    if (direction < 0 && next >= int64_t(minimum)) value = int32_t(next);
}

int IncDecButton::OnMessage(const SlEvent* event) {
    if (!event || !enabled) return 1;
    switch (event->type) {
        case SL_MOUSEPOS: {
            const float x = SlUnpackFloat(event->a), y = SlUnpackFloat(event->b);
            hovered = Hits(x, y);
            if (hovered) {
                half = y < SplitY() ? INCDEC_HALF_UP : INCDEC_HALF_DOWN;
                if (state == CTL3_NORMAL) {
                    Ctl3SetFocus(this);
                    state = CTL3_FOCUSED;
                }
            } else {
                half = INCDEC_HALF_NONE;
                state = CTL3_NORMAL;
            }
            break;
        }
        case SL_MOUSE0DOWN: {
            // Not only after a move: a box made under a still pointer takes the click too, on
            // the half the pointer is over.
            float px = 0.0f, py = 0.0f;
            if (!hovered && Ctl3PointerAt(&px, &py) && Hits(px, py)) {
                hovered = 1;
                half = py < SplitY() ? INCDEC_HALF_UP : INCDEC_HALF_DOWN;
            }
            // A box under the pointer whose focus went elsewhere (a key, a dialog) takes the
            // click as it is, without waiting for the pointer to move again.
            if (hovered && state == CTL3_NORMAL) {
                Ctl3SetFocus(this);
                state = CTL3_FOCUSED;
            }
            if (state == CTL3_FOCUSED) {
                Press();
                if (half == INCDEC_HALF_UP) Step(1);
                if (half == INCDEC_HALF_DOWN) Step(-1);
            }
            break;
        }
        case SL_MOUSE0UP:
            if (hovered) {
                // A value button is no check box: whatever the release did to the check is
                // undone, a release without a press included.
                const uint8_t keep = checked;
                Release();
                checked = keep;
            } else {
                state = CTL3_NORMAL;
            }
            break;
        default: break;
    }
    return 1;
}

void IncDecButton::SetTextW(const char16_t* text) {
    if (!text) text = u"";
    size_t n = 0;
    while (n < CTL3_LABEL_MAX && text[n])
        ++n;
    std::memcpy(valueText, text, n * sizeof(char16_t));
    valueText[n] = 0;
}

void IncDecButton::SetText(const char* text) {
    WideFromNarrow(text ? text : "", valueText, CTL3_LABEL_MAX + 1);
}

int IncDecButton::DrawPre() {
    if (!visible) return 1;
    const uint32_t argb = Ctl3FadedColour(this, colour);
    const int frame = state >= CTL3_NORMAL && state <= CTL3_PRESSED ? state : CTL3_NORMAL;
    Ctl3StripDraw(body, frame, rect.left, rect.top, rect.right, rect.bottom, argb);
    const float mid = SplitY();
    const float upLeft = rect.right - float(up.CellWidth());
    Ctl3StripDraw(up, half == INCDEC_HALF_UP ? frame : 0, upLeft, rect.top, rect.right, mid, argb);
    const float downLeft = rect.right - float(down.CellWidth());
    Ctl3StripDraw(down, half == INCDEC_HALF_DOWN ? frame : 0, downLeft, mid, rect.right,
                  rect.bottom, argb);
    if (font) {
        Ctl3StyleFont(this, 0, 0);
        font->colour = argb;
        // The number and its unit read whole left of the arrows: a text too wide for the room
        // is drawn smaller, centred on the line, rather than cut ("90 S...").
        const float room = TextRoom();
        WideFormat(drawnText, CTL3_LABEL_MAX + 1, u"%i%s", value, valueText);
        const float width = FontTextWidth(font, drawnText);
        drawnScale = width > room && width > 0.0f ? room / width : 1.0f;
        if (room > 0.0f) {
            FontSetScale(font, horizScale * drawnScale, vertScale * drawnScale);
            const float drop = Ctl3LineHeight(this) * (1.0f - drawnScale) * 0.5f;
            const float keep = font->clipWidth;
            font->clipWidth = room;
            FontDraw(font, rect.left, rect.top + drop, drawnText);
            font->clipWidth = keep;
            FontSetScale(font, horizScale, vertScale);
        }
    }
    return 1;
}

float IncDecButton::TextRoom() const {
    const float arrowsLeft = rect.right - float(std::max(up.CellWidth(), down.CellWidth()));
    return arrowsLeft - rect.left - 2.0f;
}

bool IncDecButton::Hits(float x, float y) const {
    // The arrows are small: the box takes clicks a little past its right end and its edges,
    // never as far as the next box (number rows stand 2 units apart).
    return rect.left <= x && x <= rect.right + kIncDecArrowMarginX &&
           rect.top - kIncDecArrowMarginY <= y && y <= rect.bottom + kIncDecArrowMarginY;
}

int IncDecButton::Draw() {
    Ctl3ButtonBase::Draw();
    Ctl3Set2DStates(-1, 0xFF00FF00u);
    const float mid = SplitY();
    I3dDrawQuadOutline(rect.left, rect.top, rect.left + float(body.CellWidth()),
                       rect.top + float(body.CellHeight()), 0);
    I3dDrawQuadOutline(rect.left, rect.top, rect.right, mid, 0);
    I3dDrawQuadOutline(rect.left, mid, rect.right, rect.bottom, 0);
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "IncDecButton");
        Ctl3AddNamePos(&s_db);
        PropDbAddStringBlank(&s_db, "textureName", PROP_OFFSET(IncDecButton, body.textureName),
                             CTL3_TEXTURE_NAME_MAX);
        PropDbAddStringBlank(&s_db, "textureIncr", PROP_OFFSET(IncDecButton, up.textureName),
                             CTL3_TEXTURE_NAME_MAX);
        PropDbAddStringBlank(&s_db, "textureDecr", PROP_OFFSET(IncDecButton, down.textureName),
                             CTL3_TEXTURE_NAME_MAX);
    }
    return &s_db;
}

const WorldClassDef kClass = {"IncDecButton", Db, WorldMake<IncDecButton>, nullptr};
} // namespace

intptr_t EcIncDecButtonProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
