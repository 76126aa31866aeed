// TGA reading and writing: row order, byte order, round trips and hostile files.
#include "I3d/Image.h"
#include "engine/Memory.h"
#include "engine/Random.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

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
    const uint8_t* last = bmp.pixels + bmp.pitch;
    EXPECT_EQ(last[0], 0);
    EXPECT_EQ(last[1], 0);
    EXPECT_EQ(last[2], 255) << "the file's first pixel (blue) ends as R, G, B in the last row";
    EXPECT_EQ(bmp.pixels[0], 255) << "the file's second row (red) is the bitmap's first";
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
        // Only the pixel bytes of a row: nothing writes the padding after them.
        const size_t rowBytes = size_t(5 * img->bytesPerPixel);
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(
                std::memcmp(bmp.pixels + y * bmp.pitch, img->pixels + y * img->pitch, rowBytes), 0)
                << "format " << format << " row " << y;
        if (format == IMG_P8) {
            EXPECT_EQ(std::memcmp(back, palette, 768), 0) << "the palette comes back as R, G, B";
            ASSERT_NE(bmp.palette, nullptr) << "the converter needs the palette in the bitmap";
        }
        BitmapFree(&bmp);
        I3dImage* again = ImgLoadTga(path.c_str(), nullptr);
        ASSERT_NE(again, nullptr);
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(std::memcmp(again->pixels + y * again->pitch, img->pixels + y * img->pitch,
                                  rowBytes),
                      0)
                << "format " << format << " row " << y;
        ImgFree(again);
        ImgFree(img);
    }
}

TEST(Tga, SavedFilesHaveTheirHeaderAndBottomUpRows) {
    TempDir dir;
    I3dImage* img = ImgAlloc(2, 2, IMG_R8G8B8);
    const uint8_t px[2][6] = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
    for (int y = 0; y < 2; ++y)
        std::memcpy(img->pixels + y * img->pitch, px[y], 6);
    ASSERT_EQ(ImgSaveTga(img, (dir / "h.tga").c_str(), nullptr), 0);
    const Bytes want = {0, 0, 2, 0,  0,  0,  0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 8, // header
                        9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4}; // last row first, B, G, R
    EXPECT_EQ(ReadBytes(dir / "h.tga"), want);
    ImgFree(img);

    I3dImage* p8 = ImgAlloc(1, 1, IMG_P8);
    uint8_t palette[768] = {10, 20, 30};
    ASSERT_EQ(ImgSaveTga(p8, (dir / "p.tga").c_str(), palette), 0);
    Bytes f = ReadBytes(dir / "p.tga");
    ASSERT_EQ(f.size(), 18u + 768u + 1u);
    EXPECT_EQ(Bytes(f.begin(), f.begin() + 8), Bytes({0, 1, 1, 0, 0, 0, 1, 24}));
    EXPECT_EQ(f[18], 30) << "map entries are written B, G, R";
    EXPECT_EQ(ImgSaveTga(p8, (dir / "q.tga").c_str(), nullptr), -1) << "no palette to write";
    ImgFree(p8);

    I3dImage* w16 = ImgAlloc(2, 2, IMG_R5G6B5);
    EXPECT_EQ(ImgSaveTga(w16, (dir / "w.tga").c_str(), nullptr), -1);
    EXPECT_EQ(ReadBytes(dir / "w.tga").size(), 0u) << "other formats leave an empty file";
    ImgFree(w16);
}

TEST(Tga, UnreadableFilesFail) {
    TempDir dir;
    struct Case {
        const char* what;
        Bytes file;
        size_t size; // the file is cut or padded to this many bytes
    } cases[] = {
        {"run-length (type 10)", Header(10, 1, 1, 24), 1024},
        {"15-bit true colour", Header(2, 1, 1, 15), 1024},
        {"16-bit grey", Header(3, 1, 1, 16), 1024},
        {"colour map of 16-bit entries", Header(1, 1, 1, 8, 1, 256, 16), 1024},
        {"100-entry palette", Header(1, 1, 1, 8, 1, 100, 24), 1024},
        {"zero width", Header(2, 0, 4, 24), 1024},
        {"id past the end", Header(3, 1, 1, 8, 0, 0, 0, 200), 118},
        {"65535 x 65535 in 1 KB", Header(2, 65535, 65535, 32), 1024},
        {"one byte short", Header(2, 2, 2, 32), 18 + 15},
        {"empty", Bytes(), 0},
    };
    int64_t live = MemLiveBlocks();
    for (Case& c : cases) {
        c.file.resize(c.size, 0);
        WriteBytes(dir / "bad.tga", c.file);
        Bitmap bmp;
        EXPECT_EQ(BitmapLoadTga(&bmp, (dir / "bad.tga").c_str(), nullptr, 0), -1) << c.what;
        EXPECT_EQ(bmp.pixels, nullptr) << c.what;
        EXPECT_EQ(ImgLoadTga((dir / "bad.tga").c_str(), nullptr), nullptr) << c.what;
    }
    Bitmap bmp;
    EXPECT_EQ(BitmapLoadTga(&bmp, (dir / "none.tga").c_str(), nullptr, 0), -1);
    EXPECT_EQ(BitmapLoadTga(&bmp, dir.Path().c_str(), nullptr, 0), -1) << "a folder";
    EXPECT_EQ(MemLiveBlocks(), live) << "a failed read leaked";
}

TEST(Tga, RandomlyDamagedHeadersNeverReadPastTheFile) {
    // Seeded: the same damage on every run. AddressSanitizer is the judge.
    CrtSrand(9);
    TempDir dir;
    std::string path = dir / "m.tga";
    Bytes good = Header(1, 2, 2, 8, 1, 256, 24);
    good.resize(18 + 768 + 4, 0x55);
    for (int i = 0; i < 400; ++i) {
        Bytes f = good;
        for (int n = RandIntRange(1, 4); n > 0; --n)
            f[size_t(RandInt(18))] = uint8_t(RandInt(256));
        if (RandInt(4) == 0) f.resize(size_t(RandInt(int(f.size()))));
        WriteBytes(path, f);
        Bitmap bmp;
        BitmapLoadTga(&bmp, path.c_str(), nullptr, 0);
        BitmapFree(&bmp);
        ImgFree(ImgLoadTga(path.c_str(), nullptr));
    }
}
