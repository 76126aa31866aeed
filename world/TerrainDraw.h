// The terrain object's drawing: patches of 32 x 32 cells at four levels of detail, static
// vertex buffers from a shared pool rebuilt only when a patch's level changes, forty shared
// index lists (stitched edges where a neighbour is coarser), tile and detail textures, the
// patch LOD overlay; and the two ray tests.
#pragma once

#include "world/TerrainObj.h"

#include <cstdint>

// Index list kinds, per level.
enum : int {
    TERRAIN_LIST_WHOLE = 0,
    TERRAIN_LIST_INNER = 1,
    TERRAIN_LIST_EDGE = 2,     // + side: +z, -z, +x, -x
    TERRAIN_LIST_STITCHED = 6, // + side
    TERRAIN_LIST_KINDS = 10,
};

// The triangles of one list kind for a patch of n cells a side (n even, 4..32) as vertex
// indices r x (n + 1) + c, written to `out` (room for 6 n^2 indices); the triangle count.
int TerrainListIndices(int kind, int n, uint16_t* out);

// The index lists and the three shaders; with no device the lists stay null and nothing draws.
void TerrainDrawInit(TerrainObj* t);
// The shaders, lists, pool buffers and tile references (the terrain free calls it).
void TerrainDrawFree(TerrainObj* t);
// Every patch's tile texture not yet tried, with "Loading textures..." before each and "Done."
// after the last sent to the progress hook. A relative tile path is taken from the program
// folder; a tile that fails is stored as -2 and not tried again.
void TerrainLoadTiles(TerrainObj* t);
// Draws every patch, with the eye, LOD unit and switches already handed over.
void TerrainDraw(TerrainObj* t);
// The debug overlay: one quad per patch in its level's colour.
void TerrainDrawLodMap(const TerrainObj* t);

// 1 hit (world point in *hit), 0 miss, -1 start row outside the grid, -2 start column outside.
int TerrainSegmentTest(const TerrainObj* t, const VECTOR3* start, const VECTOR3* end, VECTOR3* hit);
int TerrainRayTest(const TerrainObj* t, const VECTOR3* origin, const VECTOR3* direction,
                   VECTOR3* hit);
