// The shared primitives, shaders and mesh buffers drawn on OpenGL (llvmpipe through EGL,
// offscreen) through the shared current pair, read back pixel by pixel.
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3Ops.h"
#include "tests/I3d/PixelFixture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kW = 1024, kH = 768;
constexpr uint32_t kBlue = 0xFF0000FF;

int Channel(uint32_t c, int shift) {
    return int((c >> shift) & 0xFF);
}

class PrimitivePixels : public PixelTest {
  protected:
    PrimitivePixels() : PixelTest(kW, kH, 0, 0, 1) {}
    // Pixels of the rectangle [x0, x1) x [y0, y1) that are not `inside`, and pixels of a
    // 3-pixel ring around it that are not `outside`.
    int Mismatches(int x0, int y0, int x1, int y1, uint32_t inside, uint32_t outside) const {
        int bad = 0;
        for (int y = y0 - 3; y < y1 + 3; ++y)
            for (int x = x0 - 3; x < x1 + 3; ++x) {
                bool in = x >= x0 && x < x1 && y >= y0 && y < y1;
                bad += At(x, y) != (in ? inside : outside);
            }
        return bad;
    }
};

// Direct3D's pixel centres lie on integers: a quad from 10 to 20 covers the pixels 10 to 19.
TEST_F(PrimitivePixels, ASolidColorQuadFillsExactlyItsRectangleBlended) {
    SolidColor(0x80FF0000);
    ASSERT_EQ(I3dDrawQuad(10, 20, 30, 25, 0.5f), 0);
    ReadBack();
    uint32_t c = At(15, 22);
    EXPECT_NEAR(Channel(c, 16), 128, 1) << "half of word 0's red over the blue background";
    EXPECT_NEAR(Channel(c, 0), 127, 1);
    EXPECT_EQ(Mismatches(10, 20, 30, 25, c, 0x0000FF), 0);
}

TEST_F(PrimitivePixels, AUvQuadReproducesAPartOfATextureTexelForTexel) {
    int slot = D3dTexCreate(16, 16, I3DTEX_A8R8G8B8, 1, "ramp", 0);
    ASSERT_GE(slot, 0);
    auto texel = [](int x, int y) {
        return 0xFF000000u | uint32_t(x * 16) << 16 | uint32_t(y * 16) << 8 | uint32_t((x ^ y) * 8);
    };
    I3dImage img;
    ASSERT_EQ(I3dTexLockImage(slot, 0, &img), 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            uint32_t c = texel(x, y);
            std::memcpy(img.pixels + y * img.pitch + x * 4, &c, 4);
        }
    ASSERT_EQ(D3dTextureUnlock(slot, 0), 0);
    D3dSetLighting(0);
    D3dSetAlphaBlend(0);
    D3dSetTexture(0, slot);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    D3dSetMinFilter(0, D3DTEXF_LINEAR); // exact only when texel centres land on pixel centres
    D3dSetMagFilter(0, D3DTEXF_LINEAR);
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetColorArg1(0, D3DTA_TEXTURE);
    D3dSetColorOp(1, D3DTOP_DISABLE);
    // The right half of the texture over 8 x 16 pixels from (40, 30).
    ASSERT_EQ(I3dDrawQuadUv(39.5f, 29.5f, 47.5f, 45.5f, 0.5f, 0, 1, 1, 0.5f), 0);
    ReadBack();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(At(40 + x, 30 + y), texel(8 + x, y) & 0xFFFFFF) << x << ", " << y;
    EXPECT_EQ(At(39, 30), 0x0000FFu);
    EXPECT_EQ(At(48, 30), 0x0000FFu);
}

// Lines follow Direct3D's diamond-exit rule: each edge lights its first pixel and not its last,
// so the four edges together light each border pixel once.
TEST_F(PrimitivePixels, TheOutlineLightsOnlyTheBorderPixels) {
    SolidColor(0xFFFFFFFF);
    ASSERT_EQ(I3dDrawQuadOutline(100, 100, 110, 106, 0.5f), 0);
    ReadBack();
    int bad = 0;
    for (int y = 96; y < 111; ++y)
        for (int x = 96; x < 115; ++x) {
            bool inside = x >= 100 && x <= 110 && y >= 100 && y <= 106;
            bool border = inside && (x == 100 || x == 110 || y == 100 || y == 106);
            bad += At(x, y) != (border ? 0xFFFFFFu : 0x0000FFu);
        }
    EXPECT_EQ(bad, 0);
}

