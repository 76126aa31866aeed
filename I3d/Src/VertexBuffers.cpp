// Vertex buffer records: creation from a format code, the ring lock, and the current buffer.
#include "I3d/Src/BufferInternal.h"
#include "I3d/Src/Kernel.h"
#include "engine/DebugLog.h"
#include "engine/Memory.h"

#include <cstdint>

static I3dVertexBuffer* s_current = nullptr;

// Buffers are addressed in bytes through 32-bit offsets: keep every byte count well inside.
static constexpr int64_t kMaxBytes = INT32_MAX;

I3dVertexBuffer* I3dVbCreate(int type, int format, int capacity) {
    IDirect3DDevice8* dev = D3dDevice();
    I3dVertexLayout layout;
    if (!dev || !I3dVertexLayoutOf(format, &layout) || capacity < 1 ||
        (int64_t)capacity * layout.stride > kMaxBytes) {
        DbgPrintf(DBG_RENDER, "I3dVbCreate(%i, %i, %i): refused\n", type, format, capacity);
        return nullptr;
    }
    auto* vb = static_cast<I3dVertexBuffer*>(MemAlloc(sizeof(I3dVertexBuffer)));
    if (!vb) return nullptr;
    *vb = I3dVertexBuffer{};
    vb->type = type;
    vb->format = format;
    vb->fvf = layout.fvf;
    vb->capacity = capacity;
    vb->lastStart = -1;
    vb->wrap = true;
    vb->stride = layout.stride;
    vb->offPos = layout.offPos;
    vb->offNormal = layout.offNormal;
    vb->offDiffuse = layout.offDiffuse;
    vb->offSpecular = layout.offSpecular;
    vb->offUv0 = layout.offUv0;
    vb->offUv1 = layout.offUv1;
    bool dynamic = type == 0;
    HRESULT hr = dev->CreateVertexBuffer(
        (UINT)(capacity * layout.stride),
        dynamic ? (DWORD)(D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY) : (DWORD)D3DUSAGE_WRITEONLY,
        layout.fvf, dynamic ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED, &vb->buffer);
    if (FAILED(hr) || !vb->buffer) {
        DbgPrintf(DBG_RENDER, "I3dVbCreate(%i, %i, %i): the device made no buffer (0x%08X)\n", type,
                  format, capacity, (unsigned)hr);
        MemFree(vb);
        return nullptr;
    }
    return vb;
}

int I3dVbFree(I3dVertexBuffer* vb) {
    if (!vb) return -1;
    if (vb->locked) I3dVbUnlock(vb);
    I3dSelectionForget(vb);
    I3dWriterForget(vb);
    if (s_current == vb) s_current = nullptr;
    if (vb->buffer) {
        D3dUnbindBuffer(vb->buffer);
        vb->buffer->Release();
    }
    MemFree(vb);
    return 0;
}

int I3dVbLock(I3dVertexBuffer* vb, int n) {
    // A lock inside a lock is a device error; it is refused rather than passed on.
    if (!vb || vb->locked) return -1;
    uint8_t* p = I3dRingLock(vb->buffer, vb->stride, vb->type != 0, vb->capacity, n, &vb->position,
                             &vb->wrap, &vb->lastStart);
    if (!p) return -1;
    ++vb->lockCount;
    vb->locked = p;
    vb->lockedCount = n;
    I3dVbBegin(vb, 0);
    return 0;
}

int I3dVbUnlock(I3dVertexBuffer* vb) {
    if (!vb || !vb->locked) return -1;
    vb->buffer->Unlock();
    --vb->lockCount;
    vb->locked = nullptr;
    vb->lockedCount = 0;
    I3dWriterForget(vb);
    return 0;
}

uint8_t* I3dVbLockedPtr(const I3dVertexBuffer* vb) {
    return vb ? vb->locked : nullptr;
}

// ---- the current buffer ----

void I3dVbSetCurrent(I3dVertexBuffer* vb) {
    s_current = vb;
}

int I3dVbLockCurrent(int n) {
    return I3dVbLock(s_current, n);
}

int I3dVbUnlockCurrent() {
    return I3dVbUnlock(s_current);
}

int I3dVbSelectCurrent() {
    return I3dVbSelect(s_current);
}
