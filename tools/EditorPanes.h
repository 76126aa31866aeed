// The editor's panes as the editor core sees them: the tool window (its "Lock Selection" box,
// the drag mode it shows, the current entity), the params pane (the entity whose variables it
// shows, and their undo) and the console. Their contents come with the variable-editing
// widgets; until then the panes keep what they are told.
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

    bool lockSelection = false;
    int dragMode = 0;
    ENTBASE* current = nullptr;
    ENTBASE* shown = nullptr;
    int undos = 0;
};
