// One character in pixels (llvmpipe through EGL, offscreen): an adult male walking at the
// origin, seen from 4 units along +x at chest height under a light from the camera. The pose
// follows the application clock, the walk loops after a second, the faces towards the camera
// are lit, a skin recolours the body, and a lost device changes nothing.
#include "datagen/Characters/CharTextures.h"
#include "tests/I3d/PixelFixture.h"
#include "tests/gi/Render/CharModelFixture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kSize = 256;

int Brightness(uint32_t c) {
    return int((c >> 16) & 0xFF) + int((c >> 8) & 0xFF) + int(c & 0xFF);
}

CharPalette SkinPalette(const char* name) {
    for (const CharSkin& s : CharSkins())
        if (s.name == name) return s.palette;
    return {};
}

// The distance between two colours' channel proportions.
float HueDistance(uint32_t a, uint32_t b) {
    float d = 0;
    const float sa = (float)Brightness(a) + 1e-3f, sb = (float)Brightness(b) + 1e-3f;
    for (int c = 0; c < 3; ++c)
        d += std::fabs((float)((a >> (8 * c)) & 0xFF) / sa - (float)((b >> (8 * c)) & 0xFF) / sb);
    return d;
}

class CharPixels : public PixelTest {
  protected:
    CharPixels() : PixelTest(kSize, kSize, 0, 0, 0) {}
    void SetUp() override {
        PixelTest::SetUp();
        m_clock = std::make_unique<SkinClock>();
        model = chars.Loaded("AdultMale");
        walker = chars.Inst(model);
        ASSERT_NE(walker->mesh, nullptr);
        CharModelInstPlayAnim(walker, "AdultWalk");
        light = I3dLightAlloc();
        I3dLightSetType(light, 3);
        I3dLightSetDirection(light, -1, 0, 0); // from the camera
        D3dSetAmbient(0.2f, 0.2f, 0.2f);
    }
    void TearDown() override {
        chars.Free();
        m_clock.reset();
        PixelTest::TearDown();
        I3dTexTableFree();
    }
    // The frame at application time t.
    std::vector<uint32_t> FrameAt(double t) {
        m_clock->Advance(t - m_now);
        m_now = t;
        CharModelInstAnimate(walker);
        return Draw();
    }
    // Draws the pose as it stands.
    std::vector<uint32_t> Draw() {
        Frame();
        LookFrom({4, 0.9f, 0}, {0, 0.9f, 0}, 0.9f);
        Mat4 identity;
        I3dSetWorld(Mat4Identity(&identity));
        CharModelInstDraw(walker);
        ReadBack();
        return m_pixels;
    }
    static int Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
        int n = 0;
        for (size_t i = 0; i < a.size(); ++i)
            n += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
        return n;
    }
    uint32_t Chest() const { return AtPoint({0.2f, 1.25f, 0}); }

    CharKeeper chars;
    CharModel* model = nullptr;
    CharModelInst* walker = nullptr;
    int light = -1;
    std::unique_ptr<SkinClock> m_clock;
    double m_now = 0;
};

TEST_F(CharPixels, TheWalkMovesWithTheClockAndLoopsAfterASecond) {
    const std::vector<uint32_t> t0 = FrameAt(0);
    int drawn = 0;
    for (uint32_t p : t0)
        drawn += (p & 0xFFFFFF) != 0;
    EXPECT_GT(drawn, 1000) << "the character covers part of the frame";
    const std::vector<uint32_t> quarter = FrameAt(0.25);
    EXPECT_GE(Differing(t0, quarter), 50);
    const std::vector<uint32_t> again = FrameAt(1.0);
    EXPECT_EQ(Differing(t0, again), 0);
}

TEST_F(CharPixels, TheFacesTowardsTheLightAreLit) {
    FrameAt(0);
    const uint32_t lit = Chest();
    I3dLightEnable(light, 0);
    Draw();
    const uint32_t ambientOnly = Chest();
    EXPECT_GT(Brightness(ambientOnly), 0) << "the chest is drawn, so culling kept its face";
    EXPECT_GT(Brightness(lit), Brightness(ambientOnly) + 30);
}

TEST_F(CharPixels, ASkinRecoloursTheBody) {
    FrameAt(0);
    const uint32_t own = Chest();
    const int skin =
        I3dTexLoad((kCharData + "Characters/Maps/AdultMale3").c_str(), "AdultMale3.tga", 1);
    ASSERT_GE(skin, 0);
    CharModelInstSetSkin(walker, skin);
    Draw();
    const uint32_t skinned = Chest();
    CharModelInstSetSkin(walker, -1);
    I3dTexRelease(skin);
    EXPECT_NE(skinned, own) << "the chest takes the skin's shirt colour";
    // Lit grey scales a colour, so a paint shows in the channels' proportions: the paint the
    // own map shows there is the one the skin's map replaces.
    const CharPalette base = CharBasePalette(false), skinPaint = SkinPalette("AdultMale3");
    const uint32_t baseColours[6] = {base.skin,   base.hair,     base.shirt,
                                     base.accent, base.trousers, base.shoes};
    const uint32_t skinColours[6] = {skinPaint.skin,   skinPaint.hair,     skinPaint.shirt,
                                     skinPaint.accent, skinPaint.trousers, skinPaint.shoes};
    int paint = 0;
    for (int i = 1; i < 6; ++i)
        if (HueDistance(own, baseColours[i]) < HueDistance(own, baseColours[paint])) paint = i;
    EXPECT_LT(HueDistance(skinned, skinColours[paint]), HueDistance(skinned, baseColours[paint]))
        << std::hex << skinned << " " << own << " paint " << paint;
}

TEST_F(CharPixels, ALostDeviceBufferMadeAgainDrawsTheSame) {
    const std::vector<uint32_t> before = FrameAt(0.1);
    CharModelVbRelease();
    Draw();
    ASSERT_NE(CharModelVbCreate(), nullptr);
    const std::vector<uint32_t> after = Draw();
    EXPECT_EQ(Differing(before, after), 0);
}

} // namespace
