// The selection highlight that attractions, carnies and patrons draw under themselves: a flat,
// pulsing green quad over the footprint of the entity's box. Its shader is shared; each class
// that draws it holds one reference, and the shader is taken at the first draw while any is
// held.
#pragma once

#include "I3d/Math/MathTypes.h"

#include <cstdint>

void GameEntHighlightAcquire();
void GameEntHighlightRelease();

// truncate(((sin(2 pi phase) + 1) x 0.1 + 0.1) x 255): 25 to 76, once round per second.
int GameEntHighlightAlpha(float phase);
// The quad over box (min x, y, z, max x, y, z) enlarged by 0.2 on every side, just above its
// floor, under `world`. Nothing while no class holds a reference.
void GameEntDrawHighlight(float phase, const float box[6], const Mat4* world);
// A flat square of half size `half` centred on a world point, in one opaque or translucent
// colour (ARGB), with the same shared shader.
void GameEntDrawMarker(const VECTOR3* at, float half, uint32_t argb);
