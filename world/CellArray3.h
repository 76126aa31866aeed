// A small three-dimensional array of cell words with per-axis bounds and layer removal: which
// sub-cubes of the test board's block exist.
#pragma once

#include <cstddef>
#include <cstdint>

struct CellArray3 {
    int32_t dimX = 0, dimY = 0, dimZ = 0;
    int32_t minX = 0, minY = 0, minZ = 0;
    int32_t maxX = -1, maxY = -1, maxZ = -1;
    // Layers in use along each axis; the layer operations touch only indices below these.
    int32_t extX = 0, extY = 0, extZ = 0;
    uint32_t count = 0;
    // Cell (x, y, z) is word (z * dimY + y) * dimX + x; bit 0 set = present.
    uint32_t* cells = nullptr;
};

// Every word 1 and the bounds of the full array. A negative dimension counts as 0; 1, or -1
// (and an empty array) when the words cannot be allocated.
int CellArray3Init(CellArray3* a, int dimX, int dimY, int dimZ);
void CellArray3Free(CellArray3* a);
// The word of cell (x, y, z); the caller keeps the indices inside the array.
inline uint32_t& CellArray3At(CellArray3* a, int x, int y, int z) {
    return a->cells[((size_t)z * a->dimY + y) * a->dimX + x];
}
// 1 when (x, y, z) lies inside the array.
int CellArray3Inside(const CellArray3* a, int x, int y, int z);
// min and max over the present cells (dims and -1 when none), ext = max + 1.
void CellArray3Bounds(CellArray3* a);
void CellArray3ClearLayerX(CellArray3* a, int k);
void CellArray3ClearLayerY(CellArray3* a, int k);
void CellArray3ClearLayerZ(CellArray3* a, int k);
// The layers above k move down one; the last layer in use is cleared and dropped.
void CellArray3RemoveLayerX(CellArray3* a, int k);
void CellArray3RemoveLayerY(CellArray3* a, int k);
void CellArray3RemoveLayerZ(CellArray3* a, int k);
// 1/2 drop the last / the first layer along x, 4/8 along y, 16/32 along z; any other code,
// or an axis with no layer left, does nothing. 0.
int CellArray3Edit(CellArray3* a, int code);
