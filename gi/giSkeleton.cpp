// Building run-time skeletons from GMF skeleton files and the GM models they skin.
#include "gi/giSkeleton.h"

#include "gi/GM_ObjectFile.h"
#include "gi/giDebug.h"
#include "gi/giGmModel.h"
#include "gi/giString.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// ASCII only, so that the process locale never changes a bone's name.
std::string Lower(const std::string& s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return out;
}

// An influence past the eighth takes the place of the weakest one, and only when it is
// stronger: a weak late weight must not push out a strong one.
void AddInfluence(giSkinVertex& v, uint32_t bone, float weight) {
    if (v.influenceCount < giSkeleton::kMaxInfluences) {
        v.bones[v.influenceCount] = (uint8_t)bone;
        v.weights[v.influenceCount] = weight;
        ++v.influenceCount;
        return;
    }
    int weakest = 0;
    float bound = 10.0f;
    for (int i = 0; i < giSkeleton::kMaxInfluences; ++i) {
        if (v.weights[i] < bound) {
            bound = v.weights[i];
            weakest = i;
        }
    }
    if (weight > v.weights[weakest]) {
        v.bones[weakest] = (uint8_t)bone;
        v.weights[weakest] = weight;
    }
}

} // namespace

giSkeleton::~giSkeleton() = default;

std::unique_ptr<GM_Skeleton> giSkeleton::GM_ReadModelFile(const char* fileName) {
    GM_ObjectFileRead read =
        GM_ReadObjectFile(fileName, "\n*********ERRONEOUS DATA IN MODEL FILE********\n", false);
    if (read.opened) m_fileName = fileName;
    if (!read.objects) return nullptr;
    auto* found = dynamic_cast<GM_Skeleton*>(GM_FindObject(*read.objects, GMID_SKELETON));
    return found ? std::make_unique<GM_Skeleton>(*found) : nullptr;
}

bool giSkeleton::Build(const std::string& fileName, const giGmModel& model) {
    std::unique_ptr<GM_Skeleton> record = GM_ReadModelFile(fileName.c_str());
    return record && BuildFrom(*record, model);
}

void giSkeleton::BuildBones(const GM_Skeleton& record) {
    // The stored bone count rules, not the number of records: a missing index gives a root
    // named "bonename" with an all-zero bind matrix.
    m_bones.assign(record.boneCount, giSkeletonBone());
    for (uint32_t i = 0; i < record.boneCount; ++i) {
        giSkeletonBone& bone = m_bones[i];
        auto it = record.bones.find(i);
        if (it == record.bones.end()) {
            bone.name = "bonename";
            bone.bind = giMat44();
        } else {
            bone.name = Lower(it->second.name);
            bone.parentName = Lower(it->second.parent);
            std::memcpy(bone.bind.m, it->second.orient, sizeof bone.bind.m);
        }
    }
    for (giSkeletonBone& bone : m_bones)
        giMatrixInverse(&bone.inverseBind, bone.bind);
    for (giSkeletonBone& bone : m_bones) {
        int p = FindBoneIndex(bone.parentName);
        if (p < 0 || bone.parentName.empty()) continue;
        const giSkeletonBone& parent = m_bones[(size_t)p];
        // A bone that would be its own ancestor stays a root: posing walks parents to children
        // and would never end.
        const giSkeletonBone* up = &parent;
        while (up && up != &bone)
            up = up->parent;
        if (up == &bone) {
            giOutputDebugString(giStrFormat("giSkeleton::Build: bone %s is its own ancestor; it "
                                            "stays a root\n",
                                            bone.name.c_str())
                                    .c_str());
            continue;
        }
        bone.parent = &parent;
        bone.parentIndex = p;
        // Posing puts a child at offset x the parent's matrix, which is the parent's bind at
        // rest: the offset is the child's origin seen from the parent's bind frame.
        const giVec3 origin(bone.bind.m[3][0], bone.bind.m[3][1], bone.bind.m[3][2]);
        bone.offset = giVec3TransformCoord(origin, parent.inverseBind);
    }
    for (size_t b = 0; b < m_bones.size(); ++b)
        for (size_t c = 0; c < m_bones.size(); ++c)
            if (m_bones[c].parentIndex == (int32_t)b) m_bones[b].children.push_back((int32_t)c);
    PlanPlacement();
}

