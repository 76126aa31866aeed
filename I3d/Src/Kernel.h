// The kernel's own view of the device: for the render kernel's sources only, never its callers.
#pragma once

#include "platform/d3d8/D3d8.h"

// The device, null before D3dCreateDevice and after I3dStop.
IDirect3DDevice8* D3dDevice();
// The layer's adapter object, null when the kernel is not started.
IDirect3D8* D3dObject();
