// The humanoid rig of the generated characters: eleven bones, one box each, bind origins at the
// joints with the bone axes along the model's, standing on y = 0 and facing +z (its left hand
// towards -x, as the engine's axes have it). The child is the adult rig scaled.
#pragma once

#include "gi/giMath.h"

#include <array>
#include <cstddef>

enum CharBone : int {
    kPelvis,
    kSpine,
    kHead,
    kUpperArmL,
    kForeArmL,
    kUpperArmR,
    kForeArmR,
    kThighL,
    kCalfL,
    kThighR,
    kCalfR,
    kCharBoneCount
};

// Regions of the 64 x 64 character map, 16 x 16 texels each, numbered row by row.
enum CharCell : int {
    kCellFace,
    kCellHair,
    kCellHeadSide,
    kCellSkin,
    kCellShirtFront,
    kCellShirt,
    kCellSleeve,
    kCellHand,
    kCellBelt,
    kCellTrousers,
    kCellCalf,
    kCellSole,
    kCellCount
};

// Box sides in the order +x, -x, +y, -y, +z (front), -z (back).
enum CharSide : int { kSidePosX, kSideNegX, kSidePosY, kSideNegY, kSideFront, kSideBack };

struct CharBoneDef {
    const char* name;
    int parent;    // -1 for the root
    giVec3 joint;  // bind origin, model space
    giVec3 boxMin; // model space at bind
    giVec3 boxMax;
    CharCell cells[6]; // per side
};

struct CharRig {
    float scale = 1.0f;
    std::array<CharBoneDef, kCharBoneCount> bones;
};

constexpr float kAdultHeight = 1.8f;
constexpr float kChildScale = 0.7f;

// The adult rig scaled (1 for adults, kChildScale for children).
CharRig CharMakeRig(float scale);

// A pose: per bone its rotation relative to its parent's axes, and the root's move from its bind
// origin.
struct CharPose {
    std::array<giMat44, kCharBoneCount> local;
    giVec3 rootMove;
    CharPose();
};

// Forward kinematics: per bone its model-space orientation and its joint.
struct CharWorldPose {
    std::array<giMat44, kCharBoneCount> orient;
    std::array<giVec3, kCharBoneCount> joint;
};
CharWorldPose CharForwardKinematics(const CharRig& rig, const CharPose& pose);

// A bind-pose point of bone b carried into the pose.
giVec3 CharPosePoint(const CharRig& rig, const CharWorldPose& world, int bone, const giVec3& p);
