// The kernel's view of the world: the world, view and projection matrices it sends to the
// device with the products drawing and culling read, the viewport with its aspect ratios, and
// the camera's eye position. The matrices are all zero until they are first set.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "platform/d3d8/D3d8Types.h"

// ---- transforms ----
// Each sends its matrix to the device and keeps a copy; the world matrix is expected to be
// rigid (its inverse is the rigid inverse). World x view and world x view x projection follow
// every set, view x projection every view or projection set. Null is ignored.
void I3dSetWorld(const Mat4* world);
// Also moves the billboard corners to face the new view.
void I3dSetView(const Mat4* view);
void I3dSetProj(const Mat4* proj);
// D3DTS_TEXTURE0 + stage (0..7); nothing is kept.
void I3dSetTexMatrix(int stage, const Mat4* m);

void I3dGetWorldMatrix(Mat4* out);
void I3dGetViewMatrix(Mat4* out);
void I3dGetProjMatrix(Mat4* out);
void I3dGetWorldViewMatrix(Mat4* out);

// ---- viewport ----
// Sets the device viewport; a rectangle reaching past the requested back-buffer size becomes
// the whole back buffer. A zero width or height keeps the previous aspect ratios. The device's
// result.
HRESULT D3dSetViewport(int x, int y, int width, int height);
void I3dGetViewport(int* x, int* y, int* width, int* height);
// Width / height and height / width of the viewport; the cameras pass the second to
// Mat4Perspective.
float I3dGetAspect();
float I3dGetInvAspect();
// Pixel-space projection for the viewport's size (Mat4OrthoScreen); returns out.
Mat4* I3dOrthoViewport(Mat4* out);
// x in 0..aspect and y in 0..1 (growing upwards) to -1..1; returns out.
Mat4* I3dOrthoAspect(Mat4* out);

// ---- eye ----
// Model drawing measures level-of-detail and fade distances from the eye position.
void I3dSetEyePos(const VECTOR3* eye);
void I3dGetEyePos(VECTOR3* out);
// Entities multiply their visibility distances by this (1.0).
float I3dGetViewDistScale();

// The camera values at kernel start: matrices zero, eye at the origin, scale 1.0.
void I3dCameraDefaults();

// The kept products of the transforms, updated as the world, view and projection change.
const Mat4& I3dWorldInverse();
const Mat4& I3dWorldViewProj();
const Mat4& I3dViewProj();
