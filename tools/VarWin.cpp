// The rows' rules and the float, int, string, bool, command and separator rows.
#include "tools/VarWin.h"

#include "engine/EntBase.h"
#include "engine/EntTree.h"
#include "engine/PropFields.h"

#include <imgui.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// ---- rules ----

void VarFormatFloat(float value, char* out, size_t outSize) {
    if (!out || outSize == 0) return;
    char text[64];
    std::snprintf(text, sizeof text, "%f", (double)value);
    if (std::strchr(text, '.')) {
        size_t n = std::strlen(text);
        while (n > 0 && text[n - 1] == '0')
            text[--n] = '\0';
    }
    std::snprintf(out, outSize, "%s", text);
}

int VarFloatPosition(float value, float min, float max) {
    if (!std::isfinite(value) || !(max > min)) return 0;
    double f = ((double)value - (double)min) / ((double)max - (double)min);
    if (!(f > 0.0)) f = 0.0;
    if (f > 1.0) f = 1.0;
    return (int)((double)VARWIN_SLIDER_RANGE * f);
}

float VarFloatFromPosition(int position, float min, float max) {
    return min + (max - min) * (float)position / (float)VARWIN_SLIDER_RANGE;
}

int VarIntPage(int min, int max) {
    return (int)(((int64_t)max - (int64_t)min) / 10);
}

float VarTextToFloat(const char* text) {
    char cut[VARWIN_TEXT_MAX + 1];
    std::snprintf(cut, sizeof cut, "%s", text ? text : "");
    return (float)std::atof(cut);
}

