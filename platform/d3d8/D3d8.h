// The interfaces of our Direct3D-8-shaped render layer: the adapter object, the device and its
// resources, with Direct3D 8's method names, arguments and result codes, so the render kernel
// reads as it was written. Only the methods this system calls are declared.
#pragma once

#include "platform/d3d8/D3d8Types.h"

// ---- resources ----
// Every object is reference-counted: AddRef and Release answer the count after the call, and the
// object is freed when it reaches 0. A resource keeps its device alive.
class IDirect3DResource8 {
  public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual D3DRESOURCETYPE GetType() = 0;

  protected:
    virtual ~IDirect3DResource8() = default;
};

class IDirect3DSurface8 {
  public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual HRESULT GetDesc(D3DSURFACE_DESC* desc) = 0;
    // Row 0 of the locked memory is the top row, as in Direct3D.
    virtual HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect() = 0;

  protected:
    virtual ~IDirect3DSurface8() = default;
};

class IDirect3DBaseTexture8 : public IDirect3DResource8 {
  public:
    virtual DWORD GetLevelCount() = 0;
};

class IDirect3DTexture8 : public IDirect3DBaseTexture8 {
  public:
    virtual HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) = 0;
    virtual HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface8** surface) = 0;
    virtual HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect(UINT level) = 0;
};

class IDirect3DCubeTexture8 : public IDirect3DBaseTexture8 {
  public:
    virtual HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) = 0;
    virtual HRESULT GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level,
                                      IDirect3DSurface8** surface) = 0;
    virtual HRESULT LockRect(D3DCUBEMAP_FACES face, UINT level, D3DLOCKED_RECT* locked,
                             const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect(D3DCUBEMAP_FACES face, UINT level) = 0;
};

class IDirect3DVertexBuffer8 : public IDirect3DResource8 {
  public:
    virtual HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) = 0;
    virtual HRESULT Unlock() = 0;
    virtual HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) = 0;
};

class IDirect3DIndexBuffer8 : public IDirect3DResource8 {
  public:
    virtual HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) = 0;
    virtual HRESULT Unlock() = 0;
    virtual HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) = 0;
};

// ---- the device ----
class IDirect3D8;

class IDirect3DDevice8 {
  public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

    virtual HRESULT TestCooperativeLevel() = 0;
    virtual HRESULT GetDirect3D(IDirect3D8** d3d) = 0;
    virtual HRESULT GetDeviceCaps(D3DCAPS8* caps) = 0;
    virtual HRESULT GetDisplayMode(D3DDISPLAYMODE* mode) = 0;
    virtual HRESULT Reset(D3DPRESENT_PARAMETERS* params) = 0;
    virtual HRESULT Present(const RECT* source, const RECT* dest, HWND destWindow,
                            const void* dirtyRegion) = 0;
    virtual HRESULT GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type,
                                  IDirect3DSurface8** surface) = 0;

    virtual HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                  D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture) = 0;
    virtual HRESULT CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format,
                                      D3DPOOL pool, IDirect3DCubeTexture8** texture) = 0;
    virtual HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                       IDirect3DVertexBuffer8** buffer) = 0;
    virtual HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                      IDirect3DIndexBuffer8** buffer) = 0;
    virtual HRESULT CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                              D3DMULTISAMPLE_TYPE multiSample,
                                              IDirect3DSurface8** surface) = 0;
    virtual HRESULT SetRenderTarget(IDirect3DSurface8* target, IDirect3DSurface8* depth) = 0;
    virtual HRESULT GetRenderTarget(IDirect3DSurface8** target) = 0;
    virtual HRESULT GetDepthStencilSurface(IDirect3DSurface8** depth) = 0;

    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    // Clears the rectangles (all of the viewport when count is 0), each limited to the viewport.
    virtual HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                          DWORD stencil) = 0;

    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix) = 0;
    virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE type, D3DMATRIX* matrix) = 0;
    virtual HRESULT SetViewport(const D3DVIEWPORT8* viewport) = 0;
    virtual HRESULT GetViewport(D3DVIEWPORT8* viewport) = 0;
    virtual HRESULT SetMaterial(const D3DMATERIAL8* material) = 0;
    virtual HRESULT GetMaterial(D3DMATERIAL8* material) = 0;
    virtual HRESULT SetLight(DWORD index, const D3DLIGHT8* light) = 0;
    virtual HRESULT GetLight(DWORD index, D3DLIGHT8* light) = 0;
    virtual HRESULT LightEnable(DWORD index, BOOL enable) = 0;
    virtual HRESULT GetLightEnable(DWORD index, BOOL* enable) = 0;
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
    virtual HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture8** texture) = 0;
    // The device holds a reference to the bound texture until another replaces it.
    virtual HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) = 0;
    virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                         DWORD* value) = 0;
    virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                         DWORD value) = 0;
    virtual HRESULT ValidateDevice(DWORD* passes) = 0;

    // Draws from the bound buffers. Every vertex and index a draw would read must lie inside
    // them, and every index inside minIndex .. minIndex + numVertices - 1, else the draw is
    // refused (D3DERR_INVALIDCALL): Direct3D's debug rules, which keep a draw from reading past
    // a buffer.
    virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primCount) = 0;
    virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices,
                                         UINT startIndex, UINT primCount) = 0;
    // Vertices from the caller's memory in the current vertex format (SetVertexShader).
    virtual HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primCount, const void* vertices,
                                    UINT stride) = 0;
    // Direct3D 8 names the fixed-function vertex format a "vertex shader": the FVF word.
    virtual HRESULT SetVertexShader(DWORD fvf) = 0;
    virtual HRESULT GetVertexShader(DWORD* fvf) = 0;
    // The device holds a reference to the bound buffers until others replace them or a reset
    // unbinds them. Only stream 0 exists. The getters add a reference to what they answer.
    virtual HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) = 0;
    virtual HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer8** buffer, UINT* stride) = 0;
    // Indexed draws read their vertices from baseVertexIndex on.
    virtual HRESULT SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) = 0;
    virtual HRESULT GetIndices(IDirect3DIndexBuffer8** buffer, UINT* baseVertexIndex) = 0;

  protected:
    virtual ~IDirect3DDevice8() = default;
};

