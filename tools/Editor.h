// The in-game editor as the application drives it: made at start-up when this build has one,
// given the tree to edit, entered with Ctrl+F1, updated last in every frame and asked whether it
// wants its debug draw pass. Every call takes the editor the application holds; the application
// makes none of them without one.
#pragma once

class ENTBASE;
union SDL_Event;

class Editor {
  public:
    virtual ~Editor() = default;
    virtual void SetDataDir(const char* folder) = 0;
    virtual void SetRootEntity(ENTBASE* root) = 0;
    virtual bool WantsPass() = 0;
    virtual void Update(float realSeconds) = 0;
    // Editor mode on a main window: entered (nothing when on already), left, asked about, laid
    // out again. Editors without a mode of their own keep these defaults.
    virtual void Enter(void*) {}
    virtual void Leave() {}
    virtual bool IsActive() { return false; }
    virtual void Layout() {}
    // A menu command by id; ids it does not know do nothing.
    virtual void Command(int, int) {}
    virtual void* GameWindow() { return nullptr; }
    // The selected entities and their count.
    virtual ENTBASE* const* Selection(int* count) {
        *count = 0;
        return nullptr;
    }
    virtual void* Instance() { return nullptr; }
    virtual void Maximize() {}
    // The game view's size while editor mode draws the game into it: the application's screen
    // follows it. False outside editor mode.
    virtual bool ViewSize(int*, int*) { return false; }
    // An event of the main window, before the application sees it: true keeps it from the
    // application, which otherwise gets it as the editor left it.
    virtual bool HandleEvent(SDL_Event&) { return false; }
};

// What makes the editor; its unit installs it. Without one EditorNew answers null.
using EditorMaker = Editor* (*)(void* instance);
void EditorSetMaker(EditorMaker maker);

Editor* EditorNew(void* instance);
void EditorDelete(Editor* editor);

// The function the editor hands each entity it has made to, with the application it was given.
// No redraw callback is needed: the window's own frame loop keeps drawing while a slider moves.
using EditorCallback = void (*)(ENTBASE* made, void* application);
void EditorSetCallback(EditorCallback callback, void* application);
EditorCallback EditorGetCallback();
// The editor's side: hands a made entity over (nothing without a callback).
void EditorEntityMade(ENTBASE* made);

void EditorSetDataDir(Editor* editor, const char* folder);
void EditorSetRootEntity(Editor* editor, ENTBASE* root);
bool EditorWantsPass(Editor* editor);
void EditorUpdate(Editor* editor, float realSeconds);
void EditorEnter(Editor* editor, void* mainWindow);
void EditorLeave(Editor* editor);
bool EditorIsActive(Editor* editor);
void EditorLayout(Editor* editor);
void EditorCommand(Editor* editor, int notification, int id);
void* EditorGameWindow(Editor* editor);
void EditorMaximize(Editor* editor);
bool EditorViewSize(Editor* editor, int* width, int* height);
bool EditorHandleEvent(Editor* editor, SDL_Event& event);
