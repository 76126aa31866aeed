// The Game library against a fake application, and the constants it publishes.
#include "engine/ScriptConstants.h"
#include "engine/ScriptGameHost.h"
#include "engine/ScriptLibs.h"
#include "tests/engine/ScriptTestSupport.h"

#include <lua.hpp>

#include <set>
#include <string>
#include <vector>

namespace {
struct FakeHost : ScriptGameHost {
    void Quit() override { ++quits; }
    void BuildRootTree() override { ++builds; }
    ENTBASE* GetRoot() override { return root; }
    ENTBASE* GetViewports() override { return viewports; }
    ENTBASE* GetWorld() override { return world; }
    ENTBASE* GetMenus() override { return menus; }
    const char* GetDataFolder() override { return dataFolder.c_str(); }
    void SetKeyboardEntity(ENTBASE* entity) override { keyboard = entity; }
    void LoadEntitiesIni(const char* path) override { loaded.push_back(path); }

    int quits = 0, builds = 0;
    ENTBASE *root = nullptr, *viewports = nullptr, *world = nullptr, *menus = nullptr;
    ENTBASE* keyboard = nullptr;
    std::string dataFolder = "/opt/fairlark/Data/Startup.lua";
    std::vector<std::string> loaded;
};

class ScriptGame : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        LuaOpenGameLib(ScriptMgrGet()->L, &host);
    }
    FakeHost host;
};
} // namespace

TEST_F(ScriptGame, ShutdownTreeAndLoadsReachTheHost) {
    Run("g.lua", "Game.CreateEntityTree() Game.LoadEntitiesIni('Test.ini') Game.Shutdown()");
    EXPECT_EQ(host.builds, 1);
    EXPECT_EQ(host.quits, 1);
    ASSERT_EQ(host.loaded.size(), 1u);
    EXPECT_EQ(host.loaded[0], "Test.ini");
}

TEST_F(ScriptGame, DataPathLosesAnyAppendedFileName) {
    Run("p.lua", "a = Game.GetDataPath()");
    EXPECT_EQ(Text("a"), "/opt/fairlark/Data/");
    host.dataFolder = "C:\\Game\\Data\\";
    Run("q.lua", "b = Game.GetDataPath()");
    EXPECT_EQ(Text("b"), "C:\\Game\\Data\\");
}

TEST_F(ScriptGame, AnOpenedLibraryWithoutAHostDoesNothing) {
    LuaOpenGameLib(ScriptMgrGet()->L, nullptr);
    Run("n.lua", "Game.Shutdown() Game.CreateEntityTree() r = Game.GetRootEntity() "
                 "p = Game.GetDataPath() ok = 1");
    EXPECT_EQ(Number("ok"), 1);
    EXPECT_EQ(host.quits, 0);
}

