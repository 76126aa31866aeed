// Texture slots on OpenGL (llvmpipe through EGL, offscreen): what each loader makes samples as
// the file says, level by level, face by face, and locked pixels reach the next draw. Textures
// are drawn 1:1 with texel centres on pixel centres, so most checks are exact.
#include "platform/d3d8/Texture.h"
#include "platform/d3dx/DdsFile.h"
#include "platform/d3dx/Dxt.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/TexFiles.h"
#include "tests/support/TexturedQuad.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kSide = 64;

class TexPixels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        ASSERT_EQ(I3dTexTableAlloc(800), 0);
        // Full screen at A8R8G8B8, so the alpha written is read back too.
        CreateOffscreen(kSide, kSide, 0, I3D_DEVICE_LOCKABLE, D3DFMT_A8R8G8B8);
        TexQuadSetup(D3dDevice(), kSide, kSide);
        // Linear filtering with the kernel's linear mip filter: exact only when texel centres
        // land on pixel centres and one-level textures are complete.
        D3dSetMinFilter(0, D3DTEXF_LINEAR);
        D3dSetMagFilter(0, D3DTEXF_LINEAR);
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the textures left a GL error";
        KernelTest::TearDown();
    }
    std::string Path(const std::string& rel) const { return m_files / rel; }

    // Draws the slot over (0, 0)-(w, h) and returns the target, row 0 at the top.
    std::vector<uint32_t> Draw(int slot, int w, int h) {
        D3dSetClearColor(0, 0, 0);
        EXPECT_EQ(D3dClear(D3DCLEAR_TARGET), D3D_OK);
        EXPECT_EQ(D3dSetTexture(0, slot), 0);
        EXPECT_EQ(D3dBeginScene(), 0);
        EXPECT_EQ(TexQuadDraw(D3dDevice(), 0, 0, float(w), float(h)), D3D_OK);
        EXPECT_EQ(D3dEndScene(), 0);
        return TexQuadReadBack(D3dDevice());
    }
    // Draws the slot at its size and compares every texel with `want(x, y)`.
    template <class F>
    void ExpectSamples(int slot, F want, const char* what) {
        const I3dTexSlot* s = I3dTexGetSlot(slot);
        std::vector<uint32_t> px = Draw(slot, s->width, s->height);
        ASSERT_EQ(px.size(), size_t(kSide * kSide));
        for (int y = 0; y < s->height; ++y)
            for (int x = 0; x < s->width; ++x)
                ASSERT_EQ(px[size_t(y * kSide + x)], uint32_t(want(uint32_t(x), uint32_t(y))))
                    << what << " at " << x << "," << y;
    }

    TempDir m_files;
};

// 4 x 4 cells of two colours that 5-6-5 and DXT endpoints hold exactly.
uint32_t Cells(uint32_t x, uint32_t y) {
    return ((x / 4 + y / 4) & 1) ? 0x80080408u : 0xFFFF0000u;
}

} // namespace

TEST_F(TexPixels, EachLoaderSamplesAsItsFileSays) {
    const GenImage img = MakeImage(16, 8, Cells);

    ASSERT_TRUE(WriteTga(Path("t24.tga"), img, IMG_R8G8B8));
    ASSERT_TRUE(Write24BitDds(Path("t24.dds"), 16, 8));
    int slot = I3dTexLoad(Path("t24").c_str(), nullptr, 0);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(I3dTexGetSlot(slot)->format, I3DTEX_R5G6B5)
        << "the 24-bit DDS is refused, its TGA twin becomes R5G6B5";
    ExpectSamples(
        slot, [](uint32_t x, uint32_t y) { return Cells(x, y) | 0xFF000000u; }, "24-bit TGA");

    ASSERT_TRUE(WriteTga(Path("t32.tga"), img, IMG_A8R8G8B8));
    slot = I3dTexLoad(Path("t32").c_str(), nullptr, 0);
    ExpectSamples(slot, Cells, "32-bit TGA keeps its alpha");

    ASSERT_TRUE(WriteTga(Path("t8.tga"), img, IMG_L8));
    slot = I3dTexLoad(Path("t8").c_str(), nullptr, 0);
    ExpectSamples(
        slot, [](uint32_t x, uint32_t y) { return (Cells(x, y) & 0xFF000000u) | 0xFFFFFFu; },
        "grey TGA: white, grey as alpha");

    ASSERT_TRUE(WriteDds(Path("d32.dds"), GenDds::Argb32, img));
    slot = I3dTexLoad(Path("d32").c_str(), nullptr, 0);
    EXPECT_EQ(I3dTexGetSlot(slot)->format, I3DTEX_A8R8G8B8);
    ExpectSamples(slot, Cells, "32-bit DDS");

    ASSERT_TRUE(WriteDds(Path("d8.dds"), GenDds::A8, img));
    slot = I3dTexLoad(Path("d8").c_str(), nullptr, 0);
    EXPECT_EQ(I3dTexGetSlot(slot)->format, I3DTEX_A8);
    ExpectSamples(
        slot, [](uint32_t x, uint32_t y) { return Cells(x, y) & 0xFF000000u; },
        "8-bit DDS is alpha only");
}

