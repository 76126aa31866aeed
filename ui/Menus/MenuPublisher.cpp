// The publisher logo splash: its table row and class.
#include "ui/Menus/MenuPublisher.h"

#include "engine/PropDb.h"
#include "engine/WorldClass.h"

namespace {
const SplashTiming kTiming = {
    "MenuPublisher", "Menu\\MenuPublisher.lua", "Menu\\QuenvarSplash.dds", 1.0f, 4.0f, 1.0f,
    "MenuTolvane"};

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) SplashAddProperties(&s_db, kTiming.className, 1.0f, 4.0f, 1.0f);
    return &s_db;
}

const WorldClassDef kClass = {"MenuPublisher", Db, WorldMake<MenuPublisher>, nullptr};
} // namespace

MenuPublisher::MenuPublisher() : MenuChainSplash(kTiming) {}

intptr_t EcMenuPublisherProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
