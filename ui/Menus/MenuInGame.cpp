// The pause menu's screen and choices.
#include "ui/Menus/MenuInGame.h"

#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuFrontEnd.h"
#include "ui/Menus/MenuMain.h"

uint8_t g_menuSaveNotEndOfDay = 0;

namespace {
const WorldClassDef kClass = {"MenuInGame", nullptr, WorldMake<MenuInGame>, nullptr};
} // namespace

int MenuInGame::Create(EntNode* node) {
    static const char* const kNames[] = {"C_RESUME", "C_SAVE", "C_LOAD", "C_OPTIONS", "C_EXIT"};
    MenuCreateConcrete(this, node, MenuNames{kNames, 5, true}, "Menu\\InGame\\MenuInGame.lua");
    if (MtGame* game = MenuFrontEndGame(this, "MenuInGame", "the pause")) {
        MtGamePause(game);
        m_paused = true;
    }
    MenuKitDimBackground(this);
    MenuKitInGamePanel(512.0f, 380.0f, this);
    MenuKitTextButtonLarge(INGAME_RESUME, u"Resume", 512, 285, this);
    MenuKitTextButtonLarge(INGAME_SAVE, u"Save Layout", 512, 335, this);
    MenuKitTextButtonLarge(INGAME_OPTIONS, u"Options", 512, 385, this);
    MenuKitTextButtonLarge(INGAME_EXIT, u"Exit", 512, 435, this);
    LinkCtlNav(INGAME_RESUME, INGAME_EXIT, INGAME_SAVE, INGAME_RESUME, INGAME_RESUME);
    LinkCtlNav(INGAME_SAVE, INGAME_RESUME, INGAME_OPTIONS, INGAME_SAVE, INGAME_SAVE);
    LinkCtlNav(INGAME_OPTIONS, INGAME_SAVE, INGAME_EXIT, INGAME_OPTIONS, INGAME_OPTIONS);
    LinkCtlNav(INGAME_EXIT, INGAME_OPTIONS, INGAME_RESUME, INGAME_EXIT, INGAME_EXIT);
    MenuFrontEndFinish(this, INGAME_RESUME, "InGameMenu", "MenuInGame");
    return 1;
}

int MenuInGame::Destroy() {
    // Only the pause this menu made is undone: the game object may have gone first.
    if (m_paused) {
        if (auto* game = EntIsLive(this->game) ? this->game : nullptr) game->RestoreClockSpeed();
        m_paused = false;
    }
    return Menu3Base::Destroy();
}

void MenuInGame::SetOpenArgs(const MenuOpenArgs& args) {
    m_return = EntRef(args.returnMenu);
}

bool MenuInGame::OpenDialog(const char* className, const MenuOpenArgs& args) {
    if (!MenuOpen(className, EntGetParent(this), &args)) {
        DbgPrintf(DBG_GENERAL, "MenuInGame: cannot open %s\n", className);
        return false;
    }
    ClearActive();
    return true;
}

int MenuInGame::OnMessage(const SlEvent* event) {
    // Inactive behind a dialog: the dialog after it in the walk still hears the event.
    if (!active) return 2;
    if (!event) return 1;
    // The back key presses and releases Resume: Escape opens this menu and Escape leaves it.
    if (event->type == SL_MENUBACK || event->type == SL_MENUBACK + 1)
        return ForwardToCtl(event, INGAME_RESUME) ? 0 : 1;
    if (event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    switch (event->a) {
        case INGAME_RESUME:
            if (ENTBASE* back = ReturnMenu()) back->SetActive();
            EntDestroyTree(this);
            return 0;
        case INGAME_SAVE: {
            MtGame* game = MenuFrontEndGame(this, "MenuInGame", "the game mode");
            const bool career = game && game->mode == MTGAME_CAREER;
            MenuOpenArgs args;
            args.returnMenu = this;
            args.out[0] = &g_menuSaveNotEndOfDay;
            // The click that opened the dialog goes no further: its id is the dialog's OK.
            return OpenDialog(career ? "MenuLayoutSave" : "MenuSandboxSave", args) ? 0 : 1;
        }
        case INGAME_OPTIONS: {
            // With a caller the page draws no background: the game stays visible around it.
            MenuOpenArgs args;
            args.returnClass = "MenuInGame";
            args.returnMenu = this;
            OpenDialog("MenuOptionsVideo", args);
            return 0;
        }
        case INGAME_EXIT: {
            MenuOpenArgs args;
            args.returnClass = "MenuInGame";
            args.returnMenu = this;
            OpenDialog("MenuInGameConfirm", args);
            return 0;
        }
        default: break;
    }
    return 1;
}

Menu3Base* MenuInGameOpen(ENTBASE* parent, ENTBASE* returnMenu) {
    MenuOpenArgs args;
    args.returnMenu = returnMenu;
    return MenuOpen("MenuInGame", parent, &args);
}

intptr_t EcMenuInGameProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
