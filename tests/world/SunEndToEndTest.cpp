// The sky of a day end to end on OpenGL (llvmpipe, offscreen): a script loads a world of an
// environment, a time of day, a sky dome, a sun, a terrain of a generated map and "VeryLast"
// through the real script libraries and entity loader, then moves the time from dawn to dusk;
// every frame's zenith matches a reference computation of the dome's colour, and nothing is
// logged as missing or wrong.
#include "I3d/Image.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "tests/world/SunFixture.h"
#include "tests/world/WorldScriptHost.h"

#include <lua.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr int kW = 160, kH = 120;

// The day's key frames as written by hand: time, ambient, light, fog (grey keys except the
// light of keys 1 and 4).
struct RefKey {
    float t, amb, light[3], fog;
};
constexpr RefKey kRef[6] = {{0.2f, 0.1f, {0, 0, 0}, 0.0f}, {0.3f, 0.2f, {1, 1, 0}, 0.5f},
                            {0.4f, 0.3f, {1, 1, 1}, 1.0f}, {0.6f, 0.3f, {1, 1, 1}, 1.0f},
                            {0.7f, 0.2f, {1, 0, 1}, 0.5f}, {0.8f, 0.1f, {0, 0, 0}, 0.0f}};

uint32_t Pack(float r, float g, float b) {
    auto byte = [](float v) { return uint32_t(std::clamp(v, 0.0f, 255.0f)); };
    return 0xFF000000u | byte(r) << 16 | byte(g) << 8 | byte(b);
}

// The colour of the dome's top vertex at time t (0.2 .. 0.8, inside the keys).
uint32_t ZenithAt(float t) {
    int i = 1;
    while (kRef[i].t < t)
        ++i;
    const RefKey &a = kRef[i - 1], &b = kRef[i];
    const float f = (t - a.t) / (b.t - a.t);
    const float amb = a.amb + (b.amb - a.amb) * f;
    float light[3];
    for (int c = 0; c < 3; ++c)
        light[c] = (a.light[c] + (b.light[c] - a.light[c]) * f) * 255.0f;
    const uint32_t zenith = Pack(amb * 382.5f, amb * 382.5f, amb * 510.0f);
    const uint32_t highlight = Pack(light[0], light[1], light[2]);
    // The top vertex (0, 1, 0) against the sun direction (cos e, sin e, 0).
    const float e = t * 6.283185f - 1.570796f;
    const float d = std::sqrt(2.0f - 2.0f * std::sin(e));
    return d < 1.0f ? ColorLerpArgb(highlight, zenith, d) : zenith;
}

// The world file's section of the time of day: a still clock and the day's key frames (a
// missing key would take the table's default).
std::string TimeOfDaySection() {
    std::string out = "[TimeOfDay]\ntimeScale=0\ntime=0.2\n";
    for (int i = 0; i < 6; ++i) {
        const RefKey& k = kRef[i];
        const std::string n = std::to_string(i);
        auto colour = [&](const char* name, float r, float g, float b) {
            out += std::string(name) + n + ".r=" + std::to_string(r) + "\n" + name + n +
                   ".g=" + std::to_string(g) + "\n" + name + n + ".b=" + std::to_string(b) + "\n";
        };
        out += "time" + n + "=" + std::to_string(k.t) + "\n";
        colour("ambient", k.amb, k.amb, k.amb);
        colour("light", k.light[0], k.light[1], k.light[2]);
        colour("fog", k.fog, k.fog, k.fog);
        out += "sunScale" + n + "=0.05\n";
    }
    return out;
}

class SunEndToEnd : public SunFixture {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartWorld(true, kW, kH);
        EntDestroyTree(root);
        root = nullptr;
        host.dataFolder = scratch.Path();
        host.BuildRootTree();
        root = host.root;
        viewports = host.viewports;
        world = host.world;
        lua_State* L = ScriptMgrGet()->L;
        LuaOpenEntityLib(L);
        LuaOpenGameLib(L, &host);
    }
    void TearDown() override {
        ScriptMgrDestroy();
        SunFixture::TearDown();
    }
    std::string Exec(const std::string& code) {
        lua_State* L = ScriptMgrGet()->L;
        if (luaL_dostring(L, code.c_str()) == LUA_OK) return "";
        std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
        lua_pop(L, 1);
        return message;
    }

    WorldHost host;
};

