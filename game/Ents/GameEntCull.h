// Whether a walking character can be seen: patrons and carnies skip their skinning and drawing
// out of the view, whatever their clip does meanwhile.
#pragma once

#include "I3d/Math/MathTypes.h"

// True when a box round the character under `world` (its feet at the matrix's translation, a
// margin for swinging arms and a seat's tilt, `height` plus a head's room above) may show
// under the current view and projection.
bool GameEntCharacterInView(const Mat4* world, float height);
