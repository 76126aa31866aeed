// The front-end screens' shared steps.
#include "ui/Menus/MenuFrontEnd.h"

#include "engine/DebugLog.h"
#include "engine/Script/ScriptGameHost.h"
#include "game/MtGame.h"
#include "ui/MenuKitMake.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "world/EntMusic.h"

#include <cstdio>

namespace {
ScriptGameHost* s_appHost = nullptr;
}

void MenuSetAppHost(ScriptGameHost* host) {
    s_appHost = host;
}

ScriptGameHost* MenuGetAppHost() {
    return s_appHost;
}

bool MenuSetQuitFlag() {
    if (!s_appHost) {
        DbgPrintf(DBG_GENERAL, "Menu: no application to quit\n");
        return false;
    }
    s_appHost->Quit();
    return true;
}

ENTBASE* MenuFrontEndSwitch(Menu3Base* menu, const char* from, const char* className,
                            bool* reported) {
    if (!menu) return nullptr;
    const char* name = className ? className : "";
    ENTBASE* made = name[0] ? EntCreateChild(name, EntGetParent(menu)) : nullptr;
    if (!made) {
        if (!reported || !*reported)
            DbgPrintf(DBG_GENERAL, "%s: cannot open %s\n", from ? from : "", name);
        if (reported) *reported = true;
        return nullptr;
    }
    made->Start();
    EntDestroyTree(menu);
    return made;
}

void MenuFrontEndFinish(Menu3Base* menu, int32_t focusId, const char* entityName,
                        const char* className) {
    if (!menu) return;
    menu->FocusCtl(focusId);
    menu->SetName(entityName ? entityName : "");
    DbgPrintf(DBG_GENERAL, "Menu: %s (%s)\n", menu->GetName(), className ? className : "");
}

MtGame* MenuFrontEndGame(Menu3Base* menu, const char* className, const char* skipped) {
    auto* game = menu && EntIsLive(menu->game) ? dynamic_cast<MtGame*>(menu->game) : nullptr;
    if (!game && menu)
        DbgPrintf(DBG_GENERAL, "%s: no game object: %s skipped\n", className ? className : "",
                  skipped ? skipped : "");
    return game;
}

void MenuFrontEndMusic(Menu3Base* menu, const char* className, bool setVolume) {
    if (!menu) return;
    ENTBASE* root = EntGetRoot(menu);
    if (setVolume) {
        if (MtGame* game = MenuFrontEndGame(menu, className, "the music volume"))
            MusicSetVolume(root, game->prefs.volMusic);
    }
    MusicPlayByName(root, kMenuMusic);
}

StaticText* MenuFrontEndText(const char16_t* text, float x, float y, const char* font,
                             uint32_t colour, int32_t align, ENTBASE* menu) {
    auto* t = MenuKitMake<StaticText>("StaticText", menu, -1, x, y, text ? text : u"");
    if (!t) return nullptr;
    t->SetFont(MenuKitFont(font));
    t->colour = colour;
    t->horizAlign = align;
    t->Start();
    return t;
}

StaticGraphic* MenuFrontEndPicture(const char* name, float x, float y, float w, float h,
                                   float uvRight, float uvBottom, const char* texture,
                                   uint32_t colour, ENTBASE* menu) {
    auto* g = MenuKitMake<StaticGraphic>("StaticGraphic", menu, -1, x, y, nullptr, name);
    if (!g) return nullptr;
    g->horizAlign = 1;
    g->width = w;
    g->height = h;
    g->uv = {0.0f, 0.0f, uvRight, uvBottom};
    std::snprintf(g->textureName, sizeof g->textureName, "%s", texture ? texture : "");
    g->colour = colour;
    g->Start();
    return g;
}
