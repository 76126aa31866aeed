// The clip table and the poses of every clip.
#include "datagen/Characters/CharClips.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr float kDeg = std::numbers::pi_v<float> / 180.0f;

// Turns in the parent's axes (row vectors). A hanging limb swings forward (towards +z) by a
// positive angle; a negative angle bends a calf back at the knee. An upright bone (spine, head)
// leans forward by a positive angle.
giMat44 Swing(float deg) {
    return giMatrixRotationX(-deg * kDeg);
}
giMat44 Lean(float deg) {
    return giMatrixRotationX(deg * kDeg);
}
giMat44 Twist(float deg) {
    return giMatrixRotationY(deg * kDeg);
}
// An arm raised sideways, away from the body.
giMat44 Spread(float deg, bool left) {
    return giMatrixRotationZ((left ? -deg : deg) * kDeg);
}

float Wave(float phase) {
    return std::sin(2.0f * std::numbers::pi_v<float> * phase);
}
float WaveCos(float phase) {
    return std::cos(2.0f * std::numbers::pi_v<float> * phase);
}
// 0 at the loop's start and end, 1 half-way.
float Reach(float phase) {
    return 0.5f * (1.0f - WaveCos(phase));
}

void Stride(float phase, float amp, CharPose& p) {
    const float s = Wave(phase), c = WaveCos(phase);
    p.local[kThighL] = Swing(30 * amp * s);
    p.local[kThighR] = Swing(-30 * amp * s);
    // A knee bends most while its leg swings through.
    p.local[kCalfL] = Swing(-20 * amp * (1 + c));
    p.local[kCalfR] = Swing(-20 * amp * (1 - c));
    p.local[kUpperArmL] = Swing(-20 * amp * s);
    p.local[kUpperArmR] = Swing(20 * amp * s);
    p.local[kForeArmL] = p.local[kForeArmR] = Swing(10 * amp);
    p.local[kPelvis] = Twist(4 * amp * s);
    p.local[kSpine] = Twist(-6 * amp * s);
    // The body is lowest as the feet pass each other.
    p.rootMove = {0, 0.012f * amp * (WaveCos(2 * phase) - 1), 0};
}

void Walk(float phase, CharPose& p) {
    Stride(phase, 1, p);
}
void Run(float phase, CharPose& p) {
    Stride(phase, 2, p);
}

void Idle(float phase, CharPose& p) {
    p.local[kSpine] = Lean(2 * Wave(phase));
    p.local[kHead] = Lean(-1.5f * Wave(phase));
    p.local[kUpperArmL] = Spread(4, true);
    p.local[kUpperArmR] = Spread(4, false);
}

void Sweeping(float phase, CharPose& p) {
    const float s = Wave(phase);
    p.local[kSpine] = Twist(12 * s) * Lean(15);
    p.local[kUpperArmL] = Swing(35 + 15 * s);
    p.local[kUpperArmR] = Swing(25 + 15 * s) * Spread(10, false);
    p.local[kForeArmL] = Swing(40);
    p.local[kForeArmR] = Swing(30);
    p.local[kThighL] = p.local[kThighR] = Swing(10);
    p.local[kCalfL] = p.local[kCalfR] = Swing(-18);
    p.rootMove = {0, -0.02f, 0};
}

// The right arm raised high at the start and end, striking down half-way.
void Pound(float phase, CharPose& p) {
    const float c = WaveCos(phase);
    p.local[kSpine] = Lean(10 + 5 * Reach(phase));
    p.local[kUpperArmR] = Swing(100 + 50 * c);
    p.local[kForeArmR] = Swing(30 + 30 * c);
    p.local[kUpperArmL] = Swing(45);
    p.local[kForeArmL] = Swing(30);
}

void Wrench(float phase, CharPose& p) {
    const float s = Wave(phase);
    p.local[kSpine] = Lean(20);
    p.local[kHead] = Lean(10);
    p.local[kUpperArmL] = Swing(55);
    p.local[kForeArmL] = Swing(35);
    p.local[kUpperArmR] = Swing(60) * Spread(10 * s, false);
    p.local[kForeArmR] = Twist(40 * s) * Swing(30);
}