int VarTextToInt(const char* text) {
    char cut[VARWIN_TEXT_MAX + 1];
    std::snprintf(cut, sizeof cut, "%s", text ? text : "");
    errno = 0;
    const long value = std::strtol(cut, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return (int)value;
}

void VarNotify(ENTBASE* entity) {
    if (!EntIsLive(entity)) return;
    // The edited row may be the name, which searches by name look up.
    EntNoteNamesEdited();
    // VarsChanged may destroy the entity.
    entity->VarsChanged();
    if (EntIsLive(entity)) entity->SetFlag(ENT_FLAG_CHANGED);
}

// Clamped to the int range (a float range of a huge span must not overflow the cast).
static int ClampToInt(double value) {
    if (!(value > (double)INT_MIN)) return INT_MIN;
    if (value > (double)INT_MAX) return INT_MAX;
    return (int)value;
}

// ---- the base row ----

CVarWin::CVarWin(ENTBASE* object, PropField* field) : m_object(object), m_field(field) {}

void CVarWin::SetLabel(const char* text) {
    std::snprintf(m_label, sizeof m_label, "%s", text ? text : "");
}

void CVarWin::DrawLabel() {
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(m_label);
    ImGui::SameLine(ImGui::GetWindowWidth() * 0.3f);
}

void CVarWin::Draw(int id) {
    ImGui::PushID(id);
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(m_label);
    ImGui::PopID();
}

// ---- float ----

CVarWinFloat::CVarWinFloat(ENTBASE* object, PropField* field, intptr_t offset, float min, float max,
                           float step)
    : CVarWin(object, field), m_offset(offset), m_min(min), m_max(max), m_step(step) {}

float CVarWinFloat::Value() const {
    float value = 0.0f;
    if (m_object) std::memcpy(&value, reinterpret_cast<const char*>(m_object) + m_offset, 4);
    return value;
}

void CVarWinFloat::Create() {
    CVarWin::Create();
    VarFormatFloat(Value(), m_text, sizeof m_text);
}

void CVarWinFloat::Store(float value) {
    std::memcpy(reinterpret_cast<char*>(m_object) + m_offset, &value, 4);
}

void CVarWinFloat::Line(int direction) {
    if (!Live()) return;
    Store(Value() + (float)direction * m_step);
    VarFormatFloat(Value(), m_text, sizeof m_text);
    VarNotify(m_object);
}

void CVarWinFloat::Page(int direction) {
    if (!Live()) return;
    Store(Value() + (float)direction * (m_max - m_min) / 10.0f);
    VarFormatFloat(Value(), m_text, sizeof m_text);
    VarNotify(m_object);
}

void CVarWinFloat::Thumb(int position) {
    if (!Live() || !HasSlider()) return;
    Store(VarFloatFromPosition(position, m_min, m_max));
    VarFormatFloat(Value(), m_text, sizeof m_text);
    VarNotify(m_object);
}

void CVarWinFloat::TextChanged(const char* text) {
    if (!Live()) return;
    if (text != m_text) std::snprintf(m_text, sizeof m_text, "%s", text ? text : "");
    Store(VarTextToFloat(m_text));
    VarNotify(m_object);
}

void CVarWinFloat::Deactivated() {
    if (!Live()) return;
    VarFormatFloat(Value(), m_text, sizeof m_text);
    VarNotify(m_object);
}

// The line arrows; Shift stands for a click in the trough (a page).
template <typename Row>
static void Arrows(Row* row) {
    const bool page = ImGui::GetIO().KeyShift;
    ImGui::SameLine();
    if (ImGui::ArrowButton("##less", ImGuiDir_Left)) page ? row->Page(-1) : row->Line(-1);
    ImGui::SameLine();
    if (ImGui::ArrowButton("##more", ImGuiDir_Right)) page ? row->Page(1) : row->Line(1);
}

void CVarWinFloat::Draw(int id) {
    ImGui::PushID(id);
    DrawLabel();
    ImGui::SetNextItemWidth(ImGui::GetWindowWidth() * 0.2f);
    if (ImGui::InputText("##text", m_text, sizeof m_text)) TextChanged(m_text);
    if (ImGui::IsItemDeactivated()) Deactivated();
    if (HasSlider()) {
        ImGui::SameLine();
        int position = Live() ? Position() : 0;
        ImGui::SetNextItemWidth(ImGui::GetWindowWidth() * 0.3f);
        if (ImGui::SliderInt("##slider", &position, 0, VARWIN_SLIDER_RANGE, "")) Thumb(position);
    }
    Arrows(this);
    ImGui::PopID();
}

// ---- int ----

CVarWinInt::CVarWinInt(ENTBASE* object, PropField* field) : CVarWin(object, field) {
    auto* f = static_cast<PropFieldInt*>(field);
    m_min = f->min, m_max = f->max, m_step = f->step;
}

int CVarWinInt::Value() const {
    int value = 0;
    if (m_object) m_field->GetInt(m_object, &value);
    return value;
}

void CVarWinInt::Create() {
    CVarWin::Create();
    std::snprintf(m_text, sizeof m_text, "%i", Value());
}

void CVarWinInt::Store(int value) {
    m_field->SetInt(m_object, value);
    std::snprintf(m_text, sizeof m_text, "%i", Value());
    VarNotify(m_object);
}

void CVarWinInt::Line(int direction) {
    if (Live()) Store(ClampToInt((double)Value() + (double)direction * m_step));
}

void CVarWinInt::Page(int direction) {
    if (Live()) Store(ClampToInt((double)Value() + (double)direction * VarIntPage(m_min, m_max)));
}

void CVarWinInt::Thumb(int position) {
    if (Live() && HasSlider()) Store(position);
}

void CVarWinInt::TextChanged(const char* text) {
    if (!Live()) return;
    if (text != m_text) std::snprintf(m_text, sizeof m_text, "%s", text ? text : "");
    m_field->SetInt(m_object, VarTextToInt(m_text));
    VarNotify(m_object);
}

void CVarWinInt::Deactivated() {
    if (Live()) std::snprintf(m_text, sizeof m_text, "%i", Value());
}

void CVarWinInt::Draw(int id) {
    ImGui::PushID(id);
    DrawLabel();
    ImGui::SetNextItemWidth(ImGui::GetWindowWidth() * 0.2f);
    if (ImGui::InputText("##text", m_text, sizeof m_text, ImGuiInputTextFlags_CharsDecimal))
        TextChanged(m_text);
    if (ImGui::IsItemDeactivated()) Deactivated();
    if (HasSlider()) {
        ImGui::SameLine();
        int position = Live() ? Value() : m_min;
        ImGui::SetNextItemWidth(ImGui::GetWindowWidth() * 0.3f);
        if (ImGui::SliderInt("##slider", &position, m_min, m_max, "")) Thumb(position);
    }
    Arrows(this);
    ImGui::PopID();
}

// ---- string ----

CVarWinString::CVarWinString(ENTBASE* object, PropField* field) : CVarWin(object, field) {
    const int bytes = static_cast<PropFieldString*>(field)->maxLength + 1;
    m_size = bytes < VARWIN_TEXT_MAX ? bytes : VARWIN_TEXT_MAX;
    if (m_size < 1) m_size = 1;
}

void CVarWinString::Create() {
    CVarWin::Create();
    if (!m_object) return;
    const char* s = reinterpret_cast<const char*>(m_object) + m_field->offset;
    const size_t n = strnlen(s, (size_t)m_size - 1);
    std::memcpy(m_text, s, n);
    m_text[n] = '\0';
}

void CVarWinString::TextChanged(const char* text) {
    if (!Live()) return;
    if (!text) text = "";
    const size_t n = strnlen(text, (size_t)m_size - 1);
    if (text != m_text) std::memmove(m_text, text, n);
    m_text[n] = '\0';
    char* dst = reinterpret_cast<char*>(m_object) + m_field->offset;
    std::memcpy(dst, m_text, n + 1);
    VarNotify(m_object);
}

void CVarWinString::Draw(int id) {
    ImGui::PushID(id);
    DrawLabel();
    ImGui::SetNextItemWidth(-1.0f);
    if (ImGui::InputText("##text", m_text, (size_t)m_size)) TextChanged(m_text);
    ImGui::PopID();
}

// ---- bool, command, separator ----

bool CVarWinBool::Value() const {
    uint8_t value = 0;
    if (m_object) m_field->GetBool(m_object, &value);
    return value != 0;
}

void CVarWinBool::Clicked(bool ticked) {
    if (!Live()) return;
    m_field->SetBool(m_object, ticked ? 1 : 0);
    VarNotify(m_object);
}

void CVarWinBool::Draw(int id) {
    ImGui::PushID(id);
    DrawLabel();
    bool ticked = Live() && Value();
    if (ImGui::Checkbox("##box", &ticked)) Clicked(ticked);
    ImGui::PopID();
}

void CVarWinCommand::Clicked() {
    if (!Live()) return;
    if (auto* handler = static_cast<PropFieldCommand*>(m_field)->handler) handler(m_object);
    VarNotify(m_object);
}

void CVarWinCommand::Draw(int id) {
    ImGui::PushID(id);
    if (ImGui::Button(m_label)) Clicked();
    ImGui::PopID();
}

void CVarWinSeparator::Draw(int id) {
    ImGui::PushID(id);
    ImGui::Separator();
    ImGui::TextUnformatted(m_label);
    ImGui::PopID();
}
