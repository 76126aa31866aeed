// Writes the info-icon sheet "Menu/InfoIcons.tga": 256 x 128, 32-bit, an 8 x 4 grid of 32 x 32
// cells (cell k = 4 x column + row). Each cell is a round badge, ringed dark then light so that
// it reads on any background, whose top half and bottom half have different colours (the
// pair differs from cell to cell), so a picture drawn upside down or from the wrong cell shows.
#include "I3d/Image.h"
#include "engine/Dirs.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kCell = 32, kColumns = 8, kRows = 4;
constexpr uint32_t kHues[kColumns] = {0xFFE02020, 0xFFF08020, 0xFFF0E020, 0xFF30C030,
                                      0xFF20C0E0, 0xFF3050F0, 0xFFA040E0, 0xFFF060B0};

uint32_t CellPixel(int column, int row, int x, int y) {
    const float dx = (float)x + 0.5f - kCell / 2.0f, dy = (float)y + 0.5f - kCell / 2.0f;
    const float r = std::sqrt(dx * dx + dy * dy);
    if (r > 15.0f) return 0x00000000; // transparent round the badge
    if (r > 13.0f) return 0xFF101010; // dark ring
    if (r > 11.5f) return 0xFFF8F8F8; // light ring
    // The bottom's hue is another column's, a different one for every row.
    return y < kCell / 2 ? kHues[column] : kHues[(column + 1 + row) % kColumns];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_infoicons <Data folder>/\n");
        return 2;
    }
    const std::string menu = std::string(argv[1]) + "Menu/";
    if (DirCreatePath(menu.c_str()) != 1) {
        std::fprintf(stderr, "gen_infoicons: cannot make %s\n", menu.c_str());
        return 1;
    }
    I3dImage* img = ImgAlloc(kCell * kColumns, kCell * kRows, IMG_A8R8G8B8);
    if (!img) return 1;
    for (int y = 0; y < img->height; ++y)
        for (int x = 0; x < img->width; ++x) {
            uint32_t c = CellPixel(x / kCell, y / kCell, x % kCell, y % kCell);
            std::memcpy(img->pixels + (size_t)y * img->pitch + (size_t)x * 4, &c, 4);
        }
    const std::string path = menu + "InfoIcons.tga";
    bool ok = ImgSaveTga(img, path.c_str(), nullptr) == 0;
    ImgFree(img);
    if (!ok) {
        std::fprintf(stderr, "gen_infoicons: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
