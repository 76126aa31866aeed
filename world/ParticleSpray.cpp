// The particle spray's class, pool, emission and draw.
#include "world/ParticleSpray.h"

#include "I3d/Camera.h"
#include "I3d/Frustum.h"
#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3.h"
#include "I3d/Primitives.h"
#include "I3d/SpriteBatch.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/EntDrawWalk.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/VarTable.h"

#include <cmath>
#include <cstring>

// ---- class ----

namespace {
DataDir s_folder;
VarTable* s_table = nullptr;

void AddVars(VarTable* t) {
    using S = ParticleSpray;
    VarTableAddInt(t, "maxParticles", PROP_OFFSET(S, maxParticles), 0, 10, SPRAY_MAX_PARTICLES);
    VarTableAddFloat(t, "x", PROP_OFFSET(S, pos.x), 0.0f, 0.0f, 4000.0f);
    VarTableAddFloat(t, "y", PROP_OFFSET(S, pos.y), 0.0f, 0.0f, 4000.0f);
    VarTableAddFloat(t, "z", PROP_OFFSET(S, pos.z), 0.0f, 0.0f, 4000.0f);
    VarTableAddFloat(t, "radius", PROP_OFFSET(S, radius), 0.0f, 0.0f, 400.0f);
    VarTableAddFloat(t, "pitch", PROP_OFFSET(S, pitch), 0.0f, 0.0f, 3.14159f);
    VarTableAddFloat(t, "yaw", PROP_OFFSET(S, yaw), 0.0f, 0.0f, 6.28319f);
    VarTableAddFloat(t, "rate", PROP_OFFSET(S, rate), 0.0f, 0.0f, 100.0f);
    VarTableAddFloat(t, "theta", PROP_OFFSET(S, theta), 0.0f, 0.0f, 3.14159f);
    VarTableAddFloat(t, "lifeSpan", PROP_OFFSET(S, lifeSpan), 0.0f, 0.0f, 1000.0f);
    VarTableAddFloat(t, "gravity.x", PROP_OFFSET(S, gravity.x), 0.0f, -10.0f, 10.0f);
    VarTableAddFloat(t, "gravity.y", PROP_OFFSET(S, gravity.y), 0.0f, -10.0f, 10.0f);
    VarTableAddFloat(t, "gravity.z", PROP_OFFSET(S, gravity.z), 0.0f, -10.0f, 10.0f);
    VarTableAddString(t, "textureFile", PROP_OFFSET(S, textureFile), 260, "!");
    VarTableAddFloat(t, "activeMin", PROP_OFFSET(S, activeMin), 0.0f, 0.0f, 100.0f);
    VarTableAddFloat(t, "activeMax", PROP_OFFSET(S, activeMax), 0.0f, 0.0f, 100.0f);
    VarTableAddFloat(t, "inactiveMin", PROP_OFFSET(S, inactiveMin), 0.0f, 0.0f, 100.0f);
    VarTableAddFloat(t, "inactiveMax", PROP_OFFSET(S, inactiveMax), 0.0f, 0.0f, 100.0f);
    VarTableAddFloat(t, "lifeSpanMin", PROP_OFFSET(S, lifeSpanMin), 0.0f, 0.0f, 100.0f);
    VarTableAddFloat(t, "lifeSpanMax", PROP_OFFSET(S, lifeSpanMax), 0.0f, 0.0f, 100.0f);
    VarTableAddFloat(t, "sizeInitial", PROP_OFFSET(S, sizeInitial), 0.0f, 0.0f, 10.0f);
    VarTableAddFloat(t, "sizeFinal", PROP_OFFSET(S, sizeFinal), 0.0f, 0.0f, 100.0f);
    VarTableAddFloat(t, "sizeVar", PROP_OFFSET(S, sizeVar), 0.0f, 0.0f, 10.0f);
    VarTableAddFloat(t, "speedMin", PROP_OFFSET(S, speedMin), 0.0f, 0.0f, 20.0f);
    VarTableAddFloat(t, "speedMax", PROP_OFFSET(S, speedMax), 0.0f, 0.0f, 20.0f);
    VarTableAddColor4f(t, "colorInitial", PROP_OFFSET(S, colorInitial));
    VarTableAddColor4f(t, "colorFinal", PROP_OFFSET(S, colorFinal));
    VarTableAddColor4f(t, "colorVar", PROP_OFFSET(S, colorVar));
    VarTableAddBool(t, "destBlend", PROP_OFFSET(S, destBlend), 0);
    VarTableAddFloat(t, "visDist", PROP_OFFSET(S, visDist), 0.0f, 10.0f, 1000.0f);
}

VarTable* Table() {
    if (s_table) return s_table;
    s_table = VarTableBuild(AddVars, 4); // 43 entries in all
    return s_table;
}

void Registered() {
    WorldClassFlags<ParticleSpray>::Reset();
    Table();
}

void Unregister() {
    VarTableDestroy(s_table);
    s_table = nullptr;
}

const WorldClassDef kClass = {
    "ParticleSpray", nullptr, WorldMake<ParticleSpray>, Registered, &s_folder, nullptr, Unregister};

float RandSigned() {
    return RandFloatRange(-1.0f, 1.0f);
}
float Clamp01(float v) {
    if (v > 1.0f) return 1.0f;
    if (!(v >= 0.0f)) return 0.0f;
    return v;
}
// A channel 0..1 as a byte: held in range before the conversion, so that an infinite or NaN
// colour never reaches a float-to-integer cast.
uint32_t ChannelByte(float v) {
    return uint32_t(Clamp01(v) * 255.0f);
}

// The pool's blending, texture and states, set when the batch flushes the group.
void SpraySetup(intptr_t arg) {
    const SprayPool* pool = reinterpret_cast<const SprayPool*>(arg);
    D3dSetZEnable(1);
    D3dSetZFunc(D3DCMP_LESS);
    D3dSetZWrite(0);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetLighting(0);
    D3dSetAmbientMaterialSource(D3DMCS_COLOR1);
    D3dSetDiffuseMaterialSource(D3DMCS_COLOR1);
    D3dSetEmissiveMaterialSource(D3DMCS_MATERIAL);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(pool->additive ? D3DBLEND_ONE : D3DBLEND_INVSRCALPHA);
    D3dSetTexCoordIndex(0, 0);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    D3dSetTextureDiffuseStages();
    D3dSetAlphaTest(1);
    D3dSetAlphaRef(2);
    D3dSetAlphaFunc(D3DCMP_GREATER);
    D3dSetTexture(0, pool->texture);
}
} // namespace

