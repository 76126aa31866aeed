// The params pane (the rows of the shown entity and their undo) and the console.
#include "engine/EntBase.h"
#include "engine/Memory.h"
#include "engine/PropDb.h"
#include "tools/EditorWindows.h"
#include "tools/MasterEdit.h"

#include <imgui.h>

EditorWindows::~EditorWindows() {
    ClearRows();
}

void EditorWindows::ClearRows() {
    m_rows.clear();
    m_rowsStale = false;
    if (m_undoBlob) MemFree(m_undoBlob);
    m_undoBlob = nullptr;
}

void EditorWindows::ShowEntity(ENTBASE* entity) {
    if (!EntIsLive(entity)) entity = nullptr;
    // A row's command changed the selection: the rows go once the loop over them is done.
    if (m_drawingRows) {
        m_pendingShow = entity;
        m_showPending = true;
        return;
    }
    if (entity == shown && !m_rowsStale) return;
    ClearRows();
    shown = entity;
    if (!entity) return;
    m_undoBlob = VarDbSaveBlob(entity->classDb, entity);
    m_undoMark = (entity->flags & ENT_FLAG_CHANGED) != 0;
    VarDbWndBuild(&m_rows, entity, entity->classDb);
}

void EditorWindows::Undo() {
    ++undos;
    ENTBASE* entity = shown;
    if (!EntIsLive(entity) || m_rowsStale) return;
    if (m_undoBlob) VarDbLoadBlob(entity->classDb, entity, m_undoBlob);
    if (m_undoMark)
        entity->SetFlag(ENT_FLAG_CHANGED);
    else
        entity->ClearFlag(ENT_FLAG_CHANGED);
    // The rows show the values written back.
    for (auto& row : m_rows)
        row->Create();
    entity->VarsChanged();
}

// The entity is being freed, perhaps from inside one of the rows (its VarsChanged): the rows
// let go of it now and are thrown away before the next frame draws them.
void EditorWindows::Forget(const ENTBASE* entity) {
    EditorPanes::Forget(entity);
    if (m_pendingShow == entity) m_pendingShow = nullptr;
    bool mine = false;
    for (auto& row : m_rows) {
        if (row->Object() != entity) continue;
        row->Drop();
        mine = true;
    }
    if (mine) m_rowsStale = true;
}

void EditorWindows::DrawParams() {
    if (m_rowsStale) ClearRows();
    if (ImGui::BeginChild("Rows", ImVec2(0, 0), false)) {
        m_drawingRows = true;
        for (size_t i = 0; i < m_rows.size() && !m_rowsStale; ++i) {
            m_rows[i]->Draw((int)i);
            MasterEdit::ReportItem(m_rows[i]->Label());
        }
        m_drawingRows = false;
    }
    ImGui::EndChild();
    if (m_showPending) {
        m_showPending = false;
        // Gone meanwhile: the removal hook cleared it.
        ShowEntity(EntIsLive(m_pendingShow) ? m_pendingShow : nullptr);
    }
}

void EditorWindows::ConsoleAppend(const char* line) {
    m_lines.emplace_back(line ? line : "");
    while (m_lines.size() > CONSOLE_LINES_MAX)
        m_lines.pop_front();
}

void EditorWindows::DrawConsole() {
    const float inputHeight = ImGui::GetFrameHeightWithSpacing() * 2.0f;
    ImGui::TextUnformatted("Output");
    if (ImGui::BeginChild("Output", ImVec2(0, -inputHeight), true)) {
        for (const std::string& line : m_lines)
            ImGui::TextUnformatted(line.c_str());
        if (ImGui::GetScrollY() >= ImGui::GetScrollMaxY()) ImGui::SetScrollHereY(1.0f);
    }
    ImGui::EndChild();
    ImGui::TextUnformatted("Input");
    ImGui::SameLine();
    ImGui::SetNextItemWidth(ImGui::GetContentRegionAvail().x - 60.0f);
    bool enter =
        ImGui::InputText("##input", m_input, sizeof m_input, ImGuiInputTextFlags_EnterReturnsTrue);
    MasterEdit::ReportItem("Input");
    if (enter) ImGui::SetKeyboardFocusHere(-1);
    ImGui::SameLine();
    enter |= ImGui::Button("Enter");
    MasterEdit::ReportItem("Enter");
    if (enter) {
        ConsoleAppend(m_input);
        m_input[0] = '\0';
    }
}
