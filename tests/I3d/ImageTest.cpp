// Image headers, fills, views, the format converter's table and values, and the colour blend.
#include "I3d/Image.h"
#include "engine/Memory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <utility>

namespace {

uint16_t Read16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

// A one-pixel source of the given format holding `bytes`, with a palette whose entry 1 is
// (R 200, G 100, B 50).
struct OnePixel {
    uint8_t pixel[4] = {};
    uint8_t palette[768] = {};
    Bitmap bmp{};
    explicit OnePixel(int format, std::initializer_list<uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), pixel);
        palette[3] = 200, palette[4] = 100, palette[5] = 50;
        bmp.width = bmp.height = 1;
        bmp.format = format;
        bmp.bytesPerPixel = ImgBytesPerPixel(format);
        bmp.pitch = bmp.bytesPerPixel;
        bmp.pixels = pixel;
        bmp.palette = palette;
    }
};

// Converts one pixel and returns the destination's bytes (little-endian word).
uint32_t Convert(const OnePixel& src, int dstFormat) {
    I3dImage* dst = ImgAlloc(1, 1, dstFormat);
    EXPECT_NE(dst, nullptr);
    std::memset(dst->pixels, 0, 4);
    EXPECT_EQ(ImgBlitConvert(dst, 0, 0, 1, 1, &src.bmp, 0, 0), 0);
    uint32_t v = 0;
    std::memcpy(&v, dst->pixels, size_t(dst->bytesPerPixel));
    ImgFree(dst);
    return v;
}

} // namespace

// ---- headers ----

TEST(Image, PitchIsPaddedForImagesAndExactForBitmaps) {
    I3dImage* img = ImgAlloc(3, 2, IMG_R8G8B8);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->pitch, 12) << "9 bytes of pixels per row padded to a multiple of 4";
    EXPECT_EQ(img->bytesPerPixel, 3);
    EXPECT_EQ(img->flags, uint32_t(IMG_OWNS_PIXELS));
    ImgFree(img);

    Bitmap bmp;
    ASSERT_EQ(BitmapAlloc(&bmp, 3, 2, IMG_R8G8B8), 0);
    EXPECT_EQ(bmp.pitch, 9) << "a bitmap's rows are not padded";
    EXPECT_EQ(bmp.palette, nullptr);
    BitmapFree(&bmp);
    EXPECT_EQ(bmp.pixels, nullptr);
    EXPECT_EQ(bmp.width, 0);

    uint8_t pixels[16];
    I3dImage* wrap = ImgWrap(3, 1, IMG_A8, pixels);
    ASSERT_NE(wrap, nullptr);
    EXPECT_EQ(wrap->pitch, 4);
    EXPECT_EQ(wrap->flags, uint32_t(IMG_VIEW));
    EXPECT_EQ(wrap->pixels, pixels);
    ImgFree(wrap);
}

TEST(Image, ImpossibleSizesGiveNoImage) {
    int64_t live = MemLiveBlocks();
    EXPECT_EQ(ImgAlloc(0, 4, IMG_A8), nullptr);
    EXPECT_EQ(ImgAlloc(4, -1, IMG_A8), nullptr);
    EXPECT_EQ(ImgAlloc(4, 4, 12), nullptr) << "format outside the table";
    EXPECT_EQ(ImgAlloc(1 << 20, 1 << 20, IMG_A8R8G8B8), nullptr) << "pitch x height overflows";
    Bitmap bmp;
    EXPECT_EQ(BitmapAlloc(&bmp, 1 << 20, 1 << 20, IMG_A8R8G8B8), -3);
    EXPECT_EQ(bmp.pixels, nullptr);
    EXPECT_EQ(bmp.width, 0) << "a failed allocation leaves the record cleared";
    EXPECT_EQ(MemLiveBlocks(), live);
}

// ---- fills, flips, views ----

TEST(Image, FillWritesEachPixelSize) {
    I3dImage* rgb = ImgAlloc(3, 2, IMG_R8G8B8);
    ImgFill(rgb, 0x00112233);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const uint8_t* p = rgb->pixels + y * rgb->pitch + x * 3;
            EXPECT_EQ(p[0], 0x11) << "3-byte fills write colour >> 16 first (R)";
            EXPECT_EQ(p[1], 0x22);
            EXPECT_EQ(p[2], 0x33);
        }
    ImgFree(rgb);

    I3dImage* w16 = ImgAlloc(3, 2, IMG_R5G6B5);
    ImgFill(w16, 0xABCD);
    EXPECT_EQ(Read16(w16->pixels + w16->pitch + 4), 0xABCD);
    ImgFree(w16);

    I3dImage* w32 = ImgAlloc(2, 2, IMG_A8R8G8B8);
    ImgFill(w32, 0x80FF0000);
    uint32_t v;
    std::memcpy(&v, w32->pixels + w32->pitch + 4, 4);
    EXPECT_EQ(v, 0x80FF0000u);
    ImgFree(w32);
}

