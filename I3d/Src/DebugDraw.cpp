// The debug box: its 8 corners and 12 edges drawn as lines through the current buffers.
#include "I3d/DebugDraw.h"

#include "I3d/Buffers.h"
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/StateCache.h"

int DbgDrawAabb(const float box[6], const Mat4* world, uint32_t colour) {
    if (!box) return -1;
    D3dSetFogEnable(0);
    D3dSetLighting(0);
    D3dSetAlphaBlend(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetZWrite(1);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetTextureFactor(colour);
    D3dSetFactorStages();
    Mat4 identity;
    I3dSetWorld(world ? world : Mat4Identity(&identity));

    // Corner k takes the maximum on x for bit 0, on y for bit 1, on z for bit 2.
    if (I3dVbLockCurrent(8) != 0) return -1;
    for (int k = 0; k < 8; ++k) {
        I3dVbPos(box[(k & 1) ? 3 : 0], box[(k & 2) ? 4 : 1], box[(k & 4) ? 5 : 2]);
        I3dVbColor(0xFF00FF00u);
        I3dVbNext();
    }
    I3dVbUnlockCurrent();
    uint16_t* idx = I3dIbLockCurrent(24);
    if (!idx) return -1;
    // The edges join corners that differ in one bit.
    static const uint16_t kEdges[24] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 2, 1, 3,
                                        4, 6, 5, 7, 0, 4, 1, 5, 2, 6, 3, 7};
    for (int i = 0; i < 24; ++i)
        idx[i] = kEdges[i];
    I3dIbUnlockCurrent();
    if (I3dVbSelectCurrent() != 0 || I3dIbSelectCurrent() != 0) return -1;
    return I3dVbDrawIndexed(D3DPT_LINELIST, 12, 8);
}
