// The sun entity: its table, its kernel light, its disc, its glare and its lens flare.
#include "world/Sun.h"

#include "I3d/Camera.h"
#include "I3d/Frustum.h"
#include "I3d/Lights.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3.h"
#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/EntQueries.h"
#include "engine/PropDb.h"
#include "world/ClassTexture.h"
#include "world/LensFlare.h"

#include <cmath>
#include <cstring>

namespace {

int s_discTex = -1;
int s_glareTex = -1;

constexpr double kGlareThreshold = 0.97;
constexpr double kGlareGain = 255.0 / (1.0 - kGlareThreshold); // 8500

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "Sun");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(Sun, name), 32);
        PropDbAddVector3Zero(db, "center", PROP_OFFSET(Sun, center));
        PropDbAddAngle(db, "azimuth", PROP_OFFSET(Sun, azimuth), 0.0f);
        PropDbAddAngle(db, "elevation", PROP_OFFSET(Sun, elevation), 0.4f);
        PropDbAddFloat(db, "yawRate", PROP_OFFSET(Sun, yawRate), 0.0f);
        PropDbAddFloat(db, "pitchRate", PROP_OFFSET(Sun, pitchRate), 0.0f);
        PropDbAddFloat(db, "scale", PROP_OFFSET(Sun, scale), 0.2f);
        PropDbAddColor4bWhite(db, "sunColor", PROP_OFFSET(Sun, sunColor));
        PropDbAddColor3fWhite(db, "lightColor", PROP_OFFSET(Sun, lightColor));
        PropDbAddBool(db, "drawHalos", PROP_OFFSET(Sun, drawHalos), 1);
        PropDbAddBool(db, "drawGlare", PROP_OFFSET(Sun, drawGlare), 1);
        PropDbAddFloat(db, "glareDecayRate", PROP_OFFSET(Sun, glareDecayRate), 0.2f);
    }
    return &s_db;
}

const WorldClassDef kClass = {"Sun", Db, WorldMake<Sun>, WorldClassFlags<Sun>::Reset};

// The disc's and the glare's blended, texture-times-colour states.
void SpriteStates(uint32_t factor, int texture) {
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetZFunc(D3DCMP_ALWAYS);
    D3dSetZWrite(0);
    D3dSetLighting(0);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    D3dSetFogEnable(0);
    D3dSetTextureFactor(factor);
    D3dSetColorOp(0, D3DTOP_MODULATE);
    D3dSetColorArg1(0, D3DTA_TEXTURE);
    D3dSetColorArg2(0, D3DTA_TFACTOR);
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
    Mat4 identity;
    I3dSetWorld(Mat4Identity(&identity));
    // Without its texture the sprite shows as a plain square rather than whatever was bound.
    if (texture >= 0)
        D3dSetTexture(0, texture);
    else
        D3dClearTexture(0);
}
} // namespace

intptr_t EcSunProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    const intptr_t result = WorldClassProc(kClass, node, message, a, b, c);
    if (message == ENT_CLASS_MSG_BUILD_DB) {
        WorldClassTexRelease(&s_discTex);
        WorldClassTexRelease(&s_glareTex);
        s_discTex = WorldClassTexLoad("Sun", "SunDisc");
        s_glareTex = WorldClassTexLoad("Sun", "Glare");
    } else if (message == ENT_CLASS_MSG_UNREGISTER) {
        WorldClassTexRelease(&s_discTex);
        WorldClassTexRelease(&s_glareTex);
    }
    return result;
}

int EcSunDiscTexture() {
    return s_discTex;
}

int EcSunGlareTexture() {
    return s_glareTex;
}

int Sun::CopyClassName(char* buffer) {
    return WorldCopyClassName("Sun", buffer);
}

int Sun::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    center = {0.0f, 0.0f, 0.0f};
    azimuth = elevation = yawRate = pitchRate = 0.0f;
    scale = 1.0f;
    sunColor = 0xFFFFFFFFu;
    lightColor[0] = lightColor[1] = lightColor[2] = 1.0f;
    drawHalos = drawGlare = 1;
    glareDecayRate = 0.0f;
    lightOn = 1;
    SetFlag(ENT_FLAG_PASSABLE);
    TakeLight();
    return 0;
}

void Sun::TakeLight() {
    light = I3dLightAlloc();
    if (light < 0) return;
    I3dLightSetType(light, 3);
    I3dLightSetAttenuation(light, 0);
}

LensFlare* Sun::Flare() {
    ENTBASE* f = flare.Get();
    if (!f) flare = EntRef();
    return static_cast<LensFlare*>(f);
}

