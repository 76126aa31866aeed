// Reads colours out of an X window dump (the format xwd writes):
//   xwd_pixel dump                        the centre, as "r g b"
//   xwd_pixel dump x y [x y ...]          each point, one "r g b" line a point, in order
//   xwd_pixel dump x y last               the column from y to the row last, one "y r g b" line
//   xwd_pixel dump --rect x0 y0 x1 y1     every pixel of the rectangle (corners included), row
//                                         by row, one "x y r g b" line a pixel
//   xwd_pixel dump --changed later levels x0 y0 x1 y1
//                                         the pixels of the rectangle in which the later dump
//                                         differs by at least levels in a channel, one
//                                         "x y r g b" line a pixel with the later dump's colour
// A point or rectangle outside the picture fails the whole call, so a wrong coordinate is never
// read as a colour.
// The end-to-end tests use it to look at the game's window the way a user would see it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
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

namespace {

struct Dump {
    std::vector<uint8_t> file;
    uint32_t field[kFieldCount];
    uint64_t pixelsAt;
    uint32_t bytesPerPixel;
};

// Null when the pixel lies past the data read.
const char* ReadPixel(const Dump& d, uint64_t x, uint64_t y, unsigned rgb[3]) {
    uint64_t at = d.pixelsAt + y * d.field[kBytesPerLine] + x * d.bytesPerPixel;
    if (at + d.bytesPerPixel > d.file.size()) return "image data truncated";
    uint32_t pixel = 0;
    for (uint32_t i = 0; i < d.bytesPerPixel; ++i) {
        // Byte order 0 is least significant byte first.
        uint32_t shift = d.field[kByteOrder] == 0 ? 8 * i : 8 * (d.bytesPerPixel - 1 - i);
        pixel |= uint32_t(d.file[at + i]) << shift;
    }
    rgb[0] = Channel(pixel, d.field[kRedMask]);
    rgb[1] = Channel(pixel, d.field[kGreenMask]);
    rgb[2] = Channel(pixel, d.field[kBlueMask]);
    return nullptr;
}

// A coordinate argument: digits only, below the limit.
bool Coordinate(const char* text, uint32_t limit, uint64_t* out) {
    if (!text || !*text) return false;
    uint64_t v = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9' || v > limit) return false;
        v = v * 10 + uint64_t(*c - '0');
    }
    *out = v;
    return v < limit;
}

// A rectangle's four coordinate arguments: inside a w x h picture, corners in order.
bool RectArgs(char** at, uint32_t w, uint32_t h, uint64_t* x0, uint64_t* y0, uint64_t* x1,
              uint64_t* y1) {
    return Coordinate(at[0], w, x0) && Coordinate(at[1], h, y0) && Coordinate(at[2], w, x1) &&
           Coordinate(at[3], h, y1) && *x1 >= *x0 && *y1 >= *y0;
}

} // namespace

