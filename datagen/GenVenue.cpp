// Writes the default venue's ground into "Venues/Default/": the height map "Ground
// elevation.tga" (513 x 513 grey samples, 2 world units apart, a 1024-unit world), its 4 x 4
// tiles "Tex00x00.dds" ... "Tex03x03.dds" (256 x 256 DXT1, one texel per world unit) and the
// tiling cloud layer "Clouds.tga". Everything comes from fixed seeds: a rerun is byte-identical.
//
// The fairgrounds (world 320..704 in x and z: the placement grid and a margin around it) are
// flat at height 0, where the camera's target and the patrons' routes lie; value-noise hills rise
// beyond them. The tiles paint an earth path cross on trodden grass over the grid, grass around
// it and rock where the hills are steep.
#include "I3d/Image.h"
#include "datagen/Images/ImageWriters.h"
#include "engine/Dirs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSamples = 513;     // height samples per side
constexpr float kCell = 2.0f;     // world units between samples ("scale")
constexpr float kFlatLo = 320.0f; // the flat grounds, in world units
constexpr float kFlatHi = 704.0f;
constexpr float kRamp = 160.0f;     // world units over which the hills rise from the flat
constexpr float kPeakGrey = 195.0f; // the highest sample (x "elvScale" 0.1 x "scale" 2 = 39)
constexpr int kTiles = 4;
constexpr int kTileSide = 256;

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return h;
}

float Lattice(int x, int y, int period, uint32_t seed) {
    if (period > 0) x = ((x % period) + period) % period, y = ((y % period) + period) % period;
    return float(Hash(uint32_t(x), uint32_t(y), seed) & 0xFFFF) / 65535.0f;
}

float Smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

// Value noise in 0..1 at (x, y) in lattice units; `period` > 0 makes it tile.
float ValueNoise(float x, float y, int period, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const float tx = Smooth(x - fx), ty = Smooth(y - fy);
    const float a = Lattice(ix, iy, period, seed), b = Lattice(ix + 1, iy, period, seed);
    const float c = Lattice(ix, iy + 1, period, seed), d = Lattice(ix + 1, iy + 1, period, seed);
    return (a + (b - a) * tx) * (1.0f - ty) + (c + (d - c) * tx) * ty;
}

// Three octaves, 0..1; `cells` lattice cells over `side` units.
float Fbm(float x, float y, float side, int cells, int period, uint32_t seed) {
    float sum = 0.0f, weight = 0.0f, amp = 1.0f;
    for (int o = 0; o < 3; ++o) {
        const float f = float(cells << o) / side;
        sum += amp * ValueNoise(x * f, y * f, period > 0 ? period << o : 0, seed + uint32_t(o));
        weight += amp;
        amp *= 0.5f;
    }
    return sum / weight;
}

// How far (world units) a point lies outside the flat grounds.
float OutsideFlat(float x, float z) {
    return std::max({kFlatLo - x, x - kFlatHi, kFlatLo - z, z - kFlatHi, 0.0f});
}

// Greys by sample (x, z), z = 0 the world's low-z edge.
std::vector<float> HeightGreys() {
    std::vector<float> g(size_t(kSamples) * kSamples);
    float peak = 0.0f;
    for (int z = 0; z < kSamples; ++z)
        for (int x = 0; x < kSamples; ++x) {
            const float wx = float(x) * kCell, wz = float(z) * kCell;
            const float d = OutsideFlat(wx, wz);
            const float rise = Smooth(std::min(d / kRamp, 1.0f));
            const float hill = 0.25f + 0.75f * Fbm(wx, wz, 1024.0f, 6, 0, 11);
            float& v = g[size_t(z) * kSamples + size_t(x)];
            v = d > 0.0f ? rise * hill : 0.0f;
            peak = std::max(peak, v);
        }
    for (float& v : g)
        v = std::round(v * kPeakGrey / peak);
    return g;
}

float GreyAt(const std::vector<float>& g, int x, int z) {
    x = std::clamp(x, 0, kSamples - 1), z = std::clamp(z, 0, kSamples - 1);
    return g[size_t(z) * kSamples + size_t(x)];
}

uint32_t Mix(uint32_t a, uint32_t b, float t) {
    return ColorLerpArgb(a, b, std::clamp(t, 0.0f, 1.0f));
}

constexpr uint32_t kEarth = 0xFF8C6A48, kTrodden = 0xFF7A8A4C, kGrass = 0xFF4E8A38,
                   kRock = 0xFF827C74;

