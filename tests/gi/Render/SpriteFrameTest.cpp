// The sprite batch's flush among the model library's bindings and the kernel's other drawing,
// as one whole frame on OpenGL (llvmpipe, 800 x 600) read back.
#include "gi/Render/DynBuf.h"

#include "I3d/Math/Vec3Ops.h"
#include "tests/I3d/PixelFixture.h"

#include <cstring>

namespace {

void SpriteSetup(intptr_t) {
    D3dSetLighting(0);
    D3dSetAlphaBlend(0);
    D3dSetZEnable(0);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetColorArg1(0, D3DTA_DIFFUSE);
    D3dSetColorOp(1, D3DTOP_DISABLE);
}

// A quad from (x0, y0) to (x1, y1) in pixels, in the library's pair.
struct LibraryQuad {
    DynVertexBuf vb{true, 1 | 32, 64};
    DynIndexBuf ib{true, 64};

    LibraryQuad(float x0, float y0, float x1, float y1) {
        const float v[4][5] = {
            {x0, y0, 0.5f, 0, 0}, {x1, y0, 0.5f, 1, 0}, {x1, y1, 0.5f, 1, 1}, {x0, y1, 0.5f, 0, 1}};
        const uint16_t q[6] = {0, 1, 2, 0, 2, 3};
        if (vb.Lock(4)) std::memcpy(vb.lockedPtr, v, sizeof v);
        vb.Unlock();
        if (uint16_t* i = ib.Lock(6)) std::memcpy(i, q, sizeof q);
        ib.Unlock();
    }
    bool Draw() { return DynBufBind(&vb, &ib) && DynDrawIndexed(D3DPT_TRIANGLELIST, 2, 4); }
};

class SpriteFrame : public PixelTest {
  protected:
    SpriteFrame() : PixelTest(800, 600, 0, 0, 0) {}
    void TearDown() override {
        I3dSpriteBatchDestroy();
        DynBufResetBindings();
        while (InfoIconsSheet() >= 0)
            InfoIconsRelease();
        PixelTest::TearDown();
    }
};

uint32_t SpriteColour(int i) {
    return 0xFF0000C8u | uint32_t(i & 0xFF) << 16 | uint32_t(i >> 8) << 12;
}

// One frame as the game draws it: a library quad; 3000 sprites spread over the screen at
// several depths under a yawed and pitched camera, each about 6 pixels across (read back at
// once, as the rest covers some); the same quad again in another colour; a box under its own
// world matrix with an icon above it; a stat bar.
TEST_F(SpriteFrame, AWholeFrameDrawsEachPartInPlace) {
    InfoIconsAcquire((std::string(FAIRLARK_BUILD_DATA_DIR) + "Menu\\InfoIcons").c_str());
    MeshBuf* box = MeshMakeBox();
    ASSERT_TRUE(box && InfoIconsSheet() >= 0);
    const VECTOR3 eye{3, 2.5f, -6};
    const float fov = 1.04718f, t = std::tan(fov / 2), aspect = 800.0f / 600.0f;
    LookFrom(eye, {0.5f, 0, 0}, fov);
    Mat4 view, proj;
    I3dGetViewMatrix(&view);
    I3dGetProjMatrix(&proj);
    auto perspective = [&] {
        I3dSetView(&view);
        I3dSetProj(&proj);
    };
    ASSERT_EQ(I3dSpriteBatchCreate(3000, 40), 0); // its first frame faces this view
    I3dSpriteBatchSetCull(0);
    const int g = I3dSpriteBatchAddGroup(3000, SpriteSetup, 0);

    PixelSpace();
    LibraryQuad quad(20, 20, 100, 60);
    SolidColor(0xFFFF0000);
    ASSERT_TRUE(quad.Draw());

    perspective();
    const VECTOR3 right{view.m[0], view.m[4], view.m[8]}, up{view.m[1], view.m[5], view.m[9]},
        fwd{view.m[2], view.m[6], view.m[10]};
    std::vector<VECTOR3> centres;
    for (int i = 0; i < 3000; ++i) {
        const float sx = -1 + (i % 60 + 0.5f) / 30, sy = -0.6f + (i / 60 + 0.5f) / 50;
        const float depth = 4.0f + float(i % 7);
        const VECTOR3 across = v3::Add(v3::Scale(right, sx * t * aspect), v3::Scale(up, sy * t));
        centres.push_back(v3::Add(eye, v3::Scale(v3::Add(fwd, across), depth)));
        // Half a side of 3 pixels at this depth.
        const float size = 3.0f * depth * t / 300;
        ASSERT_EQ(I3dSpriteBatchAdd(g, &centres.back(), size, SpriteColour(i)), 0);
    }
    I3dSpriteBatchFlush();
    ReadBack();
    int bad = 0;
    for (int i = 0; i < 3000; ++i) {
        const uint32_t c = SpriteColour(i) & 0xFFFFFF;
        int x, y;
        PixelOf(centres[i], &x, &y);
        // The centre and the corners of a square round it (a turned square misses its
        // corners), and nothing a few pixels further.
        for (const auto& [dx, dy] : {std::pair{0, 0}, {-2, -2}, {2, -2}, {-2, 2}, {2, 2}})
            bad += At(x + dx, y + dy) != c;
        bad +=
            (At(x - 5, y) == c) + (At(x + 5, y) == c) + (At(x, y - 5) == c) + (At(x, y + 5) == c);
    }
    EXPECT_EQ(bad, 0) << "sprites off their centres, turned, or of the wrong size";

    PixelSpace();
    SolidColor(0xFF0000FF);
    ASSERT_TRUE(quad.Draw());

    perspective();
    const VECTOR3 boxAt = v3::Add(eye, v3::Add(v3::Scale(fwd, 6), right));
    Mat4 world;
    Mat4Identity(&world);
    world.m[12] = boxAt.x, world.m[13] = boxAt.y, world.m[14] = boxAt.z;
    I3dSetWorld(&world);
    SolidColor(0xFF808080);
    ASSERT_TRUE(box->Draw());
    InfoIcon icon;
    icon.position = v3::Add(boxAt, {0, 1.2f, 0}); // in the world, above the box
    icon.UpdateDraw(0.016f);

    PixelSpace();
    StatBar3Style bar;
    bar.left = 410, bar.top = 103, bar.right = 540, bar.bottom = 121;
    StatBar3Draw(&bar);
    ReadBack();
    EXPECT_EQ(At(60, 40), 0x0000FFu) << "the second quad drew from the sprites' buffer";
    EXPECT_EQ(At(420, 110), 0x00FF00u) << "the bar";
    EXPECT_EQ(At(530, 110), 0x707070u) << "the bar's background";
    perspective();
    EXPECT_EQ(AtPoint(boxAt), 0x808080u) << "the box";
    EXPECT_EQ(AtPoint(icon.position, -8), 0xE02020u) << "the icon is not above its position";
    EXPECT_EQ(AtPoint(icon.position, 8), 0xF08020u);
    box->Destroy();
    delete box;
}

} // namespace
