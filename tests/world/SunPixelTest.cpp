// The sun, the time of day and the lens flare on OpenGL (llvmpipe through EGL, offscreen), read
// back: the white disc where the sun projects, the zenith the time of day colours, and halos
// along the line through the screen centre that show while the sun is clear and not while a
// terrain hill covers it.
#include "I3d/Frustum.h"
#include "tests/world/SunFixture.h"
#include "world/EntViewport.h"
#include "world/SkyDome.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kW = 320, kH = 240;

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int s = 0; s < 24; s += 8)
        if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > tolerance) return false;
    return true;
}

class SunPixels : public SunFixture {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartWorld(true, kW, kH);
        // What the viewport draws; the flare's parent is its last child.
        EntDestroyTree(veryLast);
        veryLast = nullptr; // Finish makes the one under the sky
        sky = Make("EntNull", root, "Sky");
        dome = Make<SkyDome>("SkyDome", sky, "SkyDome");
        viewport = Make<EntViewport>("Viewport", viewports, "Main");
        viewport->SetVoid("entDrawRoot", (intptr_t)sky);
        viewport->clear = 1;
    }
    void Camera(VECTOR3 eye, VECTOR3 at) {
        if (!cam) {
            cam = MakeCamera(sky, "Cam", eye, at, 1.0f);
            viewport->SetVoid("entCamera", (intptr_t)cam);
        }
        const VECTOR3 up = {0.0f, 1.0f, 0.0f};
        Mat4LookAt(&cam->desc.view, &eye, &at, &up);
        cam->desc.eye = eye;
    }
    void Finish() {
        veryLast = Make("EntNull", sky, "VeryLast");
        EntTreeStart(sky);
    }
    // One frame: the update walk with dt, then the first draw walk.
    void Frame(float dt) {
        EntTreeUpdate(root, dt);
        ASSERT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(viewports);
        D3dEndScene();
    }
    // The pixel of a world point under the view and projection the last frame was drawn with.
    static void Pixel(VECTOR3 p, int* sx, int* sy) {
        Mat4 identity;
        I3dSetWorld(Mat4Identity(&identity));
        float s[3];
        I3dProjectPoint(&p, s);
        *sx = int(std::lround((s[0] + 1) * kW / 2));
        *sy = int(std::lround((1 - s[1]) * kH / 2));
    }

    ENTBASE* sky = nullptr;
    SkyDome* dome = nullptr;
    EntViewport* viewport = nullptr;
    TestCamera* cam = nullptr;
};

TEST_F(SunPixels, TheDiscIsWhiteWhereTheSunProjects) {
    auto* sun = Make<Sun>("Sun", sky, "Sun");
    auto* tod = Make<EntTimeOfDay>("TimeOfDay", sky, "TimeOfDay");
    tod->time = 0.375f;
    tod->timeScale = 0.0f;
    Finish();
    tod->VarsChanged();
    ASSERT_NEAR(sun->elevation, 0.7853982f, 1e-5f);
    // Looking past the sun, so that it stands off the screen centre.
    Camera({0, 0, 0}, {sun->pos.x, sun->pos.y - 120.0f, sun->pos.z + 160.0f});
    Frame(0.0f);
    int sx, sy;
    Pixel(sun->pos, &sx, &sy);
    ASSERT_TRUE(sx > 20 && sx < kW - 20 && sy > 20 && sy < kH - 20) << sx << ", " << sy;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            EXPECT_PRED3(Near, D3dReadPixel(sx + dx, sy + dy) | 0xFF000000u, 0xFFFFFFFFu, 2)
                << std::hex << D3dReadPixel(sx + dx, sy + dy) << " at " << std::dec << sx + dx
                << ", " << sy + dy;
    // The disc's quad reaches 45 units from its centre at 1000 (1000 x scale 0.0225 x 2 at this
    // hour): some 10 pixels. Its solid core is half of that; 7 pixels out its soft edge still
    // lightens the sky, 14 pixels out there is sky alone.
    const uint32_t sky = D3dReadPixel(sx + 20, sy);
    EXPECT_FALSE(Near(sky, 0xFFFFFFFFu, 40));
    EXPECT_PRED3(Near, D3dReadPixel(sx + 14, sy), sky, 3);
    int gain = 0;
    for (int s = 0; s < 24; s += 8)
        gain += int((D3dReadPixel(sx + 7, sy) >> s) & 0xFF) - int((sky >> s) & 0xFF);
    EXPECT_GE(gain, 40) << "the disc's edge is not where its size puts it";
}