intptr_t EcParticleSprayProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int ParticleSpray::CopyClassName(char* buffer) {
    return WorldCopyClassName("ParticleSpray", buffer);
}

ParticleSpray::~ParticleSpray() {
    FreePool();
}

// ---- life ----

int ParticleSpray::Create(EntNode*) {
    // The class's table is the instance table: the ini loader and the named setters read the
    // values through it.
    instanceVars = Table();
    if (instanceVars) VarTableInitObject(instanceVars, this);
    visDist = 400.0f;
    radius = 0.0f;
    visible = 1;
    return 1;
}

int ParticleSpray::Start() {
    Ent3dBase::Start();
    FreePool();
    int n = maxParticles;
    if (n > SPRAY_MAX_PARTICLES) {
        DbgPrintf(DBG_ENTITY, "ParticleSpray %s: maxParticles %d capped at %d\n", name, n,
                  SPRAY_MAX_PARTICLES);
        n = SPRAY_MAX_PARTICLES;
    }
    if (n > 0) {
        pool.records = new (std::nothrow) SprayParticle[size_t(n)]();
        if (pool.records) {
            pool.count = n;
            for (int i = 0; i < n; ++i)
                pool.records[i].next = i + 1 < n ? &pool.records[i + 1] : nullptr;
            pool.free = &pool.records[0];
            pool.group = I3dSpriteBatchAddGroup(n, SpraySetup, reinterpret_cast<intptr_t>(&pool));
            // Without a group the spray still runs its particles; they are only not drawn.
            if (pool.group < 0)
                DbgPrintf(DBG_ENTITY, "ParticleSpray %s: no sprite group, nothing is drawn\n",
                          name);
        }
    }
    if (textureFile[0] && textureFile[0] != '!') {
        char path[1024];
        if (DataDirFile(&s_folder, textureFile, path, sizeof path) == 1)
            pool.texture = I3dTexLoad(path, nullptr, 1);
    }
    pool.additive = destBlend ? 1 : 0;
    state = lifeSpan > 0.0f ? 0 : 2;
    remaining = lifeSpan;
    visible = 1;
    carry = 0.0f;
    BoxSetPoint(worldBox, &pos);
    VarsChanged();
    return 1;
}

