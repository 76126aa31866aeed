// Our stand-ins for the D3DX helpers the kernel calls: loading a cube texture from a DDS file.
#pragma once

#include "platform/d3d8/D3d8.h"

inline constexpr HRESULT D3DXERR_INVALIDDATA = D3dHr(0x88760B59u);

// The texture format of a DdsPixels layout; D3DFMT_UNKNOWN for none.
D3DFORMAT D3dxDdsFormat(int ddsPixels);

// Reads a standard DDS cube map: caps2 with the cube-map bit and all six face bits, square
// faces in the order +X, -X, +Y, -Y, +Z, -Z, each with its whole mip chain, in DXT1..DXT5,
// 32-bit B, G, R, A or 8-bit alpha. Makes a managed cube texture with every level filled.
// D3DXERR_INVALIDDATA for a missing, short or malformed file, a 2D file or a face missing;
// the device's error when the texture cannot be made.
HRESULT D3DXCreateCubeTextureFromFileA(IDirect3DDevice8* device, const char* path,
                                       IDirect3DCubeTexture8** texture);
