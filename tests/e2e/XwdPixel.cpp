// Prints the colour at the centre of an X window dump (the format xwd writes), or at the x y
// given after the file, as "r g b"; given x y and a last row, the column from y to that row, one
// "y r g b" line a pixel.
// The end-to-end test uses it to look at the game's window the way a user would see it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// The dump's header: 25 big-endian 32-bit fields, then the window's name.
enum XwdField {
    kHeaderSize = 0,
    kFileVersion = 1,
    kPixmapFormat = 2,
    kWidth = 4,
    kHeight = 5,
    kByteOrder = 7,
    kBitsPerPixel = 11,
    kBytesPerLine = 12,
    kRedMask = 14,
    kGreenMask = 15,
    kBlueMask = 16,
    kColours = 19,
    kFieldCount = 25
};
constexpr uint32_t kZPixmap = 2;
constexpr size_t kColourEntrySize = 12;

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// A channel scaled to 0..255 from wherever its mask puts it.
unsigned Channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1u))
        ++shift;
    uint32_t max = mask >> shift;
    return unsigned((((pixel & mask) >> shift) * 255u + max / 2) / max);
}

int Fail(const char* why) {
    std::fprintf(stderr, "xwd_pixel: %s\n", why);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4 && argc != 5)
        return Fail("usage: xwd_pixel <dump.xwd> [x y [last y]]");
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (file.size() < kFieldCount * 4) return Fail("file too short for a header");

    uint32_t field[kFieldCount];
    for (int i = 0; i < kFieldCount; ++i)
        field[i] = BigEndian32(&file[size_t(i) * 4]);
    if (field[kFileVersion] != 7) return Fail("not a version 7 dump");
    if (field[kPixmapFormat] != kZPixmap) return Fail("not a ZPixmap dump");
    uint32_t bytesPerPixel = field[kBitsPerPixel] / 8;
    if (field[kBitsPerPixel] % 8 != 0 || bytesPerPixel < 2 || bytesPerPixel > 4)
        return Fail("unsupported pixel size");

    uint64_t pixelsAt = uint64_t(field[kHeaderSize]) + uint64_t(field[kColours]) * kColourEntrySize;
    uint64_t x = field[kWidth] / 2, y = field[kHeight] / 2;
    if (argc >= 4) {
        x = std::strtoull(argv[2], nullptr, 10);
        y = std::strtoull(argv[3], nullptr, 10);
        if (x >= field[kWidth] || y >= field[kHeight]) return Fail("the point is outside");
    }
    const bool column = argc == 5;
    uint64_t last = y;
    if (column) {
        last = std::strtoull(argv[4], nullptr, 10);
        if (last < y || last >= field[kHeight]) return Fail("the column leaves the picture");
    }
    if (field[kWidth] == 0 || field[kHeight] == 0) return Fail("empty picture");
    for (uint64_t row = y; row <= last; ++row) {
        uint64_t at = pixelsAt + row * field[kBytesPerLine] + x * bytesPerPixel;
        if (at + bytesPerPixel > file.size()) return Fail("image data truncated");
        uint32_t pixel = 0;
        for (uint32_t i = 0; i < bytesPerPixel; ++i) {
            // Byte order 0 is least significant byte first.
            uint32_t shift = field[kByteOrder] == 0 ? 8 * i : 8 * (bytesPerPixel - 1 - i);
            pixel |= uint32_t(file[at + i]) << shift;
        }
        if (column) std::printf("%llu ", (unsigned long long)row);
        std::printf("%u %u %u\n", Channel(pixel, field[kRedMask]),
                    Channel(pixel, field[kGreenMask]), Channel(pixel, field[kBlueMask]));
    }
    return 0;
}
