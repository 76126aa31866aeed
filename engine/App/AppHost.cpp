// The application's platform seam over SDL2.
#include "engine/App/AppHost.h"

#include "engine/App/AppIcon.h"

#include "engine/DebugLog.h"

#include <cstdlib>
#include <cstring>
#include <string>

AppHost::~AppHost() {
    WindowClose();
}

// ---- the window ----

namespace {
// SDL 2 takes the X11 class of its windows from this variable of the environment (it has no hint
// for it), read as its video starts. It is set for the opening only, so programs we start do not
// inherit it.
class WindowClassVariable {
  public:
    WindowClassVariable() {
        if (const char* v = std::getenv(kName)) m_before = v, m_had = true;
        setenv(kName, kAppWindowClass, 1);
    }
    ~WindowClassVariable() {
        m_had ? (void)setenv(kName, m_before.c_str(), 1) : (void)unsetenv(kName);
    }

  private:
    static constexpr const char* kName = "SDL_VIDEO_X11_WMCLASS";
    std::string m_before;
    bool m_had = false;
};
} // namespace

int AppHost::WindowOpen(const char* title, int width, int height, std::string* error) {
    if (m_window) return 0;
    WindowClassVariable windowClass;
    if (!m_videoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            if (error) *error = SDL_GetError();
            return -1;
        }
        m_videoStarted = true;
    }
    // Without a display SDL falls back to drawing into memory: a window nobody can see or close
    // would run for ever. Those drivers serve only when asked for by name (the tests ask).
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
        !(asked && *asked)) {
        if (error) *error = "no display to show it on (set DISPLAY, or run under xvfb-run)";
        WindowClose();
        return -1;
    }
    uint32_t flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    if (!m_offscreen) {
        I3dPrepareWindowAttributes();
        flags |= SDL_WINDOW_OPENGL;
    }
    m_window = SDL_CreateWindow(title, 0, 0, width > 0 ? width : 1, height > 0 ? height : 1, flags);
    if (!m_window) {
        if (error) *error = SDL_GetError();
        WindowClose();
        return -1;
    }
    AppIconApply(m_window);
    return 0;
}

void AppHost::WindowClose() {
    if (m_window) SDL_DestroyWindow(m_window);
    m_window = nullptr;
    if (m_videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    m_videoStarted = false;
}

void AppHost::WindowShow() {
    if (m_window) SDL_ShowWindow(m_window);
}

void AppHost::WindowHide() {
    if (m_window) SDL_HideWindow(m_window);
}

void AppHost::WindowSetClientSize(int width, int height) {
    if (m_window && width > 0 && height > 0) SDL_SetWindowSize(m_window, width, height);
}

void AppHost::WindowPlace(int outerWidth, int outerHeight) {
    if (!m_window) return;
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(m_window, &top, &left, &bottom, &right) != 0)
        top = left = bottom = right = 0;
    int w = outerWidth - left - right, h = outerHeight - top - bottom;
    // SDL places the client area: the frame's corner lands at (0, 0) when the client sits
    // inside the borders.
    SDL_SetWindowPosition(m_window, left, top);
    SDL_SetWindowSize(m_window, w > 0 ? w : 1, h > 0 ? h : 1);
}

void AppHost::ClientSize(int* width, int* height) const {
    int w = 0, h = 0;
    if (m_window) {
        if (m_offscreen)
            SDL_GetWindowSize(m_window, &w, &h);
        else
            SDL_GL_GetDrawableSize(m_window, &w, &h);
    }
    *width = w;
    *height = h;
}

void AppHost::CursorShow(int show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

int AppHost::CursorRelative(int on) {
    return SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE) == 0 ? 0 : -1;
}

void AppHost::CursorPosition(int* x, int* y) {
    SDL_GetMouseState(x, y);
}

void AppHost::CursorWarp(int x, int y) {
    if (m_window) SDL_WarpMouseInWindow(m_window, x, y);
}

int AppHost::FullScreenSize(int* width, int* height) const {
    int display = m_window ? SDL_GetWindowDisplayIndex(m_window) : 0;
    if (display < 0) display = 0;
    for (int i = 0, n = SDL_GetNumDisplayModes(display); i < n; ++i) {
        SDL_DisplayMode m{};
        if (SDL_GetDisplayMode(display, i, &m) == 0 && m.w == *width && m.h == *height) return 1;
    }
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(display, &desktop) != 0 || desktop.w <= 0 || desktop.h <= 0)
        return -1;
    *width = desktop.w;
    *height = desktop.h;
    return 0;
}

// ---- the device ----

int AppHost::DeviceCreate(int adapter, int windowed, int width, int height, D3DFORMAT format,
                          I3dDeviceFlags flags) {
    if (!m_offscreen)
        return D3dCreateDevice(adapter, m_window, windowed, width, height, format, flags);
    // Full screen, the window takes the screen's size, as a display's window does.
    if (windowed)
        ClientSize(&width, &height);
    else if (m_window && width > 0 && height > 0)
        SDL_SetWindowSize(m_window, width, height);
    return D3dCreateDevice(adapter, nullptr, windowed, width, height, format, flags);
}

// ---- events ----

int AppHost::EventPoll(SDL_Event* event) {
    return SDL_PollEvent(event);
}

int AppHost::EventWait(SDL_Event* event) {
    if (SDL_WaitEvent(event)) return 1;
    DbgPrintf(DBG_GENERAL, "AppHost: waiting for events failed: %s\n", SDL_GetError());
    return 0;
}
