// Rendering into a texture on OpenGL (llvmpipe, offscreen): what is drawn into the texture shows
// the right way up when the texture is drawn, depth works inside it, the back buffer comes back,
// and the whole survives a device reset that the caller's resources allow.
#include "I3d/Math/Mat4Math.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/support/TexturedQuad.h"

#include <GL/gl.h>

namespace {

constexpr int kEdge = 64;

class RenderToTexture : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        CreateOffscreen();
        MakeTarget();
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR) << "rendering into a texture left a GL error";
        KernelTest::TearDown();
    }
    // The caller's part: a render-target texture in a slot and its depth surface, handed to the
    // kernel (which keeps its own references).
    void MakeTarget() {
        m_slot = D3dTexCreate(kEdge, kEdge, I3DTEX_A8R8G8B8, 1, "mirror", 1);
        ASSERT_GE(m_slot, 0);
        IDirect3DSurface8* depth = nullptr;
        ASSERT_EQ(D3dDevice()->CreateDepthStencilSurface(kEdge, kEdge, D3DFMT_D24S8,
                                                         D3DMULTISAMPLE_NONE, &depth),
                  D3D_OK);
        D3dSetRenderTexture(Texture(), kEdge, depth);
        depth->Release();
    }
    // What the caller does in its device-lost step.
    void DropTarget() {
        D3dSetRenderTexture(nullptr, 0, nullptr);
        I3dTexRelease(m_slot);
        m_slot = -1;
    }
    IDirect3DTexture8* Texture() const {
        return static_cast<IDirect3DTexture8*>(I3dTexGetSlot(m_slot)->texture);
    }
    static void Quad(float x0, float y0, float x1, float y1, float z, D3DCOLOR c) {
        struct V {
            float x, y, z;
            D3DCOLOR c;
        } v[4] = {{x0, y0, z, c}, {x1, y0, z, c}, {x1, y1, z, c}, {x0, y1, z, c}}; // clockwise
        ASSERT_EQ(D3dDevice()->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof v[0]), D3D_OK);
    }
    // Into the texture: green, its top-left quarter red, and in its top-right quarter a blue
    // quad in front of a yellow one drawn after it. Direct3D's default culling stays on, so a
    // turned winding sense would lose the quads.
    static void DrawScene() {
        IDirect3DDevice8* dev = D3dDevice();
        D3dSetClearColor(0.0f, 1.0f, 0.0f);
        ASSERT_EQ(D3dClear(7), D3D_OK);
        Mat4 ortho;
        dev->SetTransform(D3DTS_PROJECTION, Mat4OrthoScreen(&ortho, kEdge, kEdge));
        dev->SetRenderState(D3DRS_LIGHTING, 0);
        dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        dev->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        dev->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        dev->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        dev->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
        Quad(-0.5f, -0.5f, 31.5f, 31.5f, 0.5f, 0xFFFF0000);
        Quad(31.5f, -0.5f, 63.5f, 31.5f, 0.2f, 0xFF0000FF);
        Quad(31.5f, -0.5f, 63.5f, 31.5f, 0.8f, 0xFFFFFF00);
    }
    // Renders the scene into the texture, then draws the texture 1:1 at (100, 200) on black.
    void RenderAndShow() {
        ASSERT_EQ(D3dBeginScene(), 0);
        ASSERT_EQ(D3dRenderToTextureBegin(), D3D_OK);
        int w = 0, h = 0;
        I3dGetScreenSize(&w, &h);
        EXPECT_EQ(w, kEdge) << "the frame is drawn at the texture's size meanwhile";
        EXPECT_EQ(h, kEdge);
        DrawScene();
        ASSERT_EQ(D3dRenderToTextureEnd(), D3D_OK);
        I3dGetScreenSize(&w, &h);
        EXPECT_EQ(w, 1024);
        EXPECT_EQ(h, 768);

        IDirect3DDevice8* dev = D3dDevice();
        D3dSetClearColor(0.0f, 0.0f, 0.0f);
        ASSERT_EQ(D3dClear(7), D3D_OK);
        TexQuadSetup(dev, 1024, 768);
        dev->SetTexture(0, Texture());
        ASSERT_EQ(TexQuadDraw(dev, 100, 200, kEdge, kEdge), D3D_OK);
        dev->SetTexture(0, nullptr);
        ASSERT_EQ(D3dEndScene(), 0);
    }
    void ExpectScene() {
        EXPECT_EQ(D3dReadPixel(100 + 8, 200 + 8) & 0xFFFFFF, 0xFF0000u)
            << "the texture's top-left quarter is red; elsewhere it came out turned over";
        EXPECT_EQ(D3dReadPixel(100 + 56, 200 + 8) & 0xFFFFFF, 0x0000FFu)
            << "the nearer quad is in front: the texture's own depth buffer is in use";
        EXPECT_EQ(D3dReadPixel(100 + 8, 200 + 56) & 0xFFFFFF, 0x00FF00u);
        EXPECT_EQ(D3dReadPixel(100 + 56, 200 + 56) & 0xFFFFFF, 0x00FF00u);
        EXPECT_EQ(D3dReadPixel(99, 199) & 0xFFFFFF, 0u) << "the texture is drawn where asked";
        EXPECT_EQ(D3dReadPixel(100 + kEdge, 200 + kEdge) & 0xFFFFFF, 0u);
    }

    int m_slot = -1;
};

