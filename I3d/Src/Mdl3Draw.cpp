// Model drawing: the model's distance fade and view test, then the node tree walked with its
// per-node distances, box culling, materials and indexed range draws.
#include "I3d/Mdl3Draw.h"

#include "I3d/Buffers.h"
#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "I3d/Frustum.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Src/Mdl3Internal.h"

#include <algorithm>
#include <cmath>
#include <vector>

static int s_drawing = 1;
static int s_boxCulling = 1;
static float s_lodScale = 1.0f;

void Mdl3SetLodScale(float scale) {
    s_lodScale = scale >= 0.01f ? scale : 0.01f; // NaN fails the test too
}

float Mdl3GetLodScale() {
    return s_lodScale;
}

void Mdl3SetDrawing(int on) {
    s_drawing = on ? 1 : 0;
}

void Mdl3SetNodeBoxCulling(int on) {
    s_boxCulling = on ? 1 : 0;
}

void Mdl3DrawDefaults() {
    s_drawing = 1;
    s_boxCulling = 1;
    s_lodScale = 1.0f;
}

// ---- distance rules ----

// The LOD scale multiplies the distances themselves, at the model level and at every node
// alike: scaling the squared distance at the nodes instead would hide the root at sqrt(LOD) x
// maxDist, before its own fade band ends, and models would pop out rather than fade.
int Mdl3DistanceFade(const MDL3NODE* root, float d2, float* fade) {
    if (!root) return 0;
    const float r = std::min(s_lodScale * root->maxDist, I3dGetFarDistance());
    if (!(r > 0.0f) || d2 > r * r) return 0;
    const float f = s_lodScale * root->fadeRange;
    const float d = std::sqrt(d2);
    float k = 1.0f;
    if (d > r - f) k = (r - d) / f; // f > 0 here: with f <= 0, d > r - f cannot hold
    if (fade) *fade = k;
    return 1;
}

int Mdl3NodeInRange(const MDL3NODE* node, float d2) {
    if (!node) return 0;
    if (node->flags & MDL3_INFINITEVIS) return 1;
    const float far = s_lodScale * node->maxDist, near = s_lodScale * node->minDist;
    if (node->maxDist > 0.0f && d2 > far * far) return 0;
    // As maxDist, a minDist of 0 or less is no limit: a negative "hidden nearer than" squared
    // would hide the node near the eye by the size of a mistake.
    if (node->minDist > 0.0f && d2 < near * near) return 0;
    return 1;
}

void Mdl3NodeMatrix(const MDL3NODE* node, const Mat4* parent, int useTransformFlag, Mat4* out) {
    if ((node->flags & MDL3_OVERRIDE) && node->override) {
        Mat4 local;
        Mat4Mul(node->override, &node->Matrix, &local);
        Mat4Mul(&local, parent, out);
    } else if (!useTransformFlag || (node->flags & MDL3_NODETRANSFORM)) {
        Mat4Mul(&node->Matrix, parent, out);
    } else {
        *out = *parent;
    }
}

// ---- drawing ----

namespace {

float DistanceSquared(const Mat4& m, const VECTOR3& eye) {
    const float dx = m.m[12] - eye.x, dy = m.m[13] - eye.y, dz = m.m[14] - eye.z;
    return dx * dx + dy * dy + dz * dz;
}

std::vector<Mat4> s_parents; // the walk's stack, kept between draws

void DrawNode(const MDL3NODE& n, const Mat4& m) {
    if (!(n.flags & MDL3_VISIBLE) || n.numTris < 1) return;
    I3dSetWorld(&m);
    if (s_boxCulling && !I3dBoxOutcodeTest(&n.boundsMin, &n.boundsMax, nullptr)) return;
    I3dSetMaterial(n.material);
    I3dVbDrawIndexedRange(D3DPT_TRIANGLELIST, n.numTris, n.minVertIdx, n.maxVertIdx, n.firstIdx);
}

} // namespace

void Mdl3Draw(MDL3* model, const Mat4* world) {
    if (!s_drawing || !model || !world || model->numNodes < 1) return;
    I3dSetWorld(world);
    VECTOR3 eye;
    I3dGetEyePos(&eye);
    MDL3NODE* root = &model->nodes[0];
    float fade = 1.0f;
    if (!Mdl3DistanceFade(root, DistanceSquared(*world, eye), &fade)) return;
    I3dSetMaterialFade(fade);
    if (!I3dBoxOutcodeTest(&root->boundsMin, &root->boundsMax, nullptr)) return;
    if (!model->vb || !model->ib) return; // read with no device: nothing to draw
    I3dForgetMaterial();
    I3dVbSelect(model->vb);
    I3dIbSelect(model->ib);
    Mdl3Walk(root, *world, 1, s_parents, [&eye](const MDL3NODE& n, const Mat4& m) {
        if (!Mdl3NodeInRange(&n, DistanceSquared(m, eye))) return false; // and its subtree
        DrawNode(n, m);
        return true;
    });
}
