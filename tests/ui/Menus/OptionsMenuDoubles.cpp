// The main menu's and the pause menu's stand-ins for the options tests.
#include "tests/ui/Menus/OptionsMenuDoubles.h"

#include "tests/ui/Menus/OptionsTestFixture.h"

#include "engine/Input/SlInput.h"
#include "game/MtGame.h"
#include "ui/MenuKit.h"
#include "ui/TextButton.h"
#include "world/EntMusic.h"

#include <cstdio>
#include <string>

int g_optionsMainMade = 0;
int g_optionsPauseMade = 0;

namespace {
bool IsClick(const SlEvent* e) {
    return e && e->type == CTL3_EVENT && e->b == CTL3_CLICK;
}

template <class T>
intptr_t Proc(const char* name, EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case 0:
        case 1:
        case 2: return 0;
        case 4: std::snprintf(reinterpret_cast<char*>(b), 64, "%s", name); return 0;
        case 6: return EntProcCreate(node, new T, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}
} // namespace

// ---- the main menu ----

int OptionsMainDouble::Create(EntNode* n) {
    Menu3Base::Create(n);
    ++g_optionsMainMade;
    game = EntTreeFindType(EntGetRoot(this), "MtGame");
    static const char16_t* const kLabels[5] = {u"Sandbox", u"Career", u"Options", u"Help", u"Quit"};
    for (int i = 0; i < 5; ++i)
        MenuKitTextButtonLarge(i, kLabels[i], int(kOptionsMainButtonX[i]),
                               int(kOptionsMainButtonY[i]), this);
    LinkCtlNav(0, 2, 2, 1, 1);
    LinkCtlNav(1, 3, 3, 0, 0);
    LinkCtlNav(2, 0, 0, 4, 3);
    LinkCtlNav(3, 1, 1, 2, 4);
    LinkCtlNav(4, 1, 1, 3, 2);
    FocusCtl(0);
    SetName("MainMenu");
    // The menu music at the player's volume, restarted (or kept) on every visit.
    ENTBASE* root = EntGetRoot(this);
    if (auto* g = dynamic_cast<MtGame*>(game)) MusicSetVolume(root, g->prefs.volMusic);
    MusicPlayByName(root, MenuMusicPath().c_str());
    return 1;
}

int OptionsMainDouble::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (!IsClick(e) || e->a != OPTIONS_MAIN_OPTIONS) return 1;
    // By class name, as the screens open one another: no caller, so the page is full-screen.
    MenuOpenArgs args;
    args.returnClass = "MenuMain";
    if (!MenuOpen("MenuOptionsVideo", EntGetParent(this), &args)) return 1;
    EntDestroyTree(this);
    return 0;
}

// ---- the pause menu ----

int OptionsPauseDouble::Create(EntNode* n) {
    Menu3Base::Create(n);
    ++g_optionsPauseMade;
    game = EntTreeFindType(EntGetRoot(this), "MtGame");
    MtGamePause(dynamic_cast<MtGame*>(game));
    MenuKitTextButtonLarge(OPTIONS_PAUSE_OPTIONS, u"Options", 512, 385, this);
    FocusCtl(OPTIONS_PAUSE_OPTIONS);
    SetName("InGameMenu");
    return 1;
}

int OptionsPauseDouble::Destroy() {
    if (EntIsLive(game)) game->RestoreClockSpeed();
    return Menu3Base::Destroy();
}

int OptionsPauseDouble::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (!IsClick(e) || e->a != OPTIONS_PAUSE_OPTIONS) return 1;
    MenuOpenArgs args;
    args.returnClass = "MenuInGame";
    args.returnMenu = this;
    if (!MenuOpen("MenuOptionsVideo", EntGetParent(this), &args)) return 1;
    ClearActive();
    return 0;
}

intptr_t OptionsMainDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return Proc<OptionsMainDouble>("MenuMain", node, message, a, b, c);
}
intptr_t OptionsPauseDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return Proc<OptionsPauseDouble>("MenuInGame", node, message, a, b, c);
}
