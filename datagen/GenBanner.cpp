// Writes "ConfigBanner.bmp": the configuration dialog's banner, a 24-bit BMP as wide as the
// dialog, a dusk sky over a row of carnival tents.
#include "datagen/Images/ImageWriters.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int kWidth = 440, kHeight = 80;

uint32_t BannerPixel(int x, int y) {
    // Sky from deep blue at the top to orange at the horizon.
    const float t = (float)y / (float)(kHeight - 1);
    int r = (int)(30 + 200 * t), g = (int)(30 + 90 * t), b = (int)(110 - 60 * t);
    // Tents: triangles every 55 pixels, striped red and white.
    const int cell = x % 55, tentTop = 38 + std::abs(cell - 27);
    if (y >= tentTop && cell > 2 && cell < 52) {
        const bool stripe = (x / 6) % 2 == 0;
        r = stripe ? 205 : 240, g = stripe ? 35 : 235, b = stripe ? 45 : 225;
    }
    return 0xFF000000u | (uint32_t)r << 16 | (uint32_t)g << 8 | (uint32_t)b;
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = (uint8_t)(v >> (8 * i));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_banner <Data folder>/\n");
        return 2;
    }
    const size_t row = ((size_t)kWidth * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> bmp(54 + row * kHeight);
    bmp[0] = 'B', bmp[1] = 'M';
    Put32(bmp, 2, (uint32_t)bmp.size());
    Put32(bmp, 10, 54);
    Put32(bmp, 14, 40);
    Put32(bmp, 18, kWidth);
    Put32(bmp, 22, kHeight);
    bmp[26] = 1;  // planes
    bmp[28] = 24; // bits per pixel
    Put32(bmp, 34, (uint32_t)(row * kHeight));
    for (int y = 0; y < kHeight; ++y) // bottom row first
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t c = BannerPixel(x, kHeight - 1 - y);
            uint8_t* p = &bmp[54 + (size_t)y * row + (size_t)x * 3];
            p[0] = (uint8_t)c, p[1] = (uint8_t)(c >> 8), p[2] = (uint8_t)(c >> 16);
        }
    if (!GenWriteFile(std::string(argv[1]) + "ConfigBanner.bmp", bmp)) {
        std::fprintf(stderr, "gen_banner: cannot write ConfigBanner.bmp\n");
        return 1;
    }
    return 0;
}
