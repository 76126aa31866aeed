// The main menu's screen and choices.
#include "ui/Menus/MenuMain.h"

#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/AnimGraphic.h"
#include "ui/Ctl3SlideShow.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"
#include "ui/Menus/MenuFrontEnd.h"
#include "ui/Menus/MenuHelp.h"
#include "world/CursorFrame.h"

#include <cstdio>

namespace {
struct MainButton {
    int32_t id;
    const char* name;
    const char* image;
    float x, y;
};
// Each image holds three 150 x 48 frames; positions are the top-left corners.
constexpr MainButton kButtons[] = {
    {MAIN_SANDBOX, "Sandbox", "Menu\\MainMenu\\button_sandbox.dds", 334.0f, 368.0f},
    {MAIN_CAREER, "Career", "Menu\\MainMenu\\button_careermode.dds", 522.0f, 368.0f},
    {MAIN_OPTIONS, "Options", "Menu\\MainMenu\\button_options.dds", 300.0f, 423.0f},
    {MAIN_HELP, "Help", "Menu\\MainMenu\\button_help.dds", 470.0f, 423.0f},
    {MAIN_QUIT, "Quit", "Menu\\MainMenu\\button_quit.dds", 630.0f, 423.0f},
    {MAIN_CREDITS, "Credits", "Menu\\MainMenu\\button_credits.dds", 420.0f, 535.0f},
};
constexpr int32_t kCellRight = 149, kCellBottom = 47;

const WorldClassDef kClass = {"MenuMain", nullptr, WorldMake<MenuMain>, nullptr};
} // namespace

int MenuMain::Create(EntNode* node) {
    static const char* const kNames[] = {"C_SANDBOX", "C_CAREER", "C_OPTIONS",
                                         "C_HELP",    "C_QUIT",   "C_CREDITS"};
    MenuCreateConcrete(this, node, MenuNames{kNames, 6, true}, "Menu\\MainMenu\\MenuMain.lua");
    alpha = 1.0f;

    if (auto* show = MenuKitMake<Ctl3SlideShow>("Ctl3Slideshow", this, -1, 512.0f, 384.0f, nullptr,
                                                "SlideShow")) {
        show->horizAlign = 1;
        show->width = 1024.0f;
        show->height = 768.0f;
        show->uv = {0.0f, 0.0f, 1.0f, 0.75f};
        std::snprintf(show->textureName, sizeof show->textureName, "%s", "Menu\\Slides\\SlideShow");
        show->fadeTime = 1.0f;
        show->holdTime = 5.0f;
        show->Start();
    }
    MenuKitBackground("Menu\\Common\\ZobMainMenu.dds", this);
    for (const MainButton& b : kButtons) {
        auto* button =
            MenuKitMake<GraphicButton>("GraphicButton", this, b.id, b.x, b.y, nullptr, b.name);
        if (!button) continue;
        std::snprintf(button->image.textureName, sizeof button->image.textureName, "%s", b.image);
        button->image.left = 0;
        button->image.top = 0;
        button->image.right = kCellRight;
        button->image.bottom = kCellBottom;
        button->Start();
    }
    if (auto* logo =
            MenuKitMake<AnimGraphic>("AnimGraphic", this, -1, 271.0f, 72.0f, nullptr, "Logo")) {
        std::snprintf(logo->image.textureName, sizeof logo->image.textureName, "%s",
                      "Menu\\Common\\ZobLogoAnim.dds");
        logo->frames = 2;
        logo->image.left = 0;
        logo->image.top = 0;
        logo->image.right = 482;
        logo->image.bottom = 271;
        logo->rate = 10.0f;
        logo->Start();
    }
    LinkCtlNav(MAIN_SANDBOX, MAIN_OPTIONS, MAIN_OPTIONS, MAIN_CAREER, MAIN_CAREER);
    LinkCtlNav(MAIN_CAREER, MAIN_HELP, MAIN_HELP, MAIN_SANDBOX, MAIN_SANDBOX);
    LinkCtlNav(MAIN_OPTIONS, MAIN_SANDBOX, MAIN_SANDBOX, MAIN_QUIT, MAIN_HELP);
    LinkCtlNav(MAIN_HELP, MAIN_CAREER, MAIN_CAREER, MAIN_OPTIONS, MAIN_QUIT);
    LinkCtlNav(MAIN_QUIT, MAIN_CAREER, MAIN_CAREER, MAIN_HELP, MAIN_OPTIONS);
    MenuFrontEndFinish(this, MAIN_SANDBOX, "MainMenu", "MenuMain");
    g_cursorFrameIndex = 1;
    MenuFrontEndMusic(this, "MenuMain", true);
    return 1;
}

int MenuMain::OpenMode(const char* className, int32_t mode) {
    Menu3Base* next = MenuOpen(className, EntGetParent(this), nullptr);
    if (!next) {
        if (!m_reported) DbgPrintf(DBG_GENERAL, "MenuMain: cannot open %s\n", className);
        m_reported = true;
        return 1;
    }
    if (MtGame* game = MenuFrontEndGame(this, "MenuMain", "the game mode")) game->mode = mode;
    EntDestroyTree(this);
    return 0;
}

int MenuMain::OnMessage(const SlEvent* event) {
    if (!active) return 0;
    if (!event) return 1;
    // The back key presses and releases Quit, which then asks for confirmation.
    if (event->type == SL_MENUBACK || event->type == SL_MENUBACK + 1)
        return ForwardToCtl(event, MAIN_QUIT) ? 0 : 1;
    if (event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    ENTBASE* parent = EntGetParent(this);
    switch (event->a) {
        case MAIN_SANDBOX: return OpenMode("MenuSandbox", MTGAME_SANDBOX);
        case MAIN_CAREER: return OpenMode("MenuCareer", MTGAME_CAREER);
        case MAIN_OPTIONS: {
            // No caller: the page draws its full-screen background and returns by class name.
            MenuOpenArgs args;
            args.returnClass = "MenuMain";
            if (!MenuOpen("MenuOptionsVideo", parent, &args)) {
                if (!m_reported) DbgPrintf(DBG_GENERAL, "MenuMain: cannot open MenuOptionsVideo\n");
                m_reported = true;
                return 1;
            }
            EntDestroyTree(this);
            return 0;
        }
        case MAIN_HELP:
            if (!MenuHelpOpen(parent, nullptr)) return 1;
            EntDestroyTree(this);
            return 0;
        case MAIN_QUIT:
            return MenuFrontEndSwitch(this, "MenuMain", "MenuConfirmExit", &m_reported) ? 0 : 1;
        case MAIN_CREDITS:
            return MenuFrontEndSwitch(this, "MenuMain", "MenuCredits", &m_reported) ? 0 : 1;
        default: return 1;
    }
}

Menu3Base* MenuMainOpen(ENTBASE* parent) {
    return MenuOpen("MenuMain", parent, nullptr);
}

intptr_t EcMenuMainProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
