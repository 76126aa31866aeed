// The terrain entity: its table, the build of its terrain object, its physics object and its
// messages.
#include "world/Terrain2.h"

#include "I3d/PassLists.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/System.h"
#include "world/Physics.h"
#include "world/TerrainDraw.h"
#include "world/TerrainObj.h"

#include <cmath>
#include <cstdio>
#include <cstring>

// ---- class ----

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "Terrain2");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(Terrain2, name), 32);
        PropDbAddBool(db, "draw", PROP_OFFSET(Terrain2, draw), 1);
        PropDbAddBool(db, "fullAmbient", PROP_OFFSET(Terrain2, fullAmbient), 0);
        PropDbAddFloat(db, "detailControl", PROP_OFFSET(Terrain2, detailControl), 48.0f);
        PropDbAddBool(db, "drawDetailMap", PROP_OFFSET(Terrain2, drawDetailMap), 0);
        PropDbAddFloat(db, "detailUTile", PROP_OFFSET(Terrain2, detailUTile), 16.0f);
        PropDbAddFloat(db, "detailVTile", PROP_OFFSET(Terrain2, detailVTile), 16.0f);
        PropDbAddFloat(db, "detailDist", PROP_OFFSET(Terrain2, detailDist), 100.0f);
        PropDbAddFloat(db, "scale", PROP_OFFSET(Terrain2, scale), 1.0f);
        PropDbAddFloat(db, "elvScale", PROP_OFFSET(Terrain2, elvScale), 1.0f);
        PropDbAddFloat(db, "farCull", PROP_OFFSET(Terrain2, farCull), 4000.0f);
        PropDbAddStringBlank(db, "mapName", PROP_OFFSET(Terrain2, mapName), 260);
        PropDbAddStringBlank(db, "baseTexName", PROP_OFFSET(Terrain2, baseTexName), 260);
        PropDbAddStringBlank(db, "detailTexName", PROP_OFFSET(Terrain2, detailTexName), 260);
        PropDbAddStringBlank(db, "terrainTexPath", PROP_OFFSET(Terrain2, terrainTexPath), 260);
        PropDbAddInt(db, "tileWidth", PROP_OFFSET(Terrain2, tileWidth), 512);
        PropDbAddInt(db, "tileHeight", PROP_OFFSET(Terrain2, tileHeight), 512);
        PropDbAddInt(db, "test", PROP_OFFSET(Terrain2, test), 0);
    }
    return &s_db;
}

const WorldClassDef kClass = {"Terrain2", Db, WorldMake<Terrain2>,
                              WorldClassFlags<Terrain2>::Reset};

float FloatBits(intptr_t word) {
    uint32_t bits = (uint32_t)(uintptr_t)word;
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// A grid side outside 1..4096 would size the samples wrongly (or negatively): 512 instead.
int32_t CheckedSide(const char* key, int32_t cells) {
    if (cells < 1 || cells > 4096) {
        DbgPrintf(1, "Terrain2: %s %i is outside 1..4096, 512 used\n", key, cells);
        return 512;
    }
    if (cells % TERRAIN_PATCH_CELLS != 0)
        DbgPrintf(1, "Terrain2: %s %i is not a multiple of 32: its last cells are not drawn\n", key,
                  cells);
    return cells;
}
} // namespace

intptr_t EcTerrain2Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int Terrain2::CopyClassName(char* buffer) {
    return WorldCopyClassName("Terrain2", buffer);
}

// ---- life ----

int Terrain2::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    draw = 1;
    fullAmbient = 1;
    detailControl = 48.0f;
    detailUTile = 16.0f;
    detailVTile = 16.0f;
    detailDist = 56.0f;
    scale = 1.0f;
    farCull = 4000.0f;
    test = 0;
    SetFlag(ENT_FLAG_PASSABLE);
    return 0;
}

int Terrain2::LoadVars(const char* path, int* outFlag) {
    Ent3dBase::LoadVars(path, outFlag);
    if (!terrain) BuildTerrain();
    return 1;
}

int Terrain2::Start() {
    // A terrain made by a script is started without a load.
    if (!terrain) BuildTerrain();
    VarsChanged();
    return 0;
}

