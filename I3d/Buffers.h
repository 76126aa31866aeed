// Vertex and index buffers, the immediate vertex writer, buffer selection and the draw calls.
// Static buffers are written once; dynamic ones are rings appended to with no-overwrite locks
// and restarted with a discard lock when full. The application keeps one shared dynamic pair as
// the "current" buffers for immediate drawing.
#pragma once

#include "platform/d3d8/D3d8Types.h"

class IDirect3DVertexBuffer8;
class IDirect3DIndexBuffer8;

class IDirect3DVertexBuffer8;
class IDirect3DIndexBuffer8;
struct VECTOR3;

// ---- vertex format codes ----
// Bits of a format code; the components lie in this order inside a vertex.
enum : int32_t {
    I3DVF_XYZ = 1,     // position, 12 bytes
    I3DVF_NORMAL = 2,  // 12 bytes
    I3DVF_DIFFUSE = 4, // packed ARGB, 4 bytes
    I3DVF_SPECULAR = 8,
    I3DVF_XYZRHW = 16, // only without I3DVF_XYZ, 16 bytes
    I3DVF_TEX1 = 32,   // one uv pair
    I3DVF_TEX2 = 64,   // two uv pairs, only without I3DVF_TEX1
};

// A format code's FVF, stride and component offsets in bytes (-1 for a component it lacks).
struct I3dVertexLayout {
    DWORD fvf;
    int32_t stride;
    int32_t offPos, offNormal, offDiffuse, offSpecular, offUv0, offUv1;
};
// False (layout zeroed) for a code with bits beyond 127 or without a position.
bool I3dVertexLayoutOf(int32_t format, I3dVertexLayout* out);

// ---- the ring rule, shared with the model library's dynamic buffers ----
// Locks room for n elements of `elementSize` bytes in a buffer of `capacity` elements whose
// next free element is *position. Static buffers lock from 0 without flags. A dynamic buffer
// appends with NOOVERWRITE | NOSYSLOCK (0x1800) unless *wrap is set or the lock would reach the
// end (position + n >= capacity): then it restarts at 0 with DISCARD | NOSYSLOCK (0x2800). On
// success: *lastStart = the first element locked, *position = the element after the lock,
// *wrap cleared; the pointer. Null, with nothing changed, for a null buffer, n < 0,
// n > capacity, or when the device refuses the lock.
uint8_t* I3dRingLock(IDirect3DVertexBuffer8* buffer, int32_t elementSize, bool isStatic,
                     int32_t capacity, int32_t n, int32_t* position, bool* wrap,
                     int32_t* lastStart);
uint8_t* I3dRingLock(IDirect3DIndexBuffer8* buffer, int32_t elementSize, bool isStatic,
                     int32_t capacity, int32_t n, int32_t* position, bool* wrap,
                     int32_t* lastStart);
// A ring's last-lock start as a draw uses it: a buffer never locked counts as starting at 0.
inline int32_t I3dDrawStart(int32_t lastStart) {
    return lastStart > 0 ? lastStart : 0;
}

// ---- records ----
struct I3dVertexBuffer {
    int32_t type; // 0 dynamic ring, 1 static
    int32_t format;
    DWORD fvf;
    int32_t capacity;  // vertices
    int32_t lockCount; // 0 or 1
    int32_t lastStart; // first vertex of the last lock; -1 before any (draws then start at 0)
    int32_t position;  // ring write position
    bool wrap;         // the next lock discards
    int32_t stride;
    uint8_t* locked; // while locked
    IDirect3DVertexBuffer8* buffer;
    int32_t offPos, offNormal, offDiffuse, offSpecular, offUv0, offUv1;
    int32_t lockedCount; // vertices of the current lock: the writer stops there
};

struct I3dIndexBuffer {
    int32_t isStatic;
    int32_t capacity; // indices
    int32_t locked;
    int32_t lastStart; // first index of the last lock; -1 before any (draws then start at 0)
    int32_t position;
    bool wrap; // starts set
    uint16_t* lockedPtr;
    IDirect3DIndexBuffer8* buffer;
};

// ---- vertex buffers ----
// type 0: dynamic (default pool, DYNAMIC | WRITEONLY); any other: static (managed pool,
// WRITEONLY), as the index buffers' non-zero flag. A vertex format code with bits above 0x7F or
// without a position is refused: a buffer without positions could never be drawn.
// Null for a format code I3dVertexLayoutOf refuses, a capacity below 1 or too
// large, or when the record or the device buffer cannot be made (logged).
I3dVertexBuffer* I3dVbCreate(int type, int format, int capacity);
// Unlocks, unbinds it from the device and from every selection (kernel, current, writer),
// releases and frees. 0; -1 for null.
int I3dVbFree(I3dVertexBuffer* vb);
// Locks room for n vertices by the ring rule and points the writer at the first. 0; -1 for
// null, a locked buffer, n < 0 or n > capacity, or when the device refuses (the ring unmoved).
int I3dVbLock(I3dVertexBuffer* vb, int n);
// -1 for null or an unlocked buffer.
int I3dVbUnlock(I3dVertexBuffer* vb);
// The locked pointer while locked, else null.
uint8_t* I3dVbLockedPtr(const I3dVertexBuffer* vb);
// Binds the buffer to stream 0 with its format unless it is already selected. The model
// library's own bindings are forgotten first, selected or not. 0; -1 for null or no device.
int I3dVbSelect(I3dVertexBuffer* vb);

