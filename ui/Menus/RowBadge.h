// The lock or money icon and the rank of a row (venue selector, catalogue): drawn in a column
// at the right end of the row's description, which is wrapped narrower to leave it free, so they
// cover neither the thumbnail's painted name nor any text.
#pragma once

class Ctl3Base;
class StaticTextBox;

// The icon's size in the column.
inline constexpr float kRowBadgeIcon = 22.0f;

// Places the icons (either may be null; only one is shown) and the rank at the top of a column
// ending at `right`, and sets the description's wrap width: up to the column when `badge`, else
// up to `right`. Call it before the description's text is set.
void RowBadgePlace(StaticTextBox* text, Ctl3Base* lock, Ctl3Base* money, Ctl3Base* rank, bool badge,
                   float right);
