// Joysticks read through the known-controller table (SDL virtual joysticks), and the hat.
#include "engine/Input/SlDevices.h"
#include "tests/engine/Input/SlFixture.h"

namespace {
class SlJoyTable : public SlFixture {};

// SDL axis numbers of DirectInput's axes.
enum { AX_X, AX_Y, AX_Z, AX_RX, AX_RY, AX_RZ, AX_SLIDER };
} // namespace

TEST_F(SlJoyTable, RumblePad2ReadsByItsOwnRow) {
    VirtualPad joy = VirtualPad::Joystick("Logitech RumblePad 2 USB");
    SlPadPoll();
    const SlPad* rec = SlPadGetState(0);
    ASSERT_EQ(rec->type, SL_PAD_DINPUT);
    struct {
        int sdlButton, slot;
    } const buttons[] = {{1, SL_PAD_A},         {2, SL_PAD_B},         {0, SL_PAD_X},
                         {3, SL_PAD_Y},         {9, SL_PAD_START},     {8, SL_PAD_BACK},
                         {5, SL_PAD_RSHOULDER}, {4, SL_PAD_LSHOULDER}, {10, SL_PAD_LTHUMB},
                         {11, SL_PAD_RTHUMB}};
    for (const auto& b : buttons) {
        joy.Button(b.sdlButton, true);
        SlPadPoll();
        for (int i = 0; i < SL_PAD_BUTTONS; ++i)
            EXPECT_EQ(rec->button[i], i == b.slot ? 1.0f : 0.0f)
                << "SDL button " << b.sdlButton << ", record button " << i;
        joy.Button(b.sdlButton, false);
    }
    joy.Axis(AX_Z, 32767);
    joy.Axis(AX_RZ, 32767);
    joy.Axis(AX_RX, -32768); // not read by this row
    SlPadPoll();
    EXPECT_FLOAT_EQ(rec->rx, 1.0f) << "right stick x is Z";
    EXPECT_FLOAT_EQ(rec->ry, -1.0f) << "right stick y is -Rz";
    EXPECT_EQ(rec->lx, 0.0f);
}

TEST_F(SlJoyTable, UnknownNamesReadByDefault) {
    EXPECT_STREQ(SlJoyTableRowName("Virtual Joystick"), "Default");
    EXPECT_STREQ(SlJoyTableRowName("Gamecube USB Adaptor"), "Default") << "names match exactly";
    EXPECT_STREQ(SlJoyTableRowName("Gamecube USB Adaptor "), "Gamecube USB Adaptor ");
    EXPECT_STREQ(SlJoyTableRowName(nullptr), "Default");

    VirtualPad joy = VirtualPad::Joystick(nullptr);
    joy.Button(3, true); // Default: X is b3
    joy.Axis(AX_Y, -32768);
    joy.Axis(AX_SLIDER, 32767);
    SlPadPoll();
    const SlPad* rec = SlPadGetState(0);
    EXPECT_EQ(rec->connected, 1);
    EXPECT_EQ(rec->button[SL_PAD_X], 1.0f);
    EXPECT_EQ(rec->button[SL_PAD_Y], 0.0f);
    EXPECT_GT(rec->ly, 0.99f) << "left stick y is -Y";
    EXPECT_LT(rec->ry, -0.99f) << "right stick y is -slider 0";
}

TEST_F(SlJoyTable, HatAnglesSetTheDirections) {
    struct {
        int32_t angle;
        bool up, down, left, right;
    } const hats[] = {{0, 1, 0, 0, 0},     {4500, 1, 0, 0, 1},  {9000, 0, 0, 0, 1},
                      {13500, 0, 1, 0, 1}, {18000, 0, 1, 0, 0}, {22500, 0, 1, 1, 0},
                      {27000, 0, 0, 1, 0}, {31500, 1, 0, 1, 0}, {-1, 0, 0, 0, 0}};
    SlPad pad{};
    for (const auto& h : hats) {
        SlHatDirections(pad, h.angle);
        EXPECT_EQ(pad.button[SL_PAD_UP], h.up) << h.angle;
        EXPECT_EQ(pad.button[SL_PAD_DOWN], h.down) << h.angle;
        EXPECT_EQ(pad.button[SL_PAD_LEFT], h.left) << h.angle;
        EXPECT_EQ(pad.button[SL_PAD_RIGHT], h.right) << h.angle;
    }
    SlHatDirections(pad, 22500);
    SlHatDirections(pad, 1000);
    EXPECT_EQ(pad.button[SL_PAD_DOWN], 1.0f) << "an angle off the eight points changes nothing";
    EXPECT_EQ(pad.button[SL_PAD_LEFT], 1.0f);

    // SDL's hat bits reach the record as those angles.
    VirtualPad joy = VirtualPad::Joystick("Logitech RumblePad 2 USB");
    joy.Hat(SDL_HAT_LEFTUP);
    SlPadPoll();
    const SlPad* rec = SlPadGetState(0);
    EXPECT_EQ(rec->button[SL_PAD_UP], 1.0f);
    EXPECT_EQ(rec->button[SL_PAD_LEFT], 1.0f);
    joy.Hat(SDL_HAT_CENTERED);
    SlPadPoll();
    EXPECT_EQ(rec->button[SL_PAD_UP], 0.0f);
}

TEST_F(SlJoyTable, AxisScaleAndTriggerFormulas) {
    EXPECT_EQ(PlatAxisToDi(-32768), -1024);
    EXPECT_EQ(PlatAxisToDi(0), 0);
    EXPECT_EQ(PlatAxisToDi(32767), 1024);

    PlatJoyState state{};
    state.hat = -1;
    SlPad pad{};
    // XBOX 360 for Windows shares one Z axis between its triggers.
    state.axis[AX_Z] = -512;
    SlReadJoystick(pad, "XBOX 360 For Windows (Controller)", state);
    EXPECT_EQ(pad.button[SL_PAD_LTRIGGER], 0.0f);
    EXPECT_FLOAT_EQ(pad.button[SL_PAD_RTRIGGER], 0.5f);
    state.axis[AX_Z] = 1024;
    SlReadJoystick(pad, "XBOX 360 For Windows (Controller)", state);
    EXPECT_FLOAT_EQ(pad.button[SL_PAD_LTRIGGER], 1.0f);
    EXPECT_EQ(pad.button[SL_PAD_RTRIGGER], 0.0f);
    // The Gamecube adaptor's directions are buttons; what its row leaves out stays 0.
    state.button[11] = 0x80;
    state.button[2] = 0x80;
    SlReadJoystick(pad, "Gamecube USB Adaptor ", state);
    EXPECT_EQ(pad.button[SL_PAD_UP], 1.0f);
    EXPECT_EQ(pad.button[SL_PAD_RSHOULDER], 0.0f);
}

TEST_F(SlJoyTable, UnacquiredJoystickIsNotRead) {
    VirtualPad joy = VirtualPad::Joystick("Logitech RumblePad 2 USB");
    VirtualPad pad = VirtualPad::Controller();
    SlPadPoll();
    EXPECT_EQ(SlJoyAcquire(0, 0), -1) << "slot 0 holds a game controller";
    EXPECT_EQ(SlJoyAcquire(1, 0), 0);
    SlPadPoll();
    EXPECT_EQ(SlPadGetState(1)->connected, 0);
    EXPECT_EQ(SlJoyAcquire(1, 1), 0);
    SlPadPoll();
    EXPECT_EQ(SlPadGetState(1)->connected, 1);
}
