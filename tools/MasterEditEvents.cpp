// The main window's events while editor mode is on.
#include "tools/MasterEdit.h"

#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <SDL.h>

static bool Inside(const EditorRect& r, int x, int y) {
    return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

bool MasterEdit::HandleEvent(const SDL_Event& event) {
    if (!m_active) return false;
    bool imguiMouse = false, imguiKeys = false;
    if (m_imgui) {
        ImGui::SetCurrentContext(m_imgui);
        if (m_sdlBackend) ImGui_ImplSDL2_ProcessEvent(&event);
        // What ImGui asked for at its last frame: the menus and panes under the pointer, a
        // focused text field.
        imguiMouse = ImGui::GetIO().WantCaptureMouse && !m_buttonDown;
        imguiKeys = ImGui::GetIO().WantCaptureKeyboard;
    }
    const EditorRect& view = m_rects.view;
    const SDL_Keymod mods = SDL_GetModState();
    switch (event.type) {
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                // The close box ends editor mode, not the game.
                Leave();
                return true;
            }
            if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) Layout();
            return false;
        case SDL_MOUSEWHEEL: return imguiMouse;
        case SDL_MOUSEBUTTONDOWN:
            if (imguiMouse) return true;
            if (!Inside(view, event.button.x, event.button.y)) return true;
            if (event.button.button == SDL_BUTTON_LEFT)
                ViewButtonDown(event.button.x - view.x, event.button.y - view.y,
                               (mods & KMOD_CTRL) != 0);
            return false;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT && m_buttonDown) {
                ViewButtonUp();
                return false;
            }
            return !Inside(view, event.button.x, event.button.y);
        case SDL_MOUSEMOTION:
            if (imguiMouse) return true;
            if (!m_buttonDown && !Inside(view, event.motion.x, event.motion.y)) return true;
            ViewMouseMove(event.motion.x - view.x, event.motion.y - view.y,
                          (mods & KMOD_SHIFT) != 0);
            return false;
        case SDL_TEXTINPUT: return imguiKeys;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (imguiKeys) return true;
            if (event.key.keysym.scancode == SDL_SCANCODE_SPACE && !event.key.repeat)
                ViewSpace(event.type == SDL_KEYDOWN);
            return false;
        default: return false;
    }
}
