// Direct3D 8's device semantics without any output: reference counts, the states with their
// documented defaults, transforms, viewport, bound textures, scenes, and the loss and reset
// protocol with its default-pool rule. The GL device and the recording device build on it.
#pragma once

#include "platform/d3d8/D3d8.h"

#include <vector>

class D3dDeviceBase;

// A light index the device has been given (by SetLight, or by LightEnable, which makes a
// default light of an index never set).
struct D3dLightSlot {
    D3DLIGHT8 light;
    bool set;
    bool enabled;
};

// The back buffer as a surface. The device owns it; references taken by GetRenderTarget and
// GetBackBuffer keep the device alive and, like any default-pool resource, block Reset.
class D3dBackBufferSurface final : public IDirect3DSurface8 {
  public:
    explicit D3dBackBufferSurface(D3dDeviceBase* device) : m_device(device) {}
    ~D3dBackBufferSurface() override = default;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

    ULONG ExternalRefs() const { return m_refs; }
    bool Locked() const { return m_locked; }

  private:
    D3dDeviceBase* m_device;
    ULONG m_refs = 0;
    bool m_locked = false;
    std::vector<uint8_t> m_pixels;
};

// The automatic depth-stencil buffer as a surface: owned by the device like the back buffer, and
// like it a reference blocks Reset.
class D3dAutoDepthSurface final : public IDirect3DSurface8 {
  public:
    explicit D3dAutoDepthSurface(D3dDeviceBase* device) : m_device(device) {}
    ~D3dAutoDepthSurface() override = default;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    // Depth buffers are not lockable in the formats the layer offers.
    HRESULT LockRect(D3DLOCKED_RECT*, const RECT*, DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT UnlockRect() override { return D3DERR_INVALIDCALL; }

    ULONG ExternalRefs() const { return m_refs; }

  private:
    D3dDeviceBase* m_device;
    ULONG m_refs = 0;
};

class D3dDepthSurface;
class D3dTextureSurface;

class D3dDeviceBase : public IDirect3DDevice8 {
  public:
    // Takes a reference on d3d; `params` must already be validated by the creator.
    D3dDeviceBase(IDirect3D8* d3d, const D3DPRESENT_PARAMETERS& params, DWORD behaviorFlags);

    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT TestCooperativeLevel() override;
    HRESULT GetDirect3D(IDirect3D8** d3d) override;
    HRESULT GetDeviceCaps(D3DCAPS8* caps) override;
    HRESULT GetDisplayMode(D3DDISPLAYMODE* mode) override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* params) override;
    HRESULT Present(const RECT* source, const RECT* dest, HWND destWindow,
                    const void* dirtyRegion) override;
    HRESULT GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type,
                          IDirect3DSurface8** surface) override;

    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture8** texture) override;
    HRESULT CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DCubeTexture8** texture) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer8** buffer) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer8** buffer) override;
    // D32, D24S8, D24X8 or D16 (the formats GL can make), no multisampling; default pool.
    HRESULT CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                      D3DMULTISAMPLE_TYPE multiSample,
                                      IDirect3DSurface8** surface) override;
    // A null target keeps the current one; a null depth draws without depth. The layer pairs the
    // back buffer with its automatic depth buffer (or none), and a level of a render-target
    // texture with a surface of CreateDepthStencilSurface (or none); the depth surface must be
    // at least the target's size. The viewport becomes the whole new target. The device holds
    // a reference on what it renders into.
    HRESULT SetRenderTarget(IDirect3DSurface8* target, IDirect3DSurface8* depth) override;
    HRESULT GetRenderTarget(IDirect3DSurface8** target) override;
    HRESULT GetDepthStencilSurface(IDirect3DSurface8** depth) override;

    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;

    HRESULT SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE type, D3DMATRIX* matrix) override;
    HRESULT SetViewport(const D3DVIEWPORT8* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT8* viewport) override;
    HRESULT SetMaterial(const D3DMATERIAL8* material) override;
    HRESULT GetMaterial(D3DMATERIAL8* material) override;
    HRESULT SetLight(DWORD index, const D3DLIGHT8* light) override;
    HRESULT GetLight(DWORD index, D3DLIGHT8* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT GetLightEnable(DWORD index, BOOL* enable) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture8** texture) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT ValidateDevice(DWORD* passes) override;

    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices,
                                 UINT startIndex, UINT primCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primCount, const void* vertices,
                            UINT stride) override;
    HRESULT SetVertexShader(DWORD fvf) override;
    HRESULT GetVertexShader(DWORD* fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override;
    HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer8** buffer, UINT* stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) override;
    HRESULT GetIndices(IDirect3DIndexBuffer8** buffer, UINT* baseVertexIndex) override;

    // ---- for the test hooks and the resources ----
    void TestLoseDevice();
    void TestKeepLost(bool on);
    void TestFailResets(int n) { m_failResets = n < 0 ? 0 : n; }
    // Resources created in the default pool report themselves here while they live; Reset is
    // refused while any does.
    void DefaultPoolAdded() { ++m_defaultPoolLive; }
    void DefaultPoolRemoved() { --m_defaultPoolLive; }
    int DefaultPoolLive() const { return m_defaultPoolLive; }
    // Every buffer lock and unlock passes here (the recording device logs them).
    virtual void NoteBufferLock(bool index, UINT offset, UINT size, DWORD flags);
    virtual void NoteBufferUnlock(bool index);

    // ---- what an implementation reads ----
    const D3DPRESENT_PARAMETERS& PresentParams() const { return m_params; }
    DWORD BehaviorFlags() const { return m_behavior; }
    DWORD RenderState(D3DRENDERSTATETYPE state) const { return m_renderStates[state]; }
    DWORD StageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const {
        return m_stageStates[stage][type];
    }
    IDirect3DBaseTexture8* BoundTexture(DWORD stage) const { return m_textures[stage]; }
    const D3DVIEWPORT8& Viewport() const { return m_viewport; }
    DWORD Fvf() const { return m_fvf; }
    const D3DMATERIAL8& Material() const { return m_material; }
    // Indexed by light index; entries with `set` false were never given.
    const std::vector<D3dLightSlot>& Lights() const { return m_lights; }
    // Direct3D takes any light index; the layer keeps indices below this.
    static constexpr DWORD kLightIndexLimit = 4096;
    bool InScene() const { return m_inScene; }
    bool Lost() const { return m_coop != Coop::Ok; }
    bool HasStencil() const;
    bool HasDepth() const;
    // What is rendered into: the texture level (null for the back buffer) and the depth surface
    // made by CreateDepthStencilSurface (null for the automatic one or none).
    D3dTextureSurface* TargetLevel() const { return m_target; }
    D3dDepthSurface* TargetDepth() const { return m_depth; }
    // The current target has a depth (and stencil) buffer.
    bool DepthBound() const;
    bool StencilBound() const;
    // The size of the current render target.
    void TargetSize(UINT* width, UINT* height);
    // A depth surface's storage, made and freed by an implementation that draws (the base has
    // none to make). False when it cannot be had.
    virtual bool MakeDepthStorage(D3dDepthSurface* surface);
    virtual void FreeDepthStorage(D3dDepthSurface* surface);

    // The render target's size in pixels. The base answers the present parameters' size.
    virtual void BackBufferSize(UINT* width, UINT* height);
    // Copies the rectangle of the render target into `out` (rows top-down, 32-bit ARGB words,
    // `pitch` bytes apart). The base has no pixels and writes zeros.
    virtual void ReadBackBuffer(const RECT& rect, uint8_t* out, int32_t pitch);
    // True from a successful present until the next BeginScene: the frame last shown is then
    // the one to read back (a window's back buffer is undefined after a swap).
    bool PresentedSinceBegin() const { return m_presented; }

    // Vertices a primitive count makes for a type; 0 for an unknown type.
    static UINT VertexCount(D3DPRIMITIVETYPE type, UINT primCount);
    // Bytes of one vertex of a flexible vertex format; 0 when the position bits are not ours.
    static UINT FvfStride(DWORD fvf);

  protected:
    ~D3dDeviceBase() override;

    // What a draw reads from the bound buffers, checked (see DrawPrimitive in D3d8.h).
    struct DrawSource {
        const uint8_t* vertices; // the vertex that index 0 (or the start vertex) names
        UINT stride;
        const uint8_t* indices; // the first index read; null for a draw without indices
        UINT indexSize;         // 2 or 4
        UINT count;             // vertices, or indices, the draw reads
    };
    HRESULT ResolveDraw(D3DPRIMITIVETYPE type, UINT startVertex, UINT primCount, DrawSource* out);
    HRESULT ResolveIndexedDraw(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices,
                               UINT startIndex, UINT primCount, DrawSource* out);

    // Restores every state to Direct3D 8's defaults, as at creation and after each Reset.
    void ResetStates();
    // A successful Reset has restored the defaults: an implementation rebuilds its back buffer
    // for the new parameters here. A failure makes Reset fail.
    virtual HRESULT OnReset(const D3DPRESENT_PARAMETERS& params);
    // The kept parameters, for an implementation that must record what it actually made (a
    // back-buffer format the display does not offer is replaced).
    D3DPRESENT_PARAMETERS& MutablePresentParams() { return m_params; }
    // Matrix of a transform type, or null for a type the device does not know.
    D3DMATRIX* TransformSlot(D3DTRANSFORMSTATETYPE type);
    const D3DMATRIX& World() const { return m_transforms[0]; }
    const D3DMATRIX& View() const { return m_transforms[1]; }
    const D3DMATRIX& Projection() const { return m_transforms[2]; }

  private:
    enum class Coop { Ok, Lost, NotReset };

    ULONG m_refs = 1;
    IDirect3D8* m_d3d;
    D3DPRESENT_PARAMETERS m_params;
    DWORD m_behavior;
    Coop m_coop = Coop::Ok;
    int m_failResets = 0;
    bool m_keepLost = false;
    int m_defaultPoolLive = 0;
    bool m_inScene = false;
    bool m_presented = false;
    DWORD m_renderStates[D3D_RENDERSTATE_COUNT];
    DWORD m_stageStates[D3D_MAX_TEXTURE_STAGES][D3D_STAGESTATE_COUNT];
    IDirect3DBaseTexture8* m_textures[D3D_MAX_TEXTURE_STAGES] = {};
    // World, view, projection, then texture 0..7.
    D3DMATRIX m_transforms[11];
    D3DVIEWPORT8 m_viewport;
    D3DMATERIAL8 m_material;
    std::vector<D3dLightSlot> m_lights;
    DWORD m_fvf = 0;
    IDirect3DVertexBuffer8* m_stream = nullptr;
    UINT m_streamStride = 0;
    IDirect3DIndexBuffer8* m_indices = nullptr;
    UINT m_baseVertex = 0;
    D3dBackBufferSurface m_backBuffer;
    D3dAutoDepthSurface m_autoDepth;
    D3dTextureSurface* m_target = nullptr; // held; null: the back buffer
    D3dDepthSurface* m_depth = nullptr;    // held; null: the automatic depth buffer or none
    bool m_autoDepthBound = true;          // with m_depth null: the automatic one, else none
};

