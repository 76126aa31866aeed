// Software skinning: a part's skin vertices through the bone matrices, straight into the
// caller's strided (usually locked, write-only) vertex memory.
#include "gi/giSkinnedMesh.h"

#include "gi/giGmModel.h"
#include "gi/giSkeleton.h"

#include <algorithm>
#include <cstring>

namespace {

// Affine products: a skinning matrix is the inverse of an affine bind times an affine bone
// matrix, so its last column is (0, 0, 0, 1) and the division of a full transform is by 1.
inline void AddPoint(float out[3], const giVec3& p, const giMat44& m, float w) {
    out[0] += w * (p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0]);
    out[1] += w * (p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1]);
    out[2] += w * (p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]);
}

inline void AddDirection(float out[3], const giVec3& d, const giMat44& m, float w) {
    out[0] += w * (d.x * m.m[0][0] + d.y * m.m[1][0] + d.z * m.m[2][0]);
    out[1] += w * (d.x * m.m[0][1] + d.y * m.m[1][1] + d.z * m.m[2][1]);
    out[2] += w * (d.x * m.m[0][2] + d.y * m.m[1][2] + d.z * m.m[2][2]);
}

// The destination need not be aligned for floats.
inline void Put(uint8_t* at, const float* v, size_t n) {
    std::memcpy(at, v, n * sizeof(float));
}

inline void Put(uint8_t* at, const giVec3& v) {
    const float f[3] = {v.x, v.y, v.z};
    Put(at, f, 3);
}

} // namespace

void giSkinnedMesh::SkinVertices(int mesh, void* pos, int posStride, void* nrm, int nrmStride,
                                 void* uv, int uvStride, void* tan, int tanStride, void* bin,
                                 int binStride) const {
    if (!pos || !nrm || !m_skeleton || !m_model) return;
    const giMeshPart* part = m_model->Part(mesh);
    if (!part || mesh >= m_skeleton->MeshCount()) return;
    const giSkinVertex* skin = m_skeleton->SkinVertices(mesh);
    const int count = m_skeleton->MeshVertexCount(mesh);
    // Records of another vertex count belong to another model.
    if (!skin || count != part->vertexCount) return;

    RefreshSkinMatrices();
    const bool tangents = tan && bin;
    const std::vector<giVec2>* uvs = part->texCoords.empty() ? nullptr : &part->texCoords[0];
    auto* p = static_cast<uint8_t*>(pos);
    auto* n = static_cast<uint8_t*>(nrm);
    auto* u = tangents ? nullptr : static_cast<uint8_t*>(uv);
    auto* t = tangents ? static_cast<uint8_t*>(tan) : nullptr;
    auto* b = tangents ? static_cast<uint8_t*>(bin) : nullptr;
    const int bones = BoneCount();
    for (int v = 0; v < count; ++v) {
        const giSkinVertex& s = skin[v];
        if (s.influenceCount == 0) {
            Put(p, s.position);
            Put(n, s.normal);
            if (tangents) {
                Put(t, s.tangent);
                Put(b, s.binormal);
            }
        } else {
            // Weights are used as stored and normals are not renormalised: the exporter's
            // weights sum to 1 and its bones do not scale.
            float op[3] = {}, on[3] = {}, ot[3] = {}, ob[3] = {};
            const int influences = std::min<int>(s.influenceCount, giSkeleton::kMaxInfluences);
            for (int i = 0; i < influences; ++i) {
                if (s.bones[i] >= bones) continue;
                const giMat44& m = m_skinMatrix[s.bones[i]];
                const float w = s.weights[i];
                AddPoint(op, s.position, m, w);
                AddDirection(on, s.normal, m, w);
                if (tangents) {
                    AddDirection(ot, s.tangent, m, w);
                    AddDirection(ob, s.binormal, m, w);
                }
            }
            Put(p, op, 3);
            Put(n, on, 3);
            if (tangents) {
                Put(t, ot, 3);
                Put(b, ob, 3);
            }
        }
        p += posStride;
        n += nrmStride;
        if (tangents) {
            t += tanStride;
            b += binStride;
        } else if (u) {
            const giVec2 pair = uvs && (size_t)v < uvs->size() ? (*uvs)[(size_t)v] : giVec2();
            const float f[2] = {pair.x, pair.y};
            Put(u, f, 2);
            u += uvStride;
        }
    }
}
