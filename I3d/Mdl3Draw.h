// Drawing MDL3 models under a world matrix, with distance hiding and fading of the whole model
// and per-node draw distances, and picking a model's collision triangles with a segment.
#pragma once

#include "I3d/Mdl3.h"

// ---- module switches ----
// Multiplies every draw distance (1.0); values below 0.01 (and NaN) become 0.01.
void Mdl3SetLodScale(float scale);
float Mdl3GetLodScale();
// Model drawing (on): Mdl3Draw does nothing while off.
void Mdl3SetDrawing(int on);
// Node box culling (on): a visible node's box is tested against the view before it is drawn.
void Mdl3SetNodeBoxCulling(int on);
// The switches at kernel start.
void Mdl3DrawDefaults();

// ---- distance rules (shared with the extended models) ----
// The model's fade at squared distance d2 from the eye, from its root's maxDist and fadeRange
// scaled by the LOD scale (the far limit capped at the kernel's far distance): 0 when the
// model is not drawn at all (beyond the limit, or a root maxDist of 0 or less), else 1 and
// *fade = 1.0 outside the fade band, (r - d) / f inside it.
int Mdl3DistanceFade(const MDL3NODE* root, float d2, float* fade);
// Whether a node and its subtree are in range at squared distance d2: INFINITEVIS always;
// else not beyond LOD x maxDist (when maxDist > 0) and not nearer than LOD x minDist.
int Mdl3NodeInRange(const MDL3NODE* node, float d2);
// The node's matrix under its parent's: override x Matrix x parent with an override attached,
// else Matrix x parent when `useTransformFlag` is 0 or NODETRANSFORM is set, else the parent.
void Mdl3NodeMatrix(const MDL3NODE* node, const Mat4* parent, int useTransformFlag, Mat4* out);

// ---- drawing and picking ----
// Sets `world` as the world matrix and draws every node in range, faded by distance. Nothing
// for a null model or matrix, beyond the model's far limit, or with the root box outside the
// view.
void Mdl3Draw(MDL3* model, const Mat4* world);
// The segment start..end (world space) against the collision triangles (front faces only) of
// `node`'s subtree under `world`. The nearest hit is kept: a triangle is accepted only nearer
// than every hit before it; *out is the world point of the nearest. The number of nodes that
// found a nearer hit; 0 (out untouched) for no hit, a null argument or start = end.
int Mdl3Pick(MDL3* model, MDL3NODE* node, const VECTOR3* start, const VECTOR3* end, VECTOR3* out,
             const Mat4* world);
