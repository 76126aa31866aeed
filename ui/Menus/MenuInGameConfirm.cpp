// The exit question of play.
#include "ui/Menus/MenuInGameConfirm.h"

#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuClearScene.h"
#include "ui/Menus/MenuFrontEnd.h"
#include "ui/Menus/MenuPlayQuestion.h"

namespace {
const WorldClassDef kClass = {"MenuInGameConfirm", nullptr, WorldMake<MenuInGameConfirm>, nullptr};
constexpr uint32_t kWhite = 0xFFFFFFFFu;
} // namespace

int MenuInGameConfirm::Create(EntNode* node) {
    MenuCreateConcrete(this, node, MenuNames{}, "Menu\\ConfirmExit\\MenuInGameConfirm.lua");
    MenuQuestionLayout(this, u"EXIT");
    MenuFrontEndText(u"Are you sure you want to exit?", 512.0f, 360.0f, "Georgia_20", kWhite, 1,
                     this);
    MenuFrontEndText(u"Your layout and progress", 512.0f, 400.0f, "Georgia_20", kWhite, 1, this);
    MenuFrontEndText(u"will not be saved.", 512.0f, 440.0f, "Georgia_20", kWhite, 1, this);
    MenuFrontEndFinish(this, MENU_QUESTION_CANCEL, "InGameConfirmExit", "MenuInGameConfirm");
    return 1;
}

void MenuInGameConfirm::SetOpenArgs(const MenuOpenArgs& args) {
    m_opener = EntRef(args.returnMenu);
    SetAltClass(args.returnClass);
}

int MenuInGameConfirm::Leave() {
    // Everything beside this screen goes, and this screen with it: only locals from here on.
    ENTBASE* parent = EntGetParent(this);
    auto* mt = dynamic_cast<MtGame*>(EntIsLive(game) ? game : nullptr);
    MtGameEndOfDay(mt);
    MenuClearScene();
    if (!parent) {
        EntDestroyTree(this);
        return 0;
    }
    EntDestroyChildren(parent);
    if (!MenuOpen("MenuMain", parent, nullptr))
        DbgPrintf(DBG_GENERAL, "MenuInGameConfirm: cannot open MenuMain\n");
    return 0;
}

int MenuInGameConfirm::OnMessage(const SlEvent* event) {
    // Inactive: 2 skips only this screen's controls; 0 would also keep the event from every
    // menu after it in the walk.
    if (!active) return 2;
    // Escape is Cancel: the question is left as every other screen is.
    if (event && (event->type == SL_MENUBACK || event->type == SL_MENUBACK + 1))
        return ForwardToCtl(event, MENU_QUESTION_CANCEL) ? 0 : 1;
    if (!event || event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    if (event->a == MENU_QUESTION_OK) return Leave();
    if (event->a != MENU_QUESTION_CANCEL) return 1;
    if (ENTBASE* back = Opener()) back->SetActive();
    EntDestroyTree(this);
    return 0;
}

Menu3Base* MenuInGameConfirmOpen(ENTBASE* parent, const char* returnClass, ENTBASE* opener) {
    MenuOpenArgs args;
    args.returnClass = returnClass;
    args.returnMenu = opener;
    return MenuOpen("MenuInGameConfirm", parent, &args);
}

intptr_t EcMenuInGameConfirmProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
