// The terrain drawn on OpenGL (llvmpipe through EGL, offscreen) and read back: each patch's
// share of its tile, the white ground where a tile is missing, a missing detail texture, and no
// cracks between patches of different levels.
#include "I3d/Camera.h"
#include "I3d/Lights.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/Random.h"
#include "tests/I3d/PixelFixture.h"
#include "world/TerrainDraw.h"
#include "world/TerrainObj.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kW = 256, kH = 192;
constexpr uint32_t kMagenta = 0xFF00FF;

uint32_t SquareColour(int i, int j) {
    return uint32_t(0x30 + 0x30 * i) << 16 | uint32_t(0x20 + 0x40 * j) << 8 |
           uint32_t(0x80 ^ (i * 0x10 + j * 0x20));
}

bool Near(uint32_t a, uint32_t b) {
    const int tolerance = 3;
    for (int s = 0; s < 24; s += 8)
        if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > tolerance) return false;
    return true;
}

class TerrainPixels : public PixelTest {
  protected:
    TerrainPixels() : PixelTest(kW, kH, 1.0f, 0.0f, 1.0f) {}
    void TearDown() override {
        TerrainFree(t);
        if (tile >= 0) I3dTexRelease(tile);
        PixelTest::TearDown();
    }
    void Make(int cells) {
        t = TerrainCreate(cells, cells);
        ASSERT_NE(t, nullptr);
        t->lodUnit = 32.0f;
        TerrainDrawInit(t);
        D3dSetAmbient(0, 0, 0);
        const int light = I3dLightAlloc();
        I3dLightSetType(light, 3);
        I3dLightSetDiffuse(light, 1, 1, 1);
        I3dLightSetDirection(light, 0, -1, 0);
        I3dLightEnable(light, 1);
    }
    void Camera(VECTOR3 eye, VECTOR3 at, float fov, VECTOR3 up = {0, 1, 0}) {
        Mat4 view, proj;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, fov, I3dGetInvAspect(), 1.0f, 2000.0f));
        t->eye = eye;
    }
    // A 64 x 64 tile of 4 x 4 squares of 16 x 16 texels; square (i, j) is i along u, j along v.
    void MakeTile() {
        tile = D3dTexCreate(64, 64, I3DTEX_A8R8G8B8, 1, "tile", 0);
        ASSERT_GE(tile, 0);
        void* pixels = nullptr;
        int w = 0, h = 0, pitch = 0, format = 0;
        ASSERT_EQ(D3dTextureLock(tile, 0, &pixels, &w, &h, &pitch, &format), 0);
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) +
                                                    size_t(y) * size_t(pitch));
            for (int x = 0; x < w; ++x)
                row[x] = 0xFF000000u | SquareColour(x / 16, y / 16);
        }
        D3dTextureUnlock(tile, 0);
        for (int i = 0; i < t->patchesX * t->patchesZ; ++i) {
            t->patches[i].tileTexture = tile;
            I3dTexAddRef(tile);
        }
    }
    void Draw() {
        Frame();
        TerrainDraw(t);
        ReadBack();
    }
    void LookDownOnPatches() {
        Camera({64.0f, 150.0f, 64.0f}, {64.0f, 0.0f, 64.0f}, 1.2f, {0, 0, 1});
    }
    uint32_t PatchCentre(int px, int pz) {
        return AtPoint(VECTOR3{px * 32.0f + 16.0f, 0.0f, pz * 32.0f + 16.0f});
    }

    TerrainObj* t = nullptr;
    int tile = -1;
};

TEST_F(TerrainPixels, EachPatchShowsItsShareOfTheTile) {
    Make(128);
    MakeTile();
    LookDownOnPatches();
    Draw();
    for (int pz = 0; pz < 4; ++pz)
        for (int px = 0; px < 4; ++px)
            EXPECT_PRED2(Near, PatchCentre(px, pz), SquareColour(px, pz))
                << "patch " << px << ", " << pz << ": " << std::hex << PatchCentre(px, pz);
}

