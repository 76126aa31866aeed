// DDS writing, mip chains and the DXT block encoder used by the data generators and tests.
#include "datagen/Images/ImageWriters.h"

#include "engine/Files.h"
#include "platform/d3dx/DdsFile.h"
#include "platform/d3dx/Dxt.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

// ---- images ----

void GenImage::Set(uint32_t x, uint32_t y, uint32_t argb) {
    uint8_t* p = At(x, y);
    p[0] = uint8_t(argb);
    p[1] = uint8_t(argb >> 8);
    p[2] = uint8_t(argb >> 16);
    p[3] = uint8_t(argb >> 24);
}

uint32_t GenImage::Get(uint32_t x, uint32_t y) const {
    const uint8_t* p = At(x, y);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

GenChain GenMipChain(const GenImage& level0) {
    GenChain chain{level0};
    while (chain.back().width > 1 || chain.back().height > 1) {
        const GenImage& src = chain.back();
        GenImage dst(std::max(1u, src.width / 2), std::max(1u, src.height / 2));
        for (uint32_t y = 0; y < dst.height; ++y) {
            for (uint32_t x = 0; x < dst.width; ++x) {
                uint32_t x0 = std::min(x * 2, src.width - 1),
                         x1 = std::min(x * 2 + 1, src.width - 1);
                uint32_t y0 = std::min(y * 2, src.height - 1),
                         y1 = std::min(y * 2 + 1, src.height - 1);
                for (int c = 0; c < 4; ++c) {
                    int sum = src.At(x0, y0)[c] + src.At(x1, y0)[c] + src.At(x0, y1)[c] +
                              src.At(x1, y1)[c];
                    dst.At(x, y)[c] = uint8_t((sum + 2) / 4);
                }
            }
        }
        chain.push_back(std::move(dst));
    }
    return chain;
}

// ---- DXT encoding ----

namespace {

uint16_t Pack565(int r, int g, int b) {
    return uint16_t(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}

int Distance(const uint8_t* bgra, uint32_t argb) {
    int db = bgra[0] - int(argb & 0xFF);
    int dg = bgra[1] - int((argb >> 8) & 0xFF);
    int dr = bgra[2] - int((argb >> 16) & 0xFF);
    return dr * dr + dg * dg + db * db;
}

void EncodeColour(const uint8_t t[64], uint8_t* out) {
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    for (int i = 0; i < 16; ++i) {
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min<int>(lo[c], t[i * 4 + c]);
            hi[c] = std::max<int>(hi[c], t[i * 4 + c]);
        }
    }
    // Channels are B, G, R; the larger endpoint goes first so that the block is in the
    // four-colour mode (equal endpoints give one colour and every index 0).
    uint16_t c0 = Pack565(hi[2], hi[1], hi[0]);
    uint16_t c1 = Pack565(lo[2], lo[1], lo[0]);
    if (c0 < c1) std::swap(c0, c1);
    uint32_t pal[4] = {Dxt565ToArgb(c0), Dxt565ToArgb(c1), 0, 0};
    for (int k = 0; k < 24; k += 8) {
        int a = (pal[0] >> k) & 0xFF, b = (pal[1] >> k) & 0xFF;
        pal[2] |= uint32_t((2 * a + b) / 3) << k;
        pal[3] |= uint32_t((a + 2 * b) / 3) << k;
    }
    uint32_t bits = 0;
    if (c0 != c1) {
        for (int i = 0; i < 16; ++i) {
            int best = 0;
            for (int j = 1; j < 4; ++j)
                if (Distance(t + i * 4, pal[j]) < Distance(t + i * 4, pal[best])) best = j;
            bits |= uint32_t(best) << (2 * i);
        }
    }
    out[0] = uint8_t(c0), out[1] = uint8_t(c0 >> 8);
    out[2] = uint8_t(c1), out[3] = uint8_t(c1 >> 8);
    for (int i = 0; i < 4; ++i)
        out[4 + i] = uint8_t(bits >> (8 * i));
}

void EncodeAlpha(const uint8_t t[64], uint8_t* out) {
    int lo = 255, hi = 0;
    for (int i = 0; i < 16; ++i) {
        lo = std::min<int>(lo, t[i * 4 + 3]);
        hi = std::max<int>(hi, t[i * 4 + 3]);
    }
    // hi > lo selects the eight-value mode; equal endpoints use index 0 throughout.
    int a[8] = {hi, lo};
    for (int i = 1; i < 7; ++i)
        a[i + 1] = ((7 - i) * hi + i * lo) / 7;
    uint64_t bits = 0;
    if (hi != lo) {
        for (int i = 0; i < 16; ++i) {
            int best = 0;
            for (int j = 1; j < 8; ++j)
                if (std::abs(t[i * 4 + 3] - a[j]) < std::abs(t[i * 4 + 3] - a[best])) best = j;
            bits |= uint64_t(best) << (3 * i);
        }
    }
    out[0] = uint8_t(hi);
    out[1] = uint8_t(lo);
    for (int i = 0; i < 6; ++i)
        out[2 + i] = uint8_t(bits >> (8 * i));
}

} // namespace

void GenDxtEncodeBlock(GenDds kind, const uint8_t texels[64], uint8_t* out) {
    if (kind == GenDds::Dxt5) {
        EncodeAlpha(texels, out);
        EncodeColour(texels, out + 8);
    } else {
        EncodeColour(texels, out);
    }
}

std::vector<uint8_t> GenDxtEncodeLevel(GenDds kind, const GenImage& level) {
    size_t blockBytes = kind == GenDds::Dxt1 ? 8 : 16;
    uint32_t bw = (level.width + 3) / 4, bh = (level.height + 3) / 4;
    std::vector<uint8_t> out(size_t(bw) * bh * blockBytes);
    uint8_t texels[64];
    uint8_t* p = out.data();
    for (uint32_t by = 0; by < bh; ++by) {
        for (uint32_t bx = 0; bx < bw; ++bx, p += blockBytes) {
            for (uint32_t y = 0; y < 4; ++y)
                for (uint32_t x = 0; x < 4; ++x)
                    std::memcpy(texels + (y * 4 + x) * 4,
                                level.At(std::min(bx * 4 + x, level.width - 1),
                                         std::min(by * 4 + y, level.height - 1)),
                                4);
            GenDxtEncodeBlock(kind, texels, p);
        }
    }
    return out;
}

// ---- DDS files ----

namespace {

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = uint8_t(v >> (8 * i));
}

void AppendLevel(std::vector<uint8_t>& out, GenDds kind, const GenImage& level) {
    switch (kind) {
        case GenDds::Argb32: out.insert(out.end(), level.bgra.begin(), level.bgra.end()); return;
        case GenDds::A8:
            for (size_t i = 3; i < level.bgra.size(); i += 4)
                out.push_back(level.bgra[i]);
            return;
        case GenDds::Dxt1:
        case GenDds::Dxt5: {
            std::vector<uint8_t> blocks = GenDxtEncodeLevel(kind, level);
            out.insert(out.end(), blocks.begin(), blocks.end());
            return;
        }
    }
}

std::vector<uint8_t> Header(GenDds kind, const GenChain& chain, uint32_t caps2) {
    constexpr uint32_t CAPS = 0x1, HEIGHT = 0x2, WIDTH = 0x4, PITCH = 0x8, PIXELFORMAT = 0x1000,
                       MIPMAPCOUNT = 0x20000, LINEARSIZE = 0x80000;
    constexpr uint32_t PF_ALPHAPIXELS = 0x1, PF_ALPHA = 0x2, PF_FOURCC = 0x4, PF_RGB = 0x40;
    constexpr uint32_t CAPS_COMPLEX = 0x8, CAPS_TEXTURE = 0x1000, CAPS_MIPMAP = 0x400000;
    const GenImage& top = chain.front();
    bool compressed = kind == GenDds::Dxt1 || kind == GenDds::Dxt5;
    bool mips = chain.size() > 1;
    std::vector<uint8_t> h(DDS_HEADER_BYTES, 0);
    std::memcpy(h.data(), "DDS ", 4);
    Put32(h, 4, 124);
    Put32(h, 8,
          CAPS | HEIGHT | WIDTH | PIXELFORMAT | (mips ? MIPMAPCOUNT : 0u) |
              (compressed ? LINEARSIZE : PITCH));
    Put32(h, 12, top.height);
    Put32(h, 16, top.width);
    int pixels = kind == GenDds::Dxt1   ? DDS_DXT1
                 : kind == GenDds::Dxt5 ? DDS_DXT5
                 : kind == GenDds::A8   ? DDS_A8
                                        : DDS_ARGB32;
    Put32(h, 20,
          uint32_t(compressed ? DdsLevelSize(pixels, top.width, top.height)
                              : DdsRowBytes(pixels, top.width)));
    Put32(h, 28, uint32_t(chain.size()));
    Put32(h, 76, 32);
    switch (kind) {
        case GenDds::Argb32:
            Put32(h, 80, PF_RGB | PF_ALPHAPIXELS);
            Put32(h, 88, 32);
            Put32(h, 92, 0x00FF0000);
            Put32(h, 96, 0x0000FF00);
            Put32(h, 100, 0x000000FF);
            Put32(h, 104, 0xFF000000);
            break;
        case GenDds::A8:
            Put32(h, 80, PF_ALPHA);
            Put32(h, 88, 8);
            Put32(h, 104, 0xFF);
            break;
        case GenDds::Dxt1:
        case GenDds::Dxt5:
            Put32(h, 80, PF_FOURCC);
            std::memcpy(h.data() + 84, kind == GenDds::Dxt1 ? "DXT1" : "DXT5", 4);
            break;
    }
    Put32(h, 108,
          CAPS_TEXTURE | (mips ? CAPS_COMPLEX | CAPS_MIPMAP : 0u) | (caps2 ? CAPS_COMPLEX : 0u));
    Put32(h, 112, caps2);
    return h;
}

} // namespace

