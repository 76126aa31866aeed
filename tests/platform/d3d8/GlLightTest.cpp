// Direct3D's lights, material and texture coordinates on real OpenGL (llvmpipe through EGL):
// lit quads seen through a perspective camera, read back through the lockable back buffer.
#include "I3d/Math/Mat4Math.h"
#include "platform/d3d8/GlDevice.h"
#include "tests/platform/d3d8/GlDeviceFixture.h"
#include "tests/platform/d3d8/PresentParams.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <limits>

namespace {

struct LitVertex {
    float x, y, z;
    float nx, ny, nz;
};

constexpr int W = 64, H = 64;

Mat4 Translation(float x, float y, float z) {
    Mat4 m{};
    m.m[0] = m.m[5] = m.m[10] = m.m[15] = 1.0f;
    m.m[12] = x, m.m[13] = y, m.m[14] = z;
    return m;
}

D3DLIGHT8 Directional(float x, float y, float z) {
    D3DLIGHT8 l{};
    l.Type = D3DLIGHT_DIRECTIONAL;
    l.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    l.Direction = {x, y, z};
    return l;
}

// Constant up to the range, as the light entities set it.
D3DLIGHT8 Point(float x, float y, float z, float range) {
    D3DLIGHT8 l = Directional(0, 0, 1);
    l.Type = D3DLIGHT_POINT;
    l.Position = {x, y, z};
    l.Range = range;
    l.Attenuation0 = 1.0f;
    return l;
}

struct GlLights : GlDeviceTest {
    void SetUp() override {
        CreateGlDevice(TestPresentParams(W, H));
        if (HasFatalFailure()) return;
        LookFrom(0.0f, 0.0f, -5.0f);
        Mat4 proj;
        Mat4Perspective(&proj, 3.141592f / 2.0f, 1.0f, 0.1f, 100.0f);
        dev->SetTransform(D3DTS_PROJECTION, &proj);
        Mat4 world = Translation(0, 0, 0);
        dev->SetTransform(D3DTS_WORLD, &world);
        dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        // The lit colour alone reaches the pixel.
        dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        dev->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        dev->SetRenderState(D3DRS_COLORVERTEX, 0);
        SetMaterial(0.5f, 0.0f, 0.0f);
        dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL);
        ASSERT_EQ(dev->Clear(0, nullptr, 7, 0xFF000000, 1.0f, 0), D3D_OK);
        ASSERT_EQ(dev->BeginScene(), D3D_OK);
    }

    void LookFrom(float x, float y, float z) {
        VECTOR3 eye = {x, y, z}, at = {0, 0, 0}, up = {0, 1, 0};
        Mat4 view;
        Mat4LookAt(&view, &eye, &at, &up);
        dev->SetTransform(D3DTS_VIEW, &view);
    }
    void SetMaterial(float diffuse, float specular, float power) {
        D3DMATERIAL8 m{};
        m.Diffuse = {diffuse, diffuse, diffuse, 1.0f};
        m.Specular = {specular, specular, specular, 1.0f};
        m.Power = power;
        ASSERT_EQ(dev->SetMaterial(&m), D3D_OK);
    }
    // A 2 x 2 quad in the z = 0 plane of its world matrix, facing -z (the camera).
    void Quad(float worldX = 0.0f) {
        Mat4 world = Translation(worldX, 0, 0);
        dev->SetTransform(D3DTS_WORLD, &world);
        const LitVertex v[4] = {
            {-1, 1, 0, 0, 0, -1}, {1, 1, 0, 0, 0, -1}, {1, -1, 0, 0, 0, -1}, {-1, -1, 0, 0, 0, -1}};
        ASSERT_EQ(dev->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(LitVertex)), D3D_OK);
    }
    int Red(int x, int y) {
        IDirect3DSurface8* rt = nullptr;
        EXPECT_EQ(dev->GetRenderTarget(&rt), D3D_OK);
        D3DLOCKED_RECT lr{};
        RECT r{x, y, x + 1, y + 1};
        int red = -1;
        if (rt->LockRect(&lr, &r, D3DLOCK_READONLY) == D3D_OK) {
            red = (int)((*static_cast<const D3DCOLOR*>(lr.pBits) >> 16) & 0xFF);
            rt->UnlockRect();
        }
        rt->Release();
        return red;
    }
    int GlLightsInUse() {
        auto* gl = static_cast<D3dGlDevice*>(dev);
        int n = 0;
        for (int g = 0; g < gl->GlLightCount(); ++g)
            n += gl->GlLightIndex(g) >= 0 && glIsEnabled(GL_LIGHT0 + (GLenum)g) ? 1 : 0;
        return n;
    }
};

TEST_F(GlLights, ADirectionalLightStaysInWorldSpaceWhenTheViewChanges) {
    D3DLIGHT8 l = Directional(0, 0, 1);
    ASSERT_EQ(dev->SetLight(0, &l), D3D_OK);
    ASSERT_EQ(dev->LightEnable(0, 1), D3D_OK);
    Quad();
    int before = Red(W / 2, H / 2);
    EXPECT_NEAR(before, 128, 2) << "a head-on white light on a 0.5 grey material";
    LookFrom(3.0f, 1.0f, -4.0f); // the quad at a slant: same normal, same light in the world
    dev->Clear(0, nullptr, 7, 0xFF000000, 1.0f, 0);
    Quad();
    EXPECT_NEAR(Red(W / 2, H / 2), before, 2)
        << "the light was left where the old view put it in eye space";
}

