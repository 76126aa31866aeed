// Foliage files, grass maps and the plants' quads.
#include "world/Foliage.h"

#include "I3d/Image.h"
#include "engine/DebugLog.h"
#include "engine/Files.h"
#include "engine/MathConst.h"
#include "engine/Memory.h"
#include "engine/Random.h"
#include "engine/System.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

I3dImage* LoadMap(const char* name) {
    char path[1024];
    if (!name || !name[0] || SysDataFilePath(path, sizeof path, name) != 1) return nullptr;
    return ImgLoadTga(path, nullptr);
}

float Ground(const FoliageSettings& s, float x, float z) {
    return s.height ? s.height(s.heightContext, x, z) : 0.0f;
}

void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}
uint32_t GetU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void PutF32(uint8_t* p, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    PutU32(p, v);
}
float GetF32(const uint8_t* p) {
    const uint32_t v = GetU32(p);
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

// A layer whose quads would divide by zero (or by a NaN) plants nothing.
bool LayerUsable(const FoliageLayer& l) {
    if (l.density <= 0) return false;
    if (l.type == 1) {
        const float div = l.flip90 ? l.uRight - l.uLeft : l.vBottom - l.vTop;
        return div != 0.0f && std::isfinite(div);
    }
    return true;
}

// More blades than a whole mesh holds are cut to one mesh's worth.
int Density(const FoliageLayer& l) {
    return l.density > FOLIAGE_MAX_QUADS ? FOLIAGE_MAX_QUADS : l.density;
}

void Grow(GrassChunk* c, const GrassVertex& v) {
    if (c->verts.empty()) {
        c->box[0] = c->box[3] = v.x;
        c->box[1] = c->box[4] = v.y;
        c->box[2] = c->box[5] = v.z;
    } else {
        c->box[0] = std::fmin(c->box[0], v.x);
        c->box[1] = std::fmin(c->box[1], v.y);
        c->box[2] = std::fmin(c->box[2], v.z);
        c->box[3] = std::fmax(c->box[3], v.x);
        c->box[4] = std::fmax(c->box[4], v.y);
        c->box[5] = std::fmax(c->box[5], v.z);
    }
    c->verts.push_back(v);
}

// Writes chunks of at most FOLIAGE_MAX_QUADS quads, a plant never split over two.
struct ChunkWriter {
    std::vector<GrassChunk>* out;
    GrassChunk current;

    void Room(int quads) {
        if (current.QuadCount() + quads > FOLIAGE_MAX_QUADS) Close();
    }
    void Close() {
        if (!current.verts.empty()) out->push_back(std::move(current));
        current = GrassChunk();
    }
    void Quad(const GrassVertex& a, const GrassVertex& b, const GrassVertex& c,
              const GrassVertex& d) {
        Grow(&current, a);
        Grow(&current, b);
        Grow(&current, c);
        Grow(&current, d);
    }
};

// Type 0: crossed quads between random ends, each standing on the ground at both ends.
void CrossedQuads(ChunkWriter* w, const FoliageLayer& l, const FoliageSettings& s, float ax0,
                  float az0, bool fromMap) {
    const int n = Density(l);
    w->Room(n);
    for (int i = 0; i < n; ++i) {
        float end[4];
        for (float& e : end)
            e = RandFloat(1.4f) - 0.2f;
        float ax, az, bx, bz;
        if (fromMap) {
            ax = (ax0 + end[0]) * s.scale;
            az = (az0 + end[1]) * s.scale;
            bx = (ax0 + end[2]) * s.scale;
            bz = (az0 + end[3]) * s.scale;
        } else {
            ax = ax0 + end[0] * s.scale;
            az = az0 + end[1] * s.scale;
            bx = ax0 + end[2] * s.scale;
            bz = az0 + end[3] * s.scale;
        }
        const float h = RandFloatRange(l.minHeight, l.maxHeight);
        // A plant of no height (or below the ground) is left out: u divides by its height.
        if (!(h > 0.0f)) continue;
        const float ay = Ground(s, ax, az), by = Ground(s, bx, bz);
        const float dx = bx - ax, dy = by - ay, dz = bz - az;
        const float u = std::sqrt(dx * dx + dy * dy + dz * dz) * std::fabs(l.vBottom - l.vTop) / h;
        w->Quad({ax, ay, az, 0.0f, l.vBottom}, {bx, by, bz, u, l.vBottom},
                {bx, by + h, bz, u, l.vTop}, {ax, ay + h, az, 0.0f, l.vTop});
    }
}

// Type 1: a tuft of blades turned by pi / density about its centre.
void Tuft(ChunkWriter* w, const FoliageLayer& l, const FoliageSettings& s, float x, float z) {
    const int n = Density(l);
    const float h = RandFloatRange(l.minHeight, l.maxHeight);
    // A tuft of no height is no plant at all, and one below it would hang upside down under the
    // ground: as with the crossed quads, such a plant is left out.
    if (!(h > 0.0f)) return;
    w->Room(n);
    const float y = Ground(s, x, z) - h * l.yOffset;
    const float q = l.flip90 ? (l.vBottom - l.vTop) / (l.uRight - l.uLeft)
                             : (l.uRight - l.uLeft) / (l.vBottom - l.vTop);
    const float half = q * float(s.texRatio) * h * 0.5f;
    float a = RandFloat(kPi);
    for (int i = 0; i < n; ++i, a += kPi / float(n)) {
        const float cx = std::cos(a) * half, cz = std::sin(a) * half;
        const GrassVertex bl{x - cx, y, z - cz, 0, 0}, br{x + cx, y, z + cz, 0, 0};
        GrassVertex v[4] = {bl, br, {br.x, y + h, br.z, 0, 0}, {bl.x, y + h, bl.z, 0, 0}};
        const float uv[2][8] = {
            {l.uLeft, l.vBottom, l.uRight, l.vBottom, l.uRight, l.vTop, l.uLeft, l.vTop},
            {l.uLeft, l.vTop, l.uLeft, l.vBottom, l.uRight, l.vBottom, l.uRight, l.vTop}};
        const float* t = uv[l.flip90 ? 1 : 0];
        for (int k = 0; k < 4; ++k) {
            v[k].u = t[2 * k];
            v[k].v = t[2 * k + 1];
        }
        w->Quad(v[0], v[1], v[2], v[3]);
    }
}

void LogUnusable(const FoliageSettings& s) {
    int bad = 0;
    for (int i = 0; i < FOLIAGE_LAYERS; ++i)
        if (s.layers[i].density > 0 && !LayerUsable(s.layers[i])) ++bad;
    if (bad) DbgPrintf(DBG_GENERAL, "Grass: %d layers with a zero divisor plant nothing\n", bad);
}

} // namespace

