// The run-time skeleton of a skinned character: bones with lower-case names, parents, children,
// bind matrices and their inverses, and per mesh of the character's GM model the skin vertices
// with up to eight bone influences each. Built once and shared read-only by the skinned meshes.
#pragma once

#include "gi/GM_Skeleton.h"
#include "gi/giMath.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class giGmModel;

struct giSkinVertex {
    giVec3 position;
    giVec3 normal;
    // Copied from a mesh's tangent and binormal streams; the GM model's parts carry none, so
    // they stay zero.
    giVec3 tangent;
    giVec3 binormal;
    uint8_t influenceCount = 0;
    float weights[8] = {};
    uint8_t bones[8] = {};
};

// One step of posing: `bone` is placed by its offset from `parent`'s matrix.
struct giBonePlacement {
    int32_t bone;
    int32_t parent;
};

struct giSkeletonBone {
    std::string name;                          // lower case
    std::string parentName;                    // lower case; empty for a root
    giMat44 bind = giMat44::Identity();        // bone -> model, translation in row 3
    giMat44 inverseBind = giMat44::Identity(); // stays identity for a singular bind
    const giSkeletonBone* parent = nullptr;
    int32_t parentIndex = -1;
    std::vector<int32_t> children; // ascending
    // The bone's bind origin in its parent's bind frame, so that posing places it at
    // offset x parent's bone matrix; zero for a root.
    giVec3 offset;
};

class giSkeleton {
  public:
    // Bone indices of skin vertices are bytes.
    static constexpr uint32_t kMaxBones = 256;
    static constexpr int kMaxInfluences = 8;

    giSkeleton() = default;
    virtual ~giSkeleton();
    giSkeleton(const giSkeleton&) = delete;
    giSkeleton& operator=(const giSkeleton&) = delete;

    // Reads the skeleton file and skins every part of the model. False when the file has no
    // skeleton, the skeleton has more than 256 bones, or a part has no vertices; the skeleton
    // keeps what was built so far.
    bool Build(const std::string& fileName, const giGmModel& model);
    // The same from a skeleton record in memory. `tripleLoop` matches each weight against every
    // vertex of a part instead of looking its vertices up by source index (same result).
    bool BuildFrom(const GM_Skeleton& record, const giGmModel& model, bool tripleLoop = false);
    // The first skeleton record of a GMF file's object list, copied; null when there is none or
    // the file cannot be read. Keeps the file name when the file opens.
    std::unique_ptr<GM_Skeleton> GM_ReadModelFile(const char* fileName);

    // By name, compared after lower-casing it; null or -1 when there is none.
    const giSkeletonBone* FindBone(const std::string& name) const;
    int FindBoneIndex(const std::string& name) const;
    // "" outside 0 <= index < bone count.
    std::string GetBoneName(int index) const;

    int BoneCount() const { return (int)m_bones.size(); }
    const giSkeletonBone& Bone(int i) const { return m_bones[(size_t)i]; }
    // Every bone a root reaches through the child lists, each once and after its parent, in the
    // order of a depth-first walk from each root in turn: worked out once here, so that posing
    // a crowd walks no tree per character.
    const std::vector<giBonePlacement>& PlacementOrder() const { return m_placement; }
    // One per skinned part, in the model's part order; none when no bone has weights.
    int MeshCount() const { return (int)m_meshVertexCounts.size(); }
    int32_t MeshVertexCount(int mesh) const { return m_meshVertexCounts[(size_t)mesh]; }
    const giSkinVertex* SkinVertices(int mesh) const { return m_skinVertices[(size_t)mesh].get(); }
    const std::string& ModelName() const { return m_modelName; }
    const std::string& FileName() const { return m_fileName; }

  private:
    void BuildBones(const GM_Skeleton& record);
    void PlanPlacement();

    std::vector<int32_t> m_meshVertexCounts;
    std::vector<std::unique_ptr<giSkinVertex[]>> m_skinVertices;
    std::vector<giSkeletonBone> m_bones;
    std::vector<giBonePlacement> m_placement;
    std::string m_modelName;
    std::string m_fileName;
};

// An axis-aligned box with its corners, centre and radius (half the diagonal). Corners in the
// order (min, min, min), (min, max, min), (max, min, min), (max, max, min), (min, min, max),
// (min, max, max), (max, min, max), (max, max, max), components x, y, z.
struct giBoundingBox {
    float box[6] = {}; // min x, y, z, max x, y, z
    giVec3 corners[8];
    giVec3 centre;
    float radius = 0;

    void Set(const giVec3& min, const giVec3& max);
};
