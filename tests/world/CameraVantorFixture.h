// The management camera on a fresh registry: a root with a "World", the camera, optionally a
// "GameGrid", a host that records the cursor lock, and frames of a chosen real length.
#pragma once

#include "I3d/Math/Mat4Math.h"
#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/Timers.h"
#include "game/Ents/GameGrid.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/CameraVantor1.h"
#include "world/CursorFrame.h"

#include <gtest/gtest.h>

#include <cstring>

class RecordingCameraHost : public CameraVantorHost {
  public:
    void SetCursorLock(int on) override { locked = on; }
    bool HearsInput(ENTBASE*) override { return hears; }
    bool PointerInside() override { return inside; }
    int locked = 0;
    bool hears = true;
    bool inside = true;
};

class CameraVantorTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice(); // 1024 x 768
        RegisterWorldTestClasses();
        ASSERT_EQ(EntCreateClass(EcGameGridProc, 0, 0), 0);
        ASSERT_EQ(EntCreateClass(EcCameraVantor1Proc, 0, 0), 0);
        // What the application wires at start-up: the camera's fly-to and the grid's extent.
        CameraVantorSetFlyTo(CameraVantorFlyTo);
        Ent3dSetGridExtentQuery(GameGridExtent);
        m_frameSeconds = g_frameSeconds;
        AppTimer(APPTIMER_START);
        std::memset(SlPadGetState(0), 0, sizeof(SlPad));
        CameraVantorSetHost(&host);
        root = Make("EntNull", nullptr, "Root");
        world = Make("EntNull", root, "World");
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        Ent3dSetGridExtentQuery(nullptr);
        CameraVantorSetHost(nullptr);
        std::memset(SlPadGetState(0), 0, sizeof(SlPad));
        AppTimer(APPTIMER_START);
        g_frameSeconds = m_frameSeconds;
        KernelTest::TearDown();
    }
    GameGrid* AddGrid(VECTOR3 at) {
        auto* grid = Make<GameGrid>("GameGrid", world, "GameGrid");
        grid->pos = at;
        grid->Start();
        return grid;
    }
    CameraVantor1* AddCamera() {
        auto* cam = Make<CameraVantor1>("CameraVantor1", world, "Camera2");
        cam->Start();
        return cam;
    }
    void Send(CameraVantor1* cam, int32_t type, intptr_t a = 0, intptr_t b = 0) {
        SlEvent e{type, a, b, 0};
        EXPECT_EQ(cam->OnMessage(&e), 0);
    }
    void Cursor(CameraVantor1* cam, float x, float y) {
        Send(cam, SL_MOUSEPOS, SlPackFloat(x), SlPackFloat(y));
    }
    // `frames` updates of `dt` real seconds each.
    void Run(CameraVantor1* cam, float dt, int frames) {
        g_frameSeconds = dt;
        for (int i = 0; i < frames; ++i)
            cam->Update(0.5f); // the game's step, which the camera must not read
    }

    RecordingCameraHost host;
    ENTBASE* root = nullptr;
    ENTBASE* world = nullptr;

  private:
    float m_frameSeconds = 0.0f;
};
