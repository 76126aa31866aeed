// The layer's Direct3D conventions on real OpenGL (Mesa's llvmpipe through EGL, no display):
// one small drawing per rule, read back through the lockable back buffer.
#include "I3d/Math/Mat4Math.h"
#include "platform/d3d8/D3d8.h"
#include "tests/platform/d3d8/GlDeviceFixture.h"
#include "tests/platform/d3d8/PresentParams.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Vertex {
    float x, y, z;
    D3DCOLOR color;
};

constexpr int W = 64, H = 32;

struct GlPixels : GlDeviceTest {
    void SetUp() override {
        CreateGlDevice(TestPresentParams(W, H));
        if (HasFatalFailure()) return;
        D3DMATRIX ortho;
        Mat4OrthoScreen(&ortho, W, H);
        dev->SetTransform(D3DTS_PROJECTION, &ortho);
        dev->SetRenderState(D3DRS_LIGHTING, 0);
        dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        // The diffuse colour alone reaches the pixel.
        dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        dev->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        dev->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
        ASSERT_EQ(dev->Clear(0, nullptr, 7, 0xFF000000, 1.0f, 0), D3D_OK);
        ASSERT_EQ(dev->BeginScene(), D3D_OK);
    }

    // Clockwise on screen (y grows downwards) unless `ccw`.
    void Quad(float x0, float y0, float x1, float y1, float z, D3DCOLOR c, bool ccw = false) {
        Vertex cw[4] = {{x0, y0, z, c}, {x1, y0, z, c}, {x1, y1, z, c}, {x0, y1, z, c}};
        Vertex rev[4] = {cw[0], cw[3], cw[2], cw[1]};
        ASSERT_EQ(dev->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, ccw ? rev : cw, sizeof(Vertex)),
                  D3D_OK);
    }
    D3DCOLOR Pixel(int x, int y) {
        IDirect3DSurface8* rt = nullptr;
        EXPECT_EQ(dev->GetRenderTarget(&rt), D3D_OK);
        D3DLOCKED_RECT lr{};
        RECT r{x, y, x + 1, y + 1};
        D3DCOLOR c = 0xDEADBEEF;
        if (rt->LockRect(&lr, &r, D3DLOCK_READONLY) == D3D_OK) {
            c = *static_cast<const D3DCOLOR*>(lr.pBits);
            rt->UnlockRect();
        }
        rt->Release();
        return c & 0x00FFFFFF; // the back buffer is X8R8G8B8
    }
};

int Channel(D3DCOLOR c, int shift) {
    return (int)((c >> shift) & 0xFF);
}

// GL's own defaults (ambient 0.2, a black texture-environment colour) must not show through
// Direct3D's, at creation or after a reset.
TEST_F(GlPixels, DirectThreeDsDefaultsHoldAtCreationAndAfterAReset) {
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "at creation" : "after a reset");
        dev->SetRenderState(D3DRS_LIGHTING, 1); // no light and black ambient: black
        Quad(0, 0, 8, 8, 0.5f, 0xFFFFFFFF);
        EXPECT_EQ(Pixel(4, 4), 0u) << "GL's ambient 0.2 leaked through";
        dev->SetRenderState(D3DRS_LIGHTING, 0);
        dev->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
        Quad(10, 0, 18, 8, 0.5f, 0xFF000000);
        EXPECT_EQ(Pixel(14, 4), 0xFFFFFFu) << "the default texture factor is white";
        if (pass == 0) {
            dev->EndScene();
            D3DPRESENT_PARAMETERS pp = TestPresentParams(W, H);
            dev->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
            dev->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF000000);
            ASSERT_EQ(dev->Reset(&pp), D3D_OK);
            ASSERT_EQ(dev->Clear(0, nullptr, 7, 0xFF000000, 1.0f, 0), D3D_OK);
            ASSERT_EQ(dev->BeginScene(), D3D_OK);
            D3DMATRIX ortho;
            Mat4OrthoScreen(&ortho, W, H);
            dev->SetTransform(D3DTS_PROJECTION, &ortho);
            dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
            dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
            dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
            dev->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        }
    }
}

TEST_F(GlPixels, PixelCentresLieOnIntegersCountedFromTheTop) {
    Quad(9.5f, 4.5f, 10.5f, 5.5f, 0.5f, 0xFF112233);
    EXPECT_EQ(Pixel(10, 5), 0x112233u) << "the quad around (10, 5) must light exactly that pixel, "
                                          "in the ARGB colour it was given";
    EXPECT_EQ(Pixel(9, 5), 0u);
    EXPECT_EQ(Pixel(11, 5), 0u);
    EXPECT_EQ(Pixel(10, 4), 0u);
    EXPECT_EQ(Pixel(10, 6), 0u);
    EXPECT_EQ(Pixel(10, H - 1 - 5), 0u) << "rows are counted from the top, not GL's bottom";
}

