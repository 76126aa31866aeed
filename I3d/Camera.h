// The viewport and the camera values the kernel keeps.
#pragma once

#include "platform/d3d8/D3d8Types.h"

// Sets the device viewport; a rectangle reaching past the requested back-buffer size becomes
// the whole back buffer. The device's result.
HRESULT D3dSetViewport(int x, int y, int width, int height);
void I3dGetViewport(int* x, int* y, int* width, int* height);
// Width / height and height / width of the viewport.
float I3dGetAspect();
float I3dGetInvAspect();
// Entities multiply their visibility distances by this (1.0).
float I3dGetViewDistScale();
// The camera values at kernel start.
void I3dCameraDefaults();
