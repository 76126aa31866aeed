// The block's cell array: bounds, layer clearing and layer removal.
#include "world/CellArray3.h"

#include <new>

namespace {

// Index offsets so one routine serves all three axes: `axis` 0 x, 1 y, 2 z.
void ClearLayer(CellArray3* a, int axis, int k) {
    if (!a->cells) return;
    const int32_t dim[3] = {a->dimX, a->dimY, a->dimZ};
    const int32_t ext[3] = {a->extX, a->extY, a->extZ};
    if (k < 0 || k >= dim[axis]) return;
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    for (int i = 0; i < ext[u] && i < dim[u]; ++i)
        for (int j = 0; j < ext[v] && j < dim[v]; ++j) {
            int c[3];
            c[axis] = k;
            c[u] = i;
            c[v] = j;
            CellArray3At(a, c[0], c[1], c[2]) = 0;
        }
}

int32_t* ExtOf(CellArray3* a, int axis) {
    return axis == 0 ? &a->extX : axis == 1 ? &a->extY : &a->extZ;
}

void RemoveLayer(CellArray3* a, int axis, int k) {
    if (!a->cells) return;
    const int32_t dim[3] = {a->dimX, a->dimY, a->dimZ};
    const int32_t ext[3] = {a->extX, a->extY, a->extZ};
    if (ext[axis] < 1 || ext[axis] > dim[axis]) return;
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    for (int s = k < 0 ? 0 : k; s <= ext[axis] - 2; ++s)
        for (int i = 0; i < ext[u] && i < dim[u]; ++i)
            for (int j = 0; j < ext[v] && j < dim[v]; ++j) {
                int to[3], from[3];
                to[axis] = s;
                from[axis] = s + 1;
                to[u] = from[u] = i;
                to[v] = from[v] = j;
                CellArray3At(a, to[0], to[1], to[2]) = CellArray3At(a, from[0], from[1], from[2]);
            }
    ClearLayer(a, axis, ext[axis] - 1);
    *ExtOf(a, axis) -= 1;
}

} // namespace

int CellArray3Init(CellArray3* a, int dimX, int dimY, int dimZ) {
    CellArray3Free(a);
    a->dimX = dimX < 0 ? 0 : dimX;
    a->dimY = dimY < 0 ? 0 : dimY;
    a->dimZ = dimZ < 0 ? 0 : dimZ;
    a->count = (uint32_t)a->dimX * (uint32_t)a->dimY * (uint32_t)a->dimZ;
    if (a->count > 0) {
        a->cells = new (std::nothrow) uint32_t[a->count];
        if (!a->cells) {
            *a = CellArray3{};
            return -1;
        }
        for (uint32_t i = 0; i < a->count; ++i)
            a->cells[i] = 1u;
    }
    a->minX = a->minY = a->minZ = 0;
    a->maxX = a->dimX - 1;
    a->maxY = a->dimY - 1;
    a->maxZ = a->dimZ - 1;
    a->extX = a->dimX;
    a->extY = a->dimY;
    a->extZ = a->dimZ;
    return 1;
}

void CellArray3Free(CellArray3* a) {
    delete[] a->cells;
    a->cells = nullptr;
}

int CellArray3Inside(const CellArray3* a, int x, int y, int z) {
    return x >= 0 && y >= 0 && z >= 0 && x < a->dimX && y < a->dimY && z < a->dimZ;
}

void CellArray3Bounds(CellArray3* a) {
    a->minX = a->dimX;
    a->minY = a->dimY;
    a->minZ = a->dimZ;
    a->maxX = a->maxY = a->maxZ = -1;
    if (a->cells)
        for (int z = 0; z < a->dimZ; ++z)
            for (int y = 0; y < a->dimY; ++y)
                for (int x = 0; x < a->dimX; ++x) {
                    if (!(CellArray3At(a, x, y, z) & 1u)) continue;
                    if (x < a->minX) a->minX = x;
                    if (y < a->minY) a->minY = y;
                    if (z < a->minZ) a->minZ = z;
                    if (x > a->maxX) a->maxX = x;
                    if (y > a->maxY) a->maxY = y;
                    if (z > a->maxZ) a->maxZ = z;
                }
    a->extX = a->maxX + 1;
    a->extY = a->maxY + 1;
    a->extZ = a->maxZ + 1;
}

void CellArray3ClearLayerX(CellArray3* a, int k) {
    ClearLayer(a, 0, k);
}
void CellArray3ClearLayerY(CellArray3* a, int k) {
    ClearLayer(a, 1, k);
}
void CellArray3ClearLayerZ(CellArray3* a, int k) {
    ClearLayer(a, 2, k);
}
void CellArray3RemoveLayerX(CellArray3* a, int k) {
    RemoveLayer(a, 0, k);
}
void CellArray3RemoveLayerY(CellArray3* a, int k) {
    RemoveLayer(a, 1, k);
}
void CellArray3RemoveLayerZ(CellArray3* a, int k) {
    RemoveLayer(a, 2, k);
}

int CellArray3Edit(CellArray3* a, int code) {
    int axis = -1;
    bool first = false;
    switch (code) {
        case 1: axis = 0; break;
        case 2: axis = 0, first = true; break;
        case 4: axis = 1; break;
        case 8: axis = 1, first = true; break;
        case 16: axis = 2; break;
        case 32: axis = 2, first = true; break;
        default: return 0;
    }
    int32_t* ext = ExtOf(a, axis);
    if (*ext < 1) return 0;
    if (first) {
        RemoveLayer(a, axis, 0);
    } else {
        ClearLayer(a, axis, *ext - 1);
        *ext -= 1;
    }
    return 0;
}
