// Generated meshes: simple shapes that game and test entities build in code, each a new MeshBuf
// filled once, centred on the origin and unit-sized, wound clockwise seen from outside (front
// faces under D3DCULL_CCW). The caller owns the mesh: it draws it under its own world matrix and
// states, then calls Destroy() and deletes it. Every builder gives null when the counts are
// impossible, memory runs out or the device refuses the buffers.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "I3d/MeshBuf.h"

// The cube from -0.5 to 0.5, format 35 (position, normal, uv): 24 vertices, 12 triangles. Each
// face is a quad of its outward normal whose uv (0, 0) lies at the top-left seen from outside
// (up is +y for the sides, +z for the top and bottom), the corners running (0, 0), (1, 0),
// (1, 1), (0, 1). Faces in order: -z, +x, +z, -x, +y, -y.
MeshBuf* MeshMakeBox();
// The same cube with face k on the texture column u = k / 8 .. (k + 1) / 8.
MeshBuf* MeshMakeBoxStrip();
// Radius 0.5, y from -0.5 to 0.5, capped; format 71 (position, normal, colour, two uv pairs),
// white, both pairs alike. The side is three rings of n (at the top, middle and bottom) and
// each cap a ring of n around its centre: 5n + 2 vertices, 6n triangles. Null for n < 3.
MeshBuf* MeshMakeCylinder(int segments);
// A UV sphere with radii x / 2, y / 2, z / 2, format 39 (position, normal, colour, uv), white:
// the top pole, rings - 1 rings of segments + 1 vertices (the seam repeated), the bottom pole;
// (rings - 1)(segments + 1) + 2 vertices and (2 rings - 2) segments triangles. Null for
// rings < 2, segments < 3, more than MESHBUF_MAX_VERTICES vertices or a size that is not
// finite.
MeshBuf* MeshMakeEllipsoid(int rings, int segments, float x, float y, float z);
MeshBuf* MeshMakeSphere(int rings, int segments);
// Flat in the xz plane, facing +y, pointing +z: head (0, 0, 0.5), (0.5, 0, 0.1),
// (-0.5, 0, 0.1), shaft x = -0.3 .. 0.3 from z = 0.1 to -0.5. Format 71, 7 vertices, 3
// triangles.
MeshBuf* MeshMakeArrow();
// The unit quad in the xz plane facing +y, uv (0, 0) at (-0.5, 0, 0.5). Format 71, 4 vertices,
// 2 triangles.
MeshBuf* MeshMakeQuadXZ();

// The matrix that stretches the unit meshes from a to b: Z = (b - a) normalised, X = up x Z
// normalised, Y = Z x X (so the frame is never mirrored or sheared), scaled by (width, 1,
// |b - a|) along X, Y, Z and moved to the midpoint. When a = b the Z axis is +z (and the length
// 0); when up is zero or runs along Z another world axis stands in for it. Returns out.
Mat4* MatFromSegment(Mat4* out, const VECTOR3* a, const VECTOR3* b, const VECTOR3* up, float width);
