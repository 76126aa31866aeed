// The placement grid's class, lifecycle and rebuild.
#include "game/Ents/GameGrid.h"

#include "I3d/Math/Mat4Math.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GroundHeight.h"
#include "game/Placement.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

// ---- class ----

namespace {
int s_whiteTexture = -1;

void CmdStart(void* object) {
    static_cast<GameGrid*>(object)->Start();
}
void CmdRecalc(void* object) {
    static_cast<GameGrid*>(object)->VarsChanged();
}

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "GameGrid");
        PropDbAddSeparator(&s_db, "General:");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(GameGrid, name), 32);
        PropDbAddVector3Zero(&s_db, "pos", PROP_OFFSET(GameGrid, pos));
        PropDbAddBool(&s_db, "agl", PROP_OFFSET(GameGrid, agl), 1);
        PropDbAddSeparator(&s_db, "Dimensions:");
        PropDbAddInt(&s_db, "cols", PROP_OFFSET(GameGrid, gridCols), 128);
        PropDbAddInt(&s_db, "rows", PROP_OFFSET(GameGrid, gridRows), 128);
        PropDbAddFloat(&s_db, "tileWidth", PROP_OFFSET(GameGrid, gridTileWidth), 2.0f);
        PropDbAddFloat(&s_db, "tileHeight", PROP_OFFSET(GameGrid, gridTileHeight), 2.0f);
        PropDbAddCommand(&s_db, "Start", CmdStart);
        PropDbAddCommand(&s_db, "Recalc", CmdRecalc);
    }
    return &s_db;
}

const WorldClassDef kClass = {"GameGrid", Db, WorldMake<GameGrid>,
                              WorldClassFlags<GameGrid>::Reset};

// A cell index along one axis, clamped to a little beyond the grid (-2 .. n + 1) so that far or
// huge coordinates neither overflow nor wrap; false for a coordinate that is not a number.
bool ClampedCell(float coordinate, float origin, float tile, int n, int* out) {
    const double d = (double)((coordinate - origin) / tile);
    if (std::isnan(d)) return false;
    *out = (int)std::clamp(d, -2.0, (double)n + 1.0);
    return true;
}

void Mark(GameGrid* grid, int x0, int64_t x1, int z0, int64_t z1) {
    // The far ends come from data sizes: clamp before they meet int.
    GameGridMarkRect(grid, x0, (int)std::min<int64_t>(x1, grid->cols), z0,
                     (int)std::min<int64_t>(z1, grid->rows), -1.0f);
}

void MarkTree(GameGrid* grid, EntNode* node) {
    for (; node; node = node->next) {
        if (node->deleteCount == 0 && node->object) GameGridMarkEntity(grid, node->object);
        MarkTree(grid, node->firstChild);
    }
}
} // namespace

intptr_t EcGameGridProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
            // The overlay's texture: a white frame round a clear middle rather than all white, so
            // that neighbouring cells read apart. Without a device the class works without it.
            if (s_whiteTexture < 0) s_whiteTexture = TexMakeFramed(64, 64, 0xFFFFFF, 2, 0xFFFFFFFF);
            break;
        case ENT_CLASS_MSG_UNREGISTER: I3dTexForget(&s_whiteTexture); break;
        default: break;
    }
    return WorldClassProc(kClass, node, message, a, b, c);
}

int GameGridWhiteTexture() {
    return s_whiteTexture;
}

bool GameGridExtent(ENTBASE* entity, GridExtent* out) {
    if (!entity || !out || std::strcmp(entity->GetTypeName(), "GameGrid") != 0) return false;
    // The grid in force: its origin carries the ground height when it stands on terrain. A grid
    // not built yet (listed after the camera) has only the sizes it asks for.
    auto* grid = static_cast<GameGrid*>(entity);
    const bool built = grid->cells != nullptr;
    out->x0 = built ? grid->originX : grid->pos.x;
    out->y0 = built ? grid->originY : grid->pos.y;
    out->z0 = built ? grid->originZ : grid->pos.z;
    out->x1 = out->x0 + (built ? (float)grid->cols * grid->tileWidth
                               : (float)grid->gridCols * grid->gridTileWidth);
    out->z1 = out->z0 + (built ? (float)grid->rows * grid->tileHeight
                               : (float)grid->gridRows * grid->gridTileHeight);
    return true;
}

// ---- lifecycle ----

GameGrid::~GameGrid() {
    GameGridCoreFree(this);
}

int GameGrid::CopyClassName(char* buffer) {
    return WorldCopyClassName("GameGrid", buffer);
}

uint32_t GameGrid::GetClassFlags() {
    return WorldClassFlags<GameGrid>::word;
}

void GameGrid::SetClassFlags(uint32_t word) {
    WorldClassFlags<GameGrid>::word = word;
}

