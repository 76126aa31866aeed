// The animation record: one clip with its length, rate and key count, and per animated bone
// its name, parent name and keys.
#pragma once

#include "gi/GM_Object.h"

#include <map>
#include <string>
#include <vector>

struct GM_BoneKey {
    int32_t time; // milliseconds
    float pos[3];
    float quat[4]; // x, y, z, w
};

struct GM_BoneAnimData {
    std::string name;   // TABs dropped when read
    std::string parent; // TABs dropped when read
    std::vector<GM_BoneKey> keys;
};

// The clip name a binary write gives an unnamed animation: the file name without its extension
// and folders ("X:\anims\walk.ext" -> "walk", "anims/run.ext" -> "run").
std::string GM_AnimationNameFromFile(const std::string& fileName);

class GM_Animation : public GM_Object {
  public:
    GM_Animation();

    // A binary write of an animation without a name names it after the stream's file first.
    int Write(GM_Stream* s) override;
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    std::string animName; // TABs kept
    std::map<uint32_t, GM_BoneAnimData> boneAnims;
    // Stored and written as given; none is derived from the tracks.
    int32_t boneCount = 0;
    int32_t animLength = 0;
    int32_t fps = 0;
    int32_t keyCount = 0;
};
