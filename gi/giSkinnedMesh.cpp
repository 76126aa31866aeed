// The skinned mesh's pose, placement, attachments and bounds.
#include "gi/giSkinnedMesh.h"

#include "gi/giAnimation.h"
#include "gi/giDebug.h"
#include "gi/giGmModel.h"
#include "gi/giSkeleton.h"

#include <algorithm>
#include <cmath>

namespace {

giMat44 Placement(const giVec3& position, const giQuat& orientation) {
    giMat44 m = giMatrixRotationQuaternion(orientation);
    m.m[3][0] = position.x, m.m[3][1] = position.y, m.m[3][2] = position.z;
    return m;
}

void SetTranslation(giMat44& m, const giVec3& at) {
    m.m[3][0] = at.x, m.m[3][1] = at.y, m.m[3][2] = at.z;
}

// The box enclosing the eight corners of `box` carried by the matrix.
void TransformBox(float out[6], const float box[6], const giMat44& m) {
    for (int c = 0; c < 8; ++c) {
        const giVec3 p = giVec3TransformCoord(
            {box[(c & 1) ? 3 : 0], box[(c & 2) ? 4 : 1], box[(c & 4) ? 5 : 2]}, m);
        const float v[3] = {p.x, p.y, p.z};
        for (int a = 0; a < 3; ++a) {
            out[a] = c ? std::min(out[a], v[a]) : v[a];
            out[a + 3] = c ? std::max(out[a + 3], v[a]) : v[a];
        }
    }
}

} // namespace

giAttachment::~giAttachment() = default;

giSkinnedMesh::giSkinnedMesh() = default;

giSkinnedMesh::~giSkinnedMesh() = default;

// ---- model and skeleton ----

void giSkinnedMesh::SetModel(giGmModel* model) {
    m_model = model;
    if (model) {
        const giVec3 &lo = model->BoundsMin(), &hi = model->BoundsMax();
        const float b[6] = {lo.x, lo.y, lo.z, hi.x, hi.y, hi.z};
        std::copy(b, b + 6, modelBounds);
    }
    UpdateBounds();
}

void giSkinnedMesh::SetSkeleton(const giSkeleton* skeleton) {
    m_skeleton = skeleton;
    const size_t n = skeleton ? (size_t)skeleton->BoneCount() : 0;
    // Sized exactly, so that the address checker sees any write past the last bone.
    m_boneMatrix.assign(n, giMat44::Identity());
    m_skinMatrix.assign(n, giMat44());
    bonePos.assign(n, giVec3());
    boneRot.assign(n, giQuat());
    m_boneMatrix.shrink_to_fit();
    m_skinMatrix.shrink_to_fit();
    bonePos.shrink_to_fit();
    boneRot.shrink_to_fit();
    for (size_t i = 0; i < n; ++i) {
        const giSkeletonBone& bone = skeleton->Bone((int)i);
        giMat44& m = m_boneMatrix[i];
        // A singular inverse bind (a bone the file lacks) leaves the bone at the identity.
        giMatrixInverse(&m, bone.inverseBind);
        bonePos[i] = giVec3(m.m[3][0], m.m[3][1], m.m[3][2]);
        boneRot[i] = giQuaternionRotationMatrix(m);
    }
    m_skinStale = true;
}

// ---- pose ----

void giSkinnedMesh::BuildBoneMatrices() {
    if (!m_skeleton) return;
    const int n = BoneCount();
    // The pose arrays are open to callers; they follow the skeleton whatever was done to them.
    bonePos.resize((size_t)n);
    boneRot.resize((size_t)n);
    for (int i = 0; i < n; ++i) {
        giMat44& m = m_boneMatrix[(size_t)i];
        m = giMatrixRotationQuaternion(boneRot[(size_t)i]);
        if (m_skeleton->Bone(i).parentIndex < 0) SetTranslation(m, bonePos[(size_t)i]);
    }
    // Parents before children, in the skeleton's own order. A skeleton is shared and never
    // changes once built, so the bounds only keep a mis-sized pose inside its arrays.
    for (const giBonePlacement& step : m_skeleton->PlacementOrder()) {
        if (step.bone >= n || step.parent >= n) continue;
        bonePos[(size_t)step.bone] = giVec3TransformCoord(m_skeleton->Bone(step.bone).offset,
                                                          m_boneMatrix[(size_t)step.parent]);
        SetTranslation(m_boneMatrix[(size_t)step.bone], bonePos[(size_t)step.bone]);
    }
    // The skinning matrices wait for their first reader: most characters are posed every
    // frame but drawn only when in view.
    m_skinStale = true;
}

void giSkinnedMesh::RefreshSkinMatrices() const {
    if (!m_skinStale || !m_skeleton) return;
    const int n = BoneCount();
    for (int i = 0; i < n; ++i)
        giMatrixMultiply(&m_skinMatrix[(size_t)i], m_skeleton->Bone(i).inverseBind,
                         m_boneMatrix[(size_t)i]);
    m_skinStale = false;
}

const giMat44* giSkinnedMesh::BoneMatrix(int i) const {
    return i >= 0 && i < BoneCount() ? &m_boneMatrix[(size_t)i] : nullptr;
}

const giMat44* giSkinnedMesh::SkinMatrix(int i) const {
    if (i < 0 || i >= BoneCount()) return nullptr;
    RefreshSkinMatrices();
    return &m_skinMatrix[(size_t)i];
}

giVec3 giSkinnedMesh::GetBoneWorldPosition(const std::string& name) const {
    const giMat44* m = BoneMatrix(m_skeleton ? m_skeleton->FindBoneIndex(name) : -1);
    if (!m) return giVec3();
    return giVec3TransformCoord({m->m[3][0], m->m[3][1], m->m[3][2]}, world);
}

