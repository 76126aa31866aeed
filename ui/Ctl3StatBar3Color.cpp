// The three-colour status bar, drawn by the kernel's stat bar.
#include "ui/Ctl3StatBar3Color.h"

#include "engine/FrameClock.h"
#include "engine/PropDb.h"
#include "ui/UiClass.h"

#include <cmath>

int Ctl3StatBar3Color::Create(EntNode* n) {
    Ctl3Base::Create(n);
    width = 0.1f;
    height = 0.1f;
    return 1;
}

int Ctl3StatBar3Color::Start() {
    Layout();
    return Ctl3Base::Start();
}

int Ctl3StatBar3Color::VarsChanged() {
    Layout();
    return 1;
}

void Ctl3StatBar3Color::Layout() {
    float left = pos.x;
    if (horizAlign == 1)
        left = pos.x - width / 2;
    else if (horizAlign == 2)
        left = pos.x - width;
    rect = {left, pos.y, left + width, pos.y + height};
    style.left = rect.left;
    style.top = rect.top;
    style.right = rect.right;
    style.bottom = rect.bottom;
}

int Ctl3StatBar3Color::Update(float seconds) {
    if (barTimer >= 0.0f) barTimer -= g_frameSeconds;
    return Ctl3Base::Update(seconds);
}

// The bar draws in the menu pass, as every control draws what it shows; the control's Draw is
// its debug outline, so drawn there the power and wear bars would show only with debug drawing.
int Ctl3StatBar3Color::DrawPre() {
    if (!visible) return 1;
    Layout();
    if (!std::isfinite(rect.left) || !std::isfinite(rect.top) || !std::isfinite(rect.right) ||
        !std::isfinite(rect.bottom))
        return 1;
    // The kernel's bar runs past its right edge above 1; a NaN still draws the background only.
    StatBar3Style shown = style;
    if (shown.value < 0.0f) shown.value = 0.0f;
    if (shown.value > 1.0f) shown.value = 1.0f;
    StatBar3Draw(&shown);
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "Ctl3StatBar3Color");
        Ctl3AddNamePos(&s_db);
        PropDbAddFloat(&s_db, "height", PROP_OFFSET(Ctl3StatBar3Color, height), 0.1f);
        PropDbAddFloat(&s_db, "width", PROP_OFFSET(Ctl3StatBar3Color, width), 0.1f);
        PropDbAddInt(&s_db, "hAlign", PROP_OFFSET(Ctl3StatBar3Color, horizAlign), 0);
    }
    return &s_db;
}

const WorldClassDef kClass = {"Ctl3StatBar3Color", Db, WorldMake<Ctl3StatBar3Color>, nullptr};
} // namespace

intptr_t EcCtl3StatBar3ColorProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
