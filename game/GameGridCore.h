// The placement grid's cells and their arithmetic, apart from the entity that owns them: world
// points to cells and back, footprint tests and marks, blocked-cell reads, the mouse pick and
// the walking routes. The simulation and the placement screen use these without the entity's
// drawing.
#pragma once

#include "I3d/Math/MathTypes.h"

#include <cstdint>

class ENTBASE;
struct PathFinder;
struct WaypointPath;

// The pathfinder's limits: routes are cut to kGridPathPoints cells; grids of more than
// kGridNodes cells get a finder of their own size at the rebuild.
enum : int {
    kGridNodes = 22500,
    kGridPathPoints = 128,
    kGridOpenStart = 768,
    // No grid holds more cells than this: a bigger one is refused at the rebuild.
    kGridMaxCells = 1048576,
};

struct GameGridCore {
    // The origin: x and z of the low edge of cell (0, 0) and the grid height.
    float originX = 0.0f;
    float originY = 0.0f;
    float originZ = 0.0f;
    // The sizes in force: set only by an accepted resize, so the conversions never divide by a
    // refused tile size.
    float tileWidth = 2.0f;
    float tileHeight = 2.0f;
    int cols = 0;
    int rows = 0;
    float* cells = nullptr; // cols x rows, index z x cols + x; null before the first rebuild
    float extent[6] = {};   // min x, y, z then max x, y, z
    PathFinder* finder = nullptr;

    // Written by the placement screen.
    int cursorX = 9;
    int cursorZ = 9;
    int footWidth = 1;
    int footHeight = 1;
    uint8_t showFootprint = 0;
    uint8_t showOutline = 0;
    uint8_t showAll = 0;
    VECTOR3 picked = {0.0f, 0.0f, 0.0f};
};

// The grid entity's cells, found through its own class: null for any other entity.
GameGridCore* GameGridFrom(ENTBASE* entity);

// ---- life ----
// Makes the finder (22500 nodes); false when memory fails.
bool GameGridCoreInit(GameGridCore* grid);
void GameGridCoreFree(GameGridCore* grid);
// A new cell array of cols x rows, every cell 1.0, with these tile sizes. Refused (false, with
// one log line naming `who`, and the old array and sizes kept) for cols or rows below 1, more
// than kGridMaxCells cells, or a tile size that is not a positive finite number. A grid of more
// cells than the finder holds gets a finder of its size.
bool GameGridResize(GameGridCore* grid, int cols, int rows, float tileWidth, float tileHeight,
                    const char* who);

// ---- conversions ----
// Truncates toward zero, so up to one tile before the low edge is cell 0. The outputs are always
// written; a coordinate that is not a number, or whose cell is beyond int, gives -1. True when
// the cell lies in the grid.
bool GameGridWorldToCell(const GameGridCore* grid, float x, float z, int* cx, int* cz);
// The low corner of the cell; no range check.
void GameGridCellToWorld(const GameGridCore* grid, int cx, int cz, float* x, float* z);

// ---- cells ----
// Blocked: a cell of the grid whose value is not above 0. Outside the grid, or before the first
// rebuild, nothing is blocked.
bool GameGridCellBlocked(const GameGridCore* grid, int cx, int cz);
// The footprint at the cursor lies wholly inside and no cell of it is below 0. A width or height
// below 1 tests only the bounds.
bool GameGridRectFree(const GameGridCore* grid);
// Writes value to x0..x1, z0..z1 (inclusive), clamped to the grid; nothing when the clamped
// range is empty.
void GameGridMarkRect(GameGridCore* grid, int x0, int x1, int z0, int z1, float value);
// Cells below 0.
int GameGridBlockedCount(const GameGridCore* grid);

// ---- setters of the placement screen ----
void GameGridSetCursor(GameGridCore* grid, int cx, int cz);
void GameGridSetFootprint(GameGridCore* grid, int width, int height);
void GameGridShowFootprint(GameGridCore* grid, bool shown);

// ---- pick and routes ----
// The ray against the plane at the grid height. On a hit the point is kept as the last pick, the
// cell it falls in is written and the answer is true, inside the grid or not (the caller checks
// the cell). On a miss the pick becomes (0, 0, 0) and the answer is false.
bool GameGridPick(GameGridCore* grid, const VECTOR3* origin, const VECTOR3* direction, int* cx,
                  int* cz);
// Fills the route with cell centres at height 0 from the start cell on, at most 128 of them; the
// route's current index is left alone. When the path is longer, the route holds its first 128
// cells, is marked cut and keeps `to` as its goal: the walker routes again from its end. The
// number of points; 0 (empty route) when an end lies outside the grid; -1 (empty route) when the
// goal cannot be reached.
int GameGridRoute(GameGridCore* grid, WaypointPath* route, const VECTOR3* from, const VECTOR3* to);
// Routes asked of every grid since the program started (the simulation's benchmarks read it).
int64_t GameGridRouteCount();
