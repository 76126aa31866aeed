// Foliage: the plants of a grass patch. Compile scatters plants from grey-scale grass maps into a
// foliage file ("<name>.fol": 20-byte little-endian records, no header); a patch reads such a
// file, or falls back to the maps, and builds the plants' quads block by block. Plain functions
// with no entity tree or device, so the data generator compiles with the game's own code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int FOLIAGE_LAYERS = 12;
constexpr int FOLIAGE_RECORD_BYTES = 20;
constexpr int FOLIAGE_MAX_RECORDS = 50000; // what the writer's 1,000,000-byte buffer holds
constexpr int FOLIAGE_GRID_BLOCKS = 32;    // blocks a side when building from a file
constexpr int FOLIAGE_MAP_SIZE = 512;      // the combined map when building from the maps
constexpr int FOLIAGE_MAP_LAYERS = 8;      // layers with a bit in the combined map (a to h)
// 4 vertices a quad under 16-bit indices: a block's mesh is split after this many quads.
constexpr int FOLIAGE_MAX_QUADS = 16384;

// One layer's settings, as the patch's "x." keys hold them.
struct FoliageLayer {
    char grassMapFile[261] = {};
    float vTop = 0.0f, vBottom = 1.0f;
    float uLeft = 0.0f, uRight = 1.0f;
    float minHeight = 1.0f, maxHeight = 1.0f;
    int32_t density = 2;
    int32_t type = 0; // 0 crossed quads, 1 tuft
    float yOffset = 0.0f;
    int32_t flip90 = 0;
};

struct FoliageRecord {
    uint8_t layer = 0;
    uint8_t variation = 0;
    float x = 0.0f, z = 0.0f;
    float height = 0.0f;
};

// Ground height at (x, z).
using FoliageHeightFn = float (*)(void* context, float x, float z);

struct FoliageSettings {
    const FoliageLayer* layers = nullptr; // FOLIAGE_LAYERS of them
    float scale = 1.0f;                   // world size of one map pixel
    int blockSize = 16;                   // map pixels a block side
    int texRatio = 0;                     // texture width / height, integer division
    FoliageHeightFn height = nullptr;     // null: flat ground at 0
    void* heightContext = nullptr;
};

struct GrassVertex {
    float x, y, z;
    float u, v;
};

// One mesh: 4 vertices a quad (its triangles (4q, 4q+1, 4q+2) and (4q, 4q+2, 4q+3)) and the box
// of its vertices, minimum corner then maximum corner.
struct GrassChunk {
    std::vector<GrassVertex> verts;
    float box[6] = {};
    int QuadCount() const { return int(verts.size() / 4); }
};

// A grass map's plants as records: one per pixel whose value is not 0, row by row, with the
// layer, a random variation byte, x and z within the pixel's square and a height in the layer's
// range. Appends at most up to FOLIAGE_MAX_RECORDS in all (1 when that limit stopped it, with a
// log line), 0 otherwise; a map that does not load adds nothing (-1).
int FoliageScatterMap(const char* mapPath, int layer, const FoliageLayer& settings, float scale,
                      std::vector<FoliageRecord>* records);
// Compile: every layer whose map name is set (a "!" layer too) scattered, in layer order, and
// written whole to `outPath`; then the 440 Hz beep. The record count, or -1 when the file could
// not be written.
int FoliageCompile(const FoliageLayer layers[FOLIAGE_LAYERS], float scale, const char* outPath);

// The file's bytes as records: floor(size / 20) of them. A file that does not open or holds no
// byte: -1; else the count.
int FoliageRead(const char* path, std::vector<FoliageRecord>* out);
std::vector<uint8_t> FoliageEncode(const std::vector<FoliageRecord>& records);
std::vector<FoliageRecord> FoliageDecode(const uint8_t* data, size_t size);

// The blocks of a file's records (a grid of 32 x 32 blocks of blockSize x scale units, rows by
// z), each split after FOLIAGE_MAX_QUADS quads. Records with a layer past the table or outside
// the grid are skipped and counted in one log line; so are layers that would divide by zero.
std::vector<GrassChunk> FoliageBuildFromRecords(const std::vector<FoliageRecord>& records,
                                                const FoliageSettings& settings);

// The combined 512 x 512 map: bit 1 << layer wherever layer a..h's map (loaded from its path in
// the layers, names that are empty or begin with "!" left out) is not 0, read within the map's
// own size from (0, 0); then flipped vertically. FOLIAGE_MAP_SIZE squared bytes.
std::vector<uint8_t> FoliageCombineMaps(const FoliageLayer layers[FOLIAGE_LAYERS]);
// The blocks of a combined map, blocks of blockSize pixels row by row.
std::vector<GrassChunk> FoliageBuildFromMap(const std::vector<uint8_t>& map,
                                            const FoliageSettings& settings);

// A grass map's value at (x, y) (any byte of the colour not 0 counts), 0 outside it.
int FoliageMapValue(const struct I3dImage* img, int x, int y);
