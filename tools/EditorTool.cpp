// The tool window: the page tabs, the drag-mode tabs, the selection buttons, the entity tree,
// the class-flag grid and the two pages without actions.
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntBase.h"
#include "engine/VarTable.h"
#include "tools/EditorWindows.h"
#include "tools/MasterEdit.h"

#include <imgui.h>

#include <cstdio>
#include <cstring>

EditorPanes* EditorWindowsNew(MasterEdit* editor) {
    return new EditorWindows(editor);
}

// ---- actions ----

ENTBASE* EditorWindows::FindObserver() const {
    ENTBASE* root = m_editor->RootEntity();
    return EntIsLive(root) ? EntTreeFindName(root, "Observer") : nullptr;
}

void EditorWindows::Choose(ENTBASE* entity) {
    if (!EntIsLive(entity)) return;
    m_editor->SelectAlone(entity);
    SetCurrent(entity);
    if (m_follow == FOLLOW_OBSERVE) ObserveSelection();
}

void EditorWindows::ObserveSelection() {
    int count = 0;
    ENTBASE* const* selection = m_editor->Selection(&count);
    ENTBASE* observer = FindObserver();
    if (count == 0 || !observer) return;
    float box[6] = {};
    bool any = false;
    for (int i = 0; i < count; ++i) {
        float b[6];
        if (const float* bounds = selection[i]->GetBounds()) {
            std::memcpy(b, bounds, sizeof b);
        } else {
            VECTOR3 p{};
            selection[i]->CopyPos(&p);
            b[0] = b[3] = p.x, b[1] = b[4] = p.y, b[2] = b[5] = p.z;
        }
        for (int k = 0; k < 3; ++k) {
            box[k] = any && box[k] < b[k] ? box[k] : b[k];
            box[k + 3] = any && box[k + 3] > b[k + 3] ? box[k + 3] : b[k + 3];
        }
        any = true;
    }
    const float cx = (box[0] + box[3]) * 0.5f, cy = (box[1] + box[4]) * 0.5f,
                cz = (box[2] + box[5]) * 0.5f;
    observer->SetVector3("pos", cx, cy + 15.0f, cz - 15.0f);
    observer->SetFloat("yaw", 0.0f);
    observer->SetFloat("pitch", 0.785385f);
}

// A float of the observer's instance table, or the fallback when it has no such entry.
static float ObserverValue(ENTBASE* observer, const char* name, float fallback) {
    VarTable* table = observer->GetInstanceVarTable();
    VarEntry* entry = table ? VarTableFind(table, name) : nullptr;
    if (!entry || entry->type != VAR_FLOAT) return fallback;
    float value = 0.0f;
    std::memcpy(&value, reinterpret_cast<const char*>(observer) + entry->offset, 4);
    return value;
}

void EditorWindows::SnapSelection() {
    int count = 0;
    ENTBASE* const* selection = m_editor->Selection(&count);
    ENTBASE* observer = FindObserver();
    if (count == 0 || !observer) return;
    ENTBASE* first = selection[0];
    VECTOR3 pos{};
    observer->CopyPos(&pos);
    auto* observer3d = dynamic_cast<Ent3dBase*>(observer);
    pos.x = ObserverValue(observer, "pos.x", pos.x);
    pos.y = ObserverValue(observer, "pos.y", pos.y);
    pos.z = ObserverValue(observer, "pos.z", pos.z);
    const float yaw = ObserverValue(observer, "yaw", observer->GetYaw());
    const float pitch =
        ObserverValue(observer, "pitch", observer3d ? observer3d->GetPitch() : 0.0f);
    first->SetPos(&pos);
    first->SetYaw(yaw);
    if (auto* first3d = dynamic_cast<Ent3dBase*>(first)) first3d->SetPitch(pitch);
    if (EntIsLive(first)) first->SetFlag(ENT_FLAG_CHANGED);
}

// ---- the window ----

void EditorWindows::DrawDragTabs() {
    static const char* const kTabs[] = {"XZ", "Yaw", "Y"};
    if (!ImGui::BeginTabBar("Tab2")) return;
    // Space shows "Yaw" while held; letting go shows the tab's own mode again. A tab set by
    // the program shows a frame later: until then what the bar shows is no choice.
    if (m_spaceWas && !spaceHeld) m_forceTab = tabMode;
    m_spaceWas = spaceHeld;
    const int force = spaceHeld ? (int)EDITOR_DRAG_TURN : m_forceTab;
    int shown = -1;
    for (int i = 0; i < 3; ++i) {
        const ImGuiTabItemFlags flags = i == force ? ImGuiTabItemFlags_SetSelected : 0;
        const bool open = ImGui::BeginTabItem(kTabs[i], nullptr, flags);
        MasterEdit::ReportItem(kTabs[i]);
        if (open) {
            shown = i;
            ImGui::EndTabItem();
        }
    }
    ImGui::EndTabBar();
    if (force >= 0) {
        m_settle = 2;
    } else if (m_settle > 0) {
        --m_settle;
    } else if (shown >= 0 && shown != tabMode) {
        tabMode = shown;
        m_editor->SetDragMode(shown);
    }
    m_forceTab = -1;
}

