// The animation clips the game plays, made by forward kinematics on the generated rig: each clip
// is a loop of evenly spaced keys whose last pose is its first.
#pragma once

#include "datagen/Characters/CharRig.h"

#include <cstdint>
#include <vector>

struct CharClipDef {
    const char* name;
    bool child;       // on the child rig
    int32_t lengthMs; // the last key's time
    int32_t keyCount; // evenly spaced over the length
    // The pose at a phase 0 <= phase < 1 of the loop; root moves are for the adult and are
    // scaled with the rig.
    void (*pose)(float phase, CharPose& out);
};

// The 15 clips in the order of their files.
const std::vector<CharClipDef>& CharClips();
// Null for a name that is no clip.
const CharClipDef* CharFindClip(const char* name);

// The key's time in milliseconds and its pose; the last key repeats the first.
int32_t CharClipKeyTime(const CharClipDef& clip, int key);
CharWorldPose CharClipKeyPose(const CharRig& rig, const CharClipDef& clip, int key);
