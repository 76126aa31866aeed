// The lens-flare entity: its value table, its halos, the fade by the line query and the draw.
#include "world/LensFlare.h"

#include "I3d/Camera.h"
#include "I3d/Frustum.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3.h"
#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/EntQueries.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "world/ClassTexture.h"

#include <cmath>

namespace {

VarTable* s_table = nullptr;
int s_textures[2] = {-1, -1};
float s_frameTime = 0.0f;

constexpr LensHalo kHalos[LENS_HALOS] = {
    {0, 0xFFFFFFFFu, 0.066825f, 1.0f, 1.0f},    {1, 0xFFFFFFFFu, 0.0455625f, 0.48f, 1.0f},
    {0, 0xFFFFFFFFu, 0.0799875f, 0.36f, 1.0f},  {0, 0xFFFFFFFFu, 0.0455625f, -0.16f, 1.0f},
    {1, 0xFFFFFFFFu, 0.02f, -0.26f, 1.0f},      {0, 0xFFFFFFFFu, 0.0455625f, -0.32f, 1.0f},
    {0, 0xFFFFFFFFu, 0.0504225f, -0.65f, 1.0f}, {1, 0xFFFFFFFFu, 0.0848475f, -0.86f, 1.0f},
};

// Below this "masterAlpha" nothing is drawn.
constexpr float kAlphaEpsilon = 1.1920929e-7f;

void AddVars(VarTable* t) {
    VarTableAddString(t, "name", PROP_OFFSET(LensFlare, name), 32, "!");
    VarTableAddColor4b(t, "color", PROP_OFFSET(LensFlare, color), 0xFFFFFFFFu);
    VarTableAddFloat(t, "masterAlpha", PROP_OFFSET(LensFlare, masterAlpha), 0.0f, 0.0f, 1.0f);
}

VarTable* Table() {
    if (!s_table) s_table = VarTableBuild(AddVars, 9); // 15 entries in all
    return s_table;
}

ENTBASE* Make() {
    return WorldMake<LensFlare>();
}

void Reset() {
    WorldClassFlags<LensFlare>::Reset();
}

const WorldClassDef kClass = {"LensFlare", nullptr, Make, Reset};
} // namespace

intptr_t EcLensFlareProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    const intptr_t result = WorldClassProc(kClass, node, message, a, b, c);
    if (message == ENT_CLASS_MSG_BUILD_DB) {
        Table();
        for (int i = 0; i < 2; ++i)
            WorldClassTexRelease(&s_textures[i]);
        s_textures[0] = WorldClassTexLoad("LensFlare", "Lens Flare 1");
        s_textures[1] = WorldClassTexLoad("LensFlare", "Lens Flare 2");
    } else if (message == ENT_CLASS_MSG_UNREGISTER) {
        VarTableDestroy(s_table);
        s_table = nullptr;
        for (int i = 0; i < 2; ++i)
            WorldClassTexRelease(&s_textures[i]);
    }
    return result;
}

int EcLensFlareTexture(int which) {
    return which == 0 || which == 1 ? s_textures[which] : -1;
}

float EcLensFlareFrameTime() {
    return s_frameTime;
}

int LensFlare::CopyClassName(char* buffer) {
    return WorldCopyClassName("LensFlare", buffer);
}

int LensFlare::Create(EntNode*) {
    // The class's table, made when the class is registered and gone once it is removed; held
    // as the instance table so the ini loader and the named setters read the values through it.
    instanceVars = Table();
    if (instanceVars) VarTableSetString(instanceVars, this, "name", "!");
    color = 0xAFFFFFFFu;
    flareSize = 1.0f;
    masterAlpha = 0.0f;
    visible = 0;
    for (int i = 0; i < LENS_HALOS; ++i)
        halos[i] = kHalos[i];
    return 1;
}

int LensFlare::Update(float seconds) {
    s_frameTime = seconds;
    return 0;
}

int LensFlare::Hook26(intptr_t word) {
    // Every entity starts with ENT_FLAG_HIDDEN set, and the halos draw only while it is clear:
    // left at the plain entity's answer the flare would never show. The sun's word shows and
    // hides it.
    visible = word ? 1 : 0;
    if (visible)
        ClearFlag(ENT_FLAG_HIDDEN);
    else
        SetFlag(ENT_FLAG_HIDDEN);
    return 1;
}

