// The studio logo splash: its table row and class.
#include "ui/Menus/MenuTolvane.h"

#include "engine/PropDb.h"
#include "engine/WorldClass.h"

namespace {
const SplashTiming kTiming = {
    "MenuTolvane", "Menu\\MenuTolvane.lua", "Menu\\TolvaneSplash.dds", 1.0f, 2.0f, 1.0f,
    "MenuEsrb"};

PropDb* Db() {
    static PropDb s_db;
    // The class declares a hold of 1 s; its creation writes the 2 s of its row over it.
    if (!s_db.first) SplashAddProperties(&s_db, kTiming.className, 1.0f, 1.0f, 1.0f);
    return &s_db;
}

const WorldClassDef kClass = {"MenuTolvane", Db, WorldMake<MenuTolvane>, nullptr};
} // namespace

MenuTolvane::MenuTolvane() : MenuChainSplash(kTiming) {}

intptr_t EcMenuTolvaneProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
