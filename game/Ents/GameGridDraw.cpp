// The placement grid's debug overlay: flat quads at the grid height, tinted through the texture
// factor over the class's white texture.
#include "game/Ents/GameGrid.h"

#include "I3d/Camera.h"
#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/EntDrawWalk.h"
#include "game/Ents/GroundHeight.h"

#include <algorithm>
#include <cstdint>

namespace {
constexpr uint32_t kOutline = 0xAF00FF00u;
constexpr uint32_t kBlocked = 0xFFFF0000u;
constexpr uint32_t kCursor = 0xFF0000FFu;
constexpr uint32_t kFree = 0xFF00FF00u;
// The class's texture is a frame: alone it marks a cell with thin lines only, so marked cells
// get a see-through fill of their colour under the frame.
constexpr uint32_t kFillAlpha = 0x80000000u;

void States() {
    D3dSetFogEnable(0);
    D3dSetLighting(0);
    D3dSetAlphaBlend(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetZWrite(1);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetTexture(0, GameGridWhiteTexture());
    D3dSetTextureFactorStages();
}

// The quads are drawn in their own x, y plane; this lays that plane on the ground at `height`.
void Ground(float height) {
    const Mat4 plane = {{1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
                         0.0f, height, 0.0f, 1.0f}};
    I3dSetWorld(&plane);
}

// Marks drawn at the grid's one height sank under the ground wherever it rises above it and
// fought the flat ground for the same depth elsewhere, so that only slivers showed: each cell's
// marks lie a little above the ground at the cell's own middle.
constexpr float kLift = 0.12f;
// A footprint cell's fill stops short of its edges, so the cells read one by one.
constexpr float kInset = 0.15f;
// Show Grid draws the cells' lines this many cells round the cursor (every line of a large grid
// would cost thousands of quads a frame and read as a solid sheet from afar).
constexpr int kLinesReach = 16;
constexpr uint32_t kLines = 0xE0FFFFFFu;

float CellGround(GameGrid* grid, int cx, int cz) {
    float x, z;
    GameGridCellToWorld(grid, cx, cz, &x, &z);
    const VECTOR3 middle = {x + grid->tileWidth * 0.5f, grid->originY, z + grid->tileHeight * 0.5f};
    const float ground = grid->agl ? GameEntGroundHeight(grid, &middle) : grid->originY;
    return std::max(ground, grid->originY) + kLift;
}

// The stage draws the factor's colour alone (a fill) or the texture's frame in it.
void FillMode(bool fill) {
    const DWORD op = fill ? D3DTOP_SELECTARG2 : D3DTOP_MODULATE;
    D3dSetColorOp(0, op);
    D3dSetAlphaOp(0, op);
}

void Cell(GameGrid* grid, int cx, int cz, uint32_t colour, float inset = 0.0f) {
    float x, z;
    GameGridCellToWorld(grid, cx, cz, &x, &z);
    Ground(CellGround(grid, cx, cz));
    const float x0 = x + inset, z0 = z + inset;
    const float x1 = x + grid->tileWidth - inset, z1 = z + grid->tileHeight - inset;
    FillMode(true);
    D3dSetTextureFactor((colour & 0x00FFFFFFu) | kFillAlpha);
    I3dDrawQuad(x0, z0, x1, z1, 0.0f);
    FillMode(false);
    D3dSetTextureFactor(colour);
    I3dDrawQuad(x0, z0, x1, z1, 0.0f);
}

void Outline(const GameGrid* grid) {
    Ground(grid->originY + kLift);
    D3dSetTextureFactor(kOutline);
    I3dDrawQuadOutline(grid->extent[0], grid->extent[2], grid->extent[3], grid->extent[5], 0.0f);
}

// The lines of the cells round the cursor, each cell's at its own ground.
void Lines(GameGrid* grid) {
    const int x0 = std::max(grid->cursorX - kLinesReach, 0);
    const int z0 = std::max(grid->cursorZ - kLinesReach, 0);
    const int x1 = (int)std::min<int64_t>((int64_t)grid->cursorX + kLinesReach, grid->cols);
    const int z1 = (int)std::min<int64_t>((int64_t)grid->cursorZ + kLinesReach, grid->rows);
    // Lines in the factor's colour alone: the framed texture's thin border fades away where a
    // cell is drawn only a few dozen pixels wide.
    FillMode(true);
    D3dSetTextureFactor(kLines);
    for (int z = z0; z < z1; ++z)
        for (int x = x0; x < x1; ++x) {
            float wx, wz;
            GameGridCellToWorld(grid, x, z, &wx, &wz);
            Ground(CellGround(grid, x, z));
            I3dDrawQuadOutline(wx, wz, wx + grid->tileWidth, wz + grid->tileHeight, 0.0f);
        }
    FillMode(false);
}

void BlockedCells(GameGrid* grid) {
    if (!grid->cells) return;
    for (int z = 0; z < grid->rows; ++z)
        for (int x = 0; x < grid->cols; ++x)
            if (grid->cells[(size_t)z * grid->cols + x] < 0.0f) Cell(grid, x, z, kBlocked);
}

void Footprint(GameGrid* grid) {
    // Cells beyond the ring around the grid are not drawn: a stray size must not draw for ever.
    const int x0 = std::max(grid->cursorX, -1), z0 = std::max(grid->cursorZ, -1);
    const int x1 = (int)std::min<int64_t>((int64_t)grid->cursorX + grid->footWidth, grid->cols + 1);
    const int z1 =
        (int)std::min<int64_t>((int64_t)grid->cursorZ + grid->footHeight, grid->rows + 1);
    for (int z = z0; z < z1; ++z)
        for (int x = x0; x < x1; ++x) {
            const bool inside = x >= 0 && z >= 0 && x < grid->cols && z < grid->rows;
            Cell(grid, x, z, inside && !GameGridCellBlocked(grid, x, z) ? kFree : kBlocked, kInset);
        }
}
} // namespace

int GameGrid::DrawPre() {
    if (!cells) return 1;
    // The HUD's "Show Grid" and the footprint of a model being placed are the player's, not
    // debug drawing: they show whatever the class's debug flag says (the outline alone keeps
    // to it).
    const bool debug = (GetClassFlags() & ENT_CLASS_DRAW) != 0;
    if (!(showOutline && debug) && !showAll && !showFootprint) return 1;
    States();
    Ground(originY);
    if ((showOutline && debug) || showAll) Outline(this);
    if (showAll) {
        // "Show Grid" shows the cells, not only the grid's edge.
        Lines(this);
        BlockedCells(this);
        // While a model is placed its footprint shows where it goes; the cursor cell is then
        // only the corner of its ring.
        if (!showFootprint) Cell(this, cursorX, cursorZ, kCursor);
        Ground(picked.y + 0.1f);
        D3dSetTextureFactor(kCursor);
        I3dDrawQuad(picked.x - 0.5f, picked.z - 0.5f, picked.x + 0.5f, picked.z + 0.5f, 0.0f);
        Ground(originY);
    }
    if (showFootprint) Footprint(this);
    return 1;
}

int GameGrid::Draw() {
    if (!EntDebugDrawAllowed()) return 1; // the editor's pass only
    if (!(GetClassFlags() & ENT_CLASS_DRAW) || !cells) return 1;
    States();
    Ground(originY);
    Outline(this);
    BlockedCells(this);
    return 1;
}
