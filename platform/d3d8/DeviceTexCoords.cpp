// Texture coordinates on GL: a stage's texture matrix, applied only while its transform flags
// are set, and the camera-space normal and reflection vector through GL's normal-map and
// reflection-map generation (a cube map on the stage then reads them). The GL modelview is
// world x view, so GL's eye space is Direct3D's camera space.
#include "platform/d3d8/GlDevice.h"

Mat4 D3dGlTextureMatrix(const Mat4& d3d, DWORD flags, bool twoCoords) {
    Mat4 m = d3d;
    if (twoCoords) {
        for (int c = 0; c < 4; ++c) {
            m.m[12 + c] = m.m[8 + c];
            m.m[8 + c] = 0.0f;
        }
    }
    if (!(flags & D3DTTFF_PROJECTED)) {
        m.m[3] = m.m[7] = m.m[11] = 0.0f;
        m.m[15] = 1.0f;
    }
    return m;
}

// Coordinates in set `set` of a vertex format: 1 to 4.
static int SetCoordCount(DWORD fvf, DWORD set) {
    static const int counts[4] = {2, 3, 4, 1};
    return set < 8 ? counts[(fvf >> (16 + 2 * set)) & 3] : 2;
}

// For the active unit.
void D3dGlDevice::ApplyTexCoords(DWORD stage, DWORD fvf) {
    const DWORD index = StageState(stage, D3DTSS_TEXCOORDINDEX);
    const bool generated = D3dTexCoordsGenerated(index);
    const GLint mode =
        (index & 0xFFFF0000u) == D3DTSS_TCI_CAMERASPACENORMAL ? GL_NORMAL_MAP : GL_REFLECTION_MAP;
    for (GLenum coord : {GL_S, GL_T, GL_R}) {
        if (generated) glTexGeni(coord, GL_TEXTURE_GEN_MODE, mode);
    }
    for (GLenum gen : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R})
        generated ? glEnable(gen) : glDisable(gen);

    // GL always applies its texture matrix; Direct3D only with transform flags.
    glMatrixMode(GL_TEXTURE);
    const DWORD flags = StageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS);
    if (flags == D3DTTFF_DISABLE) {
        glLoadIdentity();
        return;
    }
    const bool twoCoords = !generated && SetCoordCount(fvf, index & 0xFFFF) <= 2;
    Mat4 m = D3dGlTextureMatrix(*TransformSlot(D3DTS_TEXTURE0 + stage), flags, twoCoords);
    glLoadMatrixf(m.m);
}
