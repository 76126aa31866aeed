// A running input layer for the input tests: SDL with its events and game controllers, fed with
// injected SDL events and SDL virtual pads instead of real devices.
#pragma once

#include "engine/Input/SlInput.h"
#include "tests/support/TestSupport.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

// An SDL virtual device, opened by the test only to move its buttons, axes and hat.
class VirtualPad {
  public:
    // A game controller (SDL makes the mapping for virtual ones), or a plain joystick with 7 axes,
    // 12 buttons and a hat under `name` (SDL calls an unnamed one "Virtual Joystick").
    static VirtualPad Controller(const char* name = "Virtual Pad") {
        VirtualPad pad(Desc(SDL_JOYSTICK_TYPE_GAMECONTROLLER, name, SDL_CONTROLLER_AXIS_MAX,
                            SDL_CONTROLLER_BUTTON_MAX, 0));
        // A virtual trigger rests at the bottom of the full axis range.
        pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_JOYSTICK_AXIS_MIN);
        pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
        return pad;
    }
    static VirtualPad Joystick(const char* name, uint16_t vendor = 0, uint16_t product = 0) {
        SDL_VirtualJoystickDesc desc = Desc(SDL_JOYSTICK_TYPE_UNKNOWN, name, 7, 12, 1);
        desc.vendor_id = vendor;
        desc.product_id = product;
        return VirtualPad(desc);
    }

    VirtualPad(VirtualPad&& other) noexcept : m_joy(other.m_joy) { other.m_joy = nullptr; }
    VirtualPad& operator=(VirtualPad&&) = delete;
    ~VirtualPad() { Unplug(); }

    void Button(int button, bool down) { SDL_JoystickSetVirtualButton(m_joy, button, down); }
    void Axis(int axis, int16_t value) { SDL_JoystickSetVirtualAxis(m_joy, axis, value); }
    void Hat(uint8_t value) { SDL_JoystickSetVirtualHat(m_joy, 0, value); }
    bool Plugged() const { return m_joy != nullptr; }

    void Unplug() {
        if (!m_joy) return;
        SDL_JoystickID id = SDL_JoystickInstanceID(m_joy);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        SDL_JoystickClose(m_joy);
        m_joy = nullptr;
    }

  private:
    static SDL_VirtualJoystickDesc Desc(SDL_JoystickType type, const char* name, int axes,
                                        int buttons, int hats) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = (Uint16)type;
        desc.naxes = (Uint16)axes;
        desc.nbuttons = (Uint16)buttons;
        desc.nhats = (Uint16)hats;
        desc.name = name;
        return desc;
    }
    explicit VirtualPad(const SDL_VirtualJoystickDesc& desc) {
        int index = SDL_JoystickAttachVirtualEx(&desc);
        m_joy = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        EXPECT_NE(m_joy, nullptr) << "SDL could not attach a virtual pad: " << SDL_GetError();
    }
    SDL_Joystick* m_joy = nullptr;
};

class SlFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER), 0)
            << SDL_GetError();
        SlStart(20, 1);
    }
    void TearDown() override {
        SlStop();
        SDL_Quit();
    }

    // Injected SDL events: the input layer's event watch sees them as SDL queues them.
    static SDL_Event Event(Uint32 type) {
        SDL_Event e;
        SDL_zero(e);
        e.type = type;
        return e;
    }
    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    static void Key(SDL_Scancode code, bool down, bool repeat = false) {
        SDL_Event e = Event(down ? SDL_KEYDOWN : SDL_KEYUP);
        e.key.repeat = repeat;
        e.key.keysym.scancode = code;
        Push(e);
    }
    static void Motion(int dx, int dy) {
        SDL_Event e = Event(SDL_MOUSEMOTION);
        e.motion.xrel = dx;
        e.motion.yrel = dy;
        Push(e);
    }
    static void Wheel(int notches) {
        SDL_Event e = Event(SDL_MOUSEWHEEL);
        e.wheel.y = notches;
        Push(e);
    }
    static void MouseButton(uint8_t button, bool down) {
        SDL_Event e = Event(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP);
        e.button.button = button;
        Push(e);
    }

    // Every event the queue gives until it is empty.
    static std::vector<SlEvent> Drain() {
        std::vector<SlEvent> out;
        SlEvent e;
        while (SlGetEvent(&e) == 0)
            out.push_back(e);
        return out;
    }
    // (type, a) of each drained event, for comparing whole sequences.
    static std::vector<std::pair<int, intptr_t>> DrainTypes() {
        std::vector<std::pair<int, intptr_t>> out;
        for (const SlEvent& e : Drain())
            out.emplace_back(e.type, e.a);
        return out;
    }
    // One frame of pads as the application runs it: poll, then every pad's navigation events.
    static void PadFrame() {
        SlPadPoll();
        for (int pad = 0; pad < SL_PAD_COUNT; ++pad)
            SlPadMenuEvents(pad);
    }

    TestClock m_clock;
};

using Events = std::vector<std::pair<int, intptr_t>>;
