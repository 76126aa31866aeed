// The keyboard: buffered key changes into key events and the key-state table, and the keys
// that double as menu navigation.
#include "engine/DebugLog.h"
#include "engine/Input/SlDevices.h"
#include "engine/Input/SlScanCodes.h"

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
    } kMods[] = {{DIK_LSHIFT, SL_MOD_LSHIFT},  {DIK_RSHIFT, SL_MOD_RSHIFT},
                 {DIK_LCONTROL, SL_MOD_LCTRL}, {DIK_RCONTROL, SL_MOD_RCTRL},
                 {DIK_LMENU, SL_MOD_LALT},     {DIK_RMENU, SL_MOD_RALT}};
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
        case DIK_ESCAPE: down = SL_MENUBACK; break;
        case DIK_RETURN: down = SL_MENUSELECT; break;
        case DIK_NUMPAD8:
        case DIK_UP: down = SL_MENUUP; break;
        case DIK_NUMPAD2:
        case DIK_DOWN: down = SL_MENUDOWN; break;
        case DIK_NUMPAD4:
        case DIK_LEFT: down = SL_MENULEFT; break;
        case DIK_NUMPAD6:
        case DIK_RIGHT: down = SL_MENURIGHT; break;
        default: return 0;
    }
    SlPostEvent(event->type == SL_KEYDOWN ? down : down + 1, 0, 0);
    return 1;
}
