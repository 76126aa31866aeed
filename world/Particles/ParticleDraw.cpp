// Drawing a particle system: its used particles as camera-facing quads in the shared vertex
// buffer, drawn through the shared indices with the system's shader; and "ParticleBasic".
#include "world/Particles/ParticleSys.h"

#include "I3d/Buffers.h"
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Shader.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"

#include <cstring>

namespace {
// One vertex of format 37: position, colour, one uv pair.
struct QuadVertex {
    float x, y, z;
    uint32_t colour;
    float u, v;
};
static_assert(sizeof(QuadVertex) == 24, "format 37 is 24 bytes a vertex");
} // namespace

void ParticleSys::Draw() {
    drawn = 0;
    // The camera's right (R) and up (U) axes are the view's first two columns.
    Mat4 view;
    I3dGetViewMatrix(&view);
    const VECTOR3 r = {view.m[0], view.m[4], view.m[8]};
    const VECTOR3 u = {view.m[1], view.m[5], view.m[9]};
    corners[0] = VECTOR3{u.x - r.x, u.y - r.y, u.z - r.z};
    corners[1] = VECTOR3{r.x + u.x, r.y + u.y, r.z + u.z};
    corners[2] = VECTOR3{r.x - u.x, r.y - u.y, r.z - u.z};
    corners[3] = VECTOR3{-r.x - u.x, -r.y - u.y, -r.z - u.z};

    if (showAll) MarkAllUsed();
    // Effect code that overfilled the count must not send the draw past the records.
    const int n = count < capacity ? (count > 0 ? count : 0) : capacity;
    I3dVertexBuffer* vb = ParticleSysVertexBuffer();
    I3dIndexBuffer* ib = ParticleSysIndexBuffer();
    if (n == 0 || !vb || !ib || I3dVbLock(vb, 4 * n) != 0) return;
    auto* out = reinterpret_cast<QuadVertex*>(I3dVbLockedPtr(vb));
    for (int i = 0; i < n; ++i) {
        const Particle& p = particles[i];
        if (!p.used) continue;
        const ParticleCell& c = cells[p.cell < PARTICLE_CELLS ? p.cell : 0];
        const float uv[4][2] = {
            {c.uMin, c.vMin}, {c.uMax, c.vMin}, {c.uMax, c.vMax}, {c.uMin, c.vMax}};
        for (int k = 0; k < 4; ++k) {
            const QuadVertex v = {p.pos.x + p.size * corners[k].x,
                                  p.pos.y + p.size * corners[k].y,
                                  p.pos.z + p.size * corners[k].z,
                                  p.colour,
                                  uv[k][0],
                                  uv[k][1]};
            std::memcpy(out++, &v, sizeof v);
        }
        ++drawn;
    }
    I3dVbUnlock(vb);
    if (drawn == 0) return;

    Mat4 identity;
    I3dSetWorld(Mat4Identity(&identity));
    if (I3dVbSelect(vb) != 0 || I3dIbSelect(ib) != 0) return;
    Shader* s = shader ? shader : ParticleSysDefaultShader();
    if (!s) return;
    const int passes = s->NumPasses();
    for (int i = 0; i < passes; ++i) {
        ShaderParams.words[8] = (uint32_t)texture;
        s->CallPass(i);
        I3dVbDrawIndexed(D3DPT_TRIANGLELIST, drawn * 2, drawn * 4);
    }
    s->EndPass();
}

void ParticleBasicPass() {
    D3dSetAlphaTest(0);
    D3dSetZWrite(0);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetLighting(0);
    D3dSetSpecular(0);
    // Additive: the particle's alpha scales what it adds.
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_ONE);
    D3dSetTexCoordIndex(0, 0);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    D3dSetAddressU(0, D3DTADDRESS_CLAMP);
    D3dSetAddressV(0, D3DTADDRESS_CLAMP);
    D3dSetMinFilter(0, D3DTEXF_LINEAR);
    D3dSetMagFilter(0, D3DTEXF_LINEAR);
    D3dSetTextureDiffuseStages();
    D3dSetTexture(0, (int)ShaderParams.words[8]);
}
