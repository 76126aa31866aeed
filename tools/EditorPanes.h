// The editor's panes as the editor core sees them: the tool window (its "Lock Selection" box,
// the drag mode it shows, the current entity), the params pane (the entity whose variables it
// shows, and their undo) and the console. This base only keeps what it is told; the panes'
// contents are EditorWindows.
#pragma once

class ENTBASE;

class EditorPanes {
  public:
    virtual ~EditorPanes() = default;
    // The tool window.
    virtual bool LockSelection() { return lockSelection; }
    virtual void SetDragMode(int mode) { dragMode = mode; }
    virtual void SetCurrent(ENTBASE* entity) { current = entity; }
    // The params pane; Undo writes back the values shown when the entity was selected.
    virtual void ShowEntity(ENTBASE* entity) { shown = entity; }
    virtual void Undo() { ++undos; }
    // Called before an entity is freed: no pane keeps it.
    virtual void Forget(const ENTBASE* entity) {
        if (current == entity) current = nullptr;
        if (shown == entity) shown = nullptr;
    }

    // A line for the console's output.
    virtual void ConsoleAppend(const char*) {}

    // The panes' contents, each inside its fixed window.
    virtual void DrawTool() {}
    virtual void DrawConsole() {}
    virtual void DrawParams() {}

    bool lockSelection = false;
    // The mode the tool window's tab chose; Space up goes back to it.
    int tabMode = 0;
    bool spaceHeld = false;
    int dragMode = 0;
    ENTBASE* current = nullptr;
    ENTBASE* shown = nullptr;
    int undos = 0;
};
