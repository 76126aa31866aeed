// The generated Ridge terrain in a world scene on OpenGL (llvmpipe, offscreen): drawn through a
// viewport and a test camera looking straight down, its tile squares where the tile puts them,
// and a pick through the screen centre landing on the ground under it.
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Pick.h"
#include "I3d/Textures.h"
#include "tests/world/TerrainFixture.h"
#include "world/EntViewport.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kW = 160, kH = 120;

class TerrainScene : public TerrainFixture {
  protected:
    void SetUp() override {
        TerrainFixture::SetUp();
        StartGl();
        CreateOffscreen(kW, kH);
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        CreateCurrentPair();
    }
};

uint32_t SquareColour(int i, int j) {
    return uint32_t(0x30 + 0x30 * i) << 16 | uint32_t(0x20 + 0x40 * j) << 8 |
           uint32_t(0x80 ^ (i * 0x10 + j * 0x20));
}

bool Near(uint32_t a, uint32_t b) {
    for (int s = 0; s < 24; s += 8)
        if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > 3) return false;
    return true;
}

TEST_F(TerrainScene, TheRidgeShowsItsTileAndAnswersThePick) {
    ENTBASE* viewports = Make("EntNull", root, "Viewport");
    ENTBASE* world = Make("EntNull", root, "World");
    const std::string data = FAIRLARK_BUILD_DATA_DIR;
    const std::string ini = dir / "World.ini";
    WriteTextFile(ini, "[Terrain]\ntileWidth=64\ntileHeight=64\nfullAmbient=1\nmapName=" + data +
                           "Terrains/Ridge\nterrainTexPath=" + data + "Terrains/Ridge\n");
    auto* t = Make<Terrain2>("Terrain2", world, "Terrain");
    int flag = -1;
    ASSERT_EQ(t->LoadVars(ini.c_str(), &flag), 1);
    IniClose();
    t->Start();
    ASSERT_GE(t->terrain->patches[0].tileTexture, 0) << "the generated tile";
    const uint32_t flags = t->GetClassFlags();
    t->SetClassFlags(flags | 3u);

    auto* v = Make<EntViewport>("Viewport", viewports, "Main");
    v->SetVoid("entDrawRoot", (intptr_t)world);
    v->clear = 1;
    v->SetColor3("color", 1, 0, 1);
    const VECTOR3 eye = {32, 500, 32}, at = {32, 0, 32}, up = {0, 0, 1};
    TestCamera* cam = MakeCamera(world, "Cam", eye, at, 0.3f);
    Mat4LookAt(&cam->desc.view, &eye, &at, &up); // straight down: +z up the screen
    v->SetVoid("entCamera", (intptr_t)cam);
    ASSERT_EQ(D3dBeginScene(), 0);
    EntTreeDrawPre(viewports);
    D3dEndScene();

    Mat4 identity;
    I3dSetWorld(Mat4Identity(&identity));
    for (int pz = 0; pz < 2; ++pz)
        for (int px = 0; px < 2; ++px) {
            // Sample (x, z) of the Ridge is 2x + z high.
            const float x = 16.0f + 32.0f * px, z = 16.0f + 32.0f * pz;
            const VECTOR3 p = {x, 2.0f * x + z, z};
            float s[3];
            I3dProjectPoint(&p, s);
            const int sx = int(std::lround((s[0] + 1) * kW / 2)),
                      sy = int(std::lround((1 - s[1]) * kH / 2));
            const uint32_t got = D3dReadPixel(sx, sy) & 0xFFFFFF;
            EXPECT_PRED2(Near, got, SquareColour(px, pz))
                << "patch " << px << ", " << pz << ": " << std::hex << got;
        }

    // The camera handed to the pick, as the management camera hands it over every frame.
    const Mat4 savedPick = *PickGetCamera();
    PickSetCamera(&cam->desc.view);
    PickSetFov(0.3f);
    PickSetAspect(float(kW), float(kH));
    VECTOR3 origin, dir;
    ASSERT_EQ(PickRay(0.0f, 0.0f, &origin, &dir), 1);
    PickQuery q{origin, dir, nullptr, 1000000.0f};
    EXPECT_TRUE(t->PickTest(&q));
    EXPECT_EQ(q.best, t);
    const float ground = 2.0f * 32.0f + 32.0f;
    EXPECT_NEAR(q.bestDistance, std::fabs(origin.y - ground), 0.5f);
    t->SetClassFlags(flags);
    PickSetCamera(&savedPick);
    PickSetFov(0.0f);
    PickSetAspect(1.0f, 1.0f);
}

} // namespace