int FoliageMapValue(const I3dImage* img, int x, int y) {
    if (!img || x < 0 || y < 0 || x >= img->width || y >= img->height) return 0;
    const int bpp = img->bytesPerPixel;
    if (bpp < 1 || bpp > 4) return 0;
    const uint8_t* p = img->pixels + size_t(y) * size_t(img->pitch) + size_t(x) * size_t(bpp);
    // The alpha byte of a 32-bit map says nothing about the grass.
    const int colourBytes = bpp == 4 ? 3 : bpp;
    int v = 0;
    for (int i = 0; i < colourBytes; ++i)
        v |= p[i];
    return v;
}

int FoliageScatterMap(const char* mapName, int layer, const FoliageLayer& l, float scale,
                      std::vector<FoliageRecord>* records) {
    I3dImage* img = LoadMap(mapName);
    if (!img) return -1;
    int result = 0;
    for (int pz = 0; pz < img->height && !result; ++pz) {
        for (int px = 0; px < img->width; ++px) {
            if (!FoliageMapValue(img, px, pz)) continue;
            if (records->size() >= size_t(FOLIAGE_MAX_RECORDS)) {
                DbgPrintf(DBG_GENERAL, "Grass: compile stopped at %d records\n",
                          FOLIAGE_MAX_RECORDS);
                result = 1;
                break;
            }
            FoliageRecord r;
            r.layer = uint8_t(layer);
            r.variation = uint8_t(RandInt(255));
            r.x = RandFloat(scale) + float(px) * scale;
            r.z = RandFloat(scale) + float(pz) * scale;
            r.height = RandFloatRange(l.minHeight, l.maxHeight);
            records->push_back(r);
        }
    }
    ImgFree(img);
    return result;
}

int FoliageCompile(const FoliageLayer layers[FOLIAGE_LAYERS], float scale, const char* outPath) {
    std::vector<FoliageRecord> records;
    for (int i = 0; i < FOLIAGE_LAYERS; ++i) {
        if (!layers[i].grassMapFile[0]) continue;
        if (FoliageScatterMap(layers[i].grassMapFile, i, layers[i], scale, &records) == 1) break;
    }
    const std::vector<uint8_t> bytes = FoliageEncode(records);
    const int written = FileWriteAll(outPath, bytes.data(), bytes.size());
    if (written != 1) DbgPrintf(DBG_GENERAL, "Grass: could not write %s\n", outPath);
    SysBeep(440, 100);
    return written == 1 ? int(records.size()) : -1;
}

std::vector<uint8_t> FoliageEncode(const std::vector<FoliageRecord>& records) {
    std::vector<uint8_t> bytes(records.size() * FOLIAGE_RECORD_BYTES, 0);
    for (size_t i = 0; i < records.size(); ++i) {
        uint8_t* p = bytes.data() + i * FOLIAGE_RECORD_BYTES;
        p[0] = records[i].layer;
        p[1] = records[i].variation;
        PutF32(p + 4, records[i].x);
        PutF32(p + 8, records[i].z);
        PutF32(p + 12, records[i].height);
        PutU32(p + 16, 0xFFFFFFFFu);
    }
    return bytes;
}