TEST_F(SunPixels, TheZenithHasTheTimeOfDaysColour) {
    Make<Sun>("Sun", sky, "Sun");
    auto* tod = Make<EntTimeOfDay>("TimeOfDay", sky, "TimeOfDay");
    tod->timeScale = 0.0f;
    Finish();
    // The dome's centre lies yOffset below its position.
    Camera({0, -80, 0}, {0, 1000, 0.01f});
    tod->time = 0.2f;
    Frame(0.0f);
    EXPECT_PRED3(Near, D3dReadPixel(kW / 2, kH / 2), 0xFF262633u, 2)
        << std::hex << D3dReadPixel(kW / 2, kH / 2);
    tod->time = 0.25f;
    Frame(0.0f);
    EXPECT_PRED3(Near, D3dReadPixel(kW / 2, kH / 2), 0xFF39394Cu, 2)
        << std::hex << D3dReadPixel(kW / 2, kH / 2);
}

// A low sun towards -x is clear of the ground; towards +x the hill covers it.
TEST_F(SunPixels, HalosShowAlongTheAxisWhileTheSunIsClear) {
    MakeTerrain(true);
    const VECTOR3 eye = {40.0f, 10.0f, 128.0f};
    for (float azimuth : {3.1415927f, 0.0f}) {
        const bool clear = azimuth != 0.0f;
        auto* sun = Make<Sun>("Sun", sky, "Sun");
        sun->center = eye;
        sun->azimuth = azimuth;
        sun->elevation = 0.2f;
        sun->scale = 0.02f; // a disc of 40 units, not of the whole sky
        if (!veryLast) Finish();
        sun->Start();
        sun->VarsChanged();
        const VECTOR3 off = {sun->pos.x - eye.x, sun->pos.y - eye.y, sun->pos.z - eye.z};
        // Aimed beside and below the sun, so that the halos spread across the screen.
        Camera(eye, {eye.x + off.x, eye.y + off.y - 150.0f, eye.z + off.z + 250.0f});
        Frame(0.0f);
        float s[3];
        Mat4 identity;
        I3dSetWorld(Mat4Identity(&identity));
        I3dProjectPoint(&sun->pos, s);
        ASSERT_TRUE(std::fabs(s[0]) < 0.9f && std::fabs(s[1]) < 0.9f && s[2] > 0)
            << s[0] << ", " << s[1];
        // Halos 2 (axis 0.36) and 6 (axis -0.65), both of the soft disc.
        int px[2], py[2];
        const float axes[2] = {0.36f, -0.65f};
        uint32_t before[2];
        for (int h = 0; h < 2; ++h) {
            px[h] = int(std::lround((s[0] * axes[h] + 1) * kW / 2));
            py[h] = int(std::lround((1 - s[1] * axes[h]) * kH / 2));
            before[h] = D3dReadPixel(px[h], py[h]);
        }
        for (int i = 0; i < 5; ++i)
            Frame(0.1f);
        LensFlare* f = sun->Flare();
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->masterAlpha, clear ? 1.0f : 0.0f);
        for (int h = 0; h < 2; ++h) {
            const uint32_t after = D3dReadPixel(px[h], py[h]);
            // A white halo at alpha of some 37 lightens every channel by its share of the
            // distance to white.
            int gain = 0, darker = 0;
            for (int sh = 0; sh < 24; sh += 8) {
                const int d = int((after >> sh) & 0xFF) - int((before[h] >> sh) & 0xFF);
                gain += d;
                darker += d < 0;
            }
            if (clear)
                EXPECT_TRUE(gain >= 15 && darker == 0)
                    << "halo " << h << " at " << px[h] << ", " << py[h] << ": " << std::hex
                    << before[h] << " -> " << after;
            else
                EXPECT_EQ(after, before[h]) << "halo " << h << " drawn behind the hill";
        }
        EntDestroyTree(sun);
    }
}

} // namespace