// The right arm reaches forward with the money and comes back.
void PayMoney(float phase, CharPose& p) {
    const float e = Reach(phase);
    p.local[kUpperArmR] = Swing(70 * e);
    p.local[kForeArmR] = Swing(20 + 40 * e);
    p.local[kUpperArmL] = Swing(10);
    p.local[kHead] = Lean(12 * e);
}

// Seated: thighs level, shins upright, the pelvis down at knee height.
void Seat(float thighDeg, CharPose& p) {
    const float thigh = 0.41f; // hip to knee at scale 1
    const float lift = std::sin(thighDeg * kDeg) * thigh;
    p.local[kThighL] = p.local[kThighR] = Swing(thighDeg);
    p.local[kCalfL] = p.local[kCalfR] = Swing(-thighDeg);
    p.rootMove = {0, -lift, -lift};
}

void Sitting(float phase, CharPose& p) {
    Seat(90, p);
    p.local[kSpine] = Lean(1.5f * Wave(phase));
    p.local[kUpperArmL] = p.local[kUpperArmR] = Swing(25);
    p.local[kForeArmL] = p.local[kForeArmR] = Swing(45);
}

// Asleep on a seat: slumped forward, head down, breathing slowly.
void Nap(float phase, CharPose& p) {
    Seat(85, p);
    p.local[kSpine] = Lean(25 + 3 * Wave(phase));
    p.local[kHead] = Lean(35 + 2 * Wave(phase));
    p.local[kUpperArmL] = p.local[kUpperArmR] = Swing(10);
    p.local[kForeArmL] = p.local[kForeArmR] = Swing(30);
}

// Standing and nodding off: the head drops and jerks back up.
void Sleepy(float phase, CharPose& p) {
    p.local[kSpine] = Lean(10 + 3 * Wave(phase));
    p.local[kHead] = Lean(15 + 20 * Reach(phase));
    p.local[kUpperArmL] = p.local[kUpperArmR] = Swing(-10);
    p.rootMove = {0.01f * Wave(phase), 0, 0};
}

const std::vector<CharClipDef> kClips = {
    {"AdultWalk", false, 1000, 9, Walk},         {"AdultRun", false, 600, 9, Run},
    {"AdultIdle1", false, 2000, 9, Idle},        {"AdultSweeping", false, 2000, 9, Sweeping},
    {"AdultMalePound", false, 1000, 9, Pound},   {"AdultMaleWrench", false, 1600, 9, Wrench},
    {"AdultPayMoney", false, 1600, 9, PayMoney}, {"CarnyNap", false, 4000, 9, Nap},
    {"CarnySleepy", false, 3000, 9, Sleepy},     {"AdultSitting1", false, 2000, 9, Sitting},
    {"ChildWalk", true, 1000, 9, Walk},          {"ChildRun", true, 600, 9, Run},
    {"ChildIdle1", true, 2000, 9, Idle},         {"ChildPayMoney", true, 1600, 9, PayMoney},
    {"ChildSitting1", true, 2000, 9, Sitting},
};

} // namespace

const std::vector<CharClipDef>& CharClips() {
    return kClips;
}

const CharClipDef* CharFindClip(const char* name) {
    for (const CharClipDef& c : kClips)
        if (name && std::strcmp(c.name, name) == 0) return &c;
    return nullptr;
}

int32_t CharClipKeyTime(const CharClipDef& clip, int key) {
    return (int32_t)((int64_t)clip.lengthMs * key / (clip.keyCount - 1));
}

CharWorldPose CharClipKeyPose(const CharRig& rig, const CharClipDef& clip, int key) {
    // The last key is the loop's start again, computed from the same phase so that it is equal
    // to the first to the bit.
    const int k = key >= clip.keyCount - 1 ? 0 : key;
    CharPose pose;
    clip.pose((float)k / (float)(clip.keyCount - 1), pose);
    pose.rootMove = pose.rootMove * rig.scale;
    return CharForwardKinematics(rig, pose);
}