std::vector<FoliageRecord> FoliageDecode(const uint8_t* data, size_t size) {
    std::vector<FoliageRecord> out(size / FOLIAGE_RECORD_BYTES);
    for (size_t i = 0; i < out.size(); ++i) {
        const uint8_t* p = data + i * FOLIAGE_RECORD_BYTES;
        out[i].layer = p[0];
        out[i].variation = p[1];
        out[i].x = GetF32(p + 4);
        out[i].z = GetF32(p + 8);
        out[i].height = GetF32(p + 12);
    }
    return out;
}

int FoliageRead(const char* path, std::vector<FoliageRecord>* out) {
    out->clear();
    char full[1024];
    if (!path || !path[0] || SysDataFilePath(full, sizeof full, path) != 1) return -1;
    void* data = nullptr;
    const int size = FileReadAll(&data, full, 0);
    if (size <= 0) {
        if (data) MemFree(data);
        return -1;
    }
    *out = FoliageDecode(static_cast<const uint8_t*>(data), size_t(size));
    MemFree(data);
    return int(out->size());
}

std::vector<GrassChunk> FoliageBuildFromRecords(const std::vector<FoliageRecord>& records,
                                                const FoliageSettings& s) {
    std::vector<GrassChunk> out;
    const float side = float(s.blockSize) * s.scale;
    // Each record's block first, the bad ones counted; then the blocks in grid order.
    std::vector<std::vector<int>> blocks(FOLIAGE_GRID_BLOCKS * FOLIAGE_GRID_BLOCKS);
    int bad = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const FoliageRecord& r = records[i];
        if (r.layer >= FOLIAGE_LAYERS || !(side > 0.0f)) {
            ++bad;
            continue;
        }
        const float bx = r.x / side, bz = r.z / side;
        if (!(bx >= 0.0f && bz >= 0.0f && bx < float(FOLIAGE_GRID_BLOCKS) &&
              bz < float(FOLIAGE_GRID_BLOCKS))) {
            ++bad;
            continue;
        }
        if (!LayerUsable(s.layers[r.layer])) continue;
        blocks[size_t(int(bz) * FOLIAGE_GRID_BLOCKS + int(bx))].push_back(int(i));
    }
    if (bad) DbgPrintf(DBG_GENERAL, "Grass: %d foliage records skipped\n", bad);
    LogUnusable(s);
    for (const std::vector<int>& block : blocks) {
        if (block.empty()) continue;
        ChunkWriter w{&out, {}};
        for (int i : block) {
            const FoliageRecord& r = records[size_t(i)];
            const FoliageLayer& l = s.layers[r.layer];
            if (l.type == 1)
                Tuft(&w, l, s, r.x, r.z);
            else
                CrossedQuads(&w, l, s, r.x, r.z, false);
        }
        w.Close();
    }
    return out;
}

std::vector<uint8_t> FoliageCombineMaps(const FoliageLayer layers[FOLIAGE_LAYERS]) {
    const int n = FOLIAGE_MAP_SIZE;
    std::vector<uint8_t> map(size_t(n) * size_t(n), 0);
    for (int i = 0; i < FOLIAGE_MAP_LAYERS; ++i) {
        const char* name = layers[i].grassMapFile;
        if (!name[0] || name[0] == '!') continue;
        I3dImage* img = LoadMap(name);
        if (!img) continue;
        const int w = img->width < n ? img->width : n;
        const int h = img->height < n ? img->height : n;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (FoliageMapValue(img, x, y)) map[size_t(y) * size_t(n) + size_t(x)] |= 1 << i;
        ImgFree(img);
    }
    for (int y = 0; y < n / 2; ++y)
        std::swap_ranges(map.begin() + y * n, map.begin() + (y + 1) * n,
                         map.begin() + (n - 1 - y) * n);
    return map;
}

std::vector<GrassChunk> FoliageBuildFromMap(const std::vector<uint8_t>& map,
                                            const FoliageSettings& s) {
    std::vector<GrassChunk> out;
    const int n = FOLIAGE_MAP_SIZE;
    if (map.size() < size_t(n) * size_t(n)) return out;
    const int bs = s.blockSize >= 1 ? s.blockSize : 16;
    LogUnusable(s);
    for (int by = 0; by < n; by += bs) {
        for (int bx = 0; bx < n; bx += bs) {
            const int ey = by + bs < n ? by + bs : n, ex = bx + bs < n ? bx + bs : n;
            ChunkWriter w{&out, {}};
            for (int pz = by; pz < ey; ++pz) {
                for (int px = bx; px < ex; ++px) {
                    const uint8_t bits = map[size_t(pz) * size_t(n) + size_t(px)];
                    for (int i = 0; bits && i < FOLIAGE_MAP_LAYERS; ++i) {
                        const FoliageLayer& l = s.layers[i];
                        if (!(bits & (1 << i)) || !LayerUsable(l)) continue;
                        if (l.type == 1) {
                            const float x = float(px) * s.scale + RandFloat(s.scale);
                            const float z = float(pz) * s.scale + RandFloat(s.scale);
                            Tuft(&w, l, s, x, z);
                        } else {
                            CrossedQuads(&w, l, s, float(px), float(pz), true);
                        }
                    }
                }
            }
            w.Close();
        }
    }
    return out;
}
