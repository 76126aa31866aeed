// The editor inside the running game: Ctrl+F1 in, the close box out, the window's title and
// the game's close handling around it.
#include "tests/harness/GameAppFixture.h"
#include "tools/MasterEdit.h"

#include <SDL.h>

namespace {

class MasterEditGameTest : public GameAppTest {
  protected:
    void StartGame() {
        g_makeEditor = []() -> Editor* {
            RegisterRootDoubles();
            return MasterEditNew(nullptr);
        };
        WriteStartup(std::string(kRegisterAll) + "Game.CreateEntityTree()\n");
        Start();
        app.windowed = 1;
        app.debug = 1;
    }
    static void Key(SDL_Scancode code, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.scancode = code;
        SDL_PushEvent(&e);
    }
    void CtrlF1() {
        Key(SDL_SCANCODE_LCTRL, true);
        Key(SDL_SCANCODE_F1, true);
        Frame();
        Key(SDL_SCANCODE_F1, false);
        Key(SDL_SCANCODE_LCTRL, false);
        Frame();
    }
    SDL_Window* Window() { return static_cast<SDL_Window*>(app.hwnd); }
};

TEST_F(MasterEditGameTest, CtrlF1EntersAndTheCloseBoxLeavesWithoutQuitting) {
    StartGame();
    ASSERT_NE(app.editor, nullptr);
    const std::string title = SDL_GetWindowTitle(Window());
    CtrlF1();
    ASSERT_TRUE(EditorIsActive(app.editor));
    EXPECT_STREQ(SDL_GetWindowTitle(Window()), "Editor Mode");
    EXPECT_EQ(EditorGameWindow(app.editor), app.hwnd);
    Frame();

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    app.AppHandleEvent(close);
    EXPECT_FALSE(EditorIsActive(app.editor));
    EXPECT_TRUE(app.running) << "the close box closed the game";
    EXPECT_EQ(SDL_GetWindowTitle(Window()), title);

    CtrlF1();
    EXPECT_TRUE(EditorIsActive(app.editor));
    auto* editor = static_cast<MasterEdit*>(app.editor);
    GameDouble* probe = MakeProbe(app.GetWorld(), "Probe");
    editor->SelectAdd(probe);
    CtrlF1();
    EXPECT_TRUE(EditorIsActive(app.editor)) << "Ctrl+F1 again changes nothing";
    EXPECT_EQ(editor->SelectionCount(), 1) << "the selection is kept";
    app.AppHandleEvent(close);
    EXPECT_FALSE(EditorIsActive(app.editor));
    EXPECT_TRUE(app.running);
    app.AppHandleEvent(close);
    EXPECT_FALSE(app.running) << "outside editor mode the close box closes the game";
}

TEST_F(MasterEditGameTest, ClearingTheSceneLeavesTheEditorNoEntityToTouch) {
    StartGame();
    CtrlF1();
    auto* editor = static_cast<MasterEdit*>(app.editor);
    ASSERT_TRUE(editor->IsActive());
    GameDouble* a = MakeProbe(app.GetWorld(), "A");
    GameDouble* b = MakeProbe(app.GetWorld(), "B");
    editor->SelectAdd(a);
    editor->SelectAdd(b);
    app.ClearScene();
    EXPECT_EQ(editor->SelectionCount(), 0);
    for (int i = 0; i < 100; ++i)
        Frame();
    editor->Command(0, EDCMD_SAVE_SELECTED);
    editor->Command(0, EDCMD_DUPLICATE);
    EditorLeave(app.editor);
    EXPECT_FALSE(editor->IsActive());
}

} // namespace
