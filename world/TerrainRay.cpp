// The terrain's two ray tests: a segment and a ray against the triangles of the grid, walking
// the cells the line's x-z projection crosses.
#include "world/TerrainDraw.h"
#include "world/TerrainObj.h"

#include <cmath>

namespace {

struct Line {
    float ox, oy, oz; // grid units
    float dx, dy, dz;
};

// Both planes of cell (cx, cz); the first hit's world point goes to *hit.
bool CellTest(const TerrainObj* t, int cx, int cz, const Line& l, VECTOR3* hit) {
    const TerrainPlane* pl = t->planes + 2 * (size_t(cz) * size_t(t->cellsX) + size_t(cx));
    const bool equal = ((cx + cz) & 1) == 0;
    for (int i = 0; i < 2; ++i) {
        const TerrainPlane& p = pl[i];
        const float nd = p.nx * l.dx + p.ny * l.dy + p.nz * l.dz;
        if (!(nd < 0.0f)) continue;
        const float no = p.nx * l.ox + p.ny * l.oy + p.nz * l.oz + p.d;
        const float s = -no / nd;
        // The line's crossing behind the start (a start under the ground) is no hit.
        if (!(s >= -1e-4f)) continue;
        const float qx = l.ox + s * l.dx, qy = l.oy + s * l.dy, qz = l.oz + s * l.dz;
        const float fx = qx - float(cx), fz = qz - float(cz);
        bool inside;
        if (i == 0)
            inside = equal ? (fx >= 0.0f && fz < 1.0f && fx < fz)
                           : (fx >= 0.0f && fz >= 0.0f && fz <= 1.0f - fx);
        else
            inside = equal ? (fx <= 1.0f && fz >= 0.0f && fz <= fx)
                           : (fx <= 1.0f && fz <= 1.0f && 1.0f - fx <= fz);
        if (!inside) continue;
        if (hit) *hit = {qx * t->cellWidth, qy * t->heightUnit, qz * t->cellDepth};
        return true;
    }
    return false;
}

bool InGrid(const TerrainObj* t, int cx, int cz) {
    return cx >= 0 && cz >= 0 && cx < t->cellsX && cz < t->cellsZ;
}

// A float coordinate to a cell index when it lies in 0 .. limit (exclusive); false otherwise,
// and for NaN, before anything is converted.
bool CellOf(float v, int limit, int* out) {
    if (!(v >= 0.0f) || !(v < float(limit))) return false;
    *out = int(v);
    if (*out >= limit) *out = limit - 1;
    return true;
}

// From the start cell, along the dominant axis, until a hit, the grid's edge or (with an end)
// past the end's row or column (`endX`, `endZ` in grid units, only with `hasEnd`).
int Walk(const TerrainObj* t, const Line& l, bool hasEnd, float endX, float endZ, VECTOR3* hit) {
    // cz < 0 or cz > cellsZ (truncated) gives -1, cx the same gives -2; the range is tested as
    // floats so that huge or NaN coordinates never reach a conversion.
    if (!(l.oz > -1.0f) || !(l.oz < float(t->cellsZ) + 1.0f)) return -1;
    if (!(l.ox > -1.0f) || !(l.ox < float(t->cellsX) + 1.0f)) return -2;
    int cx = int(l.ox), cz = int(l.oz);
    // A start exactly on the far edge belongs to the last cell: its samples end there.
    if (cx == t->cellsX) cx = t->cellsX - 1;
    if (cz == t->cellsZ) cz = t->cellsZ - 1;
    if (CellTest(t, cx, cz, l, hit)) return 1;

    const float ax = std::fabs(l.dx), az = std::fabs(l.dz);
    const float len = std::sqrt(l.dx * l.dx + l.dy * l.dy + l.dz * l.dz);
    // Straight up or down, or no direction at all: the line never leaves its cell.
    if (!(len > 0.0f) || !(std::sqrt(l.dx * l.dx + l.dz * l.dz) >= 1e-6f * len)) return 0;

    const bool alongZ = az >= ax;
    // The walk in terms of a row axis (the dominant one) and a column axis.
    const float oRow = alongZ ? l.oz : l.ox, oCol = alongZ ? l.ox : l.oz;
    const float dRow = alongZ ? l.dz : l.dx, dCol = alongZ ? l.dx : l.dz;
    const int rows = alongZ ? t->cellsZ : t->cellsX, cols = alongZ ? t->cellsX : t->cellsZ;
    const int step = dRow > 0.0f ? 1 : -1;
    int row = alongZ ? cz : cx, col = alongZ ? cx : cz;
    const float endRowF = alongZ ? endZ : endX;
    auto cell = [&](int r, int c) {
        const int x = alongZ ? c : r, z = alongZ ? r : c;
        return InGrid(t, x, z) && CellTest(t, x, z, l, hit);
    };
    auto pastEnd = [&](int r) {
        if (!hasEnd) return false;
        return step > 0 ? !(float(r) <= endRowF) : !(float(r) + 1.0f > endRowF);
    };
    for (int n = 0; n <= rows; ++n) {
        if (pastEnd(row)) return 0;
        const int next = row + step;
        if (next < 0 || next >= rows || pastEnd(next)) return 0;
        const float boundary = float(step > 0 ? next : row);
        const float c = oCol + dCol * ((boundary - oRow) / dRow);
        int newCol;
        if (!CellOf(c, cols, &newCol)) return 0;
        if (newCol != col && cell(row, newCol)) return 1;
        if (cell(next, newCol)) return 1;
        row = next;
        col = newCol;
    }
    return 0;
}

Line ToGrid(const TerrainObj* t, const VECTOR3* o, float dx, float dy, float dz) {
    return {o->x * t->invCellWidth, o->y * t->invHeightUnit, o->z * t->invCellDepth,
            dx * t->invCellWidth,   dy * t->invHeightUnit,   dz * t->invCellDepth};
}

} // namespace

