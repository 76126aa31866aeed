// The editor's host over an SDL window.
#include "tools/EditorHost.h"

#include <SDL.h>

namespace {

class EditorHostSdl : public EditorHost {
  public:
    explicit EditorHostSdl(SDL_Window* window) : m_window(window) {
        // Closing the window leaves editor mode (the editor sees the close event); a quit
        // from a signal still quits.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    }
    ~EditorHostSdl() override { SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "1"); }
    void GetWindowSize(int* width, int* height) override {
        *width = *height = 0;
        if (m_window) SDL_GetWindowSize(m_window, width, height);
    }
    void SetWindowSize(int width, int height) override {
        if (m_window) SDL_SetWindowSize(m_window, width, height);
    }
    std::string GetTitle() override { return m_window ? SDL_GetWindowTitle(m_window) : ""; }
    void SetTitle(const char* title) override {
        if (m_window) SDL_SetWindowTitle(m_window, title);
    }
    void WarpMouse(int x, int y) override {
        if (m_window) SDL_WarpMouseInWindow(m_window, x, y);
    }
    void CaptureMouse(bool on) override { SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }

  private:
    SDL_Window* m_window;
};

EditorHost* MakeSdlHost(void* window) {
    return new EditorHostSdl(static_cast<SDL_Window*>(window));
}

EditorHostMaker s_hostMaker = MakeSdlHost;

} // namespace

void EditorSetHostMaker(EditorHostMaker maker) {
    s_hostMaker = maker ? maker : MakeSdlHost;
}

EditorHost* EditorHostNew(void* window) {
    return s_hostMaker(window);
}