TEST_F(GlLights, APointLightLightsOnlyDrawsWithinItsRange) {
    D3DLIGHT8 l = Point(-1.5f, 0, -1.0f, 2.0f);
    ASSERT_EQ(dev->SetLight(3, &l), D3D_OK);
    ASSERT_EQ(dev->LightEnable(3, 1), D3D_OK);
    Quad(-1.5f); // origin 1 from the light
    Quad(1.5f);  // origin beyond the range of 2
    EXPECT_GT(Red(W / 2 - 12, H / 2), 50) << "the quad inside the range is lit";
    EXPECT_EQ(Red(W / 2 + 12, H / 2), 0)
        << "constant attenuation would light the whole world without the range";
}

TEST_F(GlLights, TwelveLightsDrawWithAtMostEightDirectionalFirst) {
    D3DLIGHT8 d = Directional(0, 0, 1);
    d.Diffuse = {0.05f, 0.05f, 0.05f, 1.0f};
    for (DWORD i = 0; i < 12; ++i) {
        // Far enough that every corner of the quad faces each light almost head-on.
        D3DLIGHT8 l = i == 10 ? d : Point(0, 0, -20.0f - (float)i, 100.0f);
        l.Diffuse = {0.05f, 0.05f, 0.05f, 1.0f};
        ASSERT_EQ(dev->SetLight(i, &l), D3D_OK);
        ASSERT_EQ(dev->LightEnable(i, 1), D3D_OK);
    }
    Quad();
    EXPECT_EQ(GlLightsInUse(), 8);
    auto* gl = static_cast<D3dGlDevice*>(dev);
    EXPECT_EQ(gl->GlLightIndex(0), 10) << "directional lights come first";
    for (int g = 1; g < 8; ++g)
        EXPECT_LT(gl->GlLightIndex(g), 7) << "then the nearest point lights";
    EXPECT_NEAR(Red(W / 2, H / 2), 51, 3) << "eight lights of 0.05 on a 0.5 material";
}

TEST_F(GlLights, SpecularShowsOnlyWithSpecularEnable) {
    D3DLIGHT8 l = Directional(0, 0, 1);
    l.Specular = {1.0f, 1.0f, 1.0f, 1.0f};
    ASSERT_EQ(dev->SetLight(0, &l), D3D_OK);
    ASSERT_EQ(dev->LightEnable(0, 1), D3D_OK);
    SetMaterial(0.25f, 1.0f, 10.0f);
    Quad();
    EXPECT_NEAR(Red(W / 2, H / 2), 64, 2) << "no highlight without SPECULARENABLE";
    dev->SetRenderState(D3DRS_SPECULARENABLE, 1);
    Quad();
    EXPECT_GT(Red(W / 2, H / 2), 200) << "the head-on highlight adds to the diffuse light";
    SetMaterial(0.25f, 1.0f, 500.0f); // beyond GL's 128: clamped, not refused
    Quad();
}

TEST_F(GlLights, BadLightValuesAddNothingAndRaiseNoGlError) {
    D3DLIGHT8 nan = Directional(std::numeric_limits<float>::quiet_NaN(), 0, 1);
    ASSERT_EQ(dev->SetLight(0, &nan), D3D_OK);
    ASSERT_EQ(dev->LightEnable(0, 1), D3D_OK);
    Quad();
    EXPECT_EQ(Red(W / 2, H / 2), 0) << "a NaN direction must light nothing";
    D3DLIGHT8 spot = Point(0, 0, -2.0f, 100.0f);
    spot.Type = D3DLIGHT_SPOT;
    spot.Theta = 2.5f, spot.Phi = 3.75f; // beyond GL's 90-degree cut-off: clamped
    spot.Attenuation0 = -1.0f;           // GL refuses negative attenuation
    ASSERT_EQ(dev->SetLight(1, &spot), D3D_OK);
    ASSERT_EQ(dev->LightEnable(1, 1), D3D_OK);
    Quad();
    EXPECT_GT(Red(W / 2, H / 2), 0) << "the widest spot still lights what is ahead of it";
}

TEST_F(GlLights, VertexColoursFeedTheMaterialOnlyWithColorVertex) {
    struct V {
        float x, y, z, nx, ny, nz;
        D3DCOLOR c;
    } v[4] = {{-1, 1, 0, 0, 0, -1, 0xFFFF0000},
              {1, 1, 0, 0, 0, -1, 0xFFFF0000},
              {1, -1, 0, 0, 0, -1, 0xFFFF0000},
              {-1, -1, 0, 0, 0, -1, 0xFFFF0000}};
    D3DLIGHT8 l = Directional(0, 0, 1);
    dev->SetLight(0, &l);
    dev->LightEnable(0, 1);
    dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE);
    dev->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    ASSERT_EQ(dev->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(V)), D3D_OK);
    EXPECT_NEAR(Red(W / 2, H / 2), 128, 2) << "COLORVERTEX off: the material's 0.5 grey";
    dev->SetRenderState(D3DRS_COLORVERTEX, 1);
    ASSERT_EQ(dev->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(V)), D3D_OK);
    EXPECT_EQ(Red(W / 2, H / 2), 255) << "COLORVERTEX on: the vertex's red";
    dev->SetRenderState(D3DRS_COLORVERTEX, 0);
    dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL);
    Quad();
    EXPECT_NEAR(Red(W / 2, H / 2), 128, 2) << "the vertex colour stayed in GL's material";
}

} // namespace