TEST_F(RenderToTexture, WhatIsDrawnIntoTheTextureShowsWhenTheTextureIsDrawn) {
    RenderAndShow();
    ExpectScene();
    std::vector<uint8_t> texels;
    ASSERT_TRUE(D3dTestReadTextureLevel(Texture(), 0, 0, &texels));
    EXPECT_EQ(texels[2], 255) << "the texture's first row is the top of what was drawn (red)";
    EXPECT_EQ(texels[1], 0);
    DropTarget();
}

TEST_F(RenderToTexture, WorksAgainAfterADeviceReset) {
    RenderAndShow();
    D3dTestLoseDevice(D3dDevice());
    EXPECT_EQ(D3dDeviceOk(), 0);
    ASSERT_EQ(D3dDeviceNeedsReset(), 1);
    EXPECT_EQ(D3dReset(), -1) << "the texture is a default-pool resource held past the loss";
    DropTarget();
    ASSERT_EQ(D3dReset(), 0) << "the switch left a reference on a target or depth surface";
    I3dResetStateCache();
    MakeTarget();
    RenderAndShow();
    ExpectScene();
    DropTarget();
}

TEST_F(RenderToTexture, UnpairedOrUnpreparedCallsChangeNothing) {
    EXPECT_EQ(D3dRenderToTextureEnd(), D3DERR_INVALIDCALL);
    ASSERT_EQ(D3dRenderToTextureBegin(), D3D_OK);
    EXPECT_EQ(D3dRenderToTextureBegin(), D3DERR_INVALIDCALL) << "Begin twice";
    int w = 0, h = 0;
    I3dGetScreenSize(&w, &h);
    EXPECT_EQ(w, kEdge);
    ASSERT_EQ(D3dRenderToTextureEnd(), D3D_OK);
    I3dGetScreenSize(&w, &h);
    EXPECT_EQ(w, 1024) << "the second Begin must not have saved the texture's size";
    DropTarget();
    EXPECT_EQ(D3dRenderToTextureBegin(), D3DERR_INVALIDCALL) << "no texture set";
    I3dGetScreenSize(&w, &h);
    EXPECT_EQ(w, 1024);
}

TEST_F(RenderToTexture, ATargetWithoutDepthClearsItsColourWhenZIsAskedFor) {
    D3dSetRenderTexture(Texture(), kEdge, nullptr);
    ASSERT_EQ(D3dRenderToTextureBegin(), D3D_OK);
    D3dSetClearColor(1.0f, 0.0f, 0.0f);
    EXPECT_EQ(D3dClear(7), D3D_OK) << "Z and stencil of a target that has none";
    ASSERT_EQ(D3dRenderToTextureEnd(), D3D_OK);
}

TEST_F(RenderToTexture, TheLayerRefusesTargetsItCannotRenderInto) {
    IDirect3DDevice8* dev = D3dDevice();
    IDirect3DSurface8 *backBuffer = nullptr, *autoDepth = nullptr, *level = nullptr;
    ASSERT_EQ(dev->GetRenderTarget(&backBuffer), D3D_OK);
    ASSERT_EQ(dev->GetDepthStencilSurface(&autoDepth), D3D_OK);
    ASSERT_EQ(Texture()->GetSurfaceLevel(0, &level), D3D_OK);
    IDirect3DTexture8* plain = nullptr;
    ASSERT_EQ(dev->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &plain), D3D_OK);
    IDirect3DSurface8* plainLevel = nullptr;
    ASSERT_EQ(plain->GetSurfaceLevel(0, &plainLevel), D3D_OK);
    IDirect3DSurface8* small = nullptr;
    ASSERT_EQ(dev->CreateDepthStencilSurface(16, 16, D3DFMT_D16, D3DMULTISAMPLE_NONE, &small),
              D3D_OK);

    EXPECT_EQ(dev->SetRenderTarget(plainLevel, nullptr), D3DERR_INVALIDCALL)
        << "a texture not made as a render target";
    EXPECT_EQ(dev->SetRenderTarget(level, small), D3DERR_INVALIDCALL) << "depth smaller";
    EXPECT_EQ(dev->SetRenderTarget(level, autoDepth), D3DERR_INVALIDCALL);
    EXPECT_EQ(dev->SetRenderTarget(backBuffer, small), D3DERR_INVALIDCALL);
    IDirect3DSurface8* now = nullptr;
    ASSERT_EQ(dev->GetRenderTarget(&now), D3D_OK);
    EXPECT_EQ(now, backBuffer) << "a refused switch changes nothing";
    now->Release();
    IDirect3DSurface8* none = nullptr;
    EXPECT_EQ(dev->CreateDepthStencilSurface(16, 16, D3DFMT_D15S1, D3DMULTISAMPLE_NONE, &none),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(none, nullptr);

    for (IDirect3DSurface8* s : {backBuffer, autoDepth, level, plainLevel, small})
        s->Release();
    plain->Release();
    DropTarget();
}

} // namespace
