// Pads over SDL: game controllers stand for XInput pads, other joysticks for DirectInput
// controllers. A device keeps its slot while it stays connected; a device SDL opens as a game
// controller is never read again as a joystick.
#include "platform/Input.h"

#include <SDL.h>

#include <cstring>

namespace {
struct Slot {
    int kind;
    SDL_JoystickID id;
    SDL_GameController* controller;
    SDL_Joystick* joystick; // the controller's own joystick for game controllers
    bool acquired;
    char name[128];
};
} // namespace

static bool s_started;
static Slot s_slots[PLAT_PAD_SLOTS];
static int s_occupied;
extern unsigned g_platInputFailMask;

// ---- slots ----

static void CloseSlot(Slot& slot) {
    if (slot.controller)
        SDL_GameControllerClose(slot.controller);
    else if (slot.joystick)
        SDL_JoystickClose(slot.joystick);
    if (slot.kind != PLAT_PAD_NONE) --s_occupied;
    slot = Slot{};
}

static bool InSlot(SDL_JoystickID id) {
    for (const Slot& slot : s_slots)
        if (slot.kind != PLAT_PAD_NONE && slot.id == id) return true;
    return false;
}

static Slot* FreeSlot() {
    for (Slot& slot : s_slots)
        if (slot.kind == PLAT_PAD_NONE) return &slot;
    return nullptr;
}

static void OpenDevice(int device, bool asController) {
    Slot* slot = FreeSlot();
    if (!slot) return;
    if (asController) {
        slot->controller = SDL_GameControllerOpen(device);
        if (!slot->controller) return;
        slot->joystick = SDL_GameControllerGetJoystick(slot->controller);
        slot->kind = PLAT_PAD_CONTROLLER;
    } else {
        slot->joystick = SDL_JoystickOpen(device);
        if (!slot->joystick) return;
        slot->kind = PLAT_PAD_JOYSTICK;
    }
    slot->id = SDL_JoystickInstanceID(slot->joystick);
    slot->acquired = true;
    const char* name = SDL_JoystickName(slot->joystick);
    SDL_strlcpy(slot->name, name ? name : "", sizeof slot->name);
    ++s_occupied;
}

// Game controllers first, so that at start-up they take the lowest slots.
static void PlaceNewDevices() {
    int count = SDL_NumJoysticks();
    if (s_occupied == PLAT_PAD_SLOTS || count <= s_occupied) return;
    for (int pass = 0; pass < 2; ++pass) {
        for (int device = 0; device < count && s_occupied < PLAT_PAD_SLOTS; ++device) {
            bool controller = SDL_IsGameController(device);
            if (controller != (pass == 0) || InSlot(SDL_JoystickGetDeviceInstanceID(device)))
                continue;
            OpenDevice(device, controller);
        }
    }
}

// ---- start and stop ----

int PlatPadsStart(const char* mappingFile) {
    if (s_started) return 0;
    if (g_platInputFailMask & PLAT_INPUT_FAIL_PADS) return -1;
    // DirectInput's controllers were read in the background and XInput's pads always; SDL would
    // drop presses while no window of ours has the keyboard focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return -1;
    if (mappingFile) SDL_GameControllerAddMappingsFromFile(mappingFile);
    s_started = true;
    PlatPadsUpdate();
    return 0;
}

void PlatPadsStop() {
    if (!s_started) return;
    for (Slot& slot : s_slots)
        CloseSlot(slot);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    s_started = false;
}

void PlatPadsUpdate() {
    if (!s_started) return;
    // Also finds devices plugged in since the last frame.
    SDL_JoystickUpdate();
    for (Slot& slot : s_slots)
        if (slot.kind != PLAT_PAD_NONE && !SDL_JoystickGetAttached(slot.joystick)) CloseSlot(slot);
    PlaceNewDevices();
}

// ---- reading ----

static bool ValidSlot(int slot) {
    return slot >= 0 && slot < PLAT_PAD_SLOTS;
}

int PlatPadKind(int slot) {
    return ValidSlot(slot) ? s_slots[slot].kind : PLAT_PAD_NONE;
}

