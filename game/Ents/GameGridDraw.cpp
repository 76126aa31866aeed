// The placement grid's debug overlay: flat quads at the grid height, tinted through the texture
// factor over the class's white texture.
#include "game/Ents/GameGrid.h"

#include "I3d/Camera.h"
#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/EntDrawWalk.h"

#include <algorithm>
#include <cstdint>

namespace {
constexpr uint32_t kOutline = 0xAF00FF00u;
constexpr uint32_t kBlocked = 0xFFFF0000u;
constexpr uint32_t kCursor = 0xFF0000FFu;
constexpr uint32_t kFree = 0xFF00FF00u;

void States() {
    D3dSetFogEnable(0);
    D3dSetLighting(0);
    D3dSetAlphaBlend(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetZWrite(1);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetTexture(0, GameGridWhiteTexture());
    D3dSetColorOp(0, D3DTOP_MODULATE);
    D3dSetColorArg1(0, D3DTA_TEXTURE);
    D3dSetColorArg2(0, D3DTA_TFACTOR);
    D3dSetAlphaOp(0, D3DTOP_MODULATE);
    D3dSetAlphaArg1(0, D3DTA_TEXTURE);
    D3dSetAlphaArg2(0, D3DTA_TFACTOR);
    D3dSetColorOp(1, D3DTOP_DISABLE);
    D3dSetAlphaOp(1, D3DTOP_DISABLE);
}

// The quads are drawn in their own x, y plane; this lays that plane on the ground at `height`.
void Ground(float height) {
    const Mat4 plane = {{1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
                         0.0f, height, 0.0f, 1.0f}};
    I3dSetWorld(&plane);
}

void Cell(const GameGrid* grid, int cx, int cz, uint32_t colour) {
    float x, z;
    GameGridCellToWorld(grid, cx, cz, &x, &z);
    D3dSetTextureFactor(colour);
    I3dDrawQuad(x, z, x + grid->tileWidth, z + grid->tileHeight, 0.0f);
}

void Outline(const GameGrid* grid) {
    D3dSetTextureFactor(kOutline);
    I3dDrawQuadOutline(grid->extent[0], grid->extent[2], grid->extent[3], grid->extent[5], 0.0f);
}

void BlockedCells(const GameGrid* grid) {
    if (!grid->cells) return;
    for (int z = 0; z < grid->rows; ++z)
        for (int x = 0; x < grid->cols; ++x)
            if (grid->cells[(size_t)z * grid->cols + x] < 0.0f) Cell(grid, x, z, kBlocked);
}

void Footprint(const GameGrid* grid) {
    // Cells beyond the ring around the grid are not drawn: a stray size must not draw for ever.
    const int x0 = std::max(grid->cursorX, -1), z0 = std::max(grid->cursorZ, -1);
    const int x1 = (int)std::min<int64_t>((int64_t)grid->cursorX + grid->footWidth, grid->cols + 1);
    const int z1 =
        (int)std::min<int64_t>((int64_t)grid->cursorZ + grid->footHeight, grid->rows + 1);
    for (int z = z0; z < z1; ++z)
        for (int x = x0; x < x1; ++x) {
            const bool inside = x >= 0 && z >= 0 && x < grid->cols && z < grid->rows;
            Cell(grid, x, z, inside && !GameGridCellBlocked(grid, x, z) ? kFree : kBlocked);
        }
}
} // namespace

int GameGrid::DrawPre() {
    if (!(GetClassFlags() & GAMEGRID_CLASS_DRAW) || !cells) return 1;
    if (!showOutline && !showAll && !showFootprint) return 1;
    States();
    Ground(originY);
    if (showOutline || showAll) Outline(this);
    if (showAll) {
        BlockedCells(this);
        Cell(this, cursorX, cursorZ, kCursor);
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
    if (!(GetClassFlags() & GAMEGRID_CLASS_DRAW) || !cells) return 1;
    States();
    Ground(originY);
    Outline(this);
    BlockedCells(this);
    return 1;
}
