// The in-game editor: picks, selects, moves, turns, raises, duplicates and saves entities of the
// running game. While editor mode is off it only keeps its state; in editor mode the main window
// becomes the 1024 x 768 "Editor Mode" window with the game view, the tool window, the console
// and the params pane, under a menu bar.
//
// The entities it keeps (selection, hover) are dropped the moment they leave the live set
// (the entity framework's removal hook), so a patron that destroys itself mid-drag or a cleared
// scene never leaves it a freed pointer.
#pragma once

#include "engine/DataDir.h"
#include "tools/Editor.h"
#include "tools/EditorHost.h"
#include "tools/EditorPanes.h"
#include "tools/EditorRects.h"

#include <memory>
#include <string>

// Menu command ids.
enum {
    EDCMD_EXIT = 40014,
    EDCMD_DEVINFO = 40015,
    EDCMD_SAVE = 40025,
    EDCMD_SAVE_SELECTED = 40027,
    EDCMD_UNDO = 40028,
    EDCMD_SAVE_CHANGED = 40030,
    EDCMD_DUPLICATE = 40031,
    EDCMD_SCRIPT1 = 40032,
    EDCMD_SCRIPT2 = 40033,
    EDCMD_SCRIPT3 = 40034,
};

enum {
    EDITOR_SELECT_MAX = 128,
    EDITOR_DRAG_THRESHOLD = 4,
};

enum EditorDragMode {
    EDITOR_DRAG_MOVE = 0, // in the ground plane
    EDITOR_DRAG_TURN = 1, // while Space is held
    EDITOR_DRAG_RAISE = 2,
};

struct ImGuiContext;

class MasterEdit : public Editor {
  public:
    explicit MasterEdit(void* instance);
    ~MasterEdit() override;

    // ---- the application's calls ----
    void SetDataDir(const char* folder) override;
    void SetRootEntity(ENTBASE* root) override { m_root = root; }
    ENTBASE* RootEntity() const { return m_root; }
    bool WantsPass() override { return m_active; }
    void Update(float realSeconds) override;
    void Enter(void* mainWindow) override;
    void Leave() override;
    bool IsActive() override { return m_active; }
    void Layout() override;
    void Command(int notification, int id) override;
    void* GameWindow() override { return m_gameWindow; }
    ENTBASE* const* Selection(int* count) override {
        *count = m_count;
        return m_selection;
    }
    void* Instance() override { return m_instance; }
    void Maximize() override;
    bool ViewSize(int* width, int* height) override;

    // ---- the game view's input, in game-view coordinates ----
    void ViewButtonDown(int x, int y, bool control);
    void ViewButtonUp();
    void ViewMouseMove(int x, int y, bool shift);
    void ViewSpace(bool down);
    // The main window's events while editor mode is on: the close box leaves it; the pointer
    // over the game view (or dragging from it) and Space reach the handlers above. Pointer
    // events outside the game view with no drag are kept from the game; those it lets through
    // are put into game-view coordinates, the game's screen.
    bool HandleEvent(SDL_Event& event) override;
    // The tool window's choice (EditorDragMode); Space switches between move and turn.
    void SetDragMode(int mode);

    // ---- selection ----
    void SelectAdd(ENTBASE* entity);
    void SelectRemove(ENTBASE* entity);
    void SelectAlone(ENTBASE* entity);
    void SelectClear();
    bool IsSelected(const ENTBASE* entity) const;
    int SelectionCount() const { return m_count; }
    ENTBASE* Hover() const { return m_hover; }

    // The nearest pickable entity under a game-view point, or null.
    ENTBASE* PickAt(int x, int y);
    // Copies an entity beside itself (its name + "x", same class, parent and source file),
    // hands it to the application and marks it changed. Null when it cannot be made.
    ENTBASE* Duplicate(ENTBASE* entity);

    // The window's parts (window coordinates) and the menu bar's height they were laid out for.
    const EditorRects& Rects() const { return m_rects; }
    void SetMenuBarHeight(int height);
    int MenuBarHeight() const { return m_menuBar; }
    // Null outside editor mode.
    EditorPanes* Panes() { return m_panes.get(); }
    EditorHost* Host() { return m_host.get(); }
    int DragMode() const { return m_dragMode; }
    bool ButtonDown() const { return m_buttonDown; }
    bool Moved() const { return m_moved; }
    const char* DataFolder() const { return m_dataDir.path.c_str(); }

    // The menu bar and the panes, inside an ImGui frame the caller runs.
    void DrawUi();
    // A hook told of every menu item drawn (its label and rectangle), for tests.
    using ItemHook = void (*)(const char* id, float x0, float y0, float x1, float y1);
    static void SetItemHook(ItemHook hook);
    // Tells the hook of the last item drawn.
    static void ReportItem(const char* id);

    // True while the game is drawn into the view and composed with the editor's ImGui frame
    // (editor mode over a device that can).
    bool Composing() const { return m_imgui != nullptr; }

  private:
    // ---- the ImGui half over the game's window (MasterEditView.cpp) ----
    void StartUi();
    void StopUi();
    void BeginUiFrame(float seconds);
    static void Compose(void* context);
    // Whether the game may have the event (false keeps it from the game).
    bool RouteEvent(const SDL_Event& event);

    static void OnEntityGone(const ENTBASE* gone, void* context);
    void Forget(const ENTBASE* gone);
    void DragBy(int dx, int dy, bool shift);
    void MoveSelection(int dx, int dy);
    void SaveSelected();
    void SaveChanged(ENTBASE* entity);
    void SaveOne(ENTBASE* entity);
    void RunScript(const char* fileName);
    void ShowFirst();

    void* m_instance;
    void* m_gameWindow = nullptr;
    std::unique_ptr<EditorHost> m_host;
    std::unique_ptr<EditorPanes> m_panes;
    DataDir m_dataDir{};
    EditorRects m_rects;
    int m_menuBar = 19;
    int m_savedWidth = 0, m_savedHeight = 0;
    std::string m_savedTitle;

    bool m_active = false;
    bool m_moved = false;
    bool m_buttonDown = false;
    bool m_spaceHeld = false;
    float m_moveScale = 0.02f;
    int m_dragSumX = 0, m_dragSumY = 0;
    int m_anchorX = 0, m_anchorY = 0;
    int m_currentX = 0, m_currentY = 0;
    int m_dragMode = EDITOR_DRAG_MOVE;
    ENTBASE* m_root = nullptr;
    ENTBASE* m_selection[EDITOR_SELECT_MAX] = {};
    int m_count = 0;
    ENTBASE* m_hover = nullptr;
    float m_blinkClock = 0.0f;

    ImGuiContext* m_imgui = nullptr;
    ImGuiContext* m_previousImgui = nullptr;
    bool m_sdlBackend = false;
    bool m_frameOpen = false;
};

// The maker engine/Main.cpp installs (EditorSetMaker).
Editor* MasterEditNew(void* instance);
