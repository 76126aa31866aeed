// The message loop with the frame in idle time, and the window procedure as one handler of SDL
// events.
#include "engine/App/AppBase.h"

#include "I3d/Device.h"
#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/Utf8.h"

#include <cstring>

// ---- the loop ----

void AppBase::AppMessageLoop() {
    m_loopDone = false;
    while (!m_loopDone)
        AppLoopStep();
}

void AppBase::AppLoopStep() {
    SDL_Event event;
    if (active) {
        if (m_host->EventPoll(&event))
            AppHandleEvent(event);
        else if (running)
            AppIdlePass();
        return;
    }
    // Inactive (no focus, minimised): the thread sleeps until something happens.
    if (m_host->EventWait(&event)) {
        AppHandleEvent(event);
        return;
    }
    // No event will ever come (the display went away): end as a close would.
    CloseRequested();
}

void AppBase::AppIdlePass() {
    Update();
    if (!D3dDeviceOk()) {
        deviceLost = 1;
        if (D3dDeviceNeedsReset()) AppDeviceReset();
    }
    // A minimised window shows nothing: a game running while inactive updates without drawing.
    if (!deviceLost && !m_minimised) Render();
    // The scripts' quit flag, or a close while inactive, ends the loop only here.
    if (quit) DestroyPath();
}

// ---- the window procedure ----
//
// | Win32 message               | SDL event                          | handling                   |
// |-----------------------------|------------------------------------|----------------------------|
// | WM_ACTIVATEAPP, WM_ACTIVATE | WINDOWEVENT_FOCUS_GAINED / LOST    | OnFocus                    |
// | WM_SIZE minimised, restored | WINDOWEVENT_MINIMIZED / RESTORED   | OnMinimised, OnRestored    |
// | WM_SIZE                     | WINDOWEVENT_SIZE_CHANGED           | OnSizeChanged              |
// | WM_MOVE, WM_PAINT           | WINDOWEVENT_MOVED, EXPOSED         | RenderOnEvent              |
// | WM_CLOSE then WM_DESTROY    | QUIT (also SIGINT, SIGTERM), CLOSE | CloseRequested             |
// | WM_NCHITTEST                | WINDOWEVENT_ENTER / LEAVE          | OnPointerInside            |
// | WM_CHAR                     | TEXTINPUT                          | event 4 per code point     |
// | WM_MOUSEMOVE                | MOUSEMOTION                        | event 21, scaled position  |
//
// Not reproduced: Alt-key swallowing (a window manager's Alt+F4 arrives as a close request),
// the system-command filters, the power messages and the modal size, move and menu loops.

static AppEventHook s_eventHook = nullptr;
static void* s_eventContext = nullptr;

void AppSetEventHook(AppEventHook hook, void* context) {
    s_eventHook = hook;
    s_eventContext = hook ? context : nullptr;
}

AppEventHook AppGetEventHook() {
    return s_eventHook;
}

void AppBase::AppHandleEvent(const SDL_Event& received) {
    SDL_Event event = received;
    if (s_eventHook && s_eventHook(event, s_eventContext)) return;
    switch (event.type) {
        case SDL_QUIT: CloseRequested(); break;
        case SDL_TEXTINPUT: PostText(event.text.text); break;
        case SDL_MOUSEMOTION:
            if (m_cursorLocked) {
                if (m_lockByWarp && (event.motion.x != m_lockX || event.motion.y != m_lockY))
                    m_host->CursorWarp(m_lockX, m_lockY);
                break;
            }
            SlPostEvent(SL_MOUSEPOS, SlPackFloat((float)event.motion.x * mouseScaleX),
                        SlPackFloat((float)event.motion.y * mouseScaleY));
            break;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED: OnFocus(true); break;
                case SDL_WINDOWEVENT_FOCUS_LOST: OnFocus(false); break;
                case SDL_WINDOWEVENT_MINIMIZED: OnMinimised(); break;
                case SDL_WINDOWEVENT_RESTORED: OnRestored(); break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    OnSizeChanged(event.window.data1, event.window.data2);
                    break;
                case SDL_WINDOWEVENT_MOVED:
                case SDL_WINDOWEVENT_EXPOSED: RenderOnEvent(); break;
                case SDL_WINDOWEVENT_CLOSE: CloseRequested(); break;
                case SDL_WINDOWEVENT_ENTER: OnPointerInside(true); break;
                case SDL_WINDOWEVENT_LEAVE: OnPointerInside(false); break;
                default: break;
            }
            break;
        default: break;
    }
}

