// The rows of one entity: its class database's fields, then its instance variable table.
#include "engine/EntBase.h"
#include "engine/PropFields.h"
#include "engine/VarTable.h"
#include "tools/VarWin.h"

#include <imgui.h>

#include <cstdio>
#include <cstring>

// ---- instance table rows ----

VarDbWnd::VarDbWnd(ENTBASE* object, VarEntry* entry) : CVarWin(object, nullptr), m_entry(entry) {
    char name[sizeof entry->name + 1] = {};
    std::memcpy(name, entry->name, sizeof entry->name);
    SetLabel(name);
}

void VarDbWnd::Create() {
    CVarWin::Create();
    Refresh();
}

// Floats as the database rows show them.
void VarDbWnd::Refresh() {
    if (!m_object) return;
    if (m_entry->type == VAR_FLOAT) {
        float value = 0.0f;
        std::memcpy(&value, reinterpret_cast<const char*>(m_object) + m_entry->offset, 4);
        VarFormatFloat(value, m_text, sizeof m_text);
    } else {
        VarTableEntryToText(m_entry, m_object, m_text, sizeof m_text);
    }
}

void VarDbWnd::TextChanged(const char* text) {
    if (!Live()) return;
    if (text != m_text) std::snprintf(m_text, sizeof m_text, "%s", text ? text : "");
    VarTableEntryFromText(m_entry, m_object, m_text);
    VarNotify(m_object);
}

static bool Ranged(const VarEntry* e) {
    switch (e->type) {
        case VAR_BYTE:
        case VAR_INT: return e->max.i > e->min.i;
        case VAR_FLOAT: return e->max.f > e->min.f;
        default: return false;
    }
}

// Float entries slide over 0..1024, whole-number entries over their range.
void VarDbWnd::Thumb(int position) {
    if (!Live() || !Ranged(m_entry)) return;
    char* at = reinterpret_cast<char*>(m_object) + m_entry->offset;
    if (m_entry->type == VAR_FLOAT) {
        const float value = VarFloatFromPosition(position, m_entry->min.f, m_entry->max.f);
        std::memcpy(at, &value, 4);
    } else {
        if (position < m_entry->min.i) position = m_entry->min.i;
        if (position > m_entry->max.i) position = m_entry->max.i;
        if (m_entry->type == VAR_BYTE) {
            const uint8_t value = (uint8_t)position;
            std::memcpy(at, &value, 1);
        } else {
            const int32_t value = position;
            std::memcpy(at, &value, 4);
        }
    }
    Refresh();
    VarNotify(m_object);
}

void VarDbWnd::Clicked(bool ticked) {
    if (!Live()) return;
    if (m_entry->type == VAR_BOOL) {
        const uint32_t value = ticked ? 1 : 0;
        std::memcpy(reinterpret_cast<char*>(m_object) + m_entry->offset, &value, 4);
    } else if (m_entry->type == VAR_COMMAND) {
        if (m_entry->function) m_entry->function(m_object);
    } else {
        return;
    }
    Refresh();
    VarNotify(m_object);
}

void VarDbWnd::Draw(int id) {
    ImGui::PushID(id);
    const float width = ImGui::GetWindowWidth();
    switch (m_entry->type) {
        case VAR_COMMAND:
            if (ImGui::Button(m_label)) Clicked(true);
            ImGui::PopID();
            return;
        case VAR_SEPARATOR:
            ImGui::Separator();
            ImGui::TextUnformatted(m_label);
            ImGui::PopID();
            return;
        default: break;
    }
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(m_label);
    ImGui::SameLine(width * 0.25f);
    // An instance table is read at load but never saved with its entity: an edit here would be
    // lost, so the values are shown greyed and take no input.
    ImGui::BeginDisabled();
    if (m_entry->type == VAR_BOOL) {
        uint32_t value = 0;
        if (Live()) std::memcpy(&value, reinterpret_cast<char*>(m_object) + m_entry->offset, 4);
        bool ticked = value != 0;
        if (ImGui::Checkbox("##box", &ticked)) Clicked(ticked);
    } else if (m_entry->type == VAR_BYTE || m_entry->type == VAR_INT ||
               m_entry->type == VAR_FLOAT || m_entry->type == VAR_STRING) {
        ImGui::SetNextItemWidth(width * 0.25f);
        if (ImGui::InputText("##text", m_text, sizeof m_text)) TextChanged(m_text);
        if (ImGui::IsItemDeactivated()) Refresh();
    }
    if (Ranged(m_entry) && Live()) {
        ImGui::SameLine(width * 0.5f);
        ImGui::SetNextItemWidth(-1.0f);
        const char* at = reinterpret_cast<const char*>(m_object) + m_entry->offset;
        int position = 0, lo = 0, hi = VARWIN_SLIDER_RANGE;
        if (m_entry->type == VAR_FLOAT) {
            float value = 0;
            std::memcpy(&value, at, 4);
            position = VarFloatPosition(value, m_entry->min.f, m_entry->max.f);
        } else {
            lo = m_entry->min.i, hi = m_entry->max.i;
            if (m_entry->type == VAR_BYTE) {
                uint8_t value = 0;
                std::memcpy(&value, at, 1);
                position = value;
            } else {
                std::memcpy(&position, at, 4);
            }
        }
        if (ImGui::SliderInt("##slider", &position, lo, hi, "")) Thumb(position);
    }
    ImGui::EndDisabled();
    ImGui::PopID();
}

