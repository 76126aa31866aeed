// The contents of the editor's three panes: the tool window (its tabs, the entity tree, the
// class-flag grid, the selection buttons), the console and the params pane with the rows of the
// first selected entity.
//
// No pane keeps an entity past its removal: the editor's removal hook reaches Forget, which
// leaves the rows without their entity (they are thrown away before the next frame draws) and
// drops the current entity. The tree is walked anew every frame.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "tools/EditorPanes.h"
#include "tools/VarWin.h"

#include <deque>
#include <string>
#include <vector>

class MasterEdit;
struct VarTable;

enum {
    CONSOLE_LINES_MAX = 1000,
    FOLLOW_ORBIT = 0,
    FOLLOW_OBSERVE = 1,
    FOLLOW_NONE = 2,
};

// The editor-wide class flags the settings page shows: picking and the name-and-box overlay
// are the world entities' own bits.
enum : uint32_t {
    CLASS_FLAG_SELECT = ENT_CLASS_PICKABLE,
    CLASS_FLAG_DRAW = ENT_CLASS_DRAW,
    CLASS_FLAG_OVERLAY = ENT_CLASS_DEBUG_DRAW,
    CLASS_FLAG_MOVE = ENT_CLASS_MOVE,
    CLASS_FLAGS_UNSET = ENT_CLASS_FLAGS_BASE, // a class that keeps no word of its own
};

class EditorWindows : public EditorPanes {
  public:
    explicit EditorWindows(MasterEdit* editor) : m_editor(editor) {}
    ~EditorWindows() override;

    void SetDragMode(int mode) override { dragMode = mode; }
    void SetCurrent(ENTBASE* entity) override { current = entity; }
    void ShowEntity(ENTBASE* entity) override;
    void Undo() override;
    void Forget(const ENTBASE* entity) override;
    void DrawTool() override;
    void DrawConsole() override;
    void DrawParams() override;

    // ---- the tool window's actions ----
    // Makes the entity current, selects it alone and follows it by the follow mode.
    void Choose(ENTBASE* entity);
    // The entity named "Observer" under the root, or null.
    ENTBASE* FindObserver() const;
    // Puts the observer above and behind the centre of the selection's bounds.
    void ObserveSelection();
    // The first selected entity takes the observer's pose.
    void SnapSelection();
    void SetFollowMode(int mode) { m_follow = mode; }
    int FollowMode() const { return m_follow; }

    // ---- console ----
    void ConsoleAppend(const char* line) override;
    const std::deque<std::string>& ConsoleLines() const { return m_lines; }

    // ---- params pane ----
    const VarRows& Rows() const { return m_rows; }

  private:
    void DrawEntitiesPage();
    void DrawTreeNode(ENTBASE* entity, int openAll);
    void DrawSettingsPage();
    void DrawInfoPage(int page);
    void DrawDragTabs();
    void ClearRows();

    MasterEdit* m_editor;
    // The params pane: the rows, the values and the mark when the entity was shown.
    VarRows m_rows;
    bool m_rowsStale = false;
    bool m_drawingRows = false;
    bool m_showPending = false;
    ENTBASE* m_pendingShow = nullptr;
    void* m_undoBlob = nullptr;
    bool m_undoMark = false;
    // The instance table's values, entry after entry, when the entity has one.
    VarTable* m_undoTable = nullptr;
    std::vector<unsigned char> m_undoValues;
    // The tool window.
    int m_follow = FOLLOW_NONE;
    int m_openAll = 0; // 1 expand, -1 collapse, for one frame
    int m_forceTab = -1;
    bool m_spaceWas = false;
    int m_settle = 0;
    char m_search[64] = {};
    int m_status[2] = {};
    char m_jump[2][3][32] = {};
    // The console.
    std::deque<std::string> m_lines;
    char m_input[256] = {};
};

EditorPanes* EditorWindowsNew(MasterEdit* editor);