void AppBase::OnFocus(bool gained) {
    if (!runWhileInactive) {
        if (gained) {
            active = 1;
            SlJoyAcquire(0, 1);
            Resume();
        } else {
            active = 0;
            Suspend();
        }
    }
    OnActivate(1);
}

// A game set to run while inactive keeps its frames going when minimised too: minimised is the
// most inactive a window gets, and a player who asked for it expects the day to go on. (The
// window's own rule would suspend it; the game's rule for the setting holds, as the setting is
// the game's.)
void AppBase::OnMinimised() {
    m_minimised = true;
    if (runWhileInactive) return;
    active = 0;
    Suspend();
}

// Restoring activates whatever the focus rule says: minimising deactivated it (unless the game
// ran on, and then nothing was suspended).
void AppBase::OnRestored() {
    if (!m_minimised) return; // back from maximised: nothing was suspended
    m_minimised = false;
    if (active) return;
    active = 1;
    SlJoyAcquire(0, 1);
    Resume();
}

// A minimised window may report 0 x 0: the last size stays, so the game never divides by a zero
// screen, and nothing is drawn.
void AppBase::OnSizeChanged(int width, int height) {
    if (width <= 0 || height <= 0) return;
    int w = 0, h = 0;
    m_host->ClientSize(&w, &h);
    if (w <= 0 || h <= 0) return;
    if (windowed)
        OnResize(w, h);
    else
        FullScreenResized(w, h);
    RenderOnEvent();
}

// Full screen draws into the whole window too: when the window manager (or a mode change) gives
// it another size, the screen, the interface scale and the back buffer follow, the last through
// the device's reset. A failed reset is tried again by the loop, as after a loss.
void AppBase::FullScreenResized(int width, int height) {
    int sw = 0, sh = 0, rw = 0, rh = 0;
    I3dGetScreenSize(&sw, &sh);
    I3dGetRequestedSize(&rw, &rh);
    if (sw == width && sh == height && rw == width && rh == height) return;
    OnResize(width, height);
    if (D3dSetBackBufferSize(width, height) != 0) return;
    DbgPrintf(DBG_GENERAL | DBG_RENDER, "AppBase: full screen is now %i x %i\n", width, height);
    if (AppDeviceReset() != 0) deviceLost = 1;
}

void AppBase::RenderOnEvent() {
    if (running && !deviceLost && !m_minimised) Render();
}

// Hidden once on entering the client area and shown once on leaving, unless the game keeps the
// system cursor.
void AppBase::OnPointerInside(bool inside) {
    pointerInside = inside ? 1 : 0;
    if (keepSystemCursor) return;
    if (inside && !cursorHidden) {
        cursorHidden = 1;
        m_host->CursorShow(0);
    } else if (!inside && cursorHidden) {
        cursorHidden = 0;
        m_host->CursorShow(1);
    }
}

void AppBase::PostText(const char* utf8) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8);
    size_t n = std::strlen(utf8); // SDL ends the text within its fixed field
    for (size_t i = 0; i < n;) {
        int length = 0;
        uint32_t cp = Utf8DecodeOne(s + i, n - i, &length);
        if (length == 0) { // a malformed byte posts nothing
            ++i;
            continue;
        }
        SlPostEvent(SL_CHAR, (intptr_t)cp, 0);
        i += (size_t)length;
    }
}

void AppBase::CloseRequested() {
    quit = 1;
    DestroyPath();
}

// The window is only hidden here: its GL context must outlive the render kernel, which
// AppShutdown stops before closing the window.
void AppBase::DestroyPath() {
    m_host->WindowHide();
    active = 0;
    Suspend();
    running = 0;
    cursorHidden = 0;
    m_host->CursorShow(1);
    m_loopDone = true;
}

void AppBase::AppSetCursorLock(int on) {
    if ((on != 0) == m_cursorLocked) return;
    if (on) {
        m_host->CursorPosition(&m_lockX, &m_lockY);
        m_lockByWarp = m_host->CursorRelative(1) != 0;
        if (m_lockByWarp)
            DbgPrintf(DBG_GENERAL,
                      "AppSetCursorLock: relative mouse mode refused (%s); the "
                      "pointer is warped back instead\n",
                      SDL_GetError());
        m_cursorLocked = true;
        return;
    }
    if (!m_lockByWarp) m_host->CursorRelative(0);
    m_host->CursorWarp(m_lockX, m_lockY);
    m_cursorLocked = false;
    m_lockByWarp = false;
}
