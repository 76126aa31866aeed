// The terrain object's drawing: levels chosen from the eye, patch vertices rebuilt lazily into
// a shared pool of static buffers, shared index lists with stitched edges, tile and detail
// textures through three shaders.
#include "world/TerrainDraw.h"

#include "I3d/Buffers.h"
#include "I3d/Camera.h"
#include "I3d/Frustum.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3.h"
#include "I3d/PassLists.h"
#include "I3d/Primitives.h"
#include "I3d/Progress.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/System.h"
#include "world/TerrainShaders.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace {

float Sample(const TerrainObj* t, int x, int z) {
    return t->heights[size_t(z) * size_t(t->sampleCols) + size_t(x)];
}

int ListTriangles(int kind, int n) {
    if (kind == TERRAIN_LIST_WHOLE) return 2 * n * n;
    if (kind == TERRAIN_LIST_INNER) return 2 * (n - 2) * (n - 2);
    if (kind < TERRAIN_LIST_STITCHED) return 2 * n - 2;
    return 3 * (n / 2) - 2;
}

void ChooseLevel(TerrainObj* t, TerrainPatch& p) {
    const int P = t->patchSize;
    const VECTOR3 centre = {(float(p.px * P) + float(P) * 0.5f) * t->cellWidth, 0.0f,
                            (float(p.pz * P) + float(P) * 0.5f) * t->cellDepth};
    const float d = Vec3Dist(&centre, &t->eye);
    p.eyeDistance = d;
    const float u = t->lodUnit * t->cellWidth;
    p.levelWanted = d > 4.0f * u ? 3 : d > 3.0f * u ? 2 : d > 2.0f * u ? 1 : 0;
}

// A pool entry for N vertices: a free one of that size, else an empty one given a new buffer;
// -1 when the pool is full.
int TakeSlot(TerrainObj* t, int count) {
    for (int i = 0; i < TERRAIN_POOL_SIZE; ++i) {
        TerrainPoolEntry& e = t->pool[i];
        if (e.buffer && !e.inUse && e.vertexCount == count) {
            e.inUse = 1;
            return i;
        }
        if (!e.buffer) {
            e.buffer = I3dVbCreate(1, 35, count);
            if (!e.buffer) return -1;
            e.vertexCount = count;
            e.inUse = 1;
            return i;
        }
    }
    if (!t->poolFullLogged) {
        DbgPrintf(1, "terrain: patch vertex pool full\n");
        t->poolFullLogged = 1;
    }
    return -1;
}

void Rebuild(TerrainObj* t, TerrainPatch& p) {
    p.levelBuilt = p.levelWanted;
    const int P = t->patchSize;
    const int n = P >> p.levelBuilt, s = 1 << p.levelBuilt, count = (n + 1) * (n + 1);
    p.vertexSlot = TakeSlot(t, count);
    if (p.vertexSlot < 0) return;
    I3dVertexBuffer* vb = t->pool[p.vertexSlot].buffer;
    if (I3dVbLock(vb, count) != 0) {
        t->pool[p.vertexSlot].inUse = 0;
        p.vertexSlot = -1;
        return;
    }
    uint8_t* base = I3dVbLockedPtr(vb);
    const int x0 = p.px * P, z0 = p.pz * P;
    int i = 0;
    for (int z = z0; z <= z0 + P; z += s) {
        for (int x = x0; x <= x0 + P; x += s, ++i) {
            uint8_t* v = base + size_t(i) * size_t(vb->stride);
            const float pos[3] = {float(x), Sample(t, x, z), float(z)};
            VECTOR3 nrm = {0.0f, 1.0f, 0.0f};
            if (x > 0 && z > 0 && x < t->sampleCols - 1 && z < t->sampleRows - 1) {
                const float t1 = Sample(t, x, z - 1) - Sample(t, x, z + 1);
                const float t2 = Sample(t, x + 1, z) - Sample(t, x - 1, z);
                nrm = {t1 - t2, 0.5f, t1 + t2};
                Vec3NormalizeFast(&nrm);
            }
            const float uv[2] = {float(x - x0) / float(P), float(z - z0) / float(P)};
            std::memcpy(v + vb->offPos, pos, sizeof pos);
            std::memcpy(v + vb->offNormal, &nrm, sizeof nrm);
            std::memcpy(v + vb->offUv0, uv, sizeof uv);
        }
    }
    I3dVbUnlock(vb);
}

