// Model materials: the faded colours, the fixed states of model geometry and the texture-stage
// recipe chosen by the maps a material has.
#include "I3d/Camera.h"
#include "I3d/Materials.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3Ops.h"
#include "I3d/Src/Kernel.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

static float s_fade = 1.0f;
static const float s_alphaFactor = 1.0f; // a second global alpha factor no operation changes
static int s_envMap = -1;
static const MDL3MTRL* s_last = nullptr;
static const VECTOR3 s_bumpLightDir = {0.0f, 0.0f, 0.0f}; // world space; never changed

void I3dMaterialDefaults() {
    s_fade = 1.0f;
    s_envMap = -1;
    s_last = nullptr;
}

void I3dSetMaterialFade(float fade) {
    s_fade = fade;
}

void I3dSetEnvMapTexture(int slot) {
    s_envMap = slot;
}

int I3dGetEnvMapTexture() {
    return s_envMap;
}

void I3dForgetMaterial() {
    s_last = nullptr;
}

void I3dSetMaterial(const MDL3MTRL* m) {
    if (!m || m == s_last) return;
    I3dApplyMaterial(m);
    s_last = m;
}

void I3dMaterialSetTexMatrix(MDL3MTRL* m, const Mat4* texMatrix) {
    if (m) m->texMatrix = texMatrix;
}

// ---- textures ----

// A name field need not be terminated within its 32 bytes.
static std::string MapName(const char (&name)[32]) {
    return std::string(name, strnlen(name, sizeof name));
}

static int LoadMap(const std::string& folder, const char (&name)[32]) {
    std::string n = MapName(name);
    return n.empty() ? -1 : I3dTexLoad((folder + n).c_str(), nullptr, 1);
}

int I3dMaterialLoadTextures(MDL3MTRL* m, const char* folder) {
    // -1 for no material, where there is nothing to fill; names are read within their 32 bytes.
    if (!m) return -1;
    std::string f = folder ? folder : "";
    m->diffuseSlot = LoadMap(f, m->diffuseMap);
    m->bumpSlot = LoadMap(f, m->bumpMap);
    m->detailSlot = LoadMap(f, m->detailMap);
    return 0;
}

// The slots are cleared once released: a second free, or an apply after it, must not reach a
// slot that may since hold another texture.
void I3dMaterialFreeTextures(MDL3MTRL* m) {
    if (!m) return;
    for (int32_t* slot : {&m->diffuseSlot, &m->bumpSlot, &m->detailSlot}) {
        if (*slot != -1) I3dTexRelease(*slot);
        *slot = -1;
    }
}

// ---- recipes ----

