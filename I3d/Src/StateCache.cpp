// The render-state cache (see I3d/StateCache.h). Each cached word carries a "sent" flag: a
// marker value would be a value too, and a first request for it (white fog, a factor of
// 0xFFFFFFFF) would be skipped while the device holds something else.
#include "I3d/StateCache.h"

#include "I3d/Src/Kernel.h"
#include "platform/d3d8/D3d8.h"

#include <cassert>

namespace {

struct CachedWord {
    DWORD value;
    bool sent;
};

struct StageRecord {
    // In the record's order: min filter, mag filter, address U, address V, colour op, colour
    // args 1 and 2, alpha op, alpha args 1 and 2, texture-coordinate index, transform flags.
    CachedWord words[12];
    int boundSlot;
    DWORD borderColor;
};

enum StageField {
    F_MINFILTER,
    F_MAGFILTER,
    F_ADDRESSU,
    F_ADDRESSV,
    F_COLOROP,
    F_COLORARG1,
    F_COLORARG2,
    F_ALPHAOP,
    F_ALPHAARG1,
    F_ALPHAARG2,
    F_TEXCOORDINDEX,
    F_TEXTRANSFORMFLAGS,
};

} // namespace

static CachedWord s_states[D3D_RENDERSTATE_COUNT];
static float s_fogStart, s_fogEnd;
static bool s_fogStartSent, s_fogEndSent;
static float s_fogColor[3];
static float s_ambient[3];
static float s_clearColorF[3];
static D3DCOLOR s_clearColor = 0xFF000000u;
static float s_clearZ = 1.0f;
static DWORD s_clearStencil = 0;
static StageRecord s_stages[D3D_MAX_TEXTURE_STAGES];

// ---- packing ----

static DWORD Channel(float f) {
    if (!(f > 0.0f)) return 0; // negative, zero and NaN
    float scaled = f * 255.0f;
    return scaled >= 255.0f ? 255u : (DWORD)scaled;
}

static float Clamp01(float f) {
    if (!(f > 0.0f)) return 0.0f;
    return f > 1.0f ? 1.0f : f;
}

D3DCOLOR D3dPackColor(float r, float g, float b) {
    return 0xFF000000u | Channel(r) << 16 | Channel(g) << 8 | Channel(b);
}

// ---- reset ----

void I3dResetStateCache() {
    for (CachedWord& w : s_states)
        w = {0xFFFFFFFFu, false};
    s_fogStart = s_fogEnd = 0.0f;
    s_fogStartSent = s_fogEndSent = false;
    s_fogColor[0] = s_fogColor[1] = s_fogColor[2] = 1.0f;
    // A device holds black ambient after creation or a reset (0; ambient alpha plays no part),
    // so the packed black the setter makes, alpha 255 included, is not sent again.
    s_states[D3DRS_AMBIENT] = {D3dPackColor(0.0f, 0.0f, 0.0f), true};
    for (StageRecord& st : s_stages) {
        for (CachedWord& w : st.words)
            w = {0xFFFFFFFFu, false};
        st.boundSlot = -1;
        st.borderColor = 0xFFFFFFFFu;
    }
}

// ---- render states ----

DWORD D3dGetRenderState(D3DRENDERSTATETYPE state) {
    // Fog start and end are kept as floats, beside the table.
    if (state == D3DRS_FOGSTART) return s_fogStartSent ? D3dFloatBits(s_fogStart) : 0;
    if (state == D3DRS_FOGEND) return s_fogEndSent ? D3dFloatBits(s_fogEnd) : 0;
    if (uint32_t(state) >= D3D_RENDERSTATE_COUNT) return 0;
    const CachedWord& w = s_states[state];
    return w.sent ? w.value : 0;
}

static void SetState(D3DRENDERSTATETYPE state, DWORD value) {
    CachedWord& w = s_states[state];
    if (w.sent && w.value == value) return;
    IDirect3DDevice8* dev = D3dDevice();
    if (!dev) return; // nothing is sent, so nothing counts as sent
    w = {value, true};
    dev->SetRenderState(state, value);
}

