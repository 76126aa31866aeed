// The lens flare on the recording layer over a real terrain: its fade by the line query sent to
// the whole tree (a hill between the eye and the sun, the sun off screen), the halos' texture
// factors, and its value table.
#include "I3d/Buffers.h"
#include "I3d/Frustum.h"
#include "I3d/StateCache.h"
#include "engine/VarTable.h"
#include "tests/world/SunFixture.h"

#include <cmath>
#include <cstring>

namespace {

class LensFlareTest : public SunFixture {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartWorld(false);
    }
    // A sun around the eye, low in the sky towards +x (over the hill) or -x (off the ground).
    Sun* SunFrom(VECTOR3 eye, float azimuth) {
        auto* sun = Make<Sun>("Sun", world, "Sun");
        sun->center = eye;
        sun->azimuth = azimuth;
        sun->elevation = 0.2f;
        sun->Start();
        sun->VarsChanged();
        LookFrom(eye, sun->pos);
        return sun;
    }
    // One frame of the flare: its update with dt, then its first walk.
    static void Frame(LensFlare* f, float dt) {
        EntTreeUpdate(EntGetRoot(f), dt);
        f->DrawPre();
    }
    const VECTOR3 eye = {40.0f, 10.0f, 128.0f};
};

TEST_F(LensFlareTest, FadesInWhileClearAndOutBehindTheHill) {
    MakeTerrain(true);
    Sun* sun = SunFrom(eye, 3.1415927f);
    LensFlare* f = sun->Flare();
    ASSERT_NE(f, nullptr);
    Frame(f, 0.1f);
    EXPECT_NEAR(f->masterAlpha, 0.278f, 1e-5f) << "2.78 a second while nothing is in the way";
    for (int i = 0; i < 3; ++i)
        Frame(f, 0.1f);
    EXPECT_NEAR(f->masterAlpha, 1.0f, 1e-5f);
    Frame(f, 0.1f);
    EXPECT_EQ(f->masterAlpha, 1.0f) << "capped at 1";

    // The sun behind the hill: the terrain answers the query.
    sun->azimuth = 0.0f;
    sun->VarsChanged();
    LookFrom(eye, sun->pos);
    Frame(f, 0.1f);
    EXPECT_NEAR(f->masterAlpha, 0.722f, 1e-5f);
    for (int i = 0; i < 3; ++i)
        Frame(f, 0.1f);
    EXPECT_NEAR(f->masterAlpha, 0.0f, 1e-5f);
    Frame(f, 0.1f);
    EXPECT_EQ(f->masterAlpha, 0.0f) << "floored at 0";
    Log().Clear();
    Frame(f, 0.1f);
    EXPECT_EQ(Log().Count("DrawPrimitive") + Log().Count("DrawIndexedPrimitive"), 0)
        << "nothing drawn at alpha 0";
}

TEST_F(LensFlareTest, FadesOutOffScreenAndStaysHiddenBelowTheHorizon) {
    MakeTerrain(false);
    Sun* sun = SunFrom(eye, 0.0f);
    LensFlare* f = sun->Flare();
    for (int i = 0; i < 4; ++i)
        Frame(f, 0.1f);
    ASSERT_NEAR(f->masterAlpha, 1.0f, 1e-5f) << "flat ground hides nothing";
    LookFrom(eye, {eye.x - 100.0f, eye.y, eye.z}); // the sun behind the eye
    Frame(f, 0.2f);
    EXPECT_NEAR(f->masterAlpha, 1.0f - 0.556f, 1e-5f);

    // Below 5 degrees the sun hides the flare: no fading, no drawing.
    LookFrom(eye, sun->pos);
    sun->elevation = 0.05f;
    sun->VarsChanged();
    const float held = f->masterAlpha;
    Log().Clear();
    EXPECT_EQ(f->DrawPre(), 0);
    EXPECT_EQ(f->masterAlpha, held);
    EXPECT_EQ(Log().Count("DrawPrimitive") + Log().Count("DrawIndexedPrimitive"), 0);
}

// An eye standing on the sun itself has no direction to ask along: the point lies on the eye
// plane, counts as off screen, and the flare fades without a query.
TEST_F(LensFlareTest, AnEyeAtTheSunAsksNothingAndFades) {
    MakeTerrain(true);
    Sun* sun = SunFrom(eye, 0.0f);
    LensFlare* f = sun->Flare();
    f->masterAlpha = 0.5f;
    LookFrom(sun->pos, {sun->pos.x + 10.0f, sun->pos.y, sun->pos.z});
    Frame(f, 0.1f);
    EXPECT_NEAR(f->masterAlpha, 0.5f - 0.278f, 1e-5f);
    EXPECT_TRUE(std::isfinite(f->masterAlpha));
}