// ---- building ----

template <typename Row, typename... Args>
static Row* Add(VarRows* rows, const char* label, Args&&... args) {
    auto row = std::make_unique<Row>(args...);
    row->SetLabel(label);
    Row* raw = row.get();
    rows->push_back(std::move(row));
    return raw;
}

// A "VECTOR3" or "COLOR3F" field: three float rows. The types carry no edit range: colours
// get 0..1, vectors text and arrows only.
static void AddTriple(VarRows* rows, ENTBASE* object, PropField* field, const char* suffixes) {
    const bool colour = field->type == PROP_COLOR3F;
    for (int i = 0; i < 3; ++i) {
        char label[VARWIN_LABEL_MAX];
        std::snprintf(label, sizeof label, "%s.%c", field->name, suffixes[i]);
        Add<CVarWinFloat>(rows, label, object, field, field->offset + 4 * i, 0.0f,
                          colour ? 1.0f : 0.0f, colour ? 0.01f : 1.0f);
    }
}

void VarDbWndBuild(VarRows* rows, ENTBASE* object, PropDb* db) {
    rows->clear();
    if (!object) return;
    for (PropField* f = db ? db->first : nullptr; f; f = f->next) {
        // The row's class by the field's class, not only its type id: a field whose class does
        // not match its id gets its label only.
        if (f->type == PROP_INT && dynamic_cast<PropFieldInt*>(f)) {
            Add<CVarWinInt>(rows, f->name, object, f);
        } else if ((f->type == PROP_FLOAT || f->type == PROP_ANGLE) &&
                   dynamic_cast<PropFieldFloat*>(f)) {
            auto* ff = static_cast<PropFieldFloat*>(f);
            Add<CVarWinFloat>(rows, f->name, object, f, f->offset, ff->min, ff->max, ff->step);
        } else if (f->type == PROP_STRING && dynamic_cast<PropFieldString*>(f)) {
            Add<CVarWinString>(rows, f->name, object, f);
        } else if (f->type == PROP_BOOL && dynamic_cast<PropFieldBool*>(f)) {
            Add<CVarWinBool>(rows, f->name, object, f);
        } else if (f->type == PROP_COLOR3F && dynamic_cast<PropFieldFloat3*>(f)) {
            AddTriple(rows, object, f, "rgb");
        } else if (f->type == PROP_VECTOR3 && dynamic_cast<PropFieldFloat3*>(f)) {
            AddTriple(rows, object, f, "xyz");
        } else if (f->type == PROP_COMMAND && dynamic_cast<PropFieldCommand*>(f)) {
            Add<CVarWinCommand>(rows, f->name, object, f);
        } else if (f->type == PROP_SEPARATOR) {
            Add<CVarWinSeparator>(rows, f->name, object, f);
        } else {
            Add<CVarWin>(rows, f->name, object, f);
        }
    }
    // The instance table's entries follow as read-only rows: not needed for editing, but they
    // show what a script has stored on the entity.
    if (VarTable* table = object->GetInstanceVarTable()) {
        VarEntry* entries = table->Entries();
        for (int i = 0; i < table->count; ++i)
            if (entries[i].type != VAR_FREE)
                rows->push_back(std::make_unique<VarDbWnd>(object, &entries[i]));
    }
    for (auto& row : *rows)
        row->Create();
}
