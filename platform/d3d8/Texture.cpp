// Textures, cube textures and their level surfaces: creation rules, the level copies and
// locking. The GL side is in TextureGl.cpp.
#include "platform/d3d8/Texture.h"

#include <cstddef>
#include <new>

// ---- formats ----

D3dTexLayout D3dTexFormatLayout(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8: return {4, false};
        case D3DFMT_R8G8B8: return {3, false};
        case D3DFMT_R5G6B5:
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5:
        case D3DFMT_A4R4G4B4:
        case D3DFMT_X4R4G4B4: return {2, false};
        case D3DFMT_A8:
        case D3DFMT_L8: return {1, false};
        case D3DFMT_DXT1: return {8, true};
        case D3DFMT_DXT2:
        case D3DFMT_DXT3:
        case D3DFMT_DXT4:
        case D3DFMT_DXT5: return {16, true};
        default: return {0, false};
    }
}

UINT D3dTexPitch(D3DFORMAT format, UINT width) {
    D3dTexLayout l = D3dTexFormatLayout(format);
    if (l.compressed) return ((width + 3) / 4) * l.bytes;
    return (width * l.bytes + 3) & ~3u;
}

UINT D3dTexRows(D3DFORMAT format, UINT height) {
    return D3dTexFormatLayout(format).compressed ? (height + 3) / 4 : height;
}

UINT D3dTexFullChain(UINT width, UINT height) {
    UINT n = 1;
    while (width > 1 || height > 1) {
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
        ++n;
    }
    return n;
}

// ---- level store ----

namespace {

// Beyond what GL's llvmpipe makes (8192) and what any caller asks.
constexpr UINT kMaxSide = 8192;

} // namespace

bool D3dTexLevels::Init(UINT width, UINT height, UINT levels, D3DFORMAT format, UINT faces) {
    if (D3dTexFormatLayout(format).bytes == 0) return false;
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return false;
    UINT full = D3dTexFullChain(width, height);
    if (levels == 0) levels = full;
    if (levels > full) return false;
    m_format = format;
    m_count = levels;
    m_faces = faces;
    m_levels.resize(size_t(faces) * levels);
    for (UINT f = 0; f < faces; ++f) {
        UINT w = width, h = height;
        for (UINT i = 0; i < levels; ++i) {
            Level& l = m_levels[f * levels + i];
            l.width = w;
            l.height = h;
            l.pitch = D3dTexPitch(format, w);
            l.rows = D3dTexRows(format, h);
            l.bytes.assign(size_t(l.pitch) * l.rows, 0);
            w = w > 1 ? w / 2 : 1;
            h = h > 1 ? h / 2 : 1;
        }
    }
    return true;
}

HRESULT D3dTexLevels::Desc(UINT level, DWORD usage, D3DPOOL pool, D3DSURFACE_DESC* desc) const {
    const Level* l = At(0, level);
    if (!l || !desc) return D3DERR_INVALIDCALL;
    desc->Format = m_format;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = usage;
    desc->Pool = pool;
    desc->Size = UINT(l->bytes.size());
    desc->MultiSampleType = D3DMULTISAMPLE_NONE;
    desc->Width = l->width;
    desc->Height = l->height;
    return D3D_OK;
}

HRESULT D3dTexLevels::Lock(UINT face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                           DWORD flags) {
    Level* l = At(face, level);
    if (!l || !locked || l->locked) return D3DERR_INVALIDCALL;
    size_t offset = 0;
    if (rect) {
        bool inside = rect->left >= 0 && rect->top >= 0 && rect->left < rect->right &&
                      rect->top < rect->bottom && UINT(rect->right) <= l->width &&
                      UINT(rect->bottom) <= l->height;
        D3dTexLayout layout = D3dTexFormatLayout(m_format);
        if (layout.compressed && ((rect->left | rect->top) & 3)) inside = false;
        if (!inside) return D3DERR_INVALIDCALL;
        offset = layout.compressed
                     ? size_t(rect->top / 4) * l->pitch + size_t(rect->left / 4) * layout.bytes
                     : size_t(rect->top) * l->pitch + size_t(rect->left) * layout.bytes;
    }
    l->locked = true;
    l->readOnly = (flags & D3DLOCK_READONLY) != 0;
    locked->Pitch = int32_t(l->pitch);
    locked->pBits = l->bytes.data() + offset;
    return D3D_OK;
}

