// The device kernel: the layer's adapter object and the one device of the program, frame
// calls, loss and reset, pixel read-back, the fatal-error box and the stop.
#include "I3d/Buffers.h"
#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "I3d/Lights.h"
#include "I3d/Materials.h"
#include "I3d/Mdl3Draw.h"
#include "I3d/Src/Kernel.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/System.h"

#include <cstdio>

// ---- kernel state ----

static bool s_dllLoaded = false;                     // the layer is taken
static IDirect3D8* (*s_createEntry)(UINT) = nullptr; // its entry point while taken
static IDirect3D8* (*s_injectedEntry)(UINT) = nullptr;
static IDirect3D8* s_d3d = nullptr;
static IDirect3DDevice8* s_device = nullptr;
static D3DPRESENT_PARAMETERS s_params;
static int s_windowed = 1;
static HWND s_window = nullptr;
static int s_requestedWidth = 0, s_requestedHeight = 0;
static int s_screenWidth = 0, s_screenHeight = 0;
static RECT s_presentRect;
static int s_hasStencil = 0;
static uint32_t s_hwTnl = 0;
static float s_farDistance = 200000.0f;
static int s_normalizeNormals = 0;

// Rendering into a texture: the target set by the caller, and what Begin saved for End.
struct RenderTexture {
    IDirect3DTexture8* texture = nullptr; // held
    IDirect3DSurface8* depth = nullptr;   // held
    int size = 0;
    IDirect3DSurface8* level = nullptr; // level 0 while switched
    IDirect3DSurface8* savedTarget = nullptr;
    IDirect3DSurface8* savedDepth = nullptr;
    int savedScreen[2] = {}, savedRequested[2] = {};
    int savedHasStencil = 0;
};
static RenderTexture s_rt;

const float g_i3dBlack[4] = {0.0f, 0.0f, 0.0f, 0.0f};
const float g_i3dWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
uint32_t g_i3dRenderOptions = I3D_OPT_MENU_PROJECTION;

static constexpr int kDefaultLights = 50;
static const char* const kSourceName = "Dx8Kernel";
static constexpr int kCreateDeviceLine = 385;

IDirect3DDevice8* D3dDevice() {
    return s_device;
}

IDirect3D8* D3dObject() {
    return s_d3d;
}

void D3dSetCreateEntry(IDirect3D8* (*entry)(UINT)) {
    s_injectedEntry = entry;
}

// ---- start ----

int D3dLoadDll() {
    if (s_dllLoaded) return -1;
    if (!s_createEntry) s_createEntry = s_injectedEntry ? s_injectedEntry : Direct3DCreate8;
    s_dllLoaded = true;
    return 0;
}

void D3dFreeDll() {
    s_dllLoaded = false;
    s_createEntry = nullptr;
    s_injectedEntry = nullptr;
}

int I3dStart() {
    if (D3dLoadDll() != 0) {
        DbgPrintf(DBG_GENERAL | DBG_RENDER, "I3dStart: the render layer is already taken\n");
        return -1;
    }
    s_d3d = s_createEntry(D3D_SDK_VERSION);
    if (!s_d3d) {
        DbgPrintf(DBG_GENERAL | DBG_RENDER,
                  "I3dStart: the render layer offers no adapter (no OpenGL through EGL?)\n");
        D3dFreeDll(); // so that a later start can try again
        return -1;
    }
    I3dTexTableFree();
    s_farDistance = 200000.0f;
    I3dResetStateCache();
    I3dCameraDefaults();
    I3dMaterialDefaults();
    Mdl3DrawDefaults();
    I3dLightsAlloc(kDefaultLights);
    D3dListDevices();
    D3DCAPS8 caps{};
    s_hwTnl = SUCCEEDED(s_d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps))
                  ? (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT)
                  : 0;
    return 0;
}

const char* D3dFormatName(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_R8G8B8: return "RGB 888";
        case D3DFMT_A8R8G8B8: return "ARGB 8888";
        case D3DFMT_X8R8G8B8: return "32bit color";
        case D3DFMT_R5G6B5: return "16bit color";
        case D3DFMT_X1R5G5B5: return "XRGB 1555";
        case D3DFMT_A1R5G5B5: return "ARGB 1555";
        case D3DFMT_A4R4G4B4: return "ARGB 4444";
        case D3DFMT_R3G3B2: return "RGB 332";
        default: return "UNKNOWN";
    }
}

