// Mesh buffers (see I3d/MeshBuf.h).
#include "I3d/MeshBuf.h"

#include "engine/DebugLog.h"

bool MeshBuf::Create(int format, int vertices, int triangles) {
    Destroy();
    if (vertices < 1 || vertices > MESHBUF_MAX_VERTICES || triangles < 1 ||
        triangles > INT32_MAX / 3) {
        DbgPrintf(DBG_RENDER, "MeshBuf::Create(%i, %i, %i): refused\n", format, vertices,
                  triangles);
        return false;
    }
    vb = I3dVbCreate(1, format, vertices);
    ib = vb ? I3dIbCreate(1, triangles * 3) : nullptr;
    if (!ib) {
        Destroy();
        return false;
    }
    vertexCount = (uint32_t)vertices;
    triangleCount = (uint32_t)triangles;
    return true;
}

bool MeshBuf::LockVerts() {
    return LockVertsN((int)vertexCount);
}

bool MeshBuf::LockVertsN(int n) {
    return I3dVbLock(vb, n) == 0;
}

void MeshBuf::UnlockVerts() {
    I3dVbUnlock(vb);
}

uint16_t* MeshBuf::LockIndices() {
    return LockIndicesN((int)(triangleCount * 3));
}

uint16_t* MeshBuf::LockIndicesN(int n) {
    if (!indices) indices = I3dIbLock(ib, n);
    return indices;
}

void MeshBuf::UnlockIndices() {
    I3dIbUnlock(ib);
    indices = nullptr;
}

bool MeshBuf::Draw() {
    if (!vb || !ib || I3dVbSelect(vb) != 0 || I3dIbSelect(ib) != 0) return false;
    return I3dVbDrawIndexed(D3DPT_TRIANGLELIST, (int)triangleCount, (int)vertexCount) == 0;
}

void MeshBuf::Destroy() {
    I3dVbFree(vb);
    I3dIbFree(ib);
    *this = MeshBuf{};
}
