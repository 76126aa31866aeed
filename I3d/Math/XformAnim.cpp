// Animated transforms (see XformAnim.h).
#include "I3d/Math/XformAnim.h"

#include "I3d/Math/Mat4Math.h"
#include "engine/MathConst.h"

XformAnim::XformAnim() {
    Mat4Identity(&matrix);
}

void XformAnim::Reset() {
    Mat4Identity(&matrix);
    time = 0.0f;
}

void XformAnim::Update(float dt) {
    time += dt;
}

const Mat4* XformAnim::GetMatrix() const {
    return &matrix;
}

bool XformAnim::IsDone() const {
    return false;
}

// ---- the appear sequence ----

XformAnimSeq::XformAnimSeq() {
    scale.value = 1.0f;
}

void XformAnimSeq::Reset() {
    XformAnim::Reset();
    state = 0;
    stepTimer = 0.0f;
}

void XformAnimSeq::Update(float dt) {
    time += dt;
    stepTimer -= dt;
    auto scaleTo = [this](float target, float seconds, float step) {
        scale.target = target;
        scale.time = seconds;
        stepTimer = step;
    };
    if (stepTimer < 0.0f && state < 4) {
        switch (state) {
            case 0: scaleTo(0.8f, 0.15f, 0.5f); break;
            case 1:
                angle.target = kHalfPi;
                stepTimer = 2.5f;
                break;
            case 2: scaleTo(1.0f, 0.75f, 0.75f); break;
            default: angle.SetImmediate(0.0f); break;
        }
        ++state;
    }
    angle.Update(dt);
    scale.Update(dt);
    Mat4Identity(&matrix);
    matrix.m[0] = matrix.m[5] = matrix.m[10] = scale.value;
    Mat4RotateY(&matrix, angle.value);
}

bool XformAnimSeq::IsDone() const {
    return state == 4;
}