void D3dListDevices() {
    if (!s_d3d) return;
    DbgPrintf(DBG_RENDER, "\n");
    for (UINT a = 0; a < s_d3d->GetAdapterCount(); ++a) {
        D3DADAPTER_IDENTIFIER8 id{};
        if (FAILED(s_d3d->GetAdapterIdentifier(a, 0, &id))) continue;
        DbgPrintf(DBG_RENDER, "Device:%s (%s)\n", id.Description, id.Driver);
        UINT modes = s_d3d->GetAdapterModeCount(a);
        for (UINT m = 0; m < modes; ++m) {
            D3DDISPLAYMODE mode{};
            if (FAILED(s_d3d->EnumAdapterModes(a, m, &mode))) continue;
            if (mode.Width >= 640 && mode.Height >= 480)
                DbgPrintf(DBG_RENDER, "  %ix%i %s\n", (int)mode.Width, (int)mode.Height,
                          D3dFormatName(mode.Format));
        }
    }
}

// ---- device creation ----

void I3dPrepareWindowAttributes() {
    D3dPrepareWindowAttributes();
}

int D3dDepthStencilBits(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_D15S1: return 1;
        case D3DFMT_D24S8: return 8;
        case D3DFMT_D24X4S4: return 4;
        default: return 0;
    }
}

D3DFORMAT D3dChooseDepthFormat(IDirect3D8* d3d, D3DFORMAT backBufferFormat) {
    static const D3DFORMAT order[] = {D3DFMT_D32,   D3DFMT_D24S8, D3DFMT_D24X4S4,
                                      D3DFMT_D24X8, D3DFMT_D15S1, D3DFMT_D16};
    if (!d3d) return D3DFMT_UNKNOWN;
    for (D3DFORMAT f : order) {
        if (FAILED(d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, backBufferFormat,
                                          D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, f)))
            continue;
        if (SUCCEEDED(d3d->CheckDepthStencilMatch(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                                  backBufferFormat, backBufferFormat, f)))
            return f;
    }
    return D3DFMT_UNKNOWN;
}

// Every state the kernel sets on the device past the state cache. A reset returns the device
// to its defaults, so this runs at creation and again after each successful reset; otherwise
// renormalisation, the LOD bias, COLORVERTEX and the material would change silently.
static void D3dApplyDirectStates() {
    IDirect3DDevice8* d = s_device;
    d->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
    d->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
    d->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL);
    d->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
    for (DWORD stage = 0; stage < 3; ++stage) {
        d->SetTextureStageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
        d->SetTextureStageState(stage, D3DTSS_MIPMAPLODBIAS, D3dFloatBits(-1.0f));
        d->SetTextureStageState(stage, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
    }
    d->SetRenderState(D3DRS_POINTSPRITEENABLE, 0);
    d->SetRenderState(D3DRS_POINTSCALEENABLE, 0);
    d->SetRenderState(D3DRS_POINTSIZE, D3dFloatBits(1.0f));
    d->SetRenderState(D3DRS_POINTSIZE_MIN, D3dFloatBits(0.0f));
    d->SetRenderState(D3DRS_POINTSIZE_MAX, D3dFloatBits(64.0f));
    d->SetRenderState(D3DRS_POINTSCALE_A, D3dFloatBits(0.0f));
    d->SetRenderState(D3DRS_POINTSCALE_B, D3dFloatBits(0.0f));
    d->SetRenderState(D3DRS_POINTSCALE_C, D3dFloatBits(1.0f));
    d->SetRenderState(D3DRS_COLORVERTEX, 0);
    d->SetRenderState(D3DRS_NORMALIZENORMALS, s_normalizeNormals ? 1u : 0u);
    D3dResendMaterial();
}

