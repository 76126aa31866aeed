// Pads read XInput's way (SDL virtual game controllers): shaping, the navigation rules, the
// active pad, slots and hot-plugging, a pad unplugged mid-press, rumble, bad pad indices.
#include "engine/Input/SlDevices.h"
#include "engine/Timers.h"
#include "tests/engine/Input/SlFixture.h"

#include <cmath>

namespace {
class SlPads : public SlFixture {};
} // namespace

TEST(SlPadShaping, DeadZoneAndRawScales) {
    EXPECT_FLOAT_EQ(SlStickShape(0.25f), 0.0f);
    EXPECT_FLOAT_EQ(SlStickShape(0.1f), 0.0f);
    EXPECT_FLOAT_EQ(SlStickShape(1.0f), 1.0f);
    EXPECT_NEAR(SlStickShape(0.5f), 0.3333f, 1e-4);
    EXPECT_NEAR(SlStickShape(-0.5f), -0.3333f, 1e-4);
    EXPECT_FLOAT_EQ(SlStickShape(-3.0f), -1.0f) << "out-of-range values are clamped";
    EXPECT_FLOAT_EQ(SlStickShape(SlXInputAxis(-32768)), -1.0f);
    EXPECT_FLOAT_EQ(SlStickShape(SlXInputAxis(32767)), 1.0f);
    EXPECT_FLOAT_EQ(SlStickShape(SlDiAxis(1024)), 1.0f);
    EXPECT_GE(SlStickShape(SlDiAxis(-1024)), -1.0f);
    EXPECT_EQ(SlStickShape(SlXInputAxis(0)), 0.0f);
    EXPECT_EQ(SlStickShape(SlDiAxis(0)), 0.0f);
}

TEST_F(SlPads, StickPastThresholdNavigatesOncePerPush) {
    VirtualPad pad = VirtualPad::Controller();
    PadFrame();
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768); // SDL's up
    PadFrame();
    EXPECT_EQ(DrainTypes(), (Events{{SL_MENUUP, 0}}));
    PadFrame();
    PadFrame();
    EXPECT_TRUE(Drain().empty()) << "a held stick posts nothing more";
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    PadFrame();
    EXPECT_TRUE(Drain().empty()) << "vertical releases are never posted";
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -30000);
    PadFrame();
    EXPECT_EQ(DrainTypes(), (Events{{SL_MENUUP, 0}}));
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    PadFrame();
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    PadFrame();
    EXPECT_EQ(DrainTypes(), (Events{{SL_MENULEFT, 0}, {SL_MENULEFT + 1, 0}}));
}

TEST_F(SlPads, ButtonsPostTheirEventsWithThePadIndex) {
    VirtualPad first = VirtualPad::Controller();
    VirtualPad second = VirtualPad::Controller();
    PadFrame();
    second.Button(SDL_CONTROLLER_BUTTON_START, true);
    second.Button(SDL_CONTROLLER_BUTTON_A, true);
    PadFrame();
    EXPECT_EQ(DrainTypes(), (Events{{SL_PADSTART, 1}, {SL_MENUSELECT, 1}}));
    EXPECT_EQ(SlGetActivePad(), 1);
    second.Button(SDL_CONTROLLER_BUTTON_START, false);
    second.Button(SDL_CONTROLLER_BUTTON_A, false);
    first.Button(SDL_CONTROLLER_BUTTON_BACK, true);
    PadFrame();
    EXPECT_EQ(DrainTypes(),
              (Events{{SL_MENUBACK, 0}, {SL_PADSTART + 1, 1}, {SL_MENUSELECT + 1, 1}}));
    EXPECT_EQ(SlGetActivePad(), 1) << "the last pad that navigated";
    first.Button(SDL_CONTROLLER_BUTTON_BACK, false);
    first.Button(SDL_CONTROLLER_BUTTON_B, true);
    PadFrame();
    EXPECT_EQ(DrainTypes(), (Events{{SL_MENUBACK, 0}, {SL_MENUBACK + 1, 0}}));
    EXPECT_EQ(SlGetActivePad(), 0);
    EXPECT_EQ(SlPadGetState(0)->navTime, TimerNow());
}

TEST_F(SlPads, DiagonalOnTheDirectionPadPostsNeitherAxis) {
    VirtualPad pad = VirtualPad::Controller();
    PadFrame();
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    PadFrame();
    EXPECT_TRUE(Drain().empty());
    EXPECT_EQ(SlGetActivePad(), -1) << "no navigation, so no active pad yet";
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    PadFrame(); // right stays held: its press was masked, and it is no new press
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    PadFrame();
    EXPECT_EQ(DrainTypes(), (Events{{SL_MENUDOWN, 0}, {SL_MENURIGHT + 1, 0}}));
}

