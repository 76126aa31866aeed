// The management camera inside the game application: input through the real dispatch, the real
// frame time at any game speed, a stopped application timer, and a keyboard entity switched
// while a key is held.
#include "tests/harness/GameAppFixture.h"

#include "engine/Timers.h"
#include "world/CameraVantor1.h"
#include "world/CursorFrame.h"

namespace {
class GameCameraTest : public GameAppTest {
  protected:
    void SetUp() override {
        GameAppTest::SetUp();
        g_makeEditor = []() -> Editor* {
            RegisterRootDoubles();
            return nullptr;
        };
        WriteStartup(std::string(kRegisterAll) + "Game.CreateEntityTree()\n");
        Start();
        ASSERT_TRUE(app.GetWorld());
        cam = static_cast<CameraVantor1*>(EntCreateChild("CameraVantor1", app.GetWorld()));
        ASSERT_NE(cam, nullptr) << "Startup.lua did not register the camera's published class";
        cam->Start(); // no grid: bounds 384..640, target at the origin, pulled in by the update
        app.SetKeyboardEntity(cam);
        Frames(1, 20);
    }
    void TearDown() override {
        AppTimer(APPTIMER_START);
        GameAppTest::TearDown();
    }
    void Frames(int n, int ms) {
        for (int i = 0; i < n; ++i) {
            clock.AdvanceMs(ms);
            app.Update();
        }
    }

    TestClock clock;
    CameraVantor1* cam = nullptr;
};
} // namespace

TEST_F(GameCameraTest, KeysThroughTheDispatchMoveAtTheRealRateWhateverTheGameSpeed) {
    const float z0 = cam->targetPoint.z;
    app.SetClockSpeed(4.0f);
    SlPostEvent(SL_KEYDOWN, 17, 0);
    Frames(50, 20);
    EXPECT_NEAR(cam->targetPoint.z - z0, 56.57f, 0.6f)
        << "the camera must follow real time, not the sped-up game's";
    SlPostEvent(SL_KEYUP, 17, 0);
    Frames(1, 20);

    const float z1 = cam->targetPoint.z;
    SlPostEvent(SL_KEYDOWN, 31, 0);
    AppTimer(APPTIMER_STOP); // as pausing the game does
    Frames(10, 20);
    EXPECT_EQ(cam->targetPoint.z, z1) << "the paused game's view moved";
    AppTimer(APPTIMER_START);
    Frames(1, 20);
    EXPECT_LT(cam->targetPoint.z, z1);
}

TEST_F(GameCameraTest, AKeyReleasedToAnotherKeyboardEntityStillStopsTheCamera) {
    SlPostEvent(SL_KEYDOWN, 17, 0);
    Frames(2, 20);
    GameDouble* other = MakeProbe(app.GetWorld(), "Other");
    app.SetKeyboardEntity(other);
    SlPostEvent(SL_KEYUP, 17, 0); // heard by the other entity only
    Frames(1, 20);
    const float z = cam->targetPoint.z;
    Frames(5, 20);
    EXPECT_EQ(cam->targetPoint.z, z) << "W's release went elsewhere and the view kept moving";
}

TEST_F(GameCameraTest, ADragLocksTheCursorAndALostFocusReleasesIt) {
    SlPostEvent(SL_MOUSE1DOWN, 0, 0);
    Frames(1, 20);
    EXPECT_TRUE(app.AppCursorLocked());
    EXPECT_EQ(g_cursorFrameIndex, 2);
    app.active = 0; // the release will happen in another window
    Frames(1, 20);
    EXPECT_FALSE(app.AppCursorLocked()) << "a drag nobody can end kept the cursor";
    app.active = 1;
    Frames(1, 20);
    EXPECT_FALSE(app.AppCursorLocked());
    EXPECT_EQ(g_cursorFrameIndex, 1);
}

// The whole path a player's key takes: Startup.lua loads a world list holding the grid and the
// camera and makes the camera the keyboard entity; W comes as an SDL key event through the
// application's input and dispatch.
TEST_F(GameAppTest, AScriptLoadedCameraMovesOnAnSdlKeyThroughTheDispatch) {
    g_makeEditor = []() -> Editor* {
        RegisterRootDoubles();
        return nullptr;
    };
    WriteTextFile(m_program + "Data/CameraWorld.ini", "[Entities]\n"
                                                      "GameGrid GameGrid World\n"
                                                      "Camera2 CameraVantor1 World\n");
    WriteStartup(std::string(kRegisterAll) +
                 "Game.CreateEntityTree()\n"
                 "Game.LoadEntitiesIni('CameraWorld.ini')\n"
                 "Game.SetKeyboardEnt(Entity.FindName(Game.GetWorldEntity(), 'Camera2'))\n");
    TestClock clock;
    Start();
    auto* cam = static_cast<CameraVantor1*>(EntTreeFindName(app.GetWorld(), "Camera2"));
    ASSERT_NE(cam, nullptr) << "the world list was not loaded";
    ASSERT_EQ(app.keyboardEntity.Get(), cam);
    EXPECT_EQ(cam->maxX - cam->minX, 256.0f) << "the camera did not fit the loaded grid";
    const float z0 = cam->targetPoint.z;

    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = SDL_SCANCODE_W;
    SDL_PushEvent(&e);
    for (int i = 0; i < 50; ++i) {
        clock.AdvanceMs(20);
        Frame();
    }
    e.type = SDL_KEYUP;
    SDL_PushEvent(&e);
    clock.AdvanceMs(20);
    Frame();
    EXPECT_NEAR(cam->targetPoint.z - z0, 56.57f, 1.8f) << "one second of W, give or take a frame";
}
