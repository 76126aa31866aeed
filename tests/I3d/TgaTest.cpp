// TGA reading and writing: layouts, row order, byte order, round trips and hostile files.
#include "I3d/Image.h"
#include "engine/Files.h"
#include "engine/Memory.h"
#include "engine/Random.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A TGA header with the given fields; everything else zero.
Bytes Header(int imageType, int width, int height, int bits, int mapType = 0, int mapLength = 0,
             int mapBits = 0, int idLength = 0) {
    Bytes h(18, 0);
    h[0] = uint8_t(idLength);
    h[1] = uint8_t(mapType);
    h[2] = uint8_t(imageType);
    h[5] = uint8_t(mapLength), h[6] = uint8_t(mapLength >> 8);
    h[7] = uint8_t(mapBits);
    h[12] = uint8_t(width), h[13] = uint8_t(width >> 8);
    h[14] = uint8_t(height), h[15] = uint8_t(height >> 8);
    h[16] = uint8_t(bits);
    return h;
}

void WriteBytes(const std::string& path, const Bytes& b) {
    WriteTextFile(path, std::string(b.begin(), b.end()));
}

Bytes ReadBytes(const std::string& path) {
    std::string s = ReadTextFile(path);
    return Bytes(s.begin(), s.end());
}

// A valid 8-bit colour-mapped file of 2 x 2: palette entry i = (R i, G 2i, B 3i) stored B, G, R.
Bytes PaletteFile() {
    Bytes f = Header(1, 2, 2, 8, 1, 256, 24);
    for (int i = 0; i < 256; ++i) {
        f.push_back(uint8_t(3 * i));
        f.push_back(uint8_t(2 * i));
        f.push_back(uint8_t(i));
    }
    for (uint8_t p : {1, 2, 3, 4})
        f.push_back(p);
    return f;
}

} // namespace

TEST(Tga, TwentyFourBitRowsAreReversedAndSwapped) {
    TempDir dir;
    Bytes f = Header(2, 2, 2, 24);
    // File row 0: blue, green. File row 1: red, white. Each pixel stored B, G, R.
    for (uint8_t b : {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255})
        f.push_back(b);
    WriteBytes(dir / "blue.tga", f);
    Bitmap bmp;
    ASSERT_EQ(BitmapLoadTga(&bmp, (dir / "blue.tga").c_str(), nullptr, 0), 0);
    EXPECT_EQ(bmp.format, IMG_R8G8B8);
    EXPECT_EQ(bmp.pitch, 6);
    const uint8_t* last = bmp.pixels + bmp.pitch;
    EXPECT_EQ(last[0], 0);
    EXPECT_EQ(last[1], 0);
    EXPECT_EQ(last[2], 255) << "the file's first pixel (blue) ends as R, G, B in the last row";
    EXPECT_EQ(bmp.pixels[0], 255) << "the file's second row (red) is the bitmap's first";
    BitmapFree(&bmp);
}

TEST(Tga, LayoutsGiveTheirFormats) {
    TempDir dir;
    struct Case {
        int type, bits, format;
    } cases[] = {{2, 16, IMG_R5G6B5}, {2, 32, IMG_A8R8G8B8}, {3, 8, IMG_L8}};
    for (const Case& c : cases) {
        Bytes f = Header(c.type, 3, 1, c.bits);
        f.resize(f.size() + 3 * c.bits / 8, 0x5A);
        WriteBytes(dir / "f.tga", f);
        Bitmap bmp;
        ASSERT_EQ(BitmapLoadTga(&bmp, (dir / "f.tga").c_str(), nullptr, 0), 0) << c.bits;
        EXPECT_EQ(bmp.format, c.format);
        EXPECT_EQ(bmp.pixels[bmp.pitch - 1], 0x5A) << "rows other than 24-bit are copied as stored";
        BitmapFree(&bmp);
    }
}

TEST(Tga, PaletteFileKeepsItsPaletteAsRgb) {
    TempDir dir;
    WriteBytes(dir / "p.tga", PaletteFile());
    uint8_t palette[768] = {};
    Bitmap bmp;
    ASSERT_EQ(BitmapLoadTga(&bmp, (dir / "p.tga").c_str(), palette, 0), 0);
    EXPECT_EQ(bmp.format, IMG_P8);
    EXPECT_EQ(palette[3 * 10 + 0], 10) << "R";
    EXPECT_EQ(palette[3 * 10 + 1], 20) << "G";
    EXPECT_EQ(palette[3 * 10 + 2], 30) << "B";
    ASSERT_NE(bmp.palette, nullptr) << "the converter needs the palette in the bitmap";
    EXPECT_EQ(std::memcmp(bmp.palette, palette, 768), 0);
    EXPECT_EQ(bmp.pixels[0], 3) << "file row 1 is the bitmap's row 0";
    BitmapFree(&bmp);
}

