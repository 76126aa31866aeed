// The params pane (the rows of the shown entity and their undo) and the console.
#include "engine/EntBase.h"
#include "engine/EntTree.h"
#include "engine/Memory.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "tools/EditorWindows.h"
#include "tools/MasterEdit.h"

#include <imgui.h>

#include <cstring>

namespace {

// The bytes an instance entry's value takes in its object; none for entries that hold no value,
// and none for entity references, which may name an entity freed since.
size_t EntryBytes(const VarEntry& e) {
    switch (e.type) {
        case VAR_BYTE: return 1;
        case VAR_INT:
        case VAR_FLOAT:
        case VAR_BOOL: return 4;
        case VAR_STRING: return e.max.i >= 0 ? size_t(e.max.i) + 1 : 0;
        case VAR_COLOR4F: return 16;
        case VAR_COLOR3F: return 12;
        default: return 0;
    }
}

// Copies every instance entry's value out of the object (save) or back into it.
void CopyTableValues(VarTable* table, ENTBASE* object, std::vector<unsigned char>* saved,
                     bool save) {
    auto* base = reinterpret_cast<unsigned char*>(static_cast<void*>(object));
    size_t at = 0;
    VarEntry* entries = table->Entries();
    for (int i = 0; i < table->count; ++i) {
        const size_t n = EntryBytes(entries[i]);
        if (!n) continue;
        if (save) {
            saved->insert(saved->end(), base + entries[i].offset, base + entries[i].offset + n);
        } else {
            if (at + n > saved->size()) return;
            std::memcpy(base + entries[i].offset, saved->data() + at, n);
        }
        at += n;
    }
}

} // namespace

EditorWindows::~EditorWindows() {
    ClearRows();
}

void EditorWindows::ClearRows() {
    m_rows.clear();
    m_rowsStale = false;
    if (m_undoBlob) MemFree(m_undoBlob);
    m_undoBlob = nullptr;
    m_undoTable = nullptr;
    m_undoValues.clear();
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
    m_undoTable = entity->GetInstanceVarTable();
    if (m_undoTable) CopyTableValues(m_undoTable, entity, &m_undoValues, true);
    VarDbWndBuild(&m_rows, entity, entity->classDb);
}

void EditorWindows::Undo() {
    ++undos;
    ENTBASE* entity = shown;
    if (!EntIsLive(entity) || m_rowsStale) return;
    if (m_undoBlob) VarDbLoadBlob(entity->classDb, entity, m_undoBlob);
    EntNoteNamesEdited(); // the values put back may hold the old name
    // Only into the table the values were taken from: a changed table lays them out anew.
    if (m_undoTable && entity->GetInstanceVarTable() == m_undoTable)
        CopyTableValues(m_undoTable, entity, &m_undoValues, false);
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
