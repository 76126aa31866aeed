// The view test of a walking character: see GameEntCull.h.
#include "game/Ents/GameEntCull.h"

#include "I3d/Frustum.h"

namespace {
// Wide enough for a seated character tilted on a ride and an arm held out.
constexpr float kReach = 1.5f;
constexpr float kHeadRoom = 1.0f;
} // namespace

bool GameEntCharacterInView(const Mat4* world, float height) {
    if (!world) return false;
    const float x = world->m[12], y = world->m[13], z = world->m[14];
    const float box[6] = {x - kReach, y - kReach, z - kReach, x + kReach, y + height + kHeadRoom,
                          z + kReach};
    return I3dBoxVisible(box) != 0;
}
