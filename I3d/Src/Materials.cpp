// The device material kept by the kernel.
#include "I3d/Materials.h"

#include "I3d/Src/Kernel.h"

static D3DMATERIAL8 s_material;

static void Copy(D3DCOLORVALUE* out, const float rgba[4]) {
    *out = {rgba[0], rgba[1], rgba[2], rgba[3]};
}

HRESULT D3dResendMaterial() {
    IDirect3DDevice8* dev = D3dDevice();
    return dev ? dev->SetMaterial(&s_material) : D3DERR_INVALIDCALL;
}

HRESULT D3dSetMaterialDiffuse(const float rgba[4]) {
    Copy(&s_material.Diffuse, rgba);
    return D3dResendMaterial();
}

HRESULT D3dSetMaterialAmbient(const float rgba[4]) {
    Copy(&s_material.Ambient, rgba);
    return D3dResendMaterial();
}

HRESULT D3dSetMaterialSpecular(const float rgba[4]) {
    Copy(&s_material.Specular, rgba);
    return D3dResendMaterial();
}

HRESULT D3dSetMaterialEmissive(const float rgba[4]) {
    Copy(&s_material.Emissive, rgba);
    return D3dResendMaterial();
}

HRESULT D3dSetMaterialPower(float power) {
    s_material.Power = power;
    return D3dResendMaterial();
}

HRESULT D3dSetMaterial(const D3DMATERIAL8* material) {
    s_material = *material;
    return D3dResendMaterial();
}

void D3dGetMaterial(D3DMATERIAL8* out) {
    *out = s_material;
}
