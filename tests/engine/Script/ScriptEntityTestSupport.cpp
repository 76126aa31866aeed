// The script library tests' entity class, application and fixture.
#include "engine/PropDb.h"

#include "tests/engine/Script/ScriptEntityTestSupport.h"

#include "engine/EntIniLoader.h"
#include "engine/EntTree.h"
#include "engine/IniFile.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"

#include <cstdio>

int Mover::Start() {
    ++starts;
    return 1;
}
int Mover::OnGameEvent(int event, intptr_t value) {
    lastEvent = event;
    lastValue = value;
    return 1;
}
int Mover::AttachToPlatform(ENTBASE* p) {
    platform = p;
    return 0;
}
int Mover::GiveEntity(ENTBASE* e) {
    given = e;
    return 1;
}

namespace {
PropDb s_moverDb;

void BuildMoverDb() {
    if (s_moverDb.first) return;
    PropDbSetName(&s_moverDb, "Mover");
    PropDbAddStringBlank(&s_moverDb, "name", PROP_OFFSET(Mover, name), 32);
    PropDbAddFloat(&s_moverDb, "speed", PROP_OFFSET(Mover, speed), 0.0f);
    PropDbAddInt(&s_moverDb, "n", PROP_OFFSET(Mover, n), 0);
    PropDbAddInt(&s_moverDb, "gamepad", PROP_OFFSET(Mover, gamepad), -1);
    PropDbAddBool(&s_moverDb, "b", PROP_OFFSET(Mover, b), 0);
    PropDbAddVector3Zero(&s_moverDb, "v", PROP_OFFSET(Mover, v));
    PropDbAddColor3f(&s_moverDb, "c", PROP_OFFSET(Mover, c), 0.0f, 0.0f, 0.0f);
    PropDbAddVoid(&s_moverDb, "ptr", PROP_OFFSET(Mover, ptr), 0);
}

template <int K>
intptr_t MoverProcOf(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static const char* const s_names[] = {"Mover", "MtGame"};
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: BuildMoverDb(); return 0;
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "%s", s_names[K]);
            return 0;
        case ENT_CLASS_MSG_CREATE: {
            auto* e = new Mover(s_names[K]);
            PropDbInitObject(&s_moverDb, e);
            return EntProcCreate(node, e, &s_moverDb);
        }
        default: return EntProcForward(node, message, a, b, c);
    }
}
} // namespace

void TreeHost::BuildRootTree() {
    ++builds;
    root = EntCreateChild("Mover", nullptr);
    root->SetName("Root");
    viewports = EntCreateChild("Mover", root);
    viewports->SetName("Viewport");
    world = EntCreateChild("Mover", root);
    world->SetName("World");
    EntCreateChild("Mover", world)->SetName("First");
    menus = EntCreateChild("Mover", root);
    menus->SetName("Menus");
}

int TreeHost::LoadEntitiesIni(const char* path) {
    return EntLoadEntitiesIni(path, root, world, dataFolder.c_str());
}

void ScriptEntityTest::SetUp() {
    ScriptTest::SetUp();
    RegisterTestClasses();
    EntCreateClass(MoverProcOf<0>, 0, 0);
    EntCreateClass(MoverProcOf<1>, 0, 0);
    host.dataFolder = dir.Path();
    host.dataFile = dir / "Startup.lua";
    host.BuildRootTree();
    host.builds = 0;
    lua_State* L = ScriptMgrGet()->L;
    LuaOpenEntityLib(L);
    LuaOpenSystemLib(L);
    LuaOpenGameLib(L, &host);
    LuaSetGlobalEntity(host.root, "root");
    LuaSetGlobalEntity(host.world, "world");
}

void ScriptEntityTest::TearDown() {
    ScriptTest::TearDown();
    EntDestroyTree(host.root);
    EntSystemShutdown();
    IniClose();
    IniClearProfileFile();
}

Mover* ScriptEntityTest::Make(const char* name, ENTBASE* parent, const char* className) {
    auto* e = static_cast<Mover*>(EntCreateChild(className, parent ? parent : host.world));
    if (e) e->SetName(name);
    return e;
}
