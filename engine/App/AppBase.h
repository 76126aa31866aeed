// The application object: one per program, registered as the application singleton. It opens
// the main window, starts the render kernel and input, runs the loop with the frame in idle
// time, watches the device and shuts everything down in order. The game derives from it.
#pragma once

#include "engine/App/AppHost.h"
#include "engine/App/SingleCopy.h"

#include <SDL.h>

#include <cstdint>

struct I3dVertexBuffer;
struct I3dIndexBuffer;

// One function that sees every SDL event before the application does (the editor's routing);
// answering true keeps the event from the application, which otherwise gets the event as the
// hook left it (the editor puts pointer positions into its game view's coordinates). Null
// removes it.
using AppEventHook = bool (*)(SDL_Event& event, void* context);
void AppSetEventHook(AppEventHook hook, void* context);
AppEventHook AppGetEventHook();

class AppBase {
  public:
    AppBase();
    virtual ~AppBase();
    AppBase(const AppBase&) = delete;
    AppBase& operator=(const AppBase&) = delete;

    // ---- fields, in their fixed order ----
    int32_t deviceWidth = 640, deviceHeight = 480; // windowed: the desktop size at creation
    int32_t windowWidth = 640, windowHeight = 480; // client size; updated by OnResize
    int32_t backBufferFormat = 22;                 // full screen (22 = X8R8G8B8)
    int32_t adapter = 0;
    uint8_t active = 0;  // has the focus: the loop polls instead of waiting
    uint8_t running = 0; // start-up finished: frames may run
    uint8_t quit = 0;    // a close was asked for; the next active idle pass ends the loop
    HWND hwnd = nullptr; // the SDL window
    void* hinstance = nullptr;
    uint8_t windowed = 1;
    uint8_t debug = 0; // write "Debug.txt"
    uint8_t lockVsync = 0;
    uint8_t cursorHidden = 0; // hidden over the client area by the enter/leave rule
    float mouseScaleX = 1.0f, mouseScaleY = 1.0f;
    uint8_t keepSystemCursor = 0;
    uint32_t runWhileInactive = 0; // focus changes are ignored
    uint8_t lockableBackbuffer = 0;
    uint8_t deviceLost = 0;
    I3dVertexBuffer* dynamicVb = nullptr; // format 71, 4000 vertices
    I3dIndexBuffer* dynamicIb = nullptr;  // 8000 indices
    // Whether the pointer is over the window, whatever keepSystemCursor says; until a leave is
    // heard the pointer is taken as inside.
    uint8_t pointerInside = 1;

    // ---- operations, in their fixed order ----
    virtual int LoadConfig(); // 0; -1 ends the start-up before any window shows
    virtual void PostWindowInit();
    virtual void OnInit();
    virtual void Shutdown();
    virtual void Update();
    virtual void Render();
    virtual void DeviceLost();                    // once per loss, before the first reset attempt
    virtual void DeviceReset();                   // once per successful reset
    virtual void Resume();                        // acquires keyboard and mouse
    virtual void Suspend();                       // unacquires them
    virtual void OnActivate(int flag);            // acquires pad 0
    virtual void OnResize(int width, int height); // the kernel's screen size and windowWidth/Height

    // ---- start-up, loop and shutdown ----
    // 0 with the window shown and the application running and active; -1 when start-up ends
    // early (another copy runs, LoadConfig said no, or the window or the device cannot be made):
    // then nothing is left open and AppStartStatus gives the exit status.
    int AppCreateMainWindow();
    // Starts the kernel, the device, the texture table and the shared dynamic buffers. 0 or -1.
    int AppStartRender();
    // Until the window is closed.
    void AppMessageLoop();
    // One turn of the loop: one event handled, or else the idle pass when active and running.
    void AppLoopStep();
    // Update, the device check, Render unless the device is lost, then the quit test.
    void AppIdlePass();
    // The window procedure: one SDL event.
    void AppHandleEvent(const SDL_Event& event);
    // Frees and re-creates what a reset loses; -1 while the reset fails (tried again next pass).
    int AppDeviceReset();
    void AppShutdown();
    // Shows the system cursor for good (the editor needs it).
    void AppShowCursor();
    // Locking holds the pointer where it is (SDL's relative mode, else a warp back after each
    // motion) and stops the absolute cursor events; unlocking puts the pointer back at the lock
    // point. Only a change of state acts.
    void AppSetCursorLock(int on);
    bool AppCursorLocked() const { return m_cursorLocked; }

    // 0 after a deliberate early end (another copy, LoadConfig), 1 after a failure.
    int AppStartStatus() const { return m_startStatus; }
    // The program's status once the loop has ended: 0 unless the start-up found it could not go
    // on (no data folder, no start-up script) and said so.
    int AppExitStatus() const { return m_exitStatus; }
    void AppSetExitStatus(int status) { m_exitStatus = status; }
    // The platform seam; the program's SDL host unless a test sets another before start-up.
    void AppSetHost(AppHost* host) { m_host = host ? host : &m_sdlHost; }
    AppHost& Host() { return *m_host; }

  private:
    int AbortStart(int status);
    void CloseDown();
    void OnSizeChanged(int width, int height);
    void FullScreenResized(int width, int height);
    void OnFocus(bool gained);
    void OnMinimised();
    void OnRestored();
    void OnPointerInside(bool inside);
    void PostText(const char* utf8);
    void CloseRequested();
    void DestroyPath();
    // Event-driven frames: never while starting, minimised or lost.
    void RenderOnEvent();
    int CreateDynamicBuffers();
    void FreeDynamicBuffers();

    AppHost m_sdlHost;
    AppHost* m_host = &m_sdlHost;
    AppSingleCopy m_singleCopy;
    int m_startStatus = 0;
    int m_exitStatus = 0;
    bool m_loopDone = false;
    bool m_minimised = false;
    bool m_lostNotified = false; // DeviceLost ran for the current loss
    bool m_logStarted = false;
    bool m_cursorLocked = false;
    bool m_lockByWarp = false; // relative mode was refused
    int m_lockX = 0, m_lockY = 0;
};

// The application singleton: set by construction, cleared by destruction.
extern AppBase* g_app;

// The program's entry: returns 0 at once when no application object exists; else start-up, the
// loop and shutdown. The exit status.
int AppMain(int argc, char** argv);
