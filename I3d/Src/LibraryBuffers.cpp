// The device side of the model library's own buffers (gi/Render/DynBuf.h): the library keeps its
// rings and its bindings, and reaches the device only through these.
#include "I3d/Src/Kernel.h"

static DWORD Usage(bool dynamic) {
    return dynamic ? (DWORD)(D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY) : (DWORD)D3DUSAGE_WRITEONLY;
}

static D3DPOOL Pool(bool dynamic) {
    return dynamic ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED;
}

IDirect3DVertexBuffer8* I3dLibVbMake(int32_t bytes, bool dynamic, DWORD fvf) {
    IDirect3DDevice8* dev = D3dDevice();
    IDirect3DVertexBuffer8* buffer = nullptr;
    if (!dev ||
        FAILED(dev->CreateVertexBuffer((UINT)bytes, Usage(dynamic), fvf, Pool(dynamic), &buffer)))
        return nullptr;
    return buffer;
}

IDirect3DIndexBuffer8* I3dLibIbMake(int32_t count, bool dynamic) {
    IDirect3DDevice8* dev = D3dDevice();
    IDirect3DIndexBuffer8* buffer = nullptr;
    if (!dev || FAILED(dev->CreateIndexBuffer((UINT)count * 2, Usage(dynamic), D3DFMT_INDEX16,
                                              Pool(dynamic), &buffer)))
        return nullptr;
    return buffer;
}

void I3dLibUnlock(IDirect3DVertexBuffer8* buffer) {
    if (buffer) buffer->Unlock();
}

void I3dLibUnlock(IDirect3DIndexBuffer8* buffer) {
    if (buffer) buffer->Unlock();
}

void I3dLibFree(IDirect3DVertexBuffer8* buffer) {
    if (!buffer) return;
    D3dUnbindBuffer(buffer);
    buffer->Release();
}

void I3dLibFree(IDirect3DIndexBuffer8* buffer) {
    if (!buffer) return;
    D3dUnbindBuffer(buffer);
    buffer->Release();
}

bool I3dLibBindStream(IDirect3DVertexBuffer8* buffer, DWORD fvf, int32_t stride) {
    IDirect3DDevice8* dev = D3dDevice();
    return dev && SUCCEEDED(dev->SetVertexShader(fvf)) &&
           SUCCEEDED(dev->SetStreamSource(0, buffer, (UINT)stride));
}

bool I3dLibBindIndices(IDirect3DIndexBuffer8* buffer, int32_t baseVertex) {
    IDirect3DDevice8* dev = D3dDevice();
    return dev && SUCCEEDED(dev->SetIndices(buffer, (UINT)baseVertex));
}

bool I3dLibDrawIndexed(D3DPRIMITIVETYPE type, int32_t vertices, int32_t startIndex,
                       int32_t primitives) {
    IDirect3DDevice8* dev = D3dDevice();
    return dev && SUCCEEDED(dev->DrawIndexedPrimitive(type, 0, (UINT)vertices, (UINT)startIndex,
                                                      (UINT)primitives));
}