TEST_F(SlPads, RecordReadsSticksTriggersAndButtonsInXInputTerms) {
    VirtualPad pad = VirtualPad::Controller();
    SlPadPoll(); // SDL reads a trigger as released until it moves after the controller opens
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    pad.Axis(SDL_CONTROLLER_AXIS_RIGHTY, 32767);
    pad.Axis(SDL_CONTROLLER_AXIS_RIGHTX, -32768);
    pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    pad.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    pad.Button(SDL_CONTROLLER_BUTTON_RIGHTSTICK, true);
    SlPadPoll();
    const SlPad* rec = SlPadGetState(0);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->connected, 1);
    EXPECT_EQ(rec->type, SL_PAD_XINPUT);
    EXPECT_FLOAT_EQ(rec->ly, 1.0f) << "SDL's y points down, XInput's up";
    EXPECT_FLOAT_EQ(rec->ry, -1.0f);
    EXPECT_FLOAT_EQ(rec->rx, -1.0f) << "-32768 is clamped to -1";
    EXPECT_EQ(rec->lx, 0.0f);
    EXPECT_EQ(rec->button[SL_PAD_LTRIGGER], 0.0f);
    EXPECT_FLOAT_EQ(rec->button[SL_PAD_RTRIGGER], 1.0f);
    EXPECT_EQ(rec->button[SL_PAD_LSHOULDER], 1.0f);
    EXPECT_EQ(rec->button[SL_PAD_RTHUMB], 1.0f);
    EXPECT_EQ(rec->buttons, 0x1u | 0x20u | 0x80u | 0x2000u | 0x8000u | 0x80000u);
    EXPECT_EQ(rec->pressed, rec->buttons);
    pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
    SlPadPoll();
    EXPECT_NEAR(rec->button[SL_PAD_RTRIGGER], 0.5f, 1e-3) << "triggers run 0..1 over the range";

    SlEventQueueClear();
    SlPostEvent(SL_PADSTATE, (intptr_t)SlPadGetState(0), 0);
    SlEvent e;
    ASSERT_EQ(SlGetEvent(&e), 0);
    EXPECT_EQ((const SlPad*)e.a, rec) << "the pad-state event must carry the record's address";
}

TEST_F(SlPads, UnpluggedMidPressReleasesOnceAndComesBackInItsSlot) {
    VirtualPad first = VirtualPad::Controller();
    VirtualPad second = VirtualPad::Controller();
    PadFrame();
    first.Button(SDL_CONTROLLER_BUTTON_A, true);
    first.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    first.Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    PadFrame();
    EXPECT_EQ(DrainTypes(), (Events{{SL_MENUSELECT, 0}, {SL_MENURIGHT, 0}}));
    first.Unplug();
    PadFrame();
    EXPECT_EQ(DrainTypes(), (Events{{SL_MENUSELECT + 1, 0}, {SL_MENURIGHT + 1, 0}}))
        << "a pad that goes lets go of what it held, once";
    const SlPad* rec = SlPadGetState(0);
    EXPECT_EQ(rec->connected, 0);
    EXPECT_EQ(rec->lx, 0.0f) << "a pad-driven camera must stop when its pad goes";
    EXPECT_EQ(rec->button[SL_PAD_LTRIGGER], 0.0f);
    EXPECT_EQ(rec->button[SL_PAD_A], 0.0f);
    for (int frame = 0; frame < 3; ++frame)
        PadFrame();
    EXPECT_TRUE(Drain().empty()) << "a missing pad must not replay its last events";
    EXPECT_EQ(rec->pressed | rec->released, 0u);

    VirtualPad back = VirtualPad::Controller();
    back.Button(SDL_CONTROLLER_BUTTON_A, true);
    PadFrame();
    EXPECT_EQ(rec->connected, 1) << "the first free slot is the one it left";
    EXPECT_EQ(SlPadGetState(1)->connected, 1);
    EXPECT_EQ(DrainTypes(), (Events{{SL_MENUSELECT, 0}}));
}

TEST_F(SlPads, SwappedBetweenTwoPollsStaysConnected) {
    VirtualPad pad = VirtualPad::Controller();
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    PadFrame();
    Drain();
    pad.Unplug();
    VirtualPad other = VirtualPad::Controller("Other Pad");
    PadFrame();
    EXPECT_EQ(SlPadGetState(0)->connected, 1);
    EXPECT_EQ(DrainTypes(), (Events{{SL_MENUSELECT + 1, 0}})) << "the new device holds nothing";
}

