// Textures and their surfaces in the layer. Every level is kept as a copy in main memory in
// Direct3D's layout (memory row 0 = v 0, nothing flipped): LockRect hands out that copy and
// UnlockRect sends the level to GL. On a device without GL (the state-only and recording
// devices) the copies are all there is.
#pragma once

#include "platform/d3d8/DeviceBase.h"
#include "platform/d3d8/GlTexture.h"

#include <vector>

// ---- formats ----
// How a texture format is laid out in memory: bytes per pixel, or per 4 x 4 block when
// compressed. 0 for a format the layer cannot make a texture of.
struct D3dTexLayout {
    UINT bytes;      // per pixel, or per block
    bool compressed; // DXT1..DXT5
};
D3dTexLayout D3dTexFormatLayout(D3DFORMAT format);
// Bytes of one locked row: pixels padded to a multiple of 4 (GL's default unpack alignment), or
// one row of blocks.
UINT D3dTexPitch(D3DFORMAT format, UINT width);
// Rows of a level: pixel rows, or rows of blocks.
UINT D3dTexRows(D3DFORMAT format, UINT height);
// Levels of a full chain down to 1 x 1.
UINT D3dTexFullChain(UINT width, UINT height);

// ---- the level store shared by 2D and cube textures ----
class D3dTexLevels {
  public:
    struct Level {
        UINT width = 0, height = 0, pitch = 0, rows = 0;
        std::vector<uint8_t> bytes;
        bool locked = false;
        bool readOnly = false;
    };

    // Levels 0 asks for the full chain. False for a format, size or level count Direct3D
    // would refuse.
    bool Init(UINT width, UINT height, UINT levels, D3DFORMAT format, UINT faces);
    UINT Count() const { return m_count; }
    D3DFORMAT Format() const { return m_format; }
    UINT Faces() const { return m_faces; }
    Level* At(UINT face, UINT level) {
        return face < m_faces && level < m_count ? &m_levels[face * m_count + level] : nullptr;
    }
    const Level* At(UINT face, UINT level) const {
        return face < m_faces && level < m_count ? &m_levels[face * m_count + level] : nullptr;
    }
    HRESULT Desc(UINT level, DWORD usage, D3DPOOL pool, D3DSURFACE_DESC* desc) const;
    // A rectangle must lie inside the level (and on block edges when compressed).
    HRESULT Lock(UINT face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
    // D3D_OK with *changed true when the level may hold new bytes (not locked read-only).
    HRESULT Unlock(UINT face, UINT level, bool* changed);

  private:
    D3DFORMAT m_format = D3DFMT_UNKNOWN;
    UINT m_count = 0;
    UINT m_faces = 0;
    std::vector<Level> m_levels;
};

// ---- textures ----
// What 2D and cube textures share: the level store, the usage, and the GL texture when the
// device has GL.
class D3dTextureCommon : public D3dGlTexture {
  public:
    unsigned GlName() const override { return m_glName; }
    unsigned GlTarget() const override { return m_glTarget; }
    const D3dTexLevels& Store() const { return m_store; }
    DWORD Usage() const { return m_usage; }

  protected:
    explicit D3dTextureCommon(DWORD usage) : m_usage(usage) {}
    ~D3dTextureCommon() { GlDelete(); }

    // A texture just made (null when memory failed) gets its levels and its GL texture; null
    // (with *hr) when either cannot be had.
    template <class T>
    static T* Finish(T* t, HRESULT* hr, D3dDeviceBase* device, UINT width, UINT height, UINT levels,
                     D3DFORMAT format, UINT faces) {
        *hr = t ? t->Build(device, width, height, levels, format, faces) : E_OUTOFMEMORY;
        if (SUCCEEDED(*hr)) return t;
        if (t) t->Release();
        return nullptr;
    }
    HRESULT Build(D3dDeviceBase* device, UINT width, UINT height, UINT levels, D3DFORMAT format,
                  UINT faces);
    // Ends a lock; a level that may have changed goes to GL.
    HRESULT Unlock(UINT face, UINT level);

    DWORD m_usage;
    D3dTexLevels m_store;

  private:
    // Makes the GL texture with every level allocated (GL_TEXTURE_MAX_LEVEL = levels - 1, so a
    // one-level texture is complete under a mip filter). No GL on the device: nothing to do.
    bool GlCreate(D3dDeviceBase* device, bool cube);
    void GlUpload(UINT face, UINT level);
    void GlDelete();

