// Writes the height map "Terrains/Ridge elevation.tga": 65 x 65 8-bit grey, one pixel per sample
// of a 64 x 64-cell terrain, written bottom row first. Sample (x, z) (z = 0 the picture's bottom
// row) is grey 2x + z, so the ground is one plane rising twice as fast along x as along z: any
// height along it can be checked by hand, and a map read upside down or mirrored shows.
// Beside it the tile "Terrains/RidgeTex00x00.tga" (64 x 64, 4 x 4 squares of 16 x 16 texels, a
// colour per square, so that each patch's share of it can be told apart) and the detail texture
// "Terrains/RidgeDetail.tga" (a grey checker around mid-grey, which adds nothing on average).
#include "I3d/Image.h"
#include "engine/Dirs.h"

#include <cstdio>
#include <string>

namespace {

bool Save(I3dImage* img, const std::string& path) {
    const bool ok = ImgSaveTga(img, path.c_str(), nullptr) == 0;
    ImgFree(img);
    if (!ok) std::fprintf(stderr, "gen_terrains: cannot write %s\n", path.c_str());
    return ok;
}

// Square (i, j), i along u and j along v (rows from the picture's top).
bool WriteTile(const std::string& path) {
    I3dImage* img = ImgAlloc(64, 64, IMG_A8R8G8B8);
    if (!img) return false;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t* p = img->pixels + size_t(y) * size_t(img->pitch) + size_t(x) * 4;
            const int i = x / 16, j = y / 16;
            p[0] = uint8_t(0x80 ^ (i * 0x10 + j * 0x20)); // B, G, R, A
            p[1] = uint8_t(0x20 + 0x40 * j);
            p[2] = uint8_t(0x30 + 0x30 * i);
            p[3] = 0xFF;
        }
    return Save(img, path);
}

bool WriteDetail(const std::string& path) {
    I3dImage* img = ImgAlloc(32, 32, IMG_A8R8G8B8);
    if (!img) return false;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            uint8_t* p = img->pixels + size_t(y) * size_t(img->pitch) + size_t(x) * 4;
            p[0] = p[1] = p[2] = ((x / 4 + y / 4) & 1) ? 0x90 : 0x70;
            p[3] = 0xFF;
        }
    return Save(img, path);
}

} // namespace

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
    bool ok = ImgSaveTga(img, path.c_str(), nullptr) == 0;
    ImgFree(img);
    if (!ok) std::fprintf(stderr, "gen_terrains: cannot write %s\n", path.c_str());
    return ok && WriteTile(folder + "RidgeTex00x00.tga") && WriteDetail(folder + "RidgeDetail.tga")
               ? 0
               : 1;
}
