// The model library's dynamic buffers and their bindings (see DynBuf.h); the device work goes
// through the render kernel.
#include "gi/Render/DynBuf.h"

#include "I3d/Buffers.h"
#include "I3d/Device.h"

#include <cstdint>

static DynVertexBuf* s_boundVb = nullptr;
static DynIndexBuf* s_boundIb = nullptr;
static int32_t s_boundBase = 0; // the base vertex sent with s_boundIb

static constexpr int64_t kMaxBytes = INT32_MAX;

// ---- vertex buffers ----

DynVertexBuf::DynVertexBuf(bool isDynamic, uint32_t formatCode, int32_t count)
    : dynamic(isDynamic), format(formatCode), capacity(count) {
    // A format without a position (neither bit 1 nor bit 16) has no layout and makes no buffer:
    // such vertices could never be drawn, and every lock then fails plainly.
    I3dVertexLayout layout;
    if (!I3dVertexLayoutOf((int32_t)formatCode, &layout) || !D3dDevice() || count < 1 ||
        (int64_t)count * layout.stride > kMaxBytes)
        return;
    stride = layout.stride;
    fvf = layout.fvf;
    offPos = layout.offPos;
    offNormal = layout.offNormal;
    offDiffuse = layout.offDiffuse;
    offSpecular = layout.offSpecular;
    offUv0 = layout.offUv0;
    offUv1 = layout.offUv1;
    buffer = I3dLibVbMake(count * stride, dynamic, fvf);
}

DynVertexBuf::~DynVertexBuf() {
    Release();
}

bool DynVertexBuf::Lock(int32_t count) {
    if (lockCount) return false;
    uint8_t* p =
        I3dRingLock(buffer, stride, !dynamic, capacity, count, &cursor, &discardNext, &lastStart);
    if (!p) return false;
    lockCount = 1;
    lockedPtr = p;
    return true;
}

void DynVertexBuf::Unlock() {
    if (!lockCount) return;
    I3dLibUnlock(buffer);
    lockCount = 0;
    lockedPtr = nullptr;
}

void DynVertexBuf::Release() {
    Unlock();
    if (s_boundVb == this) s_boundVb = nullptr;
    if (!buffer) return;
    I3dLibFree(buffer);
    buffer = nullptr;
}

// ---- index buffers ----

DynIndexBuf::DynIndexBuf(bool isDynamic, int32_t count) : dynamic(isDynamic), capacity(count) {
    if (!D3dDevice() || count < 1 || count > INT32_MAX / 2) return;
    buffer = I3dLibIbMake(count, dynamic);
}

DynIndexBuf::~DynIndexBuf() {
    Release();
}

uint16_t* DynIndexBuf::Lock(int32_t count) {
    if (lockCount) return nullptr;
    uint8_t* p =
        I3dRingLock(buffer, 2, !dynamic, capacity, count, &cursor, &discardNext, &lastStart);
    if (!p) return nullptr;
    lockCount = 1;
    lockedPtr = reinterpret_cast<uint16_t*>(p);
    return lockedPtr;
}

void DynIndexBuf::Unlock() {
    if (!lockCount) return;
    I3dLibUnlock(buffer);
    lockCount = 0;
    lockedPtr = nullptr;
}

void DynIndexBuf::Release() {
    Unlock();
    if (s_boundIb == this) s_boundIb = nullptr;
    if (!buffer) return;
    I3dLibFree(buffer);
    buffer = nullptr;
}

// ---- binding and drawing ----

void DynBufResetBindings() {
    s_boundVb = nullptr;
    s_boundIb = nullptr;
}

// The index buffer is bound again whenever the vertex buffer's last lock moved: the base vertex
// travels with SetIndices, and a pair drawn after a relock must not keep the previous one.
bool DynBufBind(DynVertexBuf* vb, DynIndexBuf* ib) {
    if (!D3dDevice() || !vb || !ib || !vb->buffer || !ib->buffer) return false;
    I3dSetLibraryBindingsReset(DynBufResetBindings);
    I3dForgetBufferSelection();
    if (vb != s_boundVb) {
        s_boundVb = nullptr;
        if (!I3dLibBindStream(vb->buffer, vb->fvf, vb->stride)) return false;
        s_boundVb = vb;
    }
    int32_t base = I3dDrawStart(vb->lastStart);
    if (ib != s_boundIb || base != s_boundBase) {
        s_boundIb = nullptr;
        if (!I3dLibBindIndices(ib->buffer, base)) return false;
        s_boundIb = ib;
        s_boundBase = base;
    }
    return true;
}

bool DynDrawIndexed(D3DPRIMITIVETYPE type, int primitives, int vertices) {
    I3dPreDraw();
    if (!D3dDevice() || !s_boundVb || !s_boundIb || primitives < 1 || vertices < 1) return false;
    return I3dLibDrawIndexed(type, vertices, I3dDrawStart(s_boundIb->lastStart), primitives);
}