int D3dCreateDevice(int adapter, HWND window, int windowed, int width, int height,
                    D3DFORMAT fullScreenFormat, I3dDeviceFlags flags) {
    if (!s_d3d) return -1;
    if (s_device) {
        DbgPrintf(DBG_RENDER, "D3dCreateDevice: a device exists already\n");
        return -1;
    }
    D3dStagesForgetTextures();
    I3dResetBufferSelection(); // a new device has nothing bound

    s_params = D3DPRESENT_PARAMETERS{};
    s_windowed = windowed;
    s_window = window;
    s_requestedWidth = width;
    s_requestedHeight = height;
    if (windowed) {
        D3DDISPLAYMODE mode{};
        s_d3d->GetAdapterDisplayMode((UINT)adapter, &mode);
        s_params.BackBufferFormat = mode.Format;
        s_screenWidth = width;
        s_screenHeight = height;
        // The back buffer is the window's client area, not the size asked for (the desktop's).
        if (window) {
            D3dWindowClientSize(window, &s_screenWidth, &s_screenHeight);
            s_requestedWidth = s_screenWidth;
            s_requestedHeight = s_screenHeight;
        }
    } else {
        s_params.BackBufferFormat = fullScreenFormat;
        s_screenWidth = width;
        s_screenHeight = height;
    }
    s_params.BackBufferWidth = (UINT)(s_requestedWidth > 0 ? s_requestedWidth : 0);
    s_params.BackBufferHeight = (UINT)(s_requestedHeight > 0 ? s_requestedHeight : 0);
    s_params.BackBufferCount = (!windowed && (flags & I3D_DEVICE_TWO_BACKBUFFERS)) ? 2 : 1;
    s_params.MultiSampleType = D3DMULTISAMPLE_NONE;
    s_params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    s_params.hDeviceWindow = nullptr;
    s_params.Windowed = windowed ? windowed : 0;
    s_params.EnableAutoDepthStencil = 1;
    s_params.Flags = (flags & I3D_DEVICE_LOCKABLE) ? (DWORD)D3DPRESENTFLAG_LOCKABLE_BACKBUFFER : 0u;
    s_params.FullScreen_RefreshRateInHz = 0;
    s_params.FullScreen_PresentationInterval =
        windowed ? 0u
                 : ((flags & I3D_DEVICE_VSYNC) ? (UINT)D3DPRESENT_INTERVAL_ONE
                                               : (UINT)D3DPRESENT_INTERVAL_IMMEDIATE);

    s_params.AutoDepthStencilFormat = D3dChooseDepthFormat(s_d3d, s_params.BackBufferFormat);
    s_hasStencil = D3dDepthStencilBits(s_params.AutoDepthStencilFormat) > 0;

    DWORD behavior = ((flags & I3D_DEVICE_SOFTWARE_VP) || !s_hwTnl)
                         ? (DWORD)D3DCREATE_SOFTWARE_VERTEXPROCESSING
                         : (DWORD)D3DCREATE_HARDWARE_VERTEXPROCESSING;
    HRESULT hr =
        s_d3d->CreateDevice((UINT)adapter, D3DDEVTYPE_HAL, window, behavior, &s_params, &s_device);
    if (FAILED(hr) || !s_device) {
        s_device = nullptr;
        D3dFatalError(hr, kSourceName, kCreateDeviceLine);
        return -1;
    }

    if (!windowed) {
        // The first visible frame is black.
        D3dSetViewport(0, 0, s_screenWidth, s_screenHeight);
        D3dSetClearColor(0.0f, 0.0f, 0.0f);
        s_device->Clear(0, nullptr, D3DCLEAR_TARGET, D3dGetClearColor(), D3dGetClearZ(),
                        D3dGetClearStencil());
        D3dPresent();
    }
    D3dSetViewport(0, 0, s_screenWidth, s_screenHeight);
    I3dTexSetLoadDefaults();
    D3dSetMaterialDiffuse(g_i3dWhite);
    D3dSetMaterialAmbient(g_i3dWhite);
    D3dSetMaterialSpecular(g_i3dWhite);
    D3dSetMaterialEmissive(g_i3dWhite);
    D3dSetMaterialPower(10.0f);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dApplyDirectStates();
    return 0;
}

// ---- frames ----

