// The custom control. It is its menu's child, so it goes with the menu and its user word is
// never used after the menu is gone.
#include "ui/Custom.h"

#include "engine/FrameClock.h"
#include "engine/PropDb.h"
#include "ui/UiClass.h"

int Custom::Update(float) {
    return updateFn ? updateFn(user, g_frameSeconds) : 1;
}

int Custom::DrawPre() {
    return drawFn && visible ? drawFn(user) : 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) PropDbSetName(&s_db, "Custom");
    return &s_db;
}

const WorldClassDef kClass = {"Custom", Db, WorldMake<Custom>, nullptr};
} // namespace

intptr_t EcCustomProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
