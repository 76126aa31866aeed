// The walking route of patrons and carnies: a fixed number of points, the point being walked to
// and a per-axis arrival tolerance. The placement grid fills it; the walker asks every frame
// whether it has arrived.
#pragma once

#include "I3d/Math/MathTypes.h"

struct WaypointPath {
    VECTOR3* points; // capacity entries, owned
    int capacity;
    int count;
    int current;
    VECTOR3 tolerance; // y is kept but never compared
    // Set by the grid when the route was cut short of its goal: the walker routes again from the
    // last point toward `goal`.
    bool cut;
    VECTOR3 goal;
};

// Null when the points cannot be allocated. Count 0, current 0, tolerances 0.1, not cut, goal 0.
WaypointPath* WaypointPathCreate(int capacity);
void WaypointPathDestroy(WaypointPath* path);
// The same route over points the caller holds (capacity entries, zeroed here), for a walker that
// keeps its route beside its other fields; never passed to WaypointPathDestroy.
void WaypointPathInit(WaypointPath* path, VECTOR3* points, int capacity);

// Stores (x, 0, z) after the last point; false, with the route unchanged, when it is full.
bool WaypointPathAppend(WaypointPath* path, float x, float z);

// 0: the current point is still ahead. 1: reached, current moved to the next point. 2: reached
// the last point, current back at 0. An empty route, or a current index the route no longer
// holds, answers 2 at once: a walker that asked treats it as arrival rather than waiting for ever.
int WaypointPathReached(WaypointPath* path, const VECTOR3& position);
