// Shared primitives: the camera-facing billboard's corner offsets.
#pragma once

#include "I3d/Math/MathTypes.h"

// Recomputes the four corner offsets from a new view matrix: with R its first column and U its
// second, bottom-left = -R - U, top-left = U - R, top-right = R + U, bottom-right = R - U.
void I3dBillboardSetView(const Mat4* view);
// Bottom-left, top-left, top-right, bottom-right.
void I3dGetBillboardCorners(VECTOR3 out[4]);
