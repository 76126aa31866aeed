// Uncompressed TGA files into bitmaps and images, and images out to TGA files. Headers are read
// byte by byte as little-endian fields, and every size is checked against the file before a
// pixel is read.
#include "I3d/Image.h"

#include "engine/Files.h"
#include "engine/Memory.h"

#include <cstring>
#include <vector>

namespace {

constexpr size_t s_headerSize = 18;

struct TgaLayout {
    int width = 0;
    int height = 0;
    int format = IMG_NONE;
    int bpp = 0;
    size_t mapOffset = 0; // 256 B, G, R entries, for IMG_P8 only
    size_t pixelOffset = 0;
};

uint16_t U16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}

// The whole file in a MemAlloc block; null for a missing, empty or unreadable file.
uint8_t* ReadWhole(const char* path, size_t* size) {
    *size = 0;
    if (!path) return nullptr;
    int fd = VdriveOpen(path, 0);
    if (fd < 0) return nullptr;
    int len = VdriveFileLength(fd);
    uint8_t* data = len > 0 ? static_cast<uint8_t*>(MemAlloc(size_t(len))) : nullptr;
    if (data && VdriveFileRead(fd, data) != len) {
        MemFree(data);
        data = nullptr;
    }
    VdriveFileClose(fd);
    if (data) *size = size_t(len);
    return data;
}

int FormatOf(int imageType, int bitsPerPixel, int mapType, int mapLength, int mapBits) {
    switch (imageType) {
        case 1: // a colour-mapped file without its map has no palette to read: refused
            return bitsPerPixel == 8 && mapType == 1 && mapLength == 256 && mapBits == 24
                       ? IMG_P8
                       : IMG_NONE;
        // 16-bit files are taken as R5G6B5, though most writers store 1-5-5-5: our tools never
        // write 16-bit TGA files.
        case 2:
            switch (bitsPerPixel) {
                case 16: return IMG_R5G6B5;
                case 24: return IMG_R8G8B8;
                case 32: return IMG_A8R8G8B8;
                default: return IMG_NONE;
            }
        case 3: return bitsPerPixel == 8 ? IMG_L8 : IMG_NONE;
        default: return IMG_NONE;
    }
}

// Fails for run-length and unknown types, layouts we do not read, a zero side, and a file too
// short for its id, colour map and pixels.
bool Parse(const uint8_t* d, size_t size, TgaLayout* out) {
    if (size < s_headerSize) return false;
    int idLength = d[0];
    int mapType = d[1];
    int imageType = d[2];
    int mapLength = U16(d + 5);
    int mapBits = d[7];
    out->width = U16(d + 12);
    out->height = U16(d + 14);
    out->format = FormatOf(imageType, d[16], mapType, mapLength, mapBits);
    if (out->format == IMG_NONE || out->width == 0 || out->height == 0) return false;
    out->bpp = ImgBytesPerPixel(out->format);
    // A map is skipped by its own entry size: a true-colour file carrying a 16- or 32-bit map
    // would otherwise have its pixels read from the wrong place.
    size_t mapBytes = mapType == 1 ? size_t(mapLength) * ((mapBits + 7) / 8) : 0;
    out->mapOffset = s_headerSize + idLength;
    out->pixelOffset = out->mapOffset + mapBytes;
    uint64_t pixelBytes = uint64_t(out->width) * out->height * out->bpp;
    return out->pixelOffset <= size && pixelBytes <= size - out->pixelOffset;
}

// The file's first row goes to the last row of the destination; 24-bit B, G, R becomes R, G, B.
void CopyRows(const uint8_t* d, const TgaLayout& t, uint8_t* dst, int pitch) {
    size_t rowBytes = size_t(t.width) * t.bpp;
    const uint8_t* src = d + t.pixelOffset;
    for (int y = 0; y < t.height; ++y, src += rowBytes) {
        uint8_t* row = dst + size_t(t.height - 1 - y) * pitch;
        if (t.format != IMG_R8G8B8) {
            std::memcpy(row, src, rowBytes);
            continue;
        }
        for (int x = 0; x < t.width; ++x) {
            row[x * 3 + 0] = src[x * 3 + 2];
            row[x * 3 + 1] = src[x * 3 + 1];
            row[x * 3 + 2] = src[x * 3 + 0];
        }
    }
}

