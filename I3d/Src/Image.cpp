// Image headers and bitmaps: allocation, fills, flips, views and the colour blend.
#include "I3d/Image.h"

#include "engine/Memory.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace {

constexpr int32_t s_bytesPerPixel[IMG_FORMAT_COUNT] = {1, 1, 2, 2, 4, 3, 1, 1, 2, 2, 4, 3};

// Keeps the pixels that follow a header on a 16-byte boundary.
constexpr size_t s_headerBytes = (sizeof(I3dImage) + 15) & ~size_t(15);

int32_t PaddedPitch(int width, int bpp) {
    return (width * bpp + 3) & ~3;
}

// Sizes whose padded pitch x height fits the int32 fields and the allocation.
bool SizeOk(int width, int height, int bpp) {
    if (width <= 0 || height <= 0 || bpp <= 0) return false;
    int64_t pitch = (int64_t(width) * bpp + 3) & ~int64_t(3);
    return pitch <= INT32_MAX && pitch * height <= INT32_MAX;
}

void FillHeader(I3dImage* img, int width, int height, int format) {
    img->width = width;
    img->height = height;
    img->format = format;
    img->bytesPerPixel = ImgBytesPerPixel(format);
    img->pitch = PaddedPitch(width, img->bytesPerPixel);
    img->reserved = 0;
}

bool RectInside(const I3dImage* img, int x0, int y0, int x1, int y1) {
    return x0 >= 0 && y0 >= 0 && x0 <= x1 && y0 <= y1 && x1 < img->width && y1 < img->height;
}

void PointView(I3dImage* view, const I3dImage* img, int x0, int y0, int x1, int y1) {
    view->width = x1 - x0 + 1;
    view->height = y1 - y0 + 1;
    view->pitch = img->pitch;
    view->format = img->format;
    view->bytesPerPixel = img->bytesPerPixel;
    view->pixels = img->pixels + size_t(y0) * img->pitch + size_t(x0) * img->bytesPerPixel;
    view->reserved = 0;
    view->flags = IMG_VIEW;
}

} // namespace

int ImgBytesPerPixel(int format) {
    return format >= 0 && format < IMG_FORMAT_COUNT ? s_bytesPerPixel[format] : 0;
}

// ---- images ----

I3dImage* ImgAlloc(int width, int height, int format) {
    int bpp = ImgBytesPerPixel(format);
    if (!SizeOk(width, height, bpp)) return nullptr;
    size_t pixelBytes = size_t(PaddedPitch(width, bpp)) * height;
    auto* block = static_cast<uint8_t*>(MemAlloc(s_headerBytes + pixelBytes));
    if (!block) return nullptr;
    auto* img = reinterpret_cast<I3dImage*>(block);
    FillHeader(img, width, height, format);
    img->pixels = block + s_headerBytes;
    img->flags = IMG_OWNS_PIXELS;
    return img;
}

I3dImage* ImgWrap(int width, int height, int format, void* pixels) {
    int bpp = ImgBytesPerPixel(format);
    if (!SizeOk(width, height, bpp)) return nullptr;
    auto* img = static_cast<I3dImage*>(MemAlloc(sizeof(I3dImage)));
    if (!img) return nullptr;
    FillHeader(img, width, height, format);
    img->pixels = static_cast<uint8_t*>(pixels);
    img->flags = IMG_VIEW;
    return img;
}

void ImgFree(I3dImage* img) {
    if (img) MemFree(img);
}

void ImgFill(I3dImage* img, uint32_t colour) {
    uint8_t* p = img->pixels;
    switch (img->bytesPerPixel) {
        // Row by row: a view's pitch is its parent's, so pitch x height would run past it.
        case 1:
            for (int y = 0; y < img->height; ++y)
                MemFill8(p + size_t(y) * img->pitch, uint8_t(colour), img->width);
            return;
        case 2:
            for (int y = 0; y < img->height; ++y)
                MemFill16(p + size_t(y) * img->pitch, uint16_t(colour), img->width);
            return;
        case 3:
            for (int x = 0; x < img->width; ++x) {
                p[x * 3 + 0] = uint8_t(colour >> 16);
                p[x * 3 + 1] = uint8_t(colour >> 8);
                p[x * 3 + 2] = uint8_t(colour);
            }
            for (int y = 1; y < img->height; ++y)
                std::memcpy(p + size_t(y) * img->pitch, p, size_t(img->width) * 3);
            return;
        case 4:
            for (int y = 0; y < img->height; ++y)
                MemFill32(p + size_t(y) * img->pitch, colour, img->width);
            return;
        default: return;
    }
}