// The ground's colour at world (x, z).
uint32_t GroundColour(const std::vector<float>& g, float x, float z) {
    const int sx = int(x / kCell), sz = int(z / kCell);
    // The steepest rise across the sample's neighbours, in world units per unit (grey x 0.2).
    const float dx = (GreyAt(g, sx + 1, sz) - GreyAt(g, sx - 1, sz)) * 0.2f / (2.0f * kCell);
    const float dz = (GreyAt(g, sx, sz + 1) - GreyAt(g, sx, sz - 1)) * 0.2f / (2.0f * kCell);
    const float slope = std::sqrt(dx * dx + dz * dz);
    const float speckle = Fbm(x, z, 1024.0f, 128, 0, 23);
    const uint32_t grass = Mix(kGrass, kTrodden, speckle * 0.6f);
    if (x >= 384.0f && x < 640.0f && z >= 384.0f && z < 640.0f) {
        // The grid: a path cross through its middle on trodden grass.
        if (std::fabs(x - 512.0f) < 12.0f || std::fabs(z - 512.0f) < 12.0f)
            return Mix(kEarth, kTrodden, speckle * 0.3f);
        return Mix(kTrodden, kEarth, speckle * 0.5f);
    }
    return Mix(grass, kRock, (slope - 0.2f) / 0.15f);
}

bool SaveGrey(const std::vector<uint8_t>& grey, int side, const std::string& path) {
    I3dImage* img = ImgAlloc(side, side, IMG_L8);
    if (!img) return false;
    for (int row = 0; row < side; ++row)
        for (int x = 0; x < side; ++x)
            img->pixels[size_t(row) * size_t(img->pitch) + size_t(x)] =
                grey[size_t(row) * size_t(side) + size_t(x)];
    const bool ok = ImgSaveTga(img, path.c_str(), nullptr) == 0;
    ImgFree(img);
    if (!ok) std::fprintf(stderr, "gen_venue: cannot write %s\n", path.c_str());
    return ok;
}

bool WriteHeights(const std::vector<float>& g, const std::string& path) {
    // Image rows run from the picture's top: the last sample row first.
    std::vector<uint8_t> grey(size_t(kSamples) * kSamples);
    for (int z = 0; z < kSamples; ++z)
        for (int x = 0; x < kSamples; ++x)
            grey[size_t(kSamples - 1 - z) * kSamples + size_t(x)] = uint8_t(GreyAt(g, x, z));
    return SaveGrey(grey, kSamples, path);
}

// Tile (i, j) covers world x i*256.., z j*256..; its v (rows from the top) runs with z.
bool WriteTile(const std::vector<float>& g, int i, int j, const std::string& path) {
    GenImage img(kTileSide, kTileSide);
    for (int v = 0; v < kTileSide; ++v)
        for (int u = 0; u < kTileSide; ++u) {
            const float x = float(i * kTileSide + u) + 0.5f, z = float(j * kTileSide + v) + 0.5f;
            img.Set(uint32_t(u), uint32_t(v), GroundColour(g, x, z));
        }
    return GenWriteFile(path, GenDdsBytes(GenDds::Dxt1, GenMipChain(img)));
}

// Soft tiling clouds: grey up to 102 (alpha 0.4 once loaded), clear sky between them.
bool WriteClouds(const std::string& path) {
    constexpr int kSide = 256;
    std::vector<uint8_t> grey(size_t(kSide) * kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const float n = Fbm(float(x), float(y), float(kSide), 4, 4, 37);
            const float cover = std::clamp((n - 0.45f) / 0.3f, 0.0f, 1.0f);
            grey[size_t(y) * kSide + size_t(x)] = uint8_t(std::lround(cover * 102.0f));
        }
    return SaveGrey(grey, kSide, path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_venue <Data folder>/\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "Venues/Default/";
    if (DirCreatePath(folder.c_str()) != 1) {
        std::fprintf(stderr, "gen_venue: cannot make %s\n", folder.c_str());
        return 1;
    }
    const std::vector<float> greys = HeightGreys();
    bool ok = WriteHeights(greys, folder + "Ground elevation.tga");
    for (int j = 0; ok && j < kTiles; ++j)
        for (int i = 0; ok && i < kTiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "Tex%02ix%02i.dds", i, j);
            ok = WriteTile(greys, i, j, folder + name);
        }
    ok = ok && WriteClouds(folder + "Clouds.tga");
    if (!ok) std::fprintf(stderr, "gen_venue: failed\n");
    return ok ? 0 : 1;
}
