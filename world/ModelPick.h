// Picking a placed model: its world box first, then its triangles.
#pragma once

#include "I3d/Math/MathTypes.h"

struct MDL3;

// The ray against the box (0 < t < 100000), then the model's triangles from its root along
// 100000 x dir under `world`. A model without vertices counts as hit once its box is; a world
// matrix that flattens space picks nothing (it has no inverse). 1 for a hit, else 0.
int Mdl3PickWithBox(const VECTOR3* origin, const VECTOR3* dir, const float box[6], MDL3* model,
                    const Mat4* world);
// The segment start..end against the model's triangles from its root under `world`, scaled or
// mirrored as it may be (the segment is taken into the model's frame by the full inverse); 0 as
// above for a flattening matrix. 1 for a hit, else 0.
int Mdl3PickSegment(MDL3* model, const VECTOR3* start, const VECTOR3* end, const Mat4* world);
