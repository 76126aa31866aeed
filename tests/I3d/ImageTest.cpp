// Image headers, fills and views, the converter's table and values, and the colour blend.
#include "I3d/Image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <set>
#include <utility>

namespace {

// Converts one pixel of `format` (its bytes given) into `dstFormat`; the destination's bytes as a
// little-endian word. The source palette's entry 1 is R 200, G 100, B 50.
uint32_t Convert(int format, std::initializer_list<uint8_t> bytes, int dstFormat) {
    uint8_t pixel[4] = {}, palette[768] = {};
    std::copy(bytes.begin(), bytes.end(), pixel);
    palette[3] = 200, palette[4] = 100, palette[5] = 50;
    Bitmap src{1, 1, ImgBytesPerPixel(format), format, ImgBytesPerPixel(format), palette, pixel, 0};
    I3dImage* dst = ImgAlloc(1, 1, dstFormat);
    std::memset(dst->pixels, 0, 4);
    EXPECT_EQ(ImgBlitConvert(dst, 0, 0, 1, 1, &src, 0, 0), 0) << format << " -> " << dstFormat;
    uint32_t v = 0;
    std::memcpy(&v, dst->pixels, size_t(dst->bytesPerPixel));
    ImgFree(dst);
    return v;
}

} // namespace

TEST(Image, PitchIsPaddedForImagesAndExactForBitmaps) {
    I3dImage* img = ImgAlloc(3, 2, IMG_R8G8B8);
    EXPECT_EQ(img->pitch, 12) << "9 bytes of pixels per row padded to a multiple of 4";
    ImgFill(img, 0x00112233);
    const uint8_t* last = img->pixels + img->pitch + 6;
    EXPECT_EQ(last[0], 0x11) << "3-byte fills write colour >> 16 first";
    EXPECT_EQ(last[2], 0x33);
    ImgFree(img);
    Bitmap bmp;
    ASSERT_EQ(BitmapAlloc(&bmp, 3, 2, IMG_R8G8B8), 0);
    EXPECT_EQ(bmp.pitch, 9) << "a bitmap's rows are not padded";
    BitmapFree(&bmp);
    EXPECT_EQ(ImgAlloc(1 << 20, 1 << 20, IMG_A8R8G8B8), nullptr) << "pitch x height overflows";
    EXPECT_EQ(BitmapAlloc(&bmp, 1 << 20, 1 << 20, IMG_A8R8G8B8), -3);
    EXPECT_EQ(bmp.width, 0) << "a failed allocation leaves the record cleared";
}

TEST(Image, ViewsAddressTheInclusiveRectangleAndStayInside) {
    I3dImage* img = ImgAlloc(5, 3, IMG_A8);
    ImgFill(img, 0);
    // The view touches the image's last byte: a fill or copy of pitch x height would run past
    // the block (AddressSanitizer reports it).
    I3dImage* view = ImgCreateView(img, 2, 1, 4, 2);
    EXPECT_EQ(view->width, 3);
    EXPECT_EQ(view->height, 2);
    EXPECT_EQ(view->pixels, img->pixels + img->pitch + 2);
    ImgFill(view, 7);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(img->pixels[y * img->pitch + x], (y >= 1 && x >= 2) ? 7 : 0) << x << y;
    I3dImage* other = ImgAlloc(3, 2, IMG_A8);
    ImgFill(other, 9);
    EXPECT_EQ(ImgCopyPixels(view, other), 0);
    EXPECT_EQ(img->pixels[2 * img->pitch + 4], 9);
    EXPECT_EQ(ImgCopyPixels(other, img), -1) << "a larger source does not fit";
    EXPECT_EQ(ImgSetView(other, img, 0, 0, 0, 0), -1) << "only views are re-pointed";
    ImgFree(other);
    ImgFree(view);
    ImgFree(img);
}

TEST(Image, FlipVerticalSwapsRows) {
    I3dImage* img = ImgAlloc(1, 3, IMG_L8);
    for (int y = 0; y < 3; ++y)
        img->pixels[y * img->pitch] = uint8_t(y);
    ASSERT_EQ(ImgFlipVertical(img), 0);
    EXPECT_EQ(img->pixels[0], 2);
    EXPECT_EQ(img->pixels[img->pitch], 1);
    EXPECT_EQ(img->pixels[2 * img->pitch], 0);
    ImgFree(img);
}

