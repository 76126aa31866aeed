// Generated meshes (see I3d/Meshes.h): each builder fills a new MeshBuf once through the vertex
// writer and its index pointer.
#include "I3d/Meshes.h"

#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3Ops.h"
#include "I3d/Src/MeshFill.h"
#include "engine/DebugLog.h"
#include "engine/MathConst.h"

#include <cmath>
#include <cstring>
#include <new>

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;

// A mesh being filled: its vertices written in order through the writer, the second uv pair
// (which the writer does not write) copied beside it, its triangles appended.
class Fill {
  public:
    // Makes the mesh and locks both buffers; ok() is false when any step failed.
    Fill(MeshBuf* mesh, int format, int vertices, int triangles) : m_mesh(mesh) {
        m_ok = mesh->Create(format, vertices, triangles) && mesh->LockVerts() &&
               (m_index = mesh->LockIndices()) != nullptr;
    }
    bool ok() const { return m_ok; }

    void Vertex(const VECTOR3& p, const VECTOR3& normal, float u, float v) {
        const I3dVertexBuffer* vb = m_mesh->vb;
        if (m_vertex >= vb->lockedCount) return;
        I3dVbPosV(&p);
        I3dVbNormalV(&normal);
        I3dVbColor(kWhite);
        I3dVbUv(u, v);
        if (vb->offUv1 >= 0) {
            const float uv[2] = {u, v};
            std::memcpy(vb->locked + (size_t)m_vertex * vb->stride + vb->offUv1, uv, sizeof uv);
        }
        I3dVbNext();
        ++m_vertex;
    }
    void Triangle(int a, int b, int c) {
        if (m_written + 3 > m_mesh->triangleCount * 3) return;
        m_index[m_written++] = (uint16_t)a;
        m_index[m_written++] = (uint16_t)b;
        m_index[m_written++] = (uint16_t)c;
    }
    // Unlocks; false (the mesh destroyed) when it was never made.
    bool Finish() {
        if (!m_ok) {
            m_mesh->Destroy();
            return false;
        }
        m_mesh->UnlockVerts();
        m_mesh->UnlockIndices();
        return true;
    }

  private:
    MeshBuf* m_mesh;
    uint16_t* m_index = nullptr;
    int m_vertex = 0;
    uint32_t m_written = 0;
    bool m_ok = false;
};

// A new mesh filled by `fill`, or null.
template <class F>
MeshBuf* Make(F fill) {
    auto* mesh = new (std::nothrow) MeshBuf;
    if (!mesh) return nullptr;
    if (!fill(mesh)) {
        delete mesh;
        return nullptr;
    }
    return mesh;
}

// 16-bit indices cannot reach further.
bool VertexCountFits(int64_t vertices, const char* what) {
    if (vertices <= MESHBUF_MAX_VERTICES) return true;
    DbgPrintf(DBG_RENDER, "%s: %lld vertices are more than 16-bit indices reach\n", what,
              (long long)vertices);
    return false;
}

// ---- box ----

struct Face {
    VECTOR3 normal, up;
};
// -z, +x, +z, -x (round the sides), then the top and the bottom, seen with +z up.
constexpr Face kFaces[6] = {{{0, 0, -1}, {0, 1, 0}}, {{1, 0, 0}, {0, 1, 0}},
                            {{0, 0, 1}, {0, 1, 0}},  {{-1, 0, 0}, {0, 1, 0}},
                            {{0, 1, 0}, {0, 0, 1}},  {{0, -1, 0}, {0, 0, 1}}};

// Face k's u runs over [k x width, (k + 1) x width] (width 1 with strip 0).
bool FillBox(MeshBuf* mesh, float columnWidth) {
    Fill f(mesh, 35, 24, 12);
    if (f.ok()) {
        for (int k = 0; k < 6; ++k) {
            const VECTOR3 n = kFaces[k].normal, up = kFaces[k].up;
            // Seen from outside, looking along -n with `up` up, n x up points right.
            const VECTOR3 right = v3::Cross(n, up);
            const VECTOR3 c = v3::Scale(n, 0.5f);
            const float s[4][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};
            const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
            float u0 = columnWidth > 0 ? (float)k * columnWidth : 0.0f;
            float du = columnWidth > 0 ? columnWidth : 1.0f;
            for (int i = 0; i < 4; ++i) {
                VECTOR3 p = v3::Add(
                    c, v3::Add(v3::Scale(right, 0.5f * s[i][0]), v3::Scale(up, 0.5f * s[i][1])));
                f.Vertex(p, n, u0 + uv[i][0] * du, uv[i][1]);
            }
            f.Triangle(4 * k, 4 * k + 1, 4 * k + 2);
            f.Triangle(4 * k, 4 * k + 2, 4 * k + 3);
        }
    }
    return f.Finish();
}