// The corners follow the view: under a yawed and pitched camera the billboard still projects
// to an axis-aligned square, every pixel of its bounding box lit.
TEST_F(PrimitivePixels, ABillboardStaysScreenAlignedUnderATurnedView) {
    LookFrom({3, 2.5f, -6}, {0.5f, 0, 0}, 3.141592f / 3);
    SolidColor(0xFFFFFFFF);
    const VECTOR3 centre{0.5f, 0.2f, 0.3f};
    ASSERT_EQ(I3dDrawBillboard(&centre, 0.5f), 0);
    ReadBack();
    int x0 = kW, y0 = kH, x1 = -1, y1 = -1, lit = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (At(x, y) == 0xFFFFFFu) {
                ++lit;
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    ASSERT_GT(lit, 100) << "the billboard faced away and was culled, or missed the screen";
    EXPECT_EQ(lit, (x1 - x0 + 1) * (y1 - y0 + 1)) << "a turned square leaves its box's corners";
    EXPECT_NEAR(x1 - x0, y1 - y0, 1) << "a square";
}

// A MeshBuf cube: the face turned to a directional light is lit to white, the others show only
// the ambient colour.
TEST_F(PrimitivePixels, ALitTexturedCubeShowsItsLitFaceBrighter) {
    int slot = D3dTexCreate(2, 2, I3DTEX_A8R8G8B8, 1, "white", 0);
    ASSERT_GE(slot, 0);
    I3dImage img;
    ASSERT_EQ(I3dTexLockImage(slot, 0, &img), 0);
    ImgFill(&img, 0xFFFFFFFF);
    ASSERT_EQ(D3dTextureUnlock(slot, 0), 0);
    MeshBuf cube;
    ASSERT_TRUE(cube.Create(35, 24, 12));
    ASSERT_TRUE(cube.LockVerts());
    const VECTOR3 normals[6] = {{0, 0, -1}, {0, 0, 1}, {1, 0, 0},
                                {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    for (const VECTOR3& n : normals) {
        // Two axes across the face, wound clockwise seen from outside.
        VECTOR3 a = n.x != 0 ? VECTOR3{0, 0, -n.x} : VECTOR3{n.z != 0 ? n.z : 1, 0, 0};
        VECTOR3 b = v3::Cross(n, a);
        const float s[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& c : s) {
            VECTOR3 p = v3::Add(n, v3::Add(v3::Scale(a, c[0]), v3::Scale(b, c[1])));
            I3dVbPosV(&p);
            I3dVbNormalV(&n);
            I3dVbUv(c[0] * 0.5f + 0.5f, c[1] * 0.5f + 0.5f);
            I3dVbNext();
        }
    }
    cube.UnlockVerts();
    uint16_t* idx = cube.LockIndices();
    ASSERT_NE(idx, nullptr);
    for (uint16_t f = 0; f < 6; ++f) {
        const uint16_t q[6] = {0, 1, 2, 0, 2, 3};
        for (int i = 0; i < 6; ++i)
            *idx++ = uint16_t(f * 4 + q[i]);
    }
    cube.UnlockIndices();

    Mat4 viewProj = LookFrom({3, 3.5f, -5}, {0, 0, 0}, 3.141592f / 3);
    D3dSetAmbient(0.2f, 0.2f, 0.2f);
    int light = I3dLightAlloc();
    I3dLightSetType(light, 3);
    I3dLightSetDirection(light, 0, 0, 1); // onto the -z face
    ShaderParams.words[0] = 0xFFFFFFFF;
    ShaderParams.words[8] = uint32_t(slot);
    ShaderLitTexturePass();
    ASSERT_TRUE(cube.Draw());
    ReadBack();
    auto faceCentre = [&](VECTOR3 p) {
        const float* m = viewProj.m;
        float w = p.x * m[3] + p.y * m[7] + p.z * m[11] + m[15];
        VECTOR3 c;
        Mat4XformPoint(&p, &viewProj, &c);
        return At(int(std::lround((c.x / w + 1) * kW / 2)),
                  int(std::lround((1 - c.y / w) * kH / 2)));
    };
    uint32_t lit = faceCentre({0, 0, -1}), side = faceCentre({1, 0, 0}),
             top = faceCentre({0, 1, 0});
    EXPECT_EQ(lit, 0xFFFFFFu) << "full diffuse plus ambient saturates";
    EXPECT_NEAR(Channel(side, 8), 51, 2) << "the ambient 0.2 alone";
    EXPECT_NEAR(Channel(top, 8), 51, 2);
    cube.Destroy();
}

TEST_F(PrimitivePixels, TheDebugSphereCoversItsDisc) {
    ASSERT_EQ(I3dDebugShapesCreate(), 0);
    Mat4 viewProj = LookFrom({0, 0, -5}, {0, 0, 0}, 3.141592f / 2);
    SolidColor(0xFFFFFFFF);
    ASSERT_EQ(I3dDrawDebugSphere(), 0);
    ReadBack();
    // The silhouette of a unit sphere 5 away: tan(asin(1 / 5)) in view space, scaled by the
    // projection; the 24 segments cut inside it by at most 1 - cos(pi / 24).
    float r = std::tan(std::asin(0.2f)) * viewProj.m[5] * kH / 2;
    int bad = 0;
    for (int y = 384 - 90; y <= 384 + 90; ++y)
        for (int x = 512 - 90; x <= 512 + 90; ++x) {
            float d = std::hypot(float(x - 512), float(y - 384));
            if (d < 0.99f * r - 1) bad += At(x, y) != 0xFFFFFFu;
            if (d > r + 1) bad += At(x, y) != 0x0000FFu;
        }
    EXPECT_EQ(bad, 0) << "radius " << r;
    EXPECT_EQ(I3dDebugShapesFree(), 0);
}

// One frame as the game draws it, twice: the debug sphere, 500 quads each in its own colour
// and 50 outlines, all through the shared pair, so that the ring wraps in the second frame.
TEST_F(PrimitivePixels, FramesOfQuadsOutlinesAndTheSphereShareTheRing) {
    ASSERT_EQ(I3dDebugShapesCreate(), 0);
    auto colour = [](int i) {
        return 0xFF000000u | (uint32_t(i) * 2654435761u >> 8 & 0xFFFF00) | uint32_t(i & 0xFF);
    };
    bool wrapped = false;
    int lastStart = 0;
    for (int frame = 0; frame < 2; ++frame) {
        D3dEndScene();
        ASSERT_EQ(D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
        ASSERT_EQ(D3dBeginScene(), 0);
        LookFrom({0, 0, -5}, {0, 0, 0}, 3.141592f / 2);
        SolidColor(0xFF808080);
        ASSERT_EQ(I3dDrawDebugSphere(), 0);
        PixelSpace();
        for (int i = 0; i < 500; ++i) {
            float x = float(i % 25 * 40 + 5), y = float(i / 25 * 38 + 5);
            SolidColor(colour(i));
            ASSERT_EQ(I3dDrawQuad(x, y, x + 30, y + 28, 0.5f), 0);
            wrapped |= m_vb->lastStart < lastStart;
            lastStart = m_vb->lastStart;
            if (i % 10 == 0) {
                SolidColor(0xFFFFFFFF);
                ASSERT_EQ(I3dDrawQuadOutline(x - 3, y - 3, x + 32, y + 30, 0.5f), 0);
            }
        }
    }
    EXPECT_TRUE(wrapped) << "the ring never restarted: the test drew too little to wrap it";
    ReadBack();
    for (int i = 0; i < 500; ++i)
        ASSERT_EQ(At(i % 25 * 40 + 20, i / 25 * 38 + 19), colour(i) & 0xFFFFFF) << "quad " << i;
    EXPECT_EQ(At(2, 2), 0xFFFFFFu) << "the first outline's corner";
    EXPECT_EQ(I3dDebugShapesFree(), 0);
}

} // namespace
