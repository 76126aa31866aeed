// 4x4 matrix functions in Direct3D's convention: row vectors multiplied on the left
// (p' = p x M, so A x B applies A first), left-handed, y up, angles in radians. The layout
// (see Mat4 in MathTypes.h) is the same memory as OpenGL's column-major, column-vector
// matrix, so the render layer hands these matrices to GL unchanged.
#pragma once

#include "I3d/Math/MathTypes.h"

// Diagonal 1.0, the rest 0.
Mat4* Mat4Identity(Mat4* out);

// p x m with the translation row; no division by w.
VECTOR3* Mat4XformPoint(const VECTOR3* p, const Mat4* m, VECTOR3* out);
// v x m without the translation row.
VECTOR3* Mat4XformVector(const VECTOR3* v, const Mat4* m, VECTOR3* out);

// out = a x b. out may be a or b.
Mat4* Mat4Mul(const Mat4* a, const Mat4* b, Mat4* out);

// m = m x Rot(angle) in place: a rotation about the world axis applied after m.
Mat4* Mat4RotateX(Mat4* m, float angle);
Mat4* Mat4RotateY(Mat4* m, float angle);
Mat4* Mat4RotateZ(Mat4* m, float angle);

// Rows 0..2 = the axes, row 3 = (0, 0, 0, 1).
Mat4* Mat4FromAxes(Mat4* out, const VECTOR3* x, const VECTOR3* y, const VECTOR3* z);
// out = RotX(ax) x RotZ(az) x RotY(ay): a point turns about X first, then Z, then Y.
Mat4* Mat4FromEuler(Mat4* out, float az, float ax, float ay);

// Inverse of a rotation-plus-translation matrix (an inverse only when the upper 3x3 is
// orthonormal). out may be m.
Mat4* Mat4InverseRigid(const Mat4* m, Mat4* out);

// 1 when m is exactly the identity (-0.0 counts as zero off the diagonal), else 0.
int Mat4IsIdentity(const Mat4* m);

// Heading of m's Z axis about Y, in [0, 2pi); 0 when the Z axis is vertical.
float Mat4Heading(const Mat4* m);

// View matrix looking from eye at target. eye = target gives the identity rotation; an up
// parallel to the view is replaced by world Z (or Y when the view runs along Z).
Mat4* Mat4LookAt(Mat4* out, const VECTOR3* eye, const VECTOR3* target, const VECTOR3* up);

// Pixel space to clip space: (0, 0) is the top-left corner (-1, 1), (width, height) is
// (1, -1); z passes through.
Mat4* Mat4OrthoScreen(Mat4* out, int width, int height);

// Perspective projection; aspect is the viewport's height / width.
Mat4* Mat4Perspective(Mat4* out, float fov, float aspect, float zNear, float zFar);
