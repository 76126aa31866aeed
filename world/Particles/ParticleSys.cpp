// Particle systems: acquisition and release, the class-wide shader and shared buffers, and
// their loss and return around a device reset.
#include "world/Particles/ParticleSys.h"

#include "I3d/Buffers.h"
#include "I3d/Shader.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/Paths.h"

#include <new>

static SharedObj* s_systems = nullptr;
static int s_live = 0;
static int s_sharedCapacity = 0; // K
static Shader* s_shader = nullptr;
static I3dVertexBuffer* s_vb = nullptr;
static I3dIndexBuffer* s_ib = nullptr;

// ---- shared buffers ----

static void FreeBuffers() {
    if (s_vb) I3dVbFree(s_vb);
    if (s_ib) I3dIbFree(s_ib);
    s_vb = nullptr;
    s_ib = nullptr;
}

// 4K vertices and 6K indices, the indices written once: two triangles per quad of four.
static void MakeBuffers() {
    FreeBuffers();
    const int k = s_sharedCapacity;
    if (k <= 0) return;
    s_vb = I3dVbCreate(0, 37, 4 * k);
    s_ib = I3dIbCreate(0, 6 * k);
    uint16_t* idx = s_ib ? I3dIbLock(s_ib, 6 * k) : nullptr;
    if (!s_vb || !idx) {
        DbgPrintf(DBG_RENDER, "ParticleSys: no buffers for %d particles\n", k);
        FreeBuffers();
        return;
    }
    for (int q = 0; q < k; ++q) {
        const int v = 4 * q;
        IdxPushQuad(&idx, v, v + 1, v + 2, v + 3);
    }
    I3dIbUnlock(s_ib);
}

void ParticleSysDeviceLost() {
    FreeBuffers();
}

void ParticleSysDeviceReset() {
    MakeBuffers();
}

// ---- systems ----

ParticleSys::ParticleSys(int n) {
    refCount = 1;
    shareable = 1;
    if (s_live == 0) {
        s_shader = new (std::nothrow) Shader();
        if (s_shader) {
            s_shader->SetName("ParticleBasic");
            s_shader->SetPassFunc(0, ParticleBasicPass);
            s_shader->Validate(); // asked once, the answer not acted on
        }
    }
    ++s_live;
    if (2 * n > s_sharedCapacity) {
        s_sharedCapacity = 2 * n;
        MakeBuffers();
    }
    capacity = n;
    particles = n > 0 ? new (std::nothrow) Particle[(size_t)n]() : nullptr;
    if (!particles) capacity = 0;
}

ParticleSys::~ParticleSys() {
    if (--s_live == 0) {
        if (s_shader) SharedObjRelease(s_shader);
        s_shader = nullptr;
        FreeBuffers();
        s_sharedCapacity = 0;
    }
    delete[] particles;
    if (texture >= 0) I3dTexRelease(texture);
}

void ParticleSys::SetCell(int index, float uMin, float vMin, float uMax, float vMax) {
    if (index < 0 || index >= PARTICLE_CELLS) return;
    cells[index] = ParticleCell{uMin, vMin, uMax, vMax};
}

// The held slot given again comes with the caller's own reference: the system keeps one.
void ParticleSys::SetTexture(int slot) {
    if (texture >= 0) I3dTexRelease(texture);
    texture = slot;
}

int ParticleSys::LoadTexture(const char* file) {
    SetTexture(file ? I3dTexLoad(file, nullptr, 1) : -1);
    return texture;
}

void ParticleSys::MarkAllUsed() {
    const int n = count < capacity ? count : capacity;
    for (int i = 0; i < n; ++i)
        particles[i].used = 1;
}

Particle* ParticleSys::Add() {
    if (count < 0 || count >= capacity) return nullptr;
    Particle* p = &particles[count++];
    *p = Particle{};
    return p;
}

ParticleSys* ParticleSysAcquire(const char* textureFile, int capacity) {
    if (capacity < 0 || capacity > PARTICLE_CAPACITY_MAX) {
        DbgPrintf(DBG_RENDER, "ParticleSysAcquire(%s, %d): capacity outside 0..%d\n",
                  textureFile ? textureFile : "", capacity, PARTICLE_CAPACITY_MAX);
        return nullptr;
    }
    char title[260] = {};
    if (textureFile) PathGetFileTitle(textureFile, title, sizeof title);
    if (SharedObj* found = SharedObjAcquire(title, s_systems))
        return static_cast<ParticleSys*>(found);
    auto* sys = new (std::nothrow) ParticleSys(capacity);
    if (!sys) return nullptr;
    sys->LoadTexture(textureFile);
    sys->SetName(title);
    SharedObjLink(sys, &s_systems);
    sys->SetCell(0, 0.0f, 0.0f, 0.25f, 0.25f);
    sys->SetCell(1, 0.25f, 0.0f, 0.5f, 0.25f);
    sys->SetCell(2, 0.5f, 0.0f, 0.75f, 0.25f);
    sys->SetCell(3, 0.75f, 0.0f, 0.99f, 0.25f);
    sys->SetCell(4, 0.0f, 0.25f, 0.125f, 0.375f);
    return sys;
}

void ParticleSysDrawAll() {
    for (SharedObj* s = s_systems; s; s = s->next) {
        auto* sys = static_cast<ParticleSys*>(s);
        sys->Draw();
        sys->count = 0;
    }
}

// ---- queries ----

SharedObj* ParticleSysFirst() {
    return s_systems;
}
int ParticleSysLiveCount() {
    return s_live;
}
int ParticleSysSharedCapacity() {
    return s_sharedCapacity;
}
I3dVertexBuffer* ParticleSysVertexBuffer() {
    return s_vb;
}
I3dIndexBuffer* ParticleSysIndexBuffer() {
    return s_ib;
}
Shader* ParticleSysDefaultShader() {
    return s_shader;
}