namespace {

void Stage(int stage, DWORD colorOp, DWORD colorArg1, DWORD colorArg2) {
    D3dSetColorOp(stage, colorOp);
    if (colorOp == D3DTOP_DISABLE) return;
    D3dSetColorArg1(stage, colorArg1);
    if (colorOp != D3DTOP_SELECTARG1) D3dSetColorArg2(stage, colorArg2);
}

void StageAlpha(int stage, DWORD alphaOp, DWORD alphaArg1, DWORD alphaArg2) {
    D3dSetAlphaOp(stage, alphaOp);
    if (alphaOp == D3DTOP_DISABLE) return;
    D3dSetAlphaArg1(stage, alphaArg1);
    if (alphaOp != D3DTOP_SELECTARG1) D3dSetAlphaArg2(stage, alphaArg2);
}

Mat4 Tiling(const float tile[2]) {
    Mat4 m = {};
    m.m[0] = tile[0];
    m.m[5] = tile[1];
    m.m[10] = m.m[15] = 1.0f;
    return m;
}

// Stage 1 reflects the environment: camera-space reflection vectors turned back by the inverse
// of world x view (rotation only). The rigid inverse equals the full one for rotated and evenly
// scaled models (a cube lookup ignores a direction's length) and cannot fail on a singular matrix;
// only an unevenly scaled model reflects slightly differently.
void EnvironmentStage(int envMap) {
    Mat4 worldView, inverse;
    I3dGetWorldViewMatrix(&worldView);
    Mat4InverseRigid(&worldView, &inverse);
    inverse.m[3] = inverse.m[7] = inverse.m[11] = 0.0f;
    inverse.m[12] = inverse.m[13] = inverse.m[14] = 0.0f;
    inverse.m[15] = 1.0f;
    I3dSetTexMatrix(1, &inverse);
    D3dSetTexCoordIndex(1, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR | 1);
    D3dSetTexTransformFlags(1, D3DTTFF_COUNT3);
    D3dSetAddressU(1, D3DTADDRESS_WRAP);
    D3dSetAddressV(1, D3DTADDRESS_WRAP);
    D3dSetTexture(1, envMap);
}

void EnvironmentOnly(int envMap) {
    EnvironmentStage(envMap);
    Stage(0, D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_CURRENT);
    Stage(1, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT);
    Stage(2, D3DTOP_DISABLE, 0, 0);
    StageAlpha(0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE, 0);
    StageAlpha(1, D3DTOP_DISABLE, 0, 0);
}

void DiffuseAndEnvironment(const MDL3MTRL& m, int envMap) {
    EnvironmentStage(envMap);
    Stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT);
    Stage(1, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT);
    Stage(2, D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_CURRENT);
    Stage(3, D3DTOP_DISABLE, 0, 0);
    StageAlpha(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    StageAlpha(1, D3DTOP_DISABLE, 0, 0);
    D3dSetTexture(0, m.diffuseSlot);
}

void DiffuseAndDetail(const MDL3MTRL& m) {
    Stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, 0);
    D3dSetTexture(0, m.diffuseSlot);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    // Alpha passes through stage 0 unchanged: the diffuse alpha.
    StageAlpha(0, D3DTOP_DISABLE, 0, 0);
    D3dSetTexture(1, m.detailSlot);
    D3dSetTexCoordIndex(1, 0);
    Mat4 tiling = Tiling(m.detailTile);
    I3dSetTexMatrix(1, &tiling);
    D3dSetTexTransformFlags(1, D3DTTFF_COUNT2);
    D3dSetAddressU(1, D3DTADDRESS_WRAP);
    D3dSetAddressV(1, D3DTADDRESS_WRAP);
    Stage(1, D3DTOP_ADDSIGNED, D3DTA_CURRENT, D3DTA_TEXTURE);
    Stage(2, D3DTOP_MODULATE, D3DTA_CURRENT, D3DTA_DIFFUSE);
    Stage(3, D3DTOP_DISABLE, 0, 0);
}

void DiffuseOnly(const MDL3MTRL& m) {
    if (m.texMatrix) {
        D3dSetTexTransformFlags(0, D3DTTFF_COUNT3);
        I3dSetTexMatrix(0, m.texMatrix);
    } else {
        D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    }
    D3dSetTexCoordIndex(0, 0);
    D3dSetAddressU(0, D3DTADDRESS_WRAP);
    D3dSetAddressV(0, D3DTADDRESS_WRAP);
    Stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    StageAlpha(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    D3dSetTexture(0, m.diffuseSlot);
    Stage(1, D3DTOP_DISABLE, 0, 0);
    StageAlpha(1, D3DTOP_DISABLE, 0, 0);
}

void DiffuseAndBump(const MDL3MTRL& m) {
    D3dSetTextureFactor(I3dBumpLightFactor());
    D3dSetTexture(0, m.bumpSlot);
    D3dSetTexCoordIndex(0, 0);
    Mat4 tiling = Tiling(m.bumpTile);
    I3dSetTexMatrix(0, &tiling);
    D3dSetTexTransformFlags(0, D3DTTFF_COUNT2);
    Stage(0, D3DTOP_DOTPRODUCT3, D3DTA_TEXTURE, D3DTA_TFACTOR);
    StageAlpha(0, D3DTOP_DOTPRODUCT3, D3DTA_TEXTURE, D3DTA_TFACTOR);
    D3dSetTexture(1, m.diffuseSlot);
    D3dSetTexCoordIndex(1, 0);
    D3dSetTexTransformFlags(1, D3DTTFF_DISABLE);
    Stage(1, D3DTOP_ADDSIGNED, D3DTA_CURRENT, D3DTA_TEXTURE);
    StageAlpha(1, D3DTOP_SELECTARG1, D3DTA_TFACTOR, 0);
    Stage(2, D3DTOP_MODULATE, D3DTA_CURRENT, D3DTA_DIFFUSE);
    StageAlpha(2, D3DTOP_DISABLE, 0, 0);
    StageAlpha(3, D3DTOP_DISABLE, 0, 0);
    Stage(3, D3DTOP_DISABLE, 0, 0);
}

void DiffuseColourOnly() {
    Stage(0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE, 0);
    StageAlpha(0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE, 0);
    Stage(1, D3DTOP_DISABLE, 0, 0);
    StageAlpha(1, D3DTOP_DISABLE, 0, 0);
}

D3DCOLORVALUE Colour(const float c[4], float alphaScale) {
    return {c[0], c[1], c[2], c[3] * alphaScale};
}

} // namespace

