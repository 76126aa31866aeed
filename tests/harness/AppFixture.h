// A running application for the application tests: SDL's dummy video driver, an offscreen
// device on llvmpipe, a lock folder of its own, and a test application whose frames follow a
// script of steps, one per Update.
#pragma once

#include "I3d/Device.h"
#include "I3d/I3d.h"
#include "engine/App/AppBase.h"
#include "engine/Input/SlInput.h"
#include "platform/d3d8/D3d8.h"
#include "tests/support/TestSupport.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// Never sleeps: where the loop would wait for an event, the test's onWait runs and may push
// the events that wake it. A wait nothing answers ends the loop as a lost display would.
class TestHost : public AppHost {
  public:
    TestHost() : AppHost(true) {}
    std::function<void()> onWait;
    int waits = 0; // times the loop would have slept

    int EventWait(SDL_Event* event) override {
        if (SDL_PollEvent(event)) return 1;
        ++waits;
        if (onWait) onWait();
        if (SDL_PollEvent(event)) return 1;
        ADD_FAILURE() << "the loop waits for an event that no test step sends";
        return 0;
    }
};

class TestApp : public AppBase {
  public:
    // Run by the Update of the same number (from 1); after the last step the next Update sets
    // quit, so a script always ends.
    std::vector<std::function<void()>> steps;
    std::function<void()> onLoadConfig, onInit, onShutdown;
    int loadConfigResult = 0;
    std::vector<std::string> trace; // start-up and shutdown operations, in order
    std::vector<std::pair<int, int>> resizes;
    int updates = 0, renders = 0, lostCalls = 0, resetCalls = 0, suspends = 0, resumes = 0;
    int failedFrames = 0; // frames the kernel refused

    int LoadConfig() override {
        trace.push_back("LoadConfig");
        if (onLoadConfig) onLoadConfig();
        return loadConfigResult;
    }
    void PostWindowInit() override { trace.push_back("PostWindowInit"); }
    void OnInit() override {
        trace.push_back("OnInit");
        if (onInit) onInit();
    }
    void Shutdown() override {
        trace.push_back("Shutdown");
        if (onShutdown) onShutdown();
    }
    void Update() override {
        ++updates;
        if (updates <= (int)steps.size())
            steps[updates - 1]();
        else
            quit = 1;
    }
    // A whole frame, as the game's would be.
    void Render() override {
        ++renders;
        D3dSetClearColor(0.2f, 0.4f, 0.6f);
        bool ok = SUCCEEDED(D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER)) && D3dBeginScene() == 0;
        ok = D3dEndScene() == 0 && ok;
        ok = D3dPresent() == 0 && ok;
        if (!ok) ++failedFrames;
    }
    void DeviceLost() override { ++lostCalls; }
    void DeviceReset() override { ++resetCalls; }
    void Resume() override {
        ++resumes;
        AppBase::Resume();
    }
    void Suspend() override {
        ++suspends;
        AppBase::Suspend();
    }
    void OnResize(int width, int height) override {
        trace.push_back("OnResize");
        resizes.emplace_back(width, height);
        AppBase::OnResize(width, height);
    }
};

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        // Each test locks in a folder of its own, so tests running side by side are not
        // "another copy".
        setenv("XDG_RUNTIME_DIR", m_dir.Path().c_str(), 1);
        app.AppSetHost(&host);
    }
    void TearDown() override {
        if (app.hwnd) app.AppShutdown();
    }

    void Start() { ASSERT_EQ(app.AppCreateMainWindow(), 0) << "start-up failed"; }
    void RunToEnd() {
        app.AppMessageLoop();
        app.AppShutdown();
    }
    SDL_Window* Window() { return static_cast<SDL_Window*>(app.hwnd); }

    static void PushWindowEvent(uint8_t which, int data1 = 0, int data2 = 0) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = which;
        e.window.data1 = data1;
        e.window.data2 = data2;
        SDL_PushEvent(&e);
    }
    static void PushMotion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        SDL_PushEvent(&e);
    }
    void ExpectDynamicBuffersCurrent() {
        ASSERT_TRUE(app.dynamicVb && app.dynamicIb);
        EXPECT_EQ(app.dynamicVb->format, 71);
        EXPECT_EQ(app.dynamicVb->capacity, 4000);
        EXPECT_EQ(app.dynamicIb->capacity, 8000);
        EXPECT_EQ(I3dVbLockCurrent(4), 0) << "the dynamic vertex buffer is not current";
        EXPECT_EQ(I3dVbUnlockCurrent(), 0);
        EXPECT_NE(I3dIbLockCurrent(6), nullptr) << "the dynamic index buffer is not current";
        EXPECT_EQ(I3dIbUnlockCurrent(), 0);
    }
    static DWORD RenderState(D3DRENDERSTATETYPE state) {
        DWORD value = 0;
        D3dDevice()->GetRenderState(state, &value);
        return value;
    }
    static DWORD StageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) {
        DWORD value = 0;
        D3dDevice()->GetTextureStageState(stage, type, &value);
        return value;
    }

    TempDir m_dir;
    TestHost host;
    TestApp app;
};
