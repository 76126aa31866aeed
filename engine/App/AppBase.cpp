// The application object's singleton, its base operations and the program's entry.
#include "engine/App/AppBase.h"

#include "I3d/Device.h"
#include "engine/Input/SlInput.h"
#include "engine/System.h"
#include "platform/sdl/SdlSystem.h"

AppBase* g_app = nullptr;

AppBase::AppBase() {
    g_app = this;
}

AppBase::~AppBase() {
    if (g_app == this) g_app = nullptr;
}

// ---- base operations ----

int AppBase::LoadConfig() {
    return 0;
}
void AppBase::PostWindowInit() {}
void AppBase::OnInit() {}
void AppBase::Shutdown() {}
void AppBase::Update() {}
void AppBase::Render() {}
void AppBase::DeviceLost() {}
void AppBase::DeviceReset() {}

void AppBase::Resume() {
    SlKbdAcquire(1);
    SlMouseAcquire(1);
}

void AppBase::Suspend() {
    SlKbdAcquire(0);
    SlMouseAcquire(0);
}

void AppBase::OnActivate(int flag) {
    SlJoyAcquire(0, flag);
}

void AppBase::OnResize(int width, int height) {
    I3dSetScreenSize(width, height);
    windowWidth = width;
    windowHeight = height;
}

void AppBase::AppShowCursor() {
    keepSystemCursor = 1;
    cursorHidden = 0;
    m_host->CursorShow(1);
}

// ---- entry ----

int AppMain(int argc, char** argv) {
    AppBase* app = g_app;
    if (!app) return 0;
    // The core has no window library of its own: its message boxes and desktop size come
    // from SDL through these.
    const SysWindowHooks windowHooks{PlatShowMessageBox, PlatDesktopSize};
    SysSetWindowHooks(&windowHooks);
    SysInit(nullptr, nullptr, argc, argv);
    if (app->AppCreateMainWindow() != 0) return app->AppStartStatus();
    app->AppMessageLoop();
    app->AppShutdown();
    return app->AppExitStatus();
}
