// The terrain grid: samples, triangle planes, bounds, patch records and the height query.
#include "world/TerrainObj.h"

#include "world/TerrainDraw.h"

#include <cmath>
#include <new>

namespace {

// Where a world point falls: its cell, its place inside it and which of the cell's two
// triangles holds it. False outside the grid; the comparisons are written so that a NaN or an
// infinity fails them before anything is truncated.
struct CellPoint {
    int ix, iz;
    float fx, fz;
    bool equalParity; // diagonal (ix, iz)-(ix + 1, iz + 1); else (ix + 1, iz)-(ix, iz + 1)
    int triangle;     // 0 first, 1 second
};

bool Locate(const TerrainObj* t, float x, float z, CellPoint* p) {
    if (!(x >= 0.0f) || !(z >= 0.0f)) return false;
    const float cx = x * t->invCellWidth;
    const float cz = z * t->invCellDepth;
    if (!(cx < float(t->cellsX)) || !(cz < float(t->cellsZ))) return false;
    p->ix = int(cx);
    p->iz = int(cz);
    if (p->ix >= t->cellsX || p->iz >= t->cellsZ) return false;
    p->fx = cx - float(p->ix);
    p->fz = cz - float(p->iz);
    p->equalParity = ((p->ix ^ p->iz) & 1) == 0;
    if (p->equalParity)
        p->triangle = p->fx <= p->fz ? 0 : 1;
    else
        p->triangle = p->fx < 1.0f - p->fz ? 0 : 1;
    return true;
}

float Sample(const TerrainObj* t, int x, int z) {
    return t->heights[size_t(z) * size_t(t->sampleCols) + size_t(x)];
}

// The plane through `corner` (grid units) whose height rises by dx per cell along x and dz
// along z.
TerrainPlane PlaneOf(float dx, float dz, float cornerX, float cornerY, float cornerZ) {
    const float len = std::sqrt(dx * dx + 1.0f + dz * dz);
    TerrainPlane p = {-dx / len, 1.0f / len, -dz / len, 0.0f};
    p.d = -(p.nx * cornerX + p.ny * cornerY + p.nz * cornerZ);
    return p;
}

void DerivePlanes(TerrainObj* t) {
    for (int z = 0; z < t->cellsZ; ++z) {
        for (int x = 0; x < t->cellsX; ++x) {
            const float h00 = Sample(t, x, z), h10 = Sample(t, x + 1, z);
            const float h01 = Sample(t, x, z + 1), h11 = Sample(t, x + 1, z + 1);
            const float fx = float(x), fz = float(z);
            TerrainPlane* out = t->planes + 2 * (size_t(z) * size_t(t->cellsX) + size_t(x));
            if (((x ^ z) & 1) == 0) {
                out[0] = PlaneOf(h11 - h01, h01 - h00, fx, h00, fz);
                out[1] = PlaneOf(h10 - h00, h11 - h10, fx, h00, fz);
            } else {
                out[0] = PlaneOf(h10 - h00, h01 - h00, fx, h00, fz);
                out[1] = PlaneOf(h11 - h01, h11 - h10, fx + 1.0f, h11, fz + 1.0f);
            }
        }
    }
}

void DeriveBounds(TerrainObj* t) {
    const int p = t->patchSize;
    for (int i = 0; i < t->patchesX * t->patchesZ; ++i) {
        TerrainPatch& patch = t->patches[i];
        const int x0 = patch.px * p, z0 = patch.pz * p;
        float lo = Sample(t, x0, z0), hi = lo;
        for (int z = z0; z <= z0 + p; ++z) {
            for (int x = x0; x <= x0 + p; ++x) {
                const float h = Sample(t, x, z);
                lo = h < lo ? h : lo;
                hi = h > hi ? h : hi;
            }
        }
        patch.lowest = lo;
        patch.highest = hi;
    }
    // Over all samples rather than the patches: a grid that is not a whole number of patches
    // has samples no patch covers.
    const size_t count = size_t(t->sampleCols) * size_t(t->sampleRows);
    t->lowest = t->highest = t->heights[0];
    for (size_t i = 1; i < count; ++i) {
        t->lowest = t->heights[i] < t->lowest ? t->heights[i] : t->lowest;
        t->highest = t->heights[i] > t->highest ? t->heights[i] : t->highest;
    }
}

void LinkPatches(TerrainObj* t) {
    for (int pz = 0; pz < t->patchesZ; ++pz) {
        for (int px = 0; px < t->patchesX; ++px) {
            TerrainPatch& patch = t->patches[pz * t->patchesX + px];
            patch.px = px;
            patch.pz = pz;
            auto at = [t](int x, int z) -> TerrainPatch* {
                if (x < 0 || z < 0 || x >= t->patchesX || z >= t->patchesZ) return nullptr;
                return &t->patches[z * t->patchesX + x];
            };
            patch.neighbour[0] = at(px, pz + 1);
            patch.neighbour[1] = at(px, pz - 1);
            patch.neighbour[2] = at(px + 1, pz);
            patch.neighbour[3] = at(px - 1, pz);
        }
    }
}

} // namespace

