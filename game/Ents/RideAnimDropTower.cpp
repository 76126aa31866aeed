// The drop tower's climb, hold, fall and brake, and the trolley's override around the draw.
#include "game/Ents/RideAnimDropTower.h"

#include "I3d/Mdl3.h"
#include "game/AttrInfo.h"
#include "game/Ents/RideAnimNodes.h"

#include <algorithm>

namespace {
constexpr float kClimbShorterBy = 3.0f; // the climb takes "duration" less this
constexpr float kClimbMin = 10.0f;
constexpr float kHold = 3.0f;
constexpr float kRunCountdown = 8.0f;
constexpr float kGravity = 9.8f;
constexpr float kBrakeHeight = 5.0f;
constexpr float kBrake = 0.2f;
constexpr float kDown = 0.1f;
constexpr float kStopping = 3.0f;

bool Broken(RideAnimCore* anim) {
    return anim->attraction && anim->attraction->RideBroken();
}

bool Closed(RideAnimCore* anim) {
    return anim->attraction && anim->attraction->RideClosed();
}
} // namespace

int RideAnimDropTower::Init(AttrInfo* type, const char* folder, RideAnimOwner* owner) {
    height = fallSpeed = fallen = hold = stopTimer = stopFrom = 0.0f;
    const int result = RideAnim::Init(type, folder, owner);
    trolley = model && model->numNodes > 0 ? Mdl3FindNode(&model->nodes[0], "Trolley") : nullptr;
    return result;
}

void RideAnimDropTower::Draw(const Mat4* world) {
    if (!instance || !model) return;
    trolleyMatrix = RideAxisMatrix(RIDE_AXIS_RISE, height);
    if (trolley) Mdl3NodeSetOverride(trolley, &trolleyMatrix);
    RideAnim::Draw(world);
    if (trolley) Mdl3NodeClearOverride(trolley);
}

void RideAnimDropTower::IdleEnter() {
    RideAnim::IdleEnter();
    height = 0.0f;
}

void RideAnimDropTower::StartEnter() {
    RideAnim::StartEnter();
    height = fallen = fallSpeed = 0.0f;
}

void RideAnimDropTower::StartUpdate(float seconds) {
    const float duration = info ? info->duration : 0.0f;
    // NaN fails the comparison and takes the floor too.
    const float climb =
        duration - kClimbShorterBy > kClimbMin ? duration - kClimbShorterBy : kClimbMin;
    height += kDropTop / climb * seconds;
    if (height >= kDropTop) {
        height = kDropTop;
        RideAnimSetState(this, RIDE_RUNNING);
    }
}

void RideAnimDropTower::RunningEnter() {
    RideAnim::RunningEnter();
    countdown = kRunCountdown;
    hold = kHold;
    fallSpeed = fallen = 0.0f;
}

void RideAnimDropTower::RunningUpdate(float seconds) {
    countdown -= seconds;
    if (hold > 0.0f) {
        hold -= seconds;
    } else {
        if (height >= kBrakeHeight) {
            fallSpeed += kGravity * seconds;
            fallen += fallSpeed * seconds;
        } else {
            fallen += height * kBrake * fallSpeed * seconds;
        }
        height = std::max(kDropTop - fallen, 0.0f);
    }
    if (height <= kDown || !(countdown > 0.0f) || Broken(this) || Closed(this))
        RideAnimSetState(this, RIDE_STOPPING);
}

void RideAnimDropTower::StoppingEnter() {
    RideAnim::StoppingEnter();
    stopTimer = kStopping;
    stopFrom = height;
}

void RideAnimDropTower::StoppingUpdate(float seconds) {
    stopTimer -= seconds;
    // A ride stopped early (broken, closed, out of time) lowers the trolley over the 3 s.
    height = stopTimer > 0.0f ? stopFrom * stopTimer / kStopping : 0.0f;
    if (stopTimer > 0.0f) return;
    RideAnim::StoppingUpdate(seconds);
}
