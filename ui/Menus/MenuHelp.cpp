// The help screen.
#include "ui/Menus/MenuHelp.h"

#include "engine/Input/SlInput.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/AnimGraphic.h"
#include "ui/Ctl3SlideShow.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuCredits.h"
#include "ui/Menus/MenuFrontEnd.h"
#include "ui/StaticGraphic.h"

bool g_helpFromFrontEnd = true;

namespace {
constexpr int32_t kOkId = 0, kDownId = 1, kShowId = 2;
const WorldClassDef kClass = {"MenuHelp", nullptr, WorldMake<MenuHelp>, nullptr};
} // namespace

int MenuHelp::Create(EntNode* node) {
    static const char* const kNames[] = {"C_OK"};
    // Until an opener says otherwise, help made by class name alone belongs to the front end.
    g_helpFromFrontEnd = true;
    MenuCreateConcrete(this, node, MenuNames{kNames, 1, true}, "Menu\\Help\\MenuHelp.lua");
    m_purple = MenuKitBackground(kMenuPurpleBackground, this);
    m_logo = MenuKitAnimLogo(this);
    m_dim = MenuKitDimBackground(this);
    MenuKitLargePanelHeader(512.0f, 428.0f, u"HELP", this);
    slideShow = MenuPageSlideShow(kShowId, "Menu\\Help\\ZobHelp", 120.0f, this);
    MenuKitButtonDown(kDownId, 60.0f, 620.0f, this);
    MenuKitButtonOk(kOkId, 465.0f, 663.0f, this);
    MenuFrontEndFinish(this, kOkId, "Help", "MenuHelp");
    return 1;
}

void MenuHelp::SetOpenArgs(const MenuOpenArgs& args) {
    m_return = EntRef(args.returnMenu);
    g_helpFromFrontEnd = args.returnMenu == nullptr;
}

// The pause is taken here, not in Create: whether help came from the front end is known only
// once the opener's arguments are in.
int MenuHelp::Start() {
    Ctl3Base*& unused = g_helpFromFrontEnd ? m_dim : m_purple;
    if (unused) EntDestroyTree(unused);
    unused = nullptr;
    if (!g_helpFromFrontEnd) {
        if (m_logo) EntDestroyTree(m_logo);
        m_logo = nullptr;
        if (MtGame* game = MenuFrontEndGame(this, "MenuHelp", "the pause")) {
            MtGamePause(game);
            m_paused = true;
        }
    }
    return Menu3Base::Start();
}

int MenuHelp::Destroy() {
    if (m_paused) {
        if (ENTBASE* g = EntIsLive(game) ? game : nullptr) g->RestoreClockSpeed();
        m_paused = false;
    }
    return Menu3Base::Destroy();
}

int MenuHelp::OnMessage(const SlEvent* event) {
    if (!active || !event) return 0;
    if (int result; MenuPageKeyFilter(this, event, kOkId, &result)) return result;
    if (event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    if (event->a == kDownId) {
        if (slideShow) slideShow->Restart();
        return 1;
    }
    if (event->a != kOkId) return 1;
    if (m_return.Address()) {
        if (ENTBASE* back = ReturnMenu()) back->SetActive();
        EntDestroyTree(this);
        return 0;
    }
    return MenuFrontEndSwitch(this, "MenuHelp", "MenuMain", &m_reported) ? 0 : 1;
}

Menu3Base* MenuHelpOpen(ENTBASE* parent, ENTBASE* returnMenu) {
    // Written on every opening, so that help from the HUD after help from the main menu pauses.
    g_helpFromFrontEnd = returnMenu == nullptr;
    MenuOpenArgs args;
    args.returnMenu = returnMenu;
    return MenuOpen("MenuHelp", parent, &args);
}

intptr_t EcMenuHelpProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