giQuat giSkinnedMesh::GetBoneWorldRotation(const std::string& name) const {
    const giMat44* m = BoneMatrix(m_skeleton ? m_skeleton->FindBoneIndex(name) : -1);
    if (!m) return giQuat{0, 0, 0, 0};
    return giQuaternionRotationMatrix(*m * world);
}

// ---- placement ----

void giSkinnedMesh::SetTransform(const giVec3& p, const giQuat& o) {
    position = p;
    orientation = o;
    world = Placement(position, orientation);
    // Always the full update: a mesh without attachments does only its bounds there, and one
    // with them carries its children (and theirs) along.
    UpdateWorld();
}

void giSkinnedMesh::SetPosition(const giVec3& p) {
    SetTransform(p, orientation);
}

void giSkinnedMesh::SetOrientation(const giQuat& o) {
    SetTransform(position, o);
}

void giSkinnedMesh::SetWorldMatrix(const giMat44& m) {
    world = m;
    UpdateWorld();
}

// ---- attachments ----

bool giSkinnedMesh::Carries(const giSkinnedMesh* mesh) const {
    for (const auto& a : attachments)
        if (a->child == mesh || (a->child && a->child->Carries(mesh))) return true;
    return false;
}

giAttachment* giSkinnedMesh::Attach(giSkinnedMesh* child, const std::string& childBoneName,
                                    const std::string& parentBoneName) {
    if (!child) return nullptr;
    for (const auto& a : attachments)
        if (a->child == child) return a.get();
    // Carrying itself or a mesh that carries it, the world update would never end.
    if (child == this || child->Carries(this)) {
        giOutputDebugString("giSkinnedMesh::Attach: a mesh cannot carry itself\n");
        return nullptr;
    }
    const int parentBone = m_skeleton ? m_skeleton->FindBoneIndex(parentBoneName) : -1;
    if (parentBone < 0 || parentBone >= BoneCount()) return nullptr;
    auto rec = std::make_unique<giAttachment>();
    rec->child = child;
    rec->parentBone = parentBone;
    rec->childBone = child->m_skeleton ? child->m_skeleton->FindBoneIndex(childBoneName) : -1;
    if (rec->childBone >= child->BoneCount()) rec->childBone = -1;
    child->hasBoxes = false;
    child->updateOnLayerChange = false;
    giAttachment* kept = nullptr;
    if (rec->childBone >= 0) {
        kept = rec.get();
        attachments.push_back(std::move(rec));
    }
    UpdateWorld();
    return kept;
}

void giSkinnedMesh::Detach(giSkinnedMesh* child) {
    std::erase_if(attachments, [&](const auto& a) { return a->child == child; });
    UpdateBounds();
}

// ---- bounds ----

giBox* giSkinnedMesh::FindBox(const std::string& name) const {
    for (const auto& b : boxes)
        if (b->name == name) return b.get();
    return nullptr;
}

void giSkinnedMesh::AddBox(std::unique_ptr<giBox> box) {
    if (!box) return;
    boxes.push_back(std::move(box));
    SetModel(m_model);
    hasBoxes = true;
    updateOnLayerChange = true;
}

void giSkinnedMesh::UpdateAnimationBoxes() {
    float u[6] = {};
    bool found = false;
    for (const auto& g : groups)
        for (const auto& l : g->layers) {
            const giBox* b = l->anim ? FindBox(l->anim->Name()) : nullptr;
            if (!b) continue;
            for (int a = 0; a < 3; ++a) {
                u[a] = found ? std::min(u[a], b->min[a]) : b->min[a];
                u[a + 3] = found ? std::max(u[a + 3], b->max[a]) : b->max[a];
            }
            found = true;
        }
    if (found) std::copy(u, u + 6, modelBounds);
    world = Placement(position, orientation);
    UpdateWorld();
}

void giSkinnedMesh::UpdateWorld() {
    for (const auto& a : attachments) {
        giSkinnedMesh* child = a->child;
        const giMat44* childBone = child ? child->BoneMatrix(a->childBone) : nullptr;
        const giMat44* parentBone = BoneMatrix(a->parentBone);
        if (!childBone || !parentBone) continue;
        giMat44 inverse = giMat44::Identity();
        giMatrixInverse(&inverse, *childBone);
        // The parent's bone is in the parent's model space: the parent's world carries it on.
        child->world = inverse * a->offset * *parentBone * world;
        child->UpdateWorld();
    }
    UpdateBounds();
}

void giSkinnedMesh::UpdateBounds() {
    float box[6] = {}; // every entry is written by TransformBox; zeroed for the optimiser's sake
    TransformBox(box, modelBounds, world);
    // The children's bounds are already in the world.
    for (const auto& a : attachments) {
        if (!a->child) continue;
        const giVec3 &lo = a->child->worldMin, &hi = a->child->worldMax;
        const float c[6] = {lo.x, lo.y, lo.z, hi.x, hi.y, hi.z};
        for (int i = 0; i < 3; ++i) {
            box[i] = std::min(box[i], c[i]);
            box[i + 3] = std::max(box[i + 3], c[i + 3]);
        }
    }
    worldMin = giVec3(box[0], box[1], box[2]);
    worldMax = giVec3(box[3], box[4], box[5]);
    if (hasBoxes || !attachments.empty()) {
        sphereCentre = (worldMin + worldMax) * 0.5f;
        sphereRadius = (worldMax - worldMin).Length() * 0.5f;
    }
}
