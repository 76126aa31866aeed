// Rectangle copies between pixel formats. Only the pairs of the table below convert; all
// conversions truncate (they keep the top bits of each channel).
#include "I3d/Image.h"

#include <cassert>
#include <cstring>

namespace {

struct Src {
    int32_t width, height, pitch, format, bpp;
    const uint8_t* pixels;
    const uint8_t* palette; // R, G, B x 256, or null
};

uint16_t Pack565(uint32_t r, uint32_t g, uint32_t b) {
    return uint16_t(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}

uint16_t Pack1555(uint32_t r, uint32_t g, uint32_t b) {
    return uint16_t(0x8000 | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
}

uint16_t Pack4444(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return uint16_t(((a >> 4) << 12) | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4));
}

// Rec. 601 weights in 8-bit fixed point; they sum to 256, so white stays 255.
uint8_t Grey(uint32_t r, uint32_t g, uint32_t b) {
    return uint8_t((r * 77 + g * 150 + b * 29) >> 8);
}

void Put16(uint8_t* p, uint16_t v) {
    std::memcpy(p, &v, 2);
}

uint32_t Get32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

enum class Op {
    None,
    Copy,
    PalTo565,
    PalTo8888,
    PalToRgb,
    Argb8888To565,
    Argb8888To4444,
    RgbTo565,
    RgbTo8888,
    RgbToGrey,
    RgbTo1555,
    GreyTo565,
};

Op Choose(int src, int dst) {
    switch (src) {
        case IMG_P8:
            switch (dst) {
                case IMG_P8: return Op::Copy;
                case IMG_R5G6B5: return Op::PalTo565;
                // Palette images become 32-bit textures: the 24-bit texture layout holds B, G, R,
                // which an R, G, B fill would swap.
                case IMG_A8R8G8B8: return Op::PalTo8888;
                case IMG_R8G8B8: return Op::PalToRgb;
                default: return Op::None;
            }
        case IMG_R5G6B5: return dst == IMG_R5G6B5 ? Op::Copy : Op::None;
        case IMG_A8R8G8B8:
            switch (dst) {
                case IMG_R5G6B5: return Op::Argb8888To565;
                case IMG_A8R8G8B8: return Op::Copy;
                case IMG_A4R4G4B4: return Op::Argb8888To4444;
                default: return Op::None;
            }
        case IMG_R8G8B8:
            switch (dst) {
                case IMG_R5G6B5: return Op::RgbTo565;
                case IMG_A8R8G8B8: return Op::RgbTo8888;
                case IMG_R8G8B8: return Op::Copy;
                case IMG_L8: return Op::RgbToGrey;
                case IMG_A1R5G5B5: return Op::RgbTo1555;
                default: return Op::None;
            }
        case IMG_L8:
            switch (dst) {
                case IMG_P8: return Op::Copy;
                case IMG_R5G6B5: return Op::GreyTo565;
                case IMG_L8: return Op::Copy;
                default: return Op::None;
            }
        case IMG_A1R5G5B5: return dst == IMG_A1R5G5B5 ? Op::Copy : Op::None;
        case IMG_A4R4G4B4: return dst == IMG_A4R4G4B4 ? Op::Copy : Op::None;
        default: return Op::None;
    }
}

// One loop per conversion, so the choice is made once per row and not per pixel.
template <class F>
void EachPixel(int n, F f) {
    for (int x = 0; x < n; ++x)
        f(x);
}

void ConvertRow(Op op, uint8_t* d, const uint8_t* s, int n, const uint8_t* pal) {
    switch (op) {
        case Op::PalTo565:
            EachPixel(n, [&](int x) {
                const uint8_t* e = pal + s[x] * 3;
                Put16(d + x * 2, Pack565(e[0], e[1], e[2]));
            });
            return;
        case Op::PalTo8888:
            EachPixel(n, [&](int x) {
                const uint8_t* e = pal + s[x] * 3;
                d[x * 4 + 0] = e[2];
                d[x * 4 + 1] = e[1];
                d[x * 4 + 2] = e[0];
                d[x * 4 + 3] = 255;
            });
            return;
        case Op::PalToRgb:
            EachPixel(n, [&](int x) { std::memcpy(d + x * 3, pal + s[x] * 3, 3); });
            return;
        case Op::Argb8888To565:
            EachPixel(n, [&](int x) {
                uint32_t p = Get32(s + x * 4);
                Put16(d + x * 2,
                      uint16_t(((p >> 8) & 0xF800) | ((p >> 5) & 0x7E0) | ((p >> 3) & 0x1F)));
            });
            return;
        case Op::Argb8888To4444:
            EachPixel(n, [&](int x) {
                const uint8_t* p = s + x * 4;
                Put16(d + x * 2, Pack4444(p[3], p[2], p[1], p[0]));
            });
            return;
        case Op::RgbTo565:
            EachPixel(n, [&](int x) {
                const uint8_t* p = s + x * 3;
                Put16(d + x * 2, Pack565(p[0], p[1], p[2]));
            });
            return;
        case Op::RgbTo8888:
            EachPixel(n, [&](int x) {
                const uint8_t* p = s + x * 3;
                d[x * 4 + 0] = p[2];
                d[x * 4 + 1] = p[1];
                d[x * 4 + 2] = p[0];
                d[x * 4 + 3] = 255;
            });
            return;
        case Op::RgbToGrey:
            EachPixel(n, [&](int x) {
                const uint8_t* p = s + x * 3;
                d[x] = Grey(p[0], p[1], p[2]);
            });
            return;
        case Op::RgbTo1555:
            EachPixel(n, [&](int x) {
                const uint8_t* p = s + x * 3;
                Put16(d + x * 2, Pack1555(p[0], p[1], p[2]));
            });
            return;
        case Op::GreyTo565:
            EachPixel(n, [&](int x) { Put16(d + x * 2, Pack565(s[x], s[x], s[x])); });
            return;
        case Op::None:
        case Op::Copy: return;
    }
}

bool RectInside(int width, int height, int x, int y, int w, int h) {
    return x >= 0 && y >= 0 && w >= 0 && h >= 0 && int64_t(x) + w <= width &&
           int64_t(y) + h <= height;
}

int Blit(I3dImage* dst, int dx, int dy, int width, int height, const Src& src, int sx, int sy) {
    Op op = Choose(src.format, dst->format);
    if (op == Op::None) return -1;
    bool usesPalette = op == Op::PalTo565 || op == Op::PalTo8888 || op == Op::PalToRgb;
    if (usesPalette && !src.palette) return -1;
    bool dstInside = RectInside(dst->width, dst->height, dx, dy, width, height);
    bool srcInside = RectInside(src.width, src.height, sx, sy, width, height);
    assert(dstInside && "the destination rectangle must lie inside the image");
    assert(srcInside && "the source rectangle must lie inside the image");
    if (!dstInside || !srcInside) return -1;
    for (int y = 0; y < height; ++y) {
        uint8_t* d = dst->pixels + size_t(dy + y) * dst->pitch + size_t(dx) * dst->bytesPerPixel;
        const uint8_t* s = src.pixels + size_t(sy + y) * src.pitch + size_t(sx) * src.bpp;
        if (op == Op::Copy)
            std::memcpy(d, s, size_t(width) * src.bpp);
        else
            ConvertRow(op, d, s, width, src.palette);
    }
    return 0;
}

} // namespace

int ImgBlitConvert(I3dImage* dst, int dx, int dy, int width, int height, const I3dImage* src,
                   int sx, int sy) {
    Src s{src->width,         src->height, src->pitch, src->format,
          src->bytesPerPixel, src->pixels, nullptr};
    return Blit(dst, dx, dy, width, height, s, sx, sy);
}

int ImgBlitConvert(I3dImage* dst, int dx, int dy, int width, int height, const Bitmap* src, int sx,
                   int sy) {
    Src s{src->width,         src->height, src->pitch,  src->format,
          src->bytesPerPixel, src->pixels, src->palette};
    return Blit(dst, dx, dy, width, height, s, sx, sy);
}
