// The application's cursor lock on a real X11 window (run under xvfb-run): locking holds the
// pointer (SDL's relative mode, or warps where that is refused) and stops the absolute cursor
// events; unlocking puts the pointer back where it was locked.
#include "tests/harness/AppFixture.h"

#include <cstdlib>

namespace {

class CursorLockWindowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        setenv("SDL_VIDEODRIVER", "x11", 1);
    }
    // The pointer in the window's coordinates, as the X server has it.
    void Pointer(int* x, int* y) {
        int wx = 0, wy = 0;
        SDL_GetWindowPosition(Window(), &wx, &wy);
        SDL_PumpEvents();
        SDL_GetGlobalMouseState(x, y);
        *x -= wx;
        *y -= wy;
    }
    int CursorEvents() {
        int n = 0;
        SlEvent e;
        while (SlGetEvent(&e) == 0)
            n += e.type == SL_MOUSEPOS;
        return n;
    }
    void Drain() {
        SDL_Event e;
        SDL_PumpEvents();
        while (SDL_PollEvent(&e))
            app.AppHandleEvent(e);
    }
};

TEST_F(CursorLockWindowTest, ARealPointerIsHeldAndPutBackWithinAPixel) {
    Start();
    SDL_WarpMouseInWindow(Window(), 200, 150);
    Drain();
    int x = 0, y = 0;
    Pointer(&x, &y);
    ASSERT_NEAR(x, 200, 1) << "the X server did not take the pointer into the window";
    CursorEvents();

    app.AppSetCursorLock(1);
    Drain();
    SDL_WarpMouseInWindow(Window(), 400, 300); // the user drags away
    Drain();
    EXPECT_EQ(CursorEvents(), 0) << "absolute cursor events came through a held pointer";

    app.AppSetCursorLock(0);
    Drain();
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE);
    Pointer(&x, &y);
    EXPECT_NEAR(x, 200, 1) << "unlocking must put the pointer back at the lock point";
    EXPECT_NEAR(y, 150, 1);
}

} // namespace
