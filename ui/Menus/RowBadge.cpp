// The row's badge column.
#include "ui/Menus/RowBadge.h"

#include "ui/Ctl3Base.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"

namespace {
constexpr float kGap = 6.0f;
// Room for the icon and the widest rank title ("Commander") in the rank's font.
constexpr float kColumnWidth = 130.0f;

void PlaceIcon(Ctl3Base* icon, float left, float lineTop, float lineHeight) {
    if (!icon) return;
    // Icons are centred on their position.
    icon->pos.x = left + kRowBadgeIcon / 2;
    icon->pos.y = lineTop + lineHeight / 2;
    icon->VarsChanged();
}
} // namespace

void RowBadgePlace(StaticTextBox* text, Ctl3Base* lock, Ctl3Base* money, Ctl3Base* rank, bool badge,
                   float right) {
    if (!text) return;
    const float left = right - kColumnWidth;
    const float top = text->pos.y;
    const float lineHeight = rank && rank->font ? Ctl3LineHeight(rank) : kRowBadgeIcon;
    PlaceIcon(lock, left, top, lineHeight);
    PlaceIcon(money, left, top, lineHeight);
    if (auto* t = dynamic_cast<StaticText*>(rank)) {
        t->pos.x = left + kRowBadgeIcon + kGap;
        t->pos.y = top;
        t->clipWidth = right - t->pos.x;
    }
    const float textRight = badge ? left - kGap : right;
    text->width = textRight - text->pos.x;
    text->rect.right = textRight;
}
