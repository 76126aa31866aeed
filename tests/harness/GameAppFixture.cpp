// The game tests' fixture and doubles.
#include "tests/harness/GameAppFixture.h"

#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/StateCache.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/Script/ScriptMgr.h"
#include "tools/HwConfig.h"

#include <lua.hpp>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

const char* const kRegisterAll =
    "for name, proc in pairs(_G) do\n"
    "  if type(name) == 'string' and name:sub(1, 2) == 'Ec' and type(proc) == 'userdata' then\n"
    "    Entity.CreateClass(proc, nil, 0)\n"
    "  end\n"
    "end\n";

// ---- class doubles ----

int GameDouble::OnMessage(const SlEvent* event) {
    heard.push_back(*event);
    return TestEnt::OnMessage(event);
}

int GameDouble::DrawPre() {
    if (screenProjection) {
        // Nothing else in the doubles' tree clears between frames: each frame starts black.
        D3dSetClearColor(0, 0, 0);
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        Mat4 identity, ortho;
        Mat4Identity(&identity);
        I3dSetWorld(&identity);
        I3dSetView(&identity);
        I3dSetProj(Mat4OrthoScreen(&ortho, 1024, 768));
    }
    return TestEnt::DrawPre();
}

int GameDouble::Update(float seconds) {
    steps.push_back(seconds);
    return TestEnt::Update(seconds);
}

namespace {
struct DoubleClass {
    const char* name;
    PropDb db;
};

DoubleClass& Double(int k) {
    static DoubleClass s_classes[4] = {
        {"MtGame", {}}, {"MenuRoot", {}}, {"MouseCursor1", {}}, {"Probe", {}}};
    return s_classes[k];
}

template <int K>
intptr_t DoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    DoubleClass& info = Double(K);
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
            if (!info.db.first) {
                PropDbSetName(&info.db, info.name);
                PropDbAddStringBlank(&info.db, "name", PROP_OFFSET(GameDouble, name), 32);
                PropDbAddInt(&info.db, "width", PROP_OFFSET(GameDouble, width), 0);
                PropDbAddInt(&info.db, "height", PROP_OFFSET(GameDouble, height), 0);
            }
            return 0;
        case ENT_CLASS_MSG_RESET: g_journal.push_back(std::string("Reset:") + info.name); return 0;
        case ENT_CLASS_MSG_UNREGISTER:
            g_journal.push_back(std::string("Unregister:") + info.name);
            return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "%s", info.name);
            return 0;
        case ENT_CLASS_MSG_CREATE: {
            auto* e = new GameDouble(info.name);
            e->screenProjection = K == 1;
            PropDbInitObject(&info.db, e);
            return EntProcCreate(node, e, &info.db);
        }
        default: return EntProcForward(node, message, a, b, c);
    }
}
} // namespace

intptr_t MtGameDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return DoubleProc<0>(node, message, a, b, c);
}
intptr_t MenuRootDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return DoubleProc<1>(node, message, a, b, c);
}
intptr_t MouseCursorDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return DoubleProc<2>(node, message, a, b, c);
}
intptr_t ProbeProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return DoubleProc<3>(node, message, a, b, c);
}

void RegisterRootDoubles() {
    EntCreateClass(MtGameDoubleProc, 0, 0);
    EntCreateClass(MenuRootDoubleProc, 0, 0);
    EntCreateClass(MouseCursorDoubleProc, 0, 0);
}

GameDouble* MakeProbe(ENTBASE* parent, const char* name) {
    if (!EntClassFind("Probe")) EntCreateClass(ProbeProc, 0, 0);
    auto* e = static_cast<GameDouble*>(EntCreateChild("Probe", parent));
    if (e) e->SetName(name);
    return e;
}

// ---- the editor double ----

std::function<Editor*()> g_makeEditor;

Editor* MakeEditorDouble(void*) {
    return g_makeEditor ? g_makeEditor() : nullptr;
}

EditorDouble::~EditorDouble() {
    g_journal.push_back("EditorDelete");
}

void EditorDouble::Update(float realSeconds) {
    updates.push_back(realSeconds);
    g_journal.push_back("EditorUpdate");
}

// ---- the fixture ----

void GameAppTest::SetUp() {
    // The game seeds its own draws from the clock; a test's patrons are the same every run.
    MsSeed(1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    // A lock of its own, so tests side by side are not "another copy".
    setenv("XDG_RUNTIME_DIR", m_dir.Path().c_str(), 1);
    setenv("HOME", (m_dir / "home").c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    m_documents = m_dir / "docs/";
    setenv("XDG_DOCUMENTS_DIR", m_documents.c_str(), 1);
    mkdir((m_dir / "home").c_str(), 0755);
    mkdir(m_documents.c_str(), 0755);
    m_program = m_dir / "program/";
    mkdir(m_program.c_str(), 0755);
    mkdir((m_program + "Data").c_str(), 0755);
    // The generated debug font, without copying it.
    ASSERT_EQ(symlink(FAIRLARK_BUILD_DATA_DIR "Fonts", (m_program + "Data/Fonts").c_str()), 0);
    WriteConfig("[Xq Config]\nrunHwConfig=0\n");

    g_journal.clear();
    TestEnt::onAnyStart = nullptr;
    EditorSetMaker(MakeEditorDouble);
    app.SetProgramFolder(m_program.c_str());
    m_programScope.emplace(m_program);
    app.AppSetHost(&host);
}

void GameAppTest::TearDown() {
    if (app.hwnd) app.AppShutdown();
    m_programScope.reset();
    EditorSetMaker(nullptr);
    g_makeEditor = nullptr;
    HwConfigSetDriver(nullptr);
    MouseCursorSetSetupHook(nullptr);
}

void GameAppTest::WriteStartup(const std::string& text) {
    WriteTextFile(m_program + "Data/Startup.lua", text);
}

void GameAppTest::WriteConfig(const std::string& text, const char* name) {
    unlink((m_documents + "Fairlark/Config.ini").c_str());
    WriteTextFile(m_documents + "Fairlark/" + name, text);
}

int GameAppTest::GlobalType(const char* name) {
    lua_State* L = ScriptMgrGet()->L;
    int type = lua_getglobal(L, name);
    lua_pop(L, 1);
    return type;
}
