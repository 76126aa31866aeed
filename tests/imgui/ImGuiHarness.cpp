// Dear ImGui on an offscreen llvmpipe context for the tool tests.
#include "tests/imgui/ImGuiHarness.h"

#include "platform/d3d8/GlContext.h"

#include <backends/imgui_impl_opengl2.h>

std::map<std::string, ImGuiItemRect> ImGuiHarness::s_items;

ImGuiHarness::ImGuiHarness(int width, int height) : m_width(width), m_height(height) {
    m_gl = D3dGlContext::CreateOffscreen(&m_error);
    if (!m_gl) return;
    m_gl->MakeCurrent();
    const D3dGlFuncs& gl = m_gl->Gl();
    gl.GenFramebuffers(1, &m_fbo);
    gl.BindFramebuffer(GL_FRAMEBUFFER, m_fbo);
    gl.GenRenderbuffers(1, &m_color);
    gl.BindRenderbuffer(GL_RENDERBUFFER, m_color);
    gl.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_color);
    if (gl.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        m_error = "the framebuffer is incomplete";
        return;
    }
    m_imgui = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2((float)width, (float)height);
    // Keys by their ImGui names: the synthetic key index is the ImGuiKey itself.
    for (int k = 0; k < ImGuiKey_COUNT; ++k)
        io.KeyMap[k] = k;
    ImGui_ImplOpenGL2_Init();
    m_ok = true;
}

ImGuiHarness::~ImGuiHarness() {
    if (m_imgui) {
        ImGui_ImplOpenGL2_Shutdown();
        ImGui::DestroyContext(m_imgui);
    }
    if (m_gl) {
        const D3dGlFuncs& gl = m_gl->Gl();
        gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
        if (m_fbo) gl.DeleteFramebuffers(1, &m_fbo);
        if (m_color) gl.DeleteRenderbuffers(1, &m_color);
    }
    s_items.clear();
}

void ImGuiHarness::Record(const char* id, float x0, float y0, float x1, float y1) {
    s_items[id ? id : ""] = ImGuiItemRect{x0, y0, x1, y1};
}

ImGuiItemRect ImGuiHarness::Item(const std::string& id) const {
    auto it = s_items.find(id);
    return it == s_items.end() ? ImGuiItemRect{} : it->second;
}

void ImGuiHarness::Frame(const std::function<void()>& widgets) {
    if (!m_ok) return;
    ImGuiIO& io = ImGui::GetIO();
    io.DeltaTime = 1.0f / 60.0f;
    io.DisplaySize = ImVec2((float)m_width, (float)m_height);
    io.MousePos = ImVec2(m_mouseX, m_mouseY);
    io.MouseDown[0] = m_mouseDown;
    for (int k = 0; k < ImGuiKey_COUNT; ++k)
        io.KeysDown[k] = k == m_keyDown;
    io.KeyShift = m_shift;
    s_items.clear();
    ImGui_ImplOpenGL2_NewFrame();
    ImGui::NewFrame();
    if (widgets) widgets();
    ImGui::Render();
    m_gl->Gl().BindFramebuffer(GL_FRAMEBUFFER, m_fbo);
    glViewport(0, 0, m_width, m_height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    glFinish();
}

void ImGuiHarness::Click(float x, float y, const std::function<void()>& widgets) {
    m_mouseX = x, m_mouseY = y;
    Frame(widgets);
    m_mouseDown = true;
    Frame(widgets);
    m_mouseDown = false;
    Frame(widgets);
    Frame(widgets);
}

void ImGuiHarness::PressKey(int imguiKey, const std::function<void()>& widgets) {
    m_keyDown = imguiKey;
    Frame(widgets);
    m_keyDown = -1;
    Frame(widgets);
}

void ImGuiHarness::Wheel(float x, float y, float turn, const std::function<void()>& widgets) {
    m_mouseX = x, m_mouseY = y;
    if (m_ok) ImGui::GetIO().MouseWheel = turn;
    Frame(widgets);
}

void ImGuiHarness::Type(const char* text, const std::function<void()>& widgets) {
    if (m_ok) ImGui::GetIO().AddInputCharactersUTF8(text);
    Frame(widgets);
}

uint32_t ImGuiHarness::Pixel(int x, int y) const {
    if (!m_ok || x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    m_gl->Gl().BindFramebuffer(GL_FRAMEBUFFER, m_fbo);
    uint8_t rgba[4] = {};
    glReadPixels(x, m_height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return (uint32_t)rgba[3] << 24 | (uint32_t)rgba[0] << 16 | (uint32_t)rgba[1] << 8 | rgba[2];
}
