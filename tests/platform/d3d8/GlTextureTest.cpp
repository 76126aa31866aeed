// Textures on real OpenGL (llvmpipe through EGL, no display): each format samples as Direct3D
// lays it out in memory. Levels, cube faces, filtering and locking are checked through the
// texture slots (tests/I3d/TexPixelTest.cpp).
#include "platform/d3d8/Texture.h"
#include "tests/platform/d3d8/GlDeviceFixture.h"
#include "tests/platform/d3d8/PresentParams.h"
#include "tests/support/TexturedQuad.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr int W = 16, H = 16;

struct GlTextures : GlDeviceTest {
    void SetUp() override {
        CreateGlDevice(TexTestPresentParams(W, H, D3DFMT_A8R8G8B8)); // alpha too
        if (HasFatalFailure()) return;
        TexQuadSetup(dev, W, H);
        ASSERT_EQ(dev->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
    }

    // Draws the texture over (0, 0)-(w, h) and reads the target back.
    std::vector<uint32_t> Draw(IDirect3DBaseTexture8* t, int w, int h) {
        EXPECT_EQ(dev->SetTexture(0, t), D3D_OK);
        EXPECT_EQ(dev->BeginScene(), D3D_OK);
        EXPECT_EQ(TexQuadDraw(dev, 0, 0, float(w), float(h)), D3D_OK);
        EXPECT_EQ(dev->EndScene(), D3D_OK);
        return TexQuadReadBack(dev);
    }

    // A w x h texture of one level filled from `bytes`, row by row through the pitch.
    IDirect3DTexture8* Filled(D3DFORMAT f, UINT w, UINT h, const std::vector<uint8_t>& bytes) {
        IDirect3DTexture8* t = nullptr;
        EXPECT_EQ(dev->CreateTexture(w, h, 1, 0, f, D3DPOOL_MANAGED, &t), D3D_OK);
        if (!t) return nullptr;
        D3DLOCKED_RECT lr;
        EXPECT_EQ(t->LockRect(0, &lr, nullptr, 0), D3D_OK);
        size_t row = bytes.size() / D3dTexRows(f, h);
        for (UINT y = 0; y < D3dTexRows(f, h); ++y)
            std::memcpy(static_cast<uint8_t*>(lr.pBits) + y * size_t(lr.Pitch),
                        bytes.data() + y * row, row);
        EXPECT_EQ(t->UnlockRect(0), D3D_OK);
        return t;
    }
};

} // namespace

// Two texels per row, two rows: the first row in memory must appear at the top (v = 0).
TEST_F(GlTextures, EachFormatSamplesAsDirect3DLaysItOut) {
    struct Case {
        D3DFORMAT format;
        std::vector<uint8_t> bytes;     // rows of 2 texels, top row first
        std::vector<uint32_t> expected; // ARGB of the four texels
    } cases[] = {
        {D3DFMT_A8R8G8B8,
         {0x30, 0x20, 0x10, 0x80, 4, 3, 2, 1, 0, 0, 0xFF, 0xFF, 9, 9, 9, 9},
         {0x80102030, 0x01020304, 0xFFFF0000, 0x09090909}},
        {D3DFMT_X8R8G8B8,
         {0x30, 0x20, 0x10, 0x00, 4, 3, 2, 1, 0, 0, 0xFF, 0, 9, 9, 9, 9},
         {0xFF102030, 0xFF020304, 0xFFFF0000, 0xFF090909}},
        // 5-6-5 widened by bit replication: 0xF800 red, 0x0821 = (8, 4, 8).
        {D3DFMT_R5G6B5,
         {0x00, 0xF8, 0x21, 0x08, 0xE0, 0x07, 0x1F, 0x00},
         {0xFFFF0000, 0xFF080408, 0xFF00FF00, 0xFF0000FF}},
        {D3DFMT_A1R5G5B5,
         {0x00, 0xFC, 0x1F, 0x00, 0xE0, 0x83, 0xFF, 0xFF},
         {0xFFFF0000, 0x000000FF, 0xFF00FF00, 0xFFFFFFFF}},
        {D3DFMT_A4R4G4B4,
         {0x00, 0xFF, 0x21, 0x43, 0xF0, 0x00, 0x0F, 0x80},
         {0xFFFF0000, 0x44332211, 0x0000FF00, 0x880000FF}},
        {D3DFMT_R8G8B8,
         {0x30, 0x20, 0x10, 1, 2, 3, 0, 0, 0xFF, 0xFF, 0, 0},
         {0xFF102030, 0xFF030201, 0xFFFF0000, 0xFF0000FF}},
        {D3DFMT_L8, {0x00, 0x40, 0x80, 0xFF}, {0xFF000000, 0xFF404040, 0xFF808080, 0xFFFFFFFF}},
        {D3DFMT_A8, {0x00, 0x40, 0x80, 0xFF}, {0x00000000, 0x40000000, 0x80000000, 0xFF000000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        IDirect3DTexture8* t = Filled(c.format, 2, 2, c.bytes);
        ASSERT_NE(t, nullptr);
        std::vector<uint32_t> px = Draw(t, 2, 2);
        ASSERT_EQ(px.size(), size_t(W * H));
        EXPECT_EQ(px[0], c.expected[0]) << "top-left: memory row 0 is v = 0";
        EXPECT_EQ(px[1], c.expected[1]);
        EXPECT_EQ(px[W], c.expected[2]);
        EXPECT_EQ(px[W + 1], c.expected[3]);
        dev->SetTexture(0, nullptr);
        EXPECT_EQ(t->Release(), 0u);
    }
}