TEST(Image, ViewAddressesTheInclusiveRectangleAndStaysInside) {
    I3dImage* img = ImgAlloc(5, 3, IMG_A8);
    ImgFill(img, 0);
    // A view touching the last pixel of the last row: a fill or copy by pitch x height would
    // run past the image's block (AddressSanitizer reports it).
    I3dImage* view = ImgCreateView(img, 2, 1, 4, 2);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->width, 3);
    EXPECT_EQ(view->height, 2);
    EXPECT_EQ(view->pitch, img->pitch);
    EXPECT_EQ(view->flags, uint32_t(IMG_VIEW));
    EXPECT_EQ(view->pixels, img->pixels + img->pitch + 2);
    ImgFill(view, 7);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(img->pixels[y * img->pitch + x], (y >= 1 && x >= 2) ? 7 : 0)
                << "the fill leaked outside the view at " << x << "," << y;

    I3dImage* other = ImgAlloc(3, 2, IMG_A8);
    ImgFill(other, 9);
    EXPECT_EQ(ImgCopyPixels(view, other), 0);
    EXPECT_EQ(img->pixels[2 * img->pitch + 4], 9);
    EXPECT_EQ(img->pixels[2 * img->pitch + 1], 0);
    EXPECT_EQ(ImgCopyPixels(other, img), -1) << "a larger source does not fit";

    EXPECT_EQ(ImgSetView(view, img, 0, 0, 0, 0), 0);
    EXPECT_EQ(view->width, 1);
    EXPECT_EQ(view->pixels, img->pixels);
    EXPECT_EQ(ImgSetView(other, img, 0, 0, 0, 0), -1) << "only views are re-pointed";
    ImgFree(other);
    ImgFree(view);
    ImgFree(img);
}

TEST(Image, FlipVerticalSwapsRows) {
    I3dImage* img = ImgAlloc(2, 3, IMG_R5G6B5);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x) {
            uint16_t v = uint16_t(y * 10 + x);
            std::memcpy(img->pixels + y * img->pitch + x * 2, &v, 2);
        }
    ASSERT_EQ(ImgFlipVertical(img), 0);
    EXPECT_EQ(Read16(img->pixels), 20);
    EXPECT_EQ(Read16(img->pixels + img->pitch + 2), 11);
    EXPECT_EQ(Read16(img->pixels + 2 * img->pitch + 2), 1);
    ImgFree(img);
}

// ---- conversion ----

TEST(ImageConvert, OnlyTheTablesPairsConvert) {
    const std::set<std::pair<int, int>> supported = {
        {1, 1}, {1, 3}, {1, 4}, {1, 5}, {3, 3}, {4, 3}, {4, 4}, {4, 9}, {5, 3},
        {5, 4}, {5, 5}, {5, 7}, {5, 8}, {7, 1}, {7, 3}, {7, 7}, {8, 8}, {9, 9}};
    uint8_t palette[768] = {};
    for (int s = 0; s < IMG_FORMAT_COUNT; ++s) {
        for (int d = 0; d < IMG_FORMAT_COUNT; ++d) {
            Bitmap src;
            ASSERT_EQ(BitmapAlloc(&src, 2, 2, s), 0);
            std::memset(src.pixels, 0, size_t(src.pitch) * 2);
            src.palette = palette;
            I3dImage* dst = ImgAlloc(2, 2, d);
            int expected = supported.count({s, d}) ? 0 : -1;
            EXPECT_EQ(ImgBlitConvert(dst, 0, 0, 2, 2, &src, 0, 0), expected)
                << "pair " << s << " -> " << d;
            src.palette = nullptr;
            BitmapFree(&src);
            ImgFree(dst);
        }
    }
}

