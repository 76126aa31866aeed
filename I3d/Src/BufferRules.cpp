// What the kernel's buffers and the model library's dynamic buffers share: the layout of a
// vertex format code and the ring rule of a lock.
#include "I3d/Buffers.h"

#include "platform/d3d8/D3d8.h"

// ---- layouts ----

bool I3dVertexLayoutOf(int32_t format, I3dVertexLayout* out) {
    *out = I3dVertexLayout{0, 0, -1, -1, -1, -1, -1, -1};
    if ((format & ~0x7F) != 0 || !(format & (I3DVF_XYZ | I3DVF_XYZRHW))) return false;
    int32_t at = 0;
    auto place = [&at](int32_t* offset, int32_t bytes) {
        *offset = at;
        at += bytes;
    };
    if (format & I3DVF_XYZ) {
        out->fvf |= D3DFVF_XYZ;
        place(&out->offPos, 12);
    } else {
        out->fvf |= D3DFVF_XYZRHW;
        place(&out->offPos, 16);
    }
    if (format & I3DVF_NORMAL) {
        out->fvf |= D3DFVF_NORMAL;
        place(&out->offNormal, 12);
    }
    if (format & I3DVF_DIFFUSE) {
        out->fvf |= D3DFVF_DIFFUSE;
        place(&out->offDiffuse, 4);
    }
    if (format & I3DVF_SPECULAR) {
        out->fvf |= D3DFVF_SPECULAR;
        place(&out->offSpecular, 4);
    }
    if (format & I3DVF_TEX1) {
        out->fvf |= D3DFVF_TEX1;
        place(&out->offUv0, 8);
    } else if (format & I3DVF_TEX2) {
        out->fvf |= D3DFVF_TEX2;
        place(&out->offUv0, 8);
        place(&out->offUv1, 8);
    }
    out->stride = at;
    return true;
}

// ---- the ring ----

// The ring is planned first and moved only once the device has given the memory, so a refused
// lock leaves the next one where it would have been.
template <class Buffer>
static uint8_t* RingLock(Buffer* buffer, int32_t elementSize, bool isStatic, int32_t capacity,
                         int32_t n, int32_t* position, bool* wrap, int32_t* lastStart) {
    if (!buffer || n < 0 || n > capacity) return nullptr;
    int32_t start = *position;
    DWORD flags = D3DLOCK_NOOVERWRITE | D3DLOCK_NOSYSLOCK;
    // A lock that would exactly fill the rest also restarts.
    bool restart = *wrap || (int64_t)*position + n >= capacity;
    if (isStatic) {
        start = 0;
        flags = 0;
    } else if (restart) {
        start = 0;
        flags = D3DLOCK_DISCARD | D3DLOCK_NOSYSLOCK;
    }
    BYTE* p = nullptr;
    if (FAILED(buffer->Lock((UINT)start * (UINT)elementSize, (UINT)n * (UINT)elementSize, &p,
                            flags)) ||
        !p)
        return nullptr;
    *lastStart = start;
    *position = start + n;
    *wrap = false;
    return p;
}

uint8_t* I3dRingLock(IDirect3DVertexBuffer8* buffer, int32_t elementSize, bool isStatic,
                     int32_t capacity, int32_t n, int32_t* position, bool* wrap,
                     int32_t* lastStart) {
    return RingLock(buffer, elementSize, isStatic, capacity, n, position, wrap, lastStart);
}

uint8_t* I3dRingLock(IDirect3DIndexBuffer8* buffer, int32_t elementSize, bool isStatic,
                     int32_t capacity, int32_t n, int32_t* position, bool* wrap,
                     int32_t* lastStart) {
    return RingLock(buffer, elementSize, isStatic, capacity, n, position, wrap, lastStart);
}
