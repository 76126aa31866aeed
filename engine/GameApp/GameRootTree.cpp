// The standard root entity tree, built when a script asks for it:
//
//   Root
//     Game (MtGame, started)   Music (started)   Viewport   World
//     MenuRoot (1024 x 768)
//       Menu Viewport (width 0, started)   Menus   Cursors
//                                                    Mouse (MouseCursor1, started)
//
// The classes are registered by the start-up script, which is data: any of them may be missing.
#include "engine/DebugLog.h"
#include "engine/EntBase.h"
#include "engine/GameApp/GameApp.h"
#include "engine/System.h"
#include "ui/MouseCursorSetup.h"

ENTBASE* GameApp::MakeNode(const char* className, const char* name, ENTBASE* parent) {
    ENTBASE* made = EntCreateChild(className, parent);
    if (!made) {
        DbgPrintf(DBG_GENERAL, "BuildRootTree: class %s not registered, %s not created\n",
                  className, name);
        return nullptr;
    }
    made->SetName(name);
    return made;
}

void GameApp::BuildRootTree() {
    if (root.Get()) {
        DbgPrintf(DBG_GENERAL, "BuildRootTree: the tree exists already\n");
        return;
    }
    root = EntCreateChild("ENTNULL", nullptr);
    if (!root) {
        SysMessageBox("Startup: class ENTNULL is not registered", "Fairlark");
        quit = 1;
        return;
    }
    root->SetName("Root");

    if ((game = MakeNode("MtGame", "Game", root))) game->Start();
    if (ENTBASE* music = MakeNode("Music", "Music", root)) music->Start();
    viewports = MakeNode("ENTNULL", "Viewport", root);
    world = MakeNode("ENTNULL", "World", root);

    menuRoot = MakeNode("MenuRoot", "MenuRoot", root);
    if (!menuRoot) return;
    menuRoot->SetInt("width", 1024);
    menuRoot->SetInt("height", 768);
    if ((menuViewport = MakeNode("Viewport", "Menu Viewport", menuRoot))) {
        menuViewport->SetFloat("width", 0.0f); // the whole back buffer
        menuViewport->Start();
    }
    menus = MakeNode("ENTNULL", "Menus", menuRoot);
    ENTBASE* cursors = MakeNode("ENTNULL", "Cursors", menuRoot);
    if (!cursors) return;
    if ((mouse = MakeNode("MouseCursor1", "Mouse", cursors))) {
        // The first shape of the cursor sheet, and the pointer's limits on the menu screen.
        const MouseCursorSetup setup = {
            "Menu\\MouseCursors.dds", 0, 0, 31, 31, 0.0f, 1020.0f, 0.0f, 764.0f, 4};
        MouseCursorApplySetup(mouse, setup);
        mouse->Start();
    }
}