// The texture the spray loaded is given back with its pool: each spray holds one reference,
// and a firework that removes itself would otherwise leave its texture loaded for good.
void ParticleSpray::FreePool() {
    if (pool.group >= 0) I3dSpriteBatchFreeGroup(pool.group);
    pool.group = -1;
    if (pool.texture >= 0) {
        const I3dTexSlot* s = I3dTexGetSlot(pool.texture);
        if (s && s->count > 0) I3dTexRelease(pool.texture);
    }
    pool.texture = -1;
    delete[] pool.records;
    pool.records = nullptr;
    pool.live = pool.free = nullptr;
    pool.count = 0;
}

int ParticleSpray::Shutdown() {
    state = 1;
    return -1;
}

int ParticleSpray::Destroy() {
    FreePool();
    ENTBASE::Destroy();
    return -1;
}

int ParticleSpray::VarsChanged() {
    direction =
        VECTOR3{std::sin(pitch) * std::sin(yaw), std::cos(pitch), std::sin(pitch) * std::cos(yaw)};
    pool.additive = destBlend ? 1 : 0;
    return 1;
}

void ParticleSpray::SetPos(const VECTOR3* p) {
    pos = *p;
    BoxSetPoint(worldBox, &pos);
}

void ParticleSpray::SetPosXYZ(float x, float y, float z) {
    const VECTOR3 p{x, y, z};
    SetPos(&p);
}

void ParticleSpray::SetYaw(float a) {
    yaw = a;
    VarsChanged();
}

void ParticleSpray::SetPitch(float a) {
    pitch = a;
    VarsChanged();
}

int ParticleSpray::Spare2(intptr_t word) {
    const uint32_t bits = uint32_t(word);
    std::memcpy(&radius, &bits, sizeof radius);
    return 1;
}

// ---- simulation ----

int ParticleSpray::Update(float seconds) {
    if (!(GetClassFlags() & ENT_CLASS_MOVE)) return 1;
    if (state == 0) {
        remaining -= seconds;
        if (remaining < 0.0f) state = 1;
    }
    if (state != 1) SprayEmit(seconds);
    const int alive = StepPool(seconds);
    BoxSetPoint(worldBox, &pos);
    for (SprayParticle* p = pool.live; p; p = p->next)
        BoxAddSphere(worldBox, &p->pos, p->size);
    if (state == 1 && alive == 0) {
        // The node stays in the tree until the framework's sweep, so the walk that called us
        // carries on safely; nothing here may touch the object after this.
        Destroy();
        return 1;
    }
    return 1;
}

void ParticleSpray::SprayEmit(float dt) {
    if (!(rate > 0.0f)) return; // NaN too
    const float acc = dt + carry;
    const float wanted = acc * rate;
    if (!(wanted >= 0.0f) || !std::isfinite(wanted)) return;
    // More than the pool holds would only recycle particles spawned in the same call.
    const int n = int(std::fmin(wanted, float(SPRAY_MAX_PARTICLES)));
    carry = acc - float(n) / rate;
    for (int i = 0; i < n; ++i)
        SpraySpawn(&pos);
}