TEST(ImageConvert, ValuesTruncateToTheTopBits) {
    EXPECT_EQ(Convert(OnePixel(IMG_R8G8B8, {255, 255, 255}), IMG_R5G6B5), 0xFFFFu);
    EXPECT_EQ(Convert(OnePixel(IMG_R8G8B8, {8, 4, 8}), IMG_R5G6B5), 0x0821u);
    EXPECT_EQ(Convert(OnePixel(IMG_R8G8B8, {1, 2, 3}), IMG_A8R8G8B8), 0xFF010203u)
        << "R, G, B bytes become B, G, R, 255";
    EXPECT_EQ(Convert(OnePixel(IMG_R8G8B8, {255, 0, 8}), IMG_A1R5G5B5), 0xFC01u);
    EXPECT_EQ(Convert(OnePixel(IMG_R8G8B8, {255, 255, 255}), IMG_L8), 255u);
    EXPECT_EQ(Convert(OnePixel(IMG_R8G8B8, {0, 0, 0}), IMG_L8), 0u);
    // A8R8G8B8 in memory is B, G, R, A.
    EXPECT_EQ(Convert(OnePixel(IMG_A8R8G8B8, {8, 4, 8, 0x77}), IMG_R5G6B5), 0x0821u);
    EXPECT_EQ(Convert(OnePixel(IMG_A8R8G8B8, {0x10, 0x20, 0x30, 0xF0}), IMG_A4R4G4B4), 0xF321u);
    EXPECT_EQ(Convert(OnePixel(IMG_L8, {0x84}), IMG_R5G6B5), 0x8430u);
    EXPECT_EQ(Convert(OnePixel(IMG_P8, {1}), IMG_R5G6B5), 0xCB26u);
    EXPECT_EQ(Convert(OnePixel(IMG_P8, {1}), IMG_R8G8B8), 0x3264C8u) << "palette R, G, B in order";
    EXPECT_EQ(Convert(OnePixel(IMG_P8, {1}), IMG_A8R8G8B8), 0xFFC86432u)
        << "a palette pixel in a 32-bit texture keeps red and blue in place";
}

TEST(ImageConvert, RectanglesLandAtTheirOffsets) {
    I3dImage* src = ImgAlloc(4, 4, IMG_R8G8B8);
    ImgFill(src, 0);
    src->pixels[2 * src->pitch + 1 * 3 + 0] = 255; // (1, 2) red
    I3dImage* dst = ImgAlloc(3, 3, IMG_A8R8G8B8);
    ImgFill(dst, 0);
    ASSERT_EQ(ImgBlitConvert(dst, 1, 1, 2, 2, src, 0, 1), 0);
    uint32_t v;
    std::memcpy(&v, dst->pixels + 2 * dst->pitch + 2 * 4, 4);
    EXPECT_EQ(v, 0xFFFF0000u) << "source (1, 2) lands at destination (2, 2)";
    std::memcpy(&v, dst->pixels, 4);
    EXPECT_EQ(v, 0u) << "outside the rectangle nothing is written";
    ImgFree(src);
    ImgFree(dst);
}

TEST(ImageConvert, PaletteSourceWithoutPaletteFails) {
    I3dImage* src = ImgAlloc(1, 1, IMG_P8);
    I3dImage* dst = ImgAlloc(1, 1, IMG_R5G6B5);
    EXPECT_EQ(ImgBlitConvert(dst, 0, 0, 1, 1, src, 0, 0), -1)
        << "an image header carries no palette";
    ImgFree(src);
    ImgFree(dst);
}

// ---- colours ----

TEST(ColorLerp, EndsAndClamping) {
    EXPECT_EQ(ColorLerpArgb(0x12345678, 0xFFFFFFFF, 0.0f), 0x12345678u);
    EXPECT_EQ(ColorLerpArgb(0, 0xFFFFFFFF, 1.0f), 0xFEFEFEFEu) << "255 x 255 >> 8 = 254";
    EXPECT_EQ(ColorLerpArgb(0xFFFFFFFF, 0, 0.5f), 0x80808080u)
        << "a negative difference shifts arithmetically: 255 + (-255 x 127 >> 8) = 128";
    EXPECT_EQ(ColorLerpArgb(0, 0xFFFFFFFF, 7.0f), 0xFEFEFEFEu) << "t above 1 counts as 1";
    EXPECT_EQ(ColorLerpArgb(0x11223344, 0xFFFFFFFF, -3.0f), 0x11223344u) << "t below 0 as 0";
    EXPECT_EQ(ColorLerpArgb(0x11223344, 0, std::numeric_limits<float>::quiet_NaN()), 0x11223344u);
}

// Rectangles outside an image are the caller's error: debug builds stop rather than clip.
TEST(ImageDeathTest, RectanglesOutsideTheImageAreCallersErrors) {
    I3dImage* img = ImgAlloc(4, 4, IMG_L8);
    I3dImage* other = ImgAlloc(2, 2, IMG_L8);
    // Release builds refuse instead: no view, no copy.
    EXPECT_DEBUG_DEATH(EXPECT_EQ(ImgCreateView(img, 3, 0, 1, 1), nullptr), "inside its image")
        << "x1 < x0";
    EXPECT_DEBUG_DEATH(EXPECT_EQ(ImgCreateView(img, 0, 0, 4, 1), nullptr), "inside its image");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(ImgBlitConvert(other, 1, 1, 2, 2, img, 0, 0), -1),
                       "destination rectangle");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(ImgBlitConvert(img, 0, 0, 2, 2, other, 1, 0), -1),
                       "source rectangle");
    ImgFree(other);
    ImgFree(img);
}
