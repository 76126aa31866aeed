// The kernel's own view of the device and of its kept products: for the render kernel's sources,
// and for the model library's dynamic buffers (gi/DynBuf.cpp), which drive the device as the
// kernel's buffers do; never for other callers.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "platform/d3d8/D3d8.h"

// The device, null before D3dCreateDevice and after I3dStop.
IDirect3DDevice8* D3dDevice();
// The layer's adapter object, null when the kernel is not started.
IDirect3D8* D3dObject();

// Unbinds a buffer about to be released if the device binds it: the device's own reference
// would keep a default-pool buffer alive and block the next reset.
void D3dUnbindBuffer(IDirect3DVertexBuffer8* buffer);
void D3dUnbindBuffer(IDirect3DIndexBuffer8* buffer);

// The kept products of the transforms (see I3d/Camera.h).
const Mat4& I3dWorldInverse();
const Mat4& I3dWorldViewProj();
const Mat4& I3dViewProj();