std::vector<uint8_t> GenDdsBytes(GenDds kind, const GenChain& chain) {
    std::vector<uint8_t> out = Header(kind, chain, 0);
    for (const GenImage& level : chain)
        AppendLevel(out, kind, level);
    return out;
}

std::vector<uint8_t> GenDdsCubeBytes(GenDds kind, const std::array<GenChain, 6>& faces,
                                     unsigned faceMask) {
    uint32_t caps2 = DDS_CAPS2_CUBEMAP | ((faceMask & 0x3F) << 10);
    std::vector<uint8_t> out = Header(kind, faces[0], caps2);
    for (int f = 0; f < 6; ++f) {
        if (!(faceMask & (1u << f))) continue;
        for (const GenImage& level : faces[f])
            AppendLevel(out, kind, level);
    }
    return out;
}

std::vector<uint8_t> GenTga24Bytes(const GenImage& image) {
    const size_t header = 18;
    std::vector<uint8_t> out(header + size_t(image.width) * image.height * 3);
    out[2] = 2; // uncompressed true colour
    out[12] = uint8_t(image.width), out[13] = uint8_t(image.width >> 8);
    out[14] = uint8_t(image.height), out[15] = uint8_t(image.height >> 8);
    out[16] = 24;
    out[17] = 8;
    uint8_t* p = out.data() + header;
    for (uint32_t y = image.height; y-- > 0;)
        for (uint32_t x = 0; x < image.width; ++x, p += 3)
            std::memcpy(p, image.At(x, y), 3);
    return out;
}

bool GenWriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    return FileWriteAll(path.c_str(), bytes.data(), bytes.size()) == 1;
}
