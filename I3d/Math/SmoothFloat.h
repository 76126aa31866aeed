// Value smoothers: a displayed value that follows its target without overshooting, for lists,
// highlights, cameras, patrons' headings and the appear animation. Plain data with virtual
// updates; the fields stay public because owners write value, target and time directly.
#pragma once

class SmoothValue {
  public:
    virtual ~SmoothValue() = default;
    // value = target = v.
    virtual void SetImmediate(float v);
    virtual void Update(float dt) = 0;

    float value = 0.0f;
    float target = 0.0f;
};

// Critically damped: omega = 2 / time, x = omega dt, k = 1 / (1 + x + 0.48 x^2 + 0.235 x^3),
// change = value - target, temp = (velocity + omega change) dt, velocity = (velocity - omega
// temp) k, value = target + (change + temp) k.
class SmoothFloat : public SmoothValue {
  public:
    // Also stops the motion.
    void SetImmediate(float v) override;
    // A smoothing time that is not above 0 snaps to the target (the step would divide by it);
    // a step that is not above 0 (or NaN) changes nothing.
    void Update(float dt) override;

    float GetValue() const { return value; }
    void SetTarget(float t) { target = t; }
    void SetTime(float seconds) { time = seconds; }

    float velocity = 0.0f;
    float time = 1.0f; // seconds, above 0
};