// The reference count of an object that owns nothing else (the adapter objects).
template <class Interface>
class D3dRefCounted : public Interface {
  public:
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

  protected:
    ~D3dRefCounted() override = default;

  private:
    ULONG m_refs = 1;
};

// Reference counting shared by the resources of later layers: the count, the device reference
// and the default-pool accounting.
template <class Interface>
class D3dResource : public Interface {
  public:
    D3dResource(D3dDeviceBase* device, D3DPOOL pool) : m_device(device), m_pool(pool) {
        m_device->AddRef();
        if (m_pool == D3DPOOL_DEFAULT) m_device->DefaultPoolAdded();
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }
    D3dDeviceBase* Device() const { return m_device; }
    D3DPOOL Pool() const { return m_pool; }

  protected:
    ~D3dResource() override {
        if (m_pool == D3DPOOL_DEFAULT) m_device->DefaultPoolRemoved();
        m_device->Release();
    }

  private:
    D3dDeviceBase* m_device;
    D3DPOOL m_pool;
    ULONG m_refs = 1;
};

// A depth-stencil surface made by CreateDepthStencilSurface, for rendering into textures. The
// implementation's storage (a GL renderbuffer) is made with it and freed with it.
class D3dDepthSurface final : public D3dResource<IDirect3DSurface8> {
  public:
    D3dDepthSurface(D3dDeviceBase* device, UINT width, UINT height, D3DFORMAT format)
        : D3dResource(device, D3DPOOL_DEFAULT), m_width(width), m_height(height), m_format(format) {
    }

    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT*, const RECT*, DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT UnlockRect() override { return D3DERR_INVALIDCALL; }

    UINT Width() const { return m_width; }
    UINT Height() const { return m_height; }
    D3DFORMAT Format() const { return m_format; }
    bool HasStencil() const { return m_format == D3DFMT_D24S8; }
    unsigned storage = 0; // the implementation's (a GL renderbuffer name)

  private:
    ~D3dDepthSurface() override { Device()->FreeDepthStorage(this); }

    UINT m_width, m_height;
    D3DFORMAT m_format;
};
