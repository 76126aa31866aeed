// Buffer selection with its redundant-bind skip, and the draw calls from the selected buffers.
// The model library binds buffers of its own (gi/DynBuf.h): each side forgets the other's
// choice whenever it binds, so the two never disagree about what the device has bound.
#include "I3d/Src/BufferInternal.h"
#include "I3d/Src/Kernel.h"

static I3dVertexBuffer* s_selectedVb = nullptr;
static I3dIndexBuffer* s_selectedIb = nullptr;
static void (*s_forgetLibraryBindings)() = nullptr;

static void ForgetLibraryBindings() {
    if (s_forgetLibraryBindings) s_forgetLibraryBindings();
}

void I3dSetLibraryBindingsReset(void (*forget)()) {
    s_forgetLibraryBindings = forget;
}

void I3dForgetBufferSelection() {
    s_selectedVb = nullptr;
    s_selectedIb = nullptr;
}

void I3dResetBufferSelection() {
    I3dForgetBufferSelection();
    ForgetLibraryBindings();
}

void D3dUnbindBuffer(IDirect3DVertexBuffer8* buffer) {
    IDirect3DDevice8* dev = D3dDevice();
    IDirect3DVertexBuffer8* bound = nullptr;
    UINT stride = 0;
    if (!buffer || !dev || FAILED(dev->GetStreamSource(0, &bound, &stride)) || !bound) return;
    if (bound == buffer) dev->SetStreamSource(0, nullptr, 0);
    bound->Release();
}

void D3dUnbindBuffer(IDirect3DIndexBuffer8* buffer) {
    IDirect3DDevice8* dev = D3dDevice();
    IDirect3DIndexBuffer8* bound = nullptr;
    UINT base = 0;
    if (!buffer || !dev || FAILED(dev->GetIndices(&bound, &base)) || !bound) return;
    if (bound == buffer) dev->SetIndices(nullptr, 0);
    bound->Release();
}

void I3dSelectionForget(const I3dVertexBuffer* vb) {
    if (s_selectedVb == vb) s_selectedVb = nullptr;
}

void I3dSelectionForget(const I3dIndexBuffer* ib) {
    if (s_selectedIb == ib) s_selectedIb = nullptr;
}

// ---- selecting ----

int I3dVbSelect(I3dVertexBuffer* vb) {
    IDirect3DDevice8* dev = D3dDevice();
    // -1 for no buffer: a later draw from it would read a buffer that is not there.
    if (!vb || !dev) return -1;
    ForgetLibraryBindings();
    if (vb == s_selectedVb) return 0;
    s_selectedVb = nullptr; // until the device has taken it
    if (FAILED(dev->SetVertexShader(vb->fvf)) ||
        FAILED(dev->SetStreamSource(0, vb->buffer, (UINT)vb->stride)))
        return -1;
    s_selectedVb = vb;
    return 0;
}

static int SelectIndices(I3dIndexBuffer* ib, int offset) {
    IDirect3DDevice8* dev = D3dDevice();
    if (!ib || !dev) return -1;
    int64_t base = (s_selectedVb ? I3dDrawStart(s_selectedVb->lastStart) : 0) + (int64_t)offset;
    if (base < 0 || base > INT32_MAX) return -1;
    s_selectedIb = ib;
    return SUCCEEDED(dev->SetIndices(ib->buffer, (UINT)base)) ? 0 : -1;
}

int I3dIbSelect(I3dIndexBuffer* ib) {
    if (!ib) return -1;
    ForgetLibraryBindings();
    return SelectIndices(ib, 0);
}

int I3dIbSelectBase(I3dIndexBuffer* ib, int offset) {
    return SelectIndices(ib, offset);
}

// ---- drawing ----

void I3dPreDraw() {}

int I3dVbDraw(D3DPRIMITIVETYPE type, int primitives) {
    I3dPreDraw();
    IDirect3DDevice8* dev = D3dDevice();
    if (!dev || !s_selectedVb || primitives < 1) return -1;
    return SUCCEEDED(dev->DrawPrimitive(type, (UINT)I3dDrawStart(s_selectedVb->lastStart),
                                        (UINT)primitives))
               ? 0
               : -1;
}

int I3dVbDrawIndexedRange(D3DPRIMITIVETYPE type, int primitives, int minVertex, int maxVertex,
                          int offset) {
    I3dPreDraw();
    IDirect3DDevice8* dev = D3dDevice();
    int64_t start = s_selectedIb ? I3dDrawStart(s_selectedIb->lastStart) + (int64_t)offset : -1;
    if (!dev || !s_selectedVb || start < 0 || start > INT32_MAX || primitives < 1 ||
        minVertex < 0 || maxVertex < minVertex)
        return -1;
    return SUCCEEDED(dev->DrawIndexedPrimitive(type, (UINT)minVertex,
                                               (UINT)(maxVertex - minVertex + 1), (UINT)start,
                                               (UINT)primitives))
               ? 0
               : -1;
}

int I3dVbDrawIndexedFrom(D3DPRIMITIVETYPE type, int primitives, int vertices, int offset) {
    if (vertices < 1) return -1;
    return I3dVbDrawIndexedRange(type, primitives, 0, vertices - 1, offset);
}

int I3dVbDrawIndexed(D3DPRIMITIVETYPE type, int primitives, int vertices) {
    return I3dVbDrawIndexedFrom(type, primitives, vertices, 0);
}