// The game-function ids as the scripts were written against them: 102 distinct GFN_ names.
TEST_F(ScriptGame, ConstantsMatchTheScriptsNumbers) {
    std::vector<std::pair<std::string, int>> expected = {{"GFN_NULL", 1000},
                                                         {"GFN_PSTICK", 1001},
                                                         {"GFN_PTHROTTLE", 1002},
                                                         {"GFN_THRT_UP", 1003},
                                                         {"GFN_THRT_DN", 1005},
                                                         {"GFN_STRAFE_LEFT", 1007},
                                                         {"GFN_STRAFE_RIGHT", 1009},
                                                         {"GFN_BURNER", 1011},
                                                         {"GFN_FIRE", 1013},
                                                         {"GFN_FIREPRI", 1089},
                                                         {"GFN_FIRESEC", 1091},
                                                         {"GFN_VIEWTGL", 1045},
                                                         {"GFN_VIEWCOCKPIT", 1051},
                                                         {"GFN_VIEWEXTERNAL", 1053},
                                                         {"GFN_VIEWFLYBY", 1057},
                                                         {"GFN_CONSOLE", 1178},
                                                         {"GFN_QUICKEXIT", 1083},
                                                         {"GFN_WIREFRAME", 1023},
                                                         {"GFN_JUMP", 1166},
                                                         {"GFN_CROUCH", 1168},
                                                         {"GFN_PLAYERTOOBSERVER", 1172},
                                                         {"GFN_VIEWPLAYER1", 1148},
                                                         {"GFN_VIEWOBSERVER", 1174},
                                                         {"GFN_CLEARSCREEN", 1176},
                                                         {"GFN_DRAWBOXES", 1142},
                                                         {"GFN_DRAWSHADOWS", 1146},
                                                         {"GFN_TOGGLEDEVMODE", 1118},
                                                         {"GFN_TOGGLEDEVINFO", 1049},
                                                         {"GFN_DRAWMODELS", 1180},
                                                         {"GFN_DRAWWATER", 1041},
                                                         {"GFN_DRAWTERRAIN", 1029},
                                                         {"GFN_DRAWENTDEV", 1102},
                                                         {"GFN_FISHCAM", 1186},
                                                         {"GFN_ARROWCAM", 1188},
                                                         {"GFN_KEYFRAMECAM", 1190},
                                                         {"GFN_TRACK_LEFT", 1192},
                                                         {"GFN_TRACK_RIGHT", 1194},
                                                         {"GFN_DUMPFRAMES", 1196},
                                                         {"GFN_TOGGLETEST", 1095},
                                                         {"GFN_DRAWGRASS", 1182},
                                                         {"GFN_DRAWFISH", 1184},
                                                         {"GFN_TOGGLEMOUSEMODE", 1198},
                                                         {"GFN_TIMENORMAL", 1200},
                                                         {"GFN_TIMEX2", 1202},
                                                         {"GFN_TIMEX4", 1204},
                                                         {"GFN_TIMEDIV2", 1206},
                                                         {"GFN_TIMEDIV4", 1208},
                                                         {"GFN_DRAWHUD", 1108},
                                                         {"GFN_INVENTORYINC", 1230},
                                                         {"GFN_INVENTORYDEC", 1232},
                                                         {"GFN_INVENTORYDROP", 1234},
                                                         {"GFN_INVENTORYUSE", 1236},
                                                         {"GFN_ROAR", 1238},
                                                         {"GFN_BITE", 1240},
                                                         {"GFN_INCDETAIL", 1242},
                                                         {"GFN_DECDETAIL", 1244},
                                                         {"GFN_RIGHTSWIPE", 1246},
                                                         {"GFN_GIVEWEAPONS", 1292},
                                                         {"GFN_BINOCULARS", 1294},
                                                         {"GFN_COMPASS", 1298},
                                                         {"GFN_TOGGLEHELP", 1120},
                                                         {"GFN_LIGHT", 1296},
                                                         {"GFN_CODE", 1300},
                                                         {"GFN_MAP", 1302},
                                                         {"GFN_KNIFE", 1306},
                                                         {"GFN_BOW", 1304},
                                                         {"GFN_CAMDISTANCE", 1308},
                                                         {"GFN_SHOWZONES", 1310},
                                                         {"GFN_IGNOREZONES", 1312},
                                                         {"GFN_BUILDSHADOWMAP", 1314},
                                                         {"GFN_INCVISDIST", 1316},
                                                         {"GFN_DECVISDIST", 1318},
                                                         {"SL_MENUSELECT", 48},
                                                         {"GE_WORLDLOADED", 27},
                                                         {"TRUE", 1},
                                                         {"FALSE", 0}};
    for (int i = 0; i < 10; ++i)
        expected.push_back({"GFN_SELECTTOOL" + std::to_string(i), 1210 + 2 * i});
    for (int i = 0; i < 20; ++i)
        expected.push_back({"GFN_RUNSCRIPT" + std::to_string(i), 1252 + 2 * i});
    std::set<std::string> gfn;
    for (auto& [name, value] : expected) {
        EXPECT_EQ(Number(name.c_str()), value) << name;
        if (name.rfind("GFN_", 0) == 0) gfn.insert(name);
    }
    EXPECT_EQ(gfn.size(), 102u);
    std::set<std::string> published;
    for (int i = 0; i < g_scriptGameConstantCount; ++i)
        if (std::string(g_scriptGameConstants[i].name).rfind("GFN_", 0) == 0)
            published.insert(g_scriptGameConstants[i].name);
    EXPECT_EQ(published, gfn) << "no GFN_ name beyond the scripts' own may be published";
    EXPECT_EQ(Exec("assert(tostring(GFN_NULL) == '1000')"), "") << "ids are integers to scripts";
}
