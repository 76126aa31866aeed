// The game's frame: the update (clock, scripts, sound, input, entities, editor) and the render
// (each viewport's first and second walks, then the menus).
#include "engine/GameApp/GameApp.h"

#include "I3d/Device.h"
#include "I3d/Font.h"
#include "engine/EntBase.h"
#include "engine/EntDrawWalk.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/Input/SlScanCodes.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/Sound/Sound.h"
#include "game/Ents/AttrBase.h"
#include "tools/Editor.h"
#include "world/StaticObject.h"

// ---- update ----

void GameApp::Update() {
    if (!clock) return;
    FrameClockTick(clock);
    g_frameSeconds = clock->deltaSeconds;
    g_totalSeconds = (float)clock->elapsedMs * 0.001f;
    // The game's step: the real frame time capped at 33 ms, times the clock speed.
    const float gameSeconds = clock->scaledDeltaSeconds;

    ScriptMgrUpdate(gameSeconds);
    SndUpdate();
    DispatchInput();
    // The class-wide light-chaser timers.
    StaticObjectFlashTick(gameSeconds);
    AttrFlashTick(gameSeconds);
    EntTreeUpdate(root.Get(), gameSeconds);
    if (editor) {
        EditorUpdate(editor, clock->deltaSeconds);
        FollowEditorView();
    }
}

// In editor mode the game is drawn at the game view's size; leaving gives it the window again.
void GameApp::FollowEditorView() {
    int width = 0, height = 0;
    if (!EditorViewSize(editor, &width, &height)) width = height = 0;
    if (width == m_editorViewWidth && height == m_editorViewHeight) return;
    m_editorViewWidth = width;
    m_editorViewHeight = height;
    if (width <= 0 || height <= 0) Host().ClientSize(&width, &height);
    if (width > 0 && height > 0) OnResize(width, height);
}

// Events reach the menus' subtree and the keyboard entity only: the world hears none of them.
void GameApp::DispatchInput() {
    SlPadPoll();
    for (int pad = 0; pad < SL_PAD_COUNT; ++pad) {
        SlPadMenuEvents(pad);
        SlPostEvent(SL_PADSTATE, reinterpret_cast<intptr_t>(SlPadGetState(pad)), pad);
    }

    SlEvent event;
    while (SlGetEvent(&event) == 0) {
        SlKeyToMenuEvent(&event);
        EntTreeSendMessage(menuRoot.Get(), &event);
        // The menus may have destroyed the keyboard entity (or a script did, any time before).
        if (ENTBASE* keyboard = keyboardEntity.Get()) keyboard->OnMessage(&event);
        // Ctrl+F1: the editor, when this build has one, in a window only: editor mode lays the
        // game's own window out again at 1024 by 768, which a full-screen mode cannot follow. A
        // second Ctrl+F1 changes nothing; the editor's close box leaves. Control is read from the
        // key event's own modifier bits, not the key table: a Control pressed and let go within
        // the frame of F1 still counts, as it did when the press came.
        if (event.type == SL_KEYDOWN && event.a == DIK_F1 && (event.b & SL_MOD_CTRL) && editor &&
            windowed) {
            AppShowCursor();
            EditorSetRootEntity(editor, root.Get());
            EditorEnter(editor, hwnd);
        }
    }
}

// ---- render ----

void GameApp::Render() {
    if (D3dBeginScene() == 0) {
        // Each world viewport walks its first pass (the scene) and then its second: patrons and
        // carnies draw themselves in Draw, not DrawPre, so a first pass alone would leave the
        // venue empty of people. The menus come over both.
        EntTreeDrawEach(viewports.Get());
        EntTreeDrawPre(menuRoot.Get());
        if (editor && EditorWantsPass(editor)) {
            FontSetCurrent(debugFont);
            EntTreeDrawPost(viewports.Get());
            EntTreeDrawPost(menuRoot.Get());
        }
        D3dEndScene();
    }
    // Presented even after a failed begin, so a lost device is noticed here.
    if (D3dPresent() != 0) deviceLost = 1;
}