const char* PlatPadName(int slot) {
    return ValidSlot(slot) ? s_slots[slot].name : "";
}

int PlatPadReadController(int slot, PlatPadState* out) {
    if (!ValidSlot(slot) || s_slots[slot].kind != PLAT_PAD_CONTROLLER) return 0;
    SDL_GameController* pad = s_slots[slot].controller;
    // In the pad record's order; bits 6 and 7 are the triggers, read as axes.
    static const SDL_GameControllerButton kButtons[16] = {
        SDL_CONTROLLER_BUTTON_A,
        SDL_CONTROLLER_BUTTON_B,
        SDL_CONTROLLER_BUTTON_X,
        SDL_CONTROLLER_BUTTON_Y,
        SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
        SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
        SDL_CONTROLLER_BUTTON_INVALID,
        SDL_CONTROLLER_BUTTON_INVALID,
        SDL_CONTROLLER_BUTTON_START,
        SDL_CONTROLLER_BUTTON_BACK,
        SDL_CONTROLLER_BUTTON_LEFTSTICK,
        SDL_CONTROLLER_BUTTON_RIGHTSTICK,
        SDL_CONTROLLER_BUTTON_DPAD_UP,
        SDL_CONTROLLER_BUTTON_DPAD_DOWN,
        SDL_CONTROLLER_BUTTON_DPAD_LEFT,
        SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
    };
    out->buttons = 0;
    for (int i = 0; i < 16; ++i)
        if (kButtons[i] != SDL_CONTROLLER_BUTTON_INVALID &&
            SDL_GameControllerGetButton(pad, kButtons[i]))
            out->buttons |= (uint16_t)(1u << i);
    // SDL's +y points down. -1 - y turns the range over exactly: -32768 <-> 32767.
    out->lx = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    out->ly = -1 - SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    out->rx = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX);
    out->ry = -1 - SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY);
    int16_t lt = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    int16_t rt = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    out->lt = lt > 0 ? lt : 0;
    out->rt = rt > 0 ? rt : 0;
    return 1;
}

int PlatPadReadJoystick(int slot, PlatJoyState* out) {
    if (!ValidSlot(slot) || s_slots[slot].kind != PLAT_PAD_JOYSTICK || !s_slots[slot].acquired)
        return 0;
    SDL_Joystick* joy = s_slots[slot].joystick;
    int axes = SDL_JoystickNumAxes(joy);
    for (int i = 0; i < 7; ++i)
        out->axis[i] = i < axes ? PlatAxisToDi(SDL_JoystickGetAxis(joy, i)) : 0;
    out->hat = SDL_JoystickNumHats(joy) > 0 ? PlatHatToAngle(SDL_JoystickGetHat(joy, 0)) : -1;
    int buttons = SDL_JoystickNumButtons(joy);
    for (int i = 0; i < 128; ++i)
        out->button[i] = i < buttons && SDL_JoystickGetButton(joy, i) ? 0x80 : 0;
    return 1;
}

int PlatPadAcquire(int slot, int flag) {
    if (!ValidSlot(slot) || s_slots[slot].kind != PLAT_PAD_JOYSTICK) return -1;
    s_slots[slot].acquired = flag != 0;
    return 0;
}

// ---- conversions ----

int32_t PlatHatToAngle(uint8_t sdlHat) {
    switch (sdlHat) {
        case SDL_HAT_UP: return 0;
        case SDL_HAT_RIGHTUP: return 4500;
        case SDL_HAT_RIGHT: return 9000;
        case SDL_HAT_RIGHTDOWN: return 13500;
        case SDL_HAT_DOWN: return 18000;
        case SDL_HAT_LEFTDOWN: return 22500;
        case SDL_HAT_LEFT: return 27000;
        case SDL_HAT_LEFTUP: return 31500;
        default: return -1;
    }
}

int32_t PlatAxisToDi(int16_t value) {
    // -32768..32767 onto -1024..1024, both ends and 0 exact.
    return (int32_t)(((int64_t)value + 32768) * 2048 / 65535) - 1024;
}
