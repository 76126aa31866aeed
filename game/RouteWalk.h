// Walking a route on the placement grid, for every walker of the carnival: one step along a
// WaypointPath on the ground plane, and the step off a blocked cell. The walker keeps its own
// position, direction and speed; these only move them.
#pragma once

#include "I3d/Math/MathTypes.h"

struct GameGridCore;
struct WaypointPath;

// True when the route holds a point to walk to.
bool RouteWalkHasPoints(const WaypointPath* route);

// Fills the route from `from` to (x, z) with its current point at 0; the grid's answer (the
// number of points, 0 or -1 for none). 0 without a grid or a route.
int RouteWalkTo(GameGridCore* grid, WaypointPath* route, const VECTOR3& from, float x, float z);

// Aims `direction` (unit, on x and z) at the route's current point. A point underfoot, or a
// current index the route does not hold, keeps the old direction.
void RouteWalkAim(const WaypointPath* route, const VECTOR3& from, VECTOR3* direction);

// Moves `pos` by direction x speed x seconds on x and z and asks the route whether its current
// point is reached: a reached point re-aims the direction at the next one. A step longer than the
// arrival window jumps over it, so a point that now lies behind counts as reached. At the end of
// a route the grid cut short, the rest of the way is routed from here. True on arrival at the
// route's end (at once for a null or empty route).
bool RouteWalkStep(GameGridCore* grid, WaypointPath* route, VECTOR3* pos, VECTOR3* direction,
                   float speed, float seconds);

// On a blocked cell of the grid: moves `pos` to the nearest free cell along +z, -z, +x or -x
// (ties in that order), one cell being the tile size truncated to an integer. Nothing outside
// the grid, on a free cell, or when no direction finds a free cell. True when it moved.
bool RouteWalkUnstick(const GameGridCore* grid, VECTOR3* pos);
