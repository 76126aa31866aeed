// Starting and stopping the input layer, a start without pads or without SDL's events, and a
// whole scripted session under SDL's dummy video driver, frame by frame as the application runs.
#include "engine/DebugLog.h"
#include "platform/Input.h"
#include "tests/engine/Input/SlFixture.h"

namespace {
class SlInput : public SlFixture {
  protected:
    void LogTo(const std::string& path) {
        DbgSetLogFile(path.c_str());
        DbgSetLevelMask(DBG_GENERAL);
        DbgSetOutputMask(DBG_OUT_FILE);
    }
    void TearDown() override {
        PlatInputSimulateFailure(0);
        DbgSetOutputMask(0);
        DbgSetLevelMask(0);
        SlFixture::TearDown();
    }
};
} // namespace

TEST_F(SlInput, WithoutPadsKeysAndMouseStillWorkAndARestartBringsThemBack) {
    TempDir dir;
    LogTo(dir / "log.txt");
    SlStop();
    VirtualPad pad = VirtualPad::Controller();
    PlatInputSimulateFailure(PLAT_INPUT_FAIL_PADS);
    EXPECT_EQ(SlStart(20, 1), 0);
    EXPECT_NE(ReadTextFile(dir / "log.txt").find("SlDiJoyStart()"), std::string::npos);
    SlPadPoll();
    EXPECT_EQ(SlPadGetState(0)->connected, 0);
    Key(SDL_SCANCODE_RETURN, true);
    MouseButton(SDL_BUTTON_LEFT, true);
    EXPECT_EQ(DrainTypes(), (Events{{SL_KEYDOWN, 28}, {SL_MOUSE0DOWN, 0}}));

    PlatInputSimulateFailure(0);
    SlStop();
    SlStart(20, 1);
    SlPadPoll();
    EXPECT_EQ(SlPadGetState(0)->connected, 1);
    Key(SDL_SCANCODE_RETURN, false);
    EXPECT_EQ(DrainTypes(), (Events{{SL_KEYUP, 28}}));
}

TEST_F(SlInput, WithoutSdlEventsTheKeyboardAndMouseLogTheirFailure) {
    TempDir dir;
    LogTo(dir / "log.txt");
    SlStop();
    PlatInputSimulateFailure(PLAT_INPUT_FAIL_EVENTS);
    EXPECT_EQ(SlStart(20, 1), 0) << "input starts with whatever devices can start";
    EXPECT_EQ(ReadTextFile(dir / "log.txt"),
              "SlDiKbdStart()::SlInitDiObject FAILED\nSlDiMouseStart()::SlInitDiObject FAILED!\n");
    EXPECT_EQ(SlKbdAcquire(1), -1);
    EXPECT_EQ(SlMouseAcquire(1), -1);
    Key(SDL_SCANCODE_A, true);
    EXPECT_TRUE(Drain().empty());
    EXPECT_EQ(SlPostEvent(27, 4, 0), 1) << "the queue works without devices";
}

TEST_F(SlInput, StopIsSafeTwiceAndBeforeStart) {
    SlStop();
    SlStop();
    SlStart(20, 0);
    SlStart(20, 0); // a second start restarts
    Key(SDL_SCANCODE_A, true);
    EXPECT_EQ(DrainTypes(), (Events{{SL_KEYDOWN, 30}}));
    SlStop();
    Key(SDL_SCANCODE_A, false);
    EXPECT_TRUE(Drain().empty()) << "a stopped keyboard is not read";
    EXPECT_EQ(SlKeyState(30), 0);
}

namespace {
// The application's set-up: a hidden window under SDL's dummy video driver, then input.
class SlInputSession : public SlFixture {
  protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        m_window = SDL_CreateWindow("Fairlark", 0, 0, 640, 480, SDL_WINDOW_HIDDEN);
        ASSERT_NE(m_window, nullptr) << SDL_GetError();
        SlFixture::SetUp();
    }
    void TearDown() override {
        SlStop();
        SDL_DestroyWindow(m_window);
        SlFixture::TearDown();
    }
    // One frame as the application runs it: pump SDL, poll the pads, post their navigation and
    // state events, then drain the queue, turning keys into navigation on the way.
    void Frame() {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
        PadFrame();
        for (int i = 0; i < SL_PAD_COUNT; ++i)
            if (SlPadGetState(i)->connected)
                SlPostEvent(SL_PADSTATE, (intptr_t)SlPadGetState(i), i);
        SlEvent ev;
        while (SlGetEvent(&ev) == 0) {
            SlKeyToMenuEvent(&ev);
            m_got.emplace_back(ev.type, ev.type == SL_PADSTATE ? ev.b : ev.a);
        }
        m_clock.AdvanceMs(16);
    }
    SDL_Window* m_window = nullptr;
    Events m_got;
};
} // namespace

TEST_F(SlInputSession, ScriptedSessionGivesTheExpectedEvents) {
    VirtualPad pad = VirtualPad::Controller();
    Frame();
    Key(SDL_SCANCODE_DOWN, true);
    Key(SDL_SCANCODE_DOWN, true, true);
    Key(SDL_SCANCODE_DOWN, true, true);
    Motion(4, -3);
    Frame();
    Key(SDL_SCANCODE_DOWN, false);
    MouseButton(SDL_BUTTON_LEFT, true);
    Wheel(1);
    pad.Button(SDL_CONTROLLER_BUTTON_A, true); // no window has the focus: read all the same
    Frame();
    MouseButton(SDL_BUTTON_LEFT, false);
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    Key(SDL_SCANCODE_ESCAPE, true);
    Frame();

    const Events expected = {
        {SL_PADSTATE, 0},
        // frame 2
        {SL_PADSTATE, 0},
        {SL_KEYDOWN, 208},
        {SL_MOUSEMOVE, 4},
        {SL_MENUDOWN, 0},
        // frame 3
        {SL_MENUSELECT, 0},
        {SL_PADSTATE, 0},
        {SL_KEYUP, 208},
        {SL_MOUSEWHEEL, 120},
        {SL_MOUSE0DOWN, 0},
        {SL_MENUDOWN + 1, 0},
        // frame 4
        {SL_MENUSELECT + 1, 0},
        {SL_PADSTATE, 0},
        {SL_KEYDOWN, 1},
        {SL_MOUSE0UP, 0},
        {SL_MENUBACK, 0},
    };
    EXPECT_EQ(m_got, expected);
}
