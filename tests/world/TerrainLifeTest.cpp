// The terrain's life: made by a script with no load, found and forgotten through the 3D base's
// accessor, made and destroyed again and again, and loaded end to end by a script through the
// real entity-ini loader from a map named as the data names it, relative to the program.
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/System.h"
#include "tests/world/TerrainFixture.h"
#include "tests/world/WorldScriptHost.h"

#include <lua.hpp>

namespace {

class TerrainLifeTest : public TerrainFixture {
  protected:
    void SetUp() override {
        TerrainFixture::SetUp();
        host.dataFolder = dir.Path();
        host.BuildRootTree();
        lua_State* L = ScriptMgrGet()->L;
        LuaOpenEntityLib(L);
        LuaOpenGameLib(L, &host);
        probe = Make<Probe>("Probe", host.world, "Asker");
    }
    void TearDown() override {
        ScriptMgrDestroy();
        EntDestroyTree(host.root);
        Ent3dForgetTerrain();
        TerrainFixture::TearDown();
    }
    std::string Exec(const std::string& code) {
        lua_State* L = ScriptMgrGet()->L;
        if (luaL_dostring(L, code.c_str()) == LUA_OK) return "";
        std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
        lua_pop(L, 1);
        return message;
    }
    Terrain2* Found() { return static_cast<Terrain2*>(Ent3dGetTerrain(probe)); }

    WorldHost host;
    Probe* probe = nullptr;
};

TEST_F(TerrainLifeTest, ScriptMadeTerrainIsFlatAndFoundWhileItLives) {
    ASSERT_EQ(Exec("t = Entity.Create('Terrain2', Game.GetWorldEntity())\n"
                   "Entity.SetString(t, 'name', 'Terrain')\n"
                   "Entity.Start(t)\n"),
              "");
    Terrain2* t = Found();
    ASSERT_NE(t, nullptr) << "the accessor did not find the script's terrain";
    ASSERT_NE(t->terrain, nullptr) << "a terrain started without a load has no grid";
    EXPECT_TRUE(t->TestFlag(ENT_FLAG_PASSABLE));
    EXPECT_FLOAT_EQ(HeightAt(t, 100.0f, 300.0f), 28.0f);
    EXPECT_FLOAT_EQ(HeightAt(t, 511.5f, 0.0f), 28.0f);
    EXPECT_NE(t->physics, nullptr);

    ASSERT_EQ(Exec("Entity.Destroy(t)"), "");
    EXPECT_EQ(Found(), nullptr) << "the accessor kept a destroyed terrain";
    EXPECT_EQ(PhysWorldGet(), nullptr) << "the last terrain gone, the world must go";

    auto* again = Make<Terrain2>("Terrain2", host.world, "Other");
    again->Start();
    EXPECT_EQ(Found(), nullptr) << "only the entity named \"Terrain\" is the ground";
    again->SetName("Terrain");
    EXPECT_EQ(Found(), again);
}

TEST_F(TerrainLifeTest, TerrainsComeAndGoWithoutLeaks) {
    for (int i = 0; i < 10; ++i) {
        auto* t = Make<Terrain2>("Terrain2", host.world, "Terrain");
        t->tileWidth = t->tileHeight = 64;
        t->Start();
        t->VarsChanged();
        ASSERT_EQ(Found(), t);
        ASSERT_EQ(PhysWorldGet()->space ? dSpaceGetNumGeoms(PhysWorldGet()->space) : -1, 1)
            << "a rebuild left its old field in the space";
        EntDestroyTree(t);
        ASSERT_EQ(Found(), nullptr);
    }
}

// The data names its map Windows-style: "\" separators, any case, relative to the program.
TEST_F(TerrainLifeTest, ScriptLoadsATerrainFromAnEntityFile) {
    SysInit(nullptr, nullptr);
    WriteTextFile(dir / "Venue.ini", "[Entities]\nTerrain Terrain2 World\n"
                                     "[Terrain]\nmapName=..\\dATA\\terrains\\RIDGE\n"
                                     "tileWidth=64\ntileHeight=64\nelvScale=0.5\nscale=2.0\n");
    ASSERT_EQ(Exec("Game.LoadEntitiesIni('Venue.ini')"), "");
    EXPECT_EQ(LogCount("INFO: Created entity [Terrain] of class Terrain2]."), 1) << LogText();
    Terrain2* t = Found();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(LogCount("not loaded"), 0) << "the generated map was not found: " << LogText();
    // The map is the plane grey = 2x + z over samples; heights are grey x 0.5 x 2 at world
    // (2x, 2z).
    for (auto [x, z] : {std::pair{10.0f, 20.0f}, {3.5f, 100.25f}, {127.0f, 0.5f}})
        EXPECT_NEAR(HeightAt(t, x, z), (2.0f * (x / 2) + z / 2) * 0.5f * 2.0f, 1e-4)
            << "at " << x << ", " << z;
}

} // namespace
