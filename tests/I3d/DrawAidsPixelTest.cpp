// The generated box, an info icon, the stat bar and the pick ray on OpenGL (llvmpipe,
// offscreen, 800 x 600), read back pixel by pixel.
#include "I3d/Math/Pick.h"
#include "I3d/Math/Vec3Ops.h"
#include "tests/I3d/PixelFixture.h"

#include <cstring>

namespace {

constexpr float kFov = 1.04718f;
// The generated sheet's cell 0: a badge red on top, orange below (datagen/GenInfoIcons.cpp).
constexpr uint32_t kCell0Top = 0xE02020, kCell0Bottom = 0xF08020;

class DrawAids : public PixelTest {
  protected:
    DrawAids() : PixelTest(800, 600, 0, 0, 0) {}
    void TearDown() override {
        while (InfoIconsSheet() >= 0)
            InfoIconsRelease();
        PixelTest::TearDown();
    }
    // The bounding box of the pixels that are not black; false when there are none.
    bool Lit(int* x0, int* y0, int* x1, int* y1) const {
        *x0 = m_w, *y0 = m_h, *x1 = *y1 = -1;
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                if (At(x, y) != 0) {
                    *x0 = std::min(*x0, x), *x1 = std::max(*x1, x);
                    *y0 = std::min(*y0, y), *y1 = std::max(*y1, y);
                }
        return *x1 >= 0;
    }
};

// Each face, seen from outside with its own up, shows the marked texel at its top-left; from
// inside the cube nothing shows, as every face turns its back.
TEST_F(DrawAids, TheBoxShowsEachFaceUprightFromOutsideAndNothingFromInside) {
    MeshBuf* box = MeshMakeBox();
    ASSERT_NE(box, nullptr);
    const int slot = D3dTexCreate(2, 2, I3DTEX_A8R8G8B8, 1, "marked", 0);
    I3dImage img;
    ASSERT_EQ(I3dTexLockImage(slot, 0, &img), 0);
    ImgFill(&img, 0xFFFFFFFF);
    const uint32_t red = 0xFFFF0000;
    std::memcpy(img.pixels, &red, 4);
    D3dTextureUnlock(slot, 0);
    D3dSetLighting(0);
    D3dSetZEnable(0);
    D3dSetCullMode(D3DCULL_CCW);
    D3dSetTexture(0, slot);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    D3dSetMinFilter(0, D3DTEXF_POINT);
    D3dSetMagFilter(0, D3DTEXF_POINT);
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetColorArg1(0, D3DTA_TEXTURE);
    const VECTOR3 eyes[6] = {{0, 0, -3}, {3, 0, 0}, {0, 0, 3}, {-3, 0, 0}, {0, 3, 0}, {0, -3, 0}};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(::testing::Message() << "face " << i);
        Frame();
        LookFrom(eyes[i], {0, 0, 0}, kFov, i < 4 ? VECTOR3{0, 1, 0} : VECTOR3{0, 0, 1});
        ASSERT_TRUE(box->Draw());
        ReadBack();
        EXPECT_EQ(At(360, 260), 0xFF0000u) << "top-left";
        EXPECT_EQ(At(440, 260), 0xFFFFFFu);
        EXPECT_EQ(At(360, 340), 0xFFFFFFu);
        EXPECT_EQ(At(440, 340), 0xFFFFFFu);
    }
    Frame();
    LookFrom({0, 0, 0}, {0.3f, 0.2f, 1}, kFov);
    ASSERT_TRUE(box->Draw());
    ReadBack();
    int x0, y0, x1, y1;
    EXPECT_FALSE(Lit(&x0, &y0, &x1, &y1)) << "an inside face was drawn";
    box->Destroy();
    delete box;
}

