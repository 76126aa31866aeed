// gen_grass: the meadow's grass and the fountain's spray. A 2:1 grass texture with alpha, two
// 512 x 512 grey grass maps for a meadow beside the grounds, the meadow's foliage file compiled
// by the game's own Compile with a fixed seed, and a soft white dot for particles.
//
// At "scale" 2 the maps cover the default venue's 1024-unit world. The meadow covers map pixels
// x 262 .. 278 and z 258 .. 276 (world x 524 .. 556, z 516 .. 552), just off the grounds' centre
// where the management camera first looks; layer a plants crossed blades over a third of its
// pixels, layer b tufts over one in eleven.
#include "I3d/Image.h"
#include "engine/Dirs.h"
#include "engine/Random.h"
#include "world/Foliage.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kMeadowX0 = 262, kMeadowX1 = 278, kMeadowZ0 = 258, kMeadowZ1 = 276;
constexpr float kScale = 2.0f;

uint32_t Hash(int x, int z) {
    uint32_t h = uint32_t(x) * 73856093u ^ uint32_t(z) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

bool Save(I3dImage* img, const std::string& path) {
    const bool ok = img && ImgSaveTga(img, path.c_str(), nullptr) == 0;
    if (!ok) std::fprintf(stderr, "gen_grass: cannot write %s\n", path.c_str());
    ImgFree(img);
    return ok;
}

void Put(I3dImage* img, int x, int y, uint32_t argb) {
    uint8_t* p = img->pixels + size_t(y) * size_t(img->pitch) + size_t(x) * 4;
    p[0] = uint8_t(argb);
    p[1] = uint8_t(argb >> 8);
    p[2] = uint8_t(argb >> 16);
    p[3] = uint8_t(argb >> 24);
}

// 64 x 32: blades of varying height, darker at the root; clear above them. Row 0 is the top.
bool GrassTexture(const std::string& path) {
    I3dImage* img = ImgAlloc(64, 32, IMG_A8R8G8B8);
    if (!img) return false;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            const int top = 2 + int(Hash(x / 2, 7) % 18);
            if (y < top) {
                Put(img, x, y, 0x00000000u);
                continue;
            }
            const float t = float(y - top) / float(32 - top);
            const uint32_t g = uint32_t(200.0f - 90.0f * t), r = uint32_t(70.0f - 40.0f * t);
            Put(img, x, y, 0xFF000000u | r << 16 | g << 8 | 0x20u);
        }
    }
    return Save(img, path);
}

bool GrassMap(const std::string& path, uint32_t every) {
    I3dImage* img = ImgAlloc(FOLIAGE_MAP_SIZE, FOLIAGE_MAP_SIZE, IMG_L8);
    if (!img) return false;
    for (int y = 0; y < FOLIAGE_MAP_SIZE; ++y)
        for (int x = 0; x < FOLIAGE_MAP_SIZE; ++x) {
            const bool in = x >= kMeadowX0 && x < kMeadowX1 && y >= kMeadowZ0 && y < kMeadowZ1;
            img->pixels[size_t(y) * size_t(img->pitch) + size_t(x)] =
                in && Hash(x, y) % every == 0 ? 255 : 0;
        }
    return Save(img, path);
}

// 32 x 32 white, alpha falling off to the edge.
bool SoftDot(const std::string& path) {
    I3dImage* img = ImgAlloc(32, 32, IMG_A8R8G8B8);
    if (!img) return false;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float dx = (float(x) + 0.5f - 16.0f) / 16.0f,
                        dy = (float(y) + 0.5f - 16.0f) / 16.0f;
            const float f = std::fmax(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy));
            Put(img, x, y, uint32_t(f * f * 255.0f) << 24 | 0x00FFFFFFu);
        }
    return Save(img, path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_grass <Data folder>/\n");
        return 2;
    }
    const std::string data = argv[1];
    for (const char* sub : {"Grass/", "Particles/"})
        if (DirCreatePath((data + sub).c_str()) != 1) {
            std::fprintf(stderr, "gen_grass: cannot make %s%s\n", data.c_str(), sub);
            return 1;
        }
    bool ok = GrassTexture(data + "Grass/Grass.tga");
    ok = GrassMap(data + "Grass/Meadow a.tga", 3) && ok;
    ok = GrassMap(data + "Grass/Meadow b.tga", 11) && ok;
    ok = SoftDot(data + "Particles/SoftDot.tga") && ok;
    if (!ok) return 1;

    FoliageLayer layers[FOLIAGE_LAYERS];
    std::snprintf(layers[0].grassMapFile, sizeof layers[0].grassMapFile, "%s",
                  (data + "Grass/Meadow a.tga").c_str());
    layers[0].minHeight = 0.3f;
    layers[0].maxHeight = 0.6f;
    std::snprintf(layers[1].grassMapFile, sizeof layers[1].grassMapFile, "%s",
                  (data + "Grass/Meadow b.tga").c_str());
    layers[1].type = 1;
    layers[1].density = 3;
    layers[1].minHeight = 0.4f;
    layers[1].maxHeight = 0.8f;
    CrtSrand(1);
    if (FoliageCompile(layers, kScale, (data + "Meadow.fol").c_str()) < 1) {
        std::fprintf(stderr, "gen_grass: cannot compile the meadow\n");
        return 1;
    }
    return 0;
}
