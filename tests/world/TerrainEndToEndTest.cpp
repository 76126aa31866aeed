// The terrain end to end on OpenGL (llvmpipe, offscreen): a script loads a venue's entity list
// through the real script libraries and the entity loader, with a terrain of a generated height
// map and tile, a test camera and a viewport; one frame is drawn, the patch LOD overlay is asked
// for once by message, and the picture, the overlay and a pick through the screen centre are
// checked against where the map, the tile and the camera put things.
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Pick.h"
#include "I3d/Textures.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "tests/I3d/TexFiles.h"
#include "tests/world/TerrainFixture.h"
#include "tests/world/WorldScriptHost.h"

#include <lua.hpp>

#include <cmath>
#include <cstdlib>
#include <set>

namespace {

constexpr int kW = 320, kH = 240;

// The tile's 4 x 4 squares of 32 texels, one a patch; square (i, j) is i along u, j along v.
uint32_t SquareColour(int i, int j) {
    return uint32_t(0x30 + 0x30 * i) << 16 | uint32_t(0x20 + 0x40 * j) << 8 |
           uint32_t(0x80 ^ (i * 0x10 + j * 0x20));
}
// Painted over texels 80..95 both ways, that is over cells 80..95: the top of the plateau.
constexpr uint32_t kMarker = 0xE01010;
constexpr int kPlateauLo = 80, kPlateauHi = 96; // samples; grey 25 between them
constexpr float kScale = 4.0f, kTop = 25.0f * kScale;

bool Near(uint32_t a, uint32_t b) {
    for (int s = 0; s < 24; s += 8)
        if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > 3) return false;
    return true;
}