uint32_t LensFlare::HaloFactor(float f) const {
    float a = float(color >> 24) * masterAlpha * f;
    if (!(a > 0.0f)) a = 0.0f;
    if (a > 255.0f) a = 255.0f;
    return (color & 0x00FFFFFFu) | uint32_t(a) << 24;
}

int LensFlare::DrawPre() {
    if (!(GetClassFlags() & ENT_CLASS_DRAW) || TestFlag(ENT_FLAG_HIDDEN)) return 0;
    Mat4 identity;
    I3dSetWorld(Mat4Identity(&identity));
    float p[3];
    I3dProjectPoint(&pos, p);
    const bool onScreen = p[0] > -1.0f && p[0] < 1.0f && p[1] > -1.0f && p[1] < 1.0f && p[2] > 0;
    bool clear = false;
    if (onScreen) {
        EntRayQuery q{};
        q.sender = intptr_t(node);
        I3dGetEyePos(&q.origin);
        q.direction = {pos.x - q.origin.x, pos.y - q.origin.y, pos.z - q.origin.z};
        Vec3NormalizeFast(&q.direction);
        q.kind = ENT_RAY_QUERY_RAY;
        EntTreeSendGated(EntGetRoot(this)->node, ENT_MSG_RAY_QUERY, 0, intptr_t(&q), 0);
        clear = q.result == nullptr;
    }
    const float step = s_frameTime * LENS_FADE_RATE;
    if (clear)
        masterAlpha = std::fmin(masterAlpha + step, 1.0f);
    else
        masterAlpha = std::fmax(masterAlpha - step, 0.0f);
    if (!(masterAlpha > kAlphaEpsilon)) return 0;

    const float len = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
    const float f = 0.125f + 0.087f * (len > 0.0f ? p[2] / len : 0.0f);
    const float aspect = I3dGetAspect();
    Mat4 view, proj;
    I3dGetViewMatrix(&view);
    I3dGetProjMatrix(&proj);
    I3dSetView(&identity);
    I3dSetProj(&identity);
    const DWORD fog = D3dGetRenderState(D3DRS_FOGENABLE);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetZFunc(D3DCMP_ALWAYS);
    D3dSetZWrite(0);
    D3dSetLighting(0);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    D3dSetFogEnable(0);
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetColorArg1(0, D3DTA_TFACTOR);
    D3dSetAlphaOp(0, D3DTOP_MODULATE);
    D3dSetAlphaArg1(0, D3DTA_TEXTURE);
    D3dSetAlphaArg2(0, D3DTA_TFACTOR);
    D3dSetAddressU(0, D3DTADDRESS_WRAP);
    D3dSetAddressV(0, D3DTADDRESS_WRAP);
    D3dSetMinFilter(0, D3DTEXF_LINEAR);
    D3dSetMagFilter(0, D3DTEXF_LINEAR);
    D3dSetColorOp(1, D3DTOP_DISABLE);
    D3dSetAlphaOp(1, D3DTOP_DISABLE);
    D3dSetAlphaTest(1);
    D3dSetAlphaRef(2);
    D3dSetAlphaFunc(D3DCMP_GREATER);
    const uint32_t factor = HaloFactor(f);
    for (const LensHalo& h : halos) {
        D3dSetTextureFactor(factor);
        const int tex = EcLensFlareTexture(h.texture);
        if (tex >= 0)
            D3dSetTexture(0, tex);
        else
            D3dClearTexture(0);
        // Under the identity projection x and y both span the screen: the halo sits on the line
        // from the centre through the sun (x is not scaled by the aspect ratio again, which would
        // move halo 0 off the sun), and its height is scaled by the aspect ratio so it stays
        // round instead of square in clip space, as the glare's quad does.
        const float cx = p[0] * h.axis, cy = p[1] * h.axis;
        const float hx = h.size * flareSize, hy = hx * aspect;
        I3dDrawQuad(cx - hx, cy - hy, cx + hx, cy + hy, 0.5f);
    }
    D3dSetZWrite(1);
    D3dSetFogEnable(fog);
    I3dSetView(&view);
    I3dSetProj(&proj);
    return 0;
}
