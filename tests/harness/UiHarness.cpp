// The interface harness.
#include "tests/harness/UiHarness.h"

#include "I3d/Device.h"
#include "I3d/Font.h"
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "engine/Timers.h"
#include "tests/harness/AppFixture.h"
#include "tests/support/TexturedQuad.h"
#include "ui/Menu3Base.h"
#include "world/CursorFrame.h"
#include "world/EntViewport.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>

// ---- the test menu ----

intptr_t TestMenuProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static PropDb s_db;
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
            if (!s_db.first) {
                PropDbSetName(&s_db, "TestMenu");
                PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuDouble, name), 32);
            }
            return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "TestMenu");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new MenuDouble, &s_db);
        default: return EntProcForward(node, message, a, b, c);
    }
}

intptr_t DrawProbeProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "DrawProbe");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new DrawProbe, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}

void DrawPlainText(Font* font, float x, float y, const char16_t* text, uint32_t colour) {
    FontSetScale(font, 1.0f, 1.0f);
    FontSetGlyphOffsetX(font, 0.0f);
    font->hAlign = 0;
    font->vAlign = 0;
    font->colour = colour;
    FontDraw(font, x, y, text);
}

// ---- the fixture ----

void UiTest::SetUp() {
    GameAppTest::SetUp();
    WriteConfig(
        "[Xq "
        "Config]\nrunHwConfig=0\nwindowed=1\nwinWidth=1024\nwinHeight=768\nlockableBackbuffer=1\n");
    // Everything the build generated, beside the test's own Startup.lua.
    const std::string data = m_program + "Data/";
    if (DIR* dir = opendir(FAIRLARK_BUILD_DATA_DIR)) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == ".." || name == "Startup.lua" || name == "Fonts") continue;
            ASSERT_EQ(symlink((FAIRLARK_BUILD_DATA_DIR + name).c_str(), (data + name).c_str()), 0)
                << name;
        }
        closedir(dir);
    }
    Ctl3SetNavEnabled(true);
    // A game an earlier test paused stopped the process-wide application timer: each test starts
    // with it running.
    AppTimer(APPTIMER_START);
    m_cursorIndex = g_cursorFrameIndex;
}

void UiTest::TearDown() {
    GameAppTest::TearDown();
    g_cursorFrameIndex = m_cursorIndex;
    if (keepLog) {
        DbgSetLevelMask(0);
        DbgSetOutputMask(0);
        DbgSetLogFile("Debug.txt");
    }
    Ctl3SetNavEnabled(true);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

void UiTest::StartUi(const std::string& body) {
    const std::string log = m_dir / "UiLog.txt";
    g_makeEditor = [this, log]() -> Editor* {
        // The log the start-up set is replaced before any script runs.
        if (keepLog) {
            DbgSetLogFile(log.c_str());
            DbgSetOutputMask(DBG_OUT_FILE);
            DbgSetLevelMask(0xFFFFFFFFu);
        }
        // The entity system is up by the editor's turn. The menu root and the mouse cursor are
        // the real ones; the game object stays a double unless the test registered the real one.
        if (registerFirst) registerFirst();
        EntCreateClass(MtGameDoubleProc, 0, 0);
        EntCreateClass(TestMenuProc, 0, 0);
        EntCreateClass(DrawProbeProc, 0, 0);
        return nullptr;
    };
    WriteStartup(std::string(kRegisterAll) + "Game.CreateEntityTree()\n" + body);
    Start();
    ASSERT_TRUE(app.GetMenus()) << "the root tree has no \"Menus\"";
    // Nothing else clears between frames: each frame starts black under the menus.
    if (auto* vp = dynamic_cast<EntViewport*>(app.menuViewport.Get())) {
        vp->clear = 1;
        vp->color = {0.0f, 0.0f, 0.0f};
    }
    menu = dynamic_cast<MenuDouble*>(EntCreateChild("TestMenu", app.GetMenus()));
    ASSERT_TRUE(menu);
    // The test menu hides the mouse cursor, as a menu may: pixel tests see their controls only.
    // Tests of the cursor show it again.
    g_cursorFrameIndex = -1;
    Step();
    Forget();
}

void UiTest::Step(int frames) {
    for (int i = 0; i < frames; ++i) {
        clock.AdvanceMs(uint64_t(frameMs));
        Frame();
    }
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

void UiTest::Key(SDL_Scancode code, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.scancode = code;
    SDL_PushEvent(&e);
}

void UiTest::Tap(SDL_Scancode code) {
    Key(code, true);
    Step();
    Key(code, false);
    Step();
}

void UiTest::TypeText(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::snprintf(e.text.text, sizeof e.text.text, "%s", utf8);
    app.AppHandleEvent(e);
}

void UiTest::MouseMove(float x, float y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = int(x);
    e.motion.y = int(y);
    app.AppHandleEvent(e);
}

void UiTest::MouseButton(bool down) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
}

void UiTest::ClickAt(float x, float y) {
    MouseMove(x, y);
    Step();
    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
}

void UiTest::ClickOn(const Ctl3Base* control) {
    ASSERT_NE(control, nullptr);
    ClickAt((control->rect.left + control->rect.right) * 0.5f,
            (control->rect.top + control->rect.bottom) * 0.5f);
}

Menu3Base* UiTest::ShownMenu(const char* name) {
    return dynamic_cast<Menu3Base*>(EntTreeFindName(app.GetMenus(), name));
}

std::vector<std::pair<intptr_t, intptr_t>> UiTest::ControlEvents() const {
    std::vector<std::pair<intptr_t, intptr_t>> out;
    if (!menu) return out;
    for (const SlEvent& e : menu->heard)
        if (e.type == CTL3_EVENT) out.emplace_back(e.a, e.b);
    return out;
}

void UiTest::Forget() {
    if (menu) menu->heard.clear();
}

std::string UiTest::LogText() const {
    const std::string log = m_dir / "UiLog.txt";
    return PathExistsOnDisk(log) ? ReadTextFile(log) : std::string();
}

std::vector<uint32_t> UiTest::ReadPixels() const {
    return TexQuadReadBack(D3dDevice());
}

Font* UiAcquireFont(const char* title) {
    return FontAcquire((std::string(Ctl3DataFolder()) + "Fonts/" + title).c_str());
}
