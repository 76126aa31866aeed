// The main window's events while editor mode is on.
#include "engine/Input/SlInput.h"
#include "tools/MasterEdit.h"

#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <SDL.h>

static bool Inside(const EditorRect& r, int x, int y) {
    return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

bool MasterEdit::HandleEvent(SDL_Event& event) {
    if (!m_active) return false;
    const bool kept = !RouteEvent(event);
    // Keys reach the game's key table through an event watch and its buttons are buffered
    // before this hook sees them: a key or button kept from the game lets the device go, which
    // drops what it buffered; the game's next read takes it back with a fresh table.
    if (kept) {
        switch (event.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP: SlKbdAcquire(0); break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
            case SDL_MOUSEWHEEL: SlMouseAcquire(0); break;
            default: break;
        }
    }
    if (!kept && m_active) {
        const EditorRect& view = m_rects.view;
        if (event.type == SDL_MOUSEMOTION) {
            event.motion.x -= view.x;
            event.motion.y -= view.y;
        } else if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP) {
            event.button.x -= view.x;
            event.button.y -= view.y;
        }
    }
    return kept;
}

bool MasterEdit::RouteEvent(const SDL_Event& event) {
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
                return false;
            }
            if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) Layout();
            return true;
        case SDL_MOUSEWHEEL: return !imguiMouse;
        case SDL_MOUSEBUTTONDOWN:
            if (imguiMouse) return false;
            if (!Inside(view, event.button.x, event.button.y)) return false;
            if (event.button.button == SDL_BUTTON_LEFT)
                ViewButtonDown(event.button.x - view.x, event.button.y - view.y,
                               (mods & KMOD_CTRL) != 0);
            return true;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT && m_buttonDown) {
                ViewButtonUp();
                return true;
            }
            return Inside(view, event.button.x, event.button.y);
        case SDL_MOUSEMOTION:
            if (imguiMouse) return false;
            if (!m_buttonDown && !Inside(view, event.motion.x, event.motion.y)) return false;
            ViewMouseMove(event.motion.x - view.x, event.motion.y - view.y,
                          (mods & KMOD_SHIFT) != 0);
            return true;
        case SDL_TEXTINPUT: return !imguiKeys;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (imguiKeys) return false;
            if (event.key.keysym.scancode == SDL_SCANCODE_SPACE && !event.key.repeat)
                ViewSpace(event.type == SDL_KEYDOWN);
            return true;
        default: return true;
    }
}
