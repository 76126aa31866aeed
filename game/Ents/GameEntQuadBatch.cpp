// The debug quad batch: quads kept on the processor, written into one managed buffer (which a
// device reset keeps) and drawn as a triangle list.
#include "game/Ents/GameEntQuadBatch.h"

#include "I3d/Buffers.h"
#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"

#include <algorithm>
#include <cmath>

namespace {
// Position, normal, colour, uv: the colour is the vertex's own.
constexpr int kFormat = 39;
constexpr int kStaticBuffer = 1;

void States() {
    D3dSetFogEnable(0);
    D3dSetLighting(0);
    D3dSetAlphaBlend(1);
    D3dSetAlphaBlendDefaults();
    D3dSetZEnable(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetZWrite(0); // see-through shapes must not hide each other
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dClearTexture(0);
    D3dSetTextureDiffuseStages();
}
} // namespace

GameEntQuadBatch::GameEntQuadBatch(int capacity) : m_capacity(std::max(capacity, 1)) {
    m_quads.reserve((size_t)m_capacity);
}

GameEntQuadBatch::~GameEntQuadBatch() {
    Release();
}

bool GameEntQuadBatch::Add(const VECTOR3& a, const VECTOR3& b, const VECTOR3& c, const VECTOR3& d,
                           uint32_t argb) {
    if ((int)m_quads.size() >= m_capacity) return false;
    m_quads.push_back(Quad{{a, b, c, d}, argb});
    return true;
}

bool GameEntQuadBatch::AddSegment(const VECTOR3& from, const VECTOR3& to, float width,
                                  uint32_t argb) {
    const float dx = to.x - from.x, dz = to.z - from.z;
    const float len = std::sqrt(dx * dx + dz * dz);
    if (!(len > 1e-4f)) return false;
    // Half the width across the segment, on the ground.
    const float sx = -dz / len * width * 0.5f, sz = dx / len * width * 0.5f;
    return Add(VECTOR3{from.x + sx, from.y, from.z + sz}, VECTOR3{to.x + sx, to.y, to.z + sz},
               VECTOR3{to.x - sx, to.y, to.z - sz}, VECTOR3{from.x - sx, from.y, from.z - sz},
               argb);
}

void GameEntQuadBatch::Flush() {
    const int n = (int)m_quads.size();
    if (n == 0) return;
    if (D3dDevice()) {
        if (!m_vb) m_vb = I3dVbCreate(kStaticBuffer, kFormat, m_capacity * 6);
        if (m_vb && I3dVbLock(m_vb, n * 6) == 0) {
            static const int kCorners[6] = {0, 1, 2, 0, 2, 3};
            for (const Quad& q : m_quads)
                for (int k : kCorners) {
                    I3dVbPosV(&q.corner[k]);
                    I3dVbNormal(0.0f, 1.0f, 0.0f);
                    I3dVbColor(q.argb);
                    I3dVbUv(0.0f, 0.0f);
                    I3dVbNext();
                }
            I3dVbUnlock(m_vb);
            Mat4 identity;
            I3dSetWorld(Mat4Identity(&identity));
            States();
            if (I3dVbSelect(m_vb) == 0) I3dVbDraw(D3DPT_TRIANGLELIST, n * 2);
        }
    }
    m_quads.clear();
}

void GameEntQuadBatch::Release() {
    if (m_vb) I3dVbFree(m_vb);
    m_vb = nullptr;
}