void giSkeleton::PlanPlacement() {
    // Parents before children, from every root; a bone is placed once whatever the child lists
    // say, so a list that loops cannot keep the walk going.
    const int n = BoneCount();
    m_placement.clear();
    std::vector<int32_t> stack;
    std::vector<uint8_t> placed((size_t)n, 0);
    for (int r = 0; r < n; ++r) {
        if (m_bones[(size_t)r].parentIndex >= 0) continue;
        stack.push_back(r);
        placed[(size_t)r] = 1;
        while (!stack.empty()) {
            const int b = stack.back();
            stack.pop_back();
            for (int32_t c : m_bones[(size_t)b].children) {
                if (c < 0 || c >= n || placed[(size_t)c]) continue;
                placed[(size_t)c] = 1;
                m_placement.push_back({c, b});
                stack.push_back(c);
            }
        }
    }
}

bool giSkeleton::BuildFrom(const GM_Skeleton& record, const giGmModel& model, bool tripleLoop) {
    m_meshVertexCounts.clear();
    m_skinVertices.clear();
    m_bones.clear();
    m_placement.clear();
    if (record.boneCount > kMaxBones) {
        giOutputDebugString(giStrFormat("giSkeleton::Build: %s has %u bones; skin vertices hold "
                                        "bone indices below %u\n",
                                        m_fileName.c_str(), record.boneCount, kMaxBones)
                                .c_str());
        return false;
    }
    BuildBones(record);
    m_modelName = model.Name();

    bool skinning = false;
    for (const auto& [index, data] : record.bones)
        if (index < record.boneCount && data.vertexCount > 0) skinning = true;

    int64_t offset = 0;
    for (int m = 0; m < model.PartCount(); ++m) {
        const giMeshPart& part = *model.Part(m);
        const int32_t count = part.vertexCount;
        if (count <= 0) {
            giOutputDebugString(
                giStrFormat("giSkeleton::Build: mesh %s has no vertices\n", part.name.c_str())
                    .c_str());
            return false;
        }
        if (skinning) {
            auto skin = std::make_unique<giSkinVertex[]>((size_t)count);
            for (int32_t v = 0; v < count; ++v) {
                if ((size_t)v < part.positions.size()) skin[v].position = part.positions[v];
                if ((size_t)v < part.normals.size()) skin[v].normal = part.normals[v];
            }
            // The vertices of the part sorted by source index (ascending within one): a weight
            // finds its vertices by a search instead of testing every vertex, and influences
            // are added in the same order either way.
            const size_t sources = std::min<size_t>(part.source.size(), (size_t)count);
            std::vector<std::pair<uint32_t, uint32_t>> bySource;
            if (!tripleLoop) {
                bySource.reserve(sources);
                for (size_t v = 0; v < sources; ++v)
                    bySource.emplace_back(part.source[v], (uint32_t)v);
                std::sort(bySource.begin(), bySource.end());
            }
            for (const auto& [b, data] : record.bones) {
                if (b >= record.boneCount) continue;
                const size_t weights = std::min<size_t>(data.vertexCount, data.weights.size());
                for (size_t k = 0; k < weights; ++k) {
                    const GM_BoneWeight& w = data.weights[k];
                    const int64_t wanted = (int64_t)w.vertex - offset;
                    if (wanted < 0 || wanted > (int64_t)UINT32_MAX) continue;
                    if (tripleLoop) {
                        for (size_t v = 0; v < sources; ++v)
                            if (part.source[v] == (uint32_t)wanted)
                                AddInfluence(skin[v], b, w.weight);
                        continue;
                    }
                    auto it = std::lower_bound(bySource.begin(), bySource.end(),
                                               std::make_pair((uint32_t)wanted, 0u));
                    for (; it != bySource.end() && it->first == (uint32_t)wanted; ++it)
                        AddInfluence(skin[it->second], b, w.weight);
                }
            }
            m_meshVertexCounts.push_back(count);
            m_skinVertices.push_back(std::move(skin));
        }
        offset += part.sourceVertexCount;
    }
    return true;
}

const giSkeletonBone* giSkeleton::FindBone(const std::string& name) const {
    int i = FindBoneIndex(name);
    return i < 0 ? nullptr : &m_bones[(size_t)i];
}

int giSkeleton::FindBoneIndex(const std::string& name) const {
    const std::string lower = Lower(name);
    for (size_t i = 0; i < m_bones.size(); ++i)
        if (m_bones[i].name == lower) return (int)i;
    return -1;
}

std::string giSkeleton::GetBoneName(int index) const {
    return index >= 0 && index < BoneCount() ? m_bones[(size_t)index].name : std::string();
}

// ---- bounding box ----

void giBoundingBox::Set(const giVec3& min, const giVec3& max) {
    const float b[6] = {min.x, min.y, min.z, max.x, max.y, max.z};
    std::copy(b, b + 6, box);
    for (int i = 0; i < 8; ++i)
        corners[i] = {(i & 2) ? max.x : min.x, (i & 1) ? max.y : min.y, (i & 4) ? max.z : min.z};
    centre = (min + max) * 0.5f;
    radius = (max - min).Length() * 0.5f;
}
