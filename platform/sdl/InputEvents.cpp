// Keyboard and mouse over an SDL event watch: the watch sees every event as SDL queues it,
// whoever pumps the queue, and keeps what DirectInput would have buffered for the next read.
#include "platform/Input.h"

#include <SDL.h>

// Far more than a frame can bring; a full buffer drops the newest changes, as DirectInput does.
enum { KEY_BUFFER = 4096, BUTTON_BUFFER = 256 };

static bool s_started;
// Start failures that tests ask for; the pads read it too.
unsigned g_platInputFailMask;
// The watch may be called from whichever thread pushes an event.
static SDL_SpinLock s_lock;

namespace {
// A first-in, first-out buffer that refuses what does not fit.
template <typename T, int N>
struct Ring {
    T items[N];
    int head, count;

    bool Push(const T& item) {
        if (count == N) return false;
        items[(head + count++) % N] = item;
        return true;
    }
    int Take(T* out, int max) {
        int n = max < count ? max : count;
        if (n < 0) n = 0;
        for (int i = 0; i < n; ++i)
            out[i] = items[(head + i) % N];
        head = (head + n) % N;
        count -= n;
        return n;
    }
    void Clear() { head = count = 0; }
};
} // namespace

static bool s_kbdAcquired;
static Ring<PlatKeyItem, KEY_BUFFER> s_keys;
static int s_keysLost;

static bool s_mouseAcquired;
static int32_t s_dx, s_dy, s_wheel;
static Ring<PlatMouseItem, BUTTON_BUFFER> s_buttons;

// ---- the watch ----

static int MouseButtonIndex(uint8_t sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return 0;
        case SDL_BUTTON_RIGHT: return 1;
        case SDL_BUTTON_MIDDLE: return 2;
        case SDL_BUTTON_X1: return 3;
        default: return -1;
    }
}

static uint8_t ModBits(uint16_t mod) {
    uint8_t bits = 0;
    if (mod & KMOD_LSHIFT) bits |= PLAT_MOD_LSHIFT;
    if (mod & KMOD_RSHIFT) bits |= PLAT_MOD_RSHIFT;
    if (mod & KMOD_LCTRL) bits |= PLAT_MOD_LCTRL;
    if (mod & KMOD_RCTRL) bits |= PLAT_MOD_RCTRL;
    if (mod & KMOD_LALT) bits |= PLAT_MOD_LALT;
    if (mod & KMOD_RALT) bits |= PLAT_MOD_RALT;
    return bits;
}

static void KeyEvent(const SDL_KeyboardEvent& key) {
    // DirectInput's buffered data has no repeats.
    if (!s_kbdAcquired || key.repeat) return;
    uint8_t dik = PlatScancodeToDik(key.keysym.scancode);
    if (!dik) return;
    PlatKeyItem item{dik, (uint8_t)(key.type == SDL_KEYDOWN ? 0x80 : 0), ModBits(key.keysym.mod)};
    if (!s_keys.Push(item)) ++s_keysLost;
}

static void ButtonEvent(const SDL_MouseButtonEvent& button) {
    int index = MouseButtonIndex(button.button);
    if (!s_mouseAcquired || index < 0) return;
    s_buttons.Push(PlatMouseItem{(uint8_t)index, button.type == SDL_MOUSEBUTTONDOWN});
}

static int SDLCALL Watch(void*, SDL_Event* event) {
    switch (event->type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            SDL_AtomicLock(&s_lock);
            KeyEvent(event->key);
            SDL_AtomicUnlock(&s_lock);
            break;
        case SDL_MOUSEMOTION:
            SDL_AtomicLock(&s_lock);
            if (s_mouseAcquired) {
                s_dx += event->motion.xrel;
                s_dy += event->motion.yrel;
            }
            SDL_AtomicUnlock(&s_lock);
            break;
        case SDL_MOUSEWHEEL: {
            int notches = event->wheel.y;
            if (event->wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            SDL_AtomicLock(&s_lock);
            if (s_mouseAcquired) s_wheel += notches * 120;
            SDL_AtomicUnlock(&s_lock);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            SDL_AtomicLock(&s_lock);
            ButtonEvent(event->button);
            SDL_AtomicUnlock(&s_lock);
            break;
        default: break;
    }
    return 1;
}

// ---- start and stop ----

int PlatInputStart() {
    if (s_started) return 0;
    if (g_platInputFailMask & PLAT_INPUT_FAIL_EVENTS) return -1;
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) return -1;
    PlatKbdAcquire(1);
    PlatMouseAcquire(1);
    SDL_AddEventWatch(Watch, nullptr);
    s_started = true;
    return 0;
}

void PlatInputStop() {
    if (!s_started) return;
    SDL_DelEventWatch(Watch, nullptr);
    PlatKbdAcquire(0);
    PlatMouseAcquire(0);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
    s_started = false;
}

void PlatInputSimulateFailure(unsigned mask) {
    g_platInputFailMask = mask;
}

// ---- keyboard ----

void PlatKbdAcquire(int flag) {
    SDL_AtomicLock(&s_lock);
    s_kbdAcquired = flag != 0;
    if (!flag) s_keys.Clear();
    SDL_AtomicUnlock(&s_lock);
}

int PlatKbdAcquired() {
    return s_kbdAcquired;
}

int PlatKbdRead(PlatKeyItem* items, int max) {
    SDL_AtomicLock(&s_lock);
    int n = s_keys.Take(items, max);
    SDL_AtomicUnlock(&s_lock);
    return n;
}

int PlatKbdTakeLost() {
    SDL_AtomicLock(&s_lock);
    int lost = s_keysLost;
    s_keysLost = 0;
    SDL_AtomicUnlock(&s_lock);
    return lost;
}

// ---- mouse ----

void PlatMouseAcquire(int flag) {
    SDL_AtomicLock(&s_lock);
    s_mouseAcquired = flag != 0;
    if (!flag) {
        s_dx = s_dy = s_wheel = 0;
        s_buttons.Clear();
    }
    SDL_AtomicUnlock(&s_lock);
}

int PlatMouseAcquired() {
    return s_mouseAcquired;
}

void PlatMouseTakeMotion(int32_t* dx, int32_t* dy) {
    SDL_AtomicLock(&s_lock);
    *dx = s_dx;
    *dy = s_dy;
    s_dx = s_dy = 0;
    SDL_AtomicUnlock(&s_lock);
}

int32_t PlatMouseTakeWheel() {
    SDL_AtomicLock(&s_lock);
    int32_t dz = s_wheel;
    s_wheel = 0;
    SDL_AtomicUnlock(&s_lock);
    return dz;
}

int PlatMouseReadButtons(PlatMouseItem* items, int max) {
    SDL_AtomicLock(&s_lock);
    int n = s_buttons.Take(items, max);
    SDL_AtomicUnlock(&s_lock);
    return n;
}
