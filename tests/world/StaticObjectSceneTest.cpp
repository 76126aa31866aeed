// Static objects end to end on OpenGL (llvmpipe, offscreen): a script loads, through the real
// script libraries and entity loader, a world of a ground, a "TimeOfDay" and 300 trees made by
// the model tool, under a viewport with a test camera; 60 frames are drawn; the scene is cleared
// and loaded again five times, and the time of day is destroyed by script between frames.
#include "engine/EntIniLoader.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "tests/world/StaticObjectFixture.h"
#include "tests/world/WorldScriptHost.h"
#include "world/EntViewport.h"

#include <lua.hpp>

#include <GL/gl.h>

#include <string>

namespace {

constexpr int kW = 160, kH = 120;
constexpr int kTrees = 300;

const char* const kTree = R"(
model Tree
material Bark diffuse 0.4 0.3 0.1 1
material Leaves diffuse 0.1 0.6 0.1 1
node Root
node Trunk parent Root translate 0 1 0 cylinder 6 0.2 2 material Bark
node Crown parent Root translate 0 3 0 sphere 6 1.2 material Leaves
)";

class StaticObjectScene : public StaticObjectTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        CreateOffscreen(kW, kH);
        ASSERT_EQ(I3dTexTableAlloc(32), 0);
        RegisterWorldTestClasses();
        const std::string from = m_files / "Startup.lua";
        EntCreateClass(EcStaticObjectProc, reinterpret_cast<intptr_t>(from.c_str()), 0);
        EntCreateClass(DayClockProc, 0, 0);
        EntCreateClass(TestGroundProc, 0, 0);
        CrtSrand(5);
        host.dataFolder = m_files.Path();
        host.BuildRootTree();
        root = host.root;
        world = host.world;
        lua_State* L = ScriptMgrGet()->L;
        LuaOpenEntityLib(L);
        LuaOpenGameLib(L, &host);

        Model(kTree);
        std::string ini = "[Entities]\nTerrain TestGround World\nClock DayClock World\n"
                          "Cam TestCamera World\nMain Viewport Viewport\n";
        std::string sections = "[Clock]\ntime=0.9\n";
        for (int i = 0; i < kTrees; ++i) {
            const std::string name = "Tree" + std::to_string(i);
            ini += name + " StaticObject World\n";
            sections += "[" + name + "]\nmodelFile=Tree.md3\nagl=TRUE\npos.x=" +
                        std::to_string(-15 + (i % 20) * 1.5f) +
                        "\npos.z=" + std::to_string(5 + (i / 20) * 2.0f) +
                        "\nyaw=" + std::to_string(i * 0.1f) + "\n";
        }
        WriteTextFile(m_files / "World.ini", ini + sections);
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the drawing left a GL error";
        ScriptMgrDestroy();
        StaticObjectTest::TearDown();
        I3dTexTableFree();
    }
    std::string Exec(const std::string& code) {
        lua_State* L = ScriptMgrGet()->L;
        if (luaL_dostring(L, code.c_str()) == LUA_OK) return "";
        std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
        lua_pop(L, 1);
        return message;
    }
    void Load() {
        ASSERT_EQ(Exec("Game.LoadEntitiesIni('World.ini')\n"
                       "local world = Game.GetWorldEntity()\n"
                       "local v = Entity.FindName(Game.GetViewportEntity(), 'Main')\n"
                       "Entity.SetVoid(v, 'entDrawRoot', world)\n"
                       "Entity.SetVoid(v, 'entCamera', Entity.FindName(world, 'Cam'))\n"
                       "Entity.SetBool(v, 'clear', 1)\n"),
                  "");
        auto* cam = static_cast<TestCamera*>(EntTreeFindName(world, "Cam"));
        ASSERT_NE(cam, nullptr);
        const VECTOR3 eye = {0, 8, -10}, at = {0, 0, 20}, up = {0, 1, 0};
        Mat4LookAt(&cam->desc.view, &eye, &at, &up);
        cam->desc.fov = 1.0f;
        cam->desc.eye = eye;
        cam->desc.valid = 1;
    }
    void Frame() {
        ASSERT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(host.viewports);
        D3dEndScene();
    }
    // What GameApp::ClearScene does to the world.
    void ClearScene() {
        EntDestroyChildren(host.viewports);
        EntDestroyChildren(host.world);
        EntResetClasses();
    }

    WorldHost host;
};

TEST_F(StaticObjectScene, ThreeHundredTreesLoadDrawAndGoFiveTimesOver) {
    for (int round = 0; round < 5; ++round) {
        Load();
        auto* first = static_cast<StaticObject*>(EntTreeFindName(world, "Tree0"));
        ASSERT_NE(first, nullptr) << LogText();
        ASSERT_NE(first->instance, nullptr) << LogText();
        EXPECT_EQ(first->instance->refCount, kTrees) << "one shared model for every tree";
        EXPECT_FLOAT_EQ(first->matrix.m[13], 10.0f) << "the trees stand on the ground";
        for (int frame = 0; frame < 60; ++frame) {
            StaticObjectFlashTick(1.0f / 60.0f);
            Frame();
        }
        EXPECT_EQ(first->instance->lightsOn, 1) << "0.9 is night";
        ClearScene();
        EXPECT_EQ(StaticObjectTimeOfDay(), nullptr);
        EXPECT_EQ(Mdl3ExList() ? *Mdl3ExList() : nullptr, nullptr)
            << "every tree gave its model back";
        EXPECT_EQ(Mdl3FindLoaded("Tree"), nullptr) << "and the model its MDL3 model";
    }
}

TEST_F(StaticObjectScene, DestroyingTheTimeOfDayByScriptBetweenFramesIsSafe) {
    Load();
    Frame();
    auto* first = static_cast<StaticObject*>(EntTreeFindName(world, "Tree0"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->instance->lightsOn, 1);
    ASSERT_EQ(Exec("Entity.Destroy(Entity.FindName(Game.GetWorldEntity(), 'Clock'))"), "");
    EXPECT_EQ(EntTreeFindName(world, "Clock"), nullptr);
    Frame();
    EXPECT_EQ(first->instance->lightsOn, 0) << "no time of day: lights off";
    ClearScene();
}

} // namespace
