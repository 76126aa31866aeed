// Shared primitives: immediate quads, the quad outline and the camera-facing billboard through
// the current buffers, and the meshes the kernel builds once and shares (the debug sphere, the
// procedural sphere and arrow). None of them sets render states: callers set the states, the
// texture and the world matrix first.
#pragma once

#include "I3d/Math/MathTypes.h"

// Recomputes the four corner offsets from a new view matrix: with R its first column and U its
// second, bottom-left = -R - U, top-left = U - R, top-right = R + U, bottom-right = R - U.
void I3dBillboardSetView(const Mat4* view);
// Bottom-left, top-left, top-right, bottom-right.
void I3dGetBillboardCorners(VECTOR3 out[4]);

// ---- immediate drawing through the current buffers ----
// Each answers 0, or -1 when there is no current buffer or the ring or device refuses. The
// vertices carry no colour or normal of their own: they draw white with a zero normal, as a
// vertex format without those components would.
// Corners (x0, y0) uv (0, 0), (x1, y0) (1, 0), (x1, y1) (1, 1), (x0, y1) (0, 1): a fan of 2.
int I3dDrawQuad(float x0, float y0, float x1, float y1, float z);
// The same corners with the uv rectangle's corners.
int I3dDrawQuadUv(float x0, float y0, float x1, float y1, float left, float top, float right,
                  float bottom, float z);
// The 4 corners as an indexed line list: 0-1, 1-2, 2-3, 3-0.
int I3dDrawQuadOutline(float x0, float y0, float x1, float y1, float z);
// centre + size x the corners: bottom-left uv (0, 1), top-left (0, 0), top-right (1, 0),
// bottom-right (1, 1); normal (1, 1, 1); a fan of 2.
int I3dDrawBillboard(const VECTOR3* centre, float size);

// ---- shared meshes, drawn under the current world matrix ----
// The debug sphere: unit radius, the poles and 11 rings of 24 (266 vertices, format 71). 0;
// -1 when it is built already (nothing is built) or cannot be built.
int I3dDebugShapesCreate();
// 0; -1 when it is not built.
int I3dDebugShapesFree();
int I3dDrawDebugSphere();
// The procedural sphere (unit radius, 8 bands of 16 segments: 114 vertices, 224 triangles) and
// the flat arrow (7 vertices, 3 triangles, pointing +z in the xz plane), built once: the count
// becomes 1; when they are built already nothing happens. 0; -1 when they cannot be built.
int I3dPrimMeshesCreate();
// One less; at 0 the meshes are freed. Without meshes the count stays 0. The count.
int I3dPrimMeshesRelease();
int I3dDrawPrimSphere();
int I3dDrawPrimArrow();