// Through S3TC, and decoded by the layer as on a context without it.
TEST_F(TexPixels, CompressedChainsLoadEveryLevel) {
    const GenChain chain = GenMipChain(MakeImage(32, 16, Cells));
    for (int decode : {0, 1}) {
        D3dTestForceDxtDecode(decode);
        for (GenDds kind : {GenDds::Dxt1, GenDds::Dxt5}) {
            std::string name = kind == GenDds::Dxt1 ? "dxt1" : "dxt5";
            SCOPED_TRACE(name + (decode ? ", decoded by the layer" : ", S3TC"));
            ASSERT_TRUE(GenWriteFile(Path(name + ".dds"), GenDdsBytes(kind, chain)));
            int slot = I3dTexLoad(Path(name).c_str(), nullptr, 0);
            ASSERT_GE(slot, 0);
            auto* t = I3dTexGetSlot(slot)->texture;
            ASSERT_EQ(t->GetLevelCount(), 6u);
            for (UINT i = 0; i < 6; ++i)
                EXPECT_TRUE(TexLevelMatchesDxt(t, 0, i, kind, chain[i]));
            uint32_t opaque = kind == GenDds::Dxt1 ? 0xFF000000u : 0u;
            ExpectSamples(
                slot, [opaque](uint32_t x, uint32_t y) { return Cells(x, y) | opaque; }, "");
            I3dTexRelease(slot);
        }
    }
    D3dTestForceDxtDecode(0);
}

TEST_F(TexPixels, NonSquareChainsKeepTheirShortSideAtOne) {
    GenChain chain = GenMipChain(
        MakeImage(256, 64, [](uint32_t x, uint32_t y) { return 0xFF000000u | (x << 8) | y; }));
    ASSERT_TRUE(GenWriteFile(Path("wide.dds"), GenDdsBytes(GenDds::Argb32, chain)));
    int slot = I3dTexLoad(Path("wide").c_str(), nullptr, 0);
    ASSERT_GE(slot, 0);
    auto* t = I3dTexGetSlot(slot)->texture;
    ASSERT_EQ(t->GetLevelCount(), 9u);
    for (UINT i = 0; i < 9; ++i) {
        std::vector<uint8_t> got;
        ASSERT_TRUE(D3dTestReadTextureLevel(t, 0, i, &got));
        EXPECT_EQ(got, chain[i].bgra) << "level " << i;
    }
}

TEST_F(TexPixels, CubeFacesHoldTheFilesData) {
    std::array<GenChain, 6> faces;
    for (uint32_t f = 0; f < 6; ++f)
        faces[f] = GenMipChain(MakeImage(16, 16, [f](uint32_t x, uint32_t y) {
            return ((x / 4 + y / 4 + f) & 1) ? 0xFF000000u | (f * 0x200000u) : 0xFFFFFFFFu;
        }));
    for (auto [kind, pixels] :
         {std::pair{GenDds::Argb32, int(DDS_ARGB32)}, std::pair{GenDds::Dxt1, int(DDS_DXT1)}}) {
        ASSERT_TRUE(GenWriteFile(Path("cube.dds"), GenDdsCubeBytes(kind, faces)));
        int slot = D3dCubeTexFromFile(0, Path("cube.dds").c_str(), "cube");
        ASSERT_GE(slot, 0);
        for (UINT f = 0; f < 6; ++f) {
            std::vector<uint8_t> want = faces[f][0].bgra;
            if (kind == GenDds::Dxt1) {
                std::vector<uint8_t> blocks = GenDxtEncodeLevel(kind, faces[f][0]);
                DxtDecodeLevel(pixels, 16, 16, blocks.data(), want.data(), 64);
            }
            std::vector<uint8_t> got;
            ASSERT_TRUE(D3dTestReadTextureLevel(I3dTexGetSlot(slot)->texture, f, 0, &got));
            EXPECT_EQ(got, want) << "face " << f << (kind == GenDds::Dxt1 ? " (DXT1)" : "");
        }
        EXPECT_EQ(I3dTexRelease(slot), 0);
    }
}