TEST_F(SlPads, ControllersTakeTheFirstSlotsAndAFifthWaits) {
    SlStop();
    VirtualPad joystick = VirtualPad::Joystick("Logitech RumblePad 2 USB");
    VirtualPad c1 = VirtualPad::Controller();
    SlStart(20, 1);
    SlPadPoll();
    EXPECT_EQ(SlPadGetState(0)->type, SL_PAD_XINPUT) << "game controllers come first at start";
    EXPECT_EQ(SlPadGetState(1)->type, SL_PAD_DINPUT);
    VirtualPad c2 = VirtualPad::Controller();
    VirtualPad c3 = VirtualPad::Controller();
    VirtualPad c4 = VirtualPad::Controller();
    c4.Button(SDL_CONTROLLER_BUTTON_A, true);
    SlPadPoll();
    for (int i = 0; i < SL_PAD_COUNT; ++i)
        EXPECT_EQ(SlPadGetState(i)->connected, 1) << "slot " << i;
    for (int i = 0; i < SL_PAD_COUNT; ++i)
        EXPECT_EQ(SlPadGetState(i)->button[SL_PAD_A], 0.0f) << "the fifth pad has no slot";
    joystick.Unplug();
    SlPadPoll();
    EXPECT_EQ(SlPadGetState(1)->type, SL_PAD_XINPUT) << "the waiting pad takes the freed slot";
    EXPECT_EQ(SlPadGetState(1)->button[SL_PAD_A], 1.0f);
}

TEST(SlPadMappings, ControllerDatabaseMakesAJoystickAController) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0);
    VirtualPad stick = VirtualPad::Joystick("Mapped Stick", 0x1234, 0x5678);
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(0), guid, sizeof guid);
    std::string line = guid;
    line.replace(4, 4, "0000"); // the database's GUIDs carry no name checksum
    TempDir dir;
    WriteTextFile(
        dir / "gamecontrollerdb.txt",
        "# community mappings\n" + line +
            ",Mapped Stick,a:b0,b:b1,x:b2,y:b3,start:b9,leftx:a0,lefty:a1,platform:Linux,\n");
    ASSERT_EQ(PlatPadsStart((dir / "gamecontrollerdb.txt").c_str()), 0);
    EXPECT_EQ(PlatPadKind(0), PLAT_PAD_CONTROLLER);
    stick.Button(9, true);
    PlatPadsUpdate();
    PlatPadState state;
    ASSERT_EQ(PlatPadReadController(0, &state), 1);
    EXPECT_EQ(state.buttons, 1u << SL_PAD_START) << "read through the mapping";
    PlatPadsStop();
    stick.Unplug();
    SDL_Quit();
}

TEST_F(SlPads, RumblePulseIsRecordedAndCountedDown) {
    VirtualPad pad = VirtualPad::Controller();
    SlPadPoll();
    SlRumblePulse(0, 1.0f, 0.0f, 0.05f);
    SlRumblePulse(0, 0.0f, 1.0f, 0.05f);
    SlRumblePulse(0, 1.0f, 1.0f, -1.0f); // no time: ignored
    const SlPad* rec = SlPadGetState(0);
    EXPECT_EQ(rec->rumbleLeft, 1.0f);
    EXPECT_EQ(rec->rumbleRight, 1.0f) << "a second pulse in the frame must not cancel the first";
    m_clock.AdvanceMs(30);
    SlPadPoll();
    EXPECT_NEAR(rec->rumbleSeconds, 0.02f, 1e-4);
    m_clock.AdvanceMs(30);
    SlPadPoll();
    EXPECT_EQ(rec->rumbleSeconds, 0.0f);
    EXPECT_EQ(rec->rumbleLeft, 0.0f);
}

TEST(SlPadsDeathTest, PadIndexOutOfRangeIsACallersError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int pad : {-1, 4, 100}) {
        EXPECT_DEBUG_DEATH(EXPECT_EQ(SlPadGetState(pad), nullptr), "out of range");
        EXPECT_DEBUG_DEATH(SlPadMenuEvents(pad), "out of range");
        EXPECT_DEBUG_DEATH(SlRumblePulse(pad, 1, 1, 1), "out of range");
    }
    EXPECT_EQ(SlJoyAcquire(-1, 1), -1);
    EXPECT_EQ(SlJoyAcquire(7, 1), -1);
}
