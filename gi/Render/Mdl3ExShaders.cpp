// The extended models' material shaders: the slots their passes read and the passes' states,
// every one set through the kernel's cached setters.
#include "gi/Render/Mdl3ExShaders.h"

#include "I3d/Camera.h"
#include "I3d/Materials.h"
#include "I3d/Shader.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"

#include <cstring>
#include <new>

// ---- slots ----

static float s_colors[MDL3EX_COLOR_SLOTS][4] = {};
static int s_textures[MDL3EX_TEX_SLOTS] = {-1, -1, -1, -1};
static float s_fade = 1.0f;
static Mat4 s_envMatrix = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
// The second factor belongs to the kernel in spirit; any value serves, so it is white too.
static D3DCOLOR s_factors[2] = {0xFFFFFFFFu, 0xFFFFFFFFu};

void Mdl3ExSetColorSlot(int i, float r, float g, float b, float a) {
    if (i < 0 || i >= MDL3EX_COLOR_SLOTS) return;
    s_colors[i][0] = r, s_colors[i][1] = g, s_colors[i][2] = b, s_colors[i][3] = a;
}

void Mdl3ExGetColorSlot(int i, float out[4]) {
    if (!out) return;
    if (i < 0 || i >= MDL3EX_COLOR_SLOTS) {
        out[0] = out[1] = out[2] = out[3] = 0.0f;
        return;
    }
    std::memcpy(out, s_colors[i], sizeof s_colors[i]);
}

void Mdl3ExSetTextureSlot(int i, int slot) {
    if (i >= 0 && i < MDL3EX_TEX_SLOTS) s_textures[i] = slot;
}

void Mdl3ExSetFade(float fade) {
    s_fade = fade;
}

void Mdl3ExSetEnvMatrix(const Mat4* m) {
    if (m) s_envMatrix = *m;
}

void Mdl3ExSetSharedFactor(int i, D3DCOLOR argb) {
    if (i == 0 || i == 1) s_factors[i] = argb;
}

// ---- pass pieces ----