void D3dSetZEnable(DWORD v) {
    SetState(D3DRS_ZENABLE, v);
}
void D3dSetZWrite(DWORD v) {
    SetState(D3DRS_ZWRITEENABLE, v);
}
void D3dSetZFunc(DWORD v) {
    SetState(D3DRS_ZFUNC, v);
}
void D3dSetZBias(DWORD v) {
    SetState(D3DRS_ZBIAS, v);
}
void D3dSetAlphaTest(DWORD v) {
    SetState(D3DRS_ALPHATESTENABLE, v);
}
void D3dSetAlphaRef(DWORD v) {
    SetState(D3DRS_ALPHAREF, v);
}
void D3dSetAlphaFunc(DWORD v) {
    SetState(D3DRS_ALPHAFUNC, v);
}
void D3dSetAlphaBlend(DWORD v) {
    SetState(D3DRS_ALPHABLENDENABLE, v);
}
void D3dSetSrcBlend(DWORD v) {
    SetState(D3DRS_SRCBLEND, v);
}
void D3dSetDestBlend(DWORD v) {
    SetState(D3DRS_DESTBLEND, v);
}
void D3dSetTextureFactor(D3DCOLOR argb) {
    SetState(D3DRS_TEXTUREFACTOR, argb);
}
void D3dSetLighting(DWORD v) {
    SetState(D3DRS_LIGHTING, v);
}
void D3dSetSpecular(DWORD v) {
    SetState(D3DRS_SPECULARENABLE, v);
}
void D3dSetFillMode(DWORD v) {
    SetState(D3DRS_FILLMODE, v);
}
void D3dSetCullMode(DWORD v) {
    SetState(D3DRS_CULLMODE, v);
}
void D3dSetFogEnable(DWORD v) {
    SetState(D3DRS_FOGENABLE, v);
}
void D3dSetAmbientMaterialSource(DWORD v) {
    SetState(D3DRS_AMBIENTMATERIALSOURCE, v);
}
void D3dSetDiffuseMaterialSource(DWORD v) {
    SetState(D3DRS_DIFFUSEMATERIALSOURCE, v);
}
void D3dSetSpecularMaterialSource(DWORD v) {
    SetState(D3DRS_SPECULARMATERIALSOURCE, v);
}
void D3dSetEmissiveMaterialSource(DWORD v) {
    SetState(D3DRS_EMISSIVEMATERIALSOURCE, v);
}

// The cache key is the table mode; the vertex mode is switched off first so only one fog
// source runs.
void D3dSetFogMode(DWORD mode) {
    CachedWord& w = s_states[D3DRS_FOGTABLEMODE];
    if (w.sent && w.value == mode) return;
    IDirect3DDevice8* dev = D3dDevice();
    if (!dev) return;
    w = {mode, true};
    dev->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_NONE);
    dev->SetRenderState(D3DRS_FOGTABLEMODE, mode);
}

static void SetFloatState(D3DRENDERSTATETYPE state, float value, float* kept, bool* sent) {
    if (*sent && *kept == value) return;
    IDirect3DDevice8* dev = D3dDevice();
    if (!dev) return;
    *kept = value;
    *sent = true;
    dev->SetRenderState(state, D3dFloatBits(value));
}

void D3dSetFogStart(float start) {
    SetFloatState(D3DRS_FOGSTART, start, &s_fogStart, &s_fogStartSent);
}
void D3dSetFogEnd(float end) {
    SetFloatState(D3DRS_FOGEND, end, &s_fogEnd, &s_fogEndSent);
}

void D3dSetFogColor(float r, float g, float b) {
    s_fogColor[0] = Clamp01(r);
    s_fogColor[1] = Clamp01(g);
    s_fogColor[2] = Clamp01(b);
    SetState(D3DRS_FOGCOLOR, D3dPackColor(r, g, b));
}

void D3dSetFogColorArgb(D3DCOLOR argb) {
    SetState(D3DRS_FOGCOLOR, argb);
}

// The float copy is kept clamped to 0..1 as the packed colour is, so D3dGetAmbient and the
// software shading see the ambient the device got, never an over-bright or negative one.
void D3dSetAmbient(float r, float g, float b) {
    s_ambient[0] = Clamp01(r);
    s_ambient[1] = Clamp01(g);
    s_ambient[2] = Clamp01(b);
    SetState(D3DRS_AMBIENT, D3dPackColor(r, g, b));
}

void D3dGetAmbient(float rgb[3]) {
    rgb[0] = s_ambient[0];
    rgb[1] = s_ambient[1];
    rgb[2] = s_ambient[2];
}

// ---- texture-stage states ----

static void SetStage(int stage, StageField field, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    assert(stage >= 0 && stage < (int)D3D_MAX_TEXTURE_STAGES && "texture stage out of range");
    if (stage < 0 || stage >= (int)D3D_MAX_TEXTURE_STAGES) return;
    CachedWord& w = s_stages[stage].words[field];
    if (w.sent && w.value == value) return;
    IDirect3DDevice8* dev = D3dDevice();
    if (!dev) return;
    w = {value, true};
    dev->SetTextureStageState((DWORD)stage, type, value);
}

