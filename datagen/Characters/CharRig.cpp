// The generated humanoid and its forward kinematics.
#include "datagen/Characters/CharRig.h"

namespace {

// The adult at scale 1: 1.8 tall, shoulders 0.6 wide, legs 0.9 long.
const CharBoneDef kAdult[kCharBoneCount] = {
    {"Pelvis",
     -1,
     {0, 0.95f, 0},
     {-0.16f, 0.86f, -0.1f},
     {0.16f, 1.06f, 0.1f},
     {kCellBelt, kCellBelt, kCellShirt, kCellTrousers, kCellBelt, kCellBelt}},
    {"Spine",
     kPelvis,
     {0, 1.06f, 0},
     {-0.19f, 1.06f, -0.11f},
     {0.19f, 1.5f, 0.11f},
     {kCellShirt, kCellShirt, kCellShirt, kCellShirt, kCellShirtFront, kCellShirt}},
    {"Head",
     kSpine,
     {0, 1.52f, 0},
     {-0.1f, 1.54f, -0.11f},
     {0.1f, 1.8f, 0.11f},
     {kCellHeadSide, kCellHeadSide, kCellHair, kCellSkin, kCellFace, kCellHair}},
    {"UpperArmL",
     kSpine,
     {-0.25f, 1.46f, 0},
     {-0.3f, 1.16f, -0.05f},
     {-0.2f, 1.49f, 0.05f},
     {kCellSleeve, kCellSleeve, kCellShirt, kCellSkin, kCellSleeve, kCellSleeve}},
    {"ForeArmL",
     kUpperArmL,
     {-0.25f, 1.16f, 0},
     {-0.295f, 0.86f, -0.045f},
     {-0.205f, 1.16f, 0.045f},
     {kCellHand, kCellHand, kCellSkin, kCellSkin, kCellHand, kCellHand}},
    {"UpperArmR",
     kSpine,
     {0.25f, 1.46f, 0},
     {0.2f, 1.16f, -0.05f},
     {0.3f, 1.49f, 0.05f},
     {kCellSleeve, kCellSleeve, kCellShirt, kCellSkin, kCellSleeve, kCellSleeve}},
    {"ForeArmR",
     kUpperArmR,
     {0.25f, 1.16f, 0},
     {0.205f, 0.86f, -0.045f},
     {0.295f, 1.16f, 0.045f},
     {kCellHand, kCellHand, kCellSkin, kCellSkin, kCellHand, kCellHand}},
    {"ThighL",
     kPelvis,
     {-0.09f, 0.9f, 0},
     {-0.16f, 0.49f, -0.07f},
     {-0.02f, 0.92f, 0.07f},
     {kCellTrousers, kCellTrousers, kCellTrousers, kCellTrousers, kCellTrousers, kCellTrousers}},
    {"CalfL",
     kThighL,
     {-0.09f, 0.49f, 0},
     {-0.15f, 0, -0.06f},
     {-0.03f, 0.49f, 0.14f},
     {kCellCalf, kCellCalf, kCellTrousers, kCellSole, kCellCalf, kCellCalf}},
    {"ThighR",
     kPelvis,
     {0.09f, 0.9f, 0},
     {0.02f, 0.49f, -0.07f},
     {0.16f, 0.92f, 0.07f},
     {kCellTrousers, kCellTrousers, kCellTrousers, kCellTrousers, kCellTrousers, kCellTrousers}},
    {"CalfR",
     kThighR,
     {0.09f, 0.49f, 0},
     {0.03f, 0, -0.06f},
     {0.15f, 0.49f, 0.14f},
     {kCellCalf, kCellCalf, kCellTrousers, kCellSole, kCellCalf, kCellCalf}},
};

} // namespace

CharRig CharMakeRig(float scale) {
    CharRig rig;
    rig.scale = scale;
    for (int b = 0; b < kCharBoneCount; ++b) {
        CharBoneDef d = kAdult[b];
        d.joint = d.joint * scale;
        d.boxMin = d.boxMin * scale;
        d.boxMax = d.boxMax * scale;
        rig.bones[(size_t)b] = d;
    }
    return rig;
}

CharPose::CharPose() {
    local.fill(giMat44::Identity());
}

CharWorldPose CharForwardKinematics(const CharRig& rig, const CharPose& pose) {
    CharWorldPose w;
    // Parents come before children in the bone order.
    for (int b = 0; b < kCharBoneCount; ++b) {
        const CharBoneDef& d = rig.bones[(size_t)b];
        if (d.parent < 0) {
            w.orient[(size_t)b] = pose.local[(size_t)b];
            w.joint[(size_t)b] = d.joint + pose.rootMove;
            continue;
        }
        const giMat44& parent = w.orient[(size_t)d.parent];
        // Row vectors: the bone's own turn first, then its parent's.
        w.orient[(size_t)b] = pose.local[(size_t)b] * parent;
        const giVec3 offset = d.joint - rig.bones[(size_t)d.parent].joint;
        w.joint[(size_t)b] = w.joint[(size_t)d.parent] + parent.TransformDirection(offset);
    }
    return w;
}

giVec3 CharPosePoint(const CharRig& rig, const CharWorldPose& world, int bone, const giVec3& p) {
    const giVec3 local = p - rig.bones[(size_t)bone].joint;
    return world.joint[(size_t)bone] + world.orient[(size_t)bone].TransformDirection(local);
}
