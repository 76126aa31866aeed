// Writes the height map "Terrains/Ridge elevation.tga": 65 x 65 8-bit grey, one pixel per sample
// of a 64 x 64-cell terrain, written bottom row first. Sample (x, z) (z = 0 the picture's bottom
// row) is grey 2x + z, so the ground is one plane rising twice as fast along x as along z: any
// height along it can be checked by hand, and a map read upside down or mirrored shows.
#include "I3d/Image.h"
#include "engine/Dirs.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_terrains <Data folder>/\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "Terrains/";
    if (DirCreatePath(folder.c_str()) != 1) {
        std::fprintf(stderr, "gen_terrains: cannot make %s\n", folder.c_str());
        return 1;
    }
    constexpr int kSide = 65;
    I3dImage* img = ImgAlloc(kSide, kSide, IMG_L8);
    if (!img) return 1;
    for (int row = 0; row < kSide; ++row) {
        const int z = kSide - 1 - row; // image rows run from the picture's top
        for (int x = 0; x < kSide; ++x)
            img->pixels[size_t(row) * size_t(img->pitch) + size_t(x)] = uint8_t(2 * x + z);
    }
    const std::string path = folder + "Ridge elevation.tga";
    const bool ok = ImgSaveTga(img, path.c_str(), nullptr) == 0;
    ImgFree(img);
    if (!ok) std::fprintf(stderr, "gen_terrains: cannot write %s\n", path.c_str());
    return ok ? 0 : 1;
}
