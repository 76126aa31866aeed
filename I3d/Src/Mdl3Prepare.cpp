// Preparing model nodes: the transform and visibility flags, Ritter bounding spheres, node
// boxes and the root's box over the whole model, and the root's draw distances.
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3Ops.h"
#include "I3d/Mdl3.h"

#include <cmath>
#include <vector>

namespace {

// The vertices of a node's triangles, in index order (shared vertices repeat).
struct TriVerts {
    const MDL3VERTEX* verts;
    const uint16_t* idx;
    int32_t count;
    const VECTOR3& operator[](int32_t i) const { return verts[idx[i]].pos; }
};

// Ritter's sphere: the widest of the three axis-extreme pairs starts it; every point outside
// grows it to (distance + radius) / 2 with the centre moved towards that point.
VECTOR3 RitterCentre(const TriVerts& pts) {
    int32_t lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    auto axis = [](const VECTOR3& p, int a) { return a == 0 ? p.x : a == 1 ? p.y : p.z; };
    for (int32_t i = 1; i < pts.count; ++i) {
        for (int a = 0; a < 3; ++a) {
            if (axis(pts[i], a) < axis(pts[lo[a]], a)) lo[a] = i;
            if (axis(pts[i], a) > axis(pts[hi[a]], a)) hi[a] = i;
        }
    }
    int widest = 0;
    float widestD2 = -1.0f;
    for (int a = 0; a < 3; ++a) {
        VECTOR3 d = v3::Sub(pts[hi[a]], pts[lo[a]]);
        float d2 = v3::Dot(d, d);
        if (d2 > widestD2) widest = a, widestD2 = d2;
    }
    VECTOR3 c = v3::Scale(v3::Add(pts[lo[widest]], pts[hi[widest]]), 0.5f);
    float r = std::sqrt(widestD2) * 0.5f;
    for (int32_t i = 0; i < pts.count; ++i) {
        VECTOR3 to = v3::Sub(pts[i], c);
        float d = v3::Length(to);
        if (d <= r) continue;
        float grown = (d + r) * 0.5f;
        c = v3::Add(c, v3::Scale(to, (grown - r) / d));
        r = grown;
    }
    return c;
}

void AddPoint(VECTOR3* lo, VECTOR3* hi, const VECTOR3& p) {
    lo->x = std::fmin(lo->x, p.x), lo->y = std::fmin(lo->y, p.y), lo->z = std::fmin(lo->z, p.z);
    hi->x = std::fmax(hi->x, p.x), hi->y = std::fmax(hi->y, p.y), hi->z = std::fmax(hi->z, p.z);
}

} // namespace

void Mdl3PrepareNodes(MDL3NODE* nodes, int32_t numNodes, const MDL3VERTEX* verts,
                      const uint16_t* indices) {
    if (!nodes || numNodes < 1) return;
    for (int32_t i = 0; i < numNodes; ++i) {
        MDL3NODE& n = nodes[i];
        if (Mat4IsIdentity(&n.Matrix))
            n.flags &= ~MDL3_NODETRANSFORM;
        else
            n.flags |= MDL3_NODETRANSFORM;
        const TriVerts pts = {verts, indices + n.firstIdx, n.numTris > 0 ? 3 * n.numTris : 0};
        if (pts.count == 0) {
            n.flags &= ~MDL3_VISIBLE;
            n.sphereCentre = n.boundsMin = n.boundsMax = VECTOR3{0, 0, 0};
            n.radius = 0.0f;
            continue;
        }
        n.sphereCentre = RitterCentre(pts);
        n.boundsMin = n.boundsMax = pts[0];
        for (int32_t k = 1; k < pts.count; ++k)
            AddPoint(&n.boundsMin, &n.boundsMax, pts[k]);
        n.radius = std::fmax(v3::Length(n.boundsMin), v3::Length(n.boundsMax));
    }

    // The root's box covers every node's vertices through the Matrices up to and including the
    // root's; a root without triangles starts it at the first vertex met, not at its origin.
    MDL3NODE& root = nodes[0];
    bool any = root.numTris > 0;
    VECTOR3 lo = root.boundsMin, hi = root.boundsMax;
    std::vector<Mat4> chain(static_cast<size_t>(numNodes));
    for (int32_t i = 0; i < numNodes; ++i) {
        const MDL3NODE& n = nodes[i];
        if (n.parent)
            Mat4Mul(&n.Matrix, &chain[size_t(n.parent - nodes)], &chain[size_t(i)]);
        else
            chain[size_t(i)] = n.Matrix;
        for (int32_t k = 0; k < 3 * n.numTris; ++k) {
            VECTOR3 p;
            Mat4XformPoint(&verts[indices[n.firstIdx + k]].pos, &chain[size_t(i)], &p);
            if (!any) lo = hi = p, any = true;
            AddPoint(&lo, &hi, p);
        }
    }
    root.boundsMin = lo;
    root.boundsMax = hi;
}

void Mdl3SetRootDistances(MDL3NODE* root) {
    if (!root) return;
    const float d = v3::Length(v3::Sub(root->boundsMax, root->boundsMin));
    root->maxDist = 20.0f * d;
    root->fadeRange = 2.0f * d;
}
