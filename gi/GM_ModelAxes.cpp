// Conversion of a model from the file's axes (Z up) to the engine's (Y up).
#include "gi/GM_AttachmentPt.h"
#include "gi/GM_Camera.h"
#include "gi/GM_Collision.h"
#include "gi/GM_Light.h"
#include "gi/GM_ModelFile.h"

#include <algorithm>
#include <utility>

namespace {

void Swap(giVec3& v) {
    std::swap(v.y, v.z);
}

// The translation trades Y and Z; the rotation is taken apart into angles and rebuilt with the
// Y and Z turns trading places.
void ConvertNode(GM_NodeTM& node) {
    std::swap(node.tm[3][1], node.tm[3][2]);
    giMat44 r = giMat44::Identity();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = std::clamp(node.tm[i][j], -1.0f, 1.0f);
    float x = 0, y = 0, z = 0;
    giMatrixToAngles(r, &x, &y, &z);
    giMat44 m =
        giMat44::Identity() * giMatrixRotationX(x) * giMatrixRotationZ(-y) * giMatrixRotationY(z);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            node.tm[i][j] = m.m[i][j];
}

} // namespace

int GM_ModelFile::ConvertAxes() {
    if (m_converted) return 1;
    for (GM_GeoObject* g : m_geo) {
        for (giVec3& v : g->mesh.vertices)
            Swap(v);
        ConvertNode(g->node);
        for (GM_FaceNormal& n : g->mesh.normals) {
            Swap(n.face);
            for (giVec3& c : n.corner)
                Swap(c);
        }
    }
    for (GM_CollisionObject* c : m_collisions) {
        ConvertNode(c->node);
        if (auto* mesh = dynamic_cast<GM_CollisionMesh*>(c))
            for (giVec3& v : mesh->mesh.vertices)
                Swap(v);
    }
    for (GM_AttachmentPt* p : m_attach)
        ConvertNode(p->node);
    for (GM_Light* l : m_lights) {
        ConvertNode(l->node);
        ConvertNode(l->target);
    }
    for (GM_Camera* c : m_cameras) {
        ConvertNode(c->node);
        ConvertNode(c->target);
    }
    m_converted = true;
    return 1;
}