void DrawTriangles(TerrainObj* t, TerrainPatch& p) {
    const int L = p.levelBuilt, n = t->patchSize >> L, count = (n + 1) * (n + 1);
    p.seamMask = 0;
    for (int side = 0; side < 4; ++side)
        if (p.neighbour[side] && p.neighbour[side]->levelWanted > L) p.seamMask |= 1 << side;
    auto draw = [&](int kind) {
        if (!t->lists[L][kind]) return;
        I3dIbSelect(t->lists[L][kind]);
        I3dVbDrawIndexed(D3DPT_TRIANGLELIST, ListTriangles(kind, n), count);
    };
    if (p.seamMask == 0) {
        draw(TERRAIN_LIST_WHOLE);
        return;
    }
    draw(TERRAIN_LIST_INNER);
    for (int side = 0; side < 4; ++side)
        draw((p.seamMask & (1 << side) ? TERRAIN_LIST_STITCHED : TERRAIN_LIST_EDGE) + side);
}

void DrawPatch(TerrainObj* t, TerrainPatch& p) {
    I3dVbSelect(t->pool[p.vertexSlot].buffer);
    // The detail shaders only with a detail texture: stage 1 would otherwise blend whatever
    // was bound there last over the ground.
    I3dShader* shader = t->shaders[TERRAIN_SHADER_BASE];
    if (t->detailMap && t->detailTexture >= 0 && p.eyeDistance < t->detailDist * t->cellWidth) {
        shader = t->shaders[t->doubleDetail ? TERRAIN_SHADER_DOUBLE : TERRAIN_SHADER_DETAIL];
        D3dSetTexture(1, t->detailTexture);
    }
    Mat4 m;
    Mat4Identity(&m);
    if (p.tileTexture >= 0) {
        D3dSetTexture(0, p.tileTexture);
        m.m[0] = m.m[5] = 0.25f;
        m.m[8] = float(p.px % 4) * 0.25f;
        m.m[9] = float(p.pz % 4) * 0.25f;
    } else {
        // No tile: the layer's white texture under the lit material, never the last patch's
        // tile.
        D3dClearTexture(0);
    }
    I3dSetTexMatrix(0, &m);
    const int passes = I3dShaderBegin(shader);
    for (int i = 0; i < passes; ++i) {
        I3dShaderPass(i);
        DrawTriangles(t, p);
    }
    I3dShaderEnd();
    for (int stage = 0; stage < 3; ++stage)
        D3dSetTexCoordIndex(stage, DWORD(stage));
}

} // namespace

void TerrainDrawInit(TerrainObj* t) {
    if (!t) return;
    if (!t->pool) t->pool = new (std::nothrow) TerrainPoolEntry[TERRAIN_POOL_SIZE];
    std::vector<uint16_t> indices(6 * 32 * 32);
    for (int level = 0; level < TERRAIN_LEVELS; ++level) {
        const int n = TERRAIN_PATCH_CELLS >> level;
        for (int kind = 0; kind < TERRAIN_LIST_KINDS; ++kind) {
            if (t->lists[level][kind]) continue;
            const int count = 3 * TerrainListIndices(kind, n, indices.data());
            I3dIndexBuffer* ib = I3dIbCreate(1, count);
            if (!ib) continue;
            uint16_t* out = I3dIbLock(ib, count);
            if (out) {
                std::memcpy(out, indices.data(), size_t(count) * sizeof(uint16_t));
                I3dIbUnlock(ib);
            }
            t->lists[level][kind] = ib;
        }
    }
    TerrainShadersCreate(t->shaders);
}

void TerrainDrawFree(TerrainObj* t) {
    if (!t) return;
    TerrainShadersFree(t->shaders);
    for (auto& level : t->lists) {
        for (auto*& ib : level) {
            if (ib) I3dIbFree(ib);
            ib = nullptr;
        }
    }
    if (t->pool) {
        for (int i = 0; i < TERRAIN_POOL_SIZE; ++i)
            if (t->pool[i].buffer) I3dVbFree(t->pool[i].buffer);
        delete[] t->pool;
        t->pool = nullptr;
    }
    // Each patch holds its own reference to its tile.
    const int patches = t->patches ? t->patchesX * t->patchesZ : 0;
    for (int i = 0; i < patches; ++i) {
        if (t->patches[i].tileTexture >= 0) I3dTexRelease(t->patches[i].tileTexture);
        t->patches[i].tileTexture = -1;
    }
}