void EditorWindows::DrawTool() {
    ImGui::Checkbox("Lock Selection", &lockSelection);
    MasterEdit::ReportItem("Lock Selection");
    if (ImGui::Button("Snap Selection to Viewpoint")) SnapSelection();
    MasterEdit::ReportItem("Snap Selection to Viewpoint");
    ImGui::Button("Eye In Selected Entity");
    if (ImGui::Button("Eye In Observer")) FindObserver();
    DrawDragTabs();
    if (ImGui::BeginTabBar("Tab1")) {
        static const char* const kPages[] = {"Entities", "Settings", "Params", "Debug"};
        for (int i = 0; i < 4; ++i) {
            const bool open = ImGui::BeginTabItem(kPages[i]);
            MasterEdit::ReportItem(kPages[i]);
            if (!open) continue;
            if (i == 0)
                DrawEntitiesPage();
            else if (i == 1)
                DrawSettingsPage();
            else
                DrawInfoPage(i - 2);
            ImGui::EndTabItem();
        }
        ImGui::EndTabBar();
    }
}

void EditorWindows::DrawEntitiesPage() {
    const int openAll = m_openAll;
    m_openAll = 0;
    if (ImGui::Button("Expand All")) m_openAll = 1;
    MasterEdit::ReportItem("Expand All");
    ImGui::SameLine();
    if (ImGui::Button("Collapse All")) m_openAll = -1;
    MasterEdit::ReportItem("Collapse All");
    ImGui::SameLine();
    // The tree is walked every frame: there is nothing to rebuild.
    ImGui::Button("Refresh");
    if (ImGui::Button("Observe Entity")) ObserveSelection();
    MasterEdit::ReportItem("Observe Entity");
    ImGui::SameLine();
    if (ImGui::Button("Orbit Entity") && EntIsLive(current)) {
        float box[6];
        current->CopyBounds(box);
    }
    bool orbit = m_follow == FOLLOW_ORBIT, observe = m_follow == FOLLOW_OBSERVE;
    if (ImGui::Checkbox("Auto Orbit", &orbit) && orbit) m_follow = FOLLOW_ORBIT;
    ImGui::SameLine();
    if (ImGui::Checkbox("Auto Observe", &observe))
        m_follow = observe ? FOLLOW_OBSERVE : FOLLOW_NONE;
    MasterEdit::ReportItem("Auto Observe");
    ImGui::TextUnformatted("Search:");
    ImGui::SameLine();
    ImGui::SetNextItemWidth(-1.0f);
    ImGui::InputText("##search", m_search, sizeof m_search);
    if (ImGui::BeginChild("Tree1", ImVec2(0, 0), true)) {
        ENTBASE* root = m_editor->RootEntity();
        if (EntIsLive(root)) {
            EntWalkGuard guard;
            DrawTreeNode(root, openAll);
        }
    }
    ImGui::EndChild();
}

void EditorWindows::DrawTreeNode(ENTBASE* entity, int openAll) {
    ImGuiTreeNodeFlags flags = ImGuiTreeNodeFlags_OpenOnArrow | ImGuiTreeNodeFlags_SpanAvailWidth;
    EntNode* node = entity->node;
    bool hasChild = false;
    for (EntNode* c = node ? node->firstChild : nullptr; c; c = c->next)
        if (!c->deleteCount && c->object) hasChild = true;
    if (!hasChild) flags |= ImGuiTreeNodeFlags_Leaf;
    if (entity == current) flags |= ImGuiTreeNodeFlags_Selected;
    if (openAll)
        ImGui::SetNextItemOpen(openAll > 0);
    else if (entity == m_editor->RootEntity())
        ImGui::SetNextItemOpen(true, ImGuiCond_Once);
    const bool open =
        ImGui::TreeNodeEx((void*)(uintptr_t)entity->serial, flags, "%s", entity->GetName());
    char id[48];
    std::snprintf(id, sizeof id, "tree:%s", entity->GetName());
    MasterEdit::ReportItem(id);
    ENTBASE* chosen = ImGui::IsItemClicked() && !ImGui::IsItemToggledOpen() ? entity : nullptr;
    if (open) {
        for (EntNode* c = node ? node->firstChild : nullptr; c; c = c->next)
            if (!c->deleteCount && c->object) DrawTreeNode(c->object, openAll);
        ImGui::TreePop();
    }
    // After the walk below it: choosing may follow the entity with the observer.
    if (chosen) Choose(chosen);
}

