// The kernel's own shader passes: each sets exactly the states of its pass through the state
// cache, the texture factor last.
#include "I3d/Device.h"
#include "I3d/Materials.h"
#include "I3d/Shader.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"

static void Blended() {
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
}

// Stage 0's alpha is the factor's; stage 1 and on are off.
static void FactorAlphaOnlyStageZero() {
    D3dSetAlphaOp(0, D3DTOP_SELECTARG1);
    D3dSetAlphaArg1(0, D3DTA_TFACTOR);
    D3dSetColorOp(1, D3DTOP_DISABLE);
    D3dSetAlphaOp(1, D3DTOP_DISABLE);
}

void ShaderSolidColorPass() {
    D3dSetAlphaTest(0);
    D3dSetZWrite(0);
    D3dSetZFunc(D3DCMP_ALWAYS);
    D3dSetCullMode(D3DCULL_CCW);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetLighting(0);
    Blended();
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetColorArg1(0, D3DTA_TFACTOR);
    FactorAlphaOnlyStageZero();
    D3dSetTextureFactor(ShaderParams.words[0]);
}

void ShaderLitTexturePass() {
    D3dSetAlphaTest(0);
    D3dSetZWrite(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetCullMode(D3DCULL_CCW);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetLighting(1);
    D3dSetSpecular(0);
    D3dSetAmbientMaterialSource(D3DMCS_MATERIAL);
    D3dSetDiffuseMaterialSource(D3DMCS_MATERIAL);
    D3dSetEmissiveMaterialSource(D3DMCS_MATERIAL);
    D3dSetMaterialEmissive(g_i3dBlack);
    D3dSetMaterialDiffuse(g_i3dWhite);
    D3dSetMaterialAmbient(g_i3dWhite);
    Blended();
    // No texture (-1) must not leave the previous draw's texture on the stage.
    if ((int32_t)ShaderParams.words[8] < 0)
        D3dClearTexture(0);
    else
        D3dSetTexture(0, (int)ShaderParams.words[8]);
    D3dSetTexCoordIndex(0, 0);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    D3dSetAddressU(0, D3DTADDRESS_WRAP);
    D3dSetAddressV(0, D3DTADDRESS_WRAP);
    D3dSetMinFilter(0, D3DTEXF_LINEAR);
    D3dSetMagFilter(0, D3DTEXF_LINEAR);
    D3dSetColorOp(0, D3DTOP_MODULATE);
    D3dSetColorArg1(0, D3DTA_DIFFUSE);
    D3dSetColorArg2(0, D3DTA_TEXTURE);
    FactorAlphaOnlyStageZero();
    D3dSetTextureFactor(ShaderParams.words[0]);
}
