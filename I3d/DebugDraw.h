// Debug shapes that set their own render states: the edges of a box.
#pragma once

#include "I3d/Math/MathTypes.h"

#include <cstdint>

// The 12 edges of a box (min x, y, z then max x, y, z) under `world` (null: the identity) as an
// indexed line list through the current buffers, in `colour` (through the texture factor):
// fog and lighting off, alpha blending on, z test LESSEQUAL with z writes, no culling, stage 0
// selecting the texture factor for colour and alpha, stage 1 off. 0; -1 for a null box, or when
// there are no current buffers or they cannot be locked.
int DbgDrawAabb(const float box[6], const Mat4* world, uint32_t colour);