int ImgFlipVertical(I3dImage* img) {
    size_t rowBytes = size_t(img->width) * img->bytesPerPixel;
    auto* tmp = static_cast<uint8_t*>(MemAlloc(rowBytes ? rowBytes : 1));
    if (!tmp) return -1;
    for (int top = 0, bottom = img->height - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = img->pixels + size_t(top) * img->pitch;
        uint8_t* b = img->pixels + size_t(bottom) * img->pitch;
        std::memcpy(tmp, a, rowBytes);
        std::memcpy(a, b, rowBytes);
        std::memcpy(b, tmp, rowBytes);
    }
    MemFree(tmp);
    return 0;
}

I3dImage* ImgCreateView(I3dImage* img, int x0, int y0, int x1, int y1) {
    bool inside = RectInside(img, x0, y0, x1, y1);
    assert(inside && "a view must lie inside its image");
    if (!inside) return nullptr;
    auto* view = static_cast<I3dImage*>(MemAlloc(sizeof(I3dImage)));
    if (!view) return nullptr;
    PointView(view, img, x0, y0, x1, y1);
    return view;
}

int ImgSetView(I3dImage* view, const I3dImage* img, int x0, int y0, int x1, int y1) {
    bool inside = RectInside(img, x0, y0, x1, y1);
    assert(inside && "a view must lie inside its image");
    if (!inside || view->flags != IMG_VIEW) return -1;
    PointView(view, img, x0, y0, x1, y1);
    return 0;
}

int ImgCopyPixels(I3dImage* dst, const I3dImage* src) {
    // Row by row, for the same reason as the fill: views share their parent's pitch.
    size_t rowBytes = size_t(src->width) * src->bytesPerPixel;
    if (rowBytes > size_t(dst->width) * dst->bytesPerPixel || src->height > dst->height) return -1;
    for (int y = 0; y < src->height; ++y)
        std::memcpy(dst->pixels + size_t(y) * dst->pitch, src->pixels + size_t(y) * src->pitch,
                    rowBytes);
    return 0;
}

// ---- bitmaps ----

void BitmapClear(Bitmap* bmp) {
    *bmp = Bitmap{};
}

int BitmapAlloc(Bitmap* bmp, int width, int height, int format) {
    BitmapClear(bmp);
    int bpp = ImgBytesPerPixel(format);
    if (width <= 0 || height <= 0 || bpp == 0) return -3;
    int64_t pitch = int64_t(width) * bpp;
    if (pitch > INT32_MAX || pitch * height > INT32_MAX) return -3;
    auto* pixels = static_cast<uint8_t*>(MemAlloc(size_t(pitch) * height));
    if (!pixels) return -3;
    bmp->width = width;
    bmp->height = height;
    bmp->pitch = int32_t(pitch);
    bmp->format = format;
    bmp->bytesPerPixel = bpp;
    bmp->pixels = pixels;
    return 0;
}

void BitmapFree(Bitmap* bmp) {
    if (bmp->pixels) MemFree(bmp->pixels);
    if (bmp->palette) MemFree(bmp->palette);
    BitmapClear(bmp);
}

// ---- colours ----

uint32_t ColorLerpArgb(uint32_t a, uint32_t b, float t) {
    // NaN fails both tests and ends at 0, like t below 0.
    float tc = t >= 1.0f ? 1.0f : (t > 0.0f ? t : 0.0f);
    int k = int(tc * 255.0f);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        int ca = int((a >> shift) & 0xFF);
        int cb = int((b >> shift) & 0xFF);
        int c = ca + (((cb - ca) * k) >> 8);
        out |= uint32_t(c & 0xFF) << shift;
    }
    return out;
}
