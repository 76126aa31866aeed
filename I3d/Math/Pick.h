// The pick ray: a point of the screen (-1..1 across the view, y up) as a world-space ray of the
// camera the management camera hands over every frame.
#pragma once

#include "I3d/Math/MathTypes.h"

// The camera's view matrix, copied. Null is ignored.
void PickSetCamera(const Mat4* view);
// The stored view matrix (not the camera's world matrix: invert it for that). The identity
// until a camera is set.
const Mat4* PickGetCamera();
// Vertical field of view in radians (0 until set).
void PickSetFov(float radians);
// aspect = width / height (1.0 until set); a height of 0, or a ratio that is not a positive
// number, is ignored.
void PickSetAspect(float width, float height);
// The ray through (x, y) from view depth 0.2: origin on it, direction unit length towards depth
// 12000. 1; 0 with the outputs untouched when x or y lies outside -1..1 (the bounds count as
// inside) or is NaN, or when the camera gives no finite ray.
int PickRay(float x, float y, VECTOR3* origin, VECTOR3* direction);