void I3dVbSetCurrent(I3dVertexBuffer* vb);
int I3dVbLockCurrent(int n);
// -1 when there is no current buffer or it is not locked.
int I3dVbUnlockCurrent();
int I3dVbSelectCurrent();

// ---- index buffers (16-bit) ----
// Non-zero flag: static (managed pool, WRITEONLY); 0: dynamic (default pool, DYNAMIC |
// WRITEONLY). Null for a count below 1 or too large, or when memory or the device fails.
I3dIndexBuffer* I3dIbCreate(int isStatic, int count);
int I3dIbFree(I3dIndexBuffer* ib);
// Room for count indices by the ring rule, or null (as I3dVbLock).
uint16_t* I3dIbLock(I3dIndexBuffer* ib, int count);
int I3dIbUnlock(I3dIndexBuffer* ib);
// Forgets the model library's bindings, records the buffer as selected and binds it with the
// selected vertex buffer's last-lock start as base vertex. 0; -1 for null or no device.
int I3dIbSelect(I3dIndexBuffer* ib);
// As I3dIbSelect with the base vertex moved by offset, leaving the library's bindings alone.
// -1 for null or a base vertex below 0.
int I3dIbSelectBase(I3dIndexBuffer* ib, int offset);

void I3dIbSetCurrent(I3dIndexBuffer* ib);
uint16_t* I3dIbLockCurrent(int count);
int I3dIbUnlockCurrent();
int I3dIbSelectCurrent();

// ---- selection ----
// Forgets the selected vertex and index buffers, and the model library's bindings: after a
// device reset nothing is bound, so the next select of either binds again.
void I3dResetBufferSelection();
// Forgets only the kernel's selection: for the model library, which binds its own buffers.
void I3dForgetBufferSelection();
// The model library's function that forgets its bindings (it sits above the kernel, so it
// hands the function down). Null for none.
void I3dSetLibraryBindingsReset(void (*forget)());

// ---- the vertex writer ----
// Acts on the writer's current vertex. Writing stops at the end of the lock: a write past it is
// a caller's error (an assertion in debug builds) and is dropped; so is a write of a component
// the format lacks.
void I3dVbBegin(I3dVertexBuffer* vb, int i);
void I3dVbNext();
void I3dVbPos(float x, float y, float z);
void I3dVbPosV(const VECTOR3* p);
void I3dVbNormal(float x, float y, float z);
void I3dVbNormalV(const VECTOR3* n);
void I3dVbColor(uint32_t argb);
void I3dVbUv(float u, float v);

// ---- drawing from the selected buffers ----
// Each calls I3dPreDraw first; 0, or -1 with no buffer selected or when the device refuses.
// From the first vertex of the selected buffer's last lock.
int I3dVbDraw(D3DPRIMITIVETYPE type, int primitives);
// Indices from the first index of the selected index buffer's last lock (+ offset), over the
// vertices 0 .. vertices - 1 (min .. max for the range form) after the base vertex.
int I3dVbDrawIndexed(D3DPRIMITIVETYPE type, int primitives, int vertices);
int I3dVbDrawIndexedFrom(D3DPRIMITIVETYPE type, int primitives, int vertices, int offset);
int I3dVbDrawIndexedRange(D3DPRIMITIVETYPE type, int primitives, int minVertex, int maxVertex,
                          int offset);
// An empty hook before every draw: the layer applies deferred state in its draw calls.
void I3dPreDraw();

// ---- the model library's own buffers (gi/Render/DynBuf.h) ----
// The library keeps its rings and bindings; the device work is the kernel's. Buffers are made by
// the rule of I3dVbCreate (dynamic: default pool, DYNAMIC | WRITEONLY; else managed, WRITEONLY),
// index buffers with 16-bit indices: null without a device or when it refuses.
IDirect3DVertexBuffer8* I3dLibVbMake(int32_t bytes, bool dynamic, DWORD fvf);
IDirect3DIndexBuffer8* I3dLibIbMake(int32_t count, bool dynamic);
void I3dLibUnlock(IDirect3DVertexBuffer8* buffer);
void I3dLibUnlock(IDirect3DIndexBuffer8* buffer);
// Unbinds the buffer wherever the device binds it, then releases it. Null does nothing.
void I3dLibFree(IDirect3DVertexBuffer8* buffer);
void I3dLibFree(IDirect3DIndexBuffer8* buffer);
// Binds stream 0 with its vertex format, or the indices with a base vertex; draws indices from
// startIndex over vertices 0 .. vertices - 1. False without a device or when it refuses.
bool I3dLibBindStream(IDirect3DVertexBuffer8* buffer, DWORD fvf, int32_t stride);
bool I3dLibBindIndices(IDirect3DIndexBuffer8* buffer, int32_t baseVertex);
bool I3dLibDrawIndexed(D3DPRIMITIVETYPE type, int32_t vertices, int32_t startIndex,
                       int32_t primitives);

// ---- index writing ----
// Appends the quad a, b, c, d as the triangles (a, b, c) and (a, c, d): six indices at *cursor,
// which moves past them (12 bytes).
void IdxPushQuad(uint16_t** cursor, int a, int b, int c, int d);

// Unbinds a buffer about to be released if the device binds it: the device's own reference
// would keep a default-pool buffer alive and block the next reset.
void D3dUnbindBuffer(IDirect3DVertexBuffer8* buffer);
void D3dUnbindBuffer(IDirect3DIndexBuffer8* buffer);