TEST(Tga, SaveThenLoadRoundTrips) {
    TempDir dir;
    uint8_t palette[768];
    for (int i = 0; i < 768; ++i)
        palette[i] = uint8_t(i * 7);
    for (int format : {IMG_A8R8G8B8, IMG_R8G8B8, IMG_L8, IMG_P8}) {
        I3dImage* img = ImgAlloc(5, 3, format);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5 * img->bytesPerPixel; ++x)
                img->pixels[y * img->pitch + x] = uint8_t(y * 31 + x);
        std::string path = dir / ("r" + std::to_string(format) + ".tga");
        ASSERT_EQ(ImgSaveTga(img, path.c_str(), palette), 0) << format;
        uint8_t back[768] = {};
        Bitmap bmp;
        ASSERT_EQ(BitmapLoadTga(&bmp, path.c_str(), back, 0), 0) << format;
        EXPECT_EQ(bmp.format, format);
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(std::memcmp(bmp.pixels + y * bmp.pitch, img->pixels + y * img->pitch,
                                  size_t(bmp.pitch)),
                      0)
                << "format " << format << " row " << y;
        if (format == IMG_P8) {
            EXPECT_EQ(std::memcmp(back, palette, 768), 0);
        }
        BitmapFree(&bmp);

        I3dImage* again = ImgLoadTga(path.c_str(), nullptr);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->pitch, img->pitch) << "ImgLoadTga pads rows as ImgAlloc does";
        EXPECT_EQ(std::memcmp(again->pixels, img->pixels, size_t(img->pitch) * 3), 0);
        ImgFree(again);
        ImgFree(img);
    }
}

TEST(Tga, SavedFileHasItsHeaderAndBottomUpRows) {
    TempDir dir;
    I3dImage* img = ImgAlloc(2, 2, IMG_R8G8B8);
    const uint8_t px[2][6] = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
    for (int y = 0; y < 2; ++y)
        std::memcpy(img->pixels + y * img->pitch, px[y], 6);
    ASSERT_EQ(ImgSaveTga(img, (dir / "h.tga").c_str(), nullptr), 0);
    Bytes f = ReadBytes(dir / "h.tga");
    ASSERT_EQ(f.size(), 18u + 12u);
    const Bytes header = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 8};
    EXPECT_EQ(Bytes(f.begin(), f.begin() + 18), header);
    const Bytes rows = {9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4};
    EXPECT_EQ(Bytes(f.begin() + 18, f.end()), rows) << "last row first, each pixel B, G, R";
    ImgFree(img);

    I3dImage* p8 = ImgAlloc(1, 1, IMG_P8);
    uint8_t palette[768] = {10, 20, 30};
    ASSERT_EQ(ImgSaveTga(p8, (dir / "p.tga").c_str(), palette), 0);
    f = ReadBytes(dir / "p.tga");
    ASSERT_EQ(f.size(), 18u + 768u + 1u);
    EXPECT_EQ(f[1], 1) << "colour map present";
    EXPECT_EQ(f[2], 1);
    EXPECT_EQ(f[5] | f[6] << 8, 256);
    EXPECT_EQ(f[7], 24);
    EXPECT_EQ(f[18], 30) << "map entries are written B, G, R";
    EXPECT_EQ(f[20], 10);
    ImgFree(p8);
}

TEST(Tga, UnwritableFormatsLeaveAnEmptyFile) {
    TempDir dir;
    I3dImage* img = ImgAlloc(2, 2, IMG_R5G6B5);
    EXPECT_EQ(ImgSaveTga(img, (dir / "a.tga").c_str(), nullptr), -1);
    EXPECT_TRUE(PathExistsOnDisk(dir / "a.tga"));
    EXPECT_EQ(ReadTextFile(dir / "a.tga").size(), 0u);
    ImgFree(img);
    I3dImage* p8 = ImgAlloc(2, 2, IMG_P8);
    EXPECT_EQ(ImgSaveTga(p8, (dir / "b.tga").c_str(), nullptr), -1) << "no palette to write";
    ImgFree(p8);
}