void CopyPalette(const uint8_t* d, const TgaLayout& t, uint8_t* out) {
    const uint8_t* map = d + t.mapOffset;
    for (int i = 0; i < 256; ++i) {
        out[i * 3 + 0] = map[i * 3 + 2];
        out[i * 3 + 1] = map[i * 3 + 1];
        out[i * 3 + 2] = map[i * 3 + 0];
    }
}

void Put16(std::vector<uint8_t>& out, size_t at, int v) {
    out[at] = uint8_t(v);
    out[at + 1] = uint8_t(v >> 8);
}

} // namespace

int BitmapLoadTga(Bitmap* bmp, const char* path, uint8_t* palette, int /*flag*/) {
    BitmapClear(bmp);
    size_t size = 0;
    uint8_t* data = ReadWhole(path, &size);
    if (!data) return -1;
    TgaLayout t;
    int result = -1;
    if (Parse(data, size, &t) && BitmapAlloc(bmp, t.width, t.height, t.format) == 0) {
        CopyRows(data, t, bmp->pixels, bmp->pitch);
        result = 0;
        if (t.format == IMG_P8) {
            // The converter reads palette sources from the bitmap's own block.
            bmp->palette = static_cast<uint8_t*>(MemAlloc(256 * 3));
            if (bmp->palette) {
                CopyPalette(data, t, bmp->palette);
                if (palette) std::memcpy(palette, bmp->palette, 256 * 3);
            } else {
                BitmapFree(bmp);
                result = -1;
            }
        }
    }
    MemFree(data);
    return result;
}

I3dImage* ImgLoadTga(const char* path, uint8_t* palette) {
    size_t size = 0;
    uint8_t* data = ReadWhole(path, &size);
    if (!data) return nullptr;
    TgaLayout t;
    I3dImage* img = Parse(data, size, &t) ? ImgAlloc(t.width, t.height, t.format) : nullptr;
    if (img) {
        CopyRows(data, t, img->pixels, img->pitch);
        if (t.format == IMG_P8 && palette) CopyPalette(data, t, palette);
    }
    MemFree(data);
    return img;
}

int ImgSaveTga(const I3dImage* img, const char* path, const uint8_t* palette) {
    int imageType = 0;
    int bits = 0;
    switch (img->format) {
        case IMG_R8G8B8: imageType = 2, bits = 24; break;
        case IMG_A8R8G8B8: imageType = 2, bits = 32; break;
        case IMG_P8: imageType = palette ? 1 : 0, bits = 8; break;
        case IMG_L8: imageType = 3, bits = 8; break;
        default: break;
    }
    // A palette image without its palette has nothing to write (an empty file says so), and a
    // side past 65535 does not fit the header's 16 bits: both fail instead of writing garbage.
    if (imageType == 0) {
        FileWriteAll(path, "", 0);
        return -1;
    }
    if (img->width <= 0 || img->height <= 0 || img->width > 0xFFFF || img->height > 0xFFFF)
        return -1;

    size_t mapBytes = img->format == IMG_P8 ? 256 * 3 : 0;
    size_t rowBytes = size_t(img->width) * img->bytesPerPixel;
    std::vector<uint8_t> out(s_headerSize + mapBytes + rowBytes * img->height);
    out[1] = img->format == IMG_P8 ? 1 : 0;
    out[2] = uint8_t(imageType);
    if (mapBytes) {
        Put16(out, 5, 256);
        out[7] = 24;
    }
    Put16(out, 12, img->width);
    Put16(out, 14, img->height);
    out[16] = uint8_t(bits);
    out[17] = 8;
    uint8_t* p = out.data() + s_headerSize;
    for (size_t i = 0; i < mapBytes; i += 3, p += 3) {
        p[0] = palette[i + 2];
        p[1] = palette[i + 1];
        p[2] = palette[i + 0];
    }
    for (int y = img->height - 1; y >= 0; --y, p += rowBytes) {
        const uint8_t* row = img->pixels + size_t(y) * img->pitch;
        if (img->format != IMG_R8G8B8) {
            std::memcpy(p, row, rowBytes);
            continue;
        }
        for (int x = 0; x < img->width; ++x) {
            p[x * 3 + 0] = row[x * 3 + 2];
            p[x * 3 + 1] = row[x * 3 + 1];
            p[x * 3 + 2] = row[x * 3 + 0];
        }
    }
    return FileWriteAll(path, out.data(), out.size()) == 1 ? 0 : -1;
}
