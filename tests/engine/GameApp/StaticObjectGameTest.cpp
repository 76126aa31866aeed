// Static objects in the running game: Startup.lua registers the class with the game's data path,
// a script loads a world of 300 tool-made trees under a viewport, the game draws 60 frames, and
// the scene is cleared and loaded again five times with every model given back.
#include "tests/harness/GameAppFixture.h"

#include "datagen/Models/MdlOutput.h"
#include "engine/Script/ScriptMgr.h"
#include "gi/Render/Mdl3Ex.h"
#include "world/StaticObject.h"

#include <lua.hpp>

#include <string>

namespace {

const char* const kTree = R"(
model Tree
material Bark diffuse 0.4 0.3 0.1 1
material Leaves diffuse 0.1 0.6 0.1 1
node Root
node Trunk parent Root translate 0 1 0 cylinder 6 0.2 2 material Bark
node Crown parent Root translate 0 3 0 sphere 6 1.2 material Leaves
)";

class StaticObjectGameTest : public GameAppTest {
  protected:
    void StartWorld() {
        g_makeEditor = []() -> Editor* {
            RegisterRootDoubles();
            return nullptr;
        };
        // Registered before the rest, so the class folder is the one the script names.
        WriteStartup("Entity.CreateClass(EcStaticObject, Game.GetDataPath(), 0)\n" +
                     std::string(kRegisterAll) + "Game.CreateEntityTree()\n");
        MdlOutput out;
        std::string error;
        ASSERT_TRUE(MdlCompile(kTree, &out, &error)) << error;
        ASSERT_TRUE(MdlWriteOutput(out, m_program + "Data/", &error)) << error;
        std::string ini = "[Entities]\nMain Viewport Viewport\n";
        std::string sections;
        for (int i = 0; i < 300; ++i) {
            const std::string name = "Tree" + std::to_string(i);
            ini += name + " StaticObject World\n";
            sections += "[" + name +
                        "]\nmodelFile=Tree.md3\npos.x=" + std::to_string((i % 20) * 1.5f - 15.0f) +
                        "\npos.z=" + std::to_string(5.0f + (i / 20) * 2.0f) + "\n";
        }
        WriteTextFile(m_program + "Data/World.ini", ini + sections);
        Start();
    }
    std::string Exec(const std::string& code) {
        lua_State* L = ScriptMgrGet()->L;
        if (luaL_dostring(L, code.c_str()) == LUA_OK) return "";
        std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
        lua_pop(L, 1);
        return message;
    }
};

TEST_F(StaticObjectGameTest, ThreeHundredTreesLoadDrawAndGoFiveTimesOver) {
    StartWorld();
    EXPECT_EQ(StaticObjectDataDir()->path, m_program + "Data/");
    for (int round = 0; round < 5; ++round) {
        ASSERT_EQ(Exec("Game.LoadEntitiesIni('World.ini')\n"
                       "local v = Entity.FindName(Game.GetViewportEntity(), 'Main')\n"
                       "Entity.SetVoid(v, 'entDrawRoot', Game.GetWorldEntity())\n"),
                  "");
        auto* tree = static_cast<StaticObject*>(EntTreeFindName(app.GetWorld(), "Tree299"));
        ASSERT_NE(tree, nullptr);
        ASSERT_NE(tree->instance, nullptr) << "Tree.md3 from the game's data folder";
        EXPECT_EQ(tree->instance->refCount, 300);
        for (int frame = 0; frame < 60; ++frame)
            Frame();
        app.ClearScene();
        EXPECT_EQ(*Mdl3ExList(), nullptr) << "every tree gave its model back";
    }
}

} // namespace
