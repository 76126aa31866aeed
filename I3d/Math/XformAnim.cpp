// Animated transforms (see XformAnim.h).
#include "I3d/Math/XformAnim.h"

#include "I3d/Math/Mat4Math.h"

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
    if (stepTimer < 0.0f) {
        switch (state) {
            case 0:
                scale.target = 0.8f;
                scale.time = 0.15f;
                stepTimer = 0.5f;
                state = 1;
                break;
            case 1:
                angle.target = 1.5707964f;
                stepTimer = 2.5f;
                state = 2;
                break;
            case 2:
                scale.target = 1.0f;
                scale.time = 0.75f;
                stepTimer = 0.75f;
                state = 3;
                break;
            case 3:
                angle.SetImmediate(0.0f);
                state = 4;
                break;
            default: break;
        }
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
