// Vertex and index buffers of the layer: plain memory that the GL device draws from through
// client-side arrays, so a lock is a pointer into that memory and needs no synchronisation. The
// lock flags only reach the device's lock note (the recording device logs them).
#pragma once

#include "platform/d3d8/DeviceBase.h"

#include <memory>

// The bytes of one buffer with Direct3D's locking rules: a range inside the buffer (size 0 =
// from the offset to the end), nested locks counted, an unlock without a lock refused.
class D3dBufferStore {
  public:
    // False when the memory cannot be had.
    bool Init(UINT length);
    UINT Length() const { return m_length; }
    const uint8_t* Data() const { return m_bytes.get(); }
    HRESULT Lock(UINT offset, UINT size, BYTE** data);
    HRESULT Unlock();
    bool Locked() const { return m_locks > 0; }

  private:
    std::unique_ptr<uint8_t[]> m_bytes;
    UINT m_length = 0;
    int m_locks = 0;
};

// What vertex and index buffers share: the store, the usage and the lock notes.
template <class Interface, bool kIndex>
class D3dBuffer : public D3dResource<Interface> {
  public:
    HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) override {
        if (size == 0 && offset <= m_store.Length()) size = m_store.Length() - offset;
        HRESULT hr = m_store.Lock(offset, size, data);
        if (SUCCEEDED(hr)) this->Device()->NoteBufferLock(kIndex, offset, size, flags);
        return hr;
    }
    HRESULT Unlock() override {
        HRESULT hr = m_store.Unlock();
        if (SUCCEEDED(hr)) this->Device()->NoteBufferUnlock(kIndex);
        return hr;
    }
    const D3dBufferStore& Store() const { return m_store; }

  protected:
    D3dBuffer(D3dDeviceBase* device, D3DPOOL pool, DWORD usage)
        : D3dResource<Interface>(device, pool), m_usage(usage) {}
    ~D3dBuffer() override = default;

    // A buffer just made (null when memory failed) gets its bytes; null (with *hr) when they
    // cannot be had.
    template <class T>
    static T* Finish(T* buffer, UINT length, HRESULT* hr) {
        if (buffer && buffer->m_store.Init(length)) {
            *hr = D3D_OK;
            return buffer;
        }
        if (buffer) buffer->Release();
        *hr = E_OUTOFMEMORY;
        return nullptr;
    }

    D3dBufferStore m_store;
    DWORD m_usage;
};

class D3dVertexBuffer final : public D3dBuffer<IDirect3DVertexBuffer8, false> {
  public:
    // Null (with *hr) for a zero length, a length below one vertex of a non-zero FVF, a pool
    // the layer does not know, or when memory fails (E_OUTOFMEMORY).
    static D3dVertexBuffer* Create(D3dDeviceBase* device, UINT length, DWORD usage, DWORD fvf,
                                   D3DPOOL pool, HRESULT* hr);

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

  private:
    D3dVertexBuffer(D3dDeviceBase* device, D3DPOOL pool, DWORD usage, DWORD fvf)
        : D3dBuffer(device, pool, usage), m_fvf(fvf) {}
    ~D3dVertexBuffer() override = default;

    DWORD m_fvf;
};

class D3dIndexBuffer final : public D3dBuffer<IDirect3DIndexBuffer8, true> {
  public:
    // As vertex buffers; the format must be INDEX16 or INDEX32.
    static D3dIndexBuffer* Create(D3dDeviceBase* device, UINT length, DWORD usage, D3DFORMAT format,
                                  D3DPOOL pool, HRESULT* hr);

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) override;

    UINT IndexSize() const { return m_format == D3DFMT_INDEX32 ? 4 : 2; }

  private:
    D3dIndexBuffer(D3dDeviceBase* device, D3DPOOL pool, DWORD usage, D3DFORMAT format)
        : D3dBuffer(device, pool, usage), m_format(format) {}
    ~D3dIndexBuffer() override = default;

    D3DFORMAT m_format;
};
