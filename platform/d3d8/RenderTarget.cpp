// Render targets and depth surfaces of the device: the automatic depth buffer as a surface,
// depth surfaces made for textures, and switching what the device renders into.
#include "platform/d3d8/DeviceBase.h"
#include "platform/d3d8/Texture.h"

// ---- the automatic depth buffer ----

ULONG D3dAutoDepthSurface::AddRef() {
    ++m_refs;
    m_device->AddRef();
    return m_refs;
}

ULONG D3dAutoDepthSurface::Release() {
    if (m_refs == 0) return 0;
    ULONG left = --m_refs;
    m_device->Release(); // may free the device and this surface with it: nothing follows
    return left;
}

HRESULT D3dAutoDepthSurface::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    UINT w = 0, h = 0;
    m_device->BackBufferSize(&w, &h);
    *desc = {};
    desc->Format = m_device->PresentParams().AutoDepthStencilFormat;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = D3DUSAGE_DEPTHSTENCIL;
    desc->Pool = D3DPOOL_DEFAULT;
    desc->Width = w;
    desc->Height = h;
    return D3D_OK;
}

// ---- depth surfaces for textures ----

HRESULT D3dDepthSurface::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = {};
    desc->Format = m_format;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = D3DUSAGE_DEPTHSTENCIL;
    desc->Pool = D3DPOOL_DEFAULT;
    desc->Width = m_width;
    desc->Height = m_height;
    return D3D_OK;
}

bool D3dDeviceBase::MakeDepthStorage(D3dDepthSurface*) {
    return true;
}

void D3dDeviceBase::FreeDepthStorage(D3dDepthSurface*) {}

HRESULT D3dDeviceBase::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                                 D3DMULTISAMPLE_TYPE multiSample,
                                                 IDirect3DSurface8** surface) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    const bool known = format == D3DFMT_D32 || format == D3DFMT_D24S8 || format == D3DFMT_D24X8 ||
                       format == D3DFMT_D16;
    if (!known || width == 0 || height == 0 || multiSample != D3DMULTISAMPLE_NONE)
        return D3DERR_INVALIDCALL;
    auto* depth = new D3dDepthSurface(this, width, height, format);
    if (!MakeDepthStorage(depth)) {
        depth->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *surface = depth;
    return D3D_OK;
}

// ---- the render target ----

bool D3dDeviceBase::DepthBound() const {
    return m_depth || (m_autoDepthBound && HasDepth());
}

bool D3dDeviceBase::StencilBound() const {
    return m_depth ? m_depth->HasStencil() : (m_autoDepthBound && HasStencil());
}

void D3dDeviceBase::TargetSize(UINT* width, UINT* height) {
    D3DSURFACE_DESC desc{};
    if (m_target && SUCCEEDED(m_target->GetDesc(&desc))) {
        *width = desc.Width;
        *height = desc.Height;
        return;
    }
    BackBufferSize(width, height);
}

HRESULT D3dDeviceBase::SetRenderTarget(IDirect3DSurface8* target, IDirect3DSurface8* depth) {
    // The new target: null keeps the current one.
    D3dTextureSurface* level = m_target;
    if (target == &m_backBuffer) {
        level = nullptr;
    } else if (target) {
        level = dynamic_cast<D3dTextureSurface*>(target);
        auto* texture = level ? dynamic_cast<D3dTexture*>(level->Container()) : nullptr;
        if (!texture || texture->Device() != this || !(texture->Usage() & D3DUSAGE_RENDERTARGET))
            return D3DERR_INVALIDCALL;
    }
    D3dDepthSurface* made = nullptr;
    bool autoDepth = false;
    if (depth == &m_autoDepth) {
        if (level || !HasDepth()) return D3DERR_INVALIDCALL;
        autoDepth = true;
    } else if (depth) {
        made = dynamic_cast<D3dDepthSurface*>(depth);
        if (!made || made->Device() != this || !level) return D3DERR_INVALIDCALL;
    }
    UINT w = 0, h = 0;
    if (level) {
        D3DSURFACE_DESC desc{};
        if (FAILED(level->GetDesc(&desc))) return D3DERR_INVALIDCALL;
        w = desc.Width, h = desc.Height;
    } else {
        BackBufferSize(&w, &h);
    }
    if (made && (made->Width() < w || made->Height() < h)) return D3DERR_INVALIDCALL;

    if (level) level->AddRef();
    if (made) made->AddRef();
    if (m_target) m_target->Release();
    if (m_depth) m_depth->Release();
    m_target = level;
    m_depth = made;
    m_autoDepthBound = autoDepth;
    m_viewport = {0, 0, w, h, m_viewport.MinZ, m_viewport.MaxZ};
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetRenderTarget(IDirect3DSurface8** target) {
    if (!target) return D3DERR_INVALIDCALL;
    if (m_target) {
        m_target->AddRef();
        *target = m_target;
        return D3D_OK;
    }
    m_backBuffer.AddRef();
    *target = &m_backBuffer;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetDepthStencilSurface(IDirect3DSurface8** depth) {
    if (!depth) return D3DERR_INVALIDCALL;
    *depth = nullptr;
    if (m_depth) {
        m_depth->AddRef();
        *depth = m_depth;
        return D3D_OK;
    }
    if (!m_autoDepthBound || !HasDepth()) return D3DERR_NOTFOUND;
    m_autoDepth.AddRef();
    *depth = &m_autoDepth;
    return D3D_OK;
}
