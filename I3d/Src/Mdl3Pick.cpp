// Model picking: a world segment brought into each collision node's frame and tested against
// its front-facing triangles (Moller-Trumbore); the nearest hit wins.
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3Ops.h"
#include "I3d/Mdl3Draw.h"
#include "I3d/Src/Mdl3Internal.h"

#include <cmath>
#include <vector>

namespace {

// Beyond every hit a pick can report.
constexpr float kNoHit = 100000.0f;

// t along dir from a, or a negative value for no hit. det below 1e-5 is no hit: back faces and
// triangles seen edge-on are ignored.
float RayTriangle(const VECTOR3& a, const VECTOR3& dir, const VECTOR3& p0, const VECTOR3& p1,
                  const VECTOR3& p2) {
    const VECTOR3 e1 = v3::Sub(p1, p0), e2 = v3::Sub(p2, p0);
    const VECTOR3 p = v3::Cross(dir, e2);
    const float det = v3::Dot(e1, p);
    if (!(det >= 1e-5f)) return -1.0f;
    const VECTOR3 s = v3::Sub(a, p0);
    const float u = v3::Dot(s, p);
    if (u < 0.0f || u > det) return -1.0f;
    const VECTOR3 q = v3::Cross(s, e1);
    const float v = v3::Dot(dir, q);
    if (v < 0.0f || u + v > det) return -1.0f;
    return v3::Dot(e2, q) / det;
}

struct Pick {
    const MDL3* model;
    VECTOR3 start, end;
    VECTOR3* out;
    float best = kNoHit;
    int hits = 0;

    void Node(const MDL3NODE& n, const Mat4& m) {
        if (n.numTris < 1 || !(n.flags & MDL3_COLLISION)) return;
        Mat4 inverse;
        Mat4InverseRigid(&m, &inverse);
        VECTOR3 a, b;
        Mat4XformPoint(&start, &inverse, &a);
        Mat4XformPoint(&end, &inverse, &b);
        const VECTOR3 ab = v3::Sub(b, a);
        const float len = v3::Length(ab);
        if (!(len > 0.0f) || !std::isfinite(len)) return;
        const VECTOR3 dir = v3::Scale(ab, 1.0f / len);
        const uint16_t* idx = model->indices + n.firstIdx;
        bool nearer = false;
        for (int32_t t = 0; t < n.numTris; ++t, idx += 3) {
            const float hit = RayTriangle(a, dir, model->verts[idx[0]].pos,
                                          model->verts[idx[1]].pos, model->verts[idx[2]].pos);
            if (hit > 0.0f && hit < len && hit < best) best = hit, nearer = true;
        }
        if (!nearer) return;
        ++hits;
        const VECTOR3 local = v3::Add(a, v3::Scale(dir, best));
        Mat4XformPoint(&local, &m, out);
    }
};

std::vector<Mat4> s_parents; // the walk's own stack, as deep as the tree

} // namespace

int Mdl3Pick(MDL3* model, MDL3NODE* node, const VECTOR3* start, const VECTOR3* end, VECTOR3* out,
             const Mat4* world) {
    if (!model || !node || !start || !end || !out || !world) return 0;
    Pick pick{model, *start, *end, out};
    Mdl3Walk(node, *world, 0, s_parents, [&pick](const MDL3NODE& n, const Mat4& m) {
        pick.Node(n, m);
        return true;
    });
    return pick.hits;
}
