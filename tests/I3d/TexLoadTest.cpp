// Texture files into slots, on the recording device (the level copies are what GL is sent):
// DDS levels and their fallbacks, TGA layouts through the converter, cube maps, and files that
// are short, damaged or not files at all.
#include "engine/Files.h"
#include "engine/Memory.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/TexFiles.h"

#include <cstring>
#include <string>
#include <unistd.h>

namespace {

class TexLoad : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecording();
        ASSERT_EQ(I3dTexTableAlloc(800), 0);
        CreateOffscreen(64, 64);
    }
    std::string Path(const std::string& rel) const { return m_files / rel; }
    // The ARGB word of texel (x, y) of a 32-bit slot's level.
    uint32_t Texel32(int slot, int level, int x, int y) {
        I3dImage img;
        EXPECT_EQ(I3dTexLockImage(slot, level, &img), 0);
        uint32_t v = 0;
        std::memcpy(&v, img.pixels + size_t(y) * img.pitch + size_t(x) * 4, 4);
        D3dTextureUnlock(slot, level);
        return v;
    }
    int UsedSlots() {
        int n = 0;
        for (int i = 0; i < I3dTexCount(); ++i)
            n += I3dTexGetSlot(i)->count > 0;
        return n;
    }

    TempDir m_files;
};

} // namespace

// ---- DDS ----

TEST_F(TexLoad, DdsLevelsArriveWholeThroughThePitch) {
    // 8-bit rows of 2 bytes land in rows padded to 4.
    GenImage a8 = MakeImage(2, 2, [](uint32_t x, uint32_t y) { return (10 * y + x + 1) << 24; });
    ASSERT_TRUE(WriteDds(Path("a8.dds"), GenDds::A8, a8));
    int slot = D3dTexFromDds(-1, Path("a8.dds").c_str(), "a8");
    ASSERT_GE(slot, 0);
    EXPECT_EQ(I3dTexGetSlot(slot)->format, I3DTEX_A8);
    I3dImage img;
    ASSERT_EQ(I3dTexLockImage(slot, 0, &img), 0);
    EXPECT_EQ(img.pixels[0], 1);
    EXPECT_EQ(img.pixels[img.pitch + 1], 12);
    D3dTextureUnlock(slot, 0);

    ASSERT_TRUE(WriteDds(Path("d5.dds"), GenDds::Dxt5, SolidImage(16, 16, 0x80FF0000)));
    slot = I3dTexLoad(Path("d5").c_str(), nullptr, 0);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(I3dTexGetSlot(slot)->format, I3DTEX_DXT5);
    EXPECT_EQ(static_cast<IDirect3DTexture8*>(I3dTexGetSlot(slot)->texture)->GetLevelCount(), 5u);
    EXPECT_EQ(D3dTexFromDds(3, Path("d5.dds").c_str(), "x"), -1) << "only slot -1 is supported";
}

TEST_F(TexLoad, RefusedDdsFilesFallBackToTheTgaTwin) {
    ASSERT_TRUE(WriteTga(Path("twin.tga"), SolidImage(4, 4, 0xFF00FF00), IMG_R8G8B8));
    ASSERT_TRUE(Write24BitDds(Path("twin.dds"), 4, 4));
    int slot = I3dTexLoad(Path("twin").c_str(), nullptr, 0);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(I3dTexGetSlot(slot)->format, I3DTEX_R5G6B5) << "the 24-bit DDS was not taken";

    // A mip count of 0 is one level (the header checks themselves: DdsFileTest).
    std::vector<uint8_t> f =
        GenDdsBytes(GenDds::Argb32, GenMipChain(SolidImage(64, 64, 0xFF0000FF)));
    f[28] = f[29] = f[30] = f[31] = 0;
    ASSERT_TRUE(GenWriteFile(Path("one.dds"), f));
    slot = D3dTexFromDds(-1, Path("one.dds").c_str(), "one");
    ASSERT_GE(slot, 0);
    EXPECT_EQ(static_cast<IDirect3DTexture8*>(I3dTexGetSlot(slot)->texture)->GetLevelCount(), 1u);
}

// ---- TGA ----

