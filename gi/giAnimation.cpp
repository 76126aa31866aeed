// Reading GMF animation files into run-time animations, and their trigger lists.
#include "gi/giAnimation.h"

#include "gi/GM_ObjectFile.h"
#include "gi/giDebug.h"
#include "gi/giPath.h"
#include "gi/giString.h"

#include <algorithm>

// Milliseconds are taken as unsigned, as the files have always been read.
static float Seconds(int32_t ms) {
    return (float)((double)(uint32_t)ms * 0.001);
}

std::unique_ptr<GM_Animation> GM_ReadAnimFile(const char* fileName) {
    GM_ObjectFileRead read =
        GM_ReadObjectFile(fileName, "\n*********ERRONEOUS DATA IN ANIM FILE********\n", true);
    if (!read.objects) return nullptr;
    auto* found = dynamic_cast<GM_Animation*>(GM_FindObject(*read.objects, GMID_ANIMATION));
    if (!found) return nullptr;
    auto copy = std::make_unique<GM_Animation>(*found);
    copy->animName = giPath(fileName).BaseName();
    return copy;
}

giAnimation::~giAnimation() {
    ClearTriggers();
}

void giAnimation::Reset() {
    m_tracks.clear();
    m_keyTimes.clear();
    m_boneCount = m_keyCount = m_fps = 0;
    m_length = 0;
    m_name.clear();
    m_fileName.clear();
}

bool giAnimation::Load(const char* fileName) {
    std::unique_ptr<GM_Animation> rec = GM_ReadAnimFile(fileName);
    if (!rec) return false;
    // Every track is read at every key index below the counts, so a record whose tracks do not
    // cover them would be read outside its data: it is refused whole.
    const char* why = nullptr;
    if (rec->boneCount < 1 || rec->keyCount < 1) why = "it has no bones or no keys";
    for (int32_t b = 0; !why && b < rec->boneCount; ++b) {
        auto it = rec->boneAnims.find((uint32_t)b);
        if (it == rec->boneAnims.end())
            why = "a bone track is missing";
        else if (it->second.keys.size() < (size_t)rec->keyCount)
            why = "a bone track has fewer keys than the key count";
    }
    if (why) {
        giOutputDebugString(
            giStrFormat("giAnimation::Load: %s is refused: %s\n", fileName, why).c_str());
        return false;
    }

    Reset();
    m_name = rec->animName;
    m_fileName = fileName;
    m_boneCount = rec->boneCount;
    m_keyCount = rec->keyCount;
    m_length = Seconds(rec->animLength);
    m_fps = rec->fps;
    m_tracks.resize((size_t)m_boneCount);
    m_keyTimes.assign((size_t)m_keyCount, 0.0f);
    bool timesDiffer = false;
    for (int32_t b = 0; b < m_boneCount; ++b) {
        const GM_BoneAnimData& data = rec->boneAnims.at((uint32_t)b);
        giAnimTrack& track = m_tracks[(size_t)b];
        track.boneIndex = b;
        track.boneName = data.name;
        track.keys.resize((size_t)m_keyCount);
        for (int32_t k = 0; k < m_keyCount; ++k) {
            const GM_BoneKey& src = data.keys[(size_t)k];
            // One table for all tracks: the last track's times remain.
            float t = Seconds(src.time);
            if (b > 0 && m_keyTimes[(size_t)k] != t) timesDiffer = true;
            m_keyTimes[(size_t)k] = t;
            giAnimKey& key = track.keys[(size_t)k];
            std::copy(src.pos, src.pos + 3, key.pos);
            std::copy(src.quat, src.quat + 4, key.quat);
        }
        track.arcs.assign((size_t)m_keyCount, giSlerpArc());
        for (size_t k = 1; k < track.keys.size(); ++k)
            track.arcs[k] =
                giQuaternionSlerpArc(track.keys[k - 1].Rotation(), track.keys[k].Rotation());
    }
    if (timesDiffer)
        giOutputDebugString(giStrFormat("giAnimation::Load: the tracks of %s have different key "
                                        "times; the last track's are used\n",
                                        fileName)
                                .c_str());
    return true;
}

bool giAnimation::AddTrigger(std::unique_ptr<giAnimTrigger> trigger) {
    if (!trigger) return false;
    for (const auto& t : m_triggers)
        if (t->SameAs(*trigger)) return false;
    m_triggersBusy = true;
    m_triggers.push_back(std::move(trigger));
    m_triggersBusy = false;
    return true;
}

giAnimTrigger* giAnimation::GetTrigger(int index) const {
    if (index < 0 || index >= (int)m_triggers.size()) return nullptr;
    return m_triggers[(size_t)index].get();
}

void giAnimation::RemoveTrigger(const std::string& name) {
    auto it = std::find_if(m_triggers.begin(), m_triggers.end(),
                           [&](const auto& t) { return t->name == name; });
    if (it == m_triggers.end()) return;
    m_triggersBusy = true;
    m_triggers.erase(it);
    m_triggersBusy = false;
}

void giAnimation::ClearTriggers() {
    m_triggersBusy = true;
    m_triggers.clear();
    m_triggersBusy = false;
}
