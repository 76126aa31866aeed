// Start-up and shutdown of the application: the single copy, the main window, the render kernel
// with its shared dynamic buffers, input, and the ordered shutdown.
#include "engine/App/AppBase.h"

#include "I3d/Buffers.h"
#include "I3d/Device.h"
#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/System.h"
#include "platform/x11/WindowRaise.h"

#include <string>

static constexpr const char* kTitle = "Fairlark";
static constexpr int kTextureSlots = 800;
static constexpr int kDynamicFormat = 71; // position, normal, colour, two uv pairs
static constexpr int kDynamicVertices = 4000;
static constexpr int kDynamicIndices = 8000;
// The windowed main window ends at this outer size whatever the configuration asked for.
static constexpr int kPlacedWidth = 1024, kPlacedHeight = 768;

// ---- start-up ----

int AppBase::AppCreateMainWindow() {
    m_startStatus = 0;
    // Another copy on this display keeps the desktop: its window is brought to the front where
    // the display lets us (X11); elsewhere this copy only ends.
    if (m_singleCopy.Take() == 0) {
        DbgOut("Fairlark is already running\n");
        X11RaiseWindowOfClass(kAppWindowClass);
        return -1;
    }
    hinstance = nullptr;
    g_app = this;

    std::string error;
    if (m_host->WindowOpen(kTitle, windowWidth, windowHeight, &error) != 0) {
        std::string text = "The main window cannot be made: " + error;
        SysMessageBox(text.c_str(), kTitle);
        return AbortStart(1);
    }
    hwnd = m_host->Window();

    if (LoadConfig() == -1) return AbortStart(0);
    if (windowed) m_host->WindowSetClientSize(windowWidth, windowHeight);
    SysInit(hwnd, hinstance);
    DbgLogStart(debug);
    m_logStarted = true;
    if (AppStartRender() != 0) return AbortStart(1);

    if (windowed) m_host->WindowPlace(kPlacedWidth, kPlacedHeight);
    m_host->WindowShow();
    // Moving and sizing reported the new size at once under Win32; the game's screen follows
    // the window before its own start-up runs.
    int w = 0, h = 0;
    m_host->ClientSize(&w, &h);
    OnSizeChanged(w, h);

    PostWindowInit();
    I3dDebugShapesCreate();
    D3dSetNormalizeNormals(1);
    OnInit();
    running = 1;
    active = 1;
    SlStart(20, windowed);
    SlJoyAcquire(0, 1);
    return 0;
}

int AppBase::AppStartRender() {
    if (I3dStart() != 0 || I3dTexTableAlloc(kTextureSlots) != 0) {
        SysMessageBox("The renderer cannot start: no OpenGL 3.3 compatibility context.", kTitle);
        return -1;
    }
    I3dDeviceFlags flags = 0;
    if (lockVsync) flags |= I3D_DEVICE_VSYNC;
    int windowedDevice = windowed ? 1 : 0;
    if (windowed) {
        // Asked for, as Direct3D wanted; the back buffer is the window's client area.
        SysDesktopSize(&deviceWidth, &deviceHeight);
        if (lockableBackbuffer) flags |= I3D_DEVICE_LOCKABLE;
    } else {
        // A mode the display lacks would show a cut or shifted picture: full screen then covers
        // the desktop as it is, and the back buffer is that size.
        const int askedWidth = deviceWidth, askedHeight = deviceHeight;
        const int listed = m_host->FullScreenSize(&deviceWidth, &deviceHeight);
        if (listed < 0) {
            SysMessageBox("The display tells no size for full screen.", kTitle);
            return -1;
        }
        if (listed)
            DbgPrintf(DBG_GENERAL | DBG_RENDER,
                      "AppStartRender: full screen in the display's mode %i x %i\n", deviceWidth,
                      deviceHeight);
        else
            DbgPrintf(DBG_GENERAL | DBG_RENDER,
                      "AppStartRender: full screen over the desktop at %i x %i: the display has "
                      "no mode of %i x %i\n",
                      deviceWidth, deviceHeight, askedWidth, askedHeight);
    }
    // A failed creation has shown its "D3D8 Error" box.
    if (m_host->DeviceCreate(adapter, windowedDevice, deviceWidth, deviceHeight,
                             (D3DFORMAT)backBufferFormat, flags) != 0)
        return -1;
    for (int stage = 0; stage < 4; ++stage) {
        D3dSetMinFilter(stage, D3DTEXF_LINEAR);
        D3dSetMagFilter(stage, D3DTEXF_LINEAR);
    }
    if (CreateDynamicBuffers() != 0) {
        SysMessageBox("The renderer cannot start: its shared drawing buffers cannot be made.",
                      kTitle);
        return -1;
    }
    return 0;
}

int AppBase::CreateDynamicBuffers() {
    if (!dynamicVb) dynamicVb = I3dVbCreate(0, kDynamicFormat, kDynamicVertices);
    if (!dynamicIb) dynamicIb = I3dIbCreate(0, kDynamicIndices);
    I3dVbSetCurrent(dynamicVb);
    I3dIbSetCurrent(dynamicIb);
    if (dynamicVb && dynamicIb) return 0;
    DbgPrintf(DBG_GENERAL | DBG_RENDER, "AppBase: the shared dynamic buffers cannot be made\n");
    return -1;
}

void AppBase::FreeDynamicBuffers() {
    // Each is freed once and forgotten, so the lost path may run again before a reset succeeds.
    if (dynamicVb) I3dVbFree(dynamicVb);
    if (dynamicIb) I3dIbFree(dynamicIb);
    dynamicVb = nullptr;
    dynamicIb = nullptr;
}

// Leaves nothing open: no device, no window, no lock.
int AppBase::AbortStart(int status) {
    CloseDown();
    m_startStatus = status;
    return -1;
}

// ---- shutdown ----

void AppBase::AppShutdown() {
    active = 0;
    running = 0;
    SlStop();
    Shutdown();
    CloseDown();
}

// The kernel, the log line, then the window and the lock; safe after a partial start.
void AppBase::CloseDown() {
    I3dDebugShapesFree();
    FreeDynamicBuffers();
    // The GL context goes with the device: GL objects can only be deleted while it is current.
    I3dStop();
    if (m_logStarted) DbgLogStop(debug);
    m_logStarted = false;
    m_host->WindowClose();
    hwnd = nullptr;
    m_singleCopy.Release();
}
