// The Game library against a fake application, and the constants it publishes.
#include "engine/Script/ScriptConstants.h"
#include "engine/Script/ScriptLibs.h"
#include "tests/engine/Script/ScriptEntityTestSupport.h"

#include <set>
#include <sstream>
#include <string>
#include <vector>

using ScriptGame = ScriptEntityTest;

TEST_F(ScriptGame, ShutdownRaisesTheQuitFlag) {
    Run("g.lua", "Game.Shutdown()");
    EXPECT_EQ(host.quits, 1);
}

TEST_F(ScriptGame, DataPathLosesAnyAppendedFileName) {
    host.dataFile = "/opt/fairlark/Data/Startup.lua";
    Run("p.lua", "a = Game.GetDataPath()");
    EXPECT_EQ(Text("a"), "/opt/fairlark/Data/");
    host.dataFile = "C:\\Game\\Data\\";
    Run("q.lua", "b = Game.GetDataPath()");
    EXPECT_EQ(Text("b"), "C:\\Game\\Data\\");
}

// The game-function ids as the scripts were written against them: 102 distinct GFN_ names.
TEST_F(ScriptGame, ConstantsMatchTheScriptsNumbers) {
    const char* list =
        "NULL 1000 PSTICK 1001 PTHROTTLE 1002 THRT_UP 1003 THRT_DN 1005 "
        "STRAFE_LEFT 1007 STRAFE_RIGHT 1009 BURNER 1011 FIRE 1013 FIREPRI 1089 "
        "FIRESEC 1091 VIEWTGL 1045 VIEWCOCKPIT 1051 VIEWEXTERNAL 1053 VIEWFLYBY 1057 "
        "CONSOLE 1178 QUICKEXIT 1083 WIREFRAME 1023 JUMP 1166 CROUCH 1168 "
        "PLAYERTOOBSERVER 1172 VIEWPLAYER1 1148 VIEWOBSERVER 1174 CLEARSCREEN 1176 "
        "DRAWBOXES 1142 DRAWSHADOWS 1146 TOGGLEDEVMODE 1118 TOGGLEDEVINFO 1049 "
        "DRAWMODELS 1180 DRAWWATER 1041 DRAWTERRAIN 1029 DRAWENTDEV 1102 FISHCAM 1186 "
        "ARROWCAM 1188 KEYFRAMECAM 1190 TRACK_LEFT 1192 TRACK_RIGHT 1194 "
        "DUMPFRAMES 1196 TOGGLETEST 1095 DRAWGRASS 1182 DRAWFISH 1184 "
        "TOGGLEMOUSEMODE 1198 TIMENORMAL 1200 TIMEX2 1202 TIMEX4 1204 TIMEDIV2 1206 "
        "TIMEDIV4 1208 DRAWHUD 1108 INVENTORYINC 1230 INVENTORYDEC 1232 "
        "INVENTORYDROP 1234 INVENTORYUSE 1236 ROAR 1238 BITE 1240 INCDETAIL 1242 "
        "DECDETAIL 1244 RIGHTSWIPE 1246 GIVEWEAPONS 1292 BINOCULARS 1294 COMPASS 1298 "
        "TOGGLEHELP 1120 LIGHT 1296 CODE 1300 MAP 1302 KNIFE 1306 BOW 1304 "
        "CAMDISTANCE 1308 SHOWZONES 1310 IGNOREZONES 1312 BUILDSHADOWMAP 1314 "
        "INCVISDIST 1316 DECVISDIST 1318";
    std::vector<std::pair<std::string, int>> expected = {
        {"SL_MENUSELECT", 48}, {"GE_WORLDLOADED", 27}, {"TRUE", 1}, {"FALSE", 0}};
    std::istringstream words(list);
    std::string name;
    int value = 0;
    while (words >> name >> value)
        expected.push_back({"GFN_" + name, value});
    for (int i = 0; i < 10; ++i)
        expected.push_back({"GFN_SELECTTOOL" + std::to_string(i), 1210 + 2 * i});
    for (int i = 0; i < 20; ++i)
        expected.push_back({"GFN_RUNSCRIPT" + std::to_string(i), 1252 + 2 * i});
    std::set<std::string> gfn;
    for (auto& [key, number] : expected) {
        EXPECT_EQ(Number(key.c_str()), number) << key;
        if (key.rfind("GFN_", 0) == 0) gfn.insert(key);
    }
    EXPECT_EQ(gfn.size(), 102u);
    std::set<std::string> published;
    for (int i = 0; i < g_scriptGameConstantCount; ++i)
        if (std::string(g_scriptGameConstants[i].name).rfind("GFN_", 0) == 0)
            published.insert(g_scriptGameConstants[i].name);
    EXPECT_EQ(published, gfn) << "no GFN_ name beyond the scripts' own may be published";
    EXPECT_EQ(Exec("assert(tostring(GFN_NULL) == '1000')"), "") << "ids are integers to scripts";
}
