// The fixed load screen.
#include "ui/Menus/MenuLoadGame.h"

#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"

#include <cstdio>

namespace {
enum : int32_t { kLoad = 0, kCancel = 1 };
const char* const kNames[] = {"C_LOAD", "C_CANCEL"};
constexpr const char* kScript = "Menu\\LoadGame\\MenuLoadGame.lua";

GraphicButton* Picture(int32_t id, const char* name, float x, float y, const char* texture,
                       int32_t right, int32_t bottom, ENTBASE* menu) {
    auto* b = dynamic_cast<GraphicButton*>(EntCreateChild("GraphicButton", menu));
    if (!b) return nullptr;
    b->id = id;
    b->SetPos2D(x, y);
    b->SetText(name);
    b->colour = kMenuKitColour;
    b->image.left = 0;
    b->image.top = 0;
    b->image.right = right;
    b->image.bottom = bottom;
    std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s", texture);
    b->Start();
    return b;
}
} // namespace

int MenuLoadGame::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{kNames, 2, true}, kScript);
    MenuKitBackground("Menu\\LoadGame\\BackgroundLoadGame.dds", this);
    Picture(kLoad, "LOAD", 265.0f, 363.0f, "Menu\\LoadGame\\buttonLoad.dds", 197, 57, this);
    Picture(kCancel, "CANCEL", 440.0f, 663.0f, "Menu\\LoadGame\\buttonCancel.dds", 133, 55, this);
    LinkCtlNav(kLoad, kCancel, kCancel, kCancel, kCancel);
    LinkCtlNav(kCancel, kLoad, kLoad, kLoad, kLoad);
    MenuFinishConcrete(this, "LoadGame");
    FocusCtl(kCancel);
    return 1;
}

int MenuLoadGame::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (!event || event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    if (event->a != kCancel) return 1; // LOAD has nothing to load
    // Without the main menu the screen stays: there would be nothing left to go on from.
    if (!MenuOpen("MenuMain", EntGetParent(this), nullptr)) return 1;
    EntDestroyTree(this);
    return 0;
}

MenuLoadGame* MenuLoadGameOpen(ENTBASE* parent) {
    return dynamic_cast<MenuLoadGame*>(MenuOpen("MenuLoadGame", parent, nullptr));
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuLoadGame");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuLoadGame, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuLoadGame", Db, WorldMake<MenuLoadGame>, nullptr};
} // namespace

intptr_t EcMenuLoadGameProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
