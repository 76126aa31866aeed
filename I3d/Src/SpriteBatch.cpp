// The sprite batch (see I3d/SpriteBatch.h). Between flushes the vertex buffer and every group's
// index buffer stay locked, so nothing else may draw from them until the flush.
#include "I3d/SpriteBatch.h"

#include "I3d/Buffers.h"
#include "I3d/Camera.h"
#include "I3d/Frustum.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Primitives.h"
#include "I3d/Src/Kernel.h"
#include "engine/DebugLog.h"
#include "engine/Memory.h"

#include <cmath>

static_assert(sizeof(I3dSpriteVertex) == 36, "the batch's vertices are FVF 0x152");

static constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
static constexpr DWORD kUsage = D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY;
// Bottom-left, top-left, top-right, bottom-right.
static constexpr float kUv[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};

static I3dSpriteBatch* s_batch = nullptr;

// ---- a group's index buffer ----

static bool MakeGroupBuffer(I3dSpriteGroup* g) {
    IDirect3DDevice8* dev = D3dDevice();
    if (g->ib) return true;
    if (!dev || FAILED(dev->CreateIndexBuffer((UINT)g->maxSprites * 12, kUsage, D3DFMT_INDEX16,
                                              D3DPOOL_DEFAULT, &g->ib))) {
        g->ib = nullptr;
        DbgPrintf(DBG_RENDER, "I3dSpriteBatch: no index buffer for a group of %i\n",
                  (int)g->maxSprites);
        return false;
    }
    return true;
}

static void UnlockGroup(I3dSpriteGroup* g) {
    if (g->locked) g->ib->Unlock();
    g->locked = g->write = nullptr;
}

static void LockGroup(I3dSpriteGroup* g) {
    UnlockGroup(g);
    g->count = 0;
    BYTE* p = nullptr;
    if (g->ib && SUCCEEDED(g->ib->Lock(0, 0, &p, D3DLOCK_DISCARD)) && p)
        g->locked = g->write = reinterpret_cast<uint16_t*>(p);
}

// The handle and pointers go with the buffer, so a second release (a failed reset tried again,
// then Destroy) finds nothing to release.
static void ReleaseGroupBuffer(I3dSpriteGroup* g) {
    UnlockGroup(g);
    g->count = 0;
    if (!g->ib) return;
    D3dUnbindBuffer(g->ib);
    g->ib->Release();
    g->ib = nullptr;
}

// ---- frames ----

static void UnlockVertices(I3dSpriteBatch* b) {
    if (b->locked) b->vb->Unlock();
    b->locked = b->write = nullptr;
}

static void BeginFrame(I3dSpriteBatch* b) {
    UnlockVertices(b);
    BYTE* p = nullptr;
    if (b->vb && SUCCEEDED(b->vb->Lock(0, 0, &p, D3DLOCK_DISCARD)) && p)
        b->locked = b->write = reinterpret_cast<I3dSpriteVertex*>(p);
    b->vertexBase = 0;
    b->lastSpriteCount = b->spriteCount;
    b->lastAttempts = b->addAttempts;
    b->spriteCount = b->addAttempts = 0;
    for (int i = 0; i < b->maxGroups; ++i)
        if (b->groups[i]) LockGroup(b->groups[i]);
    // The billboard's corners follow every view set, so they are the current view's.
    I3dGetBillboardCorners(b->corners);
}

