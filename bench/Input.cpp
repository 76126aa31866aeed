// Costs of the input layer: draining a frame's events, a frame of four pads, and scancode
// translation. Pads are SDL virtual game controllers; no device or display is needed.
#include "platform/Input.h"
#include "engine/Input/SlInput.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <vector>

namespace {
// SDL and the input layer, running for the length of one benchmark.
struct InputSession {
    InputSession() {
        SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER);
        SlStart(20, 1);
    }
    ~InputSession() {
        SlStop();
        SDL_Quit();
    }
};
} // namespace

static void BM_DrainThirtyEventsPerFrame(benchmark::State& state) {
    InputSession session;
    SlEvent e;
    for (auto _ : state) {
        for (int i = 0; i < SL_QUEUE_SIZE; ++i)
            SlPostEvent(SL_KEYDOWN, i, 0);
        while (SlGetEvent(&e) == 0)
            benchmark::DoNotOptimize(e);
    }
    state.SetItemsProcessed(state.iterations() * SL_QUEUE_SIZE);
}
BENCHMARK(BM_DrainThirtyEventsPerFrame);

static void BM_PadFrameFourVirtualPads(benchmark::State& state) {
    InputSession session;
    std::vector<SDL_Joystick*> pads;
    for (int i = 0; i < SL_PAD_COUNT; ++i) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        pads.push_back(SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc)));
    }
    int frame = 0;
    for (auto _ : state) {
        // Something changes every frame, as a player holding a stick and tapping A would.
        SDL_JoystickSetVirtualButton(pads[frame % SL_PAD_COUNT], SDL_CONTROLLER_BUTTON_A,
                                     frame & 1);
        SDL_JoystickSetVirtualAxis(pads[0], SDL_CONTROLLER_AXIS_LEFTX, (int16_t)(frame * 97));
        SlPadPoll();
        for (int pad = 0; pad < SL_PAD_COUNT; ++pad)
            SlPadMenuEvents(pad);
        SlEventQueueClear();
        ++frame;
        // SDL queues its own joystick events; the application's loop drains them each frame.
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    for (SDL_Joystick* pad : pads)
        SDL_JoystickClose(pad);
}
BENCHMARK(BM_PadFrameFourVirtualPads)->Unit(benchmark::kMicrosecond);

static void BM_ScancodeTranslation(benchmark::State& state) {
    int code = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlatScancodeToDik(code));
        code = (code + 1) & 511;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScancodeTranslation);
