// What the placed cameras share: the check of a field of view read from a file, and the debug
// marker the editor shows for them (a translucent green cross-shaped arrow along the view).
#pragma once

#include "I3d/Math/MathTypes.h"

// A field of view that is not above 0 or is above pi (the tables' default is 0) becomes
// 1.04718, with one log line naming the entity.
void CameraCheckFov(float* fov, const char* entityName);

// The marker's states: fog on, no lighting, blended, depth-tested without writes, no culling,
// stage 0 the translucent green texture factor, stage 1 off.
void CameraMarkerStates();
// The flat arrow `length` long from `pos` along the view of (pitch, yaw), then the same arrow
// rolled a quarter turn about its length.
void CameraMarkerArrows(const VECTOR3& pos, float pitch, float yaw, float length);
// The world transform of a camera: RotX(pitch), then RotY(yaw), then the translation to pos.
Mat4* CameraWorldMatrix(Mat4* out, const VECTOR3& pos, float pitch, float yaw);