// A new buffer's normals and uvs, which every sprite shares.
static bool MakeVertexBuffer(I3dSpriteBatch* b) {
    IDirect3DDevice8* dev = D3dDevice();
    UINT vertices = (UINT)b->maxSprites * 4;
    if (!dev || FAILED(dev->CreateVertexBuffer(vertices * sizeof(I3dSpriteVertex), kUsage, kFvf,
                                               D3DPOOL_DEFAULT, &b->vb))) {
        b->vb = nullptr;
        DbgPrintf(DBG_RENDER, "I3dSpriteBatch: no vertex buffer for %i sprites\n",
                  (int)b->maxSprites);
        return false;
    }
    BYTE* p = nullptr;
    if (SUCCEEDED(b->vb->Lock(0, 0, &p, D3DLOCK_DISCARD)) && p) {
        auto* v = reinterpret_cast<I3dSpriteVertex*>(p);
        for (UINT i = 0; i < vertices; ++i) {
            v[i].normal = VECTOR3{1, 1, 1};
            v[i].u = kUv[i % 4][0];
            v[i].v = kUv[i % 4][1];
        }
        b->vb->Unlock();
    }
    return true;
}

// ---- the batch ----

int I3dSpriteBatchCreate(int maxSprites, int maxGroups) {
    if (s_batch) return -1;
    // More groups than sprites could never all draw.
    if (maxSprites < 1 || maxSprites > I3D_SPRITE_MAX || maxGroups < 1 ||
        maxGroups > I3D_SPRITE_MAX) {
        DbgPrintf(DBG_RENDER, "I3dSpriteBatchCreate(%i, %i): refused\n", maxSprites, maxGroups);
        return -1;
    }
    auto* b = static_cast<I3dSpriteBatch*>(MemAlloc(sizeof(I3dSpriteBatch)));
    auto* groups =
        static_cast<I3dSpriteGroup**>(MemAlloc(sizeof(I3dSpriteGroup*) * (size_t)maxGroups));
    if (!b || !groups) {
        MemFree(b);
        MemFree(groups);
        return -1;
    }
    *b = I3dSpriteBatch{};
    for (int i = 0; i < maxGroups; ++i)
        groups[i] = nullptr;
    b->enabled = 1;
    b->cull = 1;
    b->maxSprites = maxSprites;
    b->maxGroups = maxGroups;
    b->groups = groups;
    s_batch = b;
    if (I3dSpriteBatchRestore() != 0) {
        I3dSpriteBatchDestroy();
        return -1;
    }
    return 0;
}

void I3dSpriteBatchEnable(int flag) {
    if (s_batch) s_batch->enabled = flag;
}

void I3dSpriteBatchSetCull(int flag) {
    if (s_batch) s_batch->cull = flag;
}

const I3dSpriteBatch* I3dSpriteBatchGet() {
    return s_batch;
}

void I3dSpriteBatchRelease() {
    I3dSpriteBatch* b = s_batch;
    if (!b) return;
    UnlockVertices(b);
    if (b->vb) {
        D3dUnbindBuffer(b->vb);
        b->vb->Release();
        b->vb = nullptr;
    }
    for (int i = 0; i < b->maxGroups; ++i)
        if (b->groups[i]) ReleaseGroupBuffer(b->groups[i]);
}

int I3dSpriteBatchRestore() {
    I3dSpriteBatch* b = s_batch;
    if (!b) return -1;
    int result = b->vb || MakeVertexBuffer(b) ? 0 : -1;
    for (int i = 0; i < b->maxGroups; ++i)
        if (b->groups[i] && !MakeGroupBuffer(b->groups[i])) result = -1;
    BeginFrame(b);
    return result;
}

void I3dSpriteBatchDestroy() {
    I3dSpriteBatch* b = s_batch;
    if (!b) return;
    for (int i = 0; i < b->maxGroups; ++i)
        I3dSpriteBatchFreeGroup(i);
    I3dSpriteBatchRelease();
    MemFree(b->groups);
    MemFree(b);
    s_batch = nullptr;
}

// ---- groups ----

