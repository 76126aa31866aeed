// Extended-model drawing: the model's distance fade and view test, the node tree walked with
// the shared per-node distance rule, each node's material through the material shaders, and the
// point lights emitted as glows.
#include "I3d/Buffers.h"
#include "I3d/Camera.h"
#include "I3d/Frustum.h"
#include "I3d/Materials.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Mdl3Walk.h"
#include "I3d/Shader.h"
#include "gi/Render/Mdl3Ex.h"
#include "gi/Render/Mdl3ExShaders.h"
#include "world/Particles/ParticleSys.h"

#include <cmath>
#include <vector>

namespace {

std::vector<Mat4> s_parents; // the walk's stack, kept between draws

float DistanceSquared(const Mat4& m, const VECTOR3& eye) {
    const float dx = m.m[12] - eye.x, dy = m.m[13] - eye.y, dz = m.m[14] - eye.z;
    return dx * dx + dy * dy + dz * dz;
}

// The camera's rotation undone: reflection vectors come back from camera space into the world,
// where the environment map hangs.
void SetEnvironmentMatrix() {
    Mat4 view, inverse;
    I3dGetViewMatrix(&view);
    Mat4InverseRigid(&view, &inverse);
    inverse.m[12] = inverse.m[13] = inverse.m[14] = 0.0f;
    inverse.m[3] = inverse.m[7] = inverse.m[11] = 0.0f;
    inverse.m[15] = 1.0f;
    Mdl3ExSetEnvMatrix(&inverse);
}

void DrawGeometry(const Mdl3ExModel& model, const MDL3NODE& n) {
    const int32_t mi = n.materialId;
    if (mi < 0 || mi >= model.mdl->numMaterials) return;
    const MDL3MTRL& m = model.mdl->materials[mi];
    Mdl3ExSetSharedFactor(0, 0xFFFFFFFFu);
    Mdl3ExSetColorSlot(MDL3EX_COLOR_AMBIENT, m.ambient[0], m.ambient[1], m.ambient[2],
                       m.ambient[3]);
    Mdl3ExSetColorSlot(MDL3EX_COLOR_DIFFUSE, m.diffuse[0], m.diffuse[1], m.diffuse[2],
                       m.diffuse[3]);
    Mdl3ExSetColorSlot(MDL3EX_COLOR_SPECULAR, m.specular[0], m.specular[1], m.specular[2],
                       m.specular[3]);
    Mdl3ExSetColorSlot(MDL3EX_COLOR_EMISSIVE, m.emissive[0], m.emissive[1], m.emissive[2],
                       m.emissive[3]);
    const size_t i = (size_t)mi;
    Mdl3ExSetTextureSlot(MDL3EX_TEX_DIFFUSE, m.diffuseSlot);
    Mdl3ExSetTextureSlot(MDL3EX_TEX_SPECULAR, i < model.specSlots.size() ? model.specSlots[i] : -1);
    Mdl3ExSetTextureSlot(MDL3EX_TEX_EMISSIVE, i < model.emitSlots.size() ? model.emitSlots[i] : -1);
    Mdl3ExSetTextureSlot(MDL3EX_TEX_ENV, model.envTexture);
    Shader* shader = Mdl3ExShaderOf(&model, mi);
    if (!shader) return;
    int passes = shader->NumPasses();
    // Without an environment map the second pass would add the diffuse texture again through
    // the reflection coordinates: the environment is simply absent.
    if (passes > 1 && model.envTexture < 0) passes = 1;
    for (int p = 0; p < passes; ++p) {
        shader->CallPass(p);
        I3dVbDrawIndexedRange(D3DPT_TRIANGLELIST, n.numTris, n.minVertIdx, n.maxVertIdx,
                              n.firstIdx);
    }
    shader->EndPass();
}

} // namespace

Shader* Mdl3ExShaderOf(const Mdl3ExModel* model, int material) {
    if (!model || !model->mdl || material < 0 || material >= model->mdl->numMaterials)
        return nullptr;
    const MDL3MTRL& m = model->mdl->materials[material];
    const size_t i = (size_t)material;
    const int specular = i < model->specSlots.size() ? model->specSlots[i] : -1;
    const int emit = i < model->emitSlots.size() ? model->emitSlots[i] : -1;
    if (m.diffuseSlot >= 0 && specular >= 0) return Mdl3ExShaderNamed("TexEnv");
    if (emit >= 0 && model->emissiveOn) return Mdl3ExShaderNamed("DifEmi");
    return Mdl3ExShaderNamed("Dif");
}

void Mdl3ExDraw(Mdl3ExModel* model) {
    if (!model || !model->mdl || model->mdl->numNodes < 1) return;
    MDL3* mdl = model->mdl;
    Mat4 world;
    I3dGetWorldMatrix(&world);
    VECTOR3 eye;
    I3dGetEyePos(&eye);
    const MDL3NODE* root = &mdl->nodes[0];
    float fade = 1.0f;
    if (!Mdl3DistanceFade(root, DistanceSquared(world, eye), &fade)) return;
    if (!I3dBoxOutcodeTest(&root->boundsMin, &root->boundsMax, nullptr)) return;
    I3dSetMaterialFade(fade);
    Mdl3ExSetFade(fade);
    if (mdl->vb && mdl->ib) {
        // Once per model, not per node: the view, and so the matrix, cannot change in one draw.
        SetEnvironmentMatrix();
        I3dVbSelect(mdl->vb);
        I3dIbSelect(mdl->ib);
        Mdl3Walk(root, world, 1, s_parents, [&](const MDL3NODE& n, const Mat4& m) {
            if (!Mdl3NodeInRange(&n, DistanceSquared(m, eye))) return false; // and its subtree
            if ((n.flags & MDL3_VISIBLE) && n.numTris > 0) {
                I3dSetWorld(&m);
                DrawGeometry(*model, n);
            }
            return true;
        });
        I3dSetWorld(&world);
        // The passes changed states the kernel's material cache believes it set.
        I3dForgetMaterial();
    }
    Mdl3ExSetFade(1.0f);
    if (model->lightsOn) Mdl3ExEmitLights(model, model->flashBits);
}

void Mdl3ExDrawPlain(Mdl3ExModel* model, const Mat4* world) {
    if (model && model->mdl) Mdl3Draw(model->mdl, world);
}

void Mdl3ExDrawWithLights(Mdl3ExModel* model, const Mat4* world, uint32_t flashBits) {
    if (!model || !world) return;
    Mdl3ExDrawPlain(model, world);
    I3dSetWorld(world);
    Mdl3ExEmitLights(model, flashBits);
}

int Mdl3ExEmitLights(Mdl3ExModel* model, uint32_t flashBits) {
    ParticleSys* sys = Mdl3ExParticles();
    if (!model || !sys) return 0;
    Mat4 world;
    I3dGetWorldMatrix(&world);
    int emitted = 0;
    for (const Mdl3ExPtLight& light : model->lights) {
        if (!(light.flashMask & flashBits)) continue;
        VECTOR3 p;
        Mat4XformPoint(&light.pos, &world, &p);
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) continue;
        Particle* g = sys->Add();
        if (!g) break; // full: the rest are not shown this frame
        g->pos = p;
        g->size = light.radius;
        g->colour = light.color;
        g->cell = 0;
        g->used = 1;
        ++emitted;
    }
    return emitted;
}
