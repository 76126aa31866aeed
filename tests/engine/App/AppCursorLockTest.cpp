// The application's cursor lock and pointer-inside flag under SDL's dummy driver, with a host
// that records what reaches the platform and can refuse relative mode.
#include "engine/DebugLog.h"
#include "tests/harness/AppFixture.h"

#include <utility>
#include <vector>

namespace {

class LockHost : public TestHost {
  public:
    int CursorRelative(int on) override {
        relative.push_back(on);
        return refuse && on ? -1 : 0;
    }
    void CursorPosition(int* x, int* y) override {
        *x = pointer.first;
        *y = pointer.second;
    }
    void CursorWarp(int x, int y) override { warps.emplace_back(x, y); }

    bool refuse = false;
    std::pair<int, int> pointer = {300, 200};
    std::vector<int> relative;
    std::vector<std::pair<int, int>> warps;
};

int CursorEvents() {
    int n = 0;
    SlEvent e;
    while (SlGetEvent(&e) == 0)
        n += e.type == SL_MOUSEPOS;
    return n;
}

class AppCursorLockTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        app.AppSetHost(&lockHost);
    }
    LockHost lockHost;
};

TEST_F(AppCursorLockTest, LockHoldsThePointerStopsCursorEventsAndUnlockPutsItBack) {
    Start();
    app.steps = {
        [&] {
            CursorEvents();
            app.AppSetCursorLock(1);
            app.AppSetCursorLock(1); // every camera update asks again
            PushMotion(500, 10);
        },
        [&] {
            EXPECT_EQ(lockHost.relative, std::vector<int>{1}) << "only a change of state acts";
            EXPECT_EQ(CursorEvents(), 0) << "a held pointer must post no absolute positions";
            EXPECT_TRUE(lockHost.warps.empty()) << "relative mode holds it without warps";
            lockHost.pointer = {9, 9};
            app.AppSetCursorLock(0);
            app.AppSetCursorLock(0);
            PushMotion(301, 200);
        },
        [&] {
            EXPECT_EQ(lockHost.relative, (std::vector<int>{1, 0}));
            ASSERT_EQ(lockHost.warps.size(), 1u);
            EXPECT_EQ(lockHost.warps[0], std::make_pair(300, 200)) << "back to the lock point";
            EXPECT_EQ(CursorEvents(), 1) << "unlocked, positions flow again";
        },
    };
    RunToEnd();
}

TEST_F(AppCursorLockTest, RefusedRelativeModeFallsBackToWarpsWithOneLogLine) {
    lockHost.refuse = true;
    Start();
    LogCapture log;
    app.steps = {
        [&] {
            app.AppSetCursorLock(1);
            PushMotion(310, 204);
            PushMotion(300, 200); // the warp's own arrival: nothing to undo
        },
        [&] {
            EXPECT_EQ(CursorEvents(), 0);
            ASSERT_EQ(lockHost.warps.size(), 1u);
            EXPECT_EQ(lockHost.warps[0], std::make_pair(300, 200));
            app.AppSetCursorLock(0);
        },
        [&] {
            EXPECT_EQ(lockHost.relative, std::vector<int>{1})
                << "relative mode was never on: leaving it is not asked";
            EXPECT_EQ(lockHost.warps.size(), 2u);
            const std::string text = log.Text();
            const size_t first = text.find("relative mouse mode refused");
            EXPECT_NE(first, std::string::npos);
            EXPECT_EQ(text.find("relative mouse mode refused", first + 1), std::string::npos);
        },
    };
    RunToEnd();
}

TEST_F(AppCursorLockTest, PointerInsideFollowsEnterAndLeaveEvenWhenTheSystemCursorIsKept) {
    Start();
    EXPECT_EQ(app.pointerInside, 1) << "before any leave the pointer counts as inside";
    app.steps = {
        [&] {
            app.AppShowCursor(); // keeps the system cursor: cursorHidden stays 0
            PushWindowEvent(SDL_WINDOWEVENT_LEAVE);
        },
        [&] {
            EXPECT_EQ(app.pointerInside, 0);
            PushWindowEvent(SDL_WINDOWEVENT_ENTER);
        },
        [&] {
            EXPECT_EQ(app.pointerInside, 1);
            EXPECT_EQ(app.cursorHidden, 0);
        },
    };
    RunToEnd();
}

} // namespace
