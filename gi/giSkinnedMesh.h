// One posed, animated instance of a GM model with a skeleton: the per-bone pose its animation
// layers blend, the bone matrices made from it, its place in the world with the meshes attached
// to its bones, its world bounds, and software skinning into caller-given strided arrays.
#pragma once

#include "gi/giAnimLayer.h"
#include "gi/giMath.h"
#include "gi/giPoseMemory.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class giAnimation;
class giGmModel;
class giSkeleton;
class giSkinnedMesh;

// A named box in model space; one named like an animation bounds the mesh while it plays.
struct giBox {
    float min[3] = {};
    float max[3] = {};
    std::string name;
};

// A mesh carried on a bone of another: the child's bone `childBone` sits on the parent's bone
// `parentBone`, moved by `offset`.
class giAttachment {
  public:
    virtual ~giAttachment();

    giSkinnedMesh* child = nullptr; // not owned
    int32_t childBone = -1;
    int32_t parentBone = -1;
    giMat44 offset = giMat44::Identity();
    // Kept for the record's users; nothing here reads them.
    giVec3 extra[2];
    std::string name;
};

class giSkinnedMesh {
  public:
    giSkinnedMesh();
    // Frees the pose, boxes, groups and attachment records; the animations belong to the
    // manager's cache and attached children to the manager. Virtual, as a class with virtual
    // operations must be, so no delete through a base pointer can skip it.
    virtual ~giSkinnedMesh();
    giSkinnedMesh(const giSkinnedMesh&) = delete;
    giSkinnedMesh& operator=(const giSkinnedMesh&) = delete;

    // Changes the playback rate without a jump in any layer's time; 0 and NaN are ignored.
    virtual void SetSpeed(float speed);
    virtual void SetTransform(const giVec3& position, const giQuat& orientation);
    virtual void SetPosition(const giVec3& position);
    virtual void SetOrientation(const giQuat& orientation);
    void SetWorldMatrix(const giMat44& m);

    // Copies the model's bounds. Neither the model nor the skeleton is owned.
    void SetModel(giGmModel* model);
    // Sizes the pose to the skeleton and starts every bone in its bind pose.
    void SetSkeleton(const giSkeleton* skeleton);
    giGmModel* Model() const { return m_model; }
    const giSkeleton* Skeleton() const { return m_skeleton; }

    // ---- animation layers ----
    // Advances every layer on the application clock and blends them into the pose. Does
    // nothing without a skeleton or a group, or, unless forced, while the clock is held.
    void Animate(bool force);
    void AddLayer(const std::string& name, bool looping, float fadeTime, float weight,
                  int32_t group);
    void PlayExclusive(const std::string& name, bool looping, float fadeTime, float weight,
                       int32_t group);
    void FadeOutLayer(const std::string& name, float fadeTime, int32_t group);
    bool IsPlaying(const std::string& name, int32_t group);
    // Adds what the next Animate reads and writes of this mesh's own: the mesh, its groups and
    // layers, its pose and bone matrices (the animations are shared and stay in the cache).
    void NotePoseMemory(giPoseMemory* memory) const;
    // Not owned; null is ignored.
    void AddAnimation(giAnimation* anim);
    // Layers still playing it keep it (the cache owns it).
    void RemoveAnimation(const std::string& name);
    giAnimation* FindAnimation(const std::string& name) const;
    // Made and appended when absent.
    giAnimGroup* GetGroup(int32_t id);
    giAnimGroup* FindGroup(int32_t id) const;

    // ---- pose ----
    // Bone matrices from bonePos and boneRot: rotations are absolute, roots take their position
    // from the pose, every other bone is placed by its offset from its parent.
    void BuildBoneMatrices();
    // Null outside the skeleton.
    const giMat44* BoneMatrix(int i) const;
    // The skinning matrix of bone i: its inverse bind matrix times its bone matrix.
    const giMat44* SkinMatrix(int i) const;
    int BoneCount() const { return (int)m_boneMatrix.size(); }

    // ---- skinning ----
    // Writes the skinned vertices of part `mesh` (strides in bytes). The texture pair goes to
    // `uv` (when given) unless both `tan` and `bin` are given, which take the tangent and
    // binormal instead. Nothing is written without `pos` and `nrm`, a skeleton, a model, or
    // skin records of the part's vertex count.
    void SkinVertices(int mesh, void* pos, int posStride, void* nrm, int nrmStride, void* uv,
                      int uvStride, void* tan, int tanStride, void* bin, int binStride) const;

    // ---- placement, attachments and bounds ----
    // (0, 0, 0) for an unknown bone.
    giVec3 GetBoneWorldPosition(const std::string& name) const;
    // The zero quaternion for an unknown bone.
    giQuat GetBoneWorldRotation(const std::string& name) const;
    // The record of an attached child, or null: a null child, the mesh itself or one of the
    // meshes carrying it, a parent bone this mesh lacks, or a child bone the child lacks.
    giAttachment* Attach(giSkinnedMesh* child, const std::string& childBoneName,
                         const std::string& parentBoneName);
    void Detach(giSkinnedMesh* child);
    giBox* FindBox(const std::string& name) const;
    // Adds a box, copies the model's bounds again and sets both box flags.
    void AddBox(std::unique_ptr<giBox> box);
    // Bounds from the boxes of what is playing, then the world update.
    void UpdateAnimationBoxes();
    // Places the attached meshes, depth first, then recomputes the bounds.
    void UpdateWorld();

    std::vector<giVec3> bonePos;
    std::vector<giQuat> boneRot;
    giVec3 position;
    giQuat orientation{0, 0, 0, 0}; // its matrix is the identity
    giMat44 world = giMat44::Identity();
    std::string descName;
    giVec3 worldMin, worldMax;
    giVec3 sphereCentre;
    float sphereRadius = 0;
    float time = 0; // the last layer time
    giAnimListener* listener = nullptr;
    float speed = 1.0f;
    bool updateOnLayerChange = true;
    bool hasBoxes = false;
    // The descriptor's material flags, or-ed; kept for the material code, read by nothing here.
    bool materialFlag = false;
    float modelBounds[6] = {}; // min x, y, z, max x, y, z
    std::vector<giAnimation*> animations;
    std::vector<std::unique_ptr<giAnimGroup>> groups;
    std::vector<std::unique_ptr<giBox>> boxes;
    std::vector<std::unique_ptr<giAttachment>> attachments;

  private:
    giAnimLayer* FindLayer(const std::string& name, int32_t group) const;
    giAnimLayer* NewLayer(const std::string& name, bool looping, float fadeTime, float weight,
                          giAnimGroup* group, bool firstEver, bool exclusive);
    void Send(int32_t id, giAnimTrigger* trigger);
    // Event 3 for every trigger the layer has not fired yet (marking them), with a listener and
    // unless the animation's triggers are switched off.
    void FlushTriggers(giAnimLayer& layer);
    void Retire(giAnimGroup& group, size_t index);
    void Evaluate(giAnimLayer& layer, float now, bool first);
    void UpdateBounds();
    void RefreshSkinMatrices() const;
    bool Carries(const giSkinnedMesh* mesh) const;

    giGmModel* m_model = nullptr;
    const giSkeleton* m_skeleton = nullptr;
    std::vector<giMat44> m_boneMatrix;
    // Worked out from the bone matrices when first read after a pose (RefreshSkinMatrices).
    mutable std::vector<giMat44> m_skinMatrix;
    mutable bool m_skinStale = false;
    bool m_animating = false;
};