void ParticleSpray::SpraySpawn(const VECTOR3* at) {
    if (!pool.records) return;
    const float life = RandFloatRange(lifeSpanMin, lifeSpanMax);
    if (!(life > 0.0f)) {
        // A life of 0 would give infinite rates; such particles are never spawned.
        if (!lifeWarned)
            DbgPrintf(DBG_ENTITY, "ParticleSpray %s: particle life %g spawns nothing\n", name,
                      double(life));
        lifeWarned = true;
        return;
    }
    SprayParticle* p = pool.free;
    if (p) {
        pool.free = p->next;
        p->next = pool.live;
        pool.live = p;
    } else {
        // The shortest-lived record, the one nearer the head on a tie, is reused where it is.
        for (SprayParticle* q = pool.live; q; q = q->next)
            if (!p || q->life < p->life) p = q;
        if (!p) return;
    }
    const float inv = 1.0f / life;
    p->life = life;
    p->a = Clamp01(colorInitial.a + colorVar.a * RandSigned());
    p->r = Clamp01(colorInitial.r + colorVar.r * RandSigned());
    p->g = Clamp01(colorInitial.g + colorVar.g * RandSigned());
    p->b = Clamp01(colorInitial.b + colorVar.b * RandSigned());
    p->rateA = (colorFinal.a - p->a) * inv;
    p->rateR = (colorFinal.r - p->r) * inv;
    p->rateG = (colorFinal.g - p->g) * inv;
    p->rateB = (colorFinal.b - p->b) * inv;
    const float size0 = (1.0f + RandSigned() * sizeVar) * sizeInitial;
    const float size1 = (1.0f + RandSigned() * sizeVar) * sizeFinal;
    p->size = size0;
    p->sizeRate = (size1 - size0) * inv;
    const float speed = RandFloatRange(speedMin, speedMax);
    VECTOR3 dir;
    Vec3RandomInCone(&dir, &direction, theta);
    p->vel = VECTOR3{dir.x * speed, dir.y * speed, dir.z * speed};
    if (radius > 0.0f) {
        const float x = pos.x + RandFloatRange(-radius, radius);
        const float z = pos.z + RandFloatRange(-radius, radius);
        p->pos = VECTOR3{x, pos.y, z};
    } else {
        p->pos = *at;
    }
}

int ParticleSpray::StepPool(float dt) {
    const VECTOR3 g{gravity.x * dt, gravity.y * dt, gravity.z * dt};
    int alive = 0;
    SprayParticle** link = &pool.live;
    while (SprayParticle* p = *link) {
        p->life -= dt;
        if (p->life < 0.0f) {
            *link = p->next;
            p->next = pool.free;
            pool.free = p;
            continue;
        }
        p->pos.x += dt * p->vel.x;
        p->pos.y += dt * p->vel.y;
        p->pos.z += dt * p->vel.z;
        p->a += dt * p->rateA;
        p->r += dt * p->rateR;
        p->g += dt * p->rateG;
        p->b += dt * p->rateB;
        p->size += dt * p->sizeRate;
        p->vel.x += g.x;
        p->vel.y += g.y;
        p->vel.z += g.z;
        ++alive;
        link = &p->next;
    }
    return alive;
}

// ---- drawing ----

int ParticleSpray::DrawPre() {
    Mat4 identity;
    Mat4Identity(&identity);
    I3dSetWorld(&identity);
    float depth = 0.0f;
    visible = BoxOutcodeTest(worldBox, &depth) ? 1 : 0;
    if (!visible) return 0;
    if (!(I3dGetViewDistScale() * visDist >= depth)) {
        visible = 0;
        return 0;
    }
    if (pool.group < 0) return 1;
    for (SprayParticle* p = pool.live; p; p = p->next) {
        const uint32_t colour = ChannelByte(p->a) << 24 | ChannelByte(p->r) << 16 |
                                ChannelByte(p->g) << 8 | ChannelByte(p->b);
        I3dSpriteBatchAdd(pool.group, &p->pos, p->size, colour);
    }
    return 1;
}

int ParticleSpray::Draw() {
    if (!EntDebugDrawAllowed()) return 1; // the editor's pass only, not the game's every frame
    if (!(GetClassFlags() & ENT_CLASS_DEBUG_DRAW)) return 1;
    D3dSetFogEnable(1);
    D3dSetLighting(0);
    D3dSetSpecular(0);
    D3dSetAlphaBlend(1);
    D3dSetZFunc(D3DCMP_ALWAYS);
    D3dSetZWrite(0);
    D3dSetCullMode(D3DCULL_CCW);
    D3dSetFactorStages();
    D3dSetTextureFactor(0x300000FFu);
    D3dSetAlphaTest(0);
    Mat4 world;
    Mat4Identity(&world);
    world.m[12] = pos.x;
    world.m[13] = pos.y;
    world.m[14] = pos.z;
    I3dSetWorld(&world);
    I3dDrawDebugSphere();
    DrawWorldBounds(0xFFFF0000u);
    return 1;
}