// Pixel centres exactly on an edge: Direct3D's top-left rule takes them for the left and top
// edges only, so a quad from (10, 20) to (14, 23) covers columns 10..13 and rows 20..22.
TEST_F(GlPixels, CentresOnAnEdgeBelongToTheLeftAndTopEdges) {
    Quad(10, 20, 14, 23, 0.5f, 0xFFFFFFFF);
    for (int y = 18; y < 25; ++y)
        for (int x = 8; x < 16; ++x)
            EXPECT_EQ(Pixel(x, y), x >= 10 && x < 14 && y >= 20 && y < 23 ? 0xFFFFFFu : 0u)
                << x << ", " << y;
}

TEST_F(GlPixels, LessEqualDepthKeepsTheNearerQuad) {
    Quad(0, 0, 8, 8, 0.5f, 0xFFFF0000);
    Quad(0, 0, 8, 8, 0.2f, 0xFF00FF00); // nearer, drawn second: wins
    Quad(0, 0, 8, 8, 0.8f, 0xFF0000FF); // farther: loses
    Quad(0, 0, 8, 8, 0.2f, 0xFFFFFFFF); // equal: LESSEQUAL lets it through
    EXPECT_EQ(Pixel(4, 4), 0xFFFFFFu);
}

TEST_F(GlPixels, CounterClockwiseCullingRemovesOnlyCounterClockwiseQuads) {
    dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    Quad(0, 0, 8, 8, 0.5f, 0xFFFFFFFF, false);
    Quad(10, 0, 18, 8, 0.5f, 0xFFFFFFFF, true);
    EXPECT_EQ(Pixel(4, 4), 0xFFFFFFu) << "a clockwise quad is a front face in Direct3D";
    EXPECT_EQ(Pixel(14, 4), 0u) << "CULL_CCW removes the counter-clockwise quad";
    dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    Quad(20, 0, 28, 8, 0.5f, 0xFFFFFFFF, false);
    Quad(30, 0, 38, 8, 0.5f, 0xFFFFFFFF, true);
    EXPECT_EQ(Pixel(24, 4), 0u);
    EXPECT_EQ(Pixel(34, 4), 0xFFFFFFu);
}

TEST_F(GlPixels, AlphaTestGreaterComparesWithTheByteReference) {
    dev->SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    dev->SetRenderState(D3DRS_ALPHAREF, 2);
    dev->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    Quad(0, 0, 8, 8, 0.5f, 0x02FFFFFF);
    Quad(10, 0, 18, 8, 0.5f, 0x03FFFFFF);
    EXPECT_EQ(Pixel(4, 4), 0u) << "alpha 2 is not greater than 2";
    EXPECT_EQ(Pixel(14, 4), 0xFFFFFFu) << "alpha 3 is";
}

TEST_F(GlPixels, SourceAlphaBlendingMixesHalfAndHalf) {
    Quad(0, 0, 8, 8, 0.5f, 0xFF0000FF);
    dev->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    dev->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    dev->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    Quad(0, 0, 8, 8, 0.4f, 0x80FF0000);
    D3DCOLOR c = Pixel(4, 4);
    EXPECT_NEAR(Channel(c, 16), 128, 1);
    EXPECT_NEAR(Channel(c, 8), 0, 1);
    EXPECT_NEAR(Channel(c, 0), 127, 1);
}

TEST_F(GlPixels, TextureFactorReachesAStageWithoutATexture) {
    dev->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF336699);
    dev->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    Quad(0, 0, 8, 8, 0.5f, 0xFFFFFFFF);
    EXPECT_EQ(Pixel(4, 4), 0x336699u);
    dev->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF010203);
    Quad(0, 0, 8, 8, 0.5f, 0xFFFFFFFF);
    EXPECT_EQ(Pixel(4, 4), 0x010203u) << "a changed factor reaches the unit";
}

TEST_F(GlPixels, DisablingAStageStopsEveryHigherStage) {
    dev->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFFFF0000);
    dev->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    dev->SetTextureStageState(2, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    dev->SetTextureStageState(2, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    Quad(0, 0, 8, 8, 0.5f, 0xFF00FF00);
    EXPECT_EQ(Pixel(4, 4), 0x00FF00u) << "stage 2 ran although stage 1 was disabled";
    dev->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    dev->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_CURRENT);
    Quad(0, 0, 8, 8, 0.5f, 0xFF00FF00);
    EXPECT_EQ(Pixel(4, 4), 0xFF0000u) << "with stage 1 running, stage 2 selects the factor";
}

TEST_F(GlPixels, VerticesWithoutColourAreWhite) {
    struct P {
        float x, y, z;
    } v[4] = {{0, 0, 0.5f}, {8, 0, 0.5f}, {8, 8, 0.5f}, {0, 8, 0.5f}};
    dev->SetVertexShader(D3DFVF_XYZ);
    ASSERT_EQ(dev->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(P)), D3D_OK);
    EXPECT_EQ(Pixel(4, 4), 0xFFFFFFu);
}