// ---- cylinder ----

bool FillCylinder(MeshBuf* mesh, int n) {
    Fill f(mesh, 71, 5 * n + 2, 6 * n);
    if (f.ok()) {
        auto ring = [n](int j, float y) {
            float t = (float)(j % n) * kTwoPi6 / (float)n;
            return VECTOR3{0.5f * std::cos(t), y, 0.5f * std::sin(t)};
        };
        // Side: rings 0, 1, 2 at y 0.5, 0, -0.5, vertex r x n + j.
        for (int r = 0; r < 3; ++r)
            for (int j = 0; j < n; ++j) {
                VECTOR3 p = ring(j, 0.5f - 0.5f * (float)r);
                f.Vertex(p, VECTOR3{2 * p.x, 0, 2 * p.z}, (float)j / (float)n, 0.5f * (float)r);
            }
        // Caps: the centre, then its ring; the top from 3n, the bottom from 4n + 1.
        for (int cap = 0; cap < 2; ++cap) {
            float y = cap == 0 ? 0.5f : -0.5f, side = cap == 0 ? -1.0f : 1.0f;
            const VECTOR3 normal{0, 2 * y, 0};
            f.Vertex(VECTOR3{0, y, 0}, normal, 0.5f, 0.5f);
            for (int j = 0; j < n; ++j) {
                VECTOR3 p = ring(j, y);
                f.Vertex(p, normal, 0.5f + p.x, 0.5f + side * p.z);
            }
        }
        for (int r = 0; r < 2; ++r)
            for (int j = 0; j < n; ++j) {
                int a = r * n + j, b = r * n + (j + 1) % n;
                f.Triangle(a, b, b + n);
                f.Triangle(a, b + n, a + n);
            }
        const int top = 3 * n, bottom = 4 * n + 1;
        for (int j = 0; j < n; ++j) {
            int k = (j + 1) % n;
            f.Triangle(top, top + 1 + k, top + 1 + j);
            f.Triangle(bottom, bottom + 1 + j, bottom + 1 + k);
        }
    }
    return f.Finish();
}

// ---- ellipsoid ----

bool FillEllipsoid(MeshBuf* mesh, int rings, int segments, float sx, float sy, float sz) {
    const int inner = rings - 1, perRing = segments + 1;
    Fill f(mesh, 39, inner * perRing + 2, (2 * rings - 2) * segments);
    if (f.ok()) {
        const float a = 0.5f * sx, b = 0.5f * sy, c = 0.5f * sz;
        // The gradient of x^2/a^2 + y^2/b^2 + z^2/c^2 times a^2 b^2 c^2: outward for any radii
        // and free of divisions; a flat ellipsoid falls back to the sphere's direction.
        auto put = [&](const VECTOR3& d, float u, float v) {
            VECTOR3 p{a * d.x, b * d.y, c * d.z};
            VECTOR3 n{p.x * b * b * c * c, p.y * a * a * c * c, p.z * a * a * b * b};
            float len = v3::Length(n);
            n = len > 0.0f && std::isfinite(len) ? v3::Scale(n, 1.0f / len) : d;
            f.Vertex(p, n, u, v);
        };
        put(VECTOR3{0, 1, 0}, 0.5f, 0.0f);
        for (int i = 1; i <= inner; ++i) {
            float phi = (float)i * kPi6 / (float)rings;
            for (int j = 0; j <= segments; ++j) {
                // The seam vertex repeats the first position exactly.
                float theta = (float)(j % segments) * kTwoPi6 / (float)segments;
                put(VECTOR3{std::sin(phi) * std::cos(theta), std::cos(phi),
                            std::sin(phi) * std::sin(theta)},
                    (float)j / (float)segments, (float)i / (float)rings);
            }
        }
        put(VECTOR3{0, -1, 0}, 0.5f, 1.0f);

        auto at = [perRing](int ring, int j) { return 1 + (ring - 1) * perRing + j; };
        const int last = 1 + inner * perRing;
        for (int j = 0; j < segments; ++j)
            f.Triangle(0, at(1, j + 1), at(1, j));
        for (int i = 1; i < inner; ++i)
            for (int j = 0; j < segments; ++j) {
                f.Triangle(at(i, j), at(i, j + 1), at(i + 1, j + 1));
                f.Triangle(at(i, j), at(i + 1, j + 1), at(i + 1, j));
            }
        for (int j = 0; j < segments; ++j)
            f.Triangle(last, at(inner, j), at(inner, j + 1));
    }
    return f.Finish();
}

