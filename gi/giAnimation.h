// The run-time animation: one track of keys per bone, one table of key times shared by every
// track, the clip's length, and the timed triggers a character descriptor attaches to it.
#pragma once

#include "gi/GM_Animation.h"
#include "gi/giMath.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct giAnimKey {
    float pos[3] = {};
    float quat[4] = {}; // x, y, z, w

    giQuat Rotation() const { return giQuat{quat[0], quat[1], quat[2], quat[3]}; }
};

struct giAnimTrack {
    std::vector<giAnimKey> keys;
    // As many as the keys. arcs[k]: the rotation's slerp from key k - 1 to key k (arcs[0]
    // unused), worked out once when the keys are read.
    std::vector<giSlerpArc> arcs;
    std::string boneName;
    int32_t boneIndex = -1;
};

// A named event at a time of the animation. The three texts identify it, in this order.
struct giAnimTrigger {
    std::string name;
    std::string param1;
    std::string param2;
    float time = 0; // seconds
    bool fired = false;

    bool SameAs(const giAnimTrigger& o) const {
        return time == o.time && name == o.name && param1 == o.param1 && param2 == o.param2;
    }
};

// Reads a GMF animation file: a copy of the first animation record of its object list, named
// after the file's base name; null on any failure.
std::unique_ptr<GM_Animation> GM_ReadAnimFile(const char* fileName);

class giAnimation {
  public:
    giAnimation() = default;
    virtual ~giAnimation();
    giAnimation(const giAnimation&) = delete;
    giAnimation& operator=(const giAnimation&) = delete;

    // Fills the animation from the file, once. False when the file cannot be read, or its record
    // has no bones or no keys, lacks the track of a bone index below its bone count, or has a
    // track with fewer keys than its key count: the animation is then left empty.
    bool Load(const char* fileName);

    // Takes the trigger; false (and the trigger deleted) when an equal one is present.
    bool AddTrigger(std::unique_ptr<giAnimTrigger> trigger);
    // Null outside 0 <= index < count.
    giAnimTrigger* GetTrigger(int index) const;
    int TriggerCount() const { return (int)m_triggers.size(); }
    // Set while the trigger list is being changed: players then neither fire nor re-arm
    // triggers.
    bool TriggersBusy() const { return m_triggersBusy; }
    // Removes the first trigger whose name equals `name` exactly.
    void RemoveTrigger(const std::string& name);
    void ClearTriggers();

    const std::vector<giAnimTrack>& Tracks() const { return m_tracks; }
    // Seconds, one per key; every track shares them.
    const std::vector<float>& KeyTimes() const { return m_keyTimes; }
    int32_t BoneCount() const { return m_boneCount; }
    int32_t KeyCount() const { return m_keyCount; }
    float Length() const { return m_length; }
    int32_t FramesPerSecond() const { return m_fps; }
    const std::string& Name() const { return m_name; }
    const std::string& FileName() const { return m_fileName; }

  private:
    void Reset();

    std::vector<std::unique_ptr<giAnimTrigger>> m_triggers;
    bool m_triggersBusy = false;
    std::vector<giAnimTrack> m_tracks;
    std::vector<float> m_keyTimes;
    int32_t m_boneCount = 0;
    int32_t m_keyCount = 0;
    float m_length = 0;
    int32_t m_fps = 0;
    std::string m_name;
    std::string m_fileName;
};
