// The common maths types of the whole system: plain structs, single precision.
#pragma once

#include <cstdint>

// World up is +y; headings are measured in the x-z plane.
struct VECTOR3 {
    float x, y, z;
};

struct COLOR3F {
    float r, g, b;
};

// A packed colour word: byte 0 = b, 1 = g, 2 = r, 3 = a (Direct3D's ARGB).
using COLOR4B = uint32_t;

// 16 floats, row-major, element index = row x 4 + column. Row vectors are multiplied on the
// left (p' = p x M), so A x B applies A first; rows 0..2 are the X, Y and Z axes and elements
// 12..14 the translation. This memory is exactly OpenGL's column-major, column-vector matrix,
// which the render layer relies on when it hands matrices to GL unchanged.
struct Mat4 {
    float m[16];
};
