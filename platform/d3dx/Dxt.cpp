// DXT block decoding: colour endpoints in 5-6-5, two interpolated colours (or one and
// transparent black in DXT1's three-colour mode), explicit 4-bit alpha (DXT3) or interpolated
// 8-bit alpha (DXT5).
#include "platform/d3dx/Dxt.h"

#include "platform/d3dx/DdsFile.h"

#include <cstring>

namespace {

uint16_t U16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}

void Unpack565(uint16_t c, int rgb[3]) {
    int r = (c >> 11) & 0x1F, g = (c >> 5) & 0x3F, b = c & 0x1F;
    rgb[0] = (r << 3) | (r >> 2);
    rgb[1] = (g << 2) | (g >> 4);
    rgb[2] = (b << 3) | (b >> 2);
}

// Colour part of every format: 8 bytes. `fourColour` forces the four-colour mode, which DXT3 and
// DXT5 always use.
void DecodeColour(const uint8_t* b, bool fourColourAlways, uint8_t out[64]) {
    uint16_t c0 = U16(b), c1 = U16(b + 2);
    int pal[4][4];
    Unpack565(c0, pal[0]);
    Unpack565(c1, pal[1]);
    pal[0][3] = pal[1][3] = 255;
    bool four = fourColourAlways || c0 > c1;
    for (int k = 0; k < 3; ++k) {
        if (four) {
            pal[2][k] = (2 * pal[0][k] + pal[1][k]) / 3;
            pal[3][k] = (pal[0][k] + 2 * pal[1][k]) / 3;
        } else {
            pal[2][k] = (pal[0][k] + pal[1][k]) / 2;
            pal[3][k] = 0;
        }
    }
    pal[2][3] = 255;
    pal[3][3] = four ? 255 : 0;
    uint32_t bits =
        uint32_t(b[4]) | uint32_t(b[5]) << 8 | uint32_t(b[6]) << 16 | uint32_t(b[7]) << 24;
    for (int i = 0; i < 16; ++i) {
        const int* c = pal[(bits >> (2 * i)) & 3];
        out[i * 4 + 0] = uint8_t(c[2]);
        out[i * 4 + 1] = uint8_t(c[1]);
        out[i * 4 + 2] = uint8_t(c[0]);
        out[i * 4 + 3] = uint8_t(c[3]);
    }
}

void DecodeExplicitAlpha(const uint8_t* b, uint8_t out[64]) {
    for (int i = 0; i < 16; ++i) {
        int a = (b[i / 2] >> ((i & 1) * 4)) & 0xF;
        out[i * 4 + 3] = uint8_t(a * 17);
    }
}

void DecodeInterpolatedAlpha(const uint8_t* b, uint8_t out[64]) {
    int a[8];
    a[0] = b[0];
    a[1] = b[1];
    if (a[0] > a[1]) {
        for (int i = 1; i < 7; ++i)
            a[i + 1] = ((7 - i) * a[0] + i * a[1]) / 7;
    } else {
        for (int i = 1; i < 5; ++i)
            a[i + 1] = ((5 - i) * a[0] + i * a[1]) / 5;
        a[6] = 0;
        a[7] = 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i)
        bits |= uint64_t(b[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i)
        out[i * 4 + 3] = uint8_t(a[(bits >> (3 * i)) & 7]);
}

} // namespace

uint32_t Dxt565ToArgb(uint16_t c) {
    int rgb[3];
    Unpack565(c, rgb);
    return 0xFF000000u | uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | uint32_t(rgb[2]);
}

void DxtDecodeBlock(int pixels, const uint8_t* block, uint8_t out[64]) {
    switch (pixels) {
        case DDS_DXT1: DecodeColour(block, false, out); return;
        case DDS_DXT2:
        case DDS_DXT3:
            DecodeColour(block + 8, true, out);
            DecodeExplicitAlpha(block, out);
            return;
        case DDS_DXT4:
        case DDS_DXT5:
            DecodeColour(block + 8, true, out);
            DecodeInterpolatedAlpha(block, out);
            return;
        default: std::memset(out, 0, 64); return;
    }
}

void DxtDecodeLevel(int pixels, uint32_t width, uint32_t height, const uint8_t* blocks,
                    uint8_t* dst, size_t pitch) {
    size_t blockBytes = pixels == DDS_DXT1 ? 8 : 16;
    uint32_t bw = (width + 3) / 4, bh = (height + 3) / 4;
    uint8_t texels[64];
    for (uint32_t by = 0; by < bh; ++by) {
        for (uint32_t bx = 0; bx < bw; ++bx, blocks += blockBytes) {
            DxtDecodeBlock(pixels, blocks, texels);
            for (uint32_t y = 0; y < 4 && by * 4 + y < height; ++y) {
                uint32_t n = width - bx * 4 < 4 ? width - bx * 4 : 4;
                std::memcpy(dst + (by * 4 + y) * pitch + bx * 16, texels + y * 16, n * 4);
            }
        }
    }
}