// Each halo's texture factor is "color" with alpha = its alpha x masterAlpha x f, truncated,
// f = 0.125 + 0.087 x the z of the normalised projected point.
TEST_F(LensFlareTest, HaloFactorsAreTheTruncatedProduct) {
    Sun* sun = SunFrom(eye, 3.1415927f);
    LensFlare* f = sun->Flare();
    f->color = 0xC0406080u;
    f->masterAlpha = 0.7f;
    Frame(f, 0.0f);
    Mat4 identity;
    I3dSetWorld(Mat4Identity(&identity));
    float p[3];
    I3dProjectPoint(&f->pos, p);
    const float len = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
    const float k = 0.125f + 0.087f * p[2] / len;
    const uint32_t want = 0x406080u | uint32_t(192.0f * 0.7f * k) << 24;
    EXPECT_EQ(f->HaloFactor(k), want);

    I3dResetStateCache();
    Log().Clear();
    Frame(f, 0.0f);
    int factors = 0;
    for (const D3dCall& c : Log().Named("SetRenderState"))
        factors += c.args[0] == D3DRS_TEXTUREFACTOR && c.args[1] == want;
    EXPECT_GE(factors, 1);
    EXPECT_EQ(D3dGetRenderState(D3DRS_TEXTUREFACTOR), want);
    EXPECT_EQ(Log().Count("DrawPrimitive") + Log().Count("DrawIndexedPrimitive") +
                  Log().Count("DrawPrimitiveUP") + Log().Count("DrawIndexedPrimitiveUP"),
              LENS_HALOS);
    EXPECT_EQ(D3dGetRenderState(D3DRS_ZWRITEENABLE), 1u);
    Mat4 view;
    I3dGetViewMatrix(&view);
    EXPECT_NE(view.m[0], 1.0f) << "the camera's view is put back";
    // Extreme values stay within a byte.
    f->masterAlpha = 5.0f;
    EXPECT_EQ(f->HaloFactor(1.0f) >> 24, 255u);
    f->masterAlpha = -1.0f;
    EXPECT_EQ(f->HaloFactor(1.0f) >> 24, 0u);
}

// The last quad written into the current ring: its 4 corners.
void LastQuad(I3dVertexBuffer* vb, VECTOR3 out[4]) {
    BYTE* p = nullptr;
    ASSERT_EQ(vb->buffer->Lock(UINT(vb->lastStart * vb->stride), UINT(4 * vb->stride), &p, 0), 0);
    for (int i = 0; i < 4; ++i)
        std::memcpy(&out[i], p + i * vb->stride + vb->offPos, sizeof(VECTOR3));
    vb->buffer->Unlock();
}

// Under the identity projection a halo at axis k is centred on (k x, k y) of the sun's projected
// point, on the line through the screen centre, and its height is its width times the aspect
// ratio, so that it stays round; the last halo drawn is halo 7 at -0.86.
TEST_F(LensFlareTest, HalosLieOnTheLineThroughTheSunAndStayRound) {
    Sun* sun = SunFrom(eye, 3.1415927f);
    LensFlare* f = sun->Flare();
    LookFrom(eye, {sun->pos.x, sun->pos.y - 200.0f, sun->pos.z + 300.0f});
    f->masterAlpha = 1.0f;
    Mat4 identity;
    I3dSetWorld(Mat4Identity(&identity));
    float p[3];
    I3dProjectPoint(&f->pos, p);
    ASSERT_GT(std::fabs(p[0]), 0.2f) << "the sun should stand off the centre";
    Frame(f, 0.0f);
    VECTOR3 q[4];
    LastQuad(m_currentVb, q);
    const float a = I3dGetAspect(), half = 0.0848475f * 2.0f;
    EXPECT_NEAR((q[0].x + q[2].x) / 2, -0.86f * p[0], 1e-4f);
    EXPECT_NEAR((q[0].y + q[2].y) / 2, -0.86f * p[1], 1e-4f);
    EXPECT_NEAR(q[2].x - q[0].x, 2 * half, 1e-4f);
    EXPECT_NEAR(q[2].y - q[0].y, 2 * half * a, 1e-4f);

    // The glare's quad, for comparison: 1.5 across and 1.5 x the aspect ratio up.
    LookFrom(eye, sun->pos);
    sun->Hook15();
    LastQuad(m_currentVb, q);
    EXPECT_FLOAT_EQ(q[0].x, -1.5f);
    EXPECT_FLOAT_EQ(q[0].y, -1.5f * a);
    EXPECT_FLOAT_EQ(q[2].y, 1.5f * a);
}

TEST_F(LensFlareTest, ValueTableAndHook) {
    auto* f = Make<LensFlare>("LensFlare", root, "Flare");
    ASSERT_NE(f->GetInstanceVarTable(), nullptr);
    EXPECT_TRUE(f->SetFloat("masterAlpha", 0.5f));
    EXPECT_EQ(f->masterAlpha, 0.5f);
    EXPECT_TRUE(f->SetColor3("color", 1.0f, 0.0f, 0.0f));
    EXPECT_EQ(f->color & 0xFFFFFF, 0xFF0000u);
    EXPECT_TRUE(f->TestFlag(0x1));
    EXPECT_EQ(f->Dispatch(26, 0, 1, 0), 1);
    EXPECT_FALSE(f->TestFlag(0x1)) << "message 26 with 1 shows it";
    f->Dispatch(26, 0, 0, 0);
    EXPECT_TRUE(f->TestFlag(0x1));
    EXPECT_EQ(f->halos[7].axis, -0.86f);
    EXPECT_EQ(f->halos[7].texture, 1);
    f->Update(0.04f);
    EXPECT_EQ(EcLensFlareFrameTime(), 0.04f);
}

} // namespace