TEST_F(TerrainPixels, AMissingTileShowsTheLitWhiteGround) {
    Make(128);
    MakeTile();
    I3dTexRelease(t->patches[5].tileTexture);
    t->patches[5].tileTexture = -2; // patch (1, 1), drawn after (0, 1) bound the tile
    LookDownOnPatches();
    Draw();
    EXPECT_PRED2(Near, PatchCentre(1, 1), 0xFFFFFFu) << std::hex << PatchCentre(1, 1);
    EXPECT_PRED2(Near, PatchCentre(2, 1), SquareColour(2, 1));
}

TEST_F(TerrainPixels, AMissingDetailTextureDrawsTheSamePicture) {
    Make(128);
    MakeTile();
    LookDownOnPatches();
    // Something on stage 1 the detail pass would otherwise blend in.
    const int other = D3dTexCreate(4, 4, I3DTEX_A8R8G8B8, 1, "other", 0);
    D3dSetTexture(1, other);
    Draw();
    const std::vector<uint32_t> plain = m_pixels;
    t->detailMap = 1;
    t->detailTexture = -1;
    Draw();
    EXPECT_EQ(m_pixels, plain);
    I3dTexRelease(other);
}

// Rough ground inside a flat border band, seen at a slant so that levels 0 to 3 all occur. The
// same view with every patch at level 0 is the mask: inside it, nothing may show the clear.
TEST_F(TerrainPixels, NoCracksBetweenLevels) {
    Make(256);
    CrtSrand(39);
    for (int z = 0; z <= 256; ++z)
        for (int x = 0; x <= 256; ++x) {
            const bool band = x < 24 || z < 24 || x > 232 || z > 232;
            t->heights[z * 257 + x] = band ? 0.0f : float(CrtRand() % 400) / 100.0f;
        }
    TerrainDerive(t);
    Camera({128.0f, 50.0f, 40.0f}, {128.0f, 0.0f, 100.0f}, 1.2f);
    t->lodUnit = 1e6f;
    Draw();
    const std::vector<uint32_t> mask = m_pixels;
    for (int i = 0; i < t->patchesX * t->patchesZ; ++i)
        ASSERT_EQ(t->patches[i].levelWanted, 0);
    t->lodUnit = 32.0f;
    Draw();
    bool seen[4] = {};
    for (int i = 0; i < t->patchesX * t->patchesZ; ++i)
        if (t->patches[i].visible) seen[t->patches[i].levelWanted] = true;
    for (int level = 0; level < 4; ++level)
        EXPECT_TRUE(seen[level]) << "level " << level;
    auto covered = [&](int x, int y) {
        return (mask[size_t(y) * kW + size_t(x)] & 0xFFFFFF) != kMagenta;
    };
    int cracks = 0;
    for (int y = 1; y < kH - 1; ++y)
        for (int x = 1; x < kW - 1; ++x) {
            // Inside the mask by a pixel: the outline itself may round either way.
            bool inside = true;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    inside = inside && covered(x + dx, y + dy);
            if (inside && At(x, y) == kMagenta) ++cracks;
        }
    EXPECT_EQ(cracks, 0);
}

// The overlay: a small square per patch, last row lowest, in its level's colour; a patch out of
// view half-transparent grey.
TEST_F(TerrainPixels, TheLodMapShowsEachPatchInItsLevelColour) {
    Make(128);
    const uint32_t colours[4] = {0xC0C0FF, 0x8080BF, 0x40407F, 0x00003F};
    for (int i = 0; i < 16; ++i) {
        t->patches[i].levelWanted = i % 4;
        t->patches[i].visible = i != 9;
    }
    Frame();
    TerrainDrawLodMap(t);
    ReadBack();
    const float aspect = float(kW) / float(kH);
    for (int pz = 0; pz < 4; ++pz)
        for (int px = 0; px < 4; ++px) {
            const float x = 0.3f * aspect + 0.02f * float(px) + 0.009f;
            const float y = 0.3f + 0.02f * float(3 - pz) + 0.009f;
            const int sx = int(x / aspect * kW), sy = int((1.0f - y) * kH);
            const int i = pz * 4 + px;
            if (i == 9) {
                // 0x60 of 0xFF grey over the magenta clear.
                EXPECT_PRED2(Near, At(sx, sy), 0xCF30CFu) << std::hex << At(sx, sy);
            } else {
                EXPECT_PRED2(Near, At(sx, sy), colours[i % 4])
                    << "patch " << i << ": " << std::hex << At(sx, sy);
            }
        }
}

} // namespace
