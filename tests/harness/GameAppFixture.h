// A game application for the game's tests: started on the headless host (SDL's dummy video
// driver, an offscreen device on llvmpipe) with a program folder of its own, whose Data/ holds
// the test's "Startup.lua" and the generated fonts, and a documents folder of its own. Test
// doubles stand in for the root tree's classes, the editor and the configuration dialog, so that a
// test sees what the application asks of them.
#pragma once

#include "engine/GameApp/GameApp.h"
#include "tests/engine/EntTestClasses.h"
#include "tests/harness/AppFixture.h"
#include "tests/support/TestSupport.h"
#include "tools/Editor.h"
#include "ui/MouseCursorSetup.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// ---- class doubles ----

// "MtGame", "MenuRoot", "MouseCursor1" and "Probe": TestEnts that also keep "width" and
// "height" and every input event they hear. Their class messages 1 and 2 go into the journal as
// "Reset:<class>" and "Unregister:<class>".
class GameDouble : public TestEnt {
  public:
    using TestEnt::TestEnt;
    int OnMessage(const SlEvent* event) override;
    int Update(float seconds) override;
    // The menu root's double clears the screen and sets the menus' 1024 x 768 projection
    // before its children draw, as the real menu root will.
    int DrawPre() override;
    int32_t width = 0, height = 0;
    bool screenProjection = false;
    std::vector<SlEvent> heard;
    std::vector<float> steps; // Update's seconds
};
intptr_t MtGameDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
intptr_t MenuRootDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
intptr_t MouseCursorDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
intptr_t ProbeProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
// Registers doubles of the three classes the root tree needs ("MtGame", "MenuRoot",
// "MouseCursor1"), which keep what they hear.
void RegisterRootDoubles();
// A Probe named `name` under parent.
GameDouble* MakeProbe(ENTBASE* parent, const char* name);

// ---- the editor double ----

class EditorDouble : public Editor {
  public:
    ~EditorDouble() override;
    void SetDataDir(const char* folder) override { dataDir = folder; }
    void SetRootEntity(ENTBASE* root) override { editedRoot = root; }
    void Enter(void*) override { ++enters; }
    bool WantsPass() override { return wantsPass; }
    void Update(float realSeconds) override;

    std::string dataDir;
    ENTBASE* editedRoot = nullptr;
    int enters = 0;
    bool wantsPass = false;
    std::vector<float> updates;
};
// What EditorNew runs while a test has installed it (through EditorSetMaker); cleared by the
// fixture.
extern std::function<Editor*()> g_makeEditor;
Editor* MakeEditorDouble(void* instance);

// ---- the fixture ----

class GameAppTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Data/Startup.lua of the program folder.
    void WriteStartup(const std::string& text);
    // The settings file in the documents folder's "Fairlark/".
    void WriteConfig(const std::string& text, const char* name = "Config.ini");
    void Start() { ASSERT_EQ(app.AppCreateMainWindow(), 0) << "start-up failed"; }
    // One pass of the loop's frame: Update, the device check, Render.
    void Frame() { app.AppIdlePass(); }
    // A global of the scripts' state: its Lua type (LUA_TNIL when absent).
    static int GlobalType(const char* name);

    TempDir m_dir;
    std::string m_program, m_documents;
    // The program folder of everything else (class data folders, the log) is the game's own.
    std::optional<ProgramFolderScope> m_programScope;
    TestHost host;
    GameApp app;
};

// The first data set's start-up script: registers every published class and builds the tree.
extern const char* const kRegisterAll;
