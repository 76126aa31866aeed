// The viewport with its aspect ratios, and the camera values kept by the kernel.
#include "I3d/Camera.h"

#include "I3d/Device.h"
#include "I3d/Src/Kernel.h"

static int s_viewport[4];
static float s_aspect = 1.0f, s_invAspect = 1.0f;
static float s_viewDistScale = 1.0f;

void I3dCameraDefaults() {
    s_viewDistScale = 1.0f;
}

float I3dGetViewDistScale() {
    return s_viewDistScale;
}

HRESULT D3dSetViewport(int x, int y, int width, int height) {
    int reqW = 0, reqH = 0;
    I3dGetRequestedSize(&reqW, &reqH);
    if (x + width > reqW || y + height > reqH) {
        x = y = 0;
        width = reqW;
        height = reqH;
    }
    s_viewport[0] = x;
    s_viewport[1] = y;
    s_viewport[2] = width;
    s_viewport[3] = height;
    // A zero side keeps the previous ratios rather than dividing by zero.
    if (width > 0 && height > 0) {
        s_aspect = (float)((double)width / (double)height);
        s_invAspect = (float)((double)height / (double)width);
    }
    IDirect3DDevice8* dev = D3dDevice();
    if (!dev) return D3DERR_INVALIDCALL;
    D3DVIEWPORT8 vp{(DWORD)(x > 0 ? x : 0),
                    (DWORD)(y > 0 ? y : 0),
                    (DWORD)(width > 0 ? width : 0),
                    (DWORD)(height > 0 ? height : 0),
                    0.0f,
                    1.0f};
    return dev->SetViewport(&vp);
}

void I3dGetViewport(int* x, int* y, int* width, int* height) {
    *x = s_viewport[0];
    *y = s_viewport[1];
    *width = s_viewport[2];
    *height = s_viewport[3];
}

float I3dGetAspect() {
    return s_aspect;
}

float I3dGetInvAspect() {
    return s_invAspect;
}
