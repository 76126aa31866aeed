// The immediate vertex writer: component writes into the vertex it points at inside a locked
// vertex buffer. It keeps the lock's vertex count so that a write past the lock is caught.
#include "I3d/Math/MathTypes.h"
#include "I3d/Src/BufferInternal.h"

#include <cassert>
#include <cstring>

static I3dVertexBuffer* s_vb = nullptr;
static uint8_t* s_base = nullptr;
static int64_t s_index = 0; // the vertex being written
static int64_t s_count = 0; // vertices locked

void I3dVbBegin(I3dVertexBuffer* vb, int i) {
    s_vb = vb && vb->locked ? vb : nullptr;
    s_base = s_vb ? vb->locked : nullptr;
    s_count = s_vb ? vb->lockedCount : 0;
    s_index = i;
}

void I3dWriterForget(const I3dVertexBuffer* vb) {
    if (s_vb != vb) return;
    s_vb = nullptr;
    s_base = nullptr;
    s_count = s_index = 0;
}

void I3dVbNext() {
    ++s_index;
}

// Where a component of `offset` goes in the current vertex; null when the writer is past its
// lock (or has none) or the format lacks the component.
static uint8_t* Component(int32_t offset) {
    bool inside = s_index >= 0 && s_index < s_count;
    assert((inside || !s_vb) && "the vertex writer went past the vertices locked");
    if (!inside || offset < 0) return nullptr;
    return s_base + s_index * s_vb->stride + offset;
}

static void WriteFloats(int32_t offset, const float* v, size_t n) {
    if (uint8_t* p = Component(offset)) std::memcpy(p, v, n * sizeof(float));
}

void I3dVbPos(float x, float y, float z) {
    const float v[3] = {x, y, z};
    WriteFloats(s_vb ? s_vb->offPos : -1, v, 3);
}

void I3dVbPosV(const VECTOR3* p) {
    I3dVbPos(p->x, p->y, p->z);
}

void I3dVbNormal(float x, float y, float z) {
    const float v[3] = {x, y, z};
    WriteFloats(s_vb ? s_vb->offNormal : -1, v, 3);
}

void I3dVbNormalV(const VECTOR3* n) {
    I3dVbNormal(n->x, n->y, n->z);
}

void I3dVbColor(uint32_t argb) {
    if (uint8_t* p = Component(s_vb ? s_vb->offDiffuse : -1)) std::memcpy(p, &argb, 4);
}

void I3dVbUv(float u, float v) {
    const float uv[2] = {u, v};
    WriteFloats(s_vb ? s_vb->offUv0 : -1, uv, 2);
}
