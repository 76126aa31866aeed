// A batch of flat coloured quads for an entity class's debug shapes (patrons' needs and paths):
// collected during a draw, then drawn in one call with their own vertex colours, lighting off
// and see-through by alpha, under the identity world.
#pragma once

#include "I3d/Math/MathTypes.h"

#include <cstdint>
#include <vector>

struct I3dVertexBuffer;

class GameEntQuadBatch {
  public:
    // Room for `capacity` quads a flush.
    explicit GameEntQuadBatch(int capacity);
    ~GameEntQuadBatch();
    GameEntQuadBatch(const GameEntQuadBatch&) = delete;
    GameEntQuadBatch& operator=(const GameEntQuadBatch&) = delete;

    // The quad a, b, c, d (world points, either winding) in one ARGB colour; false, keeping
    // nothing, once the batch is full.
    bool Add(const VECTOR3& a, const VECTOR3& b, const VECTOR3& c, const VECTOR3& d, uint32_t argb);
    // A flat strip of `width` on the ground plane from `from` to `to` (nothing when they meet).
    bool AddSegment(const VECTOR3& from, const VECTOR3& to, float width, uint32_t argb);
    // Draws what was added and empties the batch. Without a device (or when its buffer cannot
    // be made or locked) the quads are only dropped.
    void Flush();
    // Frees the device buffer; the next flush makes it again.
    void Release();

    int Count() const { return (int)m_quads.size(); }
    int Capacity() const { return m_capacity; }

  private:
    struct Quad {
        VECTOR3 corner[4];
        uint32_t argb;
    };
    std::vector<Quad> m_quads;
    int m_capacity;
    I3dVertexBuffer* m_vb = nullptr;
};
