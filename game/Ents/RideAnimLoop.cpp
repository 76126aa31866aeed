// The loop ride's step: the cars speed up at the bottom of the loop.
#include "game/Ents/RideAnimLoop.h"

#include <cmath>

namespace {
constexpr int kLoopType = 38;
constexpr float kBottomBoost = 0.75f;
constexpr float kBase = 2.0f;
} // namespace

RideAnimLoop::RideAnimLoop() : RideAnimSpin(kLoopType) {}

float RideAnimLoop::StepRate(float at) const {
    return (std::cos(at) * kBottomBoost + kBase) * row->stepFactor;
}

float RideAnimLoop::MaxStepRate() const {
    return (kBottomBoost + kBase) * row->stepFactor;
}
