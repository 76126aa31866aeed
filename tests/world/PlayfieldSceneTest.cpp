// The test board and the placed cameras end to end on OpenGL (llvmpipe, offscreen): a script
// registers the published classes, loads a world file of a board, a camera above it and a path
// of points through the real entity loader, and points the viewport at the camera; the board
// draws with the file's values held to their limits, and the path's links and times are as the
// file and the start rules give them.
#include "I3d/Frustum.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "tests/support/PixelChannels.h"
#include "tests/world/CamerasFixture.h"
#include "tests/world/WorldScriptHost.h"
#include "world/EntViewport.h"

#include <GL/gl.h>
#include <lua.hpp>

#include <cmath>
#include <string>

namespace {

constexpr int kSide = 128;

class PlayfieldScene : public CamerasTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp(); // the script registers the classes itself
        StartGl();
        CreateOffscreen(kSide, kSide);
        ASSERT_EQ(I3dTexTableAlloc(32), 0);
        CreateCurrentPair();
        D3dSetAmbient(1, 1, 1);
        RegisterWorldTestClasses();
        host.dataFolder = scratch.Path();
        host.BuildRootTree();
        root = host.root;
        world = host.world;
        lua_State* L = ScriptMgrGet()->L;
        LuaOpenEntityLib(L);
        LuaOpenGameLib(L, &host);
        LuaPublishClassProc(EcViewportProc, "EcViewport");
        LuaPublishClassProc(EcPlayfield1Proc, "EcPlayfield1");
        LuaPublishClassProc(EcCameraFixedProc, "EcCameraFixed");
        LuaPublishClassProc(EcCameraWaypointProc, "EcCameraWaypoint");
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the drawing left a GL error";
        ScriptMgrDestroy();
        CamerasTest::TearDown();
        I3dTexTableFree();
    }
    std::string Exec(const std::string& code) {
        lua_State* L = ScriptMgrGet()->L;
        if (luaL_dostring(L, code.c_str()) == LUA_OK) return "";
        std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
        lua_pop(L, 1);
        return message;
    }

    TempDir scratch;
    WorldHost host;
};

TEST_F(PlayfieldScene, AScriptedBoardDrawsThroughItsCameraAndThePathLinksUp) {
    WriteTextFile(scratch / "Board.ini", "[Entities]\n"
                                         "Board Playfield1 World\n"
                                         "Above CameraFixed World\n"
                                         "P0 CameraWaypoint World\n"
                                         "P1 CameraWaypoint World\n"
                                         "P2 CameraWaypoint World\n"
                                         "P3 CameraWaypoint World\n"
                                         "Main Viewport Viewport\n"
                                         "[Board]\npos.x=100\npos.z=100\ntileSize=10\n"
                                         "dim.x=300\ndim.y=2\n"
                                         "[Above]\npos.x=100\npos.y=30\npos.z=100\n"
                                         "pitch=1.5707963\nfov=1.0\n"
                                         "[P0]\nx=0\nnext=P1\nspeed=5\n"
                                         "[P1]\nx=10\nnext=P2\nprev=P0\nspeed=5\ntransTime=0\n"
                                         "[P2]\nx=20\nnext=P3\nprev=P1\nfov=2\n"
                                         "[P3]\nx=30\nprev=P2\nfov=9\n");
    ASSERT_EQ(Exec("for _, c in ipairs({EcViewport, EcPlayfield1, EcCameraFixed, "
                   "EcCameraWaypoint}) do Entity.CreateClass(c, nil, 0) end\n"
                   "Game.LoadEntitiesIni('Board.ini')\n"
                   "local world = Game.GetWorldEntity()\n"
                   "local v = Entity.FindName(Game.GetViewportEntity(), 'Main')\n"
                   "Entity.SetVoid(v, 'entDrawRoot', world)\n"
                   "Entity.SetVoid(v, 'entCamera', Entity.FindName(world, 'Above'))\n"
                   "Entity.SetBool(v, 'clear', 1)\n"),
              "")
        << LogText();
    auto* board = static_cast<Playfield1*>(EntTreeFindName(world, "Board"));
    ASSERT_NE(board, nullptr) << LogText();
    EXPECT_EQ(board->dimX, 256) << "300 is held to the largest side";
    EXPECT_EQ(board->dimY, 2);

    ASSERT_EQ(D3dBeginScene(), 0);
    EntTreeDrawPre(host.viewports);
    D3dEndScene();
    // The middle of the screen looks straight down on the board's centre: a tile's edge of
    // two 2-row tiles meets there, so look a quarter tile off it.
    Mat4 identity;
    I3dSetWorld(Mat4Identity(&identity));
    const VECTOR3 onTile = {102.5f, 0.0f, 102.5f};
    float s[3];
    I3dProjectPoint(&onTile, s);
    const uint32_t c = D3dReadPixel(int((s[0] + 1) * 0.5f * kSide), int((1 - s[1]) * 0.5f * kSide));
    EXPECT_EQ(Red(c), 0x40) << std::hex << c;
    EXPECT_EQ(Green(c), 0x60);
    EXPECT_EQ(Blue(c), 0x40);

    auto* p1 = static_cast<CameraWaypoint*>(EntTreeFindName(world, "P1"));
    ASSERT_NE(p1, nullptr);
    EXPECT_EQ(p1->transTime, 1.0f) << "0 in the file counts as unset";
    EXPECT_NE(p1->Prev(), nullptr);
    EXPECT_NE(p1->NextNext(), nullptr);
    EXPECT_EQ(CameraWaypointCalcTransTime(p1), 0);
    EXPECT_NEAR(p1->transTime, 2.0f, 0.02f);
    auto* p3 = static_cast<CameraWaypoint*>(EntTreeFindName(world, "P3"));
    EXPECT_EQ(p3->fov, 1.04718f) << "a field of view past pi is the default";
    EXPECT_EQ(static_cast<CameraWaypoint*>(EntTreeFindName(world, "P2"))->fov, 2.0f);
}

} // namespace