namespace {

D3DCOLORVALUE Colour(int i, float alphaScale) {
    return D3DCOLORVALUE{s_colors[i][0], s_colors[i][1], s_colors[i][2],
                         s_colors[i][3] * alphaScale};
}

// The device material from the colour slots: the fade reaches the pixels through the diffuse
// and ambient alpha, as it does for the kernel's own materials.
void SlotMaterial() {
    D3DMATERIAL8 m{};
    m.Diffuse = Colour(MDL3EX_COLOR_DIFFUSE, s_fade);
    m.Ambient = Colour(MDL3EX_COLOR_AMBIENT, s_fade);
    m.Specular = Colour(MDL3EX_COLOR_SPECULAR, 1.0f);
    m.Emissive = Colour(MDL3EX_COLOR_EMISSIVE, 1.0f);
    m.Power = 10.0f;
    D3dSetMaterial(&m);
}

// A slot of -1 clears the stage: binding nothing would leave the last draw's texture there.
void Bind(int stage, int texSlot) {
    const int slot = s_textures[texSlot];
    if (slot < 0)
        D3dClearTexture(stage);
    else
        D3dSetTexture(stage, slot);
}

void Colour(int stage, DWORD op, DWORD arg1, DWORD arg2 = D3DTA_CURRENT) {
    D3dSetColorOp(stage, op);
    D3dSetColorArg1(stage, arg1);
    D3dSetColorArg2(stage, arg2);
}

void Alpha(int stage, DWORD op, DWORD arg1, DWORD arg2 = D3DTA_CURRENT) {
    D3dSetAlphaOp(stage, op);
    D3dSetAlphaArg1(stage, arg1);
    D3dSetAlphaArg2(stage, arg2);
}

void StageOff(int stage) {
    D3dSetColorOp(stage, D3DTOP_DISABLE);
    D3dSetAlphaOp(stage, D3DTOP_DISABLE);
}

// What every pass that is not additive sets.
void Base(DWORD specular) {
    D3dSetZWrite(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetCullMode(D3DCULL_CCW);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetLighting(1);
    D3dSetSpecular(specular);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    D3dSetAmbientMaterialSource(D3DMCS_MATERIAL);
    D3dSetDiffuseMaterialSource(D3DMCS_MATERIAL);
    D3dSetSpecularMaterialSource(D3DMCS_MATERIAL);
    D3dSetEmissiveMaterialSource(D3DMCS_MATERIAL);
    SlotMaterial();
    D3dSetTexCoordIndex(0, 0);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    D3dSetAddressU(0, D3DTADDRESS_WRAP);
    D3dSetAddressV(0, D3DTADDRESS_WRAP);
    D3dSetMinFilter(0, D3DTEXF_LINEAR);
    D3dSetMagFilter(0, D3DTEXF_LINEAR);
}

// The alpha test's compare is left at the game's see-through rule, with the test itself off.
void AlphaTestOff() {
    D3dSetAlphaFunc(D3DCMP_GREATER);
    D3dSetAlphaRef(2);
    D3dSetAlphaTest(0);
}

// The environment added over pass 0: stage 0 samples the environment map by the camera-space
// reflection vector, its strength the factor's alpha.
void Additive(D3DCOLOR factor) {
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_ONE);
    D3dSetSpecular(1);
    D3dSetTextureFactor(factor);
    Bind(0, MDL3EX_TEX_ENV);
    D3dSetTexCoordIndex(0, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR);
    D3dSetTexTransformFlags(0, D3DTTFF_COUNT3);
    I3dSetTexMatrix(0, &s_envMatrix);
    Colour(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE);
    Alpha(0, D3DTOP_SELECTARG1, D3DTA_TFACTOR);
}

void DiffuseTimesTexture(DWORD alphaArg2) {
    Bind(0, MDL3EX_TEX_DIFFUSE);
    Colour(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    Alpha(0, D3DTOP_MODULATE, alphaArg2 == D3DTA_TFACTOR ? D3DTA_DIFFUSE : D3DTA_TEXTURE,
          alphaArg2);
}

} // namespace

// ---- passes ----

void Mdl3ExPassSolidTexture() {
    Base(1);
    DiffuseTimesTexture(D3DTA_TFACTOR);
    StageOff(1);
    D3dSetTextureFactor(s_factors[0]);
    AlphaTestOff();
}

void Mdl3ExPassTexEnv0() {
    Base(1);
    DiffuseTimesTexture(D3DTA_DIFFUSE);
    StageOff(1);
    D3dSetTextureFactor(s_factors[0]);
}

// Stage 1 reads the specular map through the model's one coordinate set as the environment's
// strength.
void Mdl3ExPassTexEnv1() {
    Additive(0x8f000000u);
    Bind(1, MDL3EX_TEX_SPECULAR);
    D3dSetTexCoordIndex(1, 0);
    D3dSetTexTransformFlags(1, D3DTTFF_DISABLE);
    Colour(1, D3DTOP_SELECTARG1, D3DTA_CURRENT);
    Alpha(1, D3DTOP_SELECTARG1, D3DTA_TEXTURE);
    StageOff(2);
}

void Mdl3ExPassClrEnv0() {
    Base(0);
    Bind(0, MDL3EX_TEX_DIFFUSE);
    Colour(0, D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_TFACTOR);
    Alpha(0, D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_TFACTOR);
    StageOff(1);
    D3dSetTextureFactor(s_factors[0]);
}

void Mdl3ExPassClrEnv1() {
    Additive(0x4f000000u);
    StageOff(1);
}

// The "Emit" map added to the lit colour, through the model's one coordinate set.
void Mdl3ExPassDifEmi() {
    Base(1);
    DiffuseTimesTexture(D3DTA_DIFFUSE);
    Bind(1, MDL3EX_TEX_EMISSIVE);
    D3dSetTexCoordIndex(1, 0);
    D3dSetTexTransformFlags(1, D3DTTFF_DISABLE);
    D3dSetAddressU(1, D3DTADDRESS_WRAP);
    D3dSetAddressV(1, D3DTADDRESS_WRAP);
    Colour(1, D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_CURRENT);
    D3dSetAlphaOp(1, D3DTOP_DISABLE);
    StageOff(2);
    D3dSetTextureFactor(s_factors[1]);
    AlphaTestOff();
}

void Mdl3ExPassDif() {
    Base(1);
    DiffuseTimesTexture(D3DTA_DIFFUSE);
    StageOff(1);
    AlphaTestOff();
}

// ---- the shaders ----

namespace {

struct ShaderDef {
    const char* name;
    ShaderPassFn passes[2];
};
const ShaderDef kShaders[] = {
    {"SolidTexture", {Mdl3ExPassSolidTexture, nullptr}},
    {"TexEnv", {Mdl3ExPassTexEnv0, Mdl3ExPassTexEnv1}},
    {"ClrEnv", {Mdl3ExPassClrEnv0, Mdl3ExPassClrEnv1}},
    {"DifEmi", {Mdl3ExPassDifEmi, nullptr}},
    {"Dif", {Mdl3ExPassDif, nullptr}},
};
constexpr int kShaderCount = int(sizeof kShaders / sizeof kShaders[0]);
Shader* s_shaders[kShaderCount] = {};
int s_shaderRefs = 0;

} // namespace

void Mdl3ExShadersAcquire() {
    if (s_shaderRefs++ > 0) return;
    for (int i = 0; i < kShaderCount; ++i) {
        Shader* s = new (std::nothrow) Shader();
        s_shaders[i] = s;
        if (!s) continue;
        // Unshareable: another module's shader of the same name is never handed ours.
        s->shareable = 0;
        s->SetName(kShaders[i].name);
        for (int p = 0; p < 2 && kShaders[i].passes[p]; ++p)
            s->SetPassFunc(p, kShaders[i].passes[p]);
    }
}

void Mdl3ExShadersRelease() {
    if (s_shaderRefs <= 0 || --s_shaderRefs > 0) return;
    for (Shader*& s : s_shaders) {
        if (s) SharedObjRelease(s);
        s = nullptr;
    }
}

Shader* Mdl3ExShaderNamed(const char* name) {
    if (!name) return nullptr;
    for (int i = 0; i < kShaderCount; ++i)
        if (std::strcmp(kShaders[i].name, name) == 0) return s_shaders[i];
    return nullptr;
}
