// Editor mode in the game's own window: the game is drawn into a framebuffer of the game
// view's size, and before each swap the window is composed from it and the editor's ImGui
// frame (menu bar, game view as an image, the panes). ImGui has no windows of its own here.
#include "I3d/Device.h"
#include "I3d/StateCache.h"
#include "tools/MasterEdit.h"

#include <backends/imgui_impl_opengl2.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <SDL.h>

void MasterEdit::StartUi() {
    if (!D3dDevice() || m_imgui) return;
    if (!I3dSetViewFramebuffer(m_rects.view.width, m_rects.view.height)) return;
    m_previousImgui = ImGui::GetCurrentContext();
    m_imgui = ImGui::CreateContext();
    ImGui::SetCurrentContext(m_imgui);
    ImGui::GetIO().IniFilename = nullptr;
    if (m_gameWindow)
        m_sdlBackend = ImGui_ImplSDL2_InitForOpenGL(static_cast<SDL_Window*>(m_gameWindow),
                                                    SDL_GL_GetCurrentContext());
    ImGui_ImplOpenGL2_Init();
    I3dSetComposeHook(Compose, this);
}

void MasterEdit::StopUi() {
    if (!m_imgui) return;
    ImGui::SetCurrentContext(m_imgui);
    if (m_frameOpen) ImGui::EndFrame();
    m_frameOpen = false;
    if (D3dDevice()) {
        I3dSetComposeHook(nullptr, nullptr);
        I3dSetViewFramebuffer(0, 0);
        // The font texture goes while the game's context is still there.
        ImGui_ImplOpenGL2_Shutdown();
    }
    if (m_sdlBackend) ImGui_ImplSDL2_Shutdown();
    m_sdlBackend = false;
    ImGui::DestroyContext(m_imgui);
    m_imgui = nullptr;
    ImGui::SetCurrentContext(m_previousImgui);
    m_previousImgui = nullptr;
}

void MasterEdit::BeginUiFrame(float seconds) {
    if (!m_imgui) return;
    ImGui::SetCurrentContext(m_imgui);
    // A frame that was never composed (nothing drawn, a lost device) is closed first.
    if (m_frameOpen) ImGui::EndFrame();
    ImGuiIO& io = ImGui::GetIO();
    ImGui_ImplOpenGL2_NewFrame();
    if (m_sdlBackend) {
        ImGui_ImplSDL2_NewFrame();
    } else {
        int width = 0, height = 0;
        m_host->GetWindowSize(&width, &height);
        io.DisplaySize = ImVec2((float)width, (float)height);
    }
    if (!m_sdlBackend || io.DeltaTime <= 0.0f) io.DeltaTime = seconds > 0.0f ? seconds : 1e-3f;
    ImGui::NewFrame();
    m_frameOpen = true;
    // The menu commands may leave editor mode or destroy what the frame holds: last.
    DrawUi();
}

// Called by the device before it shows the window, with the window's framebuffer bound and
// cleared and GL set as a plain renderer expects.
void MasterEdit::Compose(void* context) {
    auto* self = static_cast<MasterEdit*>(context);
    if (!self->m_imgui) return;
    ImGui::SetCurrentContext(self->m_imgui);
    if (!self->m_frameOpen) self->BeginUiFrame(0.0f);
    if (!self->m_imgui) return; // a command of that frame left editor mode
    ImGui::Render();
    self->m_frameOpen = false;
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    // The device sends its own states again; the kernel's cache must not trust what it sent.
    I3dResetStateCache();
}
