// The engine's test board end to end on OpenGL (llvmpipe, offscreen): a script registers the
// published classes and loads the test-board world from the tests' data; then 20 simulated
// seconds run with an SDL virtual pad driving the avatar. The block completes a cycle and loses
// a layer, two tiles are marked with a marker each, and the chase camera keeps up.
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "tests/engine/Input/SlFixture.h"
#include "tests/world/CamerasFixture.h"
#include "tests/world/WorldScriptHost.h"
#include "world/Avatar1.h"
#include "world/Cube1.h"
#include "world/EntClear.h"
#include "world/EntViewport.h"
#include "world/Marker1.h"
#include "world/WptFollower.h"

#include <GL/gl.h>
#include <lua.hpp>

#include <cmath>
#include <string>

namespace {

constexpr int kSide = 96;
constexpr float kStep = 1.0f / 30.0f;

class TestBoardEndToEnd : public CamerasTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER), 0)
            << SDL_GetError();
        SlStart(20, 1);
        KernelTest::SetUp(); // the script registers the classes itself
        StartGl();
        CreateOffscreen(kSide, kSide);
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
        CreateCurrentPair();
        D3dSetAmbient(1, 1, 1);
        RegisterWorldTestClasses();
        host.dataFolder = FAIRLARK_SOURCE_DIR "/tests/data/world/";
        host.BuildRootTree();
        root = host.root;
        world = host.world;
        lua_State* L = ScriptMgrGet()->L;
        LuaOpenEntityLib(L);
        LuaOpenGameLib(L, &host);
        LuaPublishClassProc(EcViewportProc, "EcViewport");
        LuaPublishClassProc(EcPlayfield1Proc, "EcPlayfield1");
        LuaPublishClassProc(EcCameraAvatar1Proc, "EcCameraAvatar1");
        LuaPublishClassProc(EcCameraWaypointProc, "EcCameraWaypoint");
        LuaPublishClassProc(EcCube1Proc, "EcCube1");
        LuaPublishClassProc(EcAvatar1Proc, "EcAvatar1");
        LuaPublishClassProc(EcMarker1Proc, "EcMarker1");
        LuaPublishClassProc(EcClearProc, "EcClear");
        LuaPublishClassProc(EcWptFollowerProc, "EcWptFollower");
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the drawing left a GL error";
        ScriptMgrDestroy();
        CamerasTest::TearDown();
        I3dTexTableFree();
        SlStop();
        SDL_Quit();
    }
    std::string Exec(const std::string& code) {
        lua_State* L = ScriptMgrGet()->L;
        if (luaL_dostring(L, code.c_str()) == LUA_OK) return "";
        std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
        lua_pop(L, 1);
        return message;
    }
    // One frame as the game runs it: the pads, the tree's update, and (every few frames, to
    // keep llvmpipe's share small) the draw.
    void Frame(int n) {
        SlPadPoll();
        EntTreeUpdate(root, kStep);
        if (n % 10 != 0) return;
        ASSERT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(host.viewports);
        D3dEndScene();
    }

    WorldHost host;
};

TEST_F(TestBoardEndToEnd, TwentySecondsOfPlayWithAVirtualPad) {
    ASSERT_EQ(Exec("for _, c in ipairs({EcViewport, EcPlayfield1, EcCameraAvatar1, "
                   "EcCameraWaypoint, EcCube1, EcAvatar1, EcMarker1, EcClear, EcWptFollower}) "
                   "do Entity.CreateClass(c, nil, 0) end\n"
                   "Game.LoadEntitiesIni('TestBoard.ini')\n"
                   "local world = Game.GetWorldEntity()\n"
                   "local v = Entity.FindName(Game.GetViewportEntity(), 'Main')\n"
                   "local chase = Entity.FindName(world, 'Chase')\n"
                   "Entity.SetVoid(chase, 'entPlayer', Entity.FindName(world, 'Player1'))\n"
                   "Entity.SetVoid(chase, 'entCube', Entity.FindName(world, 'Cube'))\n"
                   "Entity.SetVoid(v, 'entDrawRoot', world)\n"
                   "Entity.SetVoid(v, 'entCamera', chase)\n"),
              "")
        << LogText();
    auto* cube = static_cast<Cube1*>(EntTreeFindName(world, "Cube"));
    auto* avatar = static_cast<Avatar1*>(EntTreeFindName(world, "Player1"));
    auto* chase = static_cast<CameraAvatar1*>(EntTreeFindName(world, "Chase"));
    auto* flyer = static_cast<WptFollower*>(EntTreeFindName(world, "Flyer"));
    auto* field = static_cast<Playfield1*>(EntTreeFindName(world, "Playfield"));
    ENTBASE* markers = EntTreeFindName(world, "Markers");
    ASSERT_TRUE(cube && avatar && chase && flyer && field && markers) << LogText();
    ASSERT_NE(cube->cells, nullptr);
    const int layers = cube->cells->extX + cube->cells->extY + cube->cells->extZ;
    EXPECT_EQ(avatar->face, 2) << "the avatar starts east of the block";

    VirtualPad pad = VirtualPad::Controller();
    EXPECT_EQ(avatar->pad, -1);
    ASSERT_EQ(Exec("Entity.BindGamepad(Entity.FindName(Game.GetWorldEntity(), 'Player1'), 0)"), "");
    EXPECT_EQ(avatar->pad, 0) << "the script's pad binding must reach the avatar";
    int cycles = 0, lastState = cube->state;
    float worstLag = 0.0f;
    for (int n = 0; n < 600; ++n) {
        const float t = (float)n * kStep;
        pad.Button(SDL_CONTROLLER_BUTTON_A, (n == 30 || n == 100));
        pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, (n >= 60 && n < 66) ? 32767 : 0);
        Frame(n);
        if (lastState == CUBE1_SINKING && cube->state == CUBE1_WAITING) ++cycles;
        lastState = cube->state;
        if (t > 2.0f) {
            const VECTOR3 e = chase->eyeSmooth.value, g = chase->eyeGoal;
            worstLag =
                std::max(worstLag, std::sqrt((e.x - g.x) * (e.x - g.x) + (e.y - g.y) * (e.y - g.y) +
                                             (e.z - g.z) * (e.z - g.z)));
        }
    }
    EXPECT_GE(cycles, 1) << "the block waits, appears, rolls and sinks within 20 seconds";
    EXPECT_LT(cube->cells->extX + cube->cells->extY + cube->cells->extZ, layers);
    int marked = 0;
    for (int i = 0; i < field->dimX * field->dimY; ++i)
        marked += field->cells[i] & 1;
    EXPECT_EQ(marked, 2) << "A pressed on two tiles";
    ENTBASE* found[4];
    EXPECT_EQ(EntFindAllOfType(markers, "Marker1", found, 4), 2);
    EXPECT_LT(worstLag, 10.0f) << "the chase camera's eye fell behind its goal";
    EXPECT_EQ(flyer->valid, 1);
    EXPECT_TRUE(std::isfinite(flyer->pos.x));
}

} // namespace
