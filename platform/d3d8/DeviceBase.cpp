// Direct3D 8's device semantics without output (see DeviceBase.h).
#include "platform/d3d8/DeviceBase.h"

#include "platform/PlatLog.h"
#include "platform/d3d8/Buffers.h"
#include "platform/d3d8/Texture.h"

#include <cstring>

// ---- back-buffer surface ----

ULONG D3dBackBufferSurface::AddRef() {
    ++m_refs;
    m_device->AddRef();
    return m_refs;
}

ULONG D3dBackBufferSurface::Release() {
    if (m_refs == 0) return 0;
    ULONG left = --m_refs;
    if (left == 0 && m_locked) UnlockRect();
    m_device->Release(); // may free the device and this surface with it: nothing follows
    return left;
}

HRESULT D3dBackBufferSurface::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    UINT w = 0, h = 0;
    m_device->BackBufferSize(&w, &h);
    *desc = {};
    desc->Format = m_device->PresentParams().BackBufferFormat;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = D3DUSAGE_RENDERTARGET;
    desc->Pool = D3DPOOL_DEFAULT;
    desc->Size = w * h * 4;
    desc->Width = w;
    desc->Height = h;
    return D3D_OK;
}

HRESULT D3dBackBufferSurface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
    if (!locked || m_locked) return D3DERR_INVALIDCALL;
    // Direct3D refuses to lock a back buffer not created lockable; so do we, so that a caller
    // that forgets the flag fails here as it would there.
    if (!(m_device->PresentParams().Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER))
        return D3DERR_INVALIDCALL;
    UINT w = 0, h = 0;
    m_device->BackBufferSize(&w, &h);
    RECT r = rect ? *rect : RECT{0, 0, (int32_t)w, (int32_t)h};
    if (r.left < 0 || r.top < 0 || r.right > (int32_t)w || r.bottom > (int32_t)h ||
        r.left >= r.right || r.top >= r.bottom)
        return D3DERR_INVALIDCALL;
    int32_t pitch = (r.right - r.left) * 4;
    m_pixels.assign((size_t)pitch * (size_t)(r.bottom - r.top), 0);
    m_device->ReadBackBuffer(r, m_pixels.data(), pitch);
    locked->Pitch = pitch;
    locked->pBits = m_pixels.data();
    m_locked = true;
    return D3D_OK;
}

// What a caller writes into a locked back buffer is not shown: no caller of this system writes.
HRESULT D3dBackBufferSurface::UnlockRect() {
    if (!m_locked) return D3DERR_INVALIDCALL;
    m_locked = false;
    m_pixels.clear();
    m_pixels.shrink_to_fit();
    return D3D_OK;
}

// ---- construction ----

D3dDeviceBase::D3dDeviceBase(IDirect3D8* d3d, const D3DPRESENT_PARAMETERS& params,
                             DWORD behaviorFlags)
    : m_d3d(d3d), m_params(params), m_behavior(behaviorFlags), m_backBuffer(this),
      m_autoDepth(this) {
    if (m_d3d) m_d3d->AddRef();
    std::memset(m_renderStates, 0, sizeof m_renderStates);
    std::memset(m_stageStates, 0, sizeof m_stageStates);
    ResetStates();
}

D3dDeviceBase::~D3dDeviceBase() {
    for (IDirect3DBaseTexture8*& t : m_textures) {
        if (t) t->Release();
        t = nullptr;
    }
    SetStreamSource(0, nullptr, 0);
    SetIndices(nullptr, 0);
    if (m_d3d) m_d3d->Release();
}

ULONG D3dDeviceBase::AddRef() {
    return ++m_refs;
}

