// The three-component spring smoother (see SmoothVector3.h).
#include "I3d/Math/SmoothVector3.h"

void SmoothVector3::SetImmediate(const VECTOR3& v) {
    value = target = v;
    velocity = VECTOR3{0.0f, 0.0f, 0.0f};
}

namespace {
void Step(float& value, float target, float& velocity, float omega, float dt, float k) {
    const float change = value - target;
    const float temp = (velocity + omega * change) * dt;
    velocity = (velocity - omega * temp) * k;
    value = target + (change + temp) * k;
}
} // namespace

void SmoothVector3::Update(float dt) {
    if (!(time > 0.0f)) {
        SetImmediate(target);
        return;
    }
    if (!(dt > 0.0f)) return;
    const float omega = 2.0f / time;
    const float x = omega * dt;
    const float k = 1.0f / (1.0f + x + 0.48f * x * x + 0.235f * x * x * x);
    Step(value.x, target.x, velocity.x, omega, dt, k);
    Step(value.y, target.y, velocity.y, omega, dt, k);
    Step(value.z, target.z, velocity.z, omega, dt, k);
}
