// The device material: one D3DMATERIAL8 kept by the kernel, changed one component at a time;
// every change sends the whole material (not cached).
#pragma once

#include "platform/d3d8/D3d8Types.h"

HRESULT D3dSetMaterialDiffuse(const float rgba[4]);
HRESULT D3dSetMaterialAmbient(const float rgba[4]);
HRESULT D3dSetMaterialSpecular(const float rgba[4]);
HRESULT D3dSetMaterialEmissive(const float rgba[4]);
HRESULT D3dSetMaterialPower(float power);
// The kept material, as last sent.
void D3dGetMaterial(D3DMATERIAL8* out);
// Sends the kept material again (a reset returns the device's material to black).
HRESULT D3dResendMaterial();
