// The keyboard: injected SDL key events become key events and key states, read at most eight a
// time and never lost; the scancode table; keys as menu navigation; acquisition.
#include "engine/DebugLog.h"
#include "platform/Input.h"
#include "tests/engine/Input/SlFixture.h"

namespace {
class SlKeyboard : public SlFixture {};
} // namespace

TEST_F(SlKeyboard, DownRepeatsAndUpGiveOneEventEachAndTheKeyState) {
    Key(SDL_SCANCODE_A, true);
    for (int i = 0; i < 20; ++i)
        Key(SDL_SCANCODE_A, true, true);
    SlEvent e;
    ASSERT_EQ(SlGetEvent(&e), 0);
    EXPECT_EQ(e.type, SL_KEYDOWN);
    EXPECT_EQ(e.a, 30);
    EXPECT_EQ(SlKeyState(30), 1) << "the key table follows what has been read";
    EXPECT_EQ(SlGetEvent(&e), -1) << "key repeats must not post: DirectInput's buffer has none";
    Key(SDL_SCANCODE_A, false);
    EXPECT_EQ(DrainTypes(), (Events{{SL_KEYUP, 30}}));
    EXPECT_EQ(SlKeyState(30), 0);
}

TEST_F(SlKeyboard, ReadsEightAtATimeAndLosesNothing) {
    const SDL_Scancode keys[] = {SDL_SCANCODE_Q, SDL_SCANCODE_W, SDL_SCANCODE_E,
                                 SDL_SCANCODE_R, SDL_SCANCODE_T, SDL_SCANCODE_Y};
    for (SDL_Scancode k : keys) {
        Key(k, true);
        Key(k, false);
    }
    SlEvent e;
    ASSERT_EQ(SlGetEvent(&e), 0);
    // The first read took 8 changes: the one returned and 7 still queued.
    int queued = SlPostEvent(1, 0, 0) - 1;
    EXPECT_EQ(queued, 7);
    std::vector<SlEvent> rest = Drain();
    ASSERT_EQ(rest.size(), 12u) << "11 key events and the marker; none may be lost";
    EXPECT_EQ(rest[7].type, 1) << "the marker comes after the first read's eight";
    EXPECT_EQ(rest[8].type, SL_KEYDOWN);
    EXPECT_EQ(rest[8].a, 0x14) << "the ninth change (T down) waits for the second read";
}

TEST_F(SlKeyboard, TwoHundredChangesBeforeAReadAllArriveInOrder) {
    // More than the queue holds: the device read must leave what does not fit in its buffer
    // rather than push out unread events.
    for (int i = 0; i < 100; ++i) {
        Key(SDL_SCANCODE_A, true);
        Key(SDL_SCANCODE_A, false);
    }
    Events got = DrainTypes();
    ASSERT_EQ(got.size(), 200u);
    for (size_t i = 0; i < got.size(); ++i)
        ASSERT_EQ(got[i].first, i % 2 ? SL_KEYUP : SL_KEYDOWN) << "at " << i;
    EXPECT_EQ(SlKeyState(30), 0);
}

TEST_F(SlKeyboard, AKeyEventKeepsTheModifiersHeldWhenItChangedNotWhenItIsRead) {
    // Control down, C, Control up before a read: C was still a chord.
    Key(SDL_SCANCODE_LCTRL, true);
    Key(SDL_SCANCODE_C, true);
    Key(SDL_SCANCODE_LCTRL, false);
    Key(SDL_SCANCODE_C, false);
    std::vector<SlEvent> got = Drain();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].b, SL_MOD_LCTRL) << "a modifier's own press counts it held";
    EXPECT_EQ(got[1].a, 46);
    EXPECT_EQ(got[1].b, SL_MOD_LCTRL) << "C lost its Control to the release read with it";
    EXPECT_EQ(got[2].b, 0);
    EXPECT_EQ(got[3].b, 0);

    // Across reads: Control read first, its release read with C.
    Key(SDL_SCANCODE_RCTRL, true);
    Drain();
    Key(SDL_SCANCODE_C, true);
    Key(SDL_SCANCODE_RCTRL, false);
    got = Drain();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].b, SL_MOD_RCTRL);
    EXPECT_EQ(SlKeyState(157), 0);

    // What SDL says was held counts too: Shift pressed before the keyboard was acquired.
    SDL_Event e = Event(SDL_KEYDOWN);
    e.key.keysym.scancode = SDL_SCANCODE_X;
    e.key.keysym.mod = KMOD_LSHIFT | KMOD_RALT;
    Push(e);
    got = Drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].b, SL_MOD_LSHIFT | SL_MOD_RALT);
}