TEST_F(TexPixels, LockedPixelsAreWhatTheNextDrawSamples) {
    int slot = D3dTexCreate(8, 8, I3DTEX_A8R8G8B8, 1, "framed", 0);
    ASSERT_GE(slot, 0);
    I3dImage img;
    ASSERT_EQ(I3dTexLockImage(slot, 0, &img), 0);
    ASSERT_EQ(img.format, IMG_A8R8G8B8);
    ASSERT_EQ(img.bytesPerPixel, 4);
    ImgFill(&img, 0xFF3C3C00);
    I3dImage* inner = ImgCreateView(&img, 2, 2, 5, 5);
    ImgFill(inner, 0xFF808080);
    ImgFree(inner);
    ASSERT_EQ(D3dTextureUnlock(slot, 0), 0);
    ExpectSamples(
        slot,
        [](uint32_t x, uint32_t y) {
            return (x >= 2 && x <= 5 && y >= 2 && y <= 5) ? 0xFF808080u : 0xFF3C3C00u;
        },
        "locked and unlocked");
}

TEST_F(TexPixels, FramedTexturesSampleTheirBorderAndClearInterior) {
    const int slot = TexMakeFramed(kSide, kSide, 0x00FFFFFF, 2, 0xFFFFFFFF);
    ASSERT_GE(slot, 0);
    ExpectSamples(
        slot,
        [](uint32_t x, uint32_t y) {
            const bool border = x < 2 || y < 2 || x >= kSide - 2 || y >= kSide - 2;
            return border ? 0xFFFFFFFFu : 0x00FFFFFFu;
        },
        "framed");
}

// The files the build generates into Data/: the sample textures by name, the environment cube.
TEST_F(TexPixels, GeneratedDataTexturesLoadByName) {
    const std::string data = FAIRLARK_BUILD_DATA_DIR;
    auto checker = [](uint32_t x, uint32_t y) {
        return ((x / 8 + y / 8) & 1) ? 0x80080408u : 0xFFFF0000u;
    };
    struct Sample {
        const char* name;
        uint32_t orMask, andMask;
    } samples[] = {
        {"SampleArgb", 0, 0xFFFFFFFF},          {"SampleDxt5", 0, 0xFFFFFFFF},
        {"SampleDxt1", 0xFF000000, 0xFFFFFFFF}, // opaque
        {"SampleRgb", 0xFF000000, 0xFFFFFFFF},  // 24-bit TGA -> R5G6B5
        {"SampleGrey", 0x00FFFFFF, 0xFFFFFFFF}, // grey TGA -> white, grey (the alpha) as alpha
    };
    for (const Sample& s : samples) {
        int slot = I3dTexLoad((data + "Samples\\" + s.name).c_str(), nullptr, 1);
        ASSERT_GE(slot, 0) << s.name << ": run the data target first";
        EXPECT_EQ(I3dTexGetSlot(slot)->width, 64);
        ExpectSamples(
            slot, [&](uint32_t x, uint32_t y) { return (checker(x, y) | s.orMask) & s.andMask; },
            s.name);
    }
    int cube = D3dCubeTexFromFile(0, (data + "Enviro.dds").c_str(), "Enviro");
    ASSERT_GE(cube, 0);
    EXPECT_EQ(I3dTexGetSlot(cube)->width, 64);
    EXPECT_EQ(I3dTexGetSlot(cube)->format, I3DTEX_DXT1);
}