HRESULT D3dTexLevels::Unlock(UINT face, UINT level, bool* changed) {
    Level* l = At(face, level);
    if (!l || !l->locked) return D3DERR_INVALIDCALL;
    l->locked = false;
    *changed = !l->readOnly;
    return D3D_OK;
}

// ---- surfaces ----

namespace {

// Render targets live in the default pool; everything else may not be a render target.
bool UsageOk(DWORD usage, D3DPOOL pool) {
    if (usage & ~DWORD(D3DUSAGE_RENDERTARGET)) return false;
    if (usage & D3DUSAGE_RENDERTARGET) return pool == D3DPOOL_DEFAULT;
    return pool == D3DPOOL_MANAGED || pool == D3DPOOL_DEFAULT || pool == D3DPOOL_SYSTEMMEM;
}

} // namespace

// ---- what both share ----

HRESULT D3dTextureCommon::Build(D3dDeviceBase* device, UINT width, UINT height, UINT levels,
                                D3DFORMAT format, UINT faces) {
    if (!m_store.Init(width, height, levels, format, faces)) return D3DERR_INVALIDCALL;
    return GlCreate(device, faces == 6) ? D3D_OK : D3DERR_OUTOFVIDEOMEMORY;
}

HRESULT D3dTextureCommon::Unlock(UINT face, UINT level) {
    bool changed = false;
    HRESULT hr = m_store.Unlock(face, level, &changed);
    if (SUCCEEDED(hr) && changed) GlUpload(face, level);
    return hr;
}

// ---- 2D textures ----

D3dTexture* D3dTexture::Create(D3dDeviceBase* device, UINT width, UINT height, UINT levels,
                               DWORD usage, D3DFORMAT format, D3DPOOL pool, HRESULT* hr) {
    *hr = D3DERR_INVALIDCALL;
    if (!UsageOk(usage, pool)) return nullptr;
    if ((usage & D3DUSAGE_RENDERTARGET) && D3dTexFormatLayout(format).compressed) return nullptr;
    return Finish(new (std::nothrow) D3dTexture(device, pool, usage), hr, device, width, height,
                  levels, format, 1);
}

HRESULT D3dTexture::GetSurfaceLevel(UINT level, IDirect3DSurface8** surface) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (level >= m_store.Count()) return D3DERR_INVALIDCALL;
    *surface = new D3dTextureSurface(this, 0, level);
    return D3D_OK;
}

// Render targets are drawn by GL and have no copy to hand out, as in Direct3D.
HRESULT D3dTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (m_usage & D3DUSAGE_RENDERTARGET) return D3DERR_INVALIDCALL;
    return m_store.Lock(0, level, locked, rect, flags);
}

// ---- cube textures ----

D3dCubeTexture* D3dCubeTexture::Create(D3dDeviceBase* device, UINT edge, UINT levels, DWORD usage,
                                       D3DFORMAT format, D3DPOOL pool, HRESULT* hr) {
    *hr = D3DERR_INVALIDCALL;
    if (!UsageOk(usage, pool) || (usage & D3DUSAGE_RENDERTARGET)) return nullptr;
    return Finish(new (std::nothrow) D3dCubeTexture(device, pool, usage), hr, device, edge, edge,
                  levels, format, 6);
}

HRESULT D3dCubeTexture::GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level,
                                          IDirect3DSurface8** surface) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (face >= 6 || level >= m_store.Count()) return D3DERR_INVALIDCALL;
    *surface = new D3dTextureSurface(this, face, level);
    return D3D_OK;
}
