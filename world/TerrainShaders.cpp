// The terrain's pass lists. The vertex format carries no colour, so the colour material
// sources fall back to the material, as in Direct3D: a white, lit ground under the texture.
#include "world/TerrainShaders.h"

#include "I3d/Materials.h"
#include "I3d/PassLists.h"
#include "I3d/StateCache.h"

#include <cstdarg>

namespace {

void CommonStates() {
    D3dSetAlphaTest(0);
    D3dSetZWrite(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetCullMode(D3DCULL_CCW);
    D3dSetLighting(1);
    D3dSetSpecular(0);
    D3dSetAlphaBlend(0);
    D3dSetAmbientMaterialSource(D3DMCS_COLOR1);
    D3dSetDiffuseMaterialSource(D3DMCS_COLOR1);
    D3dSetSpecularMaterialSource(D3DMCS_MATERIAL);
    static const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    static const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    D3dSetMaterialEmissive(black);
    D3dSetMaterialDiffuse(white);
    D3dSetMaterialAmbient(white);
    D3dSetMaterialSpecular(black);
}

void BasePass(I3dShader*, va_list) {
    CommonStates();
    D3dSetMaterialPower(10.0f);
    D3dSetTexCoordIndex(0, 0);
    D3dSetTexTransformFlags(0, D3DTTFF_COUNT3);
    D3dSetColorOp(0, D3DTOP_MODULATE);
    D3dSetColorArg1(0, D3DTA_TEXTURE);
    D3dSetColorArg2(0, D3DTA_DIFFUSE);
    D3dSetAddressU(0, D3DTADDRESS_CLAMP);
    D3dSetAddressV(0, D3DTADDRESS_CLAMP);
    D3dSetAlphaOp(0, D3DTOP_DISABLE);
    D3dSetColorOp(1, D3DTOP_DISABLE);
}

void DetailPass(I3dShader*, va_list) {
    CommonStates();
    D3dSetTexCoordIndex(0, 0);
    D3dSetTexTransformFlags(0, D3DTTFF_COUNT3);
    D3dSetAddressU(0, D3DTADDRESS_CLAMP);
    D3dSetAddressV(0, D3DTADDRESS_CLAMP);
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetColorArg1(0, D3DTA_TEXTURE);
    D3dSetAlphaOp(0, D3DTOP_DISABLE);
    D3dSetTexCoordIndex(1, 0);
    D3dSetTexTransformFlags(1, D3DTTFF_COUNT2);
    D3dSetAddressU(1, D3DTADDRESS_WRAP);
    D3dSetAddressV(1, D3DTADDRESS_WRAP);
    D3dSetColorOp(1, D3DTOP_ADDSIGNED);
    D3dSetColorArg1(1, D3DTA_CURRENT);
    D3dSetColorArg2(1, D3DTA_TEXTURE);
    D3dSetColorOp(2, D3DTOP_MODULATE);
    D3dSetColorArg1(2, D3DTA_CURRENT);
    D3dSetColorArg2(2, D3DTA_DIFFUSE);
    D3dSetColorOp(3, D3DTOP_DISABLE);
}

I3dShader* Make(const char* name, I3dShaderPassFn pass, int passes) {
    I3dShader* s = I3dShaderCreate(1, name);
    for (int i = 0; s && i < passes; ++i)
        I3dShaderAddPass(s, 0, pass);
    return s;
}

} // namespace

void TerrainShadersCreate(I3dShader* out[3]) {
    TerrainShadersFree(out);
    out[0] = Make("TerDif", BasePass, 1);
    out[1] = Make("TerDifDetail", DetailPass, 1);
    out[2] = Make("TerDifDetailDouble", DetailPass, 2);
}

void TerrainShadersFree(I3dShader* shaders[3]) {
    for (int i = 0; i < 3; ++i) {
        if (shaders[i]) I3dShaderFree(shaders[i]);
        shaders[i] = nullptr;
    }
}
