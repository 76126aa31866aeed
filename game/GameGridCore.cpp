// The placement grid's cell arithmetic: conversions, footprints, marks, the pick and routes.
#include "game/GameGridCore.h"

#include "PathFind/PathFinder.h"
#include "engine/DebugLog.h"
#include "engine/EntBase.h"
#include "engine/Memory.h"
#include "game/WaypointPath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
// A cell index from a world offset, or -1 when the quotient is not a number or beyond int.
int CellOf(float offset, float tile) {
    const double d = (double)(offset / tile);
    if (!std::isfinite(d) || d <= -2147483648.0 || d >= 2147483648.0) return -1;
    return (int)d; // truncation toward zero
}

bool Inside(const GameGridCore* grid, int cx, int cz) {
    return cx >= 0 && cz >= 0 && cx < grid->cols && cz < grid->rows;
}
} // namespace

GameGridCore* GameGridFrom(ENTBASE* entity) {
    return dynamic_cast<GameGridCore*>(entity);
}

// ---- life ----

bool GameGridCoreInit(GameGridCore* grid) {
    if (!grid->finder) grid->finder = PathFindCreate(kGridNodes, kGridPathPoints, kGridOpenStart);
    return grid->finder != nullptr;
}

void GameGridCoreFree(GameGridCore* grid) {
    PathFindDestroy(grid->finder);
    grid->finder = nullptr;
    MemFree(grid->cells);
    grid->cells = nullptr;
}

bool GameGridResize(GameGridCore* grid, int cols, int rows, float tileWidth, float tileHeight,
                    const char* who) {
    const int64_t count = (int64_t)cols * rows;
    const char* why = nullptr;
    if (cols < 1 || rows < 1)
        why = "cols and rows must be at least 1";
    else if (count > kGridMaxCells)
        why = "more cells than a grid may hold";
    else if (!(tileWidth > 0.0f) || !(tileHeight > 0.0f) || !std::isfinite(tileWidth) ||
             !std::isfinite(tileHeight))
        why = "the tile size must be a positive number";
    float* cells = nullptr;
    if (!why) {
        cells = static_cast<float*>(MemAlloc(sizeof(float) * (size_t)count));
        if (!cells) why = "no memory for the cells";
    }
    if (!why && (!grid->finder || grid->finder->nodeCapacity < count)) {
        // The finder's nodes cover the whole map; a bigger grid gets a finder of its size.
        PathFinder* bigger = PathFindCreate((int)std::max<int64_t>(count, kGridNodes),
                                            kGridPathPoints, kGridOpenStart);
        if (bigger) {
            PathFindDestroy(grid->finder);
            grid->finder = bigger;
        } else {
            why = "no memory for the pathfinder";
        }
    }
    if (why) {
        MemFree(cells);
        DbgPrintf(DBG_GENERAL,
                  "GameGrid %s: %i x %i cells of %g x %g refused (%s); kept as it was\n",
                  who ? who : "", cols, rows, (double)tileWidth, (double)tileHeight, why);
        return false;
    }
    std::fill(cells, cells + count, 1.0f);
    MemFree(grid->cells);
    grid->cells = cells;
    grid->cols = cols;
    grid->rows = rows;
    grid->tileWidth = tileWidth;
    grid->tileHeight = tileHeight;
    PathFindMapChanged(grid->finder);
    return true;
}

// ---- conversions ----

bool GameGridWorldToCell(const GameGridCore* grid, float x, float z, int* cx, int* cz) {
    const int outX = CellOf(x - grid->originX, grid->tileWidth);
    const int outZ = CellOf(z - grid->originZ, grid->tileHeight);
    if (cx) *cx = outX;
    if (cz) *cz = outZ;
    return Inside(grid, outX, outZ);
}

void GameGridCellToWorld(const GameGridCore* grid, int cx, int cz, float* x, float* z) {
    if (x) *x = (float)cx * grid->tileWidth + grid->originX;
    if (z) *z = (float)cz * grid->tileHeight + grid->originZ;
}

// ---- cells ----

bool GameGridCellBlocked(const GameGridCore* grid, int cx, int cz) {
    if (!grid || !grid->cells || !Inside(grid, cx, cz)) return false;
    return !(grid->cells[(size_t)cz * grid->cols + cx] > 0.0f);
}

