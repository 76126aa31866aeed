// The editor's entry points: the maker and the callback are held here, the rest forward to the
// editor object.
#include "tools/Editor.h"

static EditorMaker s_maker = nullptr;
static EditorCallback s_callback = nullptr;
static void* s_application = nullptr;

void EditorSetMaker(EditorMaker maker) {
    s_maker = maker;
}

Editor* EditorNew(void* instance) {
    return s_maker ? s_maker(instance) : nullptr;
}

void EditorDelete(Editor* editor) {
    delete editor;
}

void EditorSetCallback(EditorCallback callback, void* application) {
    s_callback = callback;
    s_application = application;
}

EditorCallback EditorGetCallback() {
    return s_callback;
}

void EditorEntityMade(ENTBASE* made) {
    if (s_callback) s_callback(made, s_application);
}

void EditorSetDataDir(Editor* editor, const char* folder) {
    if (editor) editor->SetDataDir(folder);
}

void EditorSetRootEntity(Editor* editor, ENTBASE* root) {
    if (editor) editor->SetRootEntity(root);
}

bool EditorWantsPass(Editor* editor) {
    return editor && editor->WantsPass();
}

void EditorUpdate(Editor* editor, float realSeconds) {
    if (editor) editor->Update(realSeconds);
}

void EditorEnter(Editor* editor, void* mainWindow) {
    if (editor) editor->Enter(mainWindow);
}

void EditorLeave(Editor* editor) {
    if (editor) editor->Leave();
}

bool EditorIsActive(Editor* editor) {
    return editor && editor->IsActive();
}

void EditorLayout(Editor* editor) {
    if (editor) editor->Layout();
}

void EditorCommand(Editor* editor, int notification, int id) {
    if (editor) editor->Command(notification, id);
}

void* EditorGameWindow(Editor* editor) {
    return editor ? editor->GameWindow() : nullptr;
}

void EditorMaximize(Editor* editor) {
    if (editor) editor->Maximize();
}

bool EditorViewSize(Editor* editor, int* width, int* height) {
    return editor && editor->ViewSize(width, height);
}

bool EditorHandleEvent(Editor* editor, SDL_Event& event) {
    return editor && editor->HandleEvent(event);
}
