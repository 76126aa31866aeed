// The editor object: editor mode, the layout, selection, picking, dragging and the blink.
#include "tools/MasterEdit.h"

#include "I3d/Device.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Pick.h"
#include "engine/DebugLog.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntBase.h"
#include "engine/EntQueries.h"
#include "engine/System.h"
#include "tools/EditorWindows.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

Editor* MasterEditNew(void* instance) {
    return new MasterEdit(instance);
}

MasterEdit::MasterEdit(void* instance) : m_instance(instance) {
    EntSetRemovalHook(OnEntityGone, this);
}

MasterEdit::~MasterEdit() {
    Leave();
    EntSetRemovalHook(nullptr, nullptr);
}

void MasterEdit::OnEntityGone(const ENTBASE* gone, void* context) {
    static_cast<MasterEdit*>(context)->Forget(gone);
}

// The entity is being destroyed: drop it without touching it.
void MasterEdit::Forget(const ENTBASE* gone) {
    for (int i = 0; i < m_count; ++i) {
        if (m_selection[i] == gone) {
            m_selection[i] = m_selection[--m_count];
            m_selection[m_count] = nullptr;
            break;
        }
    }
    if (m_hover == gone) m_hover = nullptr;
    if (m_root == gone) m_root = nullptr;
    if (m_panes) m_panes->Forget(gone);
}

void MasterEdit::SetDataDir(const char* folder) {
    DataDirSetFromFile(&m_dataDir, folder);
}

// ---- editor mode ----

// Picking passes through the ground and the placement grid while editing.
static void ClearSelectBit(ENTBASE* root, const char* className) {
    if (!EntIsLive(root) || !root->node) return;
    EntNode* node = EntTreeFindByClass(root->node, className);
    if (auto* entity = dynamic_cast<Ent3dBase*>(node ? node->object : nullptr))
        entity->SetClassFlags(entity->GetClassFlags() & ~(uint32_t)ENT_CLASS_PICKABLE);
}

void MasterEdit::Enter(void* mainWindow) {
    if (m_active) return;
    m_active = true;
    m_gameWindow = mainWindow;
    m_host.reset(EditorHostNew(mainWindow));
    m_host->GetWindowSize(&m_savedWidth, &m_savedHeight);
    m_savedTitle = m_host->GetTitle().substr(0, 259);
    m_panes.reset(EditorWindowsNew(this));
    m_host->SetWindowSize(EDITOR_WIDTH, EDITOR_HEIGHT);
    m_host->SetTitle("Editor Mode");
    ClearSelectBit(m_root, "Terrain2");
    ClearSelectBit(m_root, "GameGrid");
    Layout();
    StartUi();
}

void MasterEdit::Leave() {
    if (!m_active) return;
    SelectClear();
    if (EntIsLive(m_hover)) m_hover->ClearFlag(ENT_FLAG_DRAWPOST);
    m_hover = nullptr;
    m_buttonDown = m_moved = false;
    m_host->CaptureMouse(false);
    StopUi();
    m_panes.reset();
    m_host->SetTitle(m_savedTitle.c_str());
    if (m_savedWidth > 0 && m_savedHeight > 0) m_host->SetWindowSize(m_savedWidth, m_savedHeight);
    m_host.reset();
    m_gameWindow = nullptr;
    m_active = false;
}

void MasterEdit::Layout() {
    if (!m_active) return;
    int width = 0, height = 0;
    m_host->GetWindowSize(&width, &height);
    m_rects = EditorComputeRects(width, height, m_menuBar);
    // The game is drawn at the view's size from the next frame on.
    if (m_imgui) I3dSetViewFramebuffer(m_rects.view.width, m_rects.view.height);
}

bool MasterEdit::ViewSize(int* width, int* height) {
    if (!m_active) return false;
    *width = m_rects.view.width;
    *height = m_rects.view.height;
    return true;
}

void MasterEdit::SetMenuBarHeight(int height) {
    if (height == m_menuBar) return;
    m_menuBar = height;
    Layout();
}