HRESULT D3dClear(uint32_t flags) {
    if (!s_device) return D3DERR_INVALIDCALL;
    if (!s_hasStencil) flags &= ~(uint32_t)D3DCLEAR_STENCIL;
    // A texture target without a depth surface has no Z or stencil to clear: asking would be a
    // device error that leaves the colour uncleared too.
    if (s_rt.level && !s_rt.depth) flags &= ~(uint32_t)(D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
    return s_device->Clear(0, nullptr, flags, D3dGetClearColor(), D3dGetClearZ(),
                           D3dGetClearStencil());
}

int D3dBeginScene() {
    if (s_screenWidth == 0 || s_screenHeight == 0 || !s_device) return -1;
    return SUCCEEDED(s_device->BeginScene()) ? 0 : -1;
}

int D3dEndScene() {
    if (!s_device) return -1;
    return SUCCEEDED(s_device->EndScene()) ? 0 : -1;
}

int D3dPresent() {
    if (!s_device) return -1;
    HRESULT hr;
    if (!s_windowed) {
        hr = s_device->Present(nullptr, nullptr, nullptr, nullptr);
    } else {
        if (s_screenWidth == 0 || s_screenHeight == 0) return 0;
        s_presentRect = RECT{0, 0, s_screenWidth, s_screenHeight};
        hr = s_device->Present(&s_presentRect, nullptr, s_window, nullptr);
    }
    return SUCCEEDED(hr) ? 0 : -1;
}

void I3dSetScreenSize(int width, int height) {
    s_screenWidth = width > 0 ? width : 0;
    s_screenHeight = height > 0 ? height : 0;
    if (s_windowed) {
        s_requestedWidth = s_screenWidth;
        s_requestedHeight = s_screenHeight;
    }
}

void I3dGetScreenSize(int* width, int* height) {
    *width = s_screenWidth;
    *height = s_screenHeight;
}

void I3dGetRequestedSize(int* width, int* height) {
    *width = s_requestedWidth;
    *height = s_requestedHeight;
}

float I3dGetFarDistance() {
    return s_farDistance;
}

// ---- loss and reset ----

int D3dDeviceOk() {
    return s_device && s_device->TestCooperativeLevel() == D3D_OK ? 1 : 0;
}

int D3dDeviceNeedsReset() {
    return s_device && s_device->TestCooperativeLevel() == D3DERR_DEVICENOTRESET ? 1 : 0;
}

int D3dReset() {
    if (!s_device) return -1;
    D3DPRESENT_PARAMETERS params = s_params;
    if (FAILED(s_device->Reset(&params))) return -1;
    I3dResetBufferSelection(); // the reset unbound the buffers
    D3dApplyDirectStates();
    return 0;
}

int D3dSetBackBufferSize(int width, int height) {
    if (!s_device || width <= 0 || height <= 0) return -1;
    s_params.BackBufferWidth = (UINT)width;
    s_params.BackBufferHeight = (UINT)height;
    s_requestedWidth = width;
    s_requestedHeight = height;
    return 0;
}

int D3dValidateDevice() {
    DWORD passes = 0;
    return s_device && SUCCEEDED(s_device->ValidateDevice(&passes)) ? 1 : 0;
}

void D3dSetNormalizeNormals(int on) {
    s_normalizeNormals = on;
    if (s_device) s_device->SetRenderState(D3DRS_NORMALIZENORMALS, on ? 1u : 0u);
}

int D3dCanReadPixels() {
    return s_device && (s_params.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) ? 1 : 0;
}

// Only the one pixel is locked: reading a whole frame back for one word would cost a copy of
// the frame, and the word is the same.
uint32_t D3dReadPixel(int x, int y) {
    if (!s_device || x < 0 || y < 0) return 0;
    IDirect3DSurface8* target = nullptr;
    if (FAILED(s_device->GetRenderTarget(&target)) || !target) return 0;
    uint32_t value = 0;
    D3DSURFACE_DESC desc{};
    if (SUCCEEDED(target->GetDesc(&desc)) && (UINT)x < desc.Width && (UINT)y < desc.Height) {
        D3DLOCKED_RECT locked{};
        RECT r{x, y, x + 1, y + 1};
        if (SUCCEEDED(target->LockRect(&locked, &r, 0)) && locked.pBits) {
            value = *static_cast<const uint32_t*>(locked.pBits);
            target->UnlockRect();
        }
    }
    target->Release();
    return value;
}

// ---- rendering into a texture ----

static void ReleaseAndClear(IDirect3DSurface8** surface) {
    if (*surface) (*surface)->Release();
    *surface = nullptr;
}

void D3dSetRenderTexture(IDirect3DTexture8* texture, int size, IDirect3DSurface8* depth) {
    if (texture) texture->AddRef();
    if (depth) depth->AddRef();
    if (s_rt.texture) s_rt.texture->Release();
    ReleaseAndClear(&s_rt.depth);
    s_rt.texture = texture;
    s_rt.depth = depth;
    s_rt.size = texture && size > 0 ? size : 0;
}

HRESULT D3dRenderToTextureBegin() {
    if (!s_device || !s_rt.texture || !s_rt.size || s_rt.level) return D3DERR_INVALIDCALL;
    HRESULT hr = s_device->GetRenderTarget(&s_rt.savedTarget);
    if (FAILED(hr)) return hr;
    // A device without a depth buffer answers none: End then renders without one again.
    s_device->GetDepthStencilSurface(&s_rt.savedDepth);
    hr = s_rt.texture->GetSurfaceLevel(0, &s_rt.level);
    if (SUCCEEDED(hr)) hr = s_device->SetRenderTarget(s_rt.level, s_rt.depth);
    if (FAILED(hr)) {
        ReleaseAndClear(&s_rt.level);
        ReleaseAndClear(&s_rt.savedTarget);
        ReleaseAndClear(&s_rt.savedDepth);
        return hr;
    }
    s_rt.savedScreen[0] = s_screenWidth, s_rt.savedScreen[1] = s_screenHeight;
    s_rt.savedRequested[0] = s_requestedWidth, s_rt.savedRequested[1] = s_requestedHeight;
    s_screenWidth = s_screenHeight = s_requestedWidth = s_requestedHeight = s_rt.size;
    // D3dClear's stencil rule follows the depth surface being drawn with.
    s_rt.savedHasStencil = s_hasStencil;
    D3DSURFACE_DESC desc{};
    s_hasStencil =
        s_rt.depth && SUCCEEDED(s_rt.depth->GetDesc(&desc)) && D3dDepthStencilBits(desc.Format) > 0;
    return hr;
}

HRESULT D3dRenderToTextureEnd() {
    if (!s_device || !s_rt.level) return D3DERR_INVALIDCALL;
    HRESULT hr = s_device->SetRenderTarget(s_rt.savedTarget, s_rt.savedDepth);
    s_screenWidth = s_rt.savedScreen[0], s_screenHeight = s_rt.savedScreen[1];
    s_requestedWidth = s_rt.savedRequested[0], s_requestedHeight = s_rt.savedRequested[1];
    s_hasStencil = s_rt.savedHasStencil;
    ReleaseAndClear(&s_rt.level);
    ReleaseAndClear(&s_rt.savedTarget);
    ReleaseAndClear(&s_rt.savedDepth);
    return hr;
}

void D3dFatalError(HRESULT hr, const char* file, int line) {
    char text[256];
    D3dErrorString(hr, text, sizeof text);
    char message[512];
    std::snprintf(message, sizeof message, "File: %s, line:%i\n%s", file ? file : "", line, text);
    SysMessageBox(message, "D3D8 Error");
}

// ---- stop ----

int I3dStop() {
    if (!s_d3d) return -1;
    I3dLightsFree();
    if (s_rt.level) D3dRenderToTextureEnd();
    D3dSetRenderTexture(nullptr, 0, nullptr);
    I3dTexTableFree();
    if (s_device) {
        for (DWORD stage = 0; stage < D3D_MAX_TEXTURE_STAGES; ++stage)
            s_device->SetTexture(stage, nullptr);
        // Bound buffers hold the device, as bound textures do.
        s_device->SetStreamSource(0, nullptr, 0);
        s_device->SetIndices(nullptr, 0);
        I3dResetBufferSelection();
        ULONG left = s_device->Release();
        if (left != 0)
            DbgPrintf(DBG_RENDER, "I3dStop: the device is still held by %u reference(s)\n",
                      (unsigned)left);
        s_device = nullptr;
    }
    s_d3d->Release();
    s_d3d = nullptr;
    D3dFreeDll();
    return 0;
}
