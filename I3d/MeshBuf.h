// MeshBuf: the owner of one static vertex buffer and one static 16-bit index buffer, in which
// generated meshes and character model parts are built once and drawn as triangle lists.
#pragma once

#include "I3d/Buffers.h"

// 16-bit indices reach 65536 vertices.
constexpr int MESHBUF_MAX_VERTICES = 65536;

struct MeshBuf {
    // A static vertex buffer of the format and count and a static index buffer of 3 x triangle
    // count indices. False, with nothing kept, for no triangles, no vertices or more than
    // MESHBUF_MAX_VERTICES, or when a buffer cannot be made. A mesh made before is destroyed.
    bool Create(int format, int vertexCount, int triangleCount);
    // Locks all (or the first n) vertices and makes them the vertex writer's target.
    bool LockVerts();
    bool LockVertsN(int n);
    void UnlockVerts();
    // Locks all (or the first n) indices and keeps the write pointer, which it also returns.
    uint16_t* LockIndices();
    uint16_t* LockIndicesN(int n);
    void UnlockIndices();
    // Selects both buffers and draws triangleCount triangles over vertexCount vertices from
    // index 0, filled or not. False for a mesh not made or a refused draw.
    bool Draw();
    // Frees both buffers and clears the handles and counts.
    void Destroy();

    I3dVertexBuffer* vb = nullptr;
    I3dIndexBuffer* ib = nullptr;
    uint16_t* indices = nullptr; // while the indices are locked
    uint32_t triangleCount = 0;
    uint32_t vertexCount = 0;
};
