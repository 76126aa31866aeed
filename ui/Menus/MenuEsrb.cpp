// The rating notice splash: its table row and class.
#include "ui/Menus/MenuEsrb.h"

#include "engine/PropDb.h"
#include "engine/WorldClass.h"

namespace {
const SplashTiming kTiming = {
    "MenuEsrb", "Menu\\MenuEsrb.lua", "Menu\\EsrbSplash.dds", 1.0f, 4.0f, 1.0f, "MenuMain"};

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) SplashAddProperties(&s_db, kTiming.className, 1.0f, 4.0f, 1.0f);
    return &s_db;
}

const WorldClassDef kClass = {"MenuEsrb", Db, WorldMake<MenuEsrb>, nullptr};
} // namespace

MenuEsrb::MenuEsrb() : MenuChainSplash(kTiming) {}

intptr_t EcMenuEsrbProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