int TerrainSegmentTest(const TerrainObj* t, const VECTOR3* start, const VECTOR3* end,
                       VECTOR3* hit) {
    if (!t || !start || !end || !t->planes) return 0;
    float dx = end->x - start->x, dy = end->y - start->y, dz = end->z - start->z;
    const float len = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (len > 0.0f && std::isfinite(len)) {
        dx /= len;
        dy /= len;
        dz /= len;
    } else {
        dx = dy = dz = 0.0f;
    }
    const Line l = ToGrid(t, start, dx, dy, dz);
    return Walk(t, l, true, end->x * t->invCellWidth, end->z * t->invCellDepth, hit);
}

int TerrainRayTest(const TerrainObj* t, const VECTOR3* origin, const VECTOR3* direction,
                   VECTOR3* hit) {
    if (!t || !origin || !direction || !t->planes) return 0;
    Line l = ToGrid(t, origin, direction->x, direction->y, direction->z);
    const double o[3] = {l.ox, l.oy, l.oz}, d[3] = {l.dx, l.dy, l.dz};
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(o[i]) || !std::isfinite(d[i])) return 0;
    // Clip onto the terrain's box: the point where the ray enters it, or the origin when it
    // starts inside. A ray that never meets the box misses.
    const double lo[3] = {0.0, t->lowest, 0.0};
    const double hi[3] = {double(t->cellsX), t->highest, double(t->cellsZ)};
    double enter = 0.0, leave = INFINITY;
    for (int i = 0; i < 3; ++i) {
        if (d[i] == 0.0) {
            if (o[i] < lo[i] || o[i] > hi[i]) return 0;
            continue;
        }
        double a = (lo[i] - o[i]) / d[i], b = (hi[i] - o[i]) / d[i];
        if (a > b) std::swap(a, b);
        enter = a > enter ? a : enter;
        leave = b < leave ? b : leave;
    }
    if (enter > leave) return 0;
    double p[3];
    for (int i = 0; i < 3; ++i) {
        p[i] = o[i] + d[i] * enter;
        // Rounding may leave the entry point a hair outside the bound it was moved onto.
        p[i] = p[i] < lo[i] ? lo[i] : (p[i] > hi[i] ? hi[i] : p[i]);
    }
    l.ox = float(p[0]);
    l.oy = float(p[1]);
    l.oz = float(p[2]);
    return Walk(t, l, false, 0.0f, 0.0f, hit);
}