int I3dSpriteBatchAddGroup(int maxSprites, I3dSpriteSetupFn setup, intptr_t arg) {
    I3dSpriteBatch* b = s_batch;
    if (!b || !setup || maxSprites < 1) return -1;
    int slot = 0;
    while (slot < b->maxGroups && b->groups[slot])
        ++slot;
    if (slot == b->maxGroups) return -1;
    auto* g = static_cast<I3dSpriteGroup*>(MemAlloc(sizeof(I3dSpriteGroup)));
    if (!g) return -1;
    *g = I3dSpriteGroup{};
    g->setup = setup;
    g->arg = arg;
    // The batch's own limit binds first anyway; a larger group would only waste its buffer.
    g->maxSprites = maxSprites < b->maxSprites ? maxSprites : b->maxSprites;
    // A released batch makes the buffer in its restore: a default-pool buffer made now would
    // block the device reset that is under way.
    if (b->vb) {
        if (!MakeGroupBuffer(g)) {
            MemFree(g);
            return -1;
        }
        LockGroup(g);
    }
    b->groups[slot] = g;
    return slot;
}

int I3dSpriteBatchFreeGroup(int group) {
    I3dSpriteBatch* b = s_batch;
    if (!b || group < 0 || group >= b->maxGroups || !b->groups[group]) return -1;
    ReleaseGroupBuffer(b->groups[group]);
    MemFree(b->groups[group]);
    b->groups[group] = nullptr;
    return 0;
}

// ---- adding and drawing ----

static bool Finite(const VECTOR3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

int I3dSpriteBatchAdd(int group, const VECTOR3* centre, float size, uint32_t colour) {
    I3dSpriteBatch* b = s_batch;
    if (!b || !b->enabled || !b->write) return -1;
    ++b->addAttempts;
    I3dSpriteGroup* g = group >= 0 && group < b->maxGroups ? b->groups[group] : nullptr;
    if (!g || !g->write || !centre || !Finite(*centre) || !std::isfinite(size)) return -1;
    // Under view x projection: the caller's world matrix belongs to its own mesh, and sprites
    // are placed in the world.
    if (b->cull && Mat4PointOutcode(centre, &I3dViewProj(), nullptr) != 0) return -1;
    if (b->spriteCount >= b->maxSprites) return -1;
    ++b->spriteCount;
    if (g->count >= g->maxSprites) return -1;

    for (int i = 0; i < 4; ++i) {
        I3dSpriteVertex& v = b->write[i];
        v.pos = VECTOR3{centre->x + size * b->corners[i].x, centre->y + size * b->corners[i].y,
                        centre->z + size * b->corners[i].z};
        v.normal = VECTOR3{1, 1, 1};
        v.colour = colour;
        v.u = kUv[i][0];
        v.v = kUv[i][1];
    }
    const auto base = (uint16_t)b->vertexBase;
    const uint16_t quad[6] = {base, (uint16_t)(base + 1), (uint16_t)(base + 2),
                              base, (uint16_t)(base + 2), (uint16_t)(base + 3)};
    for (uint16_t index : quad)
        *g->write++ = index;
    b->write += 4;
    b->vertexBase += 4;
    ++g->count;
    return 0;
}

void I3dSpriteBatchFlush() {
    I3dSpriteBatch* b = s_batch;
    IDirect3DDevice8* dev = D3dDevice();
    if (!b || !b->enabled || !b->vb || !dev) return;
    UnlockVertices(b);
    Mat4 identity;
    I3dSetWorld(Mat4Identity(&identity));
    // The stream below replaces whatever the kernel and the model library had bound; both must
    // bind again on their next draw.
    I3dResetBufferSelection();
    dev->SetVertexShader(kFvf);
    dev->SetStreamSource(0, b->vb, sizeof(I3dSpriteVertex));
    for (int i = 0; i < b->maxGroups; ++i) {
        I3dSpriteGroup* g = b->groups[i];
        if (!g) continue;
        UnlockGroup(g);
        if (g->count < 1 || !g->ib) continue;
        g->setup(g->arg);
        dev->SetIndices(g->ib, 0);
        I3dPreDraw();
        dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, (UINT)b->vertexBase, 0,
                                  (UINT)g->count * 2);
    }
    BeginFrame(b);
}
