// The sky and the environment from end to end on OpenGL (llvmpipe through EGL, offscreen): a
// script loads a world file through the real entity-ini loader (an environment with fog from 300
// to 1400, a sky dome, a flat ground and a light to look through), puts a viewport on it with
// the light as its camera, and the frame read back shows the sky's gradient above the horizon
// and the ground fading into the fog by the linear rule on eye depth.
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "engine/EntIniLoader.h"
#include "engine/IniFile.h"
#include "engine/PropDb.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/WorldClass.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldScriptHost.h"
#include "tests/world/WorldTestClasses.h"

#include <lua.hpp>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

constexpr int kW = 256, kH = 192;
constexpr float kEyeHeight = 300.0f;

// Class "FlatGround": the plane y = 0 in a grey of 128, unlit, under the fog in force; it lies
// ahead of an eye at the origin looking along +z (GL fogs by each vertex's unsigned eye depth,
// so a triangle reaching behind the eye would be fogged as if it lay far ahead).
class FlatGround : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override { return WorldCopyClassName("FlatGround", buffer); }
    int DrawPre() override {
        Mat4 world = {};
        world.m[0] = 1.0f; // quad x -> x
        world.m[6] = 1.0f; // quad y -> z
        world.m[9] = 1.0f; // quad z -> y
        world.m[15] = 1.0f;
        I3dSetWorld(&world);
        D3dSetLighting(0);
        D3dSetCullMode(D3DCULL_NONE);
        D3dSetZFunc(D3DCMP_LESSEQUAL);
        D3dSetZWrite(1);
        D3dSetAlphaBlend(0);
        D3dSetFactorStages();
        D3dSetTextureFactor(0xFF808080u);
        I3dDrawQuad(-5000.0f, 1.0f, 5000.0f, 5000.0f, 0.0f);
        return 1;
    }
};
PropDb* GroundDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "FlatGround");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(FlatGround, name), 32);
    }
    return &s_db;
}
const WorldClassDef kGround = {"FlatGround", GroundDb, WorldMake<FlatGround>, nullptr};
intptr_t GroundProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kGround, node, message, a, b, c);
}

class SkySceneTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        CreateOffscreen(kW, kH);
        CreateCurrentPair();
        RegisterWorldTestClasses();
        EntCreateClass(GroundProc, 0, 0);
        host.dataFolder = dir.Path();
        host.BuildRootTree();
        lua_State* L = ScriptMgrGet()->L;
        LuaOpenEntityLib(L);
        LuaOpenGameLib(L, &host);
    }
    void TearDown() override {
        ScriptMgrDestroy();
        EntDestroyTree(host.root);
        EntSystemShutdown();
        IniClose();
        KernelTest::TearDown();
    }
    std::string Exec(const std::string& code) {
        lua_State* L = ScriptMgrGet()->L;
        if (luaL_dostring(L, code.c_str()) == LUA_OK) return "";
        std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
        lua_pop(L, 1);
        return message;
    }
    static int Channel(uint32_t c, int shift) { return int((c >> shift) & 0xFF); }

    WorldHost host;
    TempDir dir;
};

TEST_F(SkySceneTest, ScriptLoadedWorldShowsTheSkyGradientAndTheGroundFadingIntoFog) {
    WriteTextFile(dir / "World.ini",
                  "[Entities]\n"
                  "Environment Environment World\n"
                  "SkyDome SkyDome World\n"
                  "Ground FlatGround World\n"
                  "Eye Light World\n"
                  "[Environment]\n"
                  "ambient.r=1.0\nambient.g=1.0\nambient.b=1.0\n"
                  "fogEnable=TRUE\nfogStart=300\nfogEnd=1400\n"
                  "fogClr.r=1.0\nfogClr.g=1.0\nfogClr.b=1.0\n"
                  "uwFogElv=-100\n"
                  "[SkyDome]\n"
                  "sunAzimuth=3.141593\nsunElevation=0.5\n" // the highlight behind the eye
                  "yOffset=80\n"
                  "[Eye]\n"
                  "type=0\nrange=1000\npos.x=0\npos.y=300\npos.z=0\n");
    ASSERT_EQ(Exec("Game.LoadEntitiesIni('World.ini')\n"
                   "local root = Game.GetRootEntity()\n"
                   "local eye = Entity.FindName(root, 'Eye')\n"
                   // The dome's centre (yOffset below its position) at the eye.
                   "Entity.SetPos(Entity.FindName(root, 'SkyDome'), 0, 380, 0)\n"
                   "local view = Entity.Create('Viewport', Game.GetViewportEntity())\n"
                   "Entity.SetString(view, 'name', 'Main')\n"
                   "Entity.SetVoid(view, 'entDrawRoot', Game.GetWorldEntity())\n"
                   "Entity.SetVoid(view, 'entCamera', eye)\n"
                   "Entity.SetBool(view, 'clear', 1)\n"),
              "");
    IniClose();
    ASSERT_EQ(D3dBeginScene(), 0);
    EntTreeDrawPre(host.viewports);
    D3dEndScene();

    VECTOR3 eye;
    I3dGetEyePos(&eye);
    ASSERT_EQ(eye.y, kEyeHeight) << "the light is not the camera";

    // The sky: 45 degrees up at the top row is the zenith ring; just above the centre row the
    // view runs a degree or two over the horizon ring.
    const uint32_t zenith = 0xFF223B7Bu, horizon = 0xFFAEC3DEu;
    const uint32_t top = D3dReadPixel(kW / 2, 1), low = D3dReadPixel(kW / 2, kH / 2 - 2);
    for (int s : {16, 8, 0}) {
        EXPECT_NEAR(Channel(top, s), Channel(zenith, s), 6) << std::hex << top;
        EXPECT_NEAR(Channel(low, s), Channel(horizon, s), 8) << std::hex << low;
    }

    // The ground k rows below the centre lies at eye depth h x (H / 2) / k (a 90-degree view),
    // and fades from grey 128 to the white fog linearly between 300 and 1400.
    for (int k : {64, 48, 32}) {
        const float depth = kEyeHeight * (kH / 2.0f) / float(k);
        const float f = std::clamp((1400.0f - depth) / 1100.0f, 0.0f, 1.0f);
        const int want = int(f * 128.0f + (1.0f - f) * 255.0f + 0.5f);
        const uint32_t px = D3dReadPixel(kW / 2, kH / 2 + k);
        for (int s : {16, 8, 0})
            EXPECT_NEAR(Channel(px, s), want, 3) << "at depth " << depth << ": " << std::hex << px;
    }
}

} // namespace
