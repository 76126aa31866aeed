// The value smoothers (see SmoothFloat.h).
#include "I3d/Math/SmoothFloat.h"

void SmoothValue::SetImmediate(float v) {
    value = target = v;
}

void SmoothFloat::SetImmediate(float v) {
    SmoothValue::SetImmediate(v);
    velocity = 0.0f;
}

void SmoothFloat::Update(float dt) {
    if (!(time > 0.0f)) {
        SetImmediate(target);
        return;
    }
    if (!(dt > 0.0f)) return;
    float omega = 2.0f / time;
    float x = omega * dt;
    float k = 1.0f / (1.0f + x + 0.48f * x * x + 0.235f * x * x * x);
    float change = value - target;
    float temp = (velocity + omega * change) * dt;
    velocity = (velocity - omega * temp) * k;
    value = target + (change + temp) * k;
}
