// Standard DDS files: the header words our loaders read, the size of each mip level, and the
// checks that keep a reader inside the file. Only the words the loaders need are trusted; the
// rest of the header (flags, masks, pitch) is not consulted.
#pragma once

#include <cstddef>
#include <cstdint>

// Pixel layouts the loaders accept. DXT2 and DXT4 are premultiplied DXT3 and DXT5 and are
// sampled as those.
enum DdsPixels : int {
    DDS_PIXELS_UNKNOWN = 0,
    DDS_DXT1 = 1,
    DDS_DXT2 = 2,
    DDS_DXT3 = 3,
    DDS_DXT4 = 4,
    DDS_DXT5 = 5,
    DDS_ARGB32 = 6, // bytes B, G, R, A
    DDS_A8 = 7,
};

enum : uint32_t {
    DDS_HEADER_BYTES = 128, // magic and header; pixels follow
    DDS_CAPS2_CUBEMAP = 0x200,
    DDS_CAPS2_CUBEMAP_ALLFACES = 0xFC00, // +X, -X, +Y, -Y, +Z, -Z
    DDS_MAX_SIDE = 32768,
};

struct DdsInfo {
    uint32_t width;
    uint32_t height;
    uint32_t levels;  // at least 1
    int pixels;       // DdsPixels
    bool cube;        // the cube-map bit of caps2 is set
    int faces;        // faces stored: 1 for a 2D file, the number of face bits of a cube
    size_t faceBytes; // one face with its whole mip chain
};

// Reads and checks the header: "DDS " magic, sides of 1 to DDS_MAX_SIDE, a mip count (0 taken as 1)
// of at most log2(longer side) + 1, a known pixel layout (a FourCC of DXT1..DXT5, or none with 32
// or 8 bits per pixel), and 128 + faces x faceBytes <= size. 0, or -1 with *out undefined.
int DdsParse(const uint8_t* data, size_t size, DdsInfo* out);

// A level's side: max(1, side >> level), so the short side of a non-square chain stays 1.
uint32_t DdsLevelSide(uint32_t side, uint32_t level);
// Bytes of one level of w x h pixels. Compressed levels are whole 4 x 4 blocks: 8 bytes (DXT1)
// or 16 per block, at least one block. 0 for an unknown layout.
size_t DdsLevelSize(int pixels, uint32_t width, uint32_t height);
// Bytes of one row of blocks (compressed) or of pixels.
size_t DdsRowBytes(int pixels, uint32_t width);
// Rows of blocks (compressed) or of pixels in a level of the given height.
uint32_t DdsRowCount(int pixels, uint32_t height);
bool DdsIsCompressed(int pixels);
// Copies one level from the file's packed rows into memory whose rows are `pitch` bytes apart
// (a locked texture level). `pitch` must be at least DdsRowBytes.
void DdsCopyLevel(int pixels, uint32_t width, uint32_t height, const uint8_t* src, uint8_t* dst,
                  size_t pitch);
