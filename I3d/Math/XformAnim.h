// Animated transforms an entity multiplies into its model matrix, and the "appear" sequence:
// a quick squash, a quarter turn, a settle back to full size, then done.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "I3d/Math/SmoothFloat.h"

class XformAnim {
  public:
    XformAnim();
    // Identity matrix, time 0.
    virtual void Reset();
    // time += dt.
    virtual void Update(float dt);
    virtual const Mat4* GetMatrix() const;
    // The base never finishes.
    virtual bool IsDone() const;
    virtual ~XformAnim() = default;

    Mat4 matrix;
    float time = 0.0f; // seconds
};

class XformAnimSeq : public XformAnim {
  public:
    XformAnimSeq();
    // Also state 0 and step timer 0; the animators keep their values.
    void Reset() override;
    // Each update whose step takes the step timer below 0 moves one state on: 0 -> 1 squash
    // (scale to 0.8 over 0.15 s, then 0.5 s), 1 -> 2 quarter turn (2.5 s), 2 -> 3 settle (scale
    // to 1.0 over 0.75 s, then 0.75 s), 3 -> 4 the turn snaps back to 0. Then both animators
    // step and the matrix becomes the scale, then the turn about Y.
    void Update(float dt) override;
    // State 4.
    bool IsDone() const override;

    SmoothFloat angle; // A: the turn about Y, radians
    SmoothFloat scale; // B: the uniform scale
    int32_t state = 0;
    float stepTimer = 0.0f;
};
