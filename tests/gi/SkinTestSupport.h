// Helpers of the skinned-mesh tests: hand-built skeletons and models, clips written through the
// animation record and read back, a clock the test moves, and a listener that records events.
#pragma once

#include "gi/GM_Animation.h"
#include "gi/GM_List.h"
#include "gi/GM_Skeleton.h"
#include "gi/giAnimLayer.h"
#include "gi/giAnimation.h"
#include "gi/giGmModel.h"
#include "gi/giMath.h"
#include "gi/giSkeleton.h"

#include "engine/Timers.h"
#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

inline giMat44 BindAt(float x, float y, float z, const giMat44& turn = giMat44::Identity()) {
    giMat44 m = turn;
    m.m[3][0] = x, m.m[3][1] = y, m.m[3][2] = z;
    return m;
}

inline GM_SkelBoneData& AddSkelBone(GM_Skeleton& s, const char* name, const char* parent,
                                    const giMat44& bind) {
    GM_SkelBoneData& b = s.bones[(uint32_t)s.bones.size()];
    b.name = name;
    b.parent = parent;
    std::memcpy(b.orient, bind.m, sizeof b.orient);
    s.boneCount = (uint32_t)s.bones.size();
    return b;
}

inline void AddWeight(GM_SkelBoneData& b, uint32_t vertex, float w) {
    b.weights.push_back({vertex, w});
    b.vertexCount = (uint32_t)b.weights.size();
}

// A part of the given positions, every normal +y, texture pair (i, 2i) for vertex i.
inline std::unique_ptr<giMeshPart> PointPart(const std::vector<giVec3>& positions) {
    auto p = std::make_unique<giMeshPart>();
    p->vertexCount = (int32_t)positions.size();
    p->positions = positions;
    p->texCoords.resize(1);
    for (size_t i = 0; i < positions.size(); ++i) {
        p->normals.push_back({0, 1, 0});
        p->texCoords[0].push_back({(float)i, 2.0f * (float)i});
        p->source.push_back((uint32_t)i);
    }
    p->sourceVertexCount = (uint32_t)positions.size();
    return p;
}

struct ClipKey {
    int32_t ms;
    giVec3 pos;
    giQuat rot;
};

// Writes a clip of the given tracks (one key list per bone, same times) named after the file,
// and loads it; null when it does not load.
inline std::unique_ptr<giAnimation> WriteClip(const TempDir& dir, const std::string& name,
                                              const std::vector<std::vector<ClipKey>>& tracks,
                                              int32_t lengthMs) {
    auto* a = new GM_Animation();
    a->SetName(name.c_str());
    a->animName = name;
    a->boneCount = (int32_t)tracks.size();
    a->keyCount = tracks.empty() ? 0 : (int32_t)tracks[0].size();
    a->animLength = lengthMs;
    a->fps = 30;
    for (size_t b = 0; b < tracks.size(); ++b) {
        GM_BoneAnimData& t = a->boneAnims[(uint32_t)b];
        t.name = "Bone" + std::to_string(b);
        for (const ClipKey& k : tracks[b])
            t.keys.push_back(
                {k.ms, {k.pos.x, k.pos.y, k.pos.z}, {k.rot.x, k.rot.y, k.rot.z, k.rot.w}});
    }
    GM_ObjectList list;
    list.Append(a);
    const std::string path = dir / (name + ".gmf");
    if (WriteModel(path, {}, {&list}).empty()) return nullptr;
    auto anim = std::make_unique<giAnimation>();
    if (!anim->Load(path.c_str())) return nullptr;
    return anim;
}

inline giQuat AxisTurn(const giVec3& axis, float angle) {
    const float s = std::sin(angle / 2);
    return {axis.x * s, axis.y * s, axis.z * s, std::cos(angle / 2)};
}

// The engine's clock moved by hand, with the application timer running from 0 and not held.
class SkinClock {
  public:
    SkinClock() {
        AppTimer(APPTIMER_START);
        AppTimer(APPTIMER_RESET);
        AppTimerHold(0);
    }
    ~SkinClock() { AppTimerHold(0); }
    void Advance(double seconds) { m_clock.AdvanceUs((uint64_t)std::llround(seconds * 1e6)); }

  private:
    TestClock m_clock;
};

class EventLog : public giAnimListener {
  public:
    void OnAnimEvent(int32_t& id, giAnimTrigger* trigger) override {
        events.emplace_back(id, trigger ? trigger->name : std::string());
    }
    int Count(int32_t id) const {
        int n = 0;
        for (const auto& e : events)
            n += e.first == id;
        return n;
    }
    std::vector<std::pair<int32_t, std::string>> events;
};

inline bool Near(const giVec3& a, const giVec3& b, float tol) {
    return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol &&
           std::fabs(a.z - b.z) <= tol;
}

// Equal rotations component by component (q and -q are the same turn).
inline bool SameTurn(const giQuat& a, const giQuat& b, float tol) {
    const float d[4] = {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w};
    const float s[4] = {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
    float same = 0, opposite = 0;
    for (int i = 0; i < 4; ++i) {
        same = std::max(same, std::fabs(d[i]));
        opposite = std::max(opposite, std::fabs(s[i]));
    }
    return std::min(same, opposite) <= tol;
}
