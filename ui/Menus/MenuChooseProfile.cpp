// The profile chooser.
#include "ui/Menus/MenuChooseProfile.h"

#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"
#include "ui/Menus/CareerMenus.h"
#include "ui/MouseCursorSetup.h"
#include "ui/TextButton.h"
#include "world/EntMusic.h"

namespace {
enum : int32_t { kNew = 0, kDelete = 1, kSelect = 2, kBack = 3 };
const char* const kNames[] = {"C_NEW", "C_DELETE", nullptr, "C_BACK"};

void AddWordButton(int32_t id, const char16_t* label, float y, ENTBASE* menu) {
    auto* b = MenuKitMake<TextButton>("TextButton", menu, id, 800.0f, y, label);
    if (!b) return;
    b->SetFont(MenuKitFont("Georgia_20"));
    b->Start();
}
} // namespace

int MenuChooseProfile::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{kNames, 4, true},
                       "Menu\\ChooseProfile\\MenuChooseProfile.lua");
    alpha = 1.0f;
    MenuKitBackground("Menu\\BackgroundGeneric1.dds", this);
    MenuKitTitle(u"SELECT PROFILE", this);
    AddWordButton(kNew, u"NEW", 380.0f, this);
    AddWordButton(kDelete, u"DELETE", 460.0f, this);
    MenuKitTextButton(kSelect, u"SELECT", 768.0f, 600.0f, this);
    MenuKitTextButton(kBack, u"BACK", 200.0f, 600.0f, this);
    MenuFinishConcrete(this, "MenuChooseProfile");
    FocusCtl(kSelect);
    g_cursorFrameIndex = 1;
    MusicPlayByName(EntGetRoot(this), kMenuMusic);
    return 1;
}

int MenuChooseProfile::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (!event) return 1;
    if (ForwardToCtl(event, kBack)) return 1;
    if (event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    switch (event->a) {
        case kNew: return MenuSwitchTo(this, "MenuNewCareer");
        case kSelect: {
            auto* g = dynamic_cast<MtGame*>(game);
            if (g && g->mode == MTGAME_SANDBOX) return MenuSwitchTo(this, "MenuSandbox");
            return MenuSwitchToSelector(this, "MenuChooseProfile");
        }
        case kBack: return MenuSwitchTo(this, "MenuMain");
        default: return 1; // DELETE: there is no list to delete from
    }
}

MenuChooseProfile* MenuChooseProfileOpen(ENTBASE* parent) {
    return dynamic_cast<MenuChooseProfile*>(MenuOpen("MenuChooseProfile", parent, nullptr));
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuChooseProfile");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuChooseProfile, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuChooseProfile", Db, WorldMake<MenuChooseProfile>, nullptr};
} // namespace

intptr_t EcMenuChooseProfileProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
