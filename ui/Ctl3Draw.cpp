// The 2D controls' render states, all through the state cache.
#include "ui/Ctl3Draw.h"

#include "I3d/StateCache.h"
#include "I3d/Textures.h"

void Ctl3Set2DStates(int slot, uint32_t argb) {
    D3dSetAlphaBlendDefaults();
    D3dSetZEnable(0);
    D3dSetZWrite(0);
    D3dSetLighting(0);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetTextureFactor(argb);
    if (slot >= 0) {
        D3dSetTexture(0, slot);
        D3dSetColorOp(0, D3DTOP_MODULATE);
        D3dSetColorArg1(0, D3DTA_TEXTURE);
        D3dSetColorArg2(0, D3DTA_TFACTOR);
        D3dSetAlphaOp(0, D3DTOP_MODULATE);
        D3dSetAlphaArg1(0, D3DTA_TEXTURE);
        D3dSetAlphaArg2(0, D3DTA_TFACTOR);
        D3dSetTexCoordIndex(0, 0);
        D3dSetColorOp(1, D3DTOP_DISABLE);
        D3dSetAlphaOp(1, D3DTOP_DISABLE);
    } else {
        D3dSetFactorStages();
    }
}
