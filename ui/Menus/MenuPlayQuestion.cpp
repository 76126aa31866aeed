// The in-game questions' layout and the firing and removal questions' common answer.
#include "ui/Menus/MenuPlayQuestion.h"

#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "game/MtGame.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuGameRunning.h"

#include <initializer_list>

namespace {
constexpr const char* kScript = "Menu\\ConfirmExit\\MenuConfirmExit.lua";
} // namespace

void MenuQuestionLayout(Menu3Base* menu, const char16_t* title) {
    if (!menu) return;
    MenuKitDimBackground(menu);
    MenuKitAnimLogo(menu);
    MenuKitPanel(512.0f, 380.0f, menu);
    MenuKitHeading(title, 512, 220, menu);
    MenuKitButtonOk(MENU_QUESTION_OK, 583.0f, 533.0f, menu);
    MenuKitButtonCancel(MENU_QUESTION_CANCEL, 332.0f, 533.0f, menu);
    menu->LinkCtlNav(MENU_QUESTION_OK, MENU_QUESTION_CANCEL, MENU_QUESTION_CANCEL,
                     MENU_QUESTION_CANCEL, MENU_QUESTION_CANCEL);
    menu->LinkCtlNav(MENU_QUESTION_CANCEL, MENU_QUESTION_OK, MENU_QUESTION_OK, MENU_QUESTION_OK,
                     MENU_QUESTION_OK);
}

// ---- the firing and removal questions ----

void MenuPlayQuestion::CreateQuestion(EntNode* node, const char16_t* title) {
    MenuCreateConcrete(this, node, MenuNames{}, kScript);
    if (auto* mt = dynamic_cast<MtGame*>(game)) {
        MtGamePause(mt);
        m_paused = true;
    }
    MenuQuestionLayout(this, title);
}

void MenuPlayQuestion::FinishQuestion(const char* className) {
    MenuFinishConcrete(this, className);
    FocusCtl(MENU_QUESTION_CANCEL);
}

void MenuPlayQuestion::SetOpenArgs(const MenuOpenArgs& args) {
    m_inspector = EntRef(args.returnMenu);
    m_subject = EntRef(args.entities[0]);
    m_hud = EntRef(args.entities[1]);
}

MenuGameRunning* MenuPlayQuestion::Hud() const {
    return dynamic_cast<MenuGameRunning*>(m_hud.Get());
}

void MenuPlayQuestion::Resume() {
    if (!m_paused) return;
    m_paused = false;
    // The game object may have gone first (a scene cleared under the question).
    if (ENTBASE* g = EntIsLive(game) ? game : nullptr) g->RestoreClockSpeed();
}

int MenuPlayQuestion::Destroy() {
    Resume();
    return Menu3Base::Destroy();
}

int MenuPlayQuestion::OnEntityRemoved(ENTBASE* gone) {
    if (!gone) return 1;
    for (EntRef* link : {&m_subject, &m_hud, &m_inspector})
        if (gone == link->Address()) *link = EntRef();
    if (gone == game) {
        game = nullptr;
        m_paused = false;
    }
    return 1;
}

int MenuPlayQuestion::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    // Escape is Cancel: the question is left as every other screen is.
    if (event && (event->type == SL_MENUBACK || event->type == SL_MENUBACK + 1))
        return ForwardToCtl(event, MENU_QUESTION_CANCEL) ? 0 : 1;
    if (!event || event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    if (event->a != MENU_QUESTION_OK && event->a != MENU_QUESTION_CANCEL) return 1;
    Resume();
    MenuGameRunning* hud = Hud();
    ENTBASE* inspector = Inspector();
    ENTBASE* subject = Subject();
    if (event->a == MENU_QUESTION_CANCEL) {
        // The HUD selects what it is handed when it comes back: the inspector shows the same
        // entity again instead of being closed by the HUD's return.
        if (hud && subject) hud->pending = subject;
        if (inspector) inspector->SetActive();
        if (hud) hud->SetActive();
    } else if (hud) {
        hud->SetActive();
        if (subject) Answer(hud, subject);
    } else if (inspector) {
        // Without a HUD to hand the answer to, the inspector is given back: else it stayed
        // inactive for good.
        inspector->SetActive();
    }
    EntDestroyTree(this);
    return 0;
}

Menu3Base* MenuPlayQuestionOpen(const char* className, ENTBASE* parent, ENTBASE* subject,
                                ENTBASE* hud, ENTBASE* inspector) {
    if (!parent || !EntIsLive(subject)) {
        DbgPrintf(DBG_GENERAL, "%s: nothing to ask about\n", className ? className : "");
        return nullptr;
    }
    MenuOpenArgs args;
    args.returnMenu = inspector;
    args.entities[0] = subject;
    args.entities[1] = hud;
    return MenuOpen(className, parent, &args);
}