TEST_F(GlPixels, LinearTableFogMixesByEyeDepth) {
    dev->SetRenderState(D3DRS_FOGENABLE, 1);
    dev->SetRenderState(D3DRS_FOGCOLOR, 0xFFFFFFFF);
    dev->SetRenderState(D3DRS_FOGSTART, D3dFloatBits(0.0f));
    dev->SetRenderState(D3DRS_FOGEND, D3dFloatBits(1.0f));
    dev->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
    Quad(0, 0, 8, 8, 0.25f, 0xFF000000); // a quarter of the way: 25 % fog colour
    D3DCOLOR c = Pixel(4, 4);
    EXPECT_NEAR(Channel(c, 16), 64, 2);
    EXPECT_NEAR(Channel(c, 8), 64, 2);
    EXPECT_NEAR(Channel(c, 0), 64, 2);
}

TEST_F(GlPixels, ClearStaysInsideTheViewportAndItsRectangles) {
    D3DVIEWPORT8 vp{20, 10, 10, 5, 0.0f, 1.0f};
    ASSERT_EQ(dev->SetViewport(&vp), D3D_OK);
    ASSERT_EQ(dev->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    EXPECT_EQ(Pixel(20, 10), 0xFF0000u);
    EXPECT_EQ(Pixel(29, 14), 0xFF0000u);
    EXPECT_EQ(Pixel(19, 10), 0u);
    EXPECT_EQ(Pixel(30, 14), 0u);
    EXPECT_EQ(Pixel(20, 15), 0u);
    EXPECT_EQ(Pixel(20, 9), 0u);
    D3DRECT r{0, 0, 22, 11}; // only its overlap with the viewport is cleared
    ASSERT_EQ(dev->Clear(1, &r, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    EXPECT_EQ(Pixel(21, 10), 0x00FF00u);
    EXPECT_EQ(Pixel(22, 10), 0xFF0000u);
    EXPECT_EQ(Pixel(19, 10), 0u);
}

// Buffers are drawn from main memory: the start vertex and the base vertex pick the vertices,
// the index range bounds what is read, and the indices may be 16 or 32 bits wide.
TEST_F(GlPixels, BufferDrawsStartWhereTheyAreToldAndDrawNothingElse) {
    const Vertex quads[8] = {{0, 0, 0.5f, 0xFFFF0000},  {8, 0, 0.5f, 0xFFFF0000},
                             {8, 8, 0.5f, 0xFFFF0000},  {0, 8, 0.5f, 0xFFFF0000},
                             {10, 0, 0.5f, 0xFF00FF00}, {18, 0, 0.5f, 0xFF00FF00},
                             {18, 8, 0.5f, 0xFF00FF00}, {10, 8, 0.5f, 0xFF00FF00}};
    IDirect3DVertexBuffer8* vb = nullptr;
    ASSERT_EQ(dev->CreateVertexBuffer(sizeof quads, D3DUSAGE_WRITEONLY, D3DFVF_XYZ | D3DFVF_DIFFUSE,
                                      D3DPOOL_MANAGED, &vb),
              D3D_OK);
    BYTE* p = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &p, 0), D3D_OK);
    std::memcpy(p, quads, sizeof quads);
    vb->Unlock();
    dev->SetStreamSource(0, vb, sizeof(Vertex));
    ASSERT_EQ(dev->DrawPrimitive(D3DPT_TRIANGLEFAN, 4, 2), D3D_OK);
    EXPECT_EQ(Pixel(14, 4), 0x00FF00u);
    EXPECT_EQ(Pixel(4, 4), 0u) << "the draw began before its start vertex";

    for (D3DFORMAT format : {D3DFMT_INDEX16, D3DFMT_INDEX32}) {
        SCOPED_TRACE(format == D3DFMT_INDEX16 ? "16-bit indices" : "32-bit indices");
        const uint32_t list[6] = {0, 1, 2, 0, 2, 3};
        UINT size = format == D3DFMT_INDEX16 ? 2 : 4;
        IDirect3DIndexBuffer8* ib = nullptr;
        ASSERT_EQ(
            dev->CreateIndexBuffer(6 * size, D3DUSAGE_WRITEONLY, format, D3DPOOL_MANAGED, &ib),
            D3D_OK);
        ASSERT_EQ(ib->Lock(0, 0, &p, 0), D3D_OK);
        for (int i = 0; i < 6; ++i) {
            uint16_t narrow = (uint16_t)list[i];
            std::memcpy(p + i * size, size == 2 ? (const void*)&narrow : (const void*)&list[i],
                        size);
        }
        ib->Unlock();
        dev->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        dev->SetIndices(ib, 4); // the green quad through the base vertex
        ASSERT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
        EXPECT_EQ(Pixel(14, 4), 0x00FF00u);
        EXPECT_EQ(Pixel(4, 4), 0u) << "the base vertex was not applied";
        dev->SetIndices(nullptr, 0);
        ib->Release();
    }
    dev->SetStreamSource(0, nullptr, 0);
    vb->Release();
}

} // namespace
