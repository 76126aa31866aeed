// The mouse: motion and wheel gathered between reads, buttons posted once per change.
#include "tests/engine/Input/SlFixture.h"

namespace {
class SlMouse : public SlFixture {};
} // namespace

TEST_F(SlMouse, MotionAndWheelAreGatheredAndPostedOnlyWhenNonZero) {
    Motion(3, -2);
    Motion(4, 0);
    Wheel(1);
    std::vector<SlEvent> got = Drain();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].type, SL_MOUSEMOVE);
    EXPECT_EQ(got[0].a, 7);
    EXPECT_EQ(got[0].b, -2);
    EXPECT_EQ(got[1].type, SL_MOUSEWHEEL);
    EXPECT_EQ(got[1].a, 120) << "a notch is 120, DirectInput's unit";

    Motion(5, 0);
    Motion(-5, 0);
    Wheel(-2);
    Wheel(2);
    EXPECT_TRUE(Drain().empty()) << "movements that cancel out post nothing";
    Wheel(-1);
    EXPECT_EQ(DrainTypes(), (Events{{SL_MOUSEWHEEL, -120}}));
}

TEST_F(SlMouse, EachButtonPostsItsDownAndUpOncePerChange) {
    const uint8_t buttons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1};
    for (uint8_t b : buttons)
        MouseButton(b, true);
    MouseButton(SDL_BUTTON_X2, true); // DirectInput's mouse has four buttons
    EXPECT_EQ(DrainTypes(), (Events{{7, 0}, {10, 0}, {13, 0}, {16, 0}}));
    MouseButton(SDL_BUTTON_LEFT, true); // no change
    for (uint8_t b : buttons)
        MouseButton(b, false);
    EXPECT_EQ(DrainTypes(), (Events{{6, 0}, {9, 0}, {12, 0}, {15, 0}}));
    EXPECT_TRUE(Drain().empty());
}

TEST_F(SlMouse, AClickBetweenTwoReadsIsNotLost) {
    // A touchpad tap sends its down and up within a frame; reading only the state at each read
    // would never see it.
    MouseButton(SDL_BUTTON_LEFT, true);
    MouseButton(SDL_BUTTON_LEFT, false);
    EXPECT_EQ(DrainTypes(), (Events{{7, 0}, {6, 0}}));
}

TEST_F(SlMouse, UnacquiringLetsTheButtonsGo) {
    MouseButton(SDL_BUTTON_LEFT, true);
    Motion(1, 1);
    Drain();
    EXPECT_EQ(SlMouseAcquire(0), 0);
    Motion(9, 9);
    MouseButton(SDL_BUTTON_LEFT, false);
    EXPECT_TRUE(Drain().empty()) << "nothing is read while unacquired";
    EXPECT_EQ(SlMouseAcquire(1), 0);
    MouseButton(SDL_BUTTON_LEFT, true);
    EXPECT_EQ(DrainTypes(), (Events{{7, 0}})) << "the button was let go when unacquired";
}
