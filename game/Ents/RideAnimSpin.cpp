// The table-driven ride: spin-up, running, slowing down and stopping, the angle and its half
// turns, and the node overrides around the model draw.
#include "game/Ents/RideAnimSpin.h"

#include "engine/MathConst.h"
#include "game/AttrInfo.h"

#include <cmath>

namespace {
// A dt of a whole game hour would otherwise split into a million pieces.
constexpr int kMaxPieces = 64;

bool Broken(RideAnimCore* anim) {
    return anim->attraction && anim->attraction->RideBroken();
}

bool Closed(RideAnimCore* anim) {
    return anim->attraction && anim->attraction->RideClosed();
}
} // namespace

int RideAnimSpin::Init(AttrInfo* type, const char* folder, RideAnimOwner* owner) {
    angle = speed = frameDt = rampTimer = 0.0f;
    turnSign = -1;
    stopTarget = -1;
    halfTurn = 0;
    homed = false;
    const int result = RideAnim::Init(type, folder, owner);
    nodes.Find(model, row);
    return result;
}

void RideAnimSpin::Draw(const Mat4* world) {
    if (!instance || !model) return;
    nodes.Pose(angle, speed, true);
    nodes.Attach();
    RideAnim::Draw(world);
    nodes.Detach();
}

// ---- the angle ----

bool RideAnimSpin::Creeping() const {
    return runState == RIDE_STOPPING && stopTarget == 1 && row->stop != RIDE_STOP_ZERO;
}

void RideAnimSpin::Advance(float seconds) {
    if (!(speed > 0.0f) || !(seconds > 0.0f) || homed) return;
    const double most = (double)speed * seconds * MaxStepRate();
    int pieces = (int)std::ceil(most / kPi);
    if (pieces < 1) pieces = 1;
    if (pieces > kMaxPieces) pieces = kMaxPieces;
    const float piece = seconds / (float)pieces;
    for (int i = 0; i < pieces; ++i) {
        float step = speed * piece * StepRate(angle);
        if (step > kPi) step = kPi;
        if (!(step > 0.0f)) return;
        float next = angle + step;
        if (Creeping()) {
            // Stops on the boundary itself, so a stopped ride rests exactly at its home.
            const float boundary = row->stop == RIDE_STOP_HALF_TURN && halfTurn == 0 ? kPi : kTwoPi;
            if (next >= boundary) {
                next = boundary;
                homed = true;
            }
        }
        nodes.Advance(next - angle);
        angle = next >= kTwoPi ? next - kTwoPi : next;
        if (angle >= kTwoPi || angle < 0.0f) angle = 0.0f;
        int index = (int)(angle / kPi);
        if (angle == kPi) index = 1; // the boundary the creep rests on counts as passed
        if (index > 1) index = 1;
        if (index != halfTurn) {
            halfTurn = index;
            turnSign = -turnSign;
        }
        if (homed) return;
    }
}

// ---- the run states ----

void RideAnimSpin::IdleEnter() {
    RideAnim::IdleEnter();
    // An attraction that puts a moving ride back to idle (a new day) leaves it standing.
    speed = 0.0f;
}

void RideAnimSpin::StartEnter() {
    RideAnim::StartEnter();
    rampTimer = 0.0f;
    frameDt = 0.0f;
    homed = false;
}

void RideAnimSpin::StartUpdate(float seconds) {
    frameDt = seconds;
    rampTimer += seconds;
    speed = rampTimer * row->rampUp;
    if (speed >= 1.0f || !(row->rampUp > 0.0f)) {
        speed = 1.0f;
        // The rides that slow down to 0 skip running when broken and closed at once; the others
        // leave running through the base rule on their first running update.
        if (row->stop == RIDE_STOP_ZERO && Broken(this) && Closed(this))
            RideAnimSetState(this, RIDE_STOPPING);
        else
            RideAnimSetState(this, RIDE_RUNNING);
    }
    Advance(seconds);
}

void RideAnimSpin::RunningEnter() {
    RideAnim::RunningEnter();
    speed = 1.0f;
}

void RideAnimSpin::RunningUpdate(float seconds) {
    frameDt = seconds;
    if (row->countedTwice) countdown -= seconds;
    // The base update counts the time (again), and stops a broken or closed ride.
    RideAnim::RunningUpdate(seconds);
    Advance(seconds);
}

void RideAnimSpin::StoppingEnter() {
    RideAnim::StoppingEnter();
    rampTimer = row->stopTimer;
    stopTarget = -1;
    homed = false;
}

void RideAnimSpin::StoppingUpdate(float seconds) {
    frameDt = seconds;
    rampTimer -= seconds;
    if (row->stop == RIDE_STOP_ZERO) {
        if (stopTarget == -1) {
            speed = rampTimer * row->rampDown;
            if (!(speed > 0.0f)) {
                speed = 0.0f;
                stopTarget = 1;
            }
            Advance(seconds);
            return;
        }
        speed = 0.0f;
        RideAnim::StoppingUpdate(seconds);
        return;
    }
    if (stopTarget == -1) {
        speed = rampTimer * row->rampDown;
        if (!(speed > row->creep)) {
            speed = row->creep;
            stopTarget = 1;
            turnSign = 1;
        }
    } else if (homed) {
        speed = 0.0f;
        RideAnim::StoppingUpdate(seconds);
        return;
    }
    Advance(seconds);
}