TEST_F(SlKeyboard, ScancodesMapToDirectInputCodes) {
    struct {
        SDL_Scancode sdl;
        int dik;
    } const cases[] = {
        {SDL_SCANCODE_ESCAPE, 1},     {SDL_SCANCODE_RETURN, 28}, {SDL_SCANCODE_LCTRL, 29},
        {SDL_SCANCODE_A, 30},         {SDL_SCANCODE_F1, 59},     {SDL_SCANCODE_KP_7, 71},
        {SDL_SCANCODE_KP_8, 72},      {SDL_SCANCODE_KP_9, 73},   {SDL_SCANCODE_KP_MINUS, 74},
        {SDL_SCANCODE_KP_4, 75},      {SDL_SCANCODE_KP_5, 76},   {SDL_SCANCODE_KP_6, 77},
        {SDL_SCANCODE_KP_PLUS, 78},   {SDL_SCANCODE_KP_1, 79},   {SDL_SCANCODE_KP_2, 80},
        {SDL_SCANCODE_KP_3, 81},      {SDL_SCANCODE_KP_0, 82},   {SDL_SCANCODE_KP_PERIOD, 83},
        {SDL_SCANCODE_KP_ENTER, 156}, {SDL_SCANCODE_RCTRL, 157}, {SDL_SCANCODE_HOME, 199},
        {SDL_SCANCODE_UP, 200},       {SDL_SCANCODE_LEFT, 203},  {SDL_SCANCODE_RIGHT, 205},
        {SDL_SCANCODE_END, 207},      {SDL_SCANCODE_DOWN, 208},  {SDL_SCANCODE_INSERT, 210},
        {SDL_SCANCODE_DELETE, 211},   {SDL_SCANCODE_SPACE, 57},  {SDL_SCANCODE_LSHIFT, 42},
        {SDL_SCANCODE_F12, 88},       {SDL_SCANCODE_0, 11},      {SDL_SCANCODE_M, 50},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlatScancodeToDik(c.sdl), c.dik) << SDL_GetScancodeName(c.sdl);
    // No two SDL keys may share a code, apart from the one key position ISO and ANSI name apart.
    int owner[256] = {};
    for (int sc = 1; sc < SDL_NUM_SCANCODES; ++sc) {
        int dik = PlatScancodeToDik(sc);
        if (!dik || sc == SDL_SCANCODE_NONUSHASH) continue;
        EXPECT_EQ(owner[dik], 0) << "code " << dik << " given to two keys";
        owner[dik] = sc;
    }
    EXPECT_EQ(PlatScancodeToDik(-1), 0);
    EXPECT_EQ(PlatScancodeToDik(SDL_NUM_SCANCODES), 0);
}

TEST_F(SlKeyboard, KeysWithoutACodeAreNotPosted) {
    Key(SDL_SCANCODE_F24, true);
    Key(SDL_SCANCODE_UNKNOWN, true);
    Key(SDL_SCANCODE_LANG1, true);
    Key(SDL_SCANCODE_B, true);
    EXPECT_EQ(DrainTypes(), (Events{{SL_KEYDOWN, 48}}));
}

TEST_F(SlKeyboard, NavigationKeysPostMenuEvents) {
    struct {
        int key, down;
    } const nav[] = {{1, 50},   {28, 48}, {72, 40},  {200, 40}, {80, 42},
                     {208, 42}, {75, 44}, {203, 44}, {77, 46},  {205, 46}};
    for (const auto& n : nav) {
        for (int type : {SL_KEYDOWN, SL_KEYUP}) {
            SlEventQueueClear();
            SlEvent key{type, n.key, 0, 0};
            EXPECT_EQ(SlKeyToMenuEvent(&key), 1) << "key " << n.key;
            SlEvent e;
            ASSERT_EQ(SlGetEvent(&e), 0);
            EXPECT_EQ(e.type, type == SL_KEYDOWN ? n.down : n.down + 1) << "key " << n.key;
            EXPECT_EQ(e.a, 0);
            EXPECT_EQ(e.b, 0);
        }
    }
    SlEventQueueClear();
    SlEvent other[] = {{SL_KEYDOWN, 156, 0, 0},  {SL_KEYDOWN, 30, 0, 0}, {SL_KEYDOWN, 0, 0, 0},
                       {SL_KEYDOWN, 1000, 0, 0}, {SL_CHAR, 28, 0, 0},    {SL_MOUSE0DOWN, 1, 0, 0}};
    for (const SlEvent& e : other)
        EXPECT_EQ(SlKeyToMenuEvent(&e), 0) << "type " << e.type << " key " << e.a;
    EXPECT_EQ(SlKeyToMenuEvent(nullptr), 0);
    EXPECT_TRUE(Drain().empty()) << "keys that are not navigation post nothing";
}

TEST_F(SlKeyboard, UnacquiringLetsEveryKeyGoAndTheNextReadAcquiresAgain) {
    TempDir dir;
    DbgSetLogFile((dir / "log.txt").c_str());
    DbgSetLevelMask(DBG_GENERAL);
    DbgSetOutputMask(DBG_OUT_FILE);

    Key(SDL_SCANCODE_LCTRL, true);
    Drain();
    ASSERT_EQ(SlKeyState(29), 1);
    EXPECT_EQ(SlKbdAcquire(0), 0);
    EXPECT_EQ(SlKeyState(29), 0) << "a key-up lost while unacquired must not leave the key down";
    Key(SDL_SCANCODE_B, true); // not read: the keyboard is not acquired
    EXPECT_TRUE(Drain().empty());
    EXPECT_EQ(ReadTextFile(dir / "log.txt"), "SlDiKbdAddEvents(): not acquired!\n");
    Key(SDL_SCANCODE_B, false);
    EXPECT_EQ(DrainTypes(), (Events{{SL_KEYUP, 48}})) << "the failed read acquired the keyboard";

    EXPECT_EQ(SlKbdAcquire(0), 0);
    EXPECT_EQ(SlKbdAcquire(1), 0);
    EXPECT_EQ(SlKeyState(29), 0);
    DbgSetOutputMask(0);
    DbgSetLevelMask(0);
}