TEST_F(DrawAids, AnIconStandsUprightSquareAndFadesOverItsDuration) {
    InfoIconsAcquire((std::string(FAIRLARK_BUILD_DATA_DIR) + "Menu\\InfoIcons").c_str());
    LookFrom({1, 2, -6}, {0, 0, 0}, kFov);
    Mat4 view, proj, now;
    I3dGetViewMatrix(&view);
    I3dGetProjMatrix(&proj);
    InfoIcon icon;
    icon.position = VECTOR3{0.5f, 0.5f, 0};
    icon.size = 0.1f;
    icon.UpdateDraw(0.016f);
    ReadBack();
    int x0, y0, x1, y1;
    ASSERT_TRUE(Lit(&x0, &y0, &x1, &y1));
    EXPECT_NEAR(x1 - x0, 75, 2) << "the badge's 30 of 32 texels over 0.1 of 800 pixels each way";
    EXPECT_NEAR(y1 - y0, x1 - x0, 1) << "square on a 4:3 screen";
    EXPECT_EQ(AtPoint(icon.position, -15), kCell0Top) << "the cell's top on top";
    EXPECT_EQ(AtPoint(icon.position, 15), kCell0Bottom);
    I3dGetViewMatrix(&now);
    EXPECT_EQ(std::memcmp(&now, &view, sizeof now), 0) << "the view was not restored";
    I3dGetProjMatrix(&now);
    EXPECT_EQ(std::memcmp(&now, &proj, sizeof now), 0) << "the projection was not restored";
    I3dGetWorldMatrix(&now);
    EXPECT_EQ(Mat4IsIdentity(&now), 1);

    Frame();
    icon.duration = icon.timeLeft = 2.0f;
    icon.UpdateDraw(1.0f);
    ReadBack();
    EXPECT_NEAR(int(AtPoint(icon.position, -15) >> 16), 0xE0 / 2, 2) << "half way: half blended";

    Frame();
    LookFrom({1, 2, 6}, {2, 4, 12}, kFov); // the icon is now behind the eye
    icon.UpdateDraw(0.5f);
    ReadBack();
    EXPECT_FALSE(Lit(&x0, &y0, &x1, &y1)) << "an icon behind the camera was drawn";
}

// Bars of 130 x 18 pixels at (410, 103 + 40 i) under the pixel-space projection, at z 1.0.
TEST_F(DrawAids, TheStatBarFillsItsRectangleInTheThresholdsColour) {
    const float values[] = {0.91f, 0.75f, 0.9f, 2.0f, std::nanf("")};
    const uint32_t colours[] = {0xFF0000, 0x00FF00, 0xFFFF00, 0xFF0000, 0x707070};
    for (int i = 0; i < 5; ++i) {
        StatBar3Style bar;
        bar.left = 410, bar.top = 103.0f + 40 * i, bar.right = 540, bar.bottom = bar.top + 18;
        bar.value = values[i];
        StatBar3Draw(&bar);
    }
    ReadBack();
    int bad = 0; // the first bar, pixel by pixel: red up to 528.3, grey to 540
    for (int y = 101; y < 123; ++y)
        for (int x = 408; x < 542; ++x) {
            bool inside = x >= 410 && x < 540 && y >= 103 && y < 121;
            bad += At(x, y) != (!inside ? 0 : x <= 528 ? colours[0] : 0x707070);
        }
    EXPECT_EQ(bad, 0) << "the bar left its rectangle, missed part of it, or took the wrong colour";
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(At(415, 110 + 40 * i), colours[i]) << "value " << values[i];
    EXPECT_EQ(At(600, 230), 0xFF0000u) << "a value of 2 is not clamped";
}

TEST_F(DrawAids, ThePickRayPassesThroughWhatIsDrawnUnderTheMouse) {
    LookFrom({2, 3, -7}, {0.5f, 0.5f, 0}, kFov);
    Mat4 view;
    I3dGetViewMatrix(&view);
    PickSetCamera(&view);
    PickSetFov(kFov);
    PickSetAspect(800, 600);
    const VECTOR3 marker{1.2f, 0.4f, 0.8f};
    SolidColor(0xFFFFFFFF);
    ASSERT_EQ(I3dDrawBillboard(&marker, 0.03f), 0);
    ReadBack();
    ASSERT_EQ(AtPoint(marker), 0xFFFFFFu) << "the marker is not where it projects";
    float p[3];
    I3dProjectPoint(&marker, p);
    VECTOR3 origin, dir;
    ASSERT_EQ(PickRay(p[0], p[1], &origin, &dir), 1);
    const VECTOR3 to = v3::Sub(marker, origin);
    const VECTOR3 off = v3::Sub(to, v3::Scale(dir, v3::Dot(to, dir)));
    EXPECT_LT(v3::Length(off), 1e-3f) << "the ray misses the marker it was cast through";
}

} // namespace
