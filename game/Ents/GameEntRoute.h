// The route display of the carnival's walkers: the route from its current point on, drawn as
// flat arrows just above the ground in one translucent colour. A class that draws routes holds
// one reference while it is registered; the solid-colour shader is taken at the first draw.
#pragma once

#include "I3d/Math/MathTypes.h"

#include <cstdint>

struct WaypointPath;

void GameEntRouteAcquire();
void GameEntRouteRelease();

// One arrow at each point from the current one on, pointing from the point before it (`from`,
// the walker's position, for the first). Nothing for an empty route or while no class holds a
// reference.
void GameEntDrawRoute(const WaypointPath* route, const VECTOR3* from, uint32_t argb);
