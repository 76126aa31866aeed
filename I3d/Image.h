// Software images in main memory: headers over pixel blocks, fills, flips, views, pixel-format
// conversion and uncompressed TGA files. The texture loader reads TGA files through these.
#pragma once

#include <cstdint>

// Pixel layouts of software images. A different code space from the texture formats.
enum ImgFormat : int32_t {
    IMG_NONE = 0,     // one byte, no known layout
    IMG_P8 = 1,       // index into a 256-entry R, G, B palette
    IMG_X1R5G5B5 = 2, // 16-bit
    IMG_R5G6B5 = 3,   // 16-bit
    IMG_A8R8G8B8 = 4, // bytes B, G, R, A
    IMG_R8G8B8 = 5,   // bytes R, G, B
    IMG_A8 = 6,       // alpha
    IMG_L8 = 7,       // grey
    IMG_A1R5G5B5 = 8, // 16-bit
    IMG_A4R4G4B4 = 9, // 16-bit
    IMG_RAW32 = 10,   // four bytes, no known layout
    IMG_RAW24 = 11,   // three bytes, no known layout
    IMG_FORMAT_COUNT = 12,
};

enum : uint32_t {
    IMG_OWNS_PIXELS = 1, // pixels share the header's allocation (ImgAlloc)
    IMG_VIEW = 2,        // pixels belong to someone else (ImgWrap, ImgCreateView)
};

struct I3dImage {
    int32_t width;
    int32_t height;
    int32_t pitch; // bytes per row
    int32_t format;
    int32_t bytesPerPixel;
    uint8_t* pixels;
    intptr_t reserved;
    uint32_t flags;
};

// Unlike I3dImage, a bitmap's pitch is exactly width x bytes per pixel. A palette image holds its
// 256 entries as R, G, B bytes in the palette block.
struct Bitmap {
    int32_t width;
    int32_t height;
    int32_t pitch;
    int32_t format;
    int32_t bytesPerPixel;
    uint8_t* palette;
    uint8_t* pixels;
    uint32_t flags;
};

// Bytes per pixel of an ImgFormat; 0 for a code outside the table.
int ImgBytesPerPixel(int format);

// ---- images ----
// Header and pixels in one allocation; pitch padded to a multiple of 4. Null when memory fails or
// the size is not positive.
I3dImage* ImgAlloc(int width, int height, int format);
// A header over the caller's pixels, pitch padded to a multiple of 4.
I3dImage* ImgWrap(int width, int height, int format, void* pixels);
void ImgFree(I3dImage* img);
// Every pixel = colour; a 3-byte pixel takes the bytes colour >> 16, colour >> 8, colour.
void ImgFill(I3dImage* img, uint32_t colour);
// 0, or -1 when the temporary row cannot be had.
int ImgFlipVertical(I3dImage* img);
// A view header on the inclusive rectangle (x0, y0)-(x1, y1), which must lie inside the image
// (a caller's error: debug builds stop, release builds give null).
I3dImage* ImgCreateView(I3dImage* img, int x0, int y0, int x1, int y1);
// Re-points an existing view; 0, or -1 when `view` is not a view.
int ImgSetView(I3dImage* view, const I3dImage* img, int x0, int y0, int x1, int y1);
// Copies src's rows into dst's; -1 (nothing copied) when dst is narrower or lower.
int ImgCopyPixels(I3dImage* dst, const I3dImage* src);

// Copies a width x height rectangle from (sx, sy) of src to (dx, dy) of dst, converting the
// pixel format. Both rectangles must lie inside their images (debug builds stop, release builds
// copy nothing). 0, or -1 for an unsupported pair of formats (or a palette source without a
// palette).
int ImgBlitConvert(I3dImage* dst, int dx, int dy, int width, int height, const I3dImage* src,
                   int sx, int sy);
int ImgBlitConvert(I3dImage* dst, int dx, int dy, int width, int height, const Bitmap* src, int sx,
                   int sy);

// ---- bitmaps ----
void BitmapClear(Bitmap* bmp);
// 0, or -3 with every field zero when the block cannot be had.
int BitmapAlloc(Bitmap* bmp, int width, int height, int format);
void BitmapFree(Bitmap* bmp);

// ---- TGA files ----
// Reads an uncompressed TGA: colour-mapped 8-bit with 256 24-bit entries (IMG_P8), true colour
// of 16 (read as R5G6B5), 24 (stored R, G, B) or 32 bits, or 8-bit grey. The file's first row
// becomes the last row; the origin bit is not consulted. With `palette` non-null and a colour
// map, its 256 entries are written there as R, G, B. Run-length files, other layouts, short or
// zero-sized files fail: 0 or -1. `flag` has no effect.
int BitmapLoadTga(Bitmap* bmp, const char* path, uint8_t* palette, int flag);
// The same into a new ImgAlloc image; null on failure.
I3dImage* ImgLoadTga(const char* path, uint8_t* palette);
// Writes an uncompressed TGA with its rows bottom-up (descriptor 8): IMG_R8G8B8 as 24-bit,
// IMG_A8R8G8B8 as 32-bit, IMG_P8 with a 256-entry map built from `palette` (R, G, B), IMG_L8 as
// grey. Other formats, or a palette image without a palette, leave an empty file and give -1. The
// file is replaced whole: a failed write leaves the old one. 0 or -1.
int ImgSaveTga(const I3dImage* img, const char* path, const uint8_t* palette);

// ---- colours ----
// Per channel a + (((b - a) x k) >> 8) with k = (int)(t x 255); t is clamped to 0..1.
uint32_t ColorLerpArgb(uint32_t a, uint32_t b, float t);
