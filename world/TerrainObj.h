// The terrain object: a regular grid of height samples with two triangle planes per cell whose
// diagonals alternate in a checkerboard, the height query over them, and the patch records the
// terrain drawing keeps its levels of detail and tile textures in.
#pragma once

#include "I3d/Math/MathTypes.h"

#include <cstdint>

struct I3dIndexBuffer;
struct I3dVertexBuffer;
struct I3dShader;

enum { TERRAIN_PATCH_CELLS = 32, TERRAIN_POOL_SIZE = 600, TERRAIN_LEVELS = 4 };

// A static vertex buffer of the patch pool; an entry with no buffer is empty.
struct TerrainPoolEntry {
    I3dVertexBuffer* buffer = nullptr;
    int32_t vertexCount = 0;
    int32_t inUse = 0;
};

// One patch of 32 x 32 cells; the drawing fills in what it needs.
struct TerrainPatch {
    int32_t vertexSlot = -1;
    float lowest = 0.0f; // over the patch's samples, in sample units
    float highest = 0.0f;
    int32_t levelWanted = 0;
    int32_t visible = 0;
    int32_t levelBuilt = -1;
    int32_t tileTexture = -1; // -1 not tried yet, -2 failed
    float eyeDistance = 0.0f;
    int32_t seamMask = 0;
    TerrainPatch* neighbour[4] = {}; // +z, -z, +x, -x; null at the border
    int32_t px = 0, pz = 0;
};

// n . p + d = 0 for p in grid units (x and z in cells, y in sample units); n is unit length and
// points up.
struct TerrainPlane {
    float nx, ny, nz, d;
};

struct TerrainObj {
    int32_t sampleCols = 0; // cellsX + 1
    int32_t sampleRows = 0; // cellsZ + 1
    int32_t cellsX = 0, cellsZ = 0;
    int32_t patchSize = TERRAIN_PATCH_CELLS;
    int32_t patchesX = 0, patchesZ = 0;
    TerrainPatch* patches = nullptr; // row by row, row index = patch z
    float cellWidth = 1.0f, heightUnit = 1.0f, cellDepth = 1.0f;
    float invCellWidth = 1.0f, invHeightUnit = 1.0f, invCellDepth = 1.0f;
    float* heights = nullptr;       // row by row, row index = z, in sample units
    TerrainPlane* planes = nullptr; // two per cell: [2 x (z x cellsX + x) + triangle]
    VECTOR3 eye = {0.0f, 0.0f, 0.0f};
    float detailDist = 56.0f; // in cells
    float lodUnit = 48.0f;    // in cells
    int32_t detailMap = 0;
    int32_t detailTexture = -1;
    int32_t baseTexture = -1;
    int32_t doubleDetail = 0;
    float lowest = 0.0f, highest = 0.0f; // over all samples, in sample units
    char tilePath[261] = {};
    float detailMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float detailUTile = 16.0f, detailVTile = 16.0f;
    float waterLevel = 0.0f;
    // Drawing state (TerrainDraw.h): index lists [level][kind], the vertex pool, the shaders
    // "TerDif", "TerDifDetail", "TerDifDetailDouble".
    I3dIndexBuffer* lists[TERRAIN_LEVELS][10] = {};
    TerrainPoolEntry* pool = nullptr;
    I3dShader* shaders[3] = {};
    int32_t poolFullLogged = 0;
};

// A grid of cellsX x cellsZ cells (each 1..4096), every sample 0, with its patch records. Null
// for sizes outside that range or when memory fails.
TerrainObj* TerrainCreate(int cellsX, int cellsZ);
void TerrainFree(TerrainObj* t);

// Every sample = height; then the planes and bounds.
void TerrainFill(TerrainObj* t, float height);
// The samples from the grey TGA image `file`: sample (x, z) = the first byte of pixel (x, height
// - 1 - z) x elvScale. 1 when it loaded at the grid's sample counts; otherwise every sample is
// 28.0, a line is logged and the answer is 0. Either way the planes and bounds follow.
int TerrainLoadHeights(TerrainObj* t, const char* file, float elvScale);
// The triangle planes of every cell, then the patch and terrain bounds, from the samples.
void TerrainDerive(TerrainObj* t);

// Cell size and height unit = scale, and their inverses.
void TerrainSetScale(TerrainObj* t, float scale);

// The ground height at world (x, z): 0 outside the grid (or for x or z that is not a number).
float TerrainHeightAt(const TerrainObj* t, float x, float z);
// The unit normal of the triangle under world (x, z); (0, 1, 0) outside the grid. 1 inside, 0
// outside.
int TerrainNormalAt(const TerrainObj* t, float x, float z, VECTOR3* out);
