// Textures on real OpenGL (llvmpipe through EGL, no display): each format samples as Direct3D
// lays it out in memory, levels and cube faces reach GL, a one-level texture stays complete
// under a mip filter, and an unlocked level is what the next draw samples.
#include "datagen/Images/ImageWriters.h"
#include "platform/d3d8/D3dx.h"
#include "platform/d3d8/Texture.h"
#include "platform/d3dx/DdsFile.h"
#include "platform/d3dx/Dxt.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TexturedQuad.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <tuple>

namespace {

constexpr int W = 16, H = 16;

struct GlTextures : ::testing::Test {
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* dev = nullptr;

    void SetUp() override {
        d3d = Direct3DCreate8(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr) << "no OpenGL through EGL's surfaceless platform";
        D3DPRESENT_PARAMETERS pp = TexTestPresentParams(W, H, D3DFMT_A8R8G8B8); // alpha too
        ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                    &pp, &dev),
                  D3D_OK);
        TexQuadSetup(dev, W, H);
        ASSERT_EQ(dev->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
    }
    void TearDown() override {
        D3dTestForceDxtDecode(0);
        if (dev) {
            dev->SetTexture(0, nullptr);
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the layer left a GL error";
            EXPECT_EQ(dev->Release(), 0u) << "a texture kept the device alive";
        }
        if (d3d) d3d->Release();
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

TEST_F(GlTextures, LinearFilteringKeepsTexelCentresOnPixelCentres) {
    // Neighbouring texels differ a lot: any half-texel slip would blend them.
    std::vector<uint8_t> bytes(8 * 8 * 4);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t((i / 4) % 2 ? 0xFF : 0x00);
    IDirect3DTexture8* t = Filled(D3DFMT_A8R8G8B8, 8, 8, bytes);
    dev->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    dev->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    dev->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
    std::vector<uint32_t> px = Draw(t, 8, 8);
    ASSERT_FALSE(px.empty());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(px[size_t(y * W + x)], (x % 2) ? 0xFFFFFFFFu : 0u)
                << x << "," << y
                << ": a one-level texture must stay complete under a mip filter and sample "
                   "exactly";
    dev->SetTexture(0, nullptr);
    t->Release();
}

TEST_F(GlTextures, UnlockedPixelsAreWhatTheNextDrawSamples) {
    IDirect3DTexture8* t = Filled(D3DFMT_A8R8G8B8, 2, 2, std::vector<uint8_t>(16, 0));
    EXPECT_EQ(Draw(t, 2, 2)[0], 0u);
    D3DLOCKED_RECT lr;
    ASSERT_EQ(t->LockRect(0, &lr, nullptr, 0), D3D_OK);
    static_cast<uint32_t*>(lr.pBits)[0] = 0xFF00FF00;
    ASSERT_EQ(t->UnlockRect(0), D3D_OK);
    EXPECT_EQ(Draw(t, 2, 2)[0], 0xFF00FF00u) << "UnlockRect must send the level to GL";

    ASSERT_EQ(t->LockRect(0, &lr, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<uint32_t*>(lr.pBits)[0], 0xFF00FF00u) << "a lock hands out the copy";
    ASSERT_EQ(t->UnlockRect(0), D3D_OK);
    dev->SetTexture(0, nullptr);
    t->Release();
}

TEST_F(GlTextures, CompressedChainsReachGlLevelByLevel) {
    GenImage img(16, 8);
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 16; ++x)
            img.Set(x, y, ((x / 4 + y / 4) & 1) ? 0x80080408 : 0xFFFF0000);
    GenChain chain = GenMipChain(img);
    for (int decode = 0; decode < 2; ++decode) {
        D3dTestForceDxtDecode(decode);
        for (auto [kind, format, pixels] : {std::tuple{GenDds::Dxt1, D3DFMT_DXT1, int(DDS_DXT1)},
                                            std::tuple{GenDds::Dxt5, D3DFMT_DXT5, int(DDS_DXT5)}}) {
            SCOPED_TRACE(decode ? "decoded by the layer" : "S3TC");
            IDirect3DTexture8* t = nullptr;
            ASSERT_EQ(dev->CreateTexture(16, 8, 0, 0, format, D3DPOOL_MANAGED, &t), D3D_OK);
            ASSERT_EQ(t->GetLevelCount(), 5u);
            for (UINT i = 0; i < 5; ++i) {
                std::vector<uint8_t> blocks = GenDxtEncodeLevel(kind, chain[i]);
                D3DLOCKED_RECT lr;
                ASSERT_EQ(t->LockRect(i, &lr, nullptr, 0), D3D_OK);
                DdsCopyLevel(pixels, chain[i].width, chain[i].height, blocks.data(),
                             static_cast<uint8_t*>(lr.pBits), size_t(lr.Pitch));
                ASSERT_EQ(t->UnlockRect(i), D3D_OK);
                EXPECT_TRUE(TexLevelMatchesDxt(t, 0, i, kind, chain[i]));
            }
            std::vector<uint32_t> px = Draw(t, 16, 8);
            EXPECT_EQ(px[0], 0xFFFF0000u);
            EXPECT_EQ(px[4], kind == GenDds::Dxt1 ? 0xFF080408u : 0x80080408u)
                << "endpoints sample exactly (DXT1 is opaque)";
            dev->SetTexture(0, nullptr);
            t->Release();
        }
    }
}

TEST_F(GlTextures, CubeFacesReachGlInDirect3DOrder) {
    TempDir dir;
    std::array<GenChain, 6> faces;
    const uint32_t colours[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                 0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};
    for (int f = 0; f < 6; ++f) {
        GenImage img(8, 8);
        for (uint32_t y = 0; y < 8; ++y)
            for (uint32_t x = 0; x < 8; ++x)
                img.Set(x, y, y == 0 ? 0xFFFFFFFF : colours[f]); // the top row marks "up"
        faces[f] = GenMipChain(img);
    }
    for (GenDds kind : {GenDds::Argb32, GenDds::Dxt1}) {
        ASSERT_TRUE(GenWriteFile(dir / "cube.dds", GenDdsCubeBytes(kind, faces)));
        IDirect3DCubeTexture8* cube = nullptr;
        ASSERT_EQ(D3DXCreateCubeTextureFromFileA(dev, (dir / "cube.dds").c_str(), &cube), D3D_OK);
        EXPECT_EQ(cube->GetLevelCount(), 4u);
        D3DSURFACE_DESC d;
        ASSERT_EQ(cube->GetLevelDesc(0, &d), D3D_OK);
        EXPECT_EQ(d.Format, kind == GenDds::Dxt1 ? D3DFMT_DXT1 : D3DFMT_A8R8G8B8);
        for (UINT f = 0; f < 6; ++f) {
            std::vector<uint8_t> got;
            ASSERT_TRUE(D3dTestReadTextureLevel(cube, f, 0, &got));
            uint32_t top, below;
            std::memcpy(&top, got.data(), 4);
            std::memcpy(&below, got.data() + 8 * 4 * 5, 4);
            EXPECT_EQ(top, 0xFFFFFFFFu) << "face " << f << ": row 0 is the top of the face";
            EXPECT_EQ(below, colours[f]) << "face " << f << " is not in +X, -X, +Y, -Y, +Z, -Z";
            std::vector<uint8_t> last;
            ASSERT_TRUE(D3dTestReadTextureLevel(cube, f, 3, &last));
            EXPECT_EQ(last.size(), 4u) << "the 1 x 1 level is there";
        }
        cube->Release();
    }
}

TEST_F(GlTextures, CubeLoaderRefusesWhatIsNotACompleteCube) {
    TempDir dir;
    std::array<GenChain, 6> faces;
    for (GenChain& c : faces)
        c = GenMipChain(GenImage(4, 4));
    IDirect3DCubeTexture8* cube = reinterpret_cast<IDirect3DCubeTexture8*>(1);
    ASSERT_TRUE(GenWriteFile(dir / "five.dds", GenDdsCubeBytes(GenDds::Argb32, faces, 0x1F)));
    EXPECT_EQ(D3DXCreateCubeTextureFromFileA(dev, (dir / "five.dds").c_str(), &cube),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(cube, nullptr);
    ASSERT_TRUE(GenWriteFile(dir / "flat.dds", GenDdsBytes(GenDds::Argb32, faces[0])));
    EXPECT_EQ(D3DXCreateCubeTextureFromFileA(dev, (dir / "flat.dds").c_str(), &cube),
              D3DXERR_INVALIDDATA)
        << "a 2D file is not a cube";
    EXPECT_EQ(D3DXCreateCubeTextureFromFileA(dev, (dir / "none.dds").c_str(), &cube),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(D3DXCreateCubeTextureFromFileA(dev, dir.Path().c_str(), &cube), D3DXERR_INVALIDDATA);
}