bool GameGridRectFree(const GameGridCore* grid) {
    const int64_t x0 = grid->cursorX, z0 = grid->cursorZ;
    if (x0 < 0 || z0 < 0 || x0 + grid->footWidth > grid->cols || z0 + grid->footHeight > grid->rows)
        return false;
    if (!grid->cells) return true;
    for (int64_t z = z0; z < z0 + grid->footHeight; ++z)
        for (int64_t x = x0; x < x0 + grid->footWidth; ++x)
            if (grid->cells[z * grid->cols + x] < 0.0f) return false;
    return true;
}

void GameGridMarkRect(GameGridCore* grid, int x0, int x1, int z0, int z1, float value) {
    if (!grid->cells) return;
    x0 = std::max(x0, 0);
    z0 = std::max(z0, 0);
    x1 = std::min(x1, grid->cols - 1);
    z1 = std::min(z1, grid->rows - 1);
    if (x0 > x1 || z0 > z1) return;
    for (int z = z0; z <= z1; ++z)
        std::fill(grid->cells + (size_t)z * grid->cols + x0,
                  grid->cells + (size_t)z * grid->cols + x1 + 1, value);
    // The finder labels the map's regions again before its next route.
    PathFindMapChanged(grid->finder);
}

int GameGridBlockedCount(const GameGridCore* grid) {
    if (!grid->cells) return 0;
    const size_t count = (size_t)grid->cols * grid->rows;
    return (int)std::count_if(grid->cells, grid->cells + count, [](float v) { return v < 0.0f; });
}

// ---- setters ----

void GameGridSetCursor(GameGridCore* grid, int cx, int cz) {
    grid->cursorX = cx;
    grid->cursorZ = cz;
}

void GameGridSetFootprint(GameGridCore* grid, int width, int height) {
    grid->footWidth = width;
    grid->footHeight = height;
}

void GameGridShowFootprint(GameGridCore* grid, bool shown) {
    grid->showFootprint = shown ? 1 : 0;
}

// ---- pick and routes ----

bool GameGridPick(GameGridCore* grid, const VECTOR3* origin, const VECTOR3* direction, int* cx,
                  int* cz) {
    const float t = direction->y != 0.0f ? (grid->originY - origin->y) / direction->y : -1.0f;
    if (!std::isfinite(t) || t < 0.0f) {
        grid->picked = VECTOR3{0.0f, 0.0f, 0.0f};
        return false;
    }
    grid->picked =
        VECTOR3{origin->x + direction->x * t, grid->originY, origin->z + direction->z * t};
    if (!std::isfinite(grid->picked.x) || !std::isfinite(grid->picked.z)) {
        grid->picked = VECTOR3{0.0f, 0.0f, 0.0f}; // a ray that is not a number hits nothing
        return false;
    }
    GameGridWorldToCell(grid, grid->picked.x, grid->picked.z, cx, cz);
    return true;
}

namespace {
int64_t s_routes = 0;
} // namespace

int64_t GameGridRouteCount() {
    return s_routes;
}

int GameGridRoute(GameGridCore* grid, WaypointPath* route, const VECTOR3* from, const VECTOR3* to) {
    ++s_routes;
    if (!route) return 0;
    route->count = 0;
    route->cut = false;
    int sx, sz, gx, gz;
    const bool startIn = GameGridWorldToCell(grid, from->x, from->z, &sx, &sz);
    const bool goalIn = GameGridWorldToCell(grid, to->x, to->z, &gx, &gz);
    if (!startIn || !goalIn || !grid->cells) return 0;

    int out[kGridPathPoints];
    int found = PathFindFind(grid->finder, grid->cells, grid->cols, grid->rows, sx, sz, gx, gz, out,
                             kGridPathPoints, true);
    if (found > kGridPathPoints) found = kGridPathPoints;
    if (found < 1) return found < 0 ? -1 : 0;
    route->goal = *to;
    route->cut = PathFindFullLength(grid->finder) > found;
    for (int i = 0; i < found; ++i) {
        const int cellX = out[i] % grid->cols;
        const int cellZ = out[i] / grid->cols;
        if (!WaypointPathAppend(
                route, (float)cellX * grid->tileWidth + grid->originX + grid->tileWidth * 0.5f,
                (float)cellZ * grid->tileHeight + grid->originZ + grid->tileHeight * 0.5f))
            break;
    }
    // A route too small for the path is cut as well.
    if (route->count < found) route->cut = true;
    return found;
}