class TerrainEndToEnd : public TerrainFixture {
  protected:
    void SetUp() override {
        TerrainFixture::SetUp();
        StartGl();
        CreateOffscreen(kW, kH);
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        CreateCurrentPair();
        host.dataFolder = dir.Path();
        host.BuildRootTree();
        lua_State* L = ScriptMgrGet()->L;
        LuaOpenEntityLib(L);
        LuaOpenGameLib(L, &host);
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
    // The screen pixel of a world point under the view and projection the frame was drawn with.
    static bool Pixel(VECTOR3 p, int* sx, int* sy) {
        float s[3];
        I3dProjectPoint(&p, s);
        *sx = int(std::lround((s[0] + 1) * kW / 2));
        *sy = int(std::lround((1 - s[1]) * kH / 2));
        return *sx >= 2 && *sx < kW - 2 && *sy >= 2 && *sy < kH - 2;
    }

    WorldHost host;
};

TEST_F(TerrainEndToEnd, AScriptLoadedVenueIsDrawnOverlaidAndPicked) {
    // A flat ground of 128 x 128 cells with a plateau over samples 80..96 both ways. The map's
    // rows run against +z (its bottom row is z = 0), the tile's with it (v = 0 at z = 0): a map
    // or tile read the wrong way round puts the marker or the plateau elsewhere.
    const std::string map = WriteMap("Venue", 129, 129, [](int x, int r) {
        const int z = 128 - r;
        return x >= kPlateauLo && x <= kPlateauHi && z >= kPlateauLo && z <= kPlateauHi ? 25 : 0;
    });
    const GenImage tile = MakeImage(128, 128, [](uint32_t x, uint32_t y) {
        const bool marker = x >= 80 && x < 96 && y >= 80 && y < 96;
        return 0xFF000000u | (marker ? kMarker : SquareColour(int(x / 32), int(y / 32)));
    });
    ASSERT_TRUE(WriteDds(dir / "Tiles/DefaultTex00x00.dds", GenDds::Argb32, tile, true));
    const std::string ini = "[Entities]\n"
                            "Terrain Terrain2 World\n"
                            "Cam TestCamera World\n"
                            "Main Viewport Viewport\n"
                            "[Terrain]\n"
                            "tileWidth=128\ntileHeight=128\nscale=4.0\nfullAmbient=1\n";
    WriteTextFile(dir / "Venue.ini",
                  ini + "mapName=" + map + "\nterrainTexPath=" + (dir / "Tiles/Default") + "\n");
    ASSERT_EQ(Exec("Game.LoadEntitiesIni('Venue.ini')\n"
                   "local world = Game.GetWorldEntity()\n"
                   "local v = Entity.FindName(Game.GetViewportEntity(), 'Main')\n"
                   "Entity.SetVoid(v, 'entDrawRoot', world)\n"
                   "Entity.SetVoid(v, 'entCamera', Entity.FindName(world, 'Cam'))\n"
                   "Entity.SetColor3(v, 'color', 1, 0, 1)\n"
                   "Entity.SetBool(v, 'clear', 1)\n"),
              "");
    auto* t = static_cast<Terrain2*>(EntTreeFindName(host.world, "Terrain"));
    auto* cam = static_cast<TestCamera*>(EntTreeFindName(host.world, "Cam"));
    ASSERT_NE(t, nullptr) << LogText();
    ASSERT_NE(cam, nullptr) << LogText();
    ASSERT_NE(t->terrain, nullptr);
    ASSERT_EQ(t->terrain->patchesX * t->terrain->patchesZ, 16);
    ASSERT_GE(t->terrain->patches[0].tileTexture, 0) << "the generated tile was not loaded";
    ASSERT_FLOAT_EQ(HeightAt(t, 88.0f * kScale, 88.0f * kScale), kTop) << "the plateau";

    // A slanted view from above the first patch at the middle of the plateau's top: the patches
    // take every level (LOD unit 32 cells of 4.0: levels change beyond 256, 384 and 512).
    const VECTOR3 eye = {40.0f, 300.0f, 40.0f}, at = {352.0f, kTop, 352.0f}, up = {0, 1, 0};
    cam->desc.fov = 1.5f;
    cam->desc.eye = eye;
    Mat4LookAt(&cam->desc.view, &eye, &at, &up);
    cam->desc.valid = 1;
    const uint32_t flags = t->GetClassFlags();
    t->SetClassFlags(flags | 3u); // drawn and pickable

    ASSERT_EQ(D3dBeginScene(), 0);
    EntTreeDrawPre(host.viewports);
    EntTreeDraw(host.viewports);
    EntTreeDrawPost(host.viewports);
    // Where things land, under the frame's own view and projection (the overlay changes them).
    Mat4 identity;
    I3dSetWorld(Mat4Identity(&identity));
    struct Check {
        int sx, sy;
        uint32_t want;
        const char* what;
        bool equal;
    };
    std::vector<Check> probes;
    const float aspect = float(kW) / float(kH);
    auto underOverlay = [&](int sx, int sy) {
        return sx > 0.28f * kW && sx < 0.40f * kW && sy > 0.58f * kH && sy < 0.72f * kH;
    };
    for (int pz = 0; pz < 4; ++pz)
        for (int px = 0; px < 4; ++px) {
            if (px >= 2 && pz >= 2) continue; // the plateau's patches, or hidden behind it
            int sx, sy;
            const VECTOR3 centre = {(32.0f * px + 16.0f) * kScale, 0.0f,
                                    (32.0f * pz + 16.0f) * kScale};
            if (!Pixel(centre, &sx, &sy) || underOverlay(sx, sy)) continue;
            probes.push_back({sx, sy, SquareColour(px, pz), "a patch's square", true});
        }
    EXPECT_GE(probes.size(), 6u) << "too few patch centres in view to check the tile";
    for (VECTOR3 p : {VECTOR3{352, kTop, 352}, VECTOR3{336, kTop, 336}, VECTOR3{368, kTop, 336},
                      VECTOR3{336, kTop, 368}, VECTOR3{368, kTop, 368}}) {
        int sx, sy;
        ASSERT_TRUE(Pixel(p, &sx, &sy));
        probes.push_back({sx, sy, kMarker, "the marker on the plateau's top", true});
    }
    // The marker's ground position lies behind the plateau's near wall: only a terrain drawn
    // without its heights would show the marker there.
    int groundX, groundY;
    ASSERT_TRUE(Pixel({352.0f, 0.0f, 352.0f}, &groundX, &groundY));
    probes.push_back({groundX, groundY, kMarker, "the marker at ground height", false});

    // The overlay, asked for once as the debug keys ask for it: by message to the world.
    EntTreeSendGated(host.world->node, 15, 0, 0, 0);
    D3dEndScene();

    for (const Check& p : probes) {
        const uint32_t got = D3dReadPixel(p.sx, p.sy) & 0xFFFFFF;
        if (p.equal)
            EXPECT_PRED2(Near, got, p.want)
                << p.what << " at " << p.sx << ", " << p.sy << ": " << std::hex << got;
        else
            EXPECT_FALSE(Near(got, p.want)) << p.what << " at " << p.sx << ", " << p.sy;
    }

    // Each patch in view has its square in the overlay in its level's colour.
    const uint32_t colours[4] = {0xC0C0FF, 0x8080BF, 0x40407F, 0x00003F};
    std::set<int> levels;
    for (int pz = 0; pz < 4; ++pz)
        for (int px = 0; px < 4; ++px) {
            const TerrainPatch& p = t->terrain->patches[pz * 4 + px];
            if (!p.visible) continue;
            levels.insert(p.levelWanted);
            const float x = 0.3f * aspect + 0.02f * float(px) + 0.009f;
            const float y = 0.3f + 0.02f * float(3 - pz) + 0.009f;
            const int sx = int(x / aspect * kW), sy = int((1.0f - y) * kH);
            const uint32_t got = D3dReadPixel(sx, sy) & 0xFFFFFF;
            EXPECT_PRED2(Near, got, colours[p.levelWanted])
                << "patch " << px << ", " << pz << " at level " << p.levelWanted << ": " << std::hex
                << got;
        }
    EXPECT_GE(levels.size(), 3u) << "the view should give the overlay several levels to show";

    // The pick through the screen centre lands where the camera looks: the plateau's top.
    const Mat4 savedPick = *PickGetCamera();
    PickSetCamera(&cam->desc.view);
    PickSetFov(cam->desc.fov);
    PickSetAspect(float(kW), float(kH));
    VECTOR3 origin, dir;
    ASSERT_EQ(PickRay(0.0f, 0.0f, &origin, &dir), 1);
    PickQuery q{origin, dir, nullptr, 1000000.0f};
    EXPECT_TRUE(t->PickTest(&q));
    EXPECT_EQ(q.best, t);
    const float len = std::sqrt(dir.x * dir.x + dir.y * dir.y + dir.z * dir.z);
    const VECTOR3 hit = {origin.x + dir.x / len * q.bestDistance,
                         origin.y + dir.y / len * q.bestDistance,
                         origin.z + dir.z / len * q.bestDistance};
    EXPECT_NEAR(hit.x, at.x, 0.5f);
    EXPECT_NEAR(hit.y, at.y, 0.5f);
    EXPECT_NEAR(hit.z, at.z, 0.5f);
    PickSetCamera(&savedPick);
    PickSetFov(0.0f);
    PickSetAspect(1.0f, 1.0f);
    t->SetClassFlags(flags);
}

} // namespace