TEST(ImageConvert, OnlyTheTablesPairsConvert) {
    const std::set<std::pair<int, int>> supported = {
        {1, 1}, {1, 3}, {1, 4}, {1, 5}, {3, 3}, {4, 3}, {4, 4}, {4, 9}, {5, 3},
        {5, 4}, {5, 5}, {5, 7}, {5, 8}, {7, 1}, {7, 3}, {7, 7}, {8, 8}, {9, 9}};
    uint8_t palette[768] = {};
    for (int s = 0; s < IMG_FORMAT_COUNT; ++s) {
        for (int d = 0; d < IMG_FORMAT_COUNT; ++d) {
            Bitmap src;
            ASSERT_EQ(BitmapAlloc(&src, 2, 2, s), 0);
            src.palette = palette;
            I3dImage* dst = ImgAlloc(2, 2, d);
            EXPECT_EQ(ImgBlitConvert(dst, 0, 0, 2, 2, &src, 0, 0), supported.count({s, d}) ? 0 : -1)
                << s << " -> " << d;
            src.palette = nullptr;
            BitmapFree(&src);
            ImgFree(dst);
        }
    }
    I3dImage* p8 = ImgAlloc(1, 1, IMG_P8);
    I3dImage* rgb = ImgAlloc(1, 1, IMG_R8G8B8);
    EXPECT_EQ(ImgBlitConvert(rgb, 0, 0, 1, 1, p8, 0, 0), -1) << "an image carries no palette";
    ImgFree(p8);
    ImgFree(rgb);
}

TEST(ImageConvert, ValuesTruncateToTheTopBits) {
    EXPECT_EQ(Convert(IMG_R8G8B8, {255, 255, 255}, IMG_R5G6B5), 0xFFFFu);
    EXPECT_EQ(Convert(IMG_R8G8B8, {8, 4, 8}, IMG_R5G6B5), 0x0821u);
    EXPECT_EQ(Convert(IMG_R8G8B8, {1, 2, 3}, IMG_A8R8G8B8), 0xFF010203u);
    EXPECT_EQ(Convert(IMG_R8G8B8, {255, 0, 8}, IMG_A1R5G5B5), 0xFC01u);
    EXPECT_EQ(Convert(IMG_R8G8B8, {255, 255, 255}, IMG_L8), 255u);
    EXPECT_EQ(Convert(IMG_A8R8G8B8, {8, 4, 8, 0x77}, IMG_R5G6B5), 0x0821u) << "bytes B, G, R, A";
    EXPECT_EQ(Convert(IMG_A8R8G8B8, {0x10, 0x20, 0x30, 0xF0}, IMG_A4R4G4B4), 0xF321u);
    EXPECT_EQ(Convert(IMG_L8, {0x84}, IMG_R5G6B5), 0x8430u);
    EXPECT_EQ(Convert(IMG_P8, {1}, IMG_R5G6B5), 0xCB26u);
    EXPECT_EQ(Convert(IMG_P8, {1}, IMG_R8G8B8), 0x3264C8u) << "palette R, G, B in order";
    EXPECT_EQ(Convert(IMG_P8, {1}, IMG_A8R8G8B8), 0xFFC86432u)
        << "a palette pixel in a 32-bit layout keeps red and blue in place";

    I3dImage* src = ImgAlloc(4, 4, IMG_R8G8B8);
    ImgFill(src, 0);
    src->pixels[2 * src->pitch + 3] = 255; // (1, 2) red
    I3dImage* dst = ImgAlloc(3, 3, IMG_A8R8G8B8);
    ImgFill(dst, 0);
    ASSERT_EQ(ImgBlitConvert(dst, 1, 1, 2, 2, src, 0, 1), 0);
    uint32_t v;
    std::memcpy(&v, dst->pixels + 2 * dst->pitch + 8, 4);
    EXPECT_EQ(v, 0xFFFF0000u) << "source (1, 2) lands at destination (2, 2)";
    ImgFree(src);
    ImgFree(dst);
}

TEST(ColorLerp, EndsAndClamping) {
    EXPECT_EQ(ColorLerpArgb(0x12345678, 0xFFFFFFFF, 0.0f), 0x12345678u);
    EXPECT_EQ(ColorLerpArgb(0, 0xFFFFFFFF, 1.0f), 0xFEFEFEFEu) << "255 x 255 >> 8 = 254";
    EXPECT_EQ(ColorLerpArgb(0xFFFFFFFF, 0, 0.5f), 0x80808080u)
        << "a negative difference shifts arithmetically: 255 + (-255 x 127 >> 8) = 128";
    EXPECT_EQ(ColorLerpArgb(0, 0xFFFFFFFF, 7.0f), 0xFEFEFEFEu) << "t above 1 counts as 1";
    EXPECT_EQ(ColorLerpArgb(0x11223344, 0, -3.0f), 0x11223344u);
    EXPECT_EQ(ColorLerpArgb(0x11223344, 0, std::numeric_limits<float>::quiet_NaN()), 0x11223344u);
}

// Rectangles outside an image are the caller's error: debug builds stop, release builds refuse.
TEST(ImageDeathTest, RectanglesOutsideTheImageAreCallersErrors) {
    I3dImage* img = ImgAlloc(4, 4, IMG_L8);
    I3dImage* other = ImgAlloc(2, 2, IMG_L8);
    EXPECT_DEBUG_DEATH(EXPECT_EQ(ImgCreateView(img, 3, 0, 1, 1), nullptr), "inside its image");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(ImgBlitConvert(other, 1, 1, 2, 2, img, 0, 0), -1),
                       "destination rectangle");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(ImgBlitConvert(img, 0, 0, 2, 2, other, 1, 0), -1),
                       "source rectangle");
    ImgFree(other);
    ImgFree(img);
}