void TerrainLoadTiles(TerrainObj* t) {
    if (!t) return;
    const int patches = t->patchesX * t->patchesZ;
    // A tile that failed for one of its patches is not tried again for the others.
    const int tilesX = (t->patchesX + 3) / 4;
    std::vector<uint8_t> failed(size_t(tilesX) * size_t((t->patchesZ + 3) / 4));
    for (int i = 0; i < patches; ++i) {
        TerrainPatch& p = t->patches[i];
        I3dProgress("Loading textures...", 1);
        if (p.tileTexture != -1) continue;
        uint8_t& tileFailed = failed[size_t(p.pz / 4) * size_t(tilesX) + size_t(p.px / 4)];
        if (tileFailed) {
            p.tileTexture = -2;
            continue;
        }
        char name[300], path[600];
        std::snprintf(name, sizeof name, "%sTex%02ix%02i.dds", t->tilePath, p.px / 4, p.pz / 4);
        if (SysDataFilePath(path, sizeof path, name) != 1)
            std::snprintf(path, sizeof path, "%s", name);
        // Every venue's tiles share their titles: the key is the whole path (its end when
        // longer than a key), so another venue's tiles are never taken for these.
        const size_t len = std::strlen(path);
        const char* key = len > 127 ? path + (len - 127) : path;
        const int slot = I3dTexLoad(path, key, 1);
        p.tileTexture = slot < 0 ? -2 : slot;
        tileFailed = slot < 0;
    }
    I3dProgress("Done.", 1);
}

void TerrainDraw(TerrainObj* t) {
    if (!t || !t->pool) return;
    I3dShaderSetTechnique(0);
    t->detailMatrix[0] = t->detailUTile;
    t->detailMatrix[5] = t->detailVTile;
    Mat4 detail;
    std::memcpy(detail.m, t->detailMatrix, sizeof detail.m);
    I3dSetTexMatrix(1, &detail);
    Mat4 world;
    Mat4Identity(&world);
    world.m[0] = t->cellWidth;
    world.m[5] = t->heightUnit;
    world.m[10] = t->cellDepth;
    I3dSetWorld(&world);

    const int P = t->patchSize, patches = t->patchesX * t->patchesZ;
    for (int i = 0; i < patches; ++i) {
        TerrainPatch& p = t->patches[i];
        const VECTOR3 lo = {float(p.px * P), p.lowest, float(p.pz * P)};
        const VECTOR3 hi = {float(p.px * P + P), p.highest, float(p.pz * P + P)};
        p.visible = I3dBoxOutcodeTest(&lo, &hi, nullptr);
        if (p.visible) ChooseLevel(t, p);
        if (p.levelWanted != p.levelBuilt && p.vertexSlot >= 0) {
            t->pool[p.vertexSlot].inUse = 0;
            p.vertexSlot = -1;
        }
    }
    for (int i = 0; i < patches; ++i) {
        TerrainPatch& p = t->patches[i];
        if (p.levelWanted != p.levelBuilt) Rebuild(t, p);
        if (p.visible && p.vertexSlot >= 0) DrawPatch(t, p);
    }
}

void TerrainDrawLodMap(const TerrainObj* t) {
    if (!t) return;
    static const D3DCOLOR colours[4] = {0xFFC0C0FF, 0xFF8080BF, 0xFF40407F, 0xFF00003F};
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetLighting(0);
    D3dSetZFunc(D3DCMP_ALWAYS);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    D3dSetFactorStages();
    Mat4 m;
    Mat4Identity(&m);
    I3dSetWorld(&m);
    I3dSetView(&m);
    I3dSetProj(I3dOrthoAspect(&m));
    const float aspect = I3dGetAspect();
    for (int pz = t->patchesZ - 1; pz >= 0; --pz) {
        const float y = 0.3f + 0.02f * float(t->patchesZ - 1 - pz);
        for (int px = 0; px < t->patchesX; ++px) {
            const TerrainPatch& p = t->patches[pz * t->patchesX + px];
            const float x = 0.3f * aspect + 0.02f * float(px);
            const int level = p.levelWanted < 0 ? 0 : (p.levelWanted > 3 ? 3 : p.levelWanted);
            D3dSetTextureFactor(p.visible ? colours[level] : 0x60808080);
            I3dDrawQuad(x, y, x + 0.018f, y + 0.018f, 0.0f);
        }
    }
    D3dSetLighting(1);
}
