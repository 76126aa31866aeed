// Picking a placed model: its world box first, then its triangles.
#include "world/ModelPick.h"

#include "I3d/Math/Geometry.h"
#include "I3d/Math/Vec3.h"
#include "I3d/Mdl3Draw.h"

#include <cmath>

namespace {
// A zero scale, or one past float range, leaves no inverse to take the segment into the model.
bool Invertible(const Mat4* m) {
    const float* a = m->m;
    const float det = a[0] * (a[5] * a[10] - a[6] * a[9]) - a[1] * (a[4] * a[10] - a[6] * a[8]) +
                      a[2] * (a[4] * a[9] - a[5] * a[8]);
    return std::isfinite(det) && det != 0.0f;
}
} // namespace

int Mdl3PickSegment(MDL3* model, const VECTOR3* start, const VECTOR3* end, const Mat4* world) {
    if (!model || !model->nodes || model->numNodes < 1 || !world || !Invertible(world)) return 0;
    VECTOR3 hit;
    return Mdl3Pick(model, &model->nodes[0], start, end, &hit, world) > 0 ? 1 : 0;
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
