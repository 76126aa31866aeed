// Clip-space visibility tests: an outcode per point, boxes rejected when all 8 corners lie
// outside one plane, and the projection of a point to the screen.
#pragma once

#include "I3d/Math/MathTypes.h"

// Outcode bits. In front of the eye (clip z > 0) x and y are tested after division by w;
// behind it the x and y bits swap sides, so a box straddling the eye plane shares no outside
// bit with its corners in front. All comparisons are strict.
enum : int {
    I3D_OUT_LEFT = 1,    // in front: x < -1; behind: x > 1
    I3D_OUT_RIGHT = 2,   // in front: x > 1; behind: x < -1
    I3D_OUT_TOP = 4,     // in front: y > 1; behind: y < -1
    I3D_OUT_BOTTOM = 8,  // in front: y < -1; behind: y > 1
    I3D_OUT_BEHIND = 16, // clip z <= 0
    I3D_OUT_BEYOND = 32, // clip z beyond the far distance (in front only)
};

// The outcode of p under m; `depth` (may be null) receives the undivided clip z.
int Mat4PointOutcode(const VECTOR3* p, const Mat4* m, float* depth);
// 1 unless the box's 8 corners under m share an outside bit.
int Mat4BoxVisible(const float box[6], const Mat4* m);

// Under world x view x projection.
int I3dPointOutcode(const VECTOR3* p, float* depth);
// 0 when the box's 8 corners share an outside bit; else 1 and, when `depth` is given, the mean
// of the 8 corner depths (for sorting).
int I3dBoxOutcodeTest(const VECTOR3* min, const VECTOR3* max, float* depth);
// The same for a box of six floats (min x, y, z, max x, y, z).
int BoxOutcodeTest(const float box[6], float* depth);
// A world-space box under view x projection: the world matrix plays no part.
int I3dBoxVisible(const float box[6]);

// (x / w, y / w, z) of p under world x view x projection, z undivided. A point on the eye plane
// (|w| below 1e-6) gives x = y = 0: its z is then not above 0 under a perspective projection,
// so callers' in-front tests reject it rather than drawing at infinity.
void I3dProjectPoint(const VECTOR3* p, float out[3]);
