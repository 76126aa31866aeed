// 16-bit index buffer records: creation, the ring lock, and the current buffer.
#include "I3d/Src/BufferInternal.h"
#include "I3d/Src/Kernel.h"
#include "engine/DebugLog.h"
#include "engine/Memory.h"

#include <cstdint>

static I3dIndexBuffer* s_current = nullptr;

I3dIndexBuffer* I3dIbCreate(int isStatic, int count) {
    IDirect3DDevice8* dev = D3dDevice();
    if (!dev || count < 1 || count > INT32_MAX / 2) {
        DbgPrintf(DBG_RENDER, "I3dIbCreate(%i, %i): refused\n", isStatic, count);
        return nullptr;
    }
    auto* ib = static_cast<I3dIndexBuffer*>(MemAlloc(sizeof(I3dIndexBuffer)));
    if (!ib) return nullptr;
    *ib = I3dIndexBuffer{};
    ib->isStatic = isStatic ? 1 : 0;
    ib->capacity = count;
    ib->lastStart = -1;
    ib->wrap = true;
    HRESULT hr = dev->CreateIndexBuffer(
        (UINT)count * 2,
        isStatic ? (DWORD)D3DUSAGE_WRITEONLY : (DWORD)(D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY),
        D3DFMT_INDEX16, isStatic ? D3DPOOL_MANAGED : D3DPOOL_DEFAULT, &ib->buffer);
    if (FAILED(hr) || !ib->buffer) {
        DbgPrintf(DBG_RENDER, "I3dIbCreate(%i, %i): the device made no buffer (0x%08X)\n", isStatic,
                  count, (unsigned)hr);
        MemFree(ib);
        return nullptr;
    }
    return ib;
}

int I3dIbFree(I3dIndexBuffer* ib) {
    if (!ib) return -1;
    if (ib->locked) I3dIbUnlock(ib);
    I3dSelectionForget(ib);
    if (s_current == ib) s_current = nullptr;
    if (ib->buffer) {
        D3dUnbindBuffer(ib->buffer);
        ib->buffer->Release();
    }
    MemFree(ib);
    return 0;
}

uint16_t* I3dIbLock(I3dIndexBuffer* ib, int count) {
    if (!ib || ib->locked) return nullptr;
    uint8_t* p = I3dRingLock(ib->buffer, 2, ib->isStatic != 0, ib->capacity, count, &ib->position,
                             &ib->wrap, &ib->lastStart);
    if (!p) return nullptr;
    ib->locked = 1;
    ib->lockedPtr = reinterpret_cast<uint16_t*>(p);
    return ib->lockedPtr;
}

int I3dIbUnlock(I3dIndexBuffer* ib) {
    if (!ib || !ib->locked) return -1;
    ib->buffer->Unlock();
    ib->locked = 0;
    ib->lockedPtr = nullptr;
    return 0;
}

// ---- the current buffer ----

void I3dIbSetCurrent(I3dIndexBuffer* ib) {
    s_current = ib;
}

uint16_t* I3dIbLockCurrent(int count) {
    return I3dIbLock(s_current, count);
}

int I3dIbUnlockCurrent() {
    return I3dIbUnlock(s_current);
}

int I3dIbSelectCurrent() {
    return I3dIbSelect(s_current);
}

void IdxPushQuad(uint16_t** cursor, int a, int b, int c, int d) {
    uint16_t* p = *cursor;
    p[0] = (uint16_t)a, p[1] = (uint16_t)b, p[2] = (uint16_t)c;
    p[3] = (uint16_t)a, p[4] = (uint16_t)c, p[5] = (uint16_t)d;
    *cursor = p + 6;
}