// ---- life ----

TerrainObj* TerrainCreate(int cellsX, int cellsZ) {
    if (cellsX < 1 || cellsZ < 1 || cellsX > 4096 || cellsZ > 4096) return nullptr;
    auto* t = new (std::nothrow) TerrainObj;
    if (!t) return nullptr;
    t->cellsX = cellsX;
    t->cellsZ = cellsZ;
    t->sampleCols = cellsX + 1;
    t->sampleRows = cellsZ + 1;
    t->patchesX = cellsX / t->patchSize;
    t->patchesZ = cellsZ / t->patchSize;
    const size_t samples = size_t(t->sampleCols) * size_t(t->sampleRows);
    t->heights = new (std::nothrow) float[samples]();
    t->planes = new (std::nothrow) TerrainPlane[2 * size_t(cellsX) * size_t(cellsZ)];
    t->patches = new (std::nothrow) TerrainPatch[size_t(t->patchesX) * size_t(t->patchesZ)];
    if (!t->heights || !t->planes || !t->patches) {
        TerrainFree(t);
        return nullptr;
    }
    LinkPatches(t);
    TerrainDerive(t);
    return t;
}

void TerrainFree(TerrainObj* t) {
    if (!t) return;
    TerrainDrawFree(t);
    delete[] t->patches;
    delete[] t->planes;
    delete[] t->heights;
    delete t;
}

void TerrainFill(TerrainObj* t, float height) {
    const size_t count = size_t(t->sampleCols) * size_t(t->sampleRows);
    for (size_t i = 0; i < count; ++i)
        t->heights[i] = height;
    TerrainDerive(t);
}

void TerrainDerive(TerrainObj* t) {
    DerivePlanes(t);
    DeriveBounds(t);
}

void TerrainSetScale(TerrainObj* t, float scale) {
    t->cellWidth = t->heightUnit = t->cellDepth = scale;
    t->invCellWidth = t->invHeightUnit = t->invCellDepth = 1.0f / scale;
}

// ---- queries ----

float TerrainHeightAt(const TerrainObj* t, float x, float z) {
    CellPoint p;
    if (!t || !Locate(t, x, z, &p)) return 0.0f;
    const float h00 = Sample(t, p.ix, p.iz), h10 = Sample(t, p.ix + 1, p.iz);
    const float h01 = Sample(t, p.ix, p.iz + 1), h11 = Sample(t, p.ix + 1, p.iz + 1);
    float h;
    if (p.equalParity) {
        h = p.triangle == 0 ? h00 + p.fz * (h01 - h00) + p.fx * (h11 - h01)
                            : h00 + p.fx * (h10 - h00) + p.fz * (h11 - h10);
    } else {
        h = p.triangle == 0 ? h00 + p.fx * (h10 - h00) + p.fz * (h01 - h00)
                            : h11 + (1.0f - p.fx) * (h01 - h11) + (1.0f - p.fz) * (h10 - h11);
    }
    return h * t->heightUnit;
}

int TerrainNormalAt(const TerrainObj* t, float x, float z, VECTOR3* out) {
    CellPoint p;
    if (!t || !Locate(t, x, z, &p)) {
        *out = VECTOR3{0.0f, 1.0f, 0.0f};
        return 0;
    }
    const TerrainPlane& plane =
        t->planes[2 * (size_t(p.iz) * size_t(t->cellsX) + size_t(p.ix)) + size_t(p.triangle)];
    *out = VECTOR3{plane.nx, plane.ny, plane.nz};
    return 1;
}