ULONG D3dDeviceBase::Release() {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

bool D3dDeviceBase::HasDepth() const {
    return m_params.EnableAutoDepthStencil && m_params.AutoDepthStencilFormat != D3DFMT_UNKNOWN;
}

bool D3dDeviceBase::HasStencil() const {
    if (!HasDepth()) return false;
    D3DFORMAT f = m_params.AutoDepthStencilFormat;
    return f == D3DFMT_D24S8 || f == D3DFMT_D15S1 || f == D3DFMT_D24X4S4;
}

void D3dDeviceBase::BackBufferSize(UINT* width, UINT* height) {
    *width = m_params.BackBufferWidth;
    *height = m_params.BackBufferHeight;
}

void D3dDeviceBase::ReadBackBuffer(const RECT& rect, uint8_t* out, int32_t pitch) {
    for (int32_t y = rect.top; y < rect.bottom; ++y)
        std::memset(out + (size_t)(y - rect.top) * (size_t)pitch, 0,
                    (size_t)(rect.right - rect.left) * 4);
}

// Direct3D 8's documented defaults, for every state the layer keeps.
void D3dDeviceBase::ResetStates() {
    DWORD* rs = m_renderStates;
    std::memset(m_renderStates, 0, sizeof m_renderStates);
    rs[D3DRS_ZENABLE] = HasDepth() ? D3DZB_TRUE : D3DZB_FALSE;
    rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    rs[D3DRS_ZWRITEENABLE] = 1;
    rs[D3DRS_LASTPIXEL] = 1;
    rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    rs[D3DRS_CULLMODE] = D3DCULL_CCW;
    rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_FOGSTART] = D3dFloatBits(0.0f);
    rs[D3DRS_FOGEND] = D3dFloatBits(1.0f);
    rs[D3DRS_FOGDENSITY] = D3dFloatBits(1.0f);
    rs[D3DRS_STENCILFAIL] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILZFAIL] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_STENCILMASK] = 0xFFFFFFFFu;
    rs[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFFu;
    rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
    rs[D3DRS_CLIPPING] = 1;
    rs[D3DRS_LIGHTING] = 1;
    rs[D3DRS_AMBIENT] = 0;
    rs[D3DRS_FOGVERTEXMODE] = D3DFOG_NONE;
    rs[D3DRS_COLORVERTEX] = 1;
    rs[D3DRS_LOCALVIEWER] = 1;
    rs[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    rs[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    rs[D3DRS_AMBIENTMATERIALSOURCE] = D3DMCS_MATERIAL;
    rs[D3DRS_EMISSIVEMATERIALSOURCE] = D3DMCS_MATERIAL;
    rs[D3DRS_SOFTWAREVERTEXPROCESSING] =
        (m_behavior & D3DCREATE_SOFTWARE_VERTEXPROCESSING) ? 1u : 0u;
    rs[D3DRS_POINTSIZE] = D3dFloatBits(1.0f);
    rs[D3DRS_POINTSIZE_MIN] = D3dFloatBits(0.0f);
    rs[D3DRS_POINTSCALE_A] = D3dFloatBits(1.0f);
    rs[D3DRS_POINTSCALE_B] = D3dFloatBits(0.0f);
    rs[D3DRS_POINTSCALE_C] = D3dFloatBits(0.0f);
    rs[D3DRS_MULTISAMPLEANTIALIAS] = 1;
    rs[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFFu;
    rs[D3DRS_PATCHSEGMENTS] = D3dFloatBits(1.0f);
    rs[D3DRS_POINTSIZE_MAX] = D3dFloatBits(64.0f);
    rs[D3DRS_COLORWRITEENABLE] = 0x0F;
    rs[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    rs[D3DRS_POSITIONORDER] = 3; // cubic
    rs[D3DRS_NORMALORDER] = 1;   // linear

    for (DWORD s = 0; s < D3D_MAX_TEXTURE_STAGES; ++s) {
        DWORD* ts = m_stageStates[s];
        std::memset(ts, 0, sizeof m_stageStates[s]);
        ts[D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        ts[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        ts[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        ts[D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        ts[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        ts[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        ts[D3DTSS_TEXCOORDINDEX] = s;
        ts[D3DTSS_ADDRESSU] = D3DTADDRESS_WRAP;
        ts[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
        ts[D3DTSS_ADDRESSW] = D3DTADDRESS_WRAP;
        ts[D3DTSS_MAGFILTER] = D3DTEXF_POINT;
        ts[D3DTSS_MINFILTER] = D3DTEXF_POINT;
        ts[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
        ts[D3DTSS_MAXANISOTROPY] = 1;
        ts[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
        ts[D3DTSS_COLORARG0] = D3DTA_CURRENT;
        ts[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
        ts[D3DTSS_RESULTARG] = D3DTA_CURRENT;
        if (m_textures[s]) m_textures[s]->Release();
        m_textures[s] = nullptr;
    }

    for (D3DMATRIX& m : m_transforms) {
        m = {};
        m.m[0] = m.m[5] = m.m[10] = m.m[15] = 1.0f;
    }
    // A reset renders into the back buffer again (nothing else can be held across one).
    m_autoDepthBound = true;
    UINT w = 0, h = 0;
    BackBufferSize(&w, &h);
    m_viewport = {0, 0, w, h, 0.0f, 1.0f};
    m_material = {};
    m_lights.clear(); // a reset device has no lights
    m_fvf = 0;
    // A reset unbinds the buffers, as Direct3D's does.
    D3dDeviceBase::SetStreamSource(0, nullptr, 0);
    D3dDeviceBase::SetIndices(nullptr, 0);
}

// ---- cooperative level and reset ----

void D3dDeviceBase::TestLoseDevice() {
    if (m_coop == Coop::Ok) m_coop = Coop::Lost;
}

void D3dDeviceBase::TestKeepLost(bool on) {
    m_keepLost = on;
    if (on && m_coop == Coop::Ok) m_coop = Coop::Lost;
}

HRESULT D3dDeviceBase::TestCooperativeLevel() {
    switch (m_coop) {
        case Coop::Ok: return D3D_OK;
        case Coop::Lost:
            if (!m_keepLost) m_coop = Coop::NotReset;
            return D3DERR_DEVICELOST;
        case Coop::NotReset: return D3DERR_DEVICENOTRESET;
    }
    return D3D_OK;
}

HRESULT D3dDeviceBase::OnReset(const D3DPRESENT_PARAMETERS&) {
    return D3D_OK;
}

// As in Direct3D, a failed Reset leaves the device waiting for another.
HRESULT D3dDeviceBase::Reset(D3DPRESENT_PARAMETERS* params) {
    if (!params) return D3DERR_INVALIDCALL;
    if (m_coop == Coop::Lost) return D3DERR_DEVICELOST;
    const int held =
        m_defaultPoolLive + (int)m_backBuffer.ExternalRefs() + (int)m_autoDepth.ExternalRefs();
    if (held > 0) {
        PlatLogf(PLAT_LOG_RENDER, "D3d8: Reset refused: %i default-pool resource(s) still held\n",
                 held);
        m_coop = Coop::NotReset;
        return D3DERR_INVALIDCALL;
    }
    if (m_failResets > 0) {
        --m_failResets;
        m_coop = Coop::NotReset;
        return D3DERR_DEVICELOST;
    }
    D3DPRESENT_PARAMETERS old = m_params;
    m_params = *params;
    HRESULT hr = OnReset(m_params);
    if (FAILED(hr)) {
        m_params = old;
        m_coop = Coop::NotReset;
        return hr;
    }
    m_inScene = false;
    ResetStates();
    m_coop = Coop::Ok;
    return D3D_OK;
}

HRESULT D3dDeviceBase::Present(const RECT*, const RECT*, HWND, const void*) {
    m_presented = m_coop == Coop::Ok;
    return m_presented ? D3D_OK : D3DERR_DEVICELOST;
}

// ---- queries ----

HRESULT D3dDeviceBase::GetDirect3D(IDirect3D8** d3d) {
    if (!d3d || !m_d3d) return D3DERR_INVALIDCALL;
    m_d3d->AddRef();
    *d3d = m_d3d;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetDeviceCaps(D3DCAPS8* caps) {
    if (!caps || !m_d3d) return D3DERR_INVALIDCALL;
    return m_d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, caps);
}

HRESULT D3dDeviceBase::GetDisplayMode(D3DDISPLAYMODE* mode) {
    if (!mode || !m_d3d) return D3DERR_INVALIDCALL;
    return m_d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, mode);
}

HRESULT D3dDeviceBase::GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE, IDirect3DSurface8** surface) {
    if (!surface || index >= (m_params.BackBufferCount ? m_params.BackBufferCount : 1))
        return D3DERR_INVALIDCALL;
    m_backBuffer.AddRef();
    *surface = &m_backBuffer;
    return D3D_OK;
}

// ---- resources that later layers supply ----

HRESULT D3dDeviceBase::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                     D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture) {
    if (!texture) return D3DERR_INVALIDCALL;
    HRESULT hr = D3D_OK;
    *texture = D3dTexture::Create(this, width, height, levels, usage, format, pool, &hr);
    return hr;
}

HRESULT D3dDeviceBase::CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format,
                                         D3DPOOL pool, IDirect3DCubeTexture8** texture) {
    if (!texture) return D3DERR_INVALIDCALL;
    HRESULT hr = D3D_OK;
    *texture = D3dCubeTexture::Create(this, edge, levels, usage, format, pool, &hr);
    return hr;
}

HRESULT D3dDeviceBase::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                          IDirect3DVertexBuffer8** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    HRESULT hr = D3D_OK;
    *buffer = D3dVertexBuffer::Create(this, length, usage, fvf, pool, &hr);
    return hr;
}

HRESULT D3dDeviceBase::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                         IDirect3DIndexBuffer8** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    HRESULT hr = D3D_OK;
    *buffer = D3dIndexBuffer::Create(this, length, usage, format, pool, &hr);
    return hr;
}

void D3dDeviceBase::NoteBufferLock(bool, UINT, UINT, DWORD) {}

void D3dDeviceBase::NoteBufferUnlock(bool) {}

// ---- lights ----

HRESULT D3dDeviceBase::SetLight(DWORD index, const D3DLIGHT8* light) {
    if (!light || index >= kLightIndexLimit) return D3DERR_INVALIDCALL;
    if (light->Type < D3DLIGHT_POINT || light->Type > D3DLIGHT_DIRECTIONAL)
        return D3DERR_INVALIDCALL;
    if (index >= m_lights.size()) m_lights.resize(index + 1, D3dLightSlot{});
    m_lights[index].light = *light;
    m_lights[index].set = true;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetLight(DWORD index, D3DLIGHT8* light) {
    if (!light || index >= m_lights.size() || !m_lights[index].set) return D3DERR_INVALIDCALL;
    *light = m_lights[index].light;
    return D3D_OK;
}

// As Direct3D does, enabling an index never set makes a white directional light along +z.
HRESULT D3dDeviceBase::LightEnable(DWORD index, BOOL enable) {
    if (index >= kLightIndexLimit) return D3DERR_INVALIDCALL;
    if (index >= m_lights.size()) m_lights.resize(index + 1, D3dLightSlot{});
    D3dLightSlot& slot = m_lights[index];
    if (!slot.set) {
        slot.light = D3DLIGHT8{};
        slot.light.Type = D3DLIGHT_DIRECTIONAL;
        slot.light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
        slot.light.Direction = {0.0f, 0.0f, 1.0f};
        slot.set = true;
    }
    slot.enabled = enable != 0;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetLightEnable(DWORD index, BOOL* enable) {
    if (!enable || index >= m_lights.size() || !m_lights[index].set) return D3DERR_INVALIDCALL;
    *enable = m_lights[index].enabled ? 1 : 0;
    return D3D_OK;
}

// ---- frames ----

HRESULT D3dDeviceBase::BeginScene() {
    if (m_inScene) return D3DERR_INVALIDCALL;
    m_inScene = true;
    m_presented = false;
    return D3D_OK;
}

HRESULT D3dDeviceBase::EndScene() {
    if (!m_inScene) return D3DERR_INVALIDCALL;
    m_inScene = false;
    return D3D_OK;
}

HRESULT D3dDeviceBase::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR, float z,
                             DWORD) {
    if (count && !rects) return D3DERR_INVALIDCALL;
    if (flags & ~(DWORD)(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL))
        return D3DERR_INVALIDCALL;
    if ((flags & D3DCLEAR_ZBUFFER) && !DepthBound()) return D3DERR_INVALIDCALL;
    if ((flags & D3DCLEAR_STENCIL) && !StencilBound()) return D3DERR_INVALIDCALL;
    if ((flags & D3DCLEAR_ZBUFFER) && !(z >= 0.0f && z <= 1.0f)) return D3DERR_INVALIDCALL;
    return D3D_OK;
}

// ---- states ----

D3DMATRIX* D3dDeviceBase::TransformSlot(D3DTRANSFORMSTATETYPE type) {
    if (type == D3DTS_WORLD) return &m_transforms[0];
    if (type == D3DTS_VIEW) return &m_transforms[1];
    if (type == D3DTS_PROJECTION) return &m_transforms[2];
    if (type >= D3DTS_TEXTURE0 && type <= D3DTS_TEXTURE7)
        return &m_transforms[3 + (type - D3DTS_TEXTURE0)];
    return nullptr;
}

HRESULT D3dDeviceBase::SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix) {
    D3DMATRIX* slot = TransformSlot(type);
    if (!slot || !matrix) return D3DERR_INVALIDCALL;
    *slot = *matrix;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetTransform(D3DTRANSFORMSTATETYPE type, D3DMATRIX* matrix) {
    D3DMATRIX* slot = TransformSlot(type);
    if (!slot || !matrix) return D3DERR_INVALIDCALL;
    *matrix = *slot;
    return D3D_OK;
}

// Like Direct3D, a viewport must lie inside the render target.
HRESULT D3dDeviceBase::SetViewport(const D3DVIEWPORT8* viewport) {
    if (!viewport) return D3DERR_INVALIDCALL;
    UINT w = 0, h = 0;
    TargetSize(&w, &h);
    const D3DVIEWPORT8& v = *viewport;
    if ((uint64_t)v.X + v.Width > w || (uint64_t)v.Y + v.Height > h) return D3DERR_INVALIDCALL;
    if (!(v.MinZ >= 0.0f && v.MaxZ <= 1.0f && v.MinZ <= v.MaxZ)) return D3DERR_INVALIDCALL;
    m_viewport = v;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetViewport(D3DVIEWPORT8* viewport) {
    if (!viewport) return D3DERR_INVALIDCALL;
    *viewport = m_viewport;
    return D3D_OK;
}

HRESULT D3dDeviceBase::SetMaterial(const D3DMATERIAL8* material) {
    if (!material) return D3DERR_INVALIDCALL;
    m_material = *material;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetMaterial(D3DMATERIAL8* material) {
    if (!material) return D3DERR_INVALIDCALL;
    *material = m_material;
    return D3D_OK;
}

HRESULT D3dDeviceBase::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (state >= D3D_RENDERSTATE_COUNT) return D3DERR_INVALIDCALL;
    m_renderStates[state] = value;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (state >= D3D_RENDERSTATE_COUNT || !value) return D3DERR_INVALIDCALL;
    *value = m_renderStates[state];
    return D3D_OK;
}

HRESULT D3dDeviceBase::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                            DWORD value) {
    if (stage >= D3D_MAX_TEXTURE_STAGES || type >= D3D_STAGESTATE_COUNT) return D3DERR_INVALIDCALL;
    m_stageStates[stage][type] = value;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                            DWORD* value) {
    if (stage >= D3D_MAX_TEXTURE_STAGES || type >= D3D_STAGESTATE_COUNT || !value)
        return D3DERR_INVALIDCALL;
    *value = m_stageStates[stage][type];
    return D3D_OK;
}

HRESULT D3dDeviceBase::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
    if (stage >= D3D_MAX_TEXTURE_STAGES) return D3DERR_INVALIDCALL;
    if (texture) texture->AddRef();
    if (m_textures[stage]) m_textures[stage]->Release();
    m_textures[stage] = texture;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetTexture(DWORD stage, IDirect3DBaseTexture8** texture) {
    if (stage >= D3D_MAX_TEXTURE_STAGES || !texture) return D3DERR_INVALIDCALL;
    *texture = m_textures[stage];
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
}

HRESULT D3dDeviceBase::ValidateDevice(DWORD* passes) {
    if (passes) *passes = 1;
    return D3D_OK;
}

HRESULT D3dDeviceBase::SetVertexShader(DWORD fvf) {
    m_fvf = fvf;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetVertexShader(DWORD* fvf) {
    if (!fvf) return D3DERR_INVALIDCALL;
    *fvf = m_fvf;
    return D3D_OK;
}

// ---- drawing ----

UINT D3dDeviceBase::VertexCount(D3DPRIMITIVETYPE type, UINT primCount) {
    switch (type) {
        case D3DPT_POINTLIST: return primCount;
        case D3DPT_LINELIST: return primCount * 2;
        case D3DPT_LINESTRIP: return primCount ? primCount + 1 : 0;
        case D3DPT_TRIANGLELIST: return primCount * 3;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN: return primCount ? primCount + 2 : 0;
        default: return 0;
    }
}

UINT D3dDeviceBase::FvfStride(DWORD fvf) {
    UINT bytes;
    switch (fvf & D3DFVF_POSITION_MASK) {
        case D3DFVF_XYZ: bytes = 12; break;
        case D3DFVF_XYZRHW: bytes = 16; break;
        default: return 0;
    }
    if (fvf & D3DFVF_NORMAL) bytes += 12;
    if (fvf & D3DFVF_PSIZE) bytes += 4;
    if (fvf & D3DFVF_DIFFUSE) bytes += 4;
    if (fvf & D3DFVF_SPECULAR) bytes += 4;
    UINT sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    for (UINT s = 0; s < sets && s < 8; ++s) {
        switch ((fvf >> (16 + 2 * s)) & 3) {
            case 0: bytes += 8; break;
            case 1: bytes += 12; break;
            case 2: bytes += 16; break;
            default: bytes += 4; break;
        }
    }
    return bytes;
}

HRESULT D3dDeviceBase::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primCount, const void* vertices,
                                       UINT stride) {
    if (!vertices || VertexCount(type, primCount) == 0 || FvfStride(m_fvf) == 0 ||
        stride < FvfStride(m_fvf))
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

// ---- buffers ----

HRESULT D3dDeviceBase::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
    if (stream != 0) return D3DERR_INVALIDCALL;
    if (buffer) buffer->AddRef();
    if (m_stream) m_stream->Release();
    m_stream = buffer;
    m_streamStride = buffer ? stride : 0;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetStreamSource(UINT stream, IDirect3DVertexBuffer8** buffer, UINT* stride) {
    if (stream != 0 || !buffer || !stride) return D3DERR_INVALIDCALL;
    *buffer = m_stream;
    *stride = m_streamStride;
    if (m_stream) m_stream->AddRef();
    return D3D_OK;
}

HRESULT D3dDeviceBase::SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) {
    if (buffer) buffer->AddRef();
    if (m_indices) m_indices->Release();
    m_indices = buffer;
    m_baseVertex = baseVertexIndex;
    return D3D_OK;
}

HRESULT D3dDeviceBase::GetIndices(IDirect3DIndexBuffer8** buffer, UINT* baseVertexIndex) {
    if (!buffer || !baseVertexIndex) return D3DERR_INVALIDCALL;
    *buffer = m_indices;
    *baseVertexIndex = m_baseVertex;
    if (m_indices) m_indices->AddRef();
    return D3D_OK;
}

// The bound stream as the layer's own buffer with room for `first` + `count` vertices; null
// when there is none, it is not ours, or it is too short. Sizes are worked in 64 bits so that
// no UINT product can wrap past the check.
static const D3dVertexBuffer* StreamWithRoom(IDirect3DVertexBuffer8* stream, UINT stride,
                                             uint64_t first, uint64_t count) {
    auto* vb = dynamic_cast<D3dVertexBuffer*>(stream);
    if (!vb || stride == 0) return nullptr;
    return (first + count) * stride <= vb->Store().Length() ? vb : nullptr;
}

HRESULT D3dDeviceBase::ResolveDraw(D3DPRIMITIVETYPE type, UINT startVertex, UINT primCount,
                                   DrawSource* out) {
    UINT count = VertexCount(type, primCount);
    UINT need = FvfStride(m_fvf);
    if (count == 0 || need == 0 || m_streamStride < need) return D3DERR_INVALIDCALL;
    const D3dVertexBuffer* vb = StreamWithRoom(m_stream, m_streamStride, startVertex, count);
    if (!vb) return D3DERR_INVALIDCALL;
    *out = DrawSource{vb->Store().Data() + (size_t)startVertex * m_streamStride, m_streamStride,
                      nullptr, 0, count};
    return D3D_OK;
}

HRESULT D3dDeviceBase::ResolveIndexedDraw(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices,
                                          UINT startIndex, UINT primCount, DrawSource* out) {
    UINT count = VertexCount(type, primCount);
    UINT need = FvfStride(m_fvf);
    if (count == 0 || numVertices == 0 || need == 0 || m_streamStride < need)
        return D3DERR_INVALIDCALL;
    auto* ib = dynamic_cast<D3dIndexBuffer*>(m_indices);
    if (!ib) return D3DERR_INVALIDCALL;
    const UINT size = ib->IndexSize();
    if (((uint64_t)startIndex + count) * size > ib->Store().Length()) return D3DERR_INVALIDCALL;
    const D3dVertexBuffer* vb =
        StreamWithRoom(m_stream, m_streamStride, (uint64_t)m_baseVertex + minIndex, numVertices);
    if (!vb) return D3DERR_INVALIDCALL;
    const uint8_t* first = ib->Store().Data() + (size_t)startIndex * size;
    const uint64_t last = (uint64_t)minIndex + numVertices - 1;
    for (UINT i = 0; i < count; ++i) {
        uint32_t index;
        if (size == 2) {
            uint16_t v;
            std::memcpy(&v, first + (size_t)i * 2, 2);
            index = v;
        } else {
            std::memcpy(&index, first + (size_t)i * 4, 4);
        }
        if (index < minIndex || index > last) return D3DERR_INVALIDCALL;
    }
    *out = DrawSource{vb->Store().Data() + (size_t)m_baseVertex * m_streamStride, m_streamStride,
                      first, size, count};
    return D3D_OK;
}

HRESULT D3dDeviceBase::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primCount) {
    DrawSource source;
    return ResolveDraw(type, startVertex, primCount, &source);
}

HRESULT D3dDeviceBase::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices,
                                            UINT startIndex, UINT primCount) {
    DrawSource source;
    return ResolveIndexedDraw(type, minIndex, numVertices, startIndex, primCount, &source);
}

// ---- test hooks ----

void D3dTestLoseDevice(IDirect3DDevice8* device) {
    if (auto* d = dynamic_cast<D3dDeviceBase*>(device)) d->TestLoseDevice();
}

void D3dTestKeepLost(IDirect3DDevice8* device, int on) {
    if (auto* d = dynamic_cast<D3dDeviceBase*>(device)) d->TestKeepLost(on != 0);
}

void D3dTestFailResets(IDirect3DDevice8* device, int n) {
    if (auto* d = dynamic_cast<D3dDeviceBase*>(device)) d->TestFailResets(n);
}
