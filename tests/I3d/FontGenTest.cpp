// The font generator: the byte layout of the files it writes, and the layout rules every
// generated game font keeps (rows of one cell height, gutters, uvs on texel edges).
#include "I3d/Image.h"
#include "datagen/Fonts/GenFont.h"
#include "engine/Files.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

const std::string kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::string s = ReadTextFile(path);
    return std::vector<uint8_t>(s.begin(), s.end());
}

template <typename T>
T At(const std::vector<uint8_t>& b, size_t offset) {
    T v{};
    if (offset + sizeof v <= b.size()) std::memcpy(&v, b.data() + offset, sizeof v);
    return v;
}

} // namespace

TEST(FontGen, ThreeGlyphFilesHoldTheirFieldsAtTheirOffsets) {
    GenFont font;
    std::string error;
    ASSERT_TRUE(GenRenderFont(kSans, 12, {u'.', u'A', u'B'}, &font, &error)) << error;
    TempDir dir;
    ASSERT_TRUE(GenWriteFont(font, dir / "Three"));
    const std::vector<uint8_t> abc = FileBytes(dir / "Three.abc");
    const size_t n = 'B';
    ASSERT_EQ(abc.size(), 28 + 2 * n + 4 * 24) << "header, table of N + 1, M = 4 records";
    EXPECT_EQ(At<uint32_t>(abc, 0), 5u);
    // 12 points at 96 dpi are 16 pixels: the face's ascender 0.928 em rounds up to 15, its
    // descender 0.236 em down to 4.
    EXPECT_EQ(At<float>(abc, 4), 19.0f) << "the cell is ascender + descender";
    EXPECT_EQ(At<float>(abc, 16), 19.0f) << "the face's line spacing, 1.164 em";
    EXPECT_EQ(At<uint16_t>(abc, 20), n);
    EXPECT_EQ(At<uint16_t>(abc, 22 + 2 * '.'), 1);
    EXPECT_EQ(At<uint16_t>(abc, 22 + 2 * 'A'), 2);
    EXPECT_EQ(At<uint16_t>(abc, 22 + 2 * 'B'), 3);
    EXPECT_EQ(At<uint16_t>(abc, 22 + 2 * ('A' - 1)), 0) << "codes not asked for use record 0";
    EXPECT_EQ(At<uint32_t>(abc, 24 + 2 * n), 4u);
    const size_t a = 28 + 2 * n + 2 * 24; // the record of 'A'
    const int16_t bearing = At<int16_t>(abc, a + 16), width = At<int16_t>(abc, a + 18);
    EXPECT_EQ(bearing + At<int16_t>(abc, a + 20), 11)
        << "a + c is the advance in whole pixels: 0.684 em of 16 pixels";
    EXPECT_GT(width, 0);
    EXPECT_EQ(std::lround((At<float>(abc, a + 8) - At<float>(abc, a)) * float(font.atlas.width)),
              width)
        << "b is the width of the glyph's texels";

    const std::vector<uint8_t> tga = FileBytes(dir / "Three.tga");
    ASSERT_EQ(tga.size(), 18u + size_t(font.atlas.width) * size_t(font.atlas.height));
    EXPECT_EQ(tga[2], 3) << "uncompressed grey";
    EXPECT_EQ(tga[16], 8) << "8 bits per pixel";
    EXPECT_EQ(tga[17], 8) << "rows bottom-up";
    EXPECT_EQ(At<uint16_t>(tga, 12), font.atlas.width);
    EXPECT_EQ(At<uint16_t>(tga, 14), font.atlas.height);
    const size_t bottomRow = 18;
    EXPECT_EQ(
        0, std::memcmp(&tga[bottomRow],
                       &font.atlas.pixels[size_t(font.atlas.width) * size_t(font.atlas.height - 1)],
                       size_t(font.atlas.width)))
        << "the file's first row is the atlas's last";
}

TEST(FontGen, AFaceThatCannotBeReadIsAnError) {
    GenFont font;
    std::string error;
    EXPECT_FALSE(GenRenderFont("/nonexistent/face.ttf", 12, {u'A'}, &font, &error));
    EXPECT_NE(error.find("/nonexistent/face.ttf"), std::string::npos);
}

class GeneratedFont : public testing::TestWithParam<const char*> {};

// The rules the pixel-exact drawing relies on, checked on the files the build generated.
TEST_P(GeneratedFont, KeepsTheLayoutRules) {
    const std::string path = std::string(FAIRLARK_BUILD_DATA_DIR) + "Fonts/" + GetParam();
    EXPECT_FALSE(FileExists((path + ".dds").c_str())) << "a .dds would be loaded instead";
    const std::vector<uint8_t> abc = FileBytes(path + ".abc");
    Bitmap bmp;
    ASSERT_EQ(BitmapLoadTga(&bmp, (path + ".tga").c_str(), nullptr, 0), 0);
    ASSERT_EQ(bmp.format, IMG_L8);
    const size_t n = At<uint16_t>(abc, 20);
    const uint32_t m = At<uint32_t>(abc, 24 + 2 * n);
    ASSERT_EQ(abc.size(), 28 + 2 * n + 24 * size_t(m));
    const float cell = At<float>(abc, 4);
    EXPECT_GE(At<float>(abc, 16), cell) << "lines overlap";

    ASSERT_GE(n, 255u);
    for (unsigned code = 32; code <= 255; ++code) {
        if (code > 126 && code < 160) continue;
        EXPECT_NE(At<uint16_t>(abc, 22 + 2 * code), 0) << "code " << code << " has no glyph";
    }
    // bmp.pixels is top row first; u and v count texels from the top left.
    auto texel = [&](int x, int y) {
        return bmp.pixels[size_t(y) * size_t(bmp.pitch) + size_t(x)];
    };
    int recordZeroInk = 0;
    for (uint32_t r = 0; r < m; ++r) {
        SCOPED_TRACE(testing::Message() << "record " << r);
        const size_t at = 28 + 2 * n + 24 * size_t(r);
        const float x0 = At<float>(abc, at) * float(bmp.width);
        const float y0 = At<float>(abc, at + 4) * float(bmp.height);
        const float x1 = At<float>(abc, at + 8) * float(bmp.width);
        const float y1 = At<float>(abc, at + 12) * float(bmp.height);
        ASSERT_EQ(x0, std::floor(x0)) << "u on a texel edge";
        ASSERT_EQ(y0, std::floor(y0)) << "v on a texel edge";
        ASSERT_EQ(y1 - y0, cell) << "one cell height tall";
        ASSERT_EQ(std::fmod(y0, cell), 0.0f) << "rows are exactly one cell height";
        ASSERT_EQ(x1 - x0, float(At<int16_t>(abc, at + 18))) << "b texels wide";
        for (int y = int(y0); y < int(y1); ++y) {
            ASSERT_EQ(texel(int(x0) - 1, y), 0) << "no empty texel before the glyph";
            ASSERT_EQ(texel(int(x1), y), 0) << "no empty texel after the glyph";
            for (int x = int(x0); r == 0 && x < int(x1); ++x)
                recordZeroInk += texel(x, y) != 0;
        }
    }
    EXPECT_GT(recordZeroInk, 0) << "record 0 must be visible";
    BitmapFree(&bmp);
}

INSTANTIATE_TEST_SUITE_P(GameFonts, GeneratedFont,
                         testing::Values("Georgia_26", "Georgia_20", "Georgia_16", "Georgia_14",
                                         "Arial_12b", "CourierNew9o"));