// ---- the adapter object ----
class IDirect3D8 {
  public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

    virtual UINT GetAdapterCount() = 0;
    virtual HRESULT GetAdapterIdentifier(UINT adapter, DWORD flags,
                                         D3DADAPTER_IDENTIFIER8* identifier) = 0;
    virtual UINT GetAdapterModeCount(UINT adapter) = 0;
    virtual HRESULT EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* out) = 0;
    virtual HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) = 0;
    virtual HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                      DWORD usage, D3DRESOURCETYPE resourceType,
                                      D3DFORMAT checkFormat) = 0;
    virtual HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                           D3DFORMAT targetFormat, D3DFORMAT depthFormat) = 0;
    virtual HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS8* caps) = 0;
    virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow,
                                 DWORD behaviorFlags, D3DPRESENT_PARAMETERS* params,
                                 IDirect3DDevice8** device) = 0;

  protected:
    virtual ~IDirect3D8() = default;
};

// ---- entry points ----
using D3dCreateEntry = IDirect3D8* (*)(UINT sdkVersion);

// The layer over OpenGL: one adapter, named from GL_RENDERER and GL_VERSION. Null (with a log
// line) when no OpenGL compatibility-profile context can be had through EGL.
IDirect3D8* Direct3DCreate8(UINT sdkVersion);

// Our stand-in for the D3DX error-string call: a short text for a result code, cut to fit.
void D3dErrorString(HRESULT hr, char* out, UINT outSize);

// Sets the GL attributes an SDL window must be created with to host a device (compatibility
// profile, depth 24, stencil 8, double buffered). Call before SDL_CreateWindow with
// SDL_WINDOW_OPENGL.
void D3dPrepareWindowAttributes();

// The window's client area in pixels, in place of GetClientRect; 0 x 0 for a null window.
void D3dWindowClientSize(HWND window, int* width, int* height);

// ---- the editor's game view ----
// While a view framebuffer is on, the device draws the game into an offscreen framebuffer of
// width x height (its colour a GL texture) as though it were the back buffer, and Present
// composes before it shows the window: the window's framebuffer is bound and cleared, GL is
// left as a plain fixed-function renderer expects it (lower-left origin, no samplers, unit 0
// only, MODULATE, no client arrays) and the hook draws; then every state is sent again. 0 x 0
// turns the view off (the device draws into the window again). 1, or 0 when the device cannot
// make it (logged) or is not the OpenGL layer's.
int D3dSetViewFramebuffer(IDirect3DDevice8* device, int width, int height);
// The view's GL texture name, 0 while off. Its rows run bottom-up (GL's order).
unsigned D3dViewTexture(IDirect3DDevice8* device);
using D3dComposeHook = void (*)(void* context);
void D3dSetComposeHook(IDirect3DDevice8* device, D3dComposeHook hook, void* context);
// The window's pixel at (x, y), row 0 at the top, as 0xAARRGGBB: what the last Present showed
// (for tests; 0 outside).
uint32_t D3dReadWindowPixel(IDirect3DDevice8* device, int x, int y);

// ---- test hooks ----
// GL never loses a context; these make a device behave as a lost Direct3D device does.
// After D3dTestLoseDevice the next TestCooperativeLevel answers D3DERR_DEVICELOST, and every
// later one D3DERR_DEVICENOTRESET until a Reset succeeds.
void D3dTestLoseDevice(IDirect3DDevice8* device);
// While on, the device stays lost and cannot be reset (every TestCooperativeLevel answers
// D3DERR_DEVICELOST); a device that was fine is lost at once. Off lets it go on to
// D3DERR_DEVICENOTRESET.
void D3dTestKeepLost(IDirect3DDevice8* device, int on);
// The next n calls of Reset fail with D3DERR_DEVICELOST, leaving the device in need of a reset.
void D3dTestFailResets(IDirect3DDevice8* device, int n);
