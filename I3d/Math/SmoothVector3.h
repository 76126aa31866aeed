// The three-component spring smoother the cameras glide with: the same critically damped step as
// SmoothFloat (SmoothFloat.h), on each component.
#pragma once

#include "I3d/Math/MathTypes.h"

class SmoothVector3Base {
  public:
    virtual ~SmoothVector3Base() = default;
    virtual void Update(float) {}

    VECTOR3 value = {0.0f, 0.0f, 0.0f};
    VECTOR3 target = {0.0f, 0.0f, 0.0f};
};

class SmoothVector3 : public SmoothVector3Base {
  public:
    // A smoothing time that is not above 0 snaps to the target; a step that is not above 0 (or
    // NaN) changes nothing, as SmoothFloat does.
    void Update(float dt) override;
    // value = target = v, and the motion stops.
    void SetImmediate(const VECTOR3& v);

    VECTOR3 velocity = {0.0f, 0.0f, 0.0f};
    float time = 1.0f; // seconds
};
