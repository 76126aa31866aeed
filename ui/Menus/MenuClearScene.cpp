// The application's scene clearing, as the screens reach it.
#include "ui/Menus/MenuClearScene.h"

#include "engine/DebugLog.h"

namespace {
MenuSceneClearFn s_clear = nullptr;
void* s_context = nullptr;
} // namespace

void MenuSetSceneClearer(MenuSceneClearFn clear, void* context) {
    s_clear = clear;
    s_context = clear ? context : nullptr;
}

MenuSceneClearFn MenuGetSceneClearer() {
    return s_clear;
}

bool MenuClearScene() {
    if (!s_clear) {
        DbgPrintf(DBG_GENERAL, "Menu: no scene to clear\n");
        return false;
    }
    s_clear(s_context);
    return true;
}