TEST_F(TexLoad, PaletteTgaKeepsRedAndBlueInPlace) {
    I3dImage* p8 = ImgAlloc(2, 1, IMG_P8);
    p8->pixels[0] = 1;
    p8->pixels[1] = 2;
    uint8_t palette[768] = {};
    palette[3] = 200, palette[4] = 100, palette[5] = 50; // entry 1: R, G, B
    palette[6] = 0, palette[7] = 0, palette[8] = 255;    // entry 2: blue
    ASSERT_EQ(ImgSaveTga(p8, Path("pal.tga").c_str(), palette), 0);
    ImgFree(p8);
    int slot = I3dTexLoad(Path("pal").c_str(), nullptr, 0);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(I3dTexGetSlot(slot)->format, I3DTEX_A8R8G8B8);
    EXPECT_EQ(Texel32(slot, 0, 0, 0), 0xFFC86432u);
    EXPECT_EQ(Texel32(slot, 0, 1, 0), 0xFF0000FFu) << "a blue palette entry must stay blue";
}

// A file that is there but cannot be used is named as damaged, never as missing; so is a DDS
// that the loader passes over for its TGA.
TEST_F(TexLoad, UnreadableTexturesThatExistAreNamedAsDamaged) {
    // 15-bit true colour: read as no layout at all, it must not become a texture.
    std::vector<uint8_t> f(18 + 8, 0);
    f[2] = 2, f[12] = 2, f[14] = 2, f[16] = 15;
    ASSERT_TRUE(GenWriteFile(Path("r15.tga"), f));
    ASSERT_TRUE(WriteTga(Path("cut.tga"), SolidImage(8, 8, 0xFF112233), IMG_A8R8G8B8));
    ASSERT_EQ(truncate(Path("cut.tga").c_str(), 18 + 40), 0);
    ASSERT_TRUE(GenWriteFile(Path("junk.tga"), std::vector<uint8_t>(300, 0xA5)));
    ASSERT_TRUE(GenWriteFile(Path("junk.dds"), std::vector<uint8_t>(300, 0x5A)));
    for (const char* name : {"r15", "cut", "junk"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(I3dTexLoad(Path(name).c_str(), nullptr, 0), -1);
        const std::string line = "(WARN) I3dTexFromTga(-1, " + Path(std::string(name) + ".tga") +
                                 "): not a TGA image that can be read (cut short or damaged)!\n";
        EXPECT_NE(LogText().find(line), std::string::npos) << LogText();
        EXPECT_EQ(LogText().find("File not found"), std::string::npos) << LogText();
    }
    EXPECT_NE(LogText().find("(WARN) D3dTexFromDds(" + Path("junk.dds") +
                             "): cut short or damaged; not used!\n"),
              std::string::npos)
        << LogText();
    EXPECT_EQ(UsedSlots(), 0) << "nothing half-made is left in a slot";
}

TEST_F(TexLoad, ReloadingIntoAHeldSlotNeedsTheSameSize) {
    ASSERT_TRUE(WriteTga(Path("a.tga"), SolidImage(4, 4, 0xFF112233), IMG_A8R8G8B8));
    ASSERT_TRUE(WriteTga(Path("b.tga"), SolidImage(4, 4, 0xFF445566), IMG_A8R8G8B8));
    ASSERT_TRUE(WriteTga(Path("c.tga"), SolidImage(8, 4, 0xFF778899), IMG_A8R8G8B8));
    int slot = I3dTexFromTga(-1, Path("a.tga").c_str(), "a");
    ASSERT_GE(slot, 0);
    EXPECT_EQ(I3dTexFromTga(slot, Path("b.tga").c_str(), nullptr), slot);
    EXPECT_EQ(Texel32(slot, 0, 3, 3), 0xFF445566u);
    EXPECT_EQ(I3dTexFromTga(slot, Path("c.tga").c_str(), nullptr), -1) << "another size";
    EXPECT_EQ(I3dTexFromTga(800, Path("b.tga").c_str(), nullptr), -1) << "beyond the table";
    EXPECT_EQ(I3dTexFromTga(slot + 1, Path("b.tga").c_str(), nullptr), -1) << "a free slot";
}

// ---- cube maps ----

TEST_F(TexLoad, CubeMapsFillTheirSlotFromLevelZero) {
    std::array<GenChain, 6> faces;
    for (GenChain& c : faces)
        c = GenMipChain(SolidImage(16, 16, 0xFF204080));
    ASSERT_TRUE(GenWriteFile(Path("Enviro.dds"), GenDdsCubeBytes(GenDds::Dxt1, faces)));
    int slot = D3dCubeTexFromFile(0, Path("Enviro.dds").c_str(), "Enviro");
    ASSERT_GE(slot, 0);
    const I3dTexSlot* s = I3dTexGetSlot(slot);
    EXPECT_EQ(s->loadedByD3dx, 1);
    EXPECT_EQ(s->count, 1);
    EXPECT_EQ(s->width, 16);
    EXPECT_EQ(s->height, 16);
    EXPECT_EQ(s->format, I3DTEX_DXT1);
    EXPECT_STREQ(s->name, "enviro") << "keys are lower-cased, as every other texture's";
    EXPECT_EQ(I3dTexFind("Enviro"), slot);
    EXPECT_EQ(s->texture->GetType(), D3DRTYPE_CUBETEXTURE);
    void* p;
    int w, h, pitch, format;
    EXPECT_EQ(D3dTextureLock(slot, 0, &p, &w, &h, &pitch, &format), -1)
        << "a cube map is not locked as a 2D texture";

    ASSERT_TRUE(GenWriteFile(Path("five.dds"), GenDdsCubeBytes(GenDds::Dxt1, faces, 0x3E)));
    EXPECT_EQ(D3dCubeTexFromFile(0, Path("five.dds").c_str(), "five"), -1);
    ASSERT_TRUE(WriteDds(Path("flat.dds"), GenDds::Dxt1, SolidImage(16, 16, 0xFF000000)));
    EXPECT_EQ(D3dCubeTexFromFile(0, Path("flat.dds").c_str(), "flat"), -1);
    EXPECT_EQ(D3dCubeTexFromFile(0, Path("none.dds").c_str(), "none"), -1);
    EXPECT_NE(LogText().find("D3dCubeTexFromFile(" + Path("five.dds") + "): not a whole cube"),
              std::string::npos)
        << LogText();
    EXPECT_EQ(LogText().find("D3dCubeTexFromFile(" + Path("none.dds")), std::string::npos)
        << "a missing file is no damaged one";
}

// ---- bad files ----

TEST_F(TexLoad, EveryTruncationOfADdsAndATgaFails) {
    const std::vector<uint8_t> dds =
        GenDdsBytes(GenDds::Dxt1, GenMipChain(SolidImage(16, 8, 0xFF00FF00)));
    ASSERT_TRUE(WriteTga(Path("full.tga"), SolidImage(5, 3, 0xFF00FF00), IMG_R8G8B8));
    std::string tgaText = ReadTextFile(Path("full.tga"));
    const std::vector<uint8_t> tga(tgaText.begin(), tgaText.end());
    int64_t live = MemLiveBlocks();
    for (const auto* file : {&dds, &tga}) {
        std::string path = Path(file == &dds ? "cut.dds" : "cut.tga");
        for (size_t n = 0; n <= file->size(); ++n) {
            ASSERT_TRUE(
                GenWriteFile(path, std::vector<uint8_t>(file->begin(), file->begin() + long(n))));
            int slot = I3dTexLoad(Path("cut").c_str(), nullptr, 0);
            ASSERT_EQ(slot >= 0, n == file->size()) << n << " of " << file->size() << " bytes";
            if (slot >= 0) I3dTexRelease(slot);
        }
        FileDelete(path.c_str());
    }
    EXPECT_EQ(MemLiveBlocks(), live) << "a refused file leaked its buffer";
    EXPECT_EQ(UsedSlots(), 0);
}

TEST_F(TexLoad, EmptyFilesAndFoldersAreNotTextures) {
    WriteTextFile(Path("empty.dds"), "");
    WriteTextFile(Path("empty.tga"), "");
    EXPECT_EQ(I3dTexLoad(Path("empty").c_str(), nullptr, 0), -1);
    ASSERT_TRUE(WriteTga(Path("dir/x.tga"), SolidImage(1, 1, 0), IMG_R8G8B8));
    WriteTextFile(Path("folder.dds/inside.txt"), "x");
    WriteTextFile(Path("folder.tga/inside.txt"), "x");
    EXPECT_EQ(I3dTexLoad(Path("folder").c_str(), nullptr, 0), -1);
    EXPECT_EQ(UsedSlots(), 0);
}