void MasterEdit::Maximize() {
    if (!m_active) return;
    int width = 0, height = 0;
    SysDesktopSize(&width, &height);
    if (width > 0 && height > 0) m_host->SetWindowSize(width, height);
    Layout();
}

// ---- selection ----

bool MasterEdit::IsSelected(const ENTBASE* entity) const {
    for (int i = 0; i < m_count; ++i)
        if (m_selection[i] == entity) return true;
    return false;
}

void MasterEdit::ShowFirst() {
    if (!m_panes) return;
    ENTBASE* first = m_count > 0 ? m_selection[0] : nullptr;
    m_panes->ShowEntity(first);
    m_panes->SetCurrent(first);
}

void MasterEdit::SelectAdd(ENTBASE* entity) {
    if (!EntIsLive(entity) || m_count >= EDITOR_SELECT_MAX || IsSelected(entity)) return;
    m_selection[m_count++] = entity;
    entity->SetFlag(ENT_FLAG_DRAWPOST);
    if (m_count == 1) ShowFirst();
}

void MasterEdit::SelectRemove(ENTBASE* entity) {
    for (int i = 0; i < m_count; ++i) {
        if (m_selection[i] != entity) continue;
        if (EntIsLive(entity)) entity->ClearFlag(ENT_FLAG_DRAWPOST);
        m_selection[i] = m_selection[--m_count];
        m_selection[m_count] = nullptr;
        return;
    }
}

void MasterEdit::SelectClear() {
    for (int i = 0; i < m_count; ++i) {
        if (EntIsLive(m_selection[i])) m_selection[i]->ClearFlag(ENT_FLAG_DRAWPOST);
        m_selection[i] = nullptr;
    }
    m_count = 0;
    ShowFirst();
}

void MasterEdit::SelectAlone(ENTBASE* entity) {
    SelectClear();
    SelectAdd(entity);
    ShowFirst();
}

// ---- picking ----

ENTBASE* MasterEdit::PickAt(int x, int y) {
    if (!EntIsLive(m_root)) return nullptr;
    const float w = (float)m_rects.view.width, h = (float)m_rects.view.height;
    if (w <= 0 || h <= 0) return nullptr;
    PickQuery query{};
    if (PickRay(2.0f * (float)x / w - 1.0f, 1.0f - 2.0f * (float)y / h, &query.origin,
                &query.dir) == 0)
        return nullptr;
    query.best = nullptr;
    query.bestDistance = 3.4028235e38f;
    m_root->PickTree(&query);
    return EntIsLive(query.best) ? query.best : nullptr;
}

// ---- the game view's input ----

void MasterEdit::ViewSpace(bool down) {
    m_spaceHeld = down;
    // Letting Space go returns to the mode the tool window's tab shows, not to moving: the tab
    // bar owns the drag modes, and a "Y" tab still shown over a move would be a lie.
    m_dragMode = down ? EDITOR_DRAG_TURN : (m_panes ? m_panes->tabMode : EDITOR_DRAG_MOVE);
    if (m_panes) {
        m_panes->spaceHeld = down;
        m_panes->SetDragMode(m_dragMode);
    }
}

void MasterEdit::SetDragMode(int mode) {
    m_dragMode = mode;
    if (m_panes) m_panes->SetDragMode(mode);
}

void MasterEdit::ViewButtonDown(int x, int y, bool control) {
    m_buttonDown = true;
    m_moved = false;
    m_dragSumX = m_dragSumY = 0;
    if (m_host) m_host->CaptureMouse(true);
    m_anchorX = m_currentX = x;
    m_anchorY = m_currentY = y;
    if (m_panes && m_panes->LockSelection()) return;
    ENTBASE* picked = PickAt(x, y);
    if (!control) {
        if (!picked || !IsSelected(picked)) SelectAlone(picked);
    } else if (picked) {
        if (IsSelected(picked))
            SelectRemove(picked);
        else
            SelectAdd(picked);
    }
}

void MasterEdit::ViewButtonUp() {
    m_buttonDown = false;
    m_moved = false;
    if (m_host) m_host->CaptureMouse(false);
}