// The rows of the grid: the class, and the bits its boxes may toggle (the draw-only row's box
// is shown but cannot be toggled).
namespace {
struct FlagRow {
    const char* label;
    const char* className;
    uint32_t bits;
    bool shownOnly;
};
const FlagRow kFlagRows[] = {
    {"Terrain", "Terrain2", CLASS_FLAG_DRAW | CLASS_FLAG_OVERLAY | CLASS_FLAG_SELECT, false},
    {"Static Models", "StaticObject", CLASS_FLAG_DRAW | CLASS_FLAG_OVERLAY | CLASS_FLAG_SELECT,
     false},
    {"GrassMesh", "GrassMesh", CLASS_FLAG_DRAW | CLASS_FLAG_OVERLAY | CLASS_FLAG_SELECT, false},
    {"ParticleSpray", "ParticleSpray",
     CLASS_FLAG_DRAW | CLASS_FLAG_OVERLAY | CLASS_FLAG_SELECT | CLASS_FLAG_MOVE, false},
    {"Camera Wpts", "CameraWaypoint", CLASS_FLAG_DRAW, true},
};
// The third column switches the entities' name-and-box overlay, and says so: its caption names
// what the box does.
const char* const kColumns[] = {"Draw", "Overlay", "Select", "Move"};
const uint32_t kColumnBits[] = {CLASS_FLAG_DRAW, CLASS_FLAG_OVERLAY, CLASS_FLAG_SELECT,
                                CLASS_FLAG_MOVE};
} // namespace

// The page's other boxes (water, track zones, physics, fill mode, time scale and the like) have
// no action at all, so they are left off: a box that switches nothing only misleads.
void EditorWindows::DrawSettingsPage() {
    if (!ImGui::BeginTable("ClassFlags", 5)) return;
    ImGui::TableSetupColumn("");
    for (const char* column : kColumns)
        ImGui::TableSetupColumn(column);
    ImGui::TableHeadersRow();
    ENTBASE* root = m_editor->RootEntity();
    for (const FlagRow& row : kFlagRows) {
        EntNode* node =
            EntIsLive(root) && root->node ? EntTreeFindByClass(root->node, row.className) : nullptr;
        auto* entity = dynamic_cast<Ent3dBase*>(node ? node->object : nullptr);
        // The class-wide word is reached through a live entity of the class: with none in the
        // tree the row is greyed, as a word set then would change nothing on screen.
        const uint32_t word = entity ? entity->GetClassFlags() : 0;
        const bool usable = entity && word != CLASS_FLAGS_UNSET;
        ImGui::TableNextRow();
        ImGui::TableNextColumn();
        ImGui::TextUnformatted(row.label);
        for (int c = 0; c < 4; ++c) {
            ImGui::TableNextColumn();
            if (!(row.bits & kColumnBits[c])) continue;
            ImGui::PushID(row.label);
            ImGui::BeginDisabled(!usable || row.shownOnly);
            unsigned int flags = usable ? word : 0;
            const bool changed = ImGui::CheckboxFlags(kColumns[c], &flags, kColumnBits[c]);
            ImGui::EndDisabled();
            char id[64];
            std::snprintf(id, sizeof id, "%s/%s", row.label, kColumns[c]);
            MasterEdit::ReportItem(id);
            ImGui::PopID();
            if (changed && usable && !row.shownOnly) entity->SetClassFlags(flags);
        }
    }
    ImGui::EndTable();
}

void EditorWindows::DrawInfoPage(int page) {
    ImGui::PushID(page);
    ImGui::TextUnformatted("Status Display");
    // No "&" keyboard marks: these buttons have no mnemonics, the mark would show as text.
    static const char* const kStatus[] = {"None", "Simple", "Verbose"};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) ImGui::SameLine();
        ImGui::RadioButton(kStatus[i], &m_status[page], i);
        MasterEdit::ReportItem(kStatus[i]);
    }
    ImGui::TextUnformatted("Jump To:");
    static const char* const kAxes[] = {"X:", "Y:", "Z:"};
    for (int i = 0; i < 3; ++i) {
        ImGui::SetNextItemWidth(60.0f);
        ImGui::InputText(kAxes[i], m_jump[page][i], sizeof m_jump[page][i]);
        if (i < 2) ImGui::SameLine();
    }
    ImGui::Button("Jump To");
    ImGui::SameLine();
    ImGui::Button("Grab Cur Pos");
    ImGui::PopID();
}
