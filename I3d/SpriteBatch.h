// The sprite batch: large numbers of small camera-facing quads (particles) drawn in few calls.
// Every sprite of a frame goes into one shared dynamic vertex buffer; each belongs to a group
// with its own index buffer and set-up callback (texture, blending). One flush per frame draws
// every group with one indexed call and opens the buffers for the next frame. The game makes one
// batch of 3000 sprites in 40 groups.
#pragma once

#include "I3d/Math/MathTypes.h"

#include <cstdint>

class IDirect3DVertexBuffer8;
class IDirect3DIndexBuffer8;

// 16-bit indices reach 4 x 16384 vertices.
constexpr int I3D_SPRITE_MAX = 16384;

// 36 bytes, FVF 0x152 (format code 39): position, normal (always 1, 1, 1), colour, uv.
struct I3dSpriteVertex {
    VECTOR3 pos;
    VECTOR3 normal;
    uint32_t colour;
    float u, v;
};

using I3dSpriteSetupFn = void (*)(intptr_t arg);

struct I3dSpriteGroup {
    I3dSpriteSetupFn setup;
    intptr_t arg;
    int32_t maxSprites;
    int32_t count;
    IDirect3DIndexBuffer8* ib; // 6 indices per sprite; null while released
    uint16_t* locked;          // start of the locked indices, null when unlocked
    uint16_t* write;
};

struct I3dSpriteBatch {
    int32_t enabled;
    int32_t maxSprites;
    int32_t spriteCount; // sprites counted this frame (refusals by a full group included)
    int32_t addAttempts;
    int32_t lastSpriteCount, lastAttempts; // the previous frame's
    int32_t maxGroups;
    int32_t vertexBase;     // first vertex of the next sprite
    I3dSpriteVertex* write; // next vertex to write
    I3dSpriteVertex* locked;
    IDirect3DVertexBuffer8* vb; // null while released
    int32_t cull;               // refuse sprites whose centre lies outside the view
    I3dSpriteGroup** groups;    // maxGroups slots, null = free
    VECTOR3 corners[4];         // bottom-left, top-left, top-right, bottom-right
};

// Makes the batch (enabled, cull on, no groups) and its device buffers. 0; -1 when a batch
// exists already (it is left untouched), for max sprites outside 1..I3D_SPRITE_MAX or max groups
// below 1, or when memory or the device fails (nothing is kept).
int I3dSpriteBatchCreate(int maxSprites, int maxGroups);
void I3dSpriteBatchEnable(int flag);
void I3dSpriteBatchSetCull(int flag);
// The first free slot, for up to maxSprites sprites a frame (at most the batch's), set up by
// `setup` (arg) before its draw. While the batch is released its index buffer waits for
// I3dSpriteBatchRestore. The group, or -1 with no batch, no callback, maxSprites below 1, no
// free slot, or when memory or the device fails.
int I3dSpriteBatchAddGroup(int maxSprites, I3dSpriteSetupFn setup, intptr_t arg);
// Releases the group's index buffer and frees its slot. 0; -1 for a free slot or no batch.
int I3dSpriteBatchFreeGroup(int group);
// One sprite of `size` centred on the world point `centre`, in `colour` (ARGB). 0 when written;
// -1 when refused: no batch, disabled or released, a bad group, a centre or size that is not
// finite, a centre outside the view under view x projection (with cull on), the frame's sprites
// or the group's all used. A refusal by a full group still counts toward the frame's sprites.
int I3dSpriteBatchAdd(int group, const VECTOR3* centre, float size, uint32_t colour);
// Draws every group that holds sprites (its callback first), under the identity world, then
// opens the next frame with the corners of the current view. Nothing while disabled or
// released.
void I3dSpriteBatchFlush();
// Releases the device buffers before a device reset; the groups stay. Adds and flushes do
// nothing until I3dSpriteBatchRestore.
void I3dSpriteBatchRelease();
// Makes whichever device buffers are missing and opens a frame: the sprites of the released
// frame are gone. 0; -1 with no batch or when a buffer cannot be made (try again later).
int I3dSpriteBatchRestore();
// Frees every group, the buffers and the batch.
void I3dSpriteBatchDestroy();
// The batch, for its counts; null when there is none.
const I3dSpriteBatch* I3dSpriteBatchGet();
