// A renderer-less ImGui context driven by synthetic mouse input.
#include "tests/imgui/ImGuiInput.h"

std::map<std::string, ImGuiItemRect> ImGuiInput::s_items;

namespace {

// Makes the context current for its lifetime and gives the caller's back.
class ContextScope {
  public:
    explicit ContextScope(ImGuiContext* context) : m_previous(ImGui::GetCurrentContext()) {
        ImGui::SetCurrentContext(context);
    }
    ~ContextScope() { ImGui::SetCurrentContext(m_previous); }
    ContextScope(const ContextScope&) = delete;
    ContextScope& operator=(const ContextScope&) = delete;

  private:
    ImGuiContext* m_previous;
};

} // namespace

ImGuiInput::ImGuiInput(int width, int height) : m_width(width), m_height(height) {
    ImGuiContext* previous = ImGui::GetCurrentContext();
    m_imgui = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    // Nothing is drawn, but a frame needs the font atlas built.
    unsigned char* pixels = nullptr;
    int w = 0, h = 0;
    io.Fonts->GetTexDataAsAlpha8(&pixels, &w, &h);
    ImGui::SetCurrentContext(previous);
}

ImGuiInput::~ImGuiInput() {
    ImGui::DestroyContext(m_imgui);
    s_items.clear();
}

void ImGuiInput::Record(const char* id, float x0, float y0, float x1, float y1) {
    s_items[id ? id : ""] = ImGuiItemRect{x0, y0, x1, y1};
}

void ImGuiInput::Frame(const std::function<void()>& widgets) {
    ContextScope scope(m_imgui);
    ImGuiIO& io = ImGui::GetIO();
    io.DeltaTime = 1.0f / 60.0f;
    io.DisplaySize = ImVec2((float)m_width, (float)m_height);
    io.MousePos = ImVec2(m_mouseX, m_mouseY);
    io.MouseDown[0] = m_mouseDown;
    s_items.clear();
    ImGui::NewFrame();
    if (widgets) widgets();
    ImGui::Render();
}

bool ImGuiInput::Click(const std::string& id, const std::function<void()>& widgets) {
    auto it = s_items.find(id);
    if (it == s_items.end()) return false;
    m_mouseX = it->second.CentreX(), m_mouseY = it->second.CentreY();
    Frame(widgets);
    m_mouseDown = true;
    Frame(widgets);
    m_mouseDown = false;
    Frame(widgets);
    Frame(widgets);
    return true;
}