// A direction takes no translation: transformed as a point, the object's position would turn
// a zero direction into the inverse world's translation and move the bump lighting with it.
D3DCOLOR I3dBumpLightFactor() {
    VECTOR3 d;
    Mat4XformVector(&s_bumpLightDir, &I3dWorldInverse(), &d);
    float len = v3::Length(d);
    if (len > 0.0f) d = v3::Scale(d, 1.0f / len);
    auto channel = [](float v) {
        v = std::isnan(v) ? 0.0f : std::clamp(v, -1.0f, 1.0f); // a NaN world: neutral 0x80
        return (D3DCOLOR)(int)(127.0f * v + 128.0f);
    };
    return 0xFF000000u + (channel(d.x) << 16) + (channel(d.y) << 8) + channel(d.z);
}

void I3dApplyMaterial(const MDL3MTRL* m) {
    if (!m) return;
    D3dSetAmbientMaterialSource(D3DMCS_MATERIAL);
    D3dSetDiffuseMaterialSource(D3DMCS_MATERIAL);
    D3dSetEmissiveMaterialSource(D3DMCS_MATERIAL);
    // The fade reaches the device only; the material keeps its own alphas.
    const float alpha = s_fade * s_alphaFactor;
    D3DMATERIAL8 dm = {Colour(m->diffuse, alpha), Colour(m->ambient, alpha),
                       Colour(m->specular, 1.0f), Colour(m->emissive, 1.0f), m->shininess};
    D3dSetMaterial(&dm);

    D3dSetLighting(1);
    D3dSetSpecular(1);
    D3dSetZWrite(1);
    D3dSetAlphaBlendDefaults();
    D3dSetCullMode(m->doubleSided ? D3DCULL_NONE : D3DCULL_CCW);
    D3dSetAddressU(0, D3DTADDRESS_WRAP);
    D3dSetAddressV(0, D3DTADDRESS_WRAP);
    D3dSetFillMode(D3DFILL_SOLID);

    // Slots below 0 count as none: binding one would leave the stage's last texture in place.
    const bool diffuse = m->diffuseSlot >= 0;
    const bool environment = m->reflective && s_envMap >= 0;
    if (!diffuse && environment)
        EnvironmentOnly(s_envMap);
    else if (diffuse && environment)
        DiffuseAndEnvironment(*m, s_envMap);
    // The maps go by their place in the record: the second ("Bump Map", read as the DOT3 bump)
    // and the third ("Detail Map", the tiled signed-add detail), as the model file names its
    // fields, which is the layout that defines them; a material's own text calling the second map
    // the detail one does not move them.
    else if (diffuse && m->detailSlot >= 0)
        DiffuseAndDetail(*m);
    else if (diffuse && m->bumpSlot < 0)
        DiffuseOnly(*m);
    else if (diffuse)
        DiffuseAndBump(*m);
    else
        DiffuseColourOnly();
}