TEST_F(SunEndToEnd, AScriptedDayColoursTheZenithFrameByFrame) {
    I3dImage* img = ImgAlloc(65, 65, IMG_L8);
    for (int r = 0; r < 65; ++r)
        for (int x = 0; x < 65; ++x)
            img->pixels[size_t(r) * img->pitch + size_t(x)] = uint8_t((x * 7 + r * 3) % 20);
    ASSERT_EQ(ImgSaveTga(img, (scratch / "Day elevation.tga").c_str(), nullptr), 0);
    ImgFree(img);
    // The one tile of the terrain's 64 x 64 cells, plain green.
    I3dImage* tile = ImgAlloc(64, 64, IMG_R8G8B8);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t* p = tile->pixels + size_t(y) * tile->pitch + size_t(x) * 3;
            p[0] = 0x20, p[1] = 0x90, p[2] = 0x30;
        }
    ASSERT_EQ(ImgSaveTga(tile, (scratch / "DayTex00x00.tga").c_str(), nullptr), 0);
    ImgFree(tile);
    WriteTextFile(scratch / "Day.ini", "[Entities]\n"
                                       "Environment Environment World\n"
                                       "TimeOfDay TimeOfDay World\n"
                                       "SkyDome SkyDome World\n"
                                       "Sun Sun World\n"
                                       "Terrain Terrain2 Root\n"
                                       "Cam TestCamera World\n"
                                       "VeryLast EntNull World\n"
                                       "Main Viewport Viewport\n"
                                       "[SkyDome]\nyOffset=80\n" +
                                           TimeOfDaySection() +
                                           "[Terrain]\n"
                                           "tileWidth=64\ntileHeight=64\nscale=4.0\nmapName=" +
                                           (scratch / "Day") +
                                           "\nterrainTexPath=" + (scratch / "Day") + "\n");
    ASSERT_EQ(Exec("Game.LoadEntitiesIni('Day.ini')\n"
                   "local world = Game.GetWorldEntity()\n"
                   "local v = Entity.FindName(Game.GetViewportEntity(), 'Main')\n"
                   "Entity.SetVoid(v, 'entDrawRoot', world)\n"
                   "Entity.SetVoid(v, 'entCamera', Entity.FindName(world, 'Cam'))\n"
                   "Entity.SetBool(v, 'clear', 1)\n"
                   "tod = Entity.FindName(world, 'TimeOfDay')\n"),
              "");
    auto* cam = static_cast<TestCamera*>(EntTreeFindName(world, "Cam"));
    auto* sun = static_cast<Sun*>(EntTreeFindName(world, "Sun"));
    ASSERT_NE(cam, nullptr) << LogText();
    ASSERT_NE(sun, nullptr) << LogText();
    ASSERT_NE(sun->Flare(), nullptr);
    EXPECT_EQ(EntGetParent(sun->Flare())->GetName(), std::string("VeryLast"));
    // Straight up from the dome's centre, which lies yOffset below its position.
    const VECTOR3 eye = {0, -80, 0}, at = {0, 1000, 0.01f}, up = {0, 1, 0};
    Mat4LookAt(&cam->desc.view, &eye, &at, &up);
    cam->desc.eye = eye;
    cam->desc.fov = 1.0f;
    cam->desc.valid = 1;

    int checked = 0;
    for (int i = 0; i < 60; ++i) {
        const float t = 0.2f + 0.6f * float(i) / 59.0f;
        ASSERT_EQ(Exec("Entity.SetFloat(tod, 'time', " + std::to_string(t) + ")"), "");
        // A still clock: the script's time is the one drawn, and the flare does not fade in.
        EntTreeUpdate(root, 0.0f);
        ASSERT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(viewports);
        D3dEndScene();
        // Around noon the sun's disc stands over the zenith.
        const float e = t * 6.283185f - 1.570796f;
        if (std::fabs(e - 1.570796f) < 0.12f) continue;
        const uint32_t got = D3dReadPixel(kW / 2, kH / 2), want = ZenithAt(t);
        bool near = true;
        for (int s = 0; s < 24; s += 8)
            near = near && std::abs(int((got >> s) & 0xFF) - int((want >> s) & 0xFF)) <= 3;
        EXPECT_TRUE(near) << "time " << t << ": " << std::hex << got << " against " << want;
        ++checked;
    }
    EXPECT_GE(checked, 54);
    const std::string log = LogText();
    for (const char* bad : {"no texture", "rror", "ailed", "not found", "unknown"})
        EXPECT_EQ(log.find(bad), std::string::npos) << bad << " in the log:\n" << log;
}

} // namespace
