// Picking a placed model: its world box first, then its triangles.
#include "world/ModelPick.h"

#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3.h"
#include "I3d/Mdl3Draw.h"

#include <cmath>

namespace {
// The inverse of a world matrix that may scale: the kernel's pick takes each node's rigid
// inverse, which is right only for unscaled matrices, so the segment is brought into the
// model's own frame here and the model picked there. False when the matrix flattens space (a
// zero scale) or is not finite: there is no inverse, only NaN.
bool InverseAffine(const Mat4* m, Mat4* out) {
    const float* a = m->m;
    const float det = a[0] * (a[5] * a[10] - a[6] * a[9]) - a[1] * (a[4] * a[10] - a[6] * a[8]) +
                      a[2] * (a[4] * a[9] - a[5] * a[8]);
    if (!std::isfinite(det) || det == 0.0f) return false;
    const float k = 1.0f / det;
    float* o = out->m;
    o[0] = (a[5] * a[10] - a[6] * a[9]) * k;
    o[1] = (a[2] * a[9] - a[1] * a[10]) * k;
    o[2] = (a[1] * a[6] - a[2] * a[5]) * k;
    o[4] = (a[6] * a[8] - a[4] * a[10]) * k;
    o[5] = (a[0] * a[10] - a[2] * a[8]) * k;
    o[6] = (a[2] * a[4] - a[0] * a[6]) * k;
    o[8] = (a[4] * a[9] - a[5] * a[8]) * k;
    o[9] = (a[1] * a[8] - a[0] * a[9]) * k;
    o[10] = (a[0] * a[5] - a[1] * a[4]) * k;
    o[3] = o[7] = o[11] = 0.0f;
    for (int c = 0; c < 3; ++c)
        o[12 + c] = -(a[12] * o[c] + a[13] * o[4 + c] + a[14] * o[8 + c]);
    o[15] = 1.0f;
    for (float v : out->m)
        if (!std::isfinite(v)) return false;
    return true;
}
} // namespace

int Mdl3PickSegment(MDL3* model, const VECTOR3* start, const VECTOR3* end, const Mat4* world) {
    Mat4 inverse, identity;
    if (!model || !model->nodes || model->numNodes < 1 || !start || !end || !world ||
        !InverseAffine(world, &inverse))
        return 0;
    VECTOR3 a, b, hit;
    Mat4XformPoint(start, &inverse, &a);
    Mat4XformPoint(end, &inverse, &b);
    return Mdl3Pick(model, &model->nodes[0], &a, &b, &hit, Mat4Identity(&identity)) > 0 ? 1 : 0;
}

int Mdl3PickWithBox(const VECTOR3* origin, const VECTOR3* dir, const float box[6], MDL3* model,
                    const Mat4* world) {
    if (!origin || !dir || !box || !model) return 0;
    const Ray ray = {*origin, *dir};
    if (!BoxRayTest(box, &ray, 0.0f, 100000.0f)) return 0;
    if (!model->verts || model->numVerts <= 0) return 1;
    const VECTOR3 end = {origin->x + dir->x * 100000.0f, origin->y + dir->y * 100000.0f,
                         origin->z + dir->z * 100000.0f};
    return Mdl3PickSegment(model, origin, &end, world);
}