TEST(Tga, PathsUseEitherSeparatorAndAnyCase) {
    TempDir dir;
    Bytes f = Header(3, 1, 1, 8);
    f.push_back(42);
    WriteBytes(dir / "Sub/Grey.tga", f);
    Bitmap bmp;
    ASSERT_EQ(BitmapLoadTga(&bmp, (dir.Path() + "sub\\GREY.TGA").c_str(), nullptr, 0), 0);
    EXPECT_EQ(bmp.pixels[0], 42);
    BitmapFree(&bmp);
}

// ---- bad files ----

TEST(Tga, UnreadableLayoutsFail) {
    TempDir dir;
    struct Case {
        const char* what;
        Bytes file;
    };
    std::vector<Case> cases = {
        {"run-length (type 10)", Header(10, 1, 1, 24)},
        {"15-bit true colour", Header(2, 1, 1, 15)},
        {"16-bit grey", Header(3, 1, 1, 16)},
        {"colour map of 16-bit entries", Header(1, 1, 1, 8, 1, 256, 16)},
        {"100-entry palette", Header(1, 1, 1, 8, 1, 100, 24)},
        {"palette image without a map", Header(1, 1, 1, 8, 0, 256, 24)},
        {"zero width", Header(2, 0, 4, 24)},
        {"zero height", Header(2, 4, 0, 24)},
        {"id past the end", Header(3, 1, 1, 8, 0, 0, 0, 200)},
        {"65535 x 65535 in 1 KB", Header(2, 65535, 65535, 32)},
    };
    for (Case& c : cases) {
        c.file.resize(std::max<size_t>(c.file.size(), 1024), 0);
        if (std::string(c.what) == "id past the end") c.file.resize(18 + 100);
        WriteBytes(dir / "bad.tga", c.file);
        int64_t live = MemLiveBlocks();
        Bitmap bmp;
        EXPECT_EQ(BitmapLoadTga(&bmp, (dir / "bad.tga").c_str(), nullptr, 0), -1) << c.what;
        EXPECT_EQ(bmp.pixels, nullptr) << c.what;
        EXPECT_EQ(bmp.format, 0) << c.what;
        EXPECT_EQ(ImgLoadTga((dir / "bad.tga").c_str(), nullptr), nullptr) << c.what;
        EXPECT_EQ(MemLiveBlocks(), live) << c.what << ": a failed read leaked";
    }
}

TEST(Tga, EveryTruncationFails) {
    TempDir dir;
    std::string path = dir / "t.tga";
    const Bytes full = PaletteFile();
    for (size_t n = 0; n <= full.size(); ++n) {
        WriteBytes(path, Bytes(full.begin(), full.begin() + long(n)));
        Bitmap bmp;
        uint8_t palette[768];
        int expected = n == full.size() ? 0 : -1;
        ASSERT_EQ(BitmapLoadTga(&bmp, path.c_str(), palette, 0), expected) << n << " bytes";
        BitmapFree(&bmp);
        I3dImage* img = ImgLoadTga(path.c_str(), palette);
        ASSERT_EQ(img != nullptr, expected == 0) << n << " bytes";
        ImgFree(img);
    }
}

TEST(Tga, MissingFilesAndFoldersFail) {
    TempDir dir;
    Bitmap bmp;
    EXPECT_EQ(BitmapLoadTga(&bmp, (dir / "none.tga").c_str(), nullptr, 0), -1);
    EXPECT_EQ(BitmapLoadTga(&bmp, dir.Path().c_str(), nullptr, 0), -1) << "a folder";
    EXPECT_EQ(BitmapLoadTga(&bmp, nullptr, nullptr, 0), -1);
    EXPECT_EQ(ImgLoadTga(dir.Path().c_str(), nullptr), nullptr);
}

TEST(Tga, RandomlyDamagedHeadersNeverReadPastTheFile) {
    // Seeded: the same damage on every run. AddressSanitizer is the judge; the result only has
    // to be a clean 0 or -1.
    CrtSrand(9);
    TempDir dir;
    std::string path = dir / "m.tga";
    const Bytes good = PaletteFile();
    for (int i = 0; i < 400; ++i) {
        Bytes f = good;
        for (int n = RandIntRange(1, 4); n > 0; --n)
            f[size_t(RandInt(18))] = uint8_t(RandInt(256));
        if (RandInt(4) == 0) f.resize(size_t(RandInt(int(f.size()))));
        WriteBytes(path, f);
        Bitmap bmp;
        int r = BitmapLoadTga(&bmp, path.c_str(), nullptr, 0);
        ASSERT_TRUE(r == 0 || r == -1);
        BitmapFree(&bmp);
        ImgFree(ImgLoadTga(path.c_str(), nullptr));
    }
}
