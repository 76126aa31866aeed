// The meshes the kernel builds once and shares: the debug sphere, and the reference-counted
// procedural sphere and arrow. All are static mesh buffers of format 71, white, their faces
// wound clockwise seen from outside (Direct3D's front faces).
#include "I3d/Math/Vec3Ops.h"
#include "I3d/MeshBuf.h"
#include "I3d/Primitives.h"
#include "I3d/Src/MeshFill.h"
#include "engine/MathConst.h"

static constexpr uint32_t kWhite = 0xFFFFFFFFu;

static MeshBuf s_debugSphere;
static MeshBuf s_primSphere;
static MeshBuf s_primArrow;
static int s_primCount = 0;

static void PutVertex(const VECTOR3& p, const VECTOR3& normal, float u, float v) {
    I3dVbPosV(&p);
    I3dVbNormalV(&normal);
    I3dVbColor(kWhite);
    I3dVbUv(u, v);
    I3dVbNext();
}

// A unit sphere of `bands` latitude bands of `segments`: the top pole, bands - 1 rings from the
// top down, the bottom pole; a fan around each pole and two triangles per segment between
// successive rings. Normals are the positions; u runs around, v from the top.
static bool BuildSphere(MeshBuf* mesh, int bands, int segments) {
    const int rings = bands - 1;
    if (!mesh->Create(71, 2 + rings * segments, 2 * segments + 2 * (rings - 1) * segments))
        return false;
    if (!mesh->LockVerts()) {
        mesh->Destroy();
        return false;
    }
    const VECTOR3 top{0, 1, 0}, bottom{0, -1, 0};
    PutVertex(top, top, 0.5f, 0.0f);
    for (int i = 1; i <= rings; ++i) {
        float phi = (float)i * kPi6 / (float)bands;
        for (int j = 0; j < segments; ++j) {
            float theta = (float)j * kTwoPi6 / (float)segments;
            VECTOR3 p{std::sin(phi) * std::cos(theta), std::cos(phi),
                      std::sin(phi) * std::sin(theta)};
            PutVertex(p, p, (float)j / (float)segments, (float)i / (float)bands);
        }
    }
    PutVertex(bottom, bottom, 0.5f, 1.0f);
    mesh->UnlockVerts();

    uint16_t* idx = mesh->LockIndices();
    if (!idx) {
        mesh->Destroy();
        return false;
    }
    auto at = [segments](int ring, int j) {
        return (uint16_t)(1 + (ring - 1) * segments + j % segments);
    };
    const uint16_t last = (uint16_t)(1 + rings * segments);
    auto tri = [&idx](uint16_t a, uint16_t b, uint16_t c) {
        *idx++ = a;
        *idx++ = b;
        *idx++ = c;
    };
    for (int j = 0; j < segments; ++j)
        tri(0, at(1, j + 1), at(1, j));
    for (int i = 1; i < rings; ++i)
        for (int j = 0; j < segments; ++j) {
            tri(at(i, j), at(i, j + 1), at(i + 1, j + 1));
            tri(at(i, j), at(i + 1, j + 1), at(i + 1, j));
        }
    for (int j = 0; j < segments; ++j)
        tri(last, at(rings, j), at(rings, j + 1));
    mesh->UnlockIndices();
    return true;
}

// ---- the debug sphere ----

int I3dDebugShapesCreate() {
    if (s_debugSphere.vb) return -1;
    return BuildSphere(&s_debugSphere, 12, 24) ? 0 : -1;
}

int I3dDebugShapesFree() {
    if (!s_debugSphere.vb) return -1;
    s_debugSphere.Destroy();
    return 0;
}

int I3dDrawDebugSphere() {
    return s_debugSphere.Draw() ? 0 : -1;
}

// ---- the procedural meshes ----

int I3dPrimMeshesCreate() {
    if (s_primCount > 0) return 0;
    if (!BuildSphere(&s_primSphere, 8, 16) || !I3dMeshFillArrow(&s_primArrow)) {
        s_primSphere.Destroy();
        return -1;
    }
    s_primCount = 1;
    return 0;
}

int I3dPrimMeshesRelease() {
    if (s_primCount == 0) return 0;
    if (--s_primCount == 0) {
        s_primSphere.Destroy();
        s_primArrow.Destroy();
    }
    return s_primCount;
}

int I3dDrawPrimSphere() {
    return s_primSphere.Draw() ? 0 : -1;
}

int I3dDrawPrimArrow() {
    return s_primArrow.Draw() ? 0 : -1;
}
