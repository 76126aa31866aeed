// What the application asks of the platform, behind one seam: its one window, the event source
// and where the device draws. The program uses SDL with an OpenGL window; tests run the same
// host under SDL's dummy video driver with an offscreen device, and may replace the event wait.
#pragma once

#include "I3d/Device.h"

#include <SDL.h>

#include <string>

// The main window's class: on X11 its WM_CLASS, by which a second copy finds the first.
inline constexpr const char* kAppWindowClass = "XQGAME";

class AppHost {
  public:
    // offscreen: the window is made without OpenGL and the device draws into an offscreen back
    // buffer the size of the window's client area (SDL's dummy driver has no OpenGL).
    explicit AppHost(bool offscreen = false) : m_offscreen(offscreen) {}
    virtual ~AppHost();
    AppHost(const AppHost&) = delete;
    AppHost& operator=(const AppHost&) = delete;

    // ---- the window ----
    // Starts SDL's video and makes the window of class kAppWindowClass: hidden, resizable, at
    // (0, 0) with that client size. 0, or -1 with SDL's reason in `error`.
    int WindowOpen(const char* title, int width, int height, std::string* error);
    // Destroys the window (after the device is gone) and stops SDL's video.
    void WindowClose();
    SDL_Window* Window() const { return m_window; }
    void WindowShow();
    void WindowHide();
    void WindowSetClientSize(int width, int height);
    // Puts the window at (0, 0) with that outer size where the window manager reports its
    // borders; without borders (no window manager) the client gets that size.
    void WindowPlace(int outerWidth, int outerHeight);
    // The client area in pixels: the GL drawable, or the window's size offscreen.
    void ClientSize(int* width, int* height) const;
    // Shows or hides the system cursor over the window.
    void CursorShow(int show);
    // SDL's relative mouse mode (the pointer held, motion still reported): 0, or -1 when the
    // platform refuses it.
    virtual int CursorRelative(int on);
    // The pointer's position over the window, in pixels; and a move of it there.
    virtual void CursorPosition(int* x, int* y);
    virtual void CursorWarp(int x, int y);

    // Full screen on the window's display: 1 when the display lists a mode of width x height;
    // 0 when it does not, and the two become the desktop's size, which full screen then covers;
    // -1 when the display tells neither.
    int FullScreenSize(int* width, int* height) const;

    // ---- the device ----
    // D3dCreateDevice on the window; offscreen, a windowed device takes the client size.
    int DeviceCreate(int adapter, int windowed, int width, int height, D3DFORMAT format,
                     I3dDeviceFlags flags);

    // ---- events ----
    // 1 and the event, or 0 when none is queued.
    virtual int EventPoll(SDL_Event* event);
    // Sleeps until an event comes; 0 when waiting fails (no more events will come).
    virtual int EventWait(SDL_Event* event);

  private:
    bool m_offscreen;
    bool m_videoStarted = false;
    SDL_Window* m_window = nullptr;
};
