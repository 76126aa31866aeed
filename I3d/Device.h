// The device kernel: starts the render layer, creates the one device from the configuration,
// wraps the frame calls, recovers a lost device, reads back a pixel and stops. Render-kernel
// functions answer 0 for success and -1 for failure.
#pragma once

#include "platform/d3d8/D3d8Types.h"

class IDirect3D8;
class IDirect3DDevice8;
class IDirect3DTexture8;
class IDirect3DSurface8;

// I3dDeviceFlags, the flag word of D3dCreateDevice.
using I3dDeviceFlags = uint32_t;
enum : I3dDeviceFlags {
    I3D_DEVICE_SOFTWARE_VP = 1,     // software vertex processing
    I3D_DEVICE_VSYNC = 2,           // wait for vertical sync (full screen only)
    I3D_DEVICE_TWO_BACKBUFFERS = 4, // triple buffering (full screen only)
    I3D_DEVICE_LOCKABLE = 16,       // lockable back buffer (needed by D3dReadPixel)
};

// 0, or -1 when the layer or its adapter object cannot be had (logged).
int I3dStart();
// Takes the layer; -1 when it is already taken.
int D3dLoadDll();
void D3dFreeDll();
// Logs the adapter and its display modes of at least 640 x 480 (debug level 16).
void D3dListDevices();
// "ARGB 8888" and the like; "UNKNOWN" for formats without a name.
const char* D3dFormatName(D3DFORMAT format);

// Sets what a window must be created with to host the device (an SDL window made with
// SDL_WINDOW_OPENGL after this call).
void I3dPrepareWindowAttributes();

// `window` is the SDL window to present into, or null for an offscreen device of width x height.
// A windowed device's back buffer is the window's client area. 0, or -1 after the "D3D8 Error"
// message.
int D3dCreateDevice(int adapter, HWND window, int windowed, int width, int height,
                    D3DFORMAT fullScreenFormat, I3dDeviceFlags flags);
// The first of D32, D24S8, D24X4S4, D24X8, D15S1, D16 the adapter accepts with that back-buffer
// format; D3DFMT_UNKNOWN when none.
D3DFORMAT D3dChooseDepthFormat(IDirect3D8* d3d, D3DFORMAT backBufferFormat);
// Stencil bits: D15S1 1, D24S8 8, D24X4S4 4, any other 0.
int D3dDepthStencilBits(D3DFORMAT format);

// Clears with the kept clear values; the stencil flag is dropped when the depth format has no
// stencil. The device's result.
HRESULT D3dClear(uint32_t flags);
// -1 without touching the device while the screen width or height is 0.
int D3dBeginScene();
int D3dEndScene();
// Windowed with a zero screen size: nothing is presented and the result is 0.
int D3dPresent();
// The size the frame is drawn at; when windowed the requested back-buffer size follows it.
void I3dSetScreenSize(int width, int height);
void I3dGetScreenSize(int* width, int* height);
// The back-buffer size given to D3dCreateDevice (the viewport falls back to it).
void I3dGetRequestedSize(int* width, int* height);
// Beyond this distance points count as beyond the far plane.
float I3dGetFarDistance();

// ---- the editor's view ----
// The current device draws the game into a texture of width x height that the editor's window
// shows (D3dSetViewFramebuffer; 0 x 0 turns it off): 1, or 0 without a device or view.
int I3dSetViewFramebuffer(int width, int height);
// The view's GL texture name, 0 while off.
unsigned I3dViewTexture();
// Called each frame to draw the editor's window over the view; null removes it.
using I3dComposeHook = void (*)(void* context);
void I3dSetComposeHook(I3dComposeHook hook, void* context);

// 1 when the device can draw.
int D3dDeviceOk();
// 1 only when the device is lost and can be reset now.
int D3dDeviceNeedsReset();
// Resets with the kept present parameters and sends again every state the kernel set past the
// state cache; -1 when the reset fails (try again later).
int D3dReset();
// The back-buffer size the next D3dReset makes (full screen, when the window took another size);
// the requested size follows it. -1 without a device or for a side that is not positive.
int D3dSetBackBufferSize(int width, int height);
// 1 unless the device refuses its current states.
int D3dValidateDevice();
// Renormalisation of normals; kept and sent again after each reset.
void D3dSetNormalizeNormals(int on);
// The 32-bit word at (x, y) of the render target, row 0 at the top; 0 outside it or when it
// cannot be read (the device must be created with I3D_DEVICE_LOCKABLE). Between a present and
// the next begin it is the frame last presented (a window's front buffer; an offscreen target
// keeps its frame), so an update can sample the frame the player saw.
uint32_t D3dReadPixel(int x, int y);
// 1 when a device exists whose back buffer D3dReadPixel can read (I3D_DEVICE_LOCKABLE), else 0.
int D3dCanReadPixels();
// ---- rendering into a texture ----
// The square texture D3dRenderToTextureBegin renders into (one level, default pool, made with
// D3DUSAGE_RENDERTARGET; `size` its edge) and its depth surface (CreateDepthStencilSurface, at
// least that size; null for none). The kernel holds a reference on both until they are replaced
// or cleared with nulls: a caller clears them in its device-lost step, as it releases every
// default-pool resource there, and sets them again after the reset.
void D3dSetRenderTexture(IDirect3DTexture8* texture, int size, IDirect3DSurface8* depth);
// Renders into that texture: the screen and requested sizes become its size (the caller clears
// and sets the viewport) until D3dRenderToTextureEnd renders into the saved target again. The
// two come in pairs within one frame. The HRESULT of the last device call; D3DERR_INVALIDCALL,
// with nothing changed, without a texture, or for a Begin while rendering into it or an End
// while not.
HRESULT D3dRenderToTextureBegin();
HRESULT D3dRenderToTextureEnd();

// Shows "File: <file>, line:<line>\n<error text>" in a box captioned "D3D8 Error" (stderr and
// the log when headless) and returns.
void D3dFatalError(HRESULT hr, const char* file, int line);
// 0, or -1 when the kernel was not started.
int I3dStop();

// Colours the material setters are given for the common cases.
extern const float g_i3dBlack[4];
extern const float g_i3dWhite[4];

// Process-wide switches of how things are drawn. Bit 0x2: the menu root sets its screen
// projection in the first draw pass as well as the second (set by default).
enum : uint32_t { I3D_OPT_MENU_PROJECTION = 0x2 };
extern uint32_t g_i3dRenderOptions;

// Test hook: the entry point D3dLoadDll takes instead of the OpenGL layer's (cleared again by
// D3dFreeDll). Tests pass the recording layer's.
void D3dSetCreateEntry(IDirect3D8* (*entry)(UINT sdkVersion));

// The device, null before D3dCreateDevice and after I3dStop: for libraries that drive it as the
// kernel does (the model library's dynamic buffers).
IDirect3DDevice8* D3dDevice();
// The layer's adapter object, null when the kernel is not started.
IDirect3D8* D3dObject();