void Terrain2::BuildTerrain() {
    tileWidth = CheckedSide("tileWidth", tileWidth);
    tileHeight = CheckedSide("tileHeight", tileHeight);
    terrain = TerrainCreate(tileWidth, tileHeight);
    if (!terrain) {
        DbgPrintf(1, "Terrain2: no memory for %ix%i cells\n", tileWidth, tileHeight);
        return;
    }
    // Every shader runs the technique the kernel selects, and none is selected until the
    // terrain selects the first.
    I3dShaderSetTechnique(0);
    // A grey level of 0 times an infinite scale is not a number either.
    if (!std::isfinite(elvScale)) {
        DbgPrintf(1, "Terrain2: elvScale %g refused, 1.0 used\n", double(elvScale));
        elvScale = 1.0f;
    }
    char stem[300];
    std::snprintf(stem, sizeof stem, "%s elevation.tga", mapName);
    char file[600];
    if (SysDataFilePath(file, sizeof file, stem) != 1) std::snprintf(file, sizeof file, "%s", stem);
    TerrainLoadHeights(terrain, file, elvScale);
    std::snprintf(terrain->tilePath, sizeof terrain->tilePath, "%s", terrainTexPath);
    if (tileWidth % TERRAIN_PATCH_CELLS || tileHeight % TERRAIN_PATCH_CELLS)
        DbgPrintf(1, "Terrain2: %ix%i cells is not whole patches; the rest is not drawn\n",
                  tileWidth, tileHeight);
    if (detailTexName[0]) {
        char detail[600];
        if (SysDataFilePath(detail, sizeof detail, detailTexName) != 1)
            std::snprintf(detail, sizeof detail, "%s", detailTexName);
        terrain->detailTexture = I3dTexLoad(detail, nullptr, 1);
    }
    TerrainDrawInit(terrain);
    TerrainLoadTiles(terrain);
}

int Terrain2::VarsChanged() {
    if (!terrain) return 0;
    terrain->detailUTile = detailUTile;
    terrain->detailVTile = detailVTile;
    terrain->detailDist = detailDist;
    // A cell size of 0 or less (0 is inside the editor's range) would make the inverse sizes
    // infinite and every height a NaN: the size in use stays.
    if (!(scale > 0.0f) || !std::isfinite(scale)) {
        DbgPrintf(1, "Terrain2: scale %g refused, %g kept\n", double(scale),
                  double(terrain->cellWidth));
        scale = terrain->cellWidth;
    }
    TerrainSetScale(terrain, scale);
    terrain->detailMap = drawDetailMap;
    RebuildPhysics();
    return 0;
}

void Terrain2::RebuildPhysics() {
    if (physics) {
        PhysObjDestroy(physics);
        delete physics;
        physics = nullptr;
    }
    if (!physWorld) physWorld = PhysWorldAcquire();
    physics = PhysObjCreate(physWorld, 1);
    if (!physics) return;
    PhysObjDisable(physics);
    physics->name = "Terrain";
    physics->friction = 0.3f;
    physics->categoryBits = 1;
    physics->collideBits = -1;
    PhysObjAddTerrainGeom(physics, terrain->heights, terrain->sampleRows, terrain->cellWidth,
                          float(terrain->cellsX) * terrain->cellWidth, terrain->cellsX);
}

int Terrain2::Destroy() {
    if (terrain) {
        if (terrain->detailTexture >= 0) I3dTexRelease(terrain->detailTexture);
        if (terrain->baseTexture >= 0) I3dTexRelease(terrain->baseTexture);
        TerrainFree(terrain);
        terrain = nullptr;
    }
    if (physics) {
        PhysObjDestroy(physics);
        delete physics;
        physics = nullptr;
    }
    if (physWorld) {
        PhysWorldRelease();
        physWorld = nullptr;
    }
    return ENTBASE::Destroy();
}

// ---- height query and messages ----

int Terrain2::GetHeight(const VECTOR3* pos, float* out) {
    *out = pos ? TerrainHeightAt(terrain, pos->x, pos->z) : 0.0f;
    return 0;
}

void Terrain2::Surface(const VECTOR3* pos, float* height, int32_t* surface) {
    GetHeight(pos, height);
    const float water = terrain ? terrain->waterLevel : 0.0f;
    *surface = ENT_SURFACE_GROUND;
    if (water > *height) {
        *height = water;
        *surface = ENT_SURFACE_WATER;
    }
}

intptr_t Terrain2::Dispatch(int message, intptr_t a, intptr_t b, intptr_t c) {
    const auto* pos = reinterpret_cast<const VECTOR3*>(b);
    switch (message) {
        case ENT_MSG_TERRAIN_OBJECT:
            if (b) *reinterpret_cast<TerrainObj**>(b) = terrain;
            return 1;
        case ENT_MSG_GROUND_HEIGHT:
            if (!pos || !c) return 0;
            return GetHeight(pos, reinterpret_cast<float*>(c));
        case ENT_MSG_GROUND_SURFACE: {
            auto* q = reinterpret_cast<EntSurfaceQuery*>(c);
            if (!pos || !q) return 0;
            Surface(pos, &q->height, &q->surface);
            return 1;
        }
        case ENT_MSG_GROUND_RECORD: {
            auto* r = reinterpret_cast<EntGroundRecord*>(c);
            if (!pos || !r) return 0;
            if (r->want & ENT_GROUND_POINT) {
                r->point.x = pos->x;
                r->point.z = pos->z;
                Surface(pos, &r->point.y, &r->surface);
                r->waterLevel = terrain ? terrain->waterLevel : 0.0f;
            }
            if (r->want & ENT_GROUND_NORMAL) TerrainNormalAt(terrain, pos->x, pos->z, &r->normal);
            return 1;
        }
        case ENT_MSG_TERRAIN_LOD:
            if (terrain) terrain->lodUnit = 512.0f - FloatBits(b) * 480.0f;
            return 1;
        default: return ENTBASE::Dispatch(message, a, b, c);
    }
}