    unsigned m_glName = 0;
    unsigned m_glTarget = 0;
    bool m_gl = false;
    bool m_s3tc = false; // compressed levels went to GL as S3TC (else decoded)
};

class D3dTexture final : public D3dResource<IDirect3DTexture8>, public D3dTextureCommon {
  public:
    // Null (with *hr) when the format, size, usage or pool is refused.
    static D3dTexture* Create(D3dDeviceBase* device, UINT width, UINT height, UINT levels,
                              DWORD usage, D3DFORMAT format, D3DPOOL pool, HRESULT* hr);

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD GetLevelCount() override { return m_store.Count(); }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override {
        return m_store.Desc(level, m_usage, Pool(), desc);
    }
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface8** surface) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override { return Unlock(0, level); }

  private:
    friend class D3dTextureCommon;
    D3dTexture(D3dDeviceBase* device, D3DPOOL pool, DWORD usage)
        : D3dResource(device, pool), D3dTextureCommon(usage) {}
    ~D3dTexture() override = default;
};

class D3dCubeTexture final : public D3dResource<IDirect3DCubeTexture8>, public D3dTextureCommon {
  public:
    static D3dCubeTexture* Create(D3dDeviceBase* device, UINT edge, UINT levels, DWORD usage,
                                  D3DFORMAT format, D3DPOOL pool, HRESULT* hr);

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_CUBETEXTURE; }
    DWORD GetLevelCount() override { return m_store.Count(); }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override {
        return m_store.Desc(level, m_usage, Pool(), desc);
    }
    HRESULT GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level,
                              IDirect3DSurface8** surface) override;
    HRESULT LockRect(D3DCUBEMAP_FACES face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                     DWORD flags) override {
        return m_store.Lock(face, level, locked, rect, flags);
    }
    HRESULT UnlockRect(D3DCUBEMAP_FACES face, UINT level) override { return Unlock(face, level); }

  private:
    friend class D3dTextureCommon;
    D3dCubeTexture(D3dDeviceBase* device, D3DPOOL pool, DWORD usage)
        : D3dResource(device, pool), D3dTextureCommon(usage) {}
    ~D3dCubeTexture() override = default;
};

// ---- surfaces ----
// A level of a texture (a face's level for a cube). It holds a reference on its texture, as a
// Direct3D surface keeps its container alive. A level of a render-target texture is what
// SetRenderTarget renders into.
class D3dTextureSurface final : public IDirect3DSurface8 {
  public:
    D3dTextureSurface(IDirect3DBaseTexture8* container, UINT face, UINT level)
        : m_container(container), m_face(face), m_level(level) {
        m_container->AddRef();
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override {
        if (auto* t = Tex2d()) return t->GetLevelDesc(m_level, desc);
        return Cube()->GetLevelDesc(m_level, desc);
    }
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override {
        if (auto* t = Tex2d()) return t->LockRect(m_level, locked, rect, flags);
        return Cube()->LockRect(m_face, m_level, locked, rect, flags);
    }
    HRESULT UnlockRect() override {
        if (auto* t = Tex2d()) return t->UnlockRect(m_level);
        return Cube()->UnlockRect(m_face, m_level);
    }

    IDirect3DBaseTexture8* Container() const { return m_container; }
    UINT Face() const { return m_face; }
    UINT Level() const { return m_level; }

  private:
    ~D3dTextureSurface() override { m_container->Release(); }
    IDirect3DTexture8* Tex2d() {
        return m_container->GetType() == D3DRTYPE_TEXTURE
                   ? static_cast<IDirect3DTexture8*>(m_container)
                   : nullptr;
    }
    IDirect3DCubeTexture8* Cube() { return static_cast<IDirect3DCubeTexture8*>(m_container); }

    IDirect3DBaseTexture8* m_container;
    UINT m_face, m_level;
    ULONG m_refs = 1;
};

// Reads a level of a texture back from GL as B, G, R, A bytes (compressed levels come back
// decoded), rows top to bottom, `width` x 4 bytes apart. For tests; false without GL.
bool D3dTestReadTextureLevel(IDirect3DBaseTexture8* texture, UINT face, UINT level,
                             std::vector<uint8_t>* out);
// Makes textures created from now on decode DXT levels themselves, as on a context without
// S3TC (1), or use S3TC again (0).
void D3dTestForceDxtDecode(int on);
