// Vertex and index buffers of the layer (see Buffers.h).
#include "platform/d3d8/Buffers.h"

#include <new>

// ---- the store ----

bool D3dBufferStore::Init(UINT length) {
    // Zeroed, so that a buffer drawn before it is filled draws the same thing every time.
    m_bytes.reset(new (std::nothrow) uint8_t[length]());
    m_length = m_bytes ? length : 0;
    return m_bytes != nullptr;
}

HRESULT D3dBufferStore::Lock(UINT offset, UINT size, BYTE** data) {
    if (!data) return D3DERR_INVALIDCALL;
    *data = nullptr;
    if (offset > m_length || size > m_length - offset) return D3DERR_INVALIDCALL;
    ++m_locks;
    *data = m_bytes.get() + offset;
    return D3D_OK;
}

HRESULT D3dBufferStore::Unlock() {
    if (m_locks == 0) return D3DERR_INVALIDCALL;
    --m_locks;
    return D3D_OK;
}

static bool PoolOffered(D3DPOOL pool) {
    return pool == D3DPOOL_DEFAULT || pool == D3DPOOL_MANAGED || pool == D3DPOOL_SYSTEMMEM;
}

// ---- vertex buffers ----

D3dVertexBuffer* D3dVertexBuffer::Create(D3dDeviceBase* device, UINT length, DWORD usage, DWORD fvf,
                                         D3DPOOL pool, HRESULT* hr) {
    UINT vertex = fvf ? D3dDeviceBase::FvfStride(fvf) : 1;
    if (length == 0 || vertex == 0 || length < vertex || !PoolOffered(pool)) {
        *hr = D3DERR_INVALIDCALL;
        return nullptr;
    }
    return Finish(new (std::nothrow) D3dVertexBuffer(device, pool, usage, fvf), length, hr);
}

HRESULT D3dVertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = D3DVERTEXBUFFER_DESC{
        D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, m_usage, Pool(), m_store.Length(), m_fvf};
    return D3D_OK;
}

// ---- index buffers ----

D3dIndexBuffer* D3dIndexBuffer::Create(D3dDeviceBase* device, UINT length, DWORD usage,
                                       D3DFORMAT format, D3DPOOL pool, HRESULT* hr) {
    if (length == 0 || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32) ||
        !PoolOffered(pool)) {
        *hr = D3DERR_INVALIDCALL;
        return nullptr;
    }
    return Finish(new (std::nothrow) D3dIndexBuffer(device, pool, usage, format), length, hr);
}

HRESULT D3dIndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = D3DINDEXBUFFER_DESC{m_format, D3DRTYPE_INDEXBUFFER, m_usage, Pool(), m_store.Length()};
    return D3D_OK;
}
