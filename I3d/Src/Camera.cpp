// The kept transforms and their products, the viewport with its aspect ratios, and the eye.
#include "I3d/Camera.h"

#include "I3d/Device.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Primitives.h"
#include "I3d/Src/Kernel.h"

#include <cstdint>

static Mat4 s_world, s_worldInverse, s_view, s_proj;
static Mat4 s_worldView, s_worldViewProj, s_viewProj;
static VECTOR3 s_eye;
static float s_viewDistScale = 1.0f;
static int s_viewport[4];
static float s_aspect = 1.0f, s_invAspect = 1.0f;

void I3dCameraDefaults() {
    s_world = s_worldInverse = s_view = s_proj = Mat4{};
    s_worldView = s_worldViewProj = s_viewProj = Mat4{};
    s_eye = VECTOR3{};
    s_viewDistScale = 1.0f;
}

// ---- transforms ----

static void Send(D3DTRANSFORMSTATETYPE type, const Mat4* m) {
    if (IDirect3DDevice8* dev = D3dDevice()) dev->SetTransform(type, m);
}

void I3dSetWorld(const Mat4* world) {
    if (!world) return;
    Send(D3DTS_WORLD, world);
    s_world = *world;
    Mat4InverseRigid(&s_world, &s_worldInverse);
    Mat4Mul(&s_world, &s_view, &s_worldView);
    Mat4Mul(&s_worldView, &s_proj, &s_worldViewProj);
}

// After a view or projection set: the world set leaves view x projection alone.
static void RecomputeProducts() {
    Mat4Mul(&s_world, &s_view, &s_worldView);
    Mat4Mul(&s_worldView, &s_proj, &s_worldViewProj);
    Mat4Mul(&s_view, &s_proj, &s_viewProj);
}

void I3dSetView(const Mat4* view) {
    if (!view) return;
    Send(D3DTS_VIEW, view);
    s_view = *view;
    RecomputeProducts();
    I3dBillboardSetView(&s_view);
}

void I3dSetProj(const Mat4* proj) {
    if (!proj) return;
    Send(D3DTS_PROJECTION, proj);
    s_proj = *proj;
    RecomputeProducts();
}

void I3dSetTexMatrix(int stage, const Mat4* m) {
    if (!m || stage < 0 || stage >= (int)D3D_MAX_TEXTURE_STAGES) return;
    Send(D3DTS_TEXTURE0 + (D3DTRANSFORMSTATETYPE)stage, m);
}

void I3dGetWorldMatrix(Mat4* out) {
    *out = s_world;
}

void I3dGetViewMatrix(Mat4* out) {
    *out = s_view;
}

void I3dGetProjMatrix(Mat4* out) {
    *out = s_proj;
}

void I3dGetWorldViewMatrix(Mat4* out) {
    *out = s_worldView;
}

const Mat4& I3dWorldInverse() {
    return s_worldInverse;
}

const Mat4& I3dWorldViewProj() {
    return s_worldViewProj;
}

const Mat4& I3dViewProj() {
    return s_viewProj;
}

// ---- viewport ----

HRESULT D3dSetViewport(int x, int y, int width, int height) {
    int reqW = 0, reqH = 0;
    I3dGetRequestedSize(&reqW, &reqH);
    // In 64 bits: a hostile size must not overflow the sum.
    if ((int64_t)x + width > reqW || (int64_t)y + height > reqH) {
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
    // Negative sides and corners reach the device as 0 (as unsigned words they would be huge);
    // the kept rectangle keeps what was asked.
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

Mat4* I3dOrthoViewport(Mat4* out) {
    return Mat4OrthoScreen(out, s_viewport[2], s_viewport[3]);
}

Mat4* I3dOrthoAspect(Mat4* out) {
    *out = Mat4{};
    out->m[0] = 2.0f / s_aspect;
    out->m[5] = 2.0f;
    out->m[10] = 1.0f;
    out->m[12] = -1.0f;
    out->m[13] = -1.0f;
    out->m[15] = 1.0f;
    return out;
}

// ---- eye ----

void I3dSetEyePos(const VECTOR3* eye) {
    if (eye) s_eye = *eye;
}

void I3dGetEyePos(VECTOR3* out) {
    *out = s_eye;
}

float I3dGetViewDistScale() {
    return s_viewDistScale;
}
