// The keyboard: buffered key changes into key events and the key-state table, and the keys
// that double as menu navigation.
#include "engine/DebugLog.h"
#include "engine/Input/SlDevices.h"

#include <cstring>

// DirectInput's buffer size: one read takes at most this many changes.
enum { KBD_READ_ITEMS = 8 };

static uint8_t s_keys[256];
static bool s_started;

static_assert(SL_MOD_LSHIFT == int32_t(PLAT_MOD_LSHIFT) &&
                  SL_MOD_RSHIFT == int32_t(PLAT_MOD_RSHIFT) &&
                  SL_MOD_LCTRL == int32_t(PLAT_MOD_LCTRL) &&
                  SL_MOD_RCTRL == int32_t(PLAT_MOD_RCTRL) &&
                  SL_MOD_LALT == int32_t(PLAT_MOD_LALT) && SL_MOD_RALT == int32_t(PLAT_MOD_RALT),
              "the device's modifier bits are the key events' own");

// The modifiers the key table holds down.
static int32_t TableMods() {
    static const struct {
        uint8_t scancode;
        int32_t bit;
    } kMods[] = {{0x2A, SL_MOD_LSHIFT}, {0x36, SL_MOD_RSHIFT}, {0x1D, SL_MOD_LCTRL},
                 {0x9D, SL_MOD_RCTRL},  {0x38, SL_MOD_LALT},   {0xB8, SL_MOD_RALT}};
    int32_t mods = 0;
    for (const auto& m : kMods)
        if (s_keys[m.scancode]) mods |= m.bit;
    return mods;
}

void SlKeyTableClear() {
    std::memset(s_keys, 0, sizeof s_keys);
}

int SlDiKbdStart() {
    if (s_started) return 0;
    if (SlInitDiObject() != 0) {
        DbgPrintf(DBG_GENERAL, "SlDiKbdStart()::SlInitDiObject FAILED\n");
        return -1;
    }
    PlatKbdAcquire(1);
    s_started = true;
    return 0;
}

void SlDiKbdStop() {
    if (!s_started) return;
    PlatKbdAcquire(0);
    SlKeyTableClear();
    SlReleaseDiObject();
    s_started = false;
}

void SlDiKbdAddEvents() {
    if (!s_started) return;
    if (!PlatKbdAcquired()) {
        DbgPrintf(DBG_GENERAL, "SlDiKbdAddEvents(): not acquired!\n");
        PlatKbdAcquire(1);
        return;
    }
    if (int lost = PlatKbdTakeLost())
        DbgPrintf(DBG_GENERAL, "SlDiKbdAddEvents(): buffer overflow, %d key changes lost!\n", lost);
    bool post = SlEventMask() & SL_MASK_KEYBOARD;
    int max = KBD_READ_ITEMS;
    if (post && SlQueueRoom() < max) max = SlQueueRoom();
    PlatKeyItem items[KBD_READ_ITEMS];
    int n = PlatKbdRead(items, max);
    for (int i = 0; i < n; ++i) {
        bool down = items[i].data == 0x80;
        s_keys[items[i].scancode] = down ? 1 : 0;
        // Both: SDL's state knows a modifier pressed while the keyboard was not acquired, the
        // table one whose change came in an event SDL did not fill in.
        const int32_t mods = items[i].mods | TableMods();
        if (post) SlPostEvent(down ? SL_KEYDOWN : SL_KEYUP, items[i].scancode, mods);
    }
}

int SlKbdAcquire(int flag) {
    if (!s_started) return -1;
    PlatKbdAcquire(flag);
    // Key-ups that come while unacquired are never read, so nothing may stay down.
    if (!flag) SlKeyTableClear();
    return 0;
}

int SlKeyState(int scancode) {
    if (scancode < 0 || scancode > 255) return 0;
    return s_keys[scancode];
}

int SlKeyToMenuEvent(const SlEvent* event) {
    if (!event || (event->type != SL_KEYDOWN && event->type != SL_KEYUP)) return 0;
    int32_t down;
    switch (event->a) {
        case 1: down = SL_MENUBACK; break;
        case 28: down = SL_MENUSELECT; break;
        case 72:
        case 200: down = SL_MENUUP; break;
        case 80:
        case 208: down = SL_MENUDOWN; break;
        case 75:
        case 203: down = SL_MENULEFT; break;
        case 77:
        case 205: down = SL_MENURIGHT; break;
        default: return 0;
    }
    SlPostEvent(event->type == SL_KEYDOWN ? down : down + 1, 0, 0);
    return 1;
}