void D3dSetMinFilter(int s, DWORD v) {
    SetStage(s, F_MINFILTER, D3DTSS_MINFILTER, v);
}
void D3dSetMagFilter(int s, DWORD v) {
    SetStage(s, F_MAGFILTER, D3DTSS_MAGFILTER, v);
}
void D3dSetAddressU(int s, DWORD v) {
    SetStage(s, F_ADDRESSU, D3DTSS_ADDRESSU, v);
}
void D3dSetAddressV(int s, DWORD v) {
    SetStage(s, F_ADDRESSV, D3DTSS_ADDRESSV, v);
}
void D3dSetColorOp(int s, DWORD v) {
    SetStage(s, F_COLOROP, D3DTSS_COLOROP, v);
}
void D3dSetColorArg1(int s, DWORD v) {
    SetStage(s, F_COLORARG1, D3DTSS_COLORARG1, v);
}
void D3dSetColorArg2(int s, DWORD v) {
    SetStage(s, F_COLORARG2, D3DTSS_COLORARG2, v);
}
void D3dSetAlphaOp(int s, DWORD v) {
    SetStage(s, F_ALPHAOP, D3DTSS_ALPHAOP, v);
}
void D3dSetAlphaArg1(int s, DWORD v) {
    SetStage(s, F_ALPHAARG1, D3DTSS_ALPHAARG1, v);
}
void D3dSetAlphaArg2(int s, DWORD v) {
    SetStage(s, F_ALPHAARG2, D3DTSS_ALPHAARG2, v);
}
void D3dSetTexCoordIndex(int s, DWORD v) {
    SetStage(s, F_TEXCOORDINDEX, D3DTSS_TEXCOORDINDEX, v);
}
void D3dSetTexTransformFlags(int s, DWORD v) {
    SetStage(s, F_TEXTRANSFORMFLAGS, D3DTSS_TEXTURETRANSFORMFLAGS, v);
}

// ---- state groups ----

void D3dSetAlphaBlendDefaults() {
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    D3dSetAlphaTest(1);
    D3dSetAlphaRef(2);
    D3dSetAlphaFunc(D3DCMP_GREATER);
}

void D3dSetFactorStages() {
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetColorArg1(0, D3DTA_TFACTOR);
    D3dSetAlphaOp(0, D3DTOP_SELECTARG1);
    D3dSetAlphaArg1(0, D3DTA_TFACTOR);
    D3dSetColorOp(1, D3DTOP_DISABLE);
    D3dSetAlphaOp(1, D3DTOP_DISABLE);
}

void D3dSetTextureDiffuseStages() {
    D3dSetColorOp(0, D3DTOP_MODULATE);
    D3dSetColorArg1(0, D3DTA_TEXTURE);
    D3dSetColorArg2(0, D3DTA_DIFFUSE);
    D3dSetAlphaOp(0, D3DTOP_MODULATE);
    D3dSetAlphaArg1(0, D3DTA_TEXTURE);
    D3dSetAlphaArg2(0, D3DTA_DIFFUSE);
    D3dSetColorOp(1, D3DTOP_DISABLE);
    D3dSetAlphaOp(1, D3DTOP_DISABLE);
}

void D3dSetTextureFactorStages() {
    D3dSetColorOp(0, D3DTOP_MODULATE);
    D3dSetColorArg1(0, D3DTA_TEXTURE);
    D3dSetColorArg2(0, D3DTA_TFACTOR);
    D3dSetAlphaOp(0, D3DTOP_MODULATE);
    D3dSetAlphaArg1(0, D3DTA_TEXTURE);
    D3dSetAlphaArg2(0, D3DTA_TFACTOR);
    D3dSetColorOp(1, D3DTOP_DISABLE);
    D3dSetAlphaOp(1, D3DTOP_DISABLE);
}

// ---- clear values ----

void D3dSetClearColor(float r, float g, float b) {
    s_clearColorF[0] = Clamp01(r);
    s_clearColorF[1] = Clamp01(g);
    s_clearColorF[2] = Clamp01(b);
    s_clearColor = D3dPackColor(r, g, b);
}
void D3dSetClearZ(float z) {
    s_clearZ = z;
}
void D3dSetClearStencil(DWORD stencil) {
    s_clearStencil = stencil;
}
D3DCOLOR D3dGetClearColor() {
    return s_clearColor;
}
float D3dGetClearZ() {
    return s_clearZ;
}
DWORD D3dGetClearStencil() {
    return s_clearStencil;
}

// ---- bound textures ----

static bool StageInRange(int stage) {
    assert(stage >= 0 && stage < (int)D3D_MAX_TEXTURE_STAGES && "texture stage out of range");
    return stage >= 0 && stage < (int)D3D_MAX_TEXTURE_STAGES;
}

int D3dStageTexture(int stage) {
    return StageInRange(stage) ? s_stages[stage].boundSlot : -1;
}

void D3dStageSetTexture(int stage, int slot) {
    if (StageInRange(stage)) s_stages[stage].boundSlot = slot;
}

void D3dStagesForgetSlot(int slot) {
    for (StageRecord& st : s_stages)
        if (st.boundSlot == slot) st.boundSlot = -1;
}

void D3dStagesForgetTextures() {
    for (StageRecord& st : s_stages)
        st.boundSlot = -1;
}
