// Every hook and host through which a library below the application reaches what sits above it:
// the game object's host and its links to the attraction and generator classes, the camera's
// host, fly-to and grid extent, the scripts' day start and close check, the screens' application
// and scene clearing, and the editor's event routing and made entities. All are installed here at
// start-up and removed here at shutdown, so no class registration installs one on the side.
#include "engine/GameApp/GameApp.h"

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "game/Ents/RubeGen.h"
#include "game/MtGame.h"
#include "game/MtGameHost.h"
#include "game/MtGameLinks.h"
#include "tools/Editor.h"
#include "ui/Menus/MenuClearScene.h"
#include "ui/Menus/MenuFrontEnd.h"
#include "world/CameraVantor1.h"

#include <SDL.h>

namespace {
// The editor hands over what it made; it starts like anything else made at run time.
void StartMadeEntity(ENTBASE* made, void*) {
    if (made) made->Start();
}

// While editor mode is on, the editor sees the window's events first.
bool EditorEventHook(SDL_Event& event, void* context) {
    Editor* editor = static_cast<GameApp*>(context)->editor;
    return EditorIsActive(editor) && EditorHandleEvent(editor, event);
}

// SIGTERM and a window close arrive as SDL's quit event; a script that runs on without waiting
// would keep the loop from ever seeing it, so the script manager looks now and then. The event
// stays queued for the loop.
bool CloseRequestPending(void*) {
    SDL_PumpEvents();
    return SDL_HasEvent(SDL_QUIT) == SDL_TRUE;
}
} // namespace

void GameApp::WireHooks() {
    if (editor) {
        EditorSetCallback(StartMadeEntity, this);
        AppSetEventHook(EditorEventHook, this);
    }
    // The game object is made by the start-up script's tree; the scripts start its days.
    MtGameSetHost(&m_gameHost);
    MtGameSetAttrLinks(AttrBaseLinks());
    MtGameSetRubeGenLinks(RubeGenLinks());
    MenuSetSceneClearer([](void* app) { static_cast<GameApp*>(app)->ClearScene(); }, this);
    CameraVantorSetHost(&m_cameraHost);
    CameraVantorSetFlyTo(CameraVantorFlyTo);
    Ent3dSetGridExtentQuery(GameGridExtent);
    ScriptSetStartDayHook(MtGameStartDay);
    // The exit confirmation ends the program through the same quit flag as the scripts.
    MenuSetAppHost(this);
    ScriptMgrSetCloseCheck(CloseRequestPending, nullptr);
}

void GameApp::UnwireHooks() {
    AppSetEventHook(nullptr, nullptr);
    EditorSetCallback(nullptr, nullptr);
    ScriptSetStartDayHook(nullptr);
    MtGameSetHost(nullptr);
    MtGameSetAttrLinks(nullptr);
    MtGameSetRubeGenLinks(nullptr);
    MenuSetSceneClearer(nullptr, nullptr);
    CameraVantorSetHost(nullptr);
    CameraVantorSetFlyTo(nullptr);
    Ent3dSetGridExtentQuery(nullptr);
    MenuSetAppHost(nullptr);
    ScriptMgrSetCloseCheck(nullptr, nullptr);
}