namespace {

// Null when the dump was read and its header is one this reader understands.
const char* LoadDump(const char* path, Dump* d) {
    std::ifstream in(path, std::ios::binary);
    // Read in one piece: a driver reads many dumps while it waits on the game.
    in.seekg(0, std::ios::end);
    const std::streamoff size = in ? std::streamoff(in.tellg()) : 0;
    in.seekg(0, std::ios::beg);
    d->file.resize(size > 0 ? size_t(size) : 0);
    if (size > 0 && !in.read(reinterpret_cast<char*>(d->file.data()), size)) d->file.clear();
    if (d->file.size() < kFieldCount * 4) return "file too short for a header";
    for (int i = 0; i < kFieldCount; ++i)
        d->field[i] = BigEndian32(&d->file[size_t(i) * 4]);
    if (d->field[kFileVersion] != 7) return "not a version 7 dump";
    if (d->field[kPixmapFormat] != kZPixmap) return "not a ZPixmap dump";
    d->bytesPerPixel = d->field[kBitsPerPixel] / 8;
    if (d->field[kBitsPerPixel] % 8 != 0 || d->bytesPerPixel < 2 || d->bytesPerPixel > 4)
        return "unsupported pixel size";
    if (d->field[kWidth] == 0 || d->field[kHeight] == 0) return "empty picture";
    d->pixelsAt = uint64_t(d->field[kHeaderSize]) + uint64_t(d->field[kColours]) * kColourEntrySize;
    return nullptr;
}

unsigned Difference(unsigned a, unsigned b) {
    return a > b ? a - b : b - a;
}

// The pixels that changed between two dumps of one window, with their later colour. Done here
// rather than by the driver over the whole rectangle's text: a driver aiming at something that
// moves needs the answer while it is still true.
int Changed(const Dump& before, char** argv) {
    Dump later;
    if (const char* why = LoadDump(argv[3], &later)) return Fail(why);
    const uint32_t w = before.field[kWidth], h = before.field[kHeight];
    if (later.field[kWidth] != w || later.field[kHeight] != h)
        return Fail("the dumps differ in size");
    uint64_t levels, x0, y0, x1, y1;
    if (!Coordinate(argv[4], 256, &levels)) return Fail("levels must be 0 to 255");
    if (!RectArgs(&argv[5], w, h, &x0, &y0, &x1, &y1))
        return Fail("the rectangle leaves the picture");
    unsigned a[3], b[3];
    if (const char* why = ReadPixel(before, x1, y1, a)) return Fail(why);
    if (const char* why = ReadPixel(later, x1, y1, b)) return Fail(why);
    for (uint64_t y = y0; y <= y1; ++y)
        for (uint64_t x = x0; x <= x1; ++x) {
            ReadPixel(before, x, y, a);
            ReadPixel(later, x, y, b);
            if (Difference(a[0], b[0]) < levels && Difference(a[1], b[1]) < levels &&
                Difference(a[2], b[2]) < levels)
                continue;
            std::printf("%llu %llu %u %u %u\n", (unsigned long long)x, (unsigned long long)y, b[0],
                        b[1], b[2]);
        }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool rect = argc == 7 && std::strcmp(argv[2], "--rect") == 0;
    const bool changed = argc == 9 && std::strcmp(argv[2], "--changed") == 0;
    const bool column = argc == 5;
    if (argc < 2 || (!rect && !changed && !column && argc % 2 != 0))
        return Fail("usage: xwd_pixel <dump.xwd> [x y [x y ...] | x y last | --rect x0 y0 x1 y1 "
                    "| --changed <later.xwd> levels x0 y0 x1 y1]");
    Dump d;
    if (const char* why = LoadDump(argv[1], &d)) return Fail(why);
    if (changed) return Changed(d, argv);
    const uint32_t w = d.field[kWidth], h = d.field[kHeight];

    unsigned rgb[3];
    if (rect || column) {
        uint64_t x0, y0, x1, y1;
        if (rect) {
            if (!RectArgs(&argv[3], w, h, &x0, &y0, &x1, &y1))
                return Fail("the rectangle leaves the picture");
        } else {
            if (!Coordinate(argv[2], w, &x0) || !Coordinate(argv[3], h, &y0))
                return Fail("the point is outside");
            x1 = x0;
            if (!Coordinate(argv[4], h, &y1) || y1 < y0)
                return Fail("the column leaves the picture");
        }
        // Checked whole before anything is printed: a reader never takes half an answer.
        if (const char* why = ReadPixel(d, x1, y1, rgb)) return Fail(why);
        for (uint64_t y = y0; y <= y1; ++y)
            for (uint64_t x = x0; x <= x1; ++x) {
                ReadPixel(d, x, y, rgb);
                if (rect)
                    std::printf("%llu %llu %u %u %u\n", (unsigned long long)x,
                                (unsigned long long)y, rgb[0], rgb[1], rgb[2]);
                else
                    std::printf("%llu %u %u %u\n", (unsigned long long)y, rgb[0], rgb[1], rgb[2]);
            }
        return 0;
    }
    std::vector<uint64_t> points;
    if (argc == 2) {
        points = {w / 2, h / 2};
    } else {
        for (int i = 2; i < argc; i += 2) {
            uint64_t x, y;
            if (!Coordinate(argv[i], w, &x) || !Coordinate(argv[i + 1], h, &y))
                return Fail("the point is outside");
            points.push_back(x);
            points.push_back(y);
        }
    }
    for (size_t i = 0; i < points.size(); i += 2)
        if (const char* why = ReadPixel(d, points[i], points[i + 1], rgb)) return Fail(why);
    for (size_t i = 0; i < points.size(); i += 2) {
        ReadPixel(d, points[i], points[i + 1], rgb);
        std::printf("%u %u %u\n", rgb[0], rgb[1], rgb[2]);
    }
    return 0;
}