void MasterEdit::ViewMouseMove(int x, int y, bool shift) {
    if (m_buttonDown) {
        // The warp's own move back onto the anchor. Only while the button is down: a hover move
        // onto the last anchor is a real move.
        if (x == m_anchorX && y == m_anchorY) return;
        const int dx = x - m_anchorX, dy = y - m_anchorY;
        m_currentX = x, m_currentY = y;
        // Back onto the anchor, so that every move is a step from it.
        if (m_host) m_host->WarpMouse(m_anchorX + m_rects.view.x, m_anchorY + m_rects.view.y);
        DragBy(dx, dy, shift);
        return;
    }
    ENTBASE* picked = PickAt(x, y);
    if (picked == m_hover) return;
    if (EntIsLive(m_hover)) {
        if (IsSelected(m_hover))
            m_hover->SetFlag(ENT_FLAG_DRAWPOST);
        else
            m_hover->ClearFlag(ENT_FLAG_DRAWPOST);
    }
    m_hover = picked;
    DbgPrintf(DBG_GENERAL, "Entity under cursor: %s\n", picked ? picked->GetName() : "NONE");
}

void MasterEdit::DragBy(int dx, int dy, bool shift) {
    if (m_count == 0) return;
    if (!m_moved) {
        m_dragSumX += std::abs(dx);
        m_dragSumY += std::abs(dy);
        if (m_dragSumX <= EDITOR_DRAG_THRESHOLD && m_dragSumY <= EDITOR_DRAG_THRESHOLD) return;
        m_moved = true;
        if (shift) {
            // The copies are what the drag moves.
            ENTBASE* originals[EDITOR_SELECT_MAX];
            const int n = m_count;
            std::memcpy(originals, m_selection, sizeof(ENTBASE*) * (size_t)n);
            SelectClear();
            for (int i = 0; i < n; ++i)
                if (EntIsLive(originals[i])) SelectAdd(Duplicate(originals[i]));
            ShowFirst();
        }
    }
    MoveSelection(dx, dy);
}

void MasterEdit::MoveSelection(int dx, int dy) {
    float heading = 0.0f;
    if (m_dragMode == EDITOR_DRAG_MOVE) {
        // The pick camera keeps the view matrix: its rigid inverse is the camera in the world.
        Mat4 world;
        Mat4InverseRigid(PickGetCamera(), &world);
        heading = Mat4Heading(&world);
    }
    const float a = (float)dx * m_moveScale, b = -(float)dy * m_moveScale;
    // A snapshot: an entity that goes away meanwhile leaves the selection.
    ENTBASE* moving[EDITOR_SELECT_MAX];
    const int n = m_count;
    std::memcpy(moving, m_selection, sizeof(ENTBASE*) * (size_t)n);
    for (int i = 0; i < n; ++i) {
        ENTBASE* entity = moving[i];
        if (!EntIsLive(entity)) continue;
        if (m_dragMode == EDITOR_DRAG_TURN) {
            entity->SetYaw(entity->GetYaw() + a);
        } else {
            VECTOR3 pos{};
            entity->CopyPos(&pos);
            if (m_dragMode == EDITOR_DRAG_MOVE) {
                pos.x += std::sin(heading) * b + std::cos(heading) * a;
                pos.z += std::cos(heading) * b - std::sin(heading) * a;
            } else {
                pos.y += (float)dy * -0.01f;
            }
            entity->SetPos(&pos);
        }
        // VarsChanged may destroy the entity (the hook then drops it from the selection).
        entity->VarsChanged();
        if (EntIsLive(entity)) entity->SetFlag(ENT_FLAG_CHANGED);
    }
}

// ---- the frame ----

void MasterEdit::Update(float realSeconds) {
    m_blinkClock += realSeconds;
    const int phase = (int)(m_blinkClock * 8.0f);
    if (EntIsLive(m_hover) && !IsSelected(m_hover)) {
        if (phase & 1)
            m_hover->SetFlag(ENT_FLAG_DRAWPOST);
        else
            m_hover->ClearFlag(ENT_FLAG_DRAWPOST);
    }
    BeginUiFrame(realSeconds);
}