// ---- quad ----

bool FillQuadXZ(MeshBuf* mesh) {
    Fill f(mesh, 71, 4, 2);
    if (f.ok()) {
        const VECTOR3 up{0, 1, 0};
        f.Vertex(VECTOR3{-0.5f, 0, 0.5f}, up, 0, 0);
        f.Vertex(VECTOR3{0.5f, 0, 0.5f}, up, 1, 0);
        f.Vertex(VECTOR3{0.5f, 0, -0.5f}, up, 1, 1);
        f.Vertex(VECTOR3{-0.5f, 0, -0.5f}, up, 0, 1);
        f.Triangle(0, 1, 2);
        f.Triangle(0, 2, 3);
    }
    return f.Finish();
}

} // namespace

bool I3dMeshFillArrow(MeshBuf* mesh) {
    static const VECTOR3 kCorners[7] = {{0, 0, 0.5f},     {0.5f, 0, 0.1f}, {-0.5f, 0, 0.1f},
                                        {-0.3f, 0, 0.1f}, {0.3f, 0, 0.1f}, {0.3f, 0, -0.5f},
                                        {-0.3f, 0, -0.5f}};
    Fill f(mesh, 71, 7, 3);
    if (f.ok()) {
        for (const VECTOR3& p : kCorners)
            f.Vertex(p, VECTOR3{0, 1, 0}, p.x + 0.5f, 0.5f - p.z);
        f.Triangle(0, 1, 2);
        f.Triangle(3, 4, 5);
        f.Triangle(3, 5, 6);
    }
    return f.Finish();
}

// ---- builders ----

MeshBuf* MeshMakeBox() {
    return Make([](MeshBuf* m) { return FillBox(m, 0.0f); });
}

MeshBuf* MeshMakeBoxStrip() {
    return Make([](MeshBuf* m) { return FillBox(m, 1.0f / 8.0f); });
}

MeshBuf* MeshMakeCylinder(int segments) {
    if (segments < 3 || !VertexCountFits(5 * (int64_t)segments + 2, "MeshMakeCylinder"))
        return nullptr;
    return Make([segments](MeshBuf* m) { return FillCylinder(m, segments); });
}

MeshBuf* MeshMakeEllipsoid(int rings, int segments, float x, float y, float z) {
    if (rings < 2 || segments < 3 || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z) ||
        !VertexCountFits((int64_t)(rings - 1) * ((int64_t)segments + 1) + 2, "MeshMakeEllipsoid"))
        return nullptr;
    return Make([=](MeshBuf* m) { return FillEllipsoid(m, rings, segments, x, y, z); });
}

MeshBuf* MeshMakeSphere(int rings, int segments) {
    return MeshMakeEllipsoid(rings, segments, 1.0f, 1.0f, 1.0f);
}

MeshBuf* MeshMakeArrow() {
    return Make(I3dMeshFillArrow);
}

MeshBuf* MeshMakeQuadXZ() {
    return Make(FillQuadXZ);
}

// ---- the segment matrix ----

static VECTOR3 Unit(const VECTOR3& v) {
    float len = v3::Length(v);
    return len > 0.0f && std::isfinite(len) ? v3::Scale(v, 1.0f / len) : VECTOR3{0, 0, 0};
}

Mat4* MatFromSegment(Mat4* out, const VECTOR3* a, const VECTOR3* b, const VECTOR3* up,
                     float width) {
    const VECTOR3 d = v3::Sub(*b, *a);
    const float length = v3::Length(d);
    VECTOR3 z = Unit(d);
    if (v3::Dot(z, z) == 0.0f) z = VECTOR3{0, 0, 1};
    // Right = up x forward in this left-handed frame; an up along Z (or none) gives no right,
    // so world Y, or world Z for a vertical segment, stands in.
    VECTOR3 x = Unit(v3::Cross(*up, z));
    if (v3::Dot(x, x) < 0.5f) x = Unit(v3::Cross(VECTOR3{0, 1, 0}, z));
    if (v3::Dot(x, x) < 0.5f) x = Unit(v3::Cross(VECTOR3{0, 0, 1}, z));
    const VECTOR3 y = v3::Cross(z, x);
    const VECTOR3 sx = v3::Scale(x, width), sz = v3::Scale(z, length);
    Mat4FromAxes(out, &sx, &y, &sz);
    out->m[12] = 0.5f * (a->x + b->x);
    out->m[13] = 0.5f * (a->y + b->y);
    out->m[14] = 0.5f * (a->z + b->z);
    return out;
}
