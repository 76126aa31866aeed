// The people panels' and the play questions' fixture.
#include "tests/ui/Menus/PlayPanelFixture.h"

#include "engine/EntTree.h"
#include "engine/WorldClass.h"
#include "game/Ents/Carny.h"
#include "game/Ents/Rube1.h"
#include "ui/Menus/MenuInspectCarny.h"
#include "ui/Menus/MenuInspectRube.h"

#include <functional>

namespace {
int s_mainMenus = 0;

// The main menu the exit question opens: only its coming is looked at.
class MainMenuDouble : public Menu3Base {
  public:
    int Create(EntNode* node) override {
        Menu3Base::Create(node);
        SetName("MenuMain");
        ++s_mainMenus;
        return 1;
    }
};

intptr_t MainMenuDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static const WorldClassDef def = {"MenuMain", nullptr, WorldMake<MainMenuDouble>, nullptr};
    return WorldClassProc(def, node, message, a, b, c);
}
} // namespace

void PlayPanelTest::SetUp() {
    HudTest::SetUp();
    s_mainMenus = 0;
    auto hudFirst = registerFirst;
    registerFirst = [hudFirst] {
        hudFirst();
        EntCreateClass(MainMenuDoubleProc, 0, 0);
    };
}

MenuInspectRube* PlayPanelTest::RubePanel() {
    return hud ? dynamic_cast<MenuInspectRube*>(hud->Inspector(HUD_KIND_PATRON)) : nullptr;
}

MenuInspectCarny* PlayPanelTest::CarnyPanel() {
    return hud ? dynamic_cast<MenuInspectCarny*>(hud->Inspector(HUD_KIND_EMPLOYEE)) : nullptr;
}

Menu3Base* PlayPanelTest::Named(const char* name) {
    ENTBASE* menus = app.GetMenus();
    for (EntNode* n = menus && menus->node ? menus->node->firstChild : nullptr; n; n = n->next)
        if (n->deleteCount == 0 && n->object && std::string(n->object->GetName()) == name)
            return dynamic_cast<Menu3Base*>(n->object);
    return nullptr;
}

int PlayPanelTest::MainMenusMade() {
    return s_mainMenus;
}

Carny* PlayPanelTest::Hire() {
    MtGameHireCarny(Game());
    Carny* newest = nullptr;
    std::function<void(EntNode*)> walk = [&](EntNode* n) {
        for (; n; n = n->next) {
            if (auto* c = dynamic_cast<Carny*>(n->object)) newest = c;
            walk(n->firstChild);
        }
    };
    walk(app.GetRoot() ? app.GetRoot()->node : nullptr);
    return newest;
}

Rube1* PlayPanelTest::MakePatron() {
    ENTBASE* gen = hud ? hud->rubeGen.Get() : nullptr;
    auto* patron = gen ? dynamic_cast<Rube1*>(EntCreateChild("Rube1", gen)) : nullptr;
    if (patron) {
        patron->SetName("Patron 77");
        patron->Start();
    }
    return patron;
}
