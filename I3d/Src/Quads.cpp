// Immediate quads, the quad outline and the billboard, written into the current buffers.
#include "I3d/Buffers.h"
#include "I3d/Primitives.h"

static constexpr uint32_t kWhite = 0xFFFFFFFFu;

// Writes the 4 corners into the current vertex buffer and selects it. Colour and normal are
// always written: the ring holds whatever earlier draws left there.
static int PutCorners(const VECTOR3 pos[4], const float uv[4][2], const VECTOR3& normal) {
    if (I3dVbLockCurrent(4) != 0) return -1;
    for (int i = 0; i < 4; ++i) {
        I3dVbPosV(&pos[i]);
        I3dVbNormalV(&normal);
        I3dVbColor(kWhite);
        I3dVbUv(uv[i][0], uv[i][1]);
        I3dVbNext();
    }
    I3dVbUnlockCurrent();
    return I3dVbSelectCurrent();
}

int I3dDrawQuadUv(float x0, float y0, float x1, float y1, float left, float top, float right,
                  float bottom, float z) {
    const VECTOR3 pos[4] = {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}};
    const float uv[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    if (PutCorners(pos, uv, VECTOR3{0, 0, 0}) != 0) return -1;
    return I3dVbDraw(D3DPT_TRIANGLEFAN, 2);
}

int I3dDrawQuad(float x0, float y0, float x1, float y1, float z) {
    return I3dDrawQuadUv(x0, y0, x1, y1, 0, 0, 1, 1, z);
}

int I3dDrawQuadOutline(float x0, float y0, float x1, float y1, float z) {
    const VECTOR3 pos[4] = {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}};
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    if (PutCorners(pos, uv, VECTOR3{0, 0, 0}) != 0) return -1;
    uint16_t* idx = I3dIbLockCurrent(8);
    if (!idx) return -1;
    static const uint16_t kLines[8] = {0, 1, 1, 2, 2, 3, 3, 0};
    for (int i = 0; i < 8; ++i)
        idx[i] = kLines[i];
    I3dIbUnlockCurrent();
    if (I3dIbSelectCurrent() != 0) return -1;
    return I3dVbDrawIndexed(D3DPT_LINELIST, 4, 4);
}

int I3dDrawBillboard(const VECTOR3* centre, float size) {
    if (!centre) return -1;
    VECTOR3 corner[4];
    I3dGetBillboardCorners(corner);
    VECTOR3 pos[4];
    for (int i = 0; i < 4; ++i)
        pos[i] = VECTOR3{centre->x + size * corner[i].x, centre->y + size * corner[i].y,
                         centre->z + size * corner[i].z};
    const float uv[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
    if (PutCorners(pos, uv, VECTOR3{1, 1, 1}) != 0) return -1;
    return I3dVbDraw(D3DPT_TRIANGLEFAN, 2);
}
