// Writers of the image files the generators and tests make: DDS 2D and cube textures (32-bit
// B, G, R, A, 8-bit alpha, DXT1 and DXT5 through a simple block encoder) with mip chains made by
// a box filter, and 24-bit TGA files laid out as the engine's own ImgSaveTga writes them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A level in 32-bit B, G, R, A bytes, rows top to bottom, no padding.
struct GenImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> bgra;

    GenImage() = default;
    GenImage(uint32_t w, uint32_t h) : width(w), height(h), bgra(size_t(w) * h * 4) {}
    uint8_t* At(uint32_t x, uint32_t y) { return bgra.data() + (size_t(y) * width + x) * 4; }
    const uint8_t* At(uint32_t x, uint32_t y) const {
        return bgra.data() + (size_t(y) * width + x) * 4;
    }
    void Set(uint32_t x, uint32_t y, uint32_t argb);
    uint32_t Get(uint32_t x, uint32_t y) const;
};

enum class GenDds { Argb32, A8, Dxt1, Dxt5 };
using GenChain = std::vector<GenImage>;

// Level 0 followed by box-filtered halvings down to 1 x 1 (each side stops at 1).
GenChain GenMipChain(const GenImage& level0);

// One 4 x 4 block of B, G, R, A texels (rows top to bottom) encoded with its colour endpoints
// at the corners of the texels' bounding box, each texel taking the nearest palette entry.
// DXT1 blocks are opaque (8 bytes); DXT5 blocks add interpolated alpha (16 bytes).
void GenDxtEncodeBlock(GenDds kind, const uint8_t texels[64], uint8_t* out);
// A whole level; partial edge blocks repeat their last texel.
std::vector<uint8_t> GenDxtEncodeLevel(GenDds kind, const GenImage& level);

// A complete DDS file: standard header (flags, pixel-format masks, caps) and every level given.
std::vector<uint8_t> GenDdsBytes(GenDds kind, const GenChain& chain);
// A cube file: faces in the order +X, -X, +Y, -Y, +Z, -Z, each with the same chain length.
// `faceMask` keeps the caps2 bits of the faces present (0x3F = all six; bit 0 = +X); only the
// faces whose bit is set are written.
std::vector<uint8_t> GenDdsCubeBytes(GenDds kind, const std::array<GenChain, 6>& faces,
                                     unsigned faceMask = 0x3F);

// An uncompressed 24-bit TGA file (B, G, R rows, bottom row first), alpha dropped.
std::vector<uint8_t> GenTga24Bytes(const GenImage& image);

// Writes a whole file through the engine's safe writer; true on success.
bool GenWriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
