// The ground under the simulation's entities: attractions, the placement grid and litter stand
// on the terrain when their "agl" is set.
#pragma once

#include "I3d/Math/MathTypes.h"

class ENTBASE;

// The ground height under `at` through the tree's "Terrain" entity (its height query,
// ENT_MSG_GROUND_HEIGHT); 0 without one, or when it writes no number.
float GameEntGroundHeight(ENTBASE* from, const VECTOR3* at);
// The same, but `without` when the tree has no terrain: a walker keeps its own height there.
float GameEntGroundHeightOr(ENTBASE* from, const VECTOR3* at, float without);
