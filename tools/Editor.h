// The in-game editor as the application drives it: made at start-up when this build has one,
// given the tree to edit, toggled with Ctrl+F1, updated last in every frame and asked whether it
// wants its debug draw pass. Every call takes the editor the application holds; the application
// makes none of them without one.
#pragma once

class ENTBASE;

class Editor {
  public:
    virtual ~Editor() = default;
    virtual void SetDataDir(const char* folder) = 0;
    virtual void SetRootEntity(ENTBASE* root) = 0;
    virtual void ToggleMode(void* mainWindow) = 0;
    virtual bool WantsPass() = 0;
    virtual void Update(float realSeconds) = 0;
};

// What makes the editor; its unit installs it. Without one EditorNew answers null.
using EditorMaker = Editor* (*)(void* instance);
void EditorSetMaker(EditorMaker maker);

Editor* EditorNew(void* instance);
void EditorDelete(Editor* editor);

// The function the editor hands each entity it has made to, with the application it was given.
using EditorCallback = void (*)(ENTBASE* made, void* application);
void EditorSetCallback(EditorCallback callback, void* application);
// The editor's side: hands a made entity over (nothing without a callback).
void EditorEntityMade(ENTBASE* made);

void EditorSetDataDir(Editor* editor, const char* folder);
void EditorSetRootEntity(Editor* editor, ENTBASE* root);
void EditorToggleMode(Editor* editor, void* mainWindow);
bool EditorWantsPass(Editor* editor);
void EditorUpdate(Editor* editor, float realSeconds);