int GameGrid::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    agl = 1;
    cursorX = cursorZ = 9;
    footWidth = footHeight = 1;
    showFootprint = showOutline = showAll = 0;
    picked = VECTOR3{0.0f, 0.0f, 0.0f};
    if (!GameGridCoreInit(this)) DbgPrintf(DBG_GENERAL, "GameGrid: no memory for its pathfinder\n");
    return 1;
}

int GameGrid::Start() {
    Ent3dBase::Start();
    GameGridRebuild(this);
    return 1;
}

int GameGrid::Destroy() {
    // Walkers keep the grid in class-wide caches: they must hear that it goes.
    EntTreeNotifyRemoved(EntGetRoot(this), this);
    GameGridCoreFree(this);
    ENTBASE::Destroy();
    return 1;
}

int GameGrid::VarsChanged() {
    GameGridRebuild(this);
    return 1;
}

// ---- rebuild ----

bool GameGridRebuild(GameGrid* grid) {
    if (!std::isfinite(grid->pos.x) || !std::isfinite(grid->pos.y) || !std::isfinite(grid->pos.z)) {
        DbgPrintf(DBG_GENERAL, "GameGrid %s: pos is not a number; kept as it was\n", grid->name);
        return false;
    }
    if (!GameGridResize(grid, grid->gridCols, grid->gridRows, grid->gridTileWidth,
                        grid->gridTileHeight, grid->name))
        return false;

    VECTOR3 centre = {grid->pos.x + (float)grid->cols * grid->tileWidth * 0.5f, 0.0f,
                      grid->pos.z + (float)grid->rows * grid->tileHeight * 0.5f};
    const float ground = grid->agl ? GameEntGroundHeight(grid, &centre) : 0.0f;
    // "pos" keeps the height offset: writing the grid height into it would add the ground again
    // at every rebuild, and in every saved grid.
    const float height = ground + grid->pos.y;
    grid->originX = grid->pos.x;
    grid->originY = height;
    grid->originZ = grid->pos.z;
    Mat4Identity(&grid->matrix);
    grid->matrix.m[12] = grid->pos.x;
    grid->matrix.m[13] = height;
    grid->matrix.m[14] = grid->pos.z;
    grid->extent[0] = grid->pos.x;
    grid->extent[1] = height;
    grid->extent[2] = grid->pos.z;
    grid->extent[3] = grid->pos.x + (float)grid->cols * grid->tileWidth;
    grid->extent[4] = height + 0.1f;
    grid->extent[5] = grid->pos.z + (float)grid->rows * grid->tileHeight;

    if (ENTBASE* root = EntGetRoot(grid)) MarkTree(grid, root->node);
    return true;
}

void GameGridMarkEntity(GameGrid* grid, ENTBASE* entity) {
    if (!entity || entity == grid || (entity->flags & ENT_FLAG_PASSABLE)) return;
    if (strcasecmp(entity->GetTypeName(), "AttrBase") == 0) {
        auto* attr = dynamic_cast<AttrBase*>(entity);
        if (!attr || !attr->info) return;
        // Through the placement table, as placing and removal do: marking the footprint from the
        // position less the offsets alone would block the wrong cells of a turned attraction.
        const int turn = YawToQuarterTurn(attr->yaw);
        int width, depth;
        PlacementFootprint(attr->info, turn, &width, &depth);
        float ax, az;
        PlacementAnchor(attr->info, turn, grid->tileWidth, grid->tileHeight, attr->pos.x,
                        attr->pos.z, &ax, &az);
        int fx, fz;
        if (!std::isfinite(attr->pos.x) || !std::isfinite(attr->pos.z) ||
            !ClampedCell(ax + grid->tileWidth * 0.5f, grid->originX, grid->tileWidth, grid->cols,
                         &fx) ||
            !ClampedCell(az + grid->tileHeight * 0.5f, grid->originZ, grid->tileHeight, grid->rows,
                         &fz))
            return;
        Mark(grid, fx, (int64_t)fx + width - 1, fz, (int64_t)fz + depth - 1);
        return;
    }
    const float* box = entity->GetBounds();
    if (!box) return;
    for (int i = 0; i < 6; ++i)
        if (std::isnan(box[i])) return;
    if (box[0] > box[3] || box[2] > box[5]) return; // an inverted box covers nothing
    if (box[3] < grid->extent[0] || box[0] > grid->extent[3] || box[5] < grid->extent[2] ||
        box[2] > grid->extent[5])
        return;
    int x0, x1, z0, z1;
    ClampedCell(box[0], grid->originX, grid->tileWidth, grid->cols, &x0);
    ClampedCell(box[3], grid->originX, grid->tileWidth, grid->cols, &x1);
    ClampedCell(box[2], grid->originZ, grid->tileHeight, grid->rows, &z0);
    ClampedCell(box[5], grid->originZ, grid->tileHeight, grid->rows, &z1);
    Mark(grid, x0, x1, z0, z1);
}
