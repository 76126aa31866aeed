// DDS header reading and level arithmetic shared by the 2D and cube loaders.
#include "platform/d3dx/DdsFile.h"

#include <cstring>

namespace {

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

constexpr uint32_t FourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

int PixelsOf(uint32_t fourCC, uint32_t bitCount) {
    switch (fourCC) {
        case FourCC('D', 'X', 'T', '1'): return DDS_DXT1;
        case FourCC('D', 'X', 'T', '2'): return DDS_DXT2;
        case FourCC('D', 'X', 'T', '3'): return DDS_DXT3;
        case FourCC('D', 'X', 'T', '4'): return DDS_DXT4;
        case FourCC('D', 'X', 'T', '5'): return DDS_DXT5;
        // Any other FourCC names a compression we cannot read, whatever the bit count says.
        case 0: return bitCount == 32 ? DDS_ARGB32 : bitCount == 8 ? DDS_A8 : DDS_PIXELS_UNKNOWN;
        default: return DDS_PIXELS_UNKNOWN;
    }
}

int FloorLog2(uint32_t v) {
    int n = -1;
    while (v) {
        v >>= 1;
        ++n;
    }
    return n;
}

} // namespace

bool DdsIsCompressed(int pixels) {
    return pixels >= DDS_DXT1 && pixels <= DDS_DXT5;
}

uint32_t DdsLevelSide(uint32_t side, uint32_t level) {
    uint32_t s = level < 32 ? side >> level : 0;
    return s ? s : 1;
}

// Compressed rows count whole 4 x 4 blocks, rounded up: a level 6 or 12 texels wide still
// stores its last part-filled block, and rounding down would misplace every later level.
size_t DdsRowBytes(int pixels, uint32_t width) {
    switch (pixels) {
        case DDS_DXT1: return size_t((width + 3) / 4 ? (width + 3) / 4 : 1) * 8;
        case DDS_DXT2:
        case DDS_DXT3:
        case DDS_DXT4:
        case DDS_DXT5: return size_t((width + 3) / 4 ? (width + 3) / 4 : 1) * 16;
        case DDS_ARGB32: return size_t(width) * 4;
        case DDS_A8: return width;
        default: return 0;
    }
}

uint32_t DdsRowCount(int pixels, uint32_t height) {
    if (!DdsIsCompressed(pixels)) return height;
    uint32_t blocks = (height + 3) / 4;
    return blocks ? blocks : 1;
}

size_t DdsLevelSize(int pixels, uint32_t width, uint32_t height) {
    return DdsRowBytes(pixels, width) * DdsRowCount(pixels, height);
}

int DdsParse(const uint8_t* data, size_t size, DdsInfo* out) {
    if (!data || size < DDS_HEADER_BYTES || U32(data) != FourCC('D', 'D', 'S', ' ')) return -1;
    out->height = U32(data + 12);
    out->width = U32(data + 16);
    out->levels = U32(data + 28);
    if (out->levels == 0) out->levels = 1;
    out->pixels = PixelsOf(U32(data + 84), U32(data + 88));
    uint32_t caps2 = U32(data + 112);
    if (out->width == 0 || out->height == 0 || out->pixels == DDS_PIXELS_UNKNOWN) return -1;
    // Far beyond any texture a device makes, and small enough that no level size overflows.
    if (out->width > DDS_MAX_SIDE || out->height > DDS_MAX_SIDE) return -1;
    uint32_t longer = out->width > out->height ? out->width : out->height;
    if (out->levels > uint32_t(FloorLog2(longer) + 1)) return -1;

    out->cube = (caps2 & DDS_CAPS2_CUBEMAP) != 0;
    out->faces = 1;
    if (out->cube) {
        out->faces = 0;
        for (uint32_t bit = 0x400; bit <= 0x8000; bit <<= 1)
            out->faces += (caps2 & bit) ? 1 : 0;
    }
    // At most 16 levels of at most 2^32 bytes: the sum fits easily. It is compared with the room
    // left after the header (a 2D reader takes the first face even of a faceless cube).
    uint64_t faceBytes = 0;
    for (uint32_t i = 0; i < out->levels; ++i)
        faceBytes +=
            DdsLevelSize(out->pixels, DdsLevelSide(out->width, i), DdsLevelSide(out->height, i));
    uint64_t room = size - DDS_HEADER_BYTES;
    uint64_t stored = out->faces > 0 ? uint64_t(out->faces) : 1;
    if (faceBytes > room / stored) return -1;
    out->faceBytes = size_t(faceBytes);
    return 0;
}

void DdsCopyLevel(int pixels, uint32_t width, uint32_t height, const uint8_t* src, uint8_t* dst,
                  size_t pitch) {
    size_t rowBytes = DdsRowBytes(pixels, width);
    uint32_t rows = DdsRowCount(pixels, height);
    for (uint32_t y = 0; y < rows; ++y)
        std::memcpy(dst + y * pitch, src + y * rowBytes, rowBytes);
}
