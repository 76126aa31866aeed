// The model library's dynamic vertex and index buffers: thin wrappers over device buffers for
// geometry rewritten every frame (the particle systems' quads), filled as rings by the kernel's
// ring rule, and bound and drawn as a pair from their last locks. The kernel's own buffer
// selection and these bindings each forget the other's choice whenever they bind.
#pragma once

#include "I3d/Buffers.h"

class DynVertexBuf {
  public:
    // Derives the layout from the format code (I3d/Buffers.h) and makes a buffer of count
    // vertices: write-only, plus dynamic in the default pool when `dynamic`, else managed. When
    // the format, count or device is refused, `buffer` stays null and every lock fails.
    DynVertexBuf(bool dynamic, uint32_t format, int32_t count);
    ~DynVertexBuf();
    DynVertexBuf(const DynVertexBuf&) = delete;
    DynVertexBuf& operator=(const DynVertexBuf&) = delete;

    // Room for count vertices at the ring position. False, changing nothing, without a buffer,
    // while locked, for count < 0 or count > capacity, or when the device refuses.
    bool Lock(int32_t count);
    void Unlock();
    // Unlocks, releases the device buffer and unbinds it wherever it is bound.
    void Release();

    IDirect3DVertexBuffer8* buffer = nullptr;
    int32_t stride = 0;
    uint32_t fvf = 0;
    int32_t lastStart = -1; // first vertex of the last lock; draws count -1 as 0
    bool dynamic = false;
    uint32_t format = 0;
    int32_t capacity = 0;
    int32_t lockCount = 0;
    int32_t cursor = 0;
    bool discardNext = true;
    uint8_t* lockedPtr = nullptr;
    int32_t offPos = -1, offNormal = -1, offDiffuse = -1, offSpecular = -1, offUv0 = -1,
            offUv1 = -1;
};

class DynIndexBuf {
  public:
    // 16-bit indices, with the vertex buffers' usage and pool rule.
    DynIndexBuf(bool dynamic, int32_t count);
    ~DynIndexBuf();
    DynIndexBuf(const DynIndexBuf&) = delete;
    DynIndexBuf& operator=(const DynIndexBuf&) = delete;

    // Room for count indices, or null (as DynVertexBuf::Lock).
    uint16_t* Lock(int32_t count);
    void Unlock();
    void Release();

    IDirect3DIndexBuffer8* buffer = nullptr;
    int32_t lastStart = -1;
    bool dynamic = false;
    int32_t capacity = 0;
    int32_t lockCount = 0;
    int32_t cursor = 0;
    bool discardNext = true;
    uint16_t* lockedPtr = nullptr;
};

// Makes the kernel forget its selection, then binds vb to stream 0 unless it is the bound one,
// and binds ib with vb's last-lock start as base vertex unless that pair of index buffer and
// base vertex is the bound one. False, binding nothing, when either is null or has no buffer.
bool DynBufBind(DynVertexBuf* vb, DynIndexBuf* ib);
// Indices from the bound index buffer's last lock over vertices 0 .. vertices - 1. False with
// nothing bound or when the device refuses.
bool DynDrawIndexed(D3DPRIMITIVETYPE type, int primitives, int vertices);
// Forgets the bound pair, so the next bind binds both again; the kernel calls it whenever it
// selects its own buffers.
void DynBufResetBindings();