int Sun::Start() {
    if (Flare()) return 1;
    ENTBASE* root = EntGetRoot(this);
    ENTBASE* parent = EntTreeFindName(root, "VeryLast");
    if (!parent) parent = EntTreeFindName(root, "World");
    if (!parent) parent = root;
    ENTBASE* made = EntCreateChild("LensFlare", parent);
    // Only our own flare class has the size factor; anything else registered under the name
    // is not kept.
    if (!made || std::strcmp(made->GetTypeName(), "LensFlare") != 0) {
        if (made) EntDestroyTree(made);
        return 1;
    }
    auto* f = static_cast<LensFlare*>(made);
    f->SetPos(&pos);
    f->flareSize = 2.0f;
    f->SetName("Lens halos");
    f->Start();
    flare = f;
    return 1;
}

int Sun::Update(float seconds) {
    azimuthOffset += seconds * yawRate;
    elevationOffset += seconds * pitchRate;
    VarsChanged();
    if (glareDecayRate <= 0.0f)
        glare = 0.0f;
    else if (glare > 0.0f)
        glare -= seconds * glareDecayRate * 255.0f;
    return 0;
}

int Sun::VarsChanged() {
    const float el = TotalElevation();
    Vec3PointOnSphere(&pos, &center, TotalAzimuth(), el, SUN_RADIUS);
    // All lights were taken when the sun was made: it tries again until one is free.
    if (light < 0) TakeLight();
    if (light >= 0) {
        const float dx = center.x - pos.x, dy = center.y - pos.y, dz = center.z - pos.z;
        const float len = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (len > 0.0f) I3dLightSetDirection(light, dx / len, dy / len, dz / len);
        I3dLightSetDiffuse(light, lightColor[0], lightColor[1], lightColor[2]);
        I3dLightSetSpecular(light, lightColor[0], lightColor[1], lightColor[2]);
        I3dLightEnable(light, lightOn);
    }
    if (LensFlare* f = Flare()) {
        if (el >= SUN_FLARE_ELEVATION && drawHalos) {
            f->SetPos(&pos);
            f->ShowHalos(true);
        } else {
            f->ShowHalos(false);
        }
    }
    return 1;
}

int Sun::DrawPre() {
    if (!(GetClassFlags() & ENT_CLASS_DRAW)) return 0;
    const DWORD fog = D3dGetRenderState(D3DRS_FOGENABLE);
    SpriteStates(sunColor, s_discTex);
    I3dDrawBillboard(&pos, SUN_RADIUS * scale * 2.0f);
    D3dSetZWrite(1);
    D3dSetFogEnable(fog);
    return 0;
}

int Sun::Hook15() {
    if (!(GetClassFlags() & ENT_CLASS_GLARE)) return 1;
    if (!drawGlare || TotalElevation() < SUN_FLARE_ELEVATION) return 0;
    Mat4 view, proj, identity;
    I3dGetViewMatrix(&view);
    I3dGetProjMatrix(&proj);
    Mat4Identity(&identity);
    I3dSetWorld(&identity);
    I3dSetProj(&identity);
    // Under the view alone the projected point is the sun's direction in camera space.
    float p[3];
    I3dProjectPoint(&pos, p);
    const float len = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
    const double d = len > 0.0f ? double(p[2]) / double(len) : 0.0;
    if (d > kGlareThreshold) {
        EntRayQuery q{};
        q.sender = intptr_t(glare);
        I3dGetEyePos(&q.origin);
        q.direction = {pos.x - q.origin.x, pos.y - q.origin.y, pos.z - q.origin.z};
        Vec3NormalizeFast(&q.direction);
        q.kind = ENT_RAY_QUERY_RAY;
        if (querySubtree) EntTreeSendGated(querySubtree, ENT_MSG_RAY_QUERY, 0, intptr_t(&q), 0);
        const float target = float((d - kGlareThreshold) * kGlareGain);
        if (target > glare) glare = target;
    }
    if (glare > 0.0f) {
        const DWORD fog = D3dGetRenderState(D3DRS_FOGENABLE);
        const float a = I3dGetAspect();
        I3dSetView(&identity);
        const uint32_t alpha = glare >= 255.0f ? 255u : uint32_t(glare);
        SpriteStates((sunColor & 0x00FFFFFFu) | alpha << 24, s_glareTex);
        I3dDrawQuad(-1.5f, -1.5f * a, 1.5f, 1.5f * a, 0.5f);
        D3dSetZWrite(1);
        D3dSetFogEnable(fog);
    }
    I3dSetView(&view);
    I3dSetProj(&proj);
    return 1;
}

int Sun::Destroy() {
    if (LensFlare* f = Flare()) EntDestroyTree(f);
    flare = EntRef();
    if (light >= 0) I3dLightFree(light);
    light = -1;
    return ENTBASE::Destroy();
}
